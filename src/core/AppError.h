// The error that ends an event handler and is shown by the application-wide error box.
#pragma once

#include <stdexcept>
#include <string>

// Message text is Shift-JIS, as every text of the program.
class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};
