#include "tests/discovery/discovery_test_support.h"

std::size_t RecordingRegistry::Calls(const std::string& prefix) const {
    std::size_t count = 0;
    for (const auto& entry : log_) count += entry.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

std::string RecordingRegistry::PathOf(HKEY key) const {
    const auto found = paths_.find(key);
    return found == paths_.end() ? std::string() : found->second;
}

LONG RecordingRegistry::RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                                      HKEY* result) {
    const std::string parent = PathOf(key);
    const std::string path = parent.empty() ? subKey : parent + "\\" + subKey;
    log_.push_back("open " + path + " " + std::to_string(access));
    const LONG code = InMemoryRegistry::RegOpenKeyExA(key, subKey, options, access, result);
    if (code == ERROR_SUCCESS) paths_[*result] = path;
    return code;
}

LONG RecordingRegistry::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameChars) {
    log_.push_back("enumkey " + PathOf(key) + " " + std::to_string(index));
    const auto failure = enumKeyFailures_.find(PathOf(key));
    if (failure != enumKeyFailures_.end()) return failure->second;
    return InMemoryRegistry::RegEnumKeyExA(key, index, name, nameChars);
}

LONG RecordingRegistry::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameChars,
                                      BYTE* data, DWORD* dataBytes) {
    log_.push_back("enumvalue " + PathOf(key) + " " + std::to_string(index));
    valueOffers_.push_back(
        {index, nameChars != nullptr ? *nameChars : 0, dataBytes != nullptr ? *dataBytes : 0});
    if (enumValueFailure_ != ERROR_SUCCESS) return enumValueFailure_;
    return InMemoryRegistry::RegEnumValueA(key, index, name, nameChars, data, dataBytes);
}

LONG RecordingRegistry::RegQueryValueExA(HKEY key, const char* valueName, BYTE* data,
                                         DWORD* dataBytes) {
    log_.push_back("query " + PathOf(key) + " " + valueName);
    for (const std::string& path : {PathOf(key), std::string()}) {
        const auto failure = queryFailures_.find({path, valueName});
        if (failure != queryFailures_.end()) return failure->second;
    }
    return InMemoryRegistry::RegQueryValueExA(key, valueName, data, dataBytes);
}

LONG RecordingRegistry::RegCloseKey(HKEY key) {
    log_.push_back("close " + PathOf(key));
    paths_.erase(key);
    return InMemoryRegistry::RegCloseKey(key);
}

BOOL RecordingRegistry::GetVersionExA(OSVERSIONINFOA* info) {
    log_.push_back("version");
    return InMemoryRegistry::GetVersionExA(info);
}

bool PortCollector::Collect(void* collector, const PortEntry* entry) {
    auto* self = static_cast<PortCollector*>(collector);
    self->seen.push_back({entry->portName, entry->friendlyName, entry->enumeratorName,
                          entry->portName == entry->friendlyName, self->registry_.OpenKeyCount()});
    return self->seen.size() != self->stopAt;
}

std::vector<std::string> PortCollector::PortNames() const {
    std::vector<std::string> names;
    for (const auto& port : seen) names.push_back(port.portName);
    return names;
}

void AddPortInstance(platform::InMemoryRegistry& registry, const std::string& instancePath,
                     const std::string& portName, const std::string& friendlyName,
                     const std::string& root) {
    const std::string key = root + "\\" + instancePath;
    registry.SetString(key, "CLASS", "Ports");
    registry.SetString(key, "PORTNAME", portName);
    if (!friendlyName.empty()) registry.SetString(key, "FRIENDLYNAME", friendlyName);
}
