// Completion records (OVERLAPPED) as the I/O engine fills them and GetOverlappedResult reads them.
// Internal holds an NTSTATUS-style status (STATUS_PENDING while in progress), InternalHigh the
// byte count. Every access happens under the lock of the record's event, or of one shared guard
// for records without an event, and the event is signalled once the status is final.
#pragma once

#include <memory>

#include "platform/posix/posix_event.h"
#include "platform/win32_types.h"

namespace platform::posix {

// The completing side of one operation's record.
class CompletionRecord {
public:
    // `event` is the object of the record's hEvent, or null when the record names none.
    CompletionRecord(OVERLAPPED* record, std::shared_ptr<Event> event);

    // In progress: STATUS_PENDING, no bytes, event reset.
    void MarkPending();
    // Final: the status of `error` (0 for success) and the count, then the event signalled.
    void Complete(DWORD error, DWORD bytes);

private:
    OVERLAPPED* record_;
    std::shared_ptr<Event> event_;
};

// The event object that a record's hEvent names; false when hEvent is set but is no live event.
bool FindRecordEvent(const OVERLAPPED& record, std::shared_ptr<Event>& event);

struct RecordOutcome {
    bool finished;
    DWORD error;  // 0 for success
    DWORD bytes;
};

// Reads the record, first waiting until it is final when `wait` is set. The wait watches the
// status itself, so a signal of the event from elsewhere does not end it. With `consumeSignal`
// a wait that had to block takes the signal of an auto-reset event, as waiting on it would.
RecordOutcome ReadRecord(const OVERLAPPED& record, Event* event, bool wait, bool consumeSignal);

}  // namespace platform::posix
