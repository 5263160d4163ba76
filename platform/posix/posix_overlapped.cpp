#include "platform/posix/posix_overlapped.h"

#include <utility>

#include "platform/posix/posix_errors.h"

namespace platform::posix {

namespace {

// Guards the records that name no event. Never destroyed, like the handle table.
Event& RecordlessGuard() {
    static Event* guard = new Event(true, false);
    return *guard;
}

Event& GuardOf(Event* event) {
    return event != nullptr ? *event : RecordlessGuard();
}

// Error codes travel in the record as NTSTATUS values: customer codes keep their customer bit,
// the system's codes are wrapped in the Win32 facility, as the system does for its own.
constexpr ULONG_PTR kStatusSuccess = 0;
constexpr ULONG_PTR kStatusErrorWin32 = 0xC0070000u;
constexpr ULONG_PTR kStatusErrorCustomer = 0xE0000000u;
constexpr ULONG_PTR kStatusCodeMask = 0xFFFFu;

ULONG_PTR StatusFromError(DWORD error) {
    if (error == ERROR_SUCCESS) return kStatusSuccess;
    if (IsCustomerCode(error)) return kStatusErrorCustomer | (error & kStatusCodeMask);
    return kStatusErrorWin32 | (error & kStatusCodeMask);
}

DWORD ErrorFromStatus(ULONG_PTR status) {
    if (status == kStatusSuccess) return ERROR_SUCCESS;
    const DWORD code = static_cast<DWORD>(status & kStatusCodeMask);
    return (status & kCustomerCodeBit) != 0 ? (kCustomerCodeBit | code) : code;
}

}  // namespace

CompletionRecord::CompletionRecord(OVERLAPPED* record, std::shared_ptr<Event> event)
    : record_(record), event_(std::move(event)) {}

void CompletionRecord::MarkPending() {
    Event& guard = GuardOf(event_.get());
    std::lock_guard lock(guard.Mutex());
    record_->Internal = STATUS_PENDING;
    record_->InternalHigh = 0;
    if (event_ != nullptr) guard.ResetLocked();
}

void CompletionRecord::Complete(DWORD error, DWORD bytes) {
    Event& guard = GuardOf(event_.get());
    std::lock_guard lock(guard.Mutex());
    record_->Internal = StatusFromError(error);
    record_->InternalHigh = bytes;
    if (event_ != nullptr) {
        guard.SetLocked();
    } else {
        guard.Changed().notify_all();
    }
}

bool FindRecordEvent(const OVERLAPPED& record, std::shared_ptr<Event>& event) {
    event = nullptr;
    if (record.hEvent == nullptr) return true;
    event = FindHandleOf<Event>(record.hEvent);
    return event != nullptr;
}

RecordOutcome ReadRecord(const OVERLAPPED& record, Event* event, bool wait, bool consumeSignal) {
    Event& guard = GuardOf(event);
    std::unique_lock lock(guard.Mutex());
    if (record.Internal == STATUS_PENDING) {
        if (!wait) return RecordOutcome{false, ERROR_IO_INCOMPLETE, 0};
        guard.Changed().wait(lock, [&record] { return record.Internal != STATUS_PENDING; });
        if (consumeSignal && event != nullptr) guard.ConsumeLocked();
    }
    return RecordOutcome{true, ErrorFromStatus(record.Internal),
                         static_cast<DWORD>(record.InternalHigh)};
}

}  // namespace platform::posix
