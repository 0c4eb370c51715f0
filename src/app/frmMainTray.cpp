// The main window's notification-area behaviour: the tray icon, its menu and the minimise/restore hooks.
#include "app/frmMainTray.h"

#include <utility>

#include "library/Settings.h"
#include "win/WinHandles.h"

namespace {

constexpr int kFukkiImage = 7;  // index of the "restore" picture in the main image list

win::UniqueIcon imageListIcon(HIMAGELIST images, int index) {
    if (images == nullptr || ImageList_GetImageCount(images) <= index) return nullptr;
    return win::UniqueIcon(ImageList_GetIcon(images, index, ILD_TRANSPARENT));
}

}  // namespace

MainTray::MainTray(HWND mainWindow, HWND applicationWindow, HICON icon, HIMAGELIST imgIcon,
                   std::function<void()> applicationRestore, std::function<bool()> optionOn)
    : icnTray(mainWindow),
      mainWindow_(mainWindow),
      applicationWindow_(applicationWindow),
      applicationRestore_(std::move(applicationRestore)),
      optionOn_(optionOn ? std::move(optionOn) : std::function<bool()>(trayIconOptionOn)) {
    // The menu keeps its own picture of the icon.
    const win::UniqueIcon picture = imageListIcon(imgIcon, kFukkiImage);
    mTrayFukki = mnuTray.addItem("表示状態を復帰(&A)", [this] { mTrayFukkiClick(); }, picture.get());
    mTrayQuit = mnuTray.addItem("終了(&X)", [this] { mTrayQuitClick(); });

    icnTray.setIcon(icon);
    icnTray.setTipHelp("カノピアが待機中です...");
    icnTray.setRBPopupMenu(&mnuTray);
    icnTray.setBalloonIcon(biifNone);
    icnTray.OnMouseDown = [this](TrayIconCore&, TTrayIcon::TMouseButton button, TTrayIcon::TShiftState shift,
                                 int x, int y) { icnTrayMouseDown(button, shift, x, y); };
}

// The option is read at every minimise and every restore, so a change in between leaves the two out of
// step: the icon or the taskbar button may stay as the other moment left it.
void MainTray::AppMinimize() {
    if (!optionOn_()) return;
    icnTray.setVisible(true);
    // Without any icon to show, hiding the button would leave nothing to bring the window back with.
    if (icnTray.Visible()) ShowWindow(applicationWindow_, SW_HIDE);
}

void MainTray::AppRestore() {
    if (!optionOn_()) return;
    icnTray.setVisible(false);
    ShowWindow(applicationWindow_, SW_SHOW);
}

void MainTray::icnTrayMouseDown(TTrayIcon::TMouseButton, TTrayIcon::TShiftState, int, int) {
    if (applicationRestore_) applicationRestore_();
    SetForegroundWindow(mainWindow_);
}

void MainTray::mTrayFukkiClick() {
    if (applicationRestore_) applicationRestore_();
    SetForegroundWindow(mainWindow_);
}

// Posted, not sent: the menu's handler runs inside the icon's callback, and the close ends the program.
void MainTray::mTrayQuitClick() { PostMessageA(mainWindow_, WM_CLOSE, 0, 0); }
