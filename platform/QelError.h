#pragma once

#include <stdexcept>
#include <string>

// The one error type of the tool: it carries the text that is shown to the administrator.
class EQelError : public std::runtime_error {
public:
    explicit EQelError(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};
