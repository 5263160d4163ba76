#include "platform/linux/linux_port_names.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

#include "platform/linux/linux_ports.h"

namespace platform {

namespace {

struct NamedHardware {
    std::string comName;
    std::set<std::string> identities;
};

struct NameMemory {
    std::mutex mutex;
    std::map<std::string, std::vector<NamedHardware>> byScope;
};

NameMemory& Memory() {
    // Never destroyed: a port may be opened on another thread while the process ends.
    static NameMemory* memory = new NameMemory;
    return *memory;
}

bool SharesAnIdentity(const NamedHardware& known, const SysfsSerialTty& tty) {
    return std::any_of(
        tty.identities.begin(), tty.identities.end(),
        [&](const std::string& identity) { return known.identities.count(identity); });
}

bool IsNameTaken(const std::vector<NamedHardware>& known, const std::string& comName) {
    return std::any_of(known.begin(), known.end(),
                       [&](const NamedHardware& hardware) { return hardware.comName == comName; });
}

}  // namespace

std::vector<std::string> ComNamesForRun(const std::string& scope,
                                        const std::vector<SysfsSerialTty>& ttys) {
    NameMemory& memory = Memory();
    std::lock_guard lock(memory.mutex);
    std::vector<NamedHardware>& known = memory.byScope[scope];
    std::vector<std::string> names;
    for (const SysfsSerialTty& tty : ttys) {
        auto found = std::find_if(known.begin(), known.end(), [&](const NamedHardware& hardware) {
            return SharesAnIdentity(hardware, tty);
        });
        if (found == known.end()) {
            const std::vector<std::string> choices = ComNameChoices(tty.ttyName);
            const auto free = std::find_if(choices.begin(), choices.end(), [&](const auto& name) {
                return !IsNameTaken(known, name);
            });
            known.push_back(NamedHardware{free != choices.end() ? *free : choices.front(), {}});
            found = known.end() - 1;
        }
        // Links udev adds later join what is known of the hardware.
        found->identities.insert(tty.identities.begin(), tty.identities.end());
        names.push_back(found->comName);
    }
    return names;
}

}  // namespace platform
