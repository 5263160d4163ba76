// Serial ports in the system registry's device tree, as a port driver lists them, under an
// enumerator of the tests' own: the window lists them as the machine's ports. What an earlier
// run left there goes first; all of it goes with this object. Windows only.
#pragma once

#include <string>
#include <vector>

namespace e2e {

class RegistryDeviceTree {
public:
    RegistryDeviceTree();
    ~RegistryDeviceTree();
    RegistryDeviceTree(const RegistryDeviceTree&) = delete;
    RegistryDeviceTree& operator=(const RegistryDeviceTree&) = delete;

    // A port instance named `comName`, after those added before it; a name added before stays
    // one instance. Throws std::runtime_error when the registry refuses.
    void Add(const std::string& comName);

private:
    std::vector<std::string> comNames_;
};

}  // namespace e2e
