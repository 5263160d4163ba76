#include "platform/port_sources.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

// The window thread configures; the serial layer and the port view read, possibly elsewhere.
std::mutex sourcesMutex;
PortSources configuredSources;

}  // namespace

#ifdef _WIN32
PortSources MachinePortSources() {
    return PortSources{};
}
#else
std::string DefaultPortsDir() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0') {
        return std::string(runtimeDir) + "/qdax/ports";
    }
    return "/tmp/qdax-" + std::to_string(getuid()) + "/ports";
}

PortSources MachinePortSources() {
    return PortSources{"/sys", DefaultPortsDir(), "/dev"};
}
#endif

void ConfigurePortSources(const PortSources& sources) {
    std::lock_guard<std::mutex> lock(sourcesMutex);
    configuredSources = sources;
}

PortSources ConfiguredPortSources() {
    std::lock_guard<std::mutex> lock(sourcesMutex);
    return configuredSources;
}

}  // namespace platform
