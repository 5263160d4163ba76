#include "tests/e2e/registry_device_tree.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace e2e {
namespace {

constexpr char kEnumerator[] = "SYSTEM\\CurrentControlSet\\Enum\\QDAXSIM";
constexpr char kPortsClassGuid[] = "{4D36E978-E325-11CE-BFC1-08002BE10318}";

void Check(LONG code, const std::string& what) {
    if (code != ERROR_SUCCESS) {
        throw std::runtime_error("registry: " + what + " failed with " + std::to_string(code));
    }
}

void SetText(HKEY key, const char* name, const std::string& text) {
    Check(::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1)),
          std::string("setting ") + name);
}

HKEY CreateKey(HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    Check(::RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
          "creating " + path);
    return key;
}

void RemoveEnumerator() {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEnumerator);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kEnumerator);
}

}  // namespace

RegistryDeviceTree::RegistryDeviceTree() {
    RemoveEnumerator();
}

RegistryDeviceTree::~RegistryDeviceTree() {
    RemoveEnumerator();
}

void RegistryDeviceTree::Add(const std::string& comName) {
    if (std::find(comNames_.begin(), comNames_.end(), comName) != comNames_.end()) return;
    char instance[8];
    std::snprintf(instance, sizeof instance, "%04zu", comNames_.size());
    // The port name in "Device Parameters", the friendly name beside the class: as drivers do.
    const HKEY key =
        CreateKey(HKEY_LOCAL_MACHINE, std::string(kEnumerator) + "\\SIMULATOR\\" + instance);
    const HKEY parameters = CreateKey(key, "Device Parameters");
    SetText(key, "Class", "Ports");
    SetText(key, "ClassGUID", kPortsClassGuid);
    SetText(key, "FriendlyName", "Q-Dax simulator (" + comName + ")");
    SetText(parameters, "PortName", comName);
    ::RegCloseKey(parameters);
    ::RegCloseKey(key);
    comNames_.push_back(comName);
}

}  // namespace e2e
