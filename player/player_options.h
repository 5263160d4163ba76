// The command line of qdax-play.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PlayerOptions {
    enum class Action { Play, List, Help, Version };

    Action action = Action::Play;
    std::string file;  // "-" for standard input
    std::string port;
    std::int32_t baud = 19200;
    std::int32_t delayMs = 50;
    std::int32_t answerTimeoutSeconds = 10;  // 0 waits for ever
    std::string logPath;                     // empty: no log file
    bool quiet = false;
};

struct ParsedCommandLine {
    PlayerOptions options;
    std::string error;  // one line saying what is wrong; empty when the command line is good
};

// `arguments` without the program's name. Options and the file may come in any order; a value
// follows its option as the next argument or after "=", and "--" ends the options.
ParsedCommandLine ParsePlayerOptions(const std::vector<std::string>& arguments);
