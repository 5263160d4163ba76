#include "tools/qdax_sim/sim_options.h"

namespace qdax_sim {

std::string HelpText() {
    return R"(Usage: qdax-sim [OPTION]...
Simulates a serial device on a pseudo-terminal, published as a COM<n> port.

The program opens a pseudo-terminal in raw mode, links it as COM<n> in the ports
directory and prints the name ("COM9") as the first line on standard output. It
then answers every command: the bytes up to a carriage return (CR). Line feeds
(LF) are ignored: they neither end a command nor become part of one. Commands
are handled in the order they arrive, one answer after the other. By default
"VER" (in any case) is answered with "Q-Dax simulator 1.0" and every other
command with "OK".

Options (a value may also be given as --option=VALUE):
  --ports-dir DIR        directory of the COM<n> links (created with mode 0700 if
                         missing); default $XDG_RUNTIME_DIR/qdax/ports, or
                         /tmp/qdax-<uid>/ports when XDG_RUNTIME_DIR is unset or empty
  --com N                publish as COM<N>, N from 1 to 255; fails if taken. Default:
                         the lowest number from 9 to 255, then 1 to 8, that has no
                         entry in the ports directory
  --answer TEXT          answer every command with TEXT
  --echo                 send the command back (without its CR) and a line end
                         before the answer
  --lines N              answer with N lines, each the answer (default 1)
  --line-end crlf|cr|lf  the line end of every line sent (default crlf)
  --delay MS             wait MS milliseconds before answering (after the echo)
  --silent               send no answer (the echo still goes out)
  --partial              send the answer's last line without its line end
  --split N              write each answer in pieces of N bytes ...
  --split-pause MS       ... pausing MS milliseconds between pieces (default 50)
  --flood N              answer each command with N lines, as fast as the
                         pseudo-terminal takes them: line k (1 to N) is the
                         decimal k filled up with '.' to the flood length
  --flood-length L       the length of each flood line without its line end
                         (default 32)
  --disconnect-after N   after answering the N-th command, wait up to 2 seconds for
                         the far end to read the answer, then remove the link,
                         close the pseudo-terminal (the far end sees a hang-up) and
                         exit 0; later commands are not answered
  --spew RATE            from the first command on, send pseudo-random bytes of
                         every value but CR and LF (NULs too, never a line end)
                         at up to RATE bytes per second, until stopped; commands
                         are recorded and not answered
  --record FILE          append every byte received to FILE, as it arrives
  --print-path           print the pseudo-terminal's path (/dev/pts/N) as the
                         second line on standard output
  -h, --help             show this help and exit

--silent cannot be combined with --answer, --lines, --flood, --partial, --split
or --delay; --flood not with --answer or --lines; --spew with none of these,
nor with --echo or --disconnect-after.

SIGINT, SIGTERM and SIGHUP end the program with exit status 0. On every exit the
link is removed if it still points at this program's pseudo-terminal.
Exit status: 0 when ended as above, 1 when the device cannot be set up or fails,
2 for an invalid command line.
)";
}

}  // namespace qdax_sim
