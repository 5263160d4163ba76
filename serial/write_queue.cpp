#include "serial/write_queue.h"

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
    // Writes complete in order: waiting for each in turn waits for all, within one deadline.
    const auto deadline =
        std::chrono::steady_clock::now() + platform::DrainTime(pendingBytes, baudRate);
    for (const Write& write : writes_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        platform::WaitForSingleObjectEx(write.record.hEvent, static_cast<DWORD>(left.count()),
                                        FALSE);
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
