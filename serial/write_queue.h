// Writes in progress on a port. Each write owns a copy of its bytes and a completion record of
// its own until the system is done with them, independent of the caller's text and of the
// reader's record.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "platform/win32_types.h"

class WriteQueue {
public:
    WriteQueue() = default;
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;
    ~WriteQueue();

    // Starts writing `bytes` to `port`. True when the write did not complete within the call
    // (it is still in progress, or it failed), false when it completed at once.
    bool Start(HANDLE port, const std::string& bytes);

    // Lets what is in progress on `port` finish for as long as its bytes take at `baudRate` plus
    // a margin, cancels what is left then, and waits until the system has let go of every buffer
    // and record; call before the handle is closed.
    void DrainThenCancel(HANDLE port, DWORD baudRate);

    std::size_t InProgress() const { return writes_.size(); }

private:
    struct Write {
        std::vector<char> bytes;
        OVERLAPPED record{};
    };
    void ForgetFinished(HANDLE port);
    void ReleaseEvent(Write& write);

    std::list<Write> writes_;
    std::vector<HANDLE> spareEvents_;
};
