// The error that the window's file and list operations raise. It leaves the event handler and is
// shown in the application's error box; the window then carries on.
#pragma once

#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};
