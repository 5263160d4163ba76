// The plug-and-play device tree lists every device as enumerator\device\instance; the instances of
// the ports class that carry a COM port name are the serial ports.
#include <algorithm>
#include <string_view>

#include "discovery/serial_port_discovery.h"
#include "discovery/walk_support.h"

namespace {

constexpr DWORD kClassCapacity = 6;
constexpr DWORD kClassGuidCapacity = 39;
constexpr std::string_view kPortsClass = "PORTS";
constexpr std::string_view kPortsClassGuid = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
constexpr std::string_view kComPrefix = "COM";

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view expected) {
    return text.size() == expected.size() &&
           std::equal(text.begin(), text.end(), expected.begin(),
                      [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

bool HasComPrefix(std::string_view name) {
    return name.size() >= kComPrefix.size() &&
           EqualsIgnoringCase(name.substr(0, kComPrefix.size()), kComPrefix);
}

// Reads a value into a buffer of fixed capacity, without retrying when it does not fit. True when
// the read succeeds and its text, up to the first NUL within the bytes returned, is `expected`.
template <DWORD Capacity>
bool FixedValueEquals(platform::RegistryApi& registry, HKEY key, const char* valueName,
                      std::string_view expected) {
    char buffer[Capacity];
    DWORD bytes = Capacity;
    if (registry.RegQueryValueExA(key, valueName, reinterpret_cast<BYTE*>(buffer), &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::string_view returned(buffer, std::min(bytes, Capacity));
    return EqualsIgnoringCase(returned.substr(0, returned.find('\0')), expected);
}

bool IsPortsClass(platform::RegistryApi& registry, HKEY instance) {
    return FixedValueEquals<kClassCapacity>(registry, instance, "CLASS", kPortsClass) ||
           FixedValueEquals<kClassGuidCapacity>(registry, instance, "CLASSGUID", kPortsClassGuid);
}

class TreeWalk {
public:
    TreeWalk(platform::RegistryApi& registry, PortEntryCallback callback, void* userData)
        : registry_(registry), callback_(callback), userData_(userData) {}

    TreeWalk(const TreeWalk&) = delete;
    TreeWalk& operator=(const TreeWalk&) = delete;

    ~TreeWalk() {
        discovery::ReleaseBuffer(registry_, &enumeratorName_);
        discovery::ReleaseBuffer(registry_, &friendlyName_);
        discovery::ReleaseBuffer(registry_, &portName_);
        discovery::CloseKeySlot(registry_, &parameters_);
        discovery::CloseKeySlot(registry_, &instance_);
        discovery::CloseKeySlot(registry_, &device_);
        discovery::CloseKeySlot(registry_, &enumerator_);
        discovery::CloseKeySlot(registry_, &root_);
    }

    LONG Run(const char* rootPath) {
        const LONG code = discovery::OpenKey(registry_, HKEY_LOCAL_MACHINE, rootPath,
                                             KEY_ENUMERATE_SUB_KEYS, &root_);
        if (code != ERROR_SUCCESS) return code;
        return ForEachSubkey(root_, KEY_ENUMERATE_SUB_KEYS, &enumerator_, &enumeratorName_, [&] {
            return ForEachSubkey(enumerator_, KEY_ENUMERATE_SUB_KEYS, &device_, nullptr, [&] {
                return ForEachSubkey(device_, KEY_READ, &instance_, nullptr,
                                     [&] { return VisitInstance(); });
            });
        });
    }

private:
    // Opens each subkey of `parent` in turn into `*slot`, closing the previous one first, and
    // visits it; the end of the list is success, any other failure ends the walk.
    template <typename Visit>
    LONG ForEachSubkey(HKEY parent, REGSAM access, HKEY* slot, char** nameSlot, Visit visit) {
        for (DWORD index = 0; !stopped_; ++index) {
            discovery::CloseKeySlot(registry_, slot);
            LONG code = OpenSubkeyByIndex(registry_, parent, index, access, slot, nameSlot);
            if (code == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
            if (code != ERROR_SUCCESS) return code;
            code = visit();
            if (code != ERROR_SUCCESS) return code;
        }
        return ERROR_SUCCESS;
    }

    LONG VisitInstance() {
        if (!IsPortsClass(registry_, instance_)) return ERROR_SUCCESS;
        LONG code = ReadPortName();
        if (code == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (code != ERROR_SUCCESS) return code;
        if (!HasComPrefix(portName_)) return ERROR_SUCCESS;

        code = QueryValueData(registry_, instance_, "FRIENDLYNAME", &friendlyName_);
        const bool fallback = code == ERROR_FILE_NOT_FOUND;
        if (code != ERROR_SUCCESS && !fallback) return code;

        const PortEntry entry{portName_, fallback ? portName_ : friendlyName_, enumeratorName_};
        stopped_ = !callback_(userData_, &entry);
        return ERROR_SUCCESS;
    }

    // The instance's "PORTNAME", or else that of its "DEVICE PARAMETERS" subkey; a subkey that
    // cannot be opened counts as having none.
    LONG ReadPortName() {
        const LONG code = QueryValueData(registry_, instance_, "PORTNAME", &portName_);
        if (code != ERROR_FILE_NOT_FOUND) return code;
        discovery::CloseKeySlot(registry_, &parameters_);
        if (discovery::OpenKey(registry_, instance_, "DEVICE PARAMETERS", KEY_READ, &parameters_) !=
            ERROR_SUCCESS) {
            return ERROR_FILE_NOT_FOUND;
        }
        return QueryValueData(registry_, parameters_, "PORTNAME", &portName_);
    }

    platform::RegistryApi& registry_;
    PortEntryCallback callback_;
    void* userData_;
    HKEY root_ = nullptr;
    HKEY enumerator_ = nullptr;
    HKEY device_ = nullptr;
    HKEY instance_ = nullptr;
    HKEY parameters_ = nullptr;
    char* enumeratorName_ = nullptr;
    char* portName_ = nullptr;
    char* friendlyName_ = nullptr;
    bool stopped_ = false;
};

}  // namespace

bool EnumerateDeviceTreePorts(platform::RegistryApi& registry, const char* rootPath,
                              PortEntryCallback callback, void* userData) {
    if (callback == nullptr) return discovery::ReportOutcome(ERROR_INVALID_PARAMETER);
    LONG code = ERROR_SUCCESS;
    {
        // The walk's buffers are released and its keys closed before the outcome is reported.
        TreeWalk walk(registry, callback, userData);
        code = walk.Run(rootPath);
    }
    return discovery::ReportOutcome(code);
}
