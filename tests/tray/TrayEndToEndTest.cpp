// canopia.exe with the tray option, driven as a user would: minimise into the notification area, come back
// with a press on the icon, quit from the icon's menu; any stored text but "1" leaves the taskbar alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>

#include "Driver.h"
#include "TrayTestSupport.h"
#include "tray/TrayIconCore.h"

namespace {

using driver::Canopia;
using driver::ProgramFiles;

constexpr int kWait = 10000;

ProgramFiles trayOption(const char* value) {
    ProgramFiles files;
    files.ini = std::string("[APP-CONFIG]\r\nCONFIG-TRAYICON=") + value + "\r\n";
    files.folders = {"single_script", "batch_script"};
    return files;
}

// The hidden top-level window that carries the program's taskbar button.
HWND applicationWindow(DWORD processId) {
    for (HWND w : driver::topLevelWindows(processId, false))
        if (driver::className(w) == "CanopiaApplication") return w;
    return nullptr;
}

// A pop-up menu the program has open now.
HWND openMenu(DWORD processId) {
    for (HWND w : driver::topLevelWindows(processId, true))
        if (driver::className(w) == "#32768") return w;
    return nullptr;
}

void iconMessage(DWORD processId, UINT message) {
    HWND callback = nullptr;
    for (HWND w : driver::topLevelWindows(processId, false))
        if (driver::className(w) == "TCallbackWindow") callback = w;
    ASSERT_NE(callback, nullptr);
    PostMessageA(callback, tray::kCallbackMessage, 1, message);  // the program's one icon is number 1
}

std::string statusEntry(const std::string& ini, const std::string& key) {
    std::istringstream in(ini);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') inside = line == "[APP-STATUS]";
        else if (inside && line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "<absent>";
}

}  // namespace

TEST(TrayEndToEnd, MinimiseGoesToTheTrayAndAPressOrTheMenuComesBack) {
    Canopia canopia(trayOption("1"));
    HWND main = canopia.startAndWaitMain();
    ASSERT_NE(main, nullptr);
    HWND app = applicationWindow(canopia.processId());
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(trayWineIconCount(), 0);

    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(driver::waitFor([&] { return trayWineIconCount() == 1 && !IsWindowVisible(app); }, kWait));
    EXPECT_FALSE(IsWindowVisible(main));

    iconMessage(canopia.processId(), WM_LBUTTONDOWN);
    EXPECT_TRUE(driver::waitFor(
        [&] { return IsWindowVisible(main) && IsWindowVisible(app) && !IsIconic(app) && trayWineIconCount() == 0; },
        kWait));

    // Once more, and "終了(&X)" from the icon's menu: the program ends through the main window's close.
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(driver::waitFor([&] { return trayWineIconCount() == 1; }, kWait));
    iconMessage(canopia.processId(), WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(driver::waitFor([&] { return (menu = openMenu(canopia.processId())) != nullptr; }, kWait));
    EXPECT_FALSE(IsWindowVisible(main));  // the right button only opens the menu
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(menu, WM_KEYDOWN, key, 0);
    auto exitCode = canopia.waitExit(kWait);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(trayWineIconCount(), 0);

    // The window state was stored as closing stores it, with the normal bounds, not the minimised ones.
    auto ini = canopia.readFile("canopia.ini");
    ASSERT_TRUE(ini.has_value());
    EXPECT_EQ(statusEntry(*ini, "MAIN-LEFT"), "100");
    EXPECT_EQ(statusEntry(*ini, "MAIN-TOP"), "100");
    EXPECT_NE(statusEntry(*ini, "MAIN-ZUMENSTATUS"), "<absent>");
}

TEST(TrayEndToEnd, AnyOtherTextMinimisesAsUsual) {
    for (const char* value : {"2", "true"}) {
        Canopia canopia(trayOption(value));
        HWND main = canopia.startAndWaitMain();
        ASSERT_NE(main, nullptr) << value;
        HWND app = applicationWindow(canopia.processId());
        PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(driver::waitFor([&] { return IsIconic(app) != FALSE; }, kWait)) << value;
        Sleep(500);  // time for an icon that should not come
        EXPECT_TRUE(IsWindowVisible(app)) << value;  // the taskbar button stays
        EXPECT_EQ(trayWineIconCount(), 0) << value;
        PostMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(driver::waitFor([&] { return IsWindowVisible(main) != FALSE; }, kWait)) << value;
        EXPECT_TRUE(canopia.close(kWait).has_value()) << value;
    }
}
