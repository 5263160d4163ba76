#include "player/player_help.h"

std::string UsageText() {
    return R"(Usage: qdax-play [OPTION]... --port NAME FILE
       qdax-play --list
Try 'qdax-play --help' for more information.
)";
}

std::string HelpText() {
    return R"(Usage: qdax-play [OPTION]... --port NAME FILE
       qdax-play --list
Plays a command file to a serial device line by line, paced by the device, as
the Q-Dax Serial Loader's window plays it: the first line goes out at once, each
further line after the device has answered with a non-empty line and the command
delay has passed, and the run ends at the first answer after the last line. A
device that echoes commands runs ahead, as in the window. Every command goes out
followed by a carriage return. FILE "-" reads the command file from standard
input.

Options (a value may also follow as --option=VALUE):
  --port NAME              the port: a COM name as --list shows it, or a device
                           path (/dev/ttyUSB0)
  --baud RATE              9600, 19200, 38400, 57600, 115200, 230400, 460800 or
                           921600, or as the window labels them (115.2k);
                           default 19200
  --delay MS               the command delay after each answer, 0 to 5000
                           milliseconds; default 50
  --answer-timeout SECONDS how long one line may wait for its answer, in whole
                           seconds; default 10, 0 waits for ever
  --log FILE               write the communications log to FILE as the window
                           saves it (each line ended by CR LF, bytes as received,
                           the file replaced whole), also when the run ends early
  --quiet                  print neither the log lines nor the progress
  --list                   list the serial ports, one a line: COM name, friendly
                           name and enumerator, separated by tabs
  -h, --help               show this help and exit
      --version            show the version and exit

The log lines ("--> " for a command, "<-- " for a line from the device) go to
standard output as they happen; with standard error a terminal, a progress line
there shows the line sent and the time taken.

Exit status:
  0    every line was sent and the last one answered
  1    a bad option or value
  2    the port cannot be opened (the system's reason on standard error), or
       the ports cannot be listed
  3    a line's answer did not come in time (which line on standard error)
  4    the command file cannot be read, or the log cannot be written
  5    the device vanished (the system's text on standard error)
  130  interrupted by Ctrl+C or SIGTERM, after closing the port and writing the
       log
)";
}

std::string VersionText() {
    return std::string("qdax-play ") + QDAX_VERSION + "\n";
}
