// The COM names of the hardware ports for the run of the program. A USB adapter that is pulled
// and plugged back in returns under another tty name; the COM name it was first listed under
// stays its own, so the name an operator picked still reaches the same adapter.
#pragma once

#include <string>
#include <vector>

#include "platform/linux/linux_sysfs_ttys.h"

namespace platform {

// One name per tty, in the same order. `scope` separates machines (tests build several): names
// are remembered per scope. A tty whose hardware had a name keeps it; any other gets the first of
// its ComNameChoices that no other hardware has had.
std::vector<std::string> ComNamesForRun(const std::string& scope,
                                        const std::vector<SysfsSerialTty>& ttys);

}  // namespace platform
