// Message boxes of the program: owned by the current window, with the captions and icons of the house rules.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

// The window that owns a message box now: the active window of this thread, else the visible form that is
// shown modally, else the main form, else the application window.
HWND currentOwner();

// Any box with the given caption and flags, owned by the current window.
int messageBox(const std::string& text, const char* caption, UINT flags);

// "注意": a warning, exclamation icon unless `withIcon` is false.
int warningBox(const std::string& text, UINT buttons = MB_OK, bool withIcon = true);
// "確認": a question before an action, information icon (OK/Cancel, Yes/No/Cancel...).
int confirmBox(const std::string& text, UINT buttons = MB_OKCANCEL);
// "エラー": a failure, stop icon.
int errorBox(const std::string& text, UINT buttons = MB_OK);
// "処理終了": the end of a several-files run.
int endBox(const std::string& text, UINT flags = MB_OK | MB_ICONINFORMATION);

// The plain message window for input errors: the default beep, then the text with an OK button, no icon,
// and the application title as caption.
void plainMessage(const std::string& text, bool beep = true);

// The application-wide error box: the message with its full stop (see errorBoxText), caption "カノピア",
// error icon. Safe to call from any handler; never throws.
void applicationErrorShow(const std::string& message) noexcept;

}  // namespace forms
