// The ports qdax-play can open, as port discovery finds them.
#pragma once

#include <cstdio>

// One line per port: COM name, friendly name and enumerator, separated by tabs. False when the
// search failed; the ports found before stay listed.
bool ListPorts(std::FILE* out);
