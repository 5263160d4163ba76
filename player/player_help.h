// What qdax-play says about itself.
#pragma once

#include <string>

// The synopsis, shown after a bad command line.
std::string UsageText();
// The synopsis, the options and the exit statuses.
std::string HelpText();
std::string VersionText();
