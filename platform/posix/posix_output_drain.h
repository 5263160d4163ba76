// Letting a tty send what it was handed before it is closed, for a bounded time, and discarding
// only what is still stuck then (a device that stopped reading, CTS held low, an XOFF), so that
// a close neither cuts the last command short nor waits for the driver's closing_wait.
#pragma once

#include <chrono>

#include "platform/win32_types.h"

namespace platform::posix {

// What the drain needs of a line; a stand-in can play one in tests.
class QueuedOutput {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~QueuedOutput() = default;
    // Bytes written to the line but not yet sent; -1 when the line cannot tell.
    virtual int Queued() = 0;
    // Lifts output flow control and drops what is not yet sent.
    virtual void Discard() = 0;
    virtual Clock::time_point Now() = 0;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

struct DrainOutcome {
    bool discarded = false;
    int bytesDiscarded = 0;  // as the line counted them just before; -1 when it could not tell
};

// Waits while the output goes out: at most as long as what was queued takes at `baudRate` plus
// a margin, and no longer than the next transfer would take while nothing moves. Then discards
// what is left. A line that cannot tell what it holds is discarded at once.
DrainOutcome DrainQueuedOutput(QueuedOutput& line, DWORD baudRate);

// The same on the open tty `fd`, at its own output rate. A pseudo-terminal is left alone: it
// has no transmitter to wait for, and a flush could drop a line its master has not yet seen.
void DrainBeforeClose(int fd);

}  // namespace platform::posix
