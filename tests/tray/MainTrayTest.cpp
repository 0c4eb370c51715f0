// The main window's notification-area behaviour with the real application object, shell and settings file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "TrayTestSupport.h"
#include "app/frmMainTray.h"
#include "forms/Application.h"
#include "library/Settings.h"
#include "win/WinHandles.h"

namespace {


int closeRequests = 0;

LRESULT CALLBACK mainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        ++closeRequests;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HIMAGELIST eightImages() {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 0);
    for (int i = 0; i < 8; ++i) ImageList_AddIcon(images, LoadIconA(nullptr, i == 7 ? IDI_QUESTION : IDI_HAND));
    return images;
}

// The application window (taskbar button) owning a stand-in main window, as start-up makes them. Both
// are made once: under Wine without a window manager every top-level window shown or destroyed costs seconds.
class MainTrayTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        forms::Application& app = forms::Application::instance();
        app.initialize(GetModuleHandleA(nullptr));
        ShowWindow(app.handle(), SW_SHOWNOACTIVATE);
        WNDCLASSA wc{};
        wc.lpfnWndProc = mainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TrayTestMain";
        RegisterClassA(&wc);
        main = CreateWindowExA(0, "TrayTestMain", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 310, 300,
                               app.handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(main); }
    void SetUp() override {
        images.reset(eightImages());
        closeRequests = 0;
    }
    void TearDown() override {
        app.onMinimize = nullptr;
        app.onRestore = nullptr;
        if (app.minimized()) ShowWindow(app.handle(), SW_RESTORE);
        ShowWindow(app.handle(), SW_SHOWNOACTIVATE);
        images.reset();
    }
    // A tray with the option read from `option` (nullptr: the settings file).
    std::unique_ptr<MainTray> trayMake(bool* option, HICON icon = LoadIconA(nullptr, IDI_APPLICATION)) {
        std::function<bool()> read;
        if (option) read = [option] { return *option; };
        auto tray = std::make_unique<MainTray>(main, app.handle(), icon, images.get(), [this] { app.restore(); }, read);
        MainTray* t = tray.get();
        app.onMinimize = [t] { t->AppMinimize(); };
        app.onRestore = [t] { t->AppRestore(); };
        return tray;
    }
    void iconPress(MainTray& tray, UINT message = WM_LBUTTONDOWN) {
        SendMessageA(TTrayIcon::callbackWindow(), tray::kCallbackMessage, tray.icnTray.id(), message);
    }
    bool taskbarButton() { return IsWindowVisible(app.handle()) != FALSE; }

    forms::Application& app = forms::Application::instance();
    static HWND main;
    win::UniqueImageList images;
};

HWND MainTrayTest::main = nullptr;

}  // namespace

TEST_F(MainTrayTest, TheIconIsSetUpHiddenWithItsTipAndMenu) {
    bool on = true;
    auto tray = trayMake(&on);
    EXPECT_FALSE(tray->icnTray.Visible());
    EXPECT_EQ(tray->icnTray.TipHelp(), "カノピアが待機中です...");
    EXPECT_EQ(tray->icnTray.RBPopupMenu(), &tray->mnuTray);
    EXPECT_EQ(tray->icnTray.LBPopupMenu(), nullptr);
    EXPECT_EQ(tray->icnTray.BalloonIcon(), biifNone);
    HMENU menu = tray->mnuTray.handle();
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    char text[64];
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "表示状態を復帰(&A)");
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "終了(&X)");
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    GetMenuItemInfoA(menu, 0, TRUE, &info);
    EXPECT_NE(info.hbmpItem, nullptr);  // image 7
    GetMenuItemInfoA(menu, 1, TRUE, &info);
    EXPECT_EQ(info.hbmpItem, nullptr);
}

TEST_F(MainTrayTest, OptionOffMinimisesAsUsual) {
    bool on = false;
    auto tray = trayMake(&on);
    app.minimize();
    EXPECT_TRUE(app.minimized());
    EXPECT_TRUE(taskbarButton());
    EXPECT_FALSE(tray->icnTray.Visible());
    app.restore();
    EXPECT_FALSE(tray->icnTray.Visible());
    EXPECT_TRUE(taskbarButton());
}

