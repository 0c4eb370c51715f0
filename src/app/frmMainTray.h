// The main window's notification-area behaviour: with CONFIG-TRAYICON "1", a minimised application leaves
// the taskbar for the notification area and comes back from its icon or its menu.
//
// Wiring in TdspMain (FormCreate), with `app` the application object:
//     tray_ = std::make_unique<MainTray>(handle(), app.handle(), icon, imgIcon, [] { app.restore(); });
//     app.onMinimize = [this] { tray_->AppMinimize(); };   // after every minimise of the application
//     app.onRestore = [this] { tray_->AppRestore(); };     // after every restore, whatever caused it
// The icon leaves the notification area when the MainTray goes, or at the latest when the program ends.
// Errors of the icon (ENotifyIconError) leave AppMinimize/AppRestore as exceptions for the caller's fence;
// errors inside the icon's own callbacks go to the application-wide error box.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "tray/TTrayIcon.h"
#include "tray/TrayPopupMenu.h"

class MainTray {
public:
    // mainWindow: TdspMain's window (owner of the icon, brought to the front after a restore, closed by
    //   "終了(&X)"). applicationWindow: the hidden top-level window that carries the taskbar button.
    // icon: the program's icon (copied). imgIcon: the main image list; its image 7 pictures the first item.
    // applicationRestore: restores the application from its minimised state (and so calls AppRestore).
    // optionOn: reads CONFIG-TRAYICON afresh; the settings file's trayIconOptionOn unless a test replaces it.
    MainTray(HWND mainWindow, HWND applicationWindow, HICON icon, HIMAGELIST imgIcon,
             std::function<void()> applicationRestore, std::function<bool()> optionOn = nullptr);
    MainTray(const MainTray&) = delete;
    MainTray& operator=(const MainTray&) = delete;

    // With the option on: shows the icon, then hides the taskbar button.
    void AppMinimize();
    // With the option on: hides the icon, then shows the taskbar button again.
    void AppRestore();

    // A press on the icon: restores the application and brings the main window to the front.
    void icnTrayMouseDown(TTrayIcon::TMouseButton button, TTrayIcon::TShiftState shift, int x, int y);
    void mTrayFukkiClick();  // "表示状態を復帰(&A)": the same as a press on the icon
    void mTrayQuitClick();   // "終了(&X)": closes the main window through its normal close (WM_CLOSE)

    TrayPopupMenu mnuTray;  // declared before icnTray, which names it
    TTrayIcon icnTray;
    unsigned mTrayFukki = 0;  // command numbers of the two items in mnuTray
    unsigned mTrayQuit = 0;

private:
    HWND mainWindow_;
    HWND applicationWindow_;
    std::function<void()> applicationRestore_;
    std::function<bool()> optionOn_;
};
