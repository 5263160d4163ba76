// One run of qdax-play: the command file played to the port until it ends, fails or is
// interrupted; then the port is closed and the log written.
#pragma once

#include "player/exit_status.h"
#include "player/player_options.h"

// Messages go to standard error, the log lines to standard output.
ExitStatus PlayCommandFile(const PlayerOptions& options);
