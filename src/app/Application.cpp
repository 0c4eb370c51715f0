// The application object and the shared message handling.
#include "app/Application.h"

#include <commctrl.h>

#include <vector>

#include "app/ErrorFence.h"
#include "app/Form.h"

namespace app {

namespace {

constexpr const char* kAppWindowClass = "CanopiaApplication";

std::vector<Form*>& forms() {
    static std::vector<Form*> list;
    return list;
}

HWND lastActiveForm = nullptr;                // the form that was active last
std::vector<HWND> hiddenByMinimize;          // forms hidden when the application was minimised

}  // namespace

Application& Application::instance() {
    static Application app;
    return app;
}

void Application::initialize(HINSTANCE instance) {
    if (hwnd_) return;
    hinstance_ = instance;
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
    forms().push_back(form);
    if (!mainForm_) mainForm_ = form;
}

void Application::formActivated(HWND form) { lastActiveForm = form; }

HWND Application::activeFormHandle() const {
    if (lastActiveForm && ::IsWindow(lastActiveForm) && ::IsWindowVisible(lastActiveForm)) return lastActiveForm;
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
    if (onExit) fenced([this] { onExit(); });
    return r == 0 ? static_cast<int>(msg.wParam) : 0;
}

void Application::processMessage(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    Form* form = nullptr;
    if (root)
        for (Form* f : forms())
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
    hiddenByMinimize.clear();
    for (Form* f : forms())
        if (f->visible()) {
            hiddenByMinimize.push_back(f->handle());
            ::ShowWindow(f->handle(), SW_HIDE);
        }
    ::ShowWindow(hwnd_, SW_MINIMIZE);
    if (onMinimize) fenced([this] { onMinimize(); });
}

void Application::restore() {
    if (minimized()) ::ShowWindow(hwnd_, SW_RESTORE);
    for (HWND h : hiddenByMinimize)
        if (::IsWindow(h)) ::ShowWindow(h, SW_SHOWNA);
    hiddenByMinimize.clear();
    if (HWND active = activeFormHandle()) ::SetActiveWindow(active);
    if (onRestore) fenced([this] { onRestore(); });
}

bool Application::minimized() const { return hwnd_ && ::IsIconic(hwnd_); }

LRESULT CALLBACK Application::appProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (fenced([&] { result = instance().hwnd_ == hwnd ? instance().handle(msg, wp, lp)
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

}  // namespace app
