// The error that command-file loading, log saving and the window's list operations raise. In the
// window it leaves the event handler and is shown in the error box, and the window carries on;
// qdax-play reports it and ends.
#pragma once

#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};