TEST_F(MainTrayTest, OptionOnMovesToTheTrayAndALeftPressBringsItBack) {
    bool on = true;
    auto tray = trayMake(&on);
    app.minimize();
    EXPECT_TRUE(tray->icnTray.Visible());
    EXPECT_TRUE(tray->icnTray.added());
    EXPECT_FALSE(taskbarButton());

    iconPress(*tray);
    EXPECT_FALSE(app.minimized());
    EXPECT_TRUE(taskbarButton());
    EXPECT_FALSE(tray->icnTray.Visible());
    EXPECT_EQ(GetForegroundWindow(), main);

    // Again, and back through the menu's first item this time.
    app.minimize();
    EXPECT_TRUE(tray->icnTray.Visible());
    tray->mnuTray.commandRun(tray->mTrayFukki);
    EXPECT_FALSE(app.minimized());
    EXPECT_FALSE(tray->icnTray.Visible());
    EXPECT_TRUE(taskbarButton());
}

TEST_F(MainTrayTest, ARightPressOpensTheMenuAndQuitClosesTheMainWindow) {
    bool on = true;
    auto tray = trayMake(&on);
    app.minimize();
    ShowWindow(main, SW_HIDE);  // as the application hides its forms: the menu's owner is hidden
    menuKeysWhenOpen({VK_DOWN, VK_DOWN, VK_RETURN});  // "終了(&X)"
    iconPress(*tray, WM_RBUTTONDOWN);
    EXPECT_TRUE(app.minimized());  // the right button does not restore
    pump(100);
    EXPECT_EQ(closeRequests, 1);  // through the main window's own close
    ShowWindow(main, SW_SHOW);
}

TEST_F(MainTrayTest, OptionChangedBetweenMinimiseAndRestoreLeavesThemOutOfStep) {
    bool on = false;
    auto tray = trayMake(&on);
    app.minimize();  // off: taskbar button, no icon
    on = true;
    app.restore();   // on: hides the icon that was not shown, shows the button that was not hidden
    EXPECT_FALSE(tray->icnTray.Visible());
    EXPECT_TRUE(taskbarButton());

    app.minimize();  // on: to the tray
    on = false;
    iconPress(*tray);  // off: the icon stays
    EXPECT_FALSE(app.minimized());
    EXPECT_TRUE(tray->icnTray.Visible());

    on = true;  // the next minimise and restore with the option on set it right
    app.minimize();
    app.restore();
    EXPECT_FALSE(tray->icnTray.Visible());
    EXPECT_TRUE(taskbarButton());
}

TEST_F(MainTrayTest, WithoutAnIconTheTaskbarButtonStays) {
    bool on = true;
    auto tray = trayMake(&on, nullptr);  // the stand-in main window and this program have no icon
    app.minimize();
    EXPECT_FALSE(tray->icnTray.Visible());
    EXPECT_TRUE(taskbarButton());  // else nothing would be left to bring the window back
}

TEST_F(MainTrayTest, OnlyTheStoredTextOneCountsAsOn) {
    const std::string ini = iniFilePath();
    for (auto [stored, on] : {std::pair<const char*, bool>{nullptr, false}, {"0", false}, {"2", false},
                              {"true", false}, {"01", false}, {"1", true}}) {
        std::remove(ini.c_str());
        if (stored) WritePrivateProfileStringA("APP-CONFIG", "CONFIG-TRAYICON", stored, ini.c_str());
        auto tray = trayMake(nullptr);
        app.minimize();
        EXPECT_EQ(tray->icnTray.Visible(), on) << (stored ? stored : "(absent)");
        EXPECT_EQ(taskbarButton(), !on);
        app.restore();
        EXPECT_FALSE(tray->icnTray.Visible());
        EXPECT_TRUE(taskbarButton());
    }
    std::remove(ini.c_str());
}
