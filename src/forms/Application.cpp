// The application object and the shared message handling.
#include "forms/Application.h"

#include <commctrl.h>

#include "forms/Form.h"
#include "forms/MessageBoxes.h"
#include "win/ErrorFence.h"

namespace forms {

namespace {

constexpr const char* kAppWindowClass = "CanopiaApplication";

// Fenced errors of every window, the forms' and the editor control's alike, end in the error box.
void errorBoxHook(const char* message) noexcept { applicationErrorShow(message); }

}  // namespace

Application& Application::instance() {
    static Application app;
    return app;
}

void Application::initialize(HINSTANCE instance) {
    if (hwnd_) return;
    hinstance_ = instance;
    win::setErrorHook(errorBoxHook);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = appProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(100));
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kAppWindowClass;
    ::RegisterClassExA(&wc);
    // A zero-size window in the middle of the screen: invisible to the eye, but it carries the taskbar
    // button (with the application title) and owns the main form.
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2, y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    hwnd_ = ::CreateWindowExA(0, kAppWindowClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                              nullptr, nullptr, instance, nullptr);
}

void Application::setTitle(const std::string& title) {
    title_ = title;
    if (hwnd_) ::SetWindowTextA(hwnd_, title_.c_str());
}

void Application::formCreated(Form* form) {
    forms_.push_back(form);
    if (!mainForm_) mainForm_ = form;
}

void Application::formActivated(HWND form) { lastActiveForm_ = form; }

HWND Application::activeFormHandle() const {
    if (lastActiveForm_ && ::IsWindow(lastActiveForm_) && ::IsWindowVisible(lastActiveForm_)) return lastActiveForm_;
    return mainForm_ ? mainForm_->handle() : nullptr;
}

int Application::run() {
    if (!mainForm_) return 0;
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    mainForm_->show();
    MSG msg;
    BOOL r;
    while ((r = ::GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (r == -1) break;
        processMessage(msg);
    }
    if (onExit) win::fenced([this] { onExit(); });
    return r == 0 ? static_cast<int>(msg.wParam) : 0;
}

void Application::processMessage(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    Form* form = nullptr;
    if (root)
        for (Form* f : forms_)
            if (f->handle() == root) form = f;
    if (form) {
        if (form->accelerators() && ::IsWindowEnabled(root) &&
            ::TranslateAcceleratorA(root, form->accelerators(), &msg))
            return;
        if (form->preTranslate(msg)) return;
        if (::IsDialogMessageA(root, &msg)) return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

void Application::minimize() {
    if (minimized()) return;
    hiddenByMinimize_.clear();
    for (Form* f : forms_)
        if (f->visible()) {
            hiddenByMinimize_.push_back(f->handle());
            ::ShowWindow(f->handle(), SW_HIDE);
        }
    ::ShowWindow(hwnd_, SW_MINIMIZE);
    if (onMinimize) win::fenced([this] { onMinimize(); });
}

void Application::restore() {
    if (minimized()) ::ShowWindow(hwnd_, SW_RESTORE);
    for (HWND h : hiddenByMinimize_)
        if (::IsWindow(h)) ::ShowWindow(h, SW_SHOWNA);
    hiddenByMinimize_.clear();
    if (HWND active = activeFormHandle()) ::SetActiveWindow(active);
    if (onRestore) win::fenced([this] { onRestore(); });
}

bool Application::minimized() const { return hwnd_ && ::IsIconic(hwnd_); }

LRESULT CALLBACK Application::appProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (win::fenced([&] { result = instance().hwnd_ == hwnd ? instance().handle(msg, wp, lp)
                                                       : ::DefWindowProcA(hwnd, msg, wp, lp); }))
        return result;
    return 0;
}

LRESULT Application::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SYSCOMMAND:
            switch (wp & 0xFFF0) {
                case SC_MINIMIZE: minimize(); return 0;
                case SC_RESTORE: restore(); return 0;
                case SC_CLOSE:
                    if (mainForm_) mainForm_->close();
                    return 0;
                default: break;
            }
            break;
        case WM_CLOSE:
            if (mainForm_) mainForm_->close();
            return 0;
        case WM_SETFOCUS:
            // The taskbar button activates this zero-size window: pass the focus on to the form in use.
            if (!minimized())
                if (HWND active = activeFormHandle(); active && ::IsWindowEnabled(active)) ::SetActiveWindow(active);
            return 0;
        default: break;
    }
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace forms
