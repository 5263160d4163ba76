#include "platform/posix/posix_io_engine.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>
#include <utility>

#include "platform/posix/posix_errors.h"

namespace platform::posix {

namespace {

bool IsHangUpErrno(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

// A read of 0 is a hang-up only while VMIN is at least 1, and another program may have set it to
// 0: the line itself tells whether it hung up.
bool LineHungUp(int fd) {
    pollfd line{fd, 0, 0};
    return poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR)) != 0;
}

}  // namespace

std::unique_ptr<IoEngine> IoEngine::Start(int fd, DWORD& error) {
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        error = ErrorFromErrno(errno);
        return nullptr;
    }
    std::unique_ptr<IoEngine> engine(new IoEngine(fd, wakeFd));
    try {
        engine->service_ = std::thread([raw = engine.get()] { raw->Serve(); });
    } catch (const std::system_error&) {
        close(wakeFd);
        engine->stopped_ = true;
        error = ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    return engine;
}

IoEngine::IoEngine(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {}

IoEngine::~IoEngine() {
    Stop();
}

void IoEngine::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopped_) return;
        stopped_ = true;
        AbortWhere([](const Request&, std::thread::id) { return true; }, {});
        Wake();
    }
    service_.join();
    close(wakeFd_);
}

void IoEngine::Wake() {
    const std::uint64_t one = 1;
    // A full counter still wakes the poll; nothing else can go wrong with an eventfd.
    [[maybe_unused]] ssize_t written = write(wakeFd_, &one, sizeof one);
}

void IoEngine::DrainWake() {
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t got = read(wakeFd_, &count, sizeof count);
}

void IoEngine::Finish(Request& request, DWORD error, DWORD bytes) {
    request.record.Complete(error, bytes);
}

void IoEngine::FinishRead(DWORD error) {
    Finish(*read_, error, error == ERROR_SUCCESS ? read_->done : 0);
    read_.reset();
}

void IoEngine::AbortWhere(bool (*matches)(const Request&, std::thread::id),
                          std::thread::id starter) {
    // Aborted operations report no bytes: what a read had gathered is dropped with it.
    if (read_ != nullptr && matches(*read_, starter)) FinishRead(ERROR_OPERATION_ABORTED);
    for (auto it = writes_.begin(); it != writes_.end();) {
        if (!matches(*it, starter)) {
            ++it;
            continue;
        }
        Finish(*it, ERROR_OPERATION_ABORTED, 0);
        it = writes_.erase(it);
    }
}

void IoEngine::CancelFrom(std::thread::id starter) {
    std::lock_guard lock(mutex_);
    AbortWhere([](const Request& request, std::thread::id id) { return request.starter == id; },
               starter);
    Wake();
}

// Bytes already gathered by a read are delivered first; only the next read sees the failure.
void IoEngine::HangUp() {
    hungUp_ = true;
    if (read_ != nullptr) {
        FinishRead(read_->done > 0 ? ERROR_SUCCESS : ERROR_DEVICE_NOT_CONNECTED);
    }
    for (Request& write : writes_) Finish(write, ERROR_DEVICE_NOT_CONNECTED, write.done);
    writes_.clear();
}

IoEngine::Transfer IoEngine::Pull(Request& read, int& error) {
    Transfer result = Transfer::Nothing;
    while (read.done < read.size) {
        const ssize_t got = ::read(fd_, read.readInto + read.done, read.size - read.done);
        if (got > 0) {
            read.done += static_cast<DWORD>(got);
            read.lastByte = Clock::now();
            result = Transfer::Moved;
            continue;
        }
        if (got == 0) return LineHungUp(fd_) ? Transfer::HungUp : result;
        if (errno == EINTR) continue;
        if (errno == EAGAIN) return result;
        if (IsHangUpErrno(errno)) return Transfer::HungUp;
        error = errno;
        return Transfer::Failed;
    }
    return result;
}

IoEngine::Transfer IoEngine::Push(Request& write, int& error) {
    Transfer result = Transfer::Nothing;
    while (write.done < write.size) {
        const ssize_t put = ::write(fd_, write.writeFrom + write.done, write.size - write.done);
        if (put > 0) {
            write.done += static_cast<DWORD>(put);
            result = Transfer::Moved;
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put == 0 || errno == EAGAIN) return result;
        if (IsHangUpErrno(errno)) return Transfer::HungUp;
        error = errno;
        return Transfer::Failed;
    }
    return result;
}

bool IoEngine::ReadIsDone(const Request& read, Clock::time_point now) const {
    if (read.done == read.size) return true;
    if (read.plan.firstByteEnds && read.done > 0) return true;
    if (read.deadline && now >= *read.deadline) return true;
    return read.plan.intervalMs && read.done > 0 &&
           now >= read.lastByte + std::chrono::milliseconds(*read.plan.intervalMs);
}

void IoEngine::Activate(Request& write, Clock::time_point now) {
    write.active = true;
    if (write.totalMs) write.deadline = now + std::chrono::milliseconds(*write.totalMs);
}

