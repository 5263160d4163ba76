// The system registry of a Linux machine is the port view of the configured port sources.
#include "platform/linux_port_registry.h"
#include "platform/registry.h"

namespace platform {

// Builds the view afresh on every call, so it shows the ports as they are now. The previous
// view is destroyed, and with it any key still open on it: this is for start-up use on the
// window thread, where discovery walks the view once before anything asks again.
RegistryApi& SystemRegistry() {
    static std::unique_ptr<InMemoryRegistry> current;
    current = BuildLinuxPortRegistry(ConfiguredPortSources());
    return *current;
}

}  // namespace platform
