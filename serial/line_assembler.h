// Cuts the bytes of successive reads into lines at carriage return or line feed. A partial line
// is delivered on its own only on the second empty read in a row after data. Uses fixed storage
// only: nothing is allocated per read or per line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "serial/port_settings.h"

class LineAssembler {
public:
    static constexpr std::size_t kReadSize = 255;
    static constexpr std::int32_t kMaxLineLength = 2048;

    // `data` holds one read of `bytesRead` bytes in a buffer of kReadSize bytes that is NUL after
    // the read's bytes; bytes after the first NUL are dropped.
    void Assemble(const std::uint8_t (&data)[kReadSize], std::uint32_t bytesRead,
                  const LineReceivedCallback& callback);

    std::int32_t PendingLength() const { return lineLength_; }
    bool Idle() const { return idle_; }

private:
    void EndLine(const LineReceivedCallback& callback);

    bool idle_ = false;
    char lineBuffer_[kMaxLineLength + 1] = {};
    std::int32_t lineLength_ = 0;
};
