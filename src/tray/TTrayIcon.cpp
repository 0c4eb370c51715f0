// TTrayIcon's platform side: the callback window, icons, menus, the single-click worker and the animation.
#include "tray/TTrayIcon.h"

#include <string>
#include <thread>
#include <utility>

#include "tray/TrayPopupMenu.h"
#include "win/ErrorFence.h"

namespace {

constexpr const char* kCallbackClass = "TCallbackWindow";

HWND callbackHwnd = nullptr;

TTrayIcon* trayIconFind(std::uintptr_t identifier) {
    return dynamic_cast<TTrayIcon*>(TrayIconCore::instanceFind(identifier));
}

}  // namespace

struct TrayCallbackWindow {
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        // Broadcast to the top-level windows when the shell has restarted with an empty notification area.
        static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
        if (msg == taskbarCreated && taskbarCreated != 0) {
            win::fenced([] { TrayIconCore::notificationAreaRecreated(); });
            return 0;
        }
        switch (msg) {
            case tray::kCallbackMessage:
                // Without a version request the shell puts the mouse or balloon message in the low word.
                win::fenced([&] { TrayIconCore::callbackMessage(wp, LOWORD(lp)); });
                return 0;
            case TTrayIcon::kClickWaitDoneMessage:
                win::fenced([&] { TrayIconCore::clickWaitEnded(wp, static_cast<unsigned>(lp)); });
                return 0;
            case WM_TIMER:
                win::fenced([&] {
                    if (TTrayIcon* icon = trayIconFind(wp)) icon->animationStep();
                });
                return 0;
            case WM_NCDESTROY:
                if (hwnd == callbackHwnd) callbackHwnd = nullptr;
                break;
            default:
                break;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    static HWND create(HWND owner) {
        static bool registered = false;
        HINSTANCE module = GetModuleHandleA(nullptr);
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = proc;
            wc.hInstance = module;
            wc.lpszClassName = kCallbackClass;
            registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        }
        // A hidden window owned by the form: it goes with the form, and unlike a child window it hears the
        // shell's broadcast after a restart.
        return CreateWindowExA(WS_EX_TOOLWINDOW, kCallbackClass, "", WS_POPUP, 0, 0, 0, 0,
                               owner != nullptr && IsWindow(owner) ? owner : nullptr, nullptr, module, nullptr);
    }
};

namespace {

struct FirstIconGroup {
    bool found = false;
    bool numeric = false;
    WORD number = 0;
    std::string name;
};

BOOL CALLBACK firstIconGroupTake(HMODULE, LPCSTR, LPSTR resourceName, LONG_PTR param) {
    auto* first = reinterpret_cast<FirstIconGroup*>(param);
    first->found = true;
    if (IS_INTRESOURCE(resourceName)) {
        first->numeric = true;
        first->number = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(resourceName));
    } else {
        first->name = resourceName;
    }
    return FALSE;  // the first one is the application's
}

// The executable's first icon group, at the small icon size, looked up once.
HICON applicationIcon() {
    static HICON icon = [] {
        HMODULE module = GetModuleHandleA(nullptr);
        FirstIconGroup first;
        EnumResourceNamesA(module, RT_GROUP_ICON, firstIconGroupTake, reinterpret_cast<LONG_PTR>(&first));
        if (!first.found) return static_cast<HICON>(nullptr);
        LPCSTR resource = first.numeric ? MAKEINTRESOURCEA(first.number) : first.name.c_str();
        return static_cast<HICON>(LoadImageA(module, resource, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }();
    return icon;
}

HICON formIcon(HWND form) {
    if (form == nullptr || !IsWindow(form)) return nullptr;
    DWORD_PTR result = 0;
    for (WPARAM kind : {WPARAM(ICON_SMALL), WPARAM(ICON_BIG)}) {
        if (SendMessageTimeoutA(form, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 1000, &result) && result)
            return reinterpret_cast<HICON>(result);
    }
    if (HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(form, GCLP_HICONSM))) return icon;
    return reinterpret_cast<HICON>(GetClassLongPtrA(form, GCLP_HICON));
}

}  // namespace

TTrayIcon::TTrayIcon(HWND ownerForm, tray::NotifyShell& shell) : TrayIconCore(shell), owner_(ownerForm) {
    if (callbackHwnd == nullptr) callbackHwnd = TrayCallbackWindow::create(owner_);
}

TTrayIcon::~TTrayIcon() {
    if (Animating()) {
        KillTimer(callbackHwnd, id());
        setAnimating(false);
    }
    remove();
    // The last icon takes the callback window with it.
    if (instances().size() == 1 && callbackHwnd != nullptr) DestroyWindow(callbackHwnd);
}

HWND TTrayIcon::callbackWindow() noexcept { return callbackHwnd; }