DWORD IoEngine::StartRead(std::uint8_t* data, DWORD size, const ReadPlan& plan,
                          CompletionRecord record, DWORD& bytesNow) {
    bytesNow = 0;
    std::lock_guard lock(mutex_);
    if (stopped_) return ERROR_INVALID_HANDLE;
    if (read_ != nullptr) return ERROR_INVALID_PARAMETER;
    if (hungUp_) return ERROR_DEVICE_NOT_CONNECTED;

    auto read = std::make_unique<Request>(
        Request{.readInto = data, .size = size, .record = std::move(record), .plan = plan});
    read->started = Clock::now();
    if (plan.totalMs) read->deadline = read->started + std::chrono::milliseconds(*plan.totalMs);

    int error = 0;
    switch (Pull(*read, error)) {
        case Transfer::HungUp:
            HangUp();
            if (read->done == 0) return ERROR_DEVICE_NOT_CONNECTED;
            break;
        case Transfer::Failed:
            if (read->done == 0) return ErrorFromErrno(error);
            break;
        case Transfer::Moved:
        case Transfer::Nothing:
            if (!plan.returnAtOnce && !ReadIsDone(*read, Clock::now())) {
                read->record.MarkPending();
                read_ = std::move(read);
                Wake();
                return ERROR_IO_PENDING;
            }
    }
    bytesNow = read->done;
    Finish(*read, ERROR_SUCCESS, read->done);
    return ERROR_SUCCESS;
}

DWORD IoEngine::StartWrite(const std::uint8_t* data, DWORD size,
                           std::optional<std::uint64_t> totalMs, CompletionRecord record,
                           DWORD& bytesNow) {
    bytesNow = 0;
    std::lock_guard lock(mutex_);
    if (stopped_) return ERROR_INVALID_HANDLE;
    if (hungUp_) return ERROR_DEVICE_NOT_CONNECTED;

    Request write{.writeFrom = data, .size = size, .record = std::move(record), .totalMs = totalMs};
    write.started = Clock::now();
    if (writes_.empty()) {
        // First in line: as much as the line takes now goes now.
        int error = 0;
        switch (Push(write, error)) {
            case Transfer::HungUp:
                HangUp();
                return ERROR_DEVICE_NOT_CONNECTED;
            case Transfer::Failed:
                return ErrorFromErrno(error);
            case Transfer::Moved:
            case Transfer::Nothing:
                break;
        }
        if (write.done == write.size) {
            bytesNow = write.done;
            Finish(write, ERROR_SUCCESS, write.done);
            return ERROR_SUCCESS;
        }
        Activate(write, write.started);
    }
    write.record.MarkPending();
    writes_.push_back(std::move(write));
    Wake();
    return ERROR_IO_PENDING;
}

void IoEngine::ServeRead(short revents) {
    if (read_ == nullptr) return;
    int error = 0;
    switch (Pull(*read_, error)) {
        case Transfer::HungUp:
            HangUp();
            return;
        case Transfer::Failed:
            FinishRead(read_->done > 0 ? ERROR_SUCCESS : ErrorFromErrno(error));
            return;
        case Transfer::Nothing:
            // A line that reports a hang-up but never gives the 0 or EIO of one is gone all
            // the same; polling it again would only spin.
            if ((revents & (POLLHUP | POLLERR)) != 0) {
                HangUp();
                return;
            }
            break;
        case Transfer::Moved:
            break;
    }
    if (ReadIsDone(*read_, Clock::now())) FinishRead(ERROR_SUCCESS);
}

void IoEngine::ServeWrites(short revents) {
    while (!writes_.empty()) {
        Request& write = writes_.front();
        const Clock::time_point now = Clock::now();
        if (!write.active) Activate(write, now);
        int error = 0;
        const Transfer transfer = Push(write, error);
        if (transfer == Transfer::HungUp ||
            (transfer == Transfer::Nothing && (revents & (POLLHUP | POLLERR)) != 0 &&
             write.done < write.size)) {
            HangUp();
            return;
        }
        if (transfer == Transfer::Failed) {
            Finish(write, ErrorFromErrno(error), write.done);
        } else if (write.done == write.size || (write.deadline && now >= *write.deadline)) {
            // A write that times out completes with what went out, as the system's do.
            Finish(write, ERROR_SUCCESS, write.done);
        } else {
            return;  // the line takes no more now
        }
        writes_.pop_front();
    }
}

int IoEngine::PollTimeout(Clock::time_point now) const {
    std::optional<Clock::time_point> next;
    const auto consider = [&next](Clock::time_point when) {
        if (!next || when < *next) next = when;
    };
    if (read_ != nullptr) {
        if (read_->deadline) consider(*read_->deadline);
        if (read_->plan.intervalMs && read_->done > 0) {
            consider(read_->lastByte + std::chrono::milliseconds(*read_->plan.intervalMs));
        }
    }
    if (!writes_.empty() && writes_.front().deadline) consider(*writes_.front().deadline);
    if (!next) return -1;
    if (*next <= now) return 0;
    // Rounded up, so the poll does not wake just short of the moment and spin.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now).count();
    return static_cast<int>(std::min<decltype(wait)>(wait, INT_MAX));
}

void IoEngine::Serve() {
    std::unique_lock lock(mutex_);
    while (!stopped_) {
        short events = 0;
        if (!hungUp_) {
            if (read_ != nullptr) events |= POLLIN;
            if (!writes_.empty()) events |= POLLOUT;
        }
        // A line with nothing asked of it is left out: after a hang-up it would report POLLHUP
        // without end.
        pollfd fds[2] = {{events != 0 ? fd_ : -1, events, 0}, {wakeFd_, POLLIN, 0}};
        const int timeout = PollTimeout(Clock::now());
        lock.unlock();
        const int ready = poll(fds, 2, timeout);
        lock.lock();
        if (ready < 0) continue;  // EINTR; the state is looked at afresh
        if ((fds[1].revents & POLLIN) != 0) DrainWake();
        if (stopped_) break;
        const short revents = fds[0].fd >= 0 ? fds[0].revents : 0;
        ServeRead(revents);
        ServeWrites(revents);
    }
}

}  // namespace platform::posix
