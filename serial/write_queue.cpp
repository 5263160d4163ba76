#include "serial/write_queue.h"

#include <algorithm>
#include <chrono>

#include "platform/comm.h"
#include "platform/drain_time.h"

WriteQueue::~WriteQueue() {
    for (HANDLE event : spareEvents_) platform::CloseHandle(event);
}

bool WriteQueue::Start(HANDLE port, const std::string& bytes) {
    ForgetFinished(port);
    Write& write = writes_.emplace_back();
    write.bytes.assign(bytes.begin(), bytes.end());
    if (spareEvents_.empty()) {
        write.record.hEvent = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    } else {
        write.record.hEvent = spareEvents_.back();
        spareEvents_.pop_back();
    }
    const BOOL completed = platform::WriteFile(
        port, write.bytes.data(), static_cast<DWORD>(write.bytes.size()), nullptr, &write.record);
    if (completed || platform::GetLastError() != ERROR_IO_PENDING) {
        // Done with at once, or never started: the system holds nothing of it.
        ReleaseEvent(write);
        writes_.pop_back();
    }
    return !completed;
}

void WriteQueue::DrainThenCancel(HANDLE port, DWORD baudRate) {
    if (writes_.empty()) return;
    std::size_t pendingBytes = 0;
    for (const Write& write : writes_) pendingBytes += write.bytes.size();
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + platform::DrainTime(pendingBytes, baudRate);
    // Writes complete in order, so each is waited for in turn; one that does not complete in a
    // transfer's time means the line is stuck, and the rest would not go either.
    for (const Write& write : writes_) {
        const auto untilDeadline =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const auto wait =
            std::min(untilDeadline, platform::StallTime(write.bytes.size(), baudRate));
        if (wait.count() <= 0) break;
        if (platform::WaitForSingleObjectEx(write.record.hEvent, static_cast<DWORD>(wait.count()),
                                            FALSE) != WAIT_OBJECT_0) {
            break;
        }
    }
    platform::CancelIo(port);
    for (Write& write : writes_) {
        DWORD transferred = 0;
        platform::GetOverlappedResult(port, &write.record, &transferred, TRUE);
        ReleaseEvent(write);
    }
    writes_.clear();
}

void WriteQueue::ForgetFinished(HANDLE port) {
    for (auto it = writes_.begin(); it != writes_.end();) {
        DWORD transferred = 0;
        const bool finished =
            platform::GetOverlappedResult(port, &it->record, &transferred, FALSE) ||
            platform::GetLastError() != ERROR_IO_INCOMPLETE;
        if (!finished) {
            ++it;
            continue;
        }
        ReleaseEvent(*it);
        it = writes_.erase(it);
    }
}

void WriteQueue::ReleaseEvent(Write& write) {
    if (write.record.hEvent == nullptr) return;
    spareEvents_.push_back(write.record.hEvent);
    write.record.hEvent = nullptr;
}