void TTrayIcon::popupMenuDestroyed(const TrayPopupMenu* menu) noexcept {
    for (TrayIconCore* instance : instances()) {
        if (auto* icon = dynamic_cast<TTrayIcon*>(instance)) {
            if (icon->lbMenu_ == menu) icon->lbMenu_ = nullptr;
            if (icon->rbMenu_ == menu) icon->rbMenu_ = nullptr;
        }
    }
}

void TTrayIcon::setIcon(HICON icon) {
    // The notification area shows small icons: take the small image of the icon's resource when there is one.
    win::UniqueIcon copy;
    if (icon) {
        copy.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_COPYFROMRESOURCE)));
        if (!copy) copy.reset(CopyIcon(icon));
    }
    icon_ = std::move(copy);
    if (!Animating()) iconChanged();
}

std::uintptr_t TTrayIcon::callbackWindowHandle() {
    // The owner form may have taken the window with it; the next operation makes a new one.
    if (callbackHwnd == nullptr) callbackHwnd = TrayCallbackWindow::create(owner_);
    return reinterpret_cast<std::uintptr_t>(callbackHwnd);
}

std::uintptr_t TTrayIcon::iconHandle() {
    HICON icon = nullptr;
    if (Animating() && frameIcon_) icon = frameIcon_.get();
    if (!icon) icon = icon_.get();
    if (!icon) icon = formIcon(owner_);
    if (!icon) icon = applicationIcon();
    return reinterpret_cast<std::uintptr_t>(icon);
}

bool TTrayIcon::popupMenuAssigned(TMouseButton button) const {
    return (button == TMouseButton::mbLeft ? lbMenu_ : rbMenu_) != nullptr;
}

void TTrayIcon::popupMenuShow(TMouseButton button, int x, int y) {
    // A menu only closes on a click elsewhere when its owner is in the foreground.
    HWND owner = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
    if (owner) SetForegroundWindow(owner);
    const unsigned identifier = id();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // What ran meanwhile may have destroyed this icon or its menu.
    if (TrayIconCore::instanceFind(identifier) != this) return;
    TrayPopupMenu* menu = button == TMouseButton::mbLeft ? lbMenu_ : rbMenu_;
    if (menu == nullptr) return;
    if (owner == nullptr || !IsWindow(owner)) owner = reinterpret_cast<HWND>(callbackWindowHandle());
    menu->popup(owner, x, y);
}

void TTrayIcon::cursorPosRead(int& x, int& y) {
    POINT point{0, 0};
    GetCursorPos(&point);
    x = point.x;
    y = point.y;
}

void TTrayIcon::activeFormToForeground() {
    HWND active = GetActiveWindow();
    if (active == nullptr && owner_ != nullptr && IsWindow(owner_)) active = GetLastActivePopup(owner_);
    if (active != nullptr) SetForegroundWindow(active);
}

unsigned TTrayIcon::doubleClickTime() { return GetDoubleClickTime(); }

// The worker only sleeps; its end is posted to the callback window, so OnClick fires on the
// user-interface thread. A worker whose icon is gone by then posts to nobody or is ignored.
void TTrayIcon::clickWaitStart(unsigned delayMs, unsigned token) {
    HWND target = reinterpret_cast<HWND>(callbackWindowHandle());
    const unsigned identifier = id();
    std::thread([target, identifier, token, delayMs] {
        Sleep(delayMs);
        PostMessageA(target, kClickWaitDoneMessage, identifier, static_cast<LPARAM>(token));
    }).detach();
}

// ---- animation ----

void TTrayIcon::setAnimateIcons(HIMAGELIST images) noexcept {
    if (!Animating()) animateIcons_ = images;
}

void TTrayIcon::setAnimateRate(int ms) {
    TrayIconCore::setAnimateRate(ms);
    if (Animating()) SetTimer(reinterpret_cast<HWND>(callbackWindowHandle()), id(), AnimateRate(), nullptr);
}

void TTrayIcon::StartAnimation() {
    if (Animating() || animateIcons_ == nullptr || ImageList_GetImageCount(animateIcons_) <= 0) return;
    frame_ = 0;
    frameIcon_.reset(ImageList_GetIcon(animateIcons_, frame_, ILD_NORMAL));
    setAnimating(true);
    SetTimer(reinterpret_cast<HWND>(callbackWindowHandle()), id(), AnimateRate(), nullptr);
    iconChanged();
}

void TTrayIcon::StopAnimation() {
    if (!Animating()) return;
    KillTimer(callbackHwnd, id());
    setAnimating(false);
    frameIcon_.reset();
    iconChanged();
}

void TTrayIcon::animationStep() {
    if (!Animating() || animateIcons_ == nullptr) return;
    int count = ImageList_GetImageCount(animateIcons_);
    if (count <= 0) return;
    frame_ = (frame_ + 1) % count;
    win::UniqueIcon next(ImageList_GetIcon(animateIcons_, frame_, ILD_NORMAL));
    if (!next) return;
    frameIcon_ = std::move(next);
    iconChanged();
}
