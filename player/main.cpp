// qdax-play: plays a command file to a serial device without a window, by the window's rules.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/last_error.h"
#include "platform/port_sources.h"
#include "platform/standard_streams.h"
#include "platform/system_error_text.h"
#include "player/command_file_run.h"
#include "player/player_help.h"
#include "player/player_options.h"
#include "player/port_list.h"

namespace {

int StatusOf(ExitStatus status) {
    return static_cast<int>(status);
}

}  // namespace

int main(int argc, char* argv[]) {
    const ParsedCommandLine parsed =
        ParsePlayerOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        platform::WriteSystemText(stderr, "qdax-play: " + parsed.error + "\n" + UsageText());
        return StatusOf(ExitStatus::Usage);
    }
    const PlayerOptions& options = parsed.options;
    switch (options.action) {
        case PlayerOptions::Action::Help:
            std::fputs(HelpText().c_str(), stdout);
            return StatusOf(ExitStatus::Done);
        case PlayerOptions::Action::Version:
            std::fputs(VersionText().c_str(), stdout);
            return StatusOf(ExitStatus::Done);
        case PlayerOptions::Action::List:
            platform::ConfigurePortSources(platform::MachinePortSources());
            if (!ListPorts(stdout)) {
                platform::WriteSystemText(
                    stderr, "qdax-play: the ports cannot be listed: " +
                                platform::SystemErrorText(platform::GetLastError()) + "\n");
                return StatusOf(ExitStatus::PortNotOpened);
            }
            return StatusOf(ExitStatus::Done);
        case PlayerOptions::Action::Play:
            platform::ConfigurePortSources(platform::MachinePortSources());
            return StatusOf(PlayCommandFile(options));
    }
    return StatusOf(ExitStatus::Usage);
}
