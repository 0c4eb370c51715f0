// The exception fence around every entry from Windows into the program's code, usable by any Win32 unit (the
// editor control's window as well as the forms): an error ends the handler it arose in and goes to the error hook,
// which the application points at its error box at start-up.
#pragma once

#include <exception>

namespace win {

// The message used for an error that carries no text of its own.
inline constexpr const char* kUnexpectedErrorText = "予期しないエラーが発生しました";

// Where fenced errors go. Must not throw. Without a hook installed they are dropped.
using ErrorHook = void (*)(const char* message) noexcept;

inline ErrorHook& errorHook() noexcept {
    static ErrorHook hook = nullptr;
    return hook;
}
inline void setErrorHook(ErrorHook hook) noexcept { errorHook() = hook; }

// Runs `f`; an exception ends it and is reported through the error hook, and false is returned. Nothing escapes
// into Windows, so the program goes on waiting for input.
template <class F>
bool fenced(F&& f) noexcept {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        if (ErrorHook hook = errorHook()) hook(e.what()[0] ? e.what() : kUnexpectedErrorText);
    } catch (...) {
        if (ErrorHook hook = errorHook()) hook(kUnexpectedErrorText);
    }
    return false;
}

}  // namespace win
