// Prepares the Wine registry test, run under Wine before it:
//   registry_ports_writer remove FILE   a registry file that removes the test's keys
//   registry_ports_writer add FILE      a registry file that adds them
//   registry_ports_writer list FILE     the ports the system registry lists now, one a line
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/discovery/wine_registry/registry_ports.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: registry_ports_writer remove|add|list FILE\n", stderr);
        return 2;
    }
    const std::string what = argv[1];
    std::ofstream out(argv[2], std::ios::binary);
    if (what == "remove") {
        out << wine_registry::RemovalFile();
    } else if (what == "add") {
        out << wine_registry::AdditionFile();
    } else if (what == "list") {
        std::vector<wine_registry::ListedPort> ports;
        DWORD error = 0;
        if (!wine_registry::ListSystemPorts(ports, error)) {
            std::fprintf(stderr, "listing the ports failed with code %lu\n",
                         static_cast<unsigned long>(error));
            return 1;
        }
        for (const auto& port : ports) out << wine_registry::FormatListedPort(port) << '\n';
    } else {
        std::fprintf(stderr, "unknown request: %s\n", what.c_str());
        return 2;
    }
    out.close();
    return out ? 0 : 1;
}
