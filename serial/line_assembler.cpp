#include "serial/line_assembler.h"

#include <exception>

void LineAssembler::Assemble(const std::uint8_t (&data)[kReadSize], std::uint32_t bytesRead,
                             const LineReceivedCallback& callback) {
    if (bytesRead == 0) {
        // The first empty read after data only marks the line idle; the second delivers what is
        // pending, so a device that pauses briefly inside a line is not cut.
        if (!idle_) {
            idle_ = true;
        } else if (lineLength_ > 0) {
            EndLine(callback);
        }
        return;
    }
    idle_ = false;
    // A callback that fails must not cost the lines after it: the rest of the read is still cut
    // and delivered, and the first failure is raised once the read is done.
    std::exception_ptr firstFailure;
    auto endLine = [&] {
        try {
            EndLine(callback);
        } catch (...) {
            if (!firstFailure) firstFailure = std::current_exception();
        }
    };
    for (std::size_t i = 0; i < kReadSize && i < bytesRead && data[i] != 0; ++i) {
        const std::uint8_t byte = data[i];
        if (byte == '\r' || byte == '\n') {
            endLine();
            continue;
        }
        if (lineLength_ == kMaxLineLength) {
            // A line longer than the buffer goes out in full pieces; no byte is dropped.
            endLine();
        }
        lineBuffer_[lineLength_++] = static_cast<char>(byte);
    }
    if (firstFailure) std::rethrow_exception(firstFailure);
}

void LineAssembler::EndLine(const LineReceivedCallback& callback) {
    lineBuffer_[lineLength_] = '\0';
    lineLength_ = 0;
    if (callback) callback(lineBuffer_);
}
