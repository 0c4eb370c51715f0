// TTrayIcon against the real notification area and real windows, under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TrayTestSupport.h"
#include "tray/TTrayIcon.h"
#include "tray/TrayPopupMenu.h"
#include "win/ErrorFence.h"
#include "win/WinHandles.h"

using Button = TTrayIcon::TMouseButton;

namespace {


// A top-level window of a class with or without a class icon.
HWND formCreate(bool withIcon) {
    const char* name = withIcon ? "TrayTestFormIcon" : "TrayTestFormBare";
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    wc.hIcon = withIcon ? LoadIconA(nullptr, IDI_APPLICATION) : nullptr;
    RegisterClassA(&wc);
    return CreateWindowExA(0, name, "form", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Whether the shell knows an icon: a modify of an unknown icon fails.
bool shellHasIcon(HWND window, UINT id) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void callback(const TTrayIcon& icon, UINT message) {
    SendMessageA(TTrayIcon::callbackWindow(), tray::kCallbackMessage, icon.id(), message);
}

}  // namespace

TEST(TrayShell, VersionOfTheSystemShellIsRead) {
    unsigned major = tray::shell32MajorVersionRead();
    EXPECT_GE(major, 5u);  // Wine's shell32 is a version 6
    EXPECT_TRUE(tray::windowsXpOrLaterRead());
    TTrayIcon icon(nullptr);
    EXPECT_EQ(icon.shellMajorVersion(), major);
}

TEST(TrayShell, AddsModifiesHidesAndDeletesARealIcon) {
    HWND form = formCreate(true);
    UINT id = 0;
    HWND callbackWindow = nullptr;
    {
        TTrayIcon icon(form);
        callbackWindow = TTrayIcon::callbackWindow();
        ASSERT_NE(callbackWindow, nullptr);
        EXPECT_EQ(GetParent(callbackWindow), form);  // owned by the form
        EXPECT_FALSE(IsWindowVisible(callbackWindow));
        id = icon.id();
        icon.setTipHelp("カノピアが待機中です...");
        EXPECT_EQ(trayWineIconCount(), 0);
        icon.setVisible(true);  // the form's class icon
        EXPECT_TRUE(icon.Visible());
        EXPECT_TRUE(icon.added());
        EXPECT_TRUE(shellHasIcon(callbackWindow, id));
        EXPECT_EQ(trayWineIconCount(), 1);
        EXPECT_NO_THROW(icon.setTipHelp("changed"));
        EXPECT_NO_THROW(icon.setIcon(LoadIconA(nullptr, IDI_INFORMATION)));
        EXPECT_NO_THROW(icon.setVisible(false));
        EXPECT_TRUE(shellHasIcon(callbackWindow, id));  // hidden, not deleted
        EXPECT_EQ(trayWineIconCount(), 0);
        EXPECT_NO_THROW(icon.setVisible(true));
        EXPECT_EQ(trayWineIconCount(), 1);

        // A restarted shell has lost the icon; its broadcast brings it back.
        NOTIFYICONDATAA gone{};
        gone.cbSize = NOTIFYICONDATAA_V2_SIZE;
        gone.hWnd = callbackWindow;
        gone.uID = id;
        Shell_NotifyIconA(NIM_DELETE, &gone);
        EXPECT_EQ(trayWineIconCount(), 0);
        SendMessageA(callbackWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        EXPECT_EQ(trayWineIconCount(), 1);

        EXPECT_NO_THROW(icon.ShowBalloon());
        EXPECT_NO_THROW(icon.HideBalloon());
    }
    EXPECT_FALSE(shellHasIcon(callbackWindow, id));
    EXPECT_EQ(trayWineIconCount(), 0);
    EXPECT_FALSE(IsWindow(callbackWindow));  // the last icon took it with it
    DestroyWindow(form);
}

TEST(TrayShell, WithoutAnyIconVisibleStaysFalse) {
    HWND form = formCreate(false);  // no class icon, no WM_SETICON; the test program has no icon either
    TTrayIcon icon(form);
    icon.setVisible(true);
    EXPECT_FALSE(icon.Visible());
    EXPECT_FALSE(icon.added());
    SendMessageA(form, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_WARNING)));
    icon.setVisible(true);  // now the form's own icon is there
    EXPECT_TRUE(icon.Visible());
    DestroyWindow(form);
}

TEST(TrayCallback, MouseMessagesReachTheEventsThroughTheCallbackWindow) {
    TTrayIcon icon(nullptr);
    std::vector<std::string> log;
    POINT expected{};
    icon.OnMouseDown = [&](TrayIconCore&, Button b, TTrayIcon::TShiftState s, int x, int y) {
        log.push_back("down" + std::to_string(int(b)) + "/" + std::to_string(s));
        EXPECT_EQ(x, expected.x);
        EXPECT_EQ(y, expected.y);
    };
    SetCursorPos(300, 200);
    GetCursorPos(&expected);
    callback(icon, WM_RBUTTONDOWN);
    // Unknown identifiers are ignored.
    SendMessageA(TTrayIcon::callbackWindow(), tray::kCallbackMessage, icon.id() + 7, WM_LBUTTONDOWN);
    EXPECT_EQ(log, std::vector<std::string>{"down1/16"});

    // A handler's error ends the handler; it goes to the error hook, not into Windows.
    static std::string shown;
    win::setErrorHook([](const char* message) noexcept { shown = message; });
    icon.OnMouseDown = [](TrayIconCore&, Button, TTrayIcon::TShiftState, int, int) { throw AppError("boom"); };
    callback(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(shown, "boom");
    win::setErrorHook(nullptr);
}

TEST(TrayCallback, ClickWorkerFiresOnceAfterTheDoubleClickTime) {
    TTrayIcon icon(nullptr);
    int clicks = 0, doubles = 0;
    DWORD firedAt = 0;
    icon.OnClick = [&](TrayIconCore&) {
        ++clicks;
        firedAt = GetTickCount();
    };
    icon.OnDblClick = [&](TrayIconCore&) { ++doubles; };
    const UINT wait = GetDoubleClickTime() + 50;

    DWORD start = GetTickCount();
    callback(icon, WM_LBUTTONDOWN);
    callback(icon, WM_LBUTTONUP);
    pump(wait / 2);
    EXPECT_EQ(clicks, 0);
    pump(wait);
    EXPECT_EQ(clicks, 1);
    EXPECT_GE(firedAt - start, wait - 20);  // tick granularity

    for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) callback(icon, m);
    pump(wait + 300);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1);

