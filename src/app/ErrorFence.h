// The exception fence around every entry from Windows into the program's code.
#pragma once

#include <exception>

#include "app/MessageBoxes.h"

namespace app {

// The message shown for an error that carries no text of its own.
inline constexpr const char* kUnexpectedErrorText = "予期しないエラーが発生しました";

// Runs `f`; an exception ends it and is shown by the application-wide error box, and false is returned.
// Nothing escapes into Windows, so the program goes on waiting for input.
template <class F>
bool fenced(F&& f) noexcept {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        applicationErrorShow(e.what()[0] ? e.what() : kUnexpectedErrorText);
    } catch (...) {
        applicationErrorShow(kUnexpectedErrorText);
    }
    return false;
}

}  // namespace app
