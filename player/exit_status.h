// How a run of qdax-play ended, as its exit status. The numbers are part of its interface:
// scripts test them, and --help and the README list them.
#pragma once

enum class ExitStatus : int {
    Done = 0,
    Usage = 1,           // a bad option or value
    PortNotOpened = 2,   // the port cannot be opened
    NoAnswer = 3,        // a line's answer did not come in time
    FileUnusable = 4,    // the command file cannot be read, or the log cannot be written
    DeviceVanished = 5,  // a read failed: the device is gone
    Interrupted = 130,   // Ctrl+C or SIGTERM, as a shell counts SIGINT
};