    // An icon destroyed while its worker sleeps: the late notice finds nobody.
    {
        TTrayIcon gone(nullptr);
        gone.OnClick = [&](TrayIconCore&) { ++clicks; };
        callback(gone, WM_LBUTTONUP);
    }
    pump(wait + 300);
    EXPECT_EQ(clicks, 1);
}

TEST(TrayMenu, ButtonPressPopsUpItsMenuInsteadOfTheEvent) {
    HWND form = formCreate(true);
    ShowWindow(form, SW_SHOW);
    TTrayIcon icon(form);
    int downs = 0, chosen = 0;
    icon.OnMouseDown = [&](TrayIconCore&, Button, TTrayIcon::TShiftState, int, int) { ++downs; };
    {
        TrayPopupMenu menu;
        menu.addItem("表示状態を復帰(&A)", [&] { ++chosen; }, LoadIconA(nullptr, IDI_APPLICATION));
        menu.addItem("終了(&X)", [&] { chosen += 10; });
        EXPECT_EQ(GetMenuItemCount(menu.handle()), 2);
        icon.setRBPopupMenu(&menu);

        menuKeysWhenOpen({VK_ESCAPE});
        callback(icon, WM_RBUTTONDOWN);  // returns when the menu closes
        EXPECT_EQ(downs, 0);
        EXPECT_EQ(chosen, 0);

        menuKeysWhenOpen({VK_DOWN, VK_RETURN});
        callback(icon, WM_RBUTTONDOWN);
        pump(100);
        EXPECT_EQ(chosen, 1);  // the handler ran after the menu closed

        callback(icon, WM_LBUTTONDOWN);  // no left menu: the event
        EXPECT_EQ(downs, 1);
    }
    EXPECT_EQ(icon.RBPopupMenu(), nullptr);  // the destroyed menu is forgotten
    callback(icon, WM_RBUTTONDOWN);
    EXPECT_EQ(downs, 2);
    DestroyWindow(form);
}

TEST(TrayMenu, PictureKeepsTheIconsTransparency) {
    const win::UniqueBitmap bitmap = menuPictureFromIcon(LoadIconA(nullptr, IDI_APPLICATION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(bitmap.get(), sizeof dib, &dib), int(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    auto* pixels = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
    int opaque = 0, clear = 0;
    for (int i = 0; i < dib.dsBm.bmWidth * dib.dsBm.bmHeight; ++i) {
        unsigned alpha = pixels[i] >> 24;
        opaque += alpha == 255;
        clear += alpha == 0;
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(clear, 0);
    EXPECT_EQ(menuPictureFromIcon(nullptr), nullptr);
}

namespace {

struct RecordingShell : tray::NotifyShell {
    std::vector<std::uintptr_t> icons;  // hIcon of every modify
    bool notify(tray::NotifyCommand command, const tray::NotifyRecord& record) override {
        if (command == tray::NotifyCommand::Modify) icons.push_back(record.icon);
        return true;
    }
    unsigned long lastError() override { return 0; }
    void sleep(unsigned) override {}
    unsigned shellMajorVersion() override { return 6; }
    bool windowsXpOrLater() override { return true; }
};

HIMAGELIST animationImages() {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    ImageList_AddIcon(images, LoadIconA(nullptr, IDI_APPLICATION));
    ImageList_AddIcon(images, LoadIconA(nullptr, IDI_WARNING));
    return images;
}

}  // namespace

TEST(TrayAnimation, CyclesTheImagesAndFreezesTipAndIconUpdates) {
    RecordingShell shell;
    const win::UniqueImageList owned(animationImages());
    HIMAGELIST images = owned.get();
    {
        TTrayIcon icon(nullptr, shell);
        icon.setIcon(LoadIconA(nullptr, IDI_INFORMATION));
        icon.setVisible(true);
        icon.StartAnimation();  // no images yet: nothing
        EXPECT_FALSE(icon.Animating());
        icon.setAnimateIcons(images);
        icon.setAnimateRate(1);
        EXPECT_EQ(icon.AnimateRate(), 10);
        icon.StartAnimation();
        ASSERT_TRUE(icon.Animating());
        icon.setAnimateIcons(nullptr);  // refused while it runs
        EXPECT_EQ(icon.AnimateIcons(), images);
        shell.icons.clear();
        icon.setTipHelp("quiet");  // no modify while animating
        pump(200);
        ASSERT_GE(shell.icons.size(), 4u);
        EXPECT_NE(shell.icons[0], shell.icons[1]);
        icon.StopAnimation();
        EXPECT_FALSE(icon.Animating());
        pump(50);
        shell.icons.clear();
        icon.setTipHelp("loud");
        EXPECT_EQ(shell.icons.size(), 1u);
    }
}
