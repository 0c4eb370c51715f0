// Message boxes of the program.
#include "forms/MessageBoxes.h"

#include "forms/Application.h"
#include "forms/ErrorText.h"
#include "forms/Form.h"

namespace forms {

HWND currentOwner() {
    HWND active = ::GetActiveWindow();  // this thread's active window, if any
    if (active && ::IsWindowVisible(active)) return active;
    auto& app = Application::instance();
    if (HWND form = app.activeFormHandle(); form && ::IsWindowVisible(form)) return form;
    return app.handle();
}

int messageBox(const std::string& text, const char* caption, UINT flags) {
    return ::MessageBoxA(currentOwner(), text.c_str(), caption, flags);
}

int warningBox(const std::string& text, UINT buttons, bool withIcon) {
    return messageBox(text, "注意", buttons | (withIcon ? MB_ICONEXCLAMATION : 0));
}

int confirmBox(const std::string& text, UINT buttons) { return messageBox(text, "確認", buttons | MB_ICONINFORMATION); }

int errorBox(const std::string& text, UINT buttons) { return messageBox(text, "エラー", buttons | MB_ICONSTOP); }

int endBox(const std::string& text, UINT flags) { return messageBox(text, "処理終了", flags); }

void plainMessage(const std::string& text, bool beep) {
    if (beep) ::MessageBeep(MB_OK);
    messageBox(text, Application::instance().title().c_str(), MB_OK);
}

void applicationErrorShow(const std::string& message) noexcept {
    try {
        ::MessageBoxA(currentOwner(), errorBoxText(message).c_str(), "カノピア", MB_OK | MB_ICONERROR);
    } catch (...) {
        ::MessageBoxA(currentOwner(), message.c_str(), "カノピア", MB_OK | MB_ICONERROR);
    }
}

}  // namespace forms
