// TTrayIcon: one icon with its tip in the notification area, its pop-up menus and mouse events. All icons of
// the process report to one hidden callback window; an error raised inside it by an event handler or an
// operation goes through the exception fence (win::fenced) to the application's error hook.
#pragma once

#include <windows.h>
#include <commctrl.h>


#include "tray/NotifyShell32.h"
#include "tray/TrayIconCore.h"
#include "win/WinHandles.h"

class TrayPopupMenu;

class TTrayIcon : public TrayIconCore {
public:
    // `ownerForm` may be nullptr; the first instance makes the callback window, a hidden window owned by its
    // owner form (unowned without one). Throws ENotifyIconError when 100 instances exist.
    explicit TTrayIcon(HWND ownerForm, tray::NotifyShell& shell = tray::systemNotifyShell());
    ~TTrayIcon() override;

    HWND ownerForm() const noexcept { return owner_; }

    // The icon shown; the component keeps its own copy. nullptr: the owner form's icon, else the
    // application's (the first icon group of the executable).
    HICON Icon() const noexcept { return icon_.get(); }
    void setIcon(HICON icon);

    TrayPopupMenu* LBPopupMenu() const noexcept { return lbMenu_; }
    void setLBPopupMenu(TrayPopupMenu* menu) noexcept { lbMenu_ = menu; }
    TrayPopupMenu* RBPopupMenu() const noexcept { return rbMenu_; }
    void setRBPopupMenu(TrayPopupMenu* menu) noexcept { rbMenu_ = menu; }

    // Images of the animation; the caller keeps the image list alive while it is set. Ignored while an
    // animation runs.
    HIMAGELIST AnimateIcons() const noexcept { return animateIcons_; }
    void setAnimateIcons(HIMAGELIST images) noexcept;
    void setAnimateRate(int ms);  // at least 10; a running animation takes the new rate at once
    // Cycles the images of AnimateIcons every AnimateRate ms; nothing happens without images.
    void StartAnimation();
    void StopAnimation();  // back to the icon

    // The window that receives the notifications of every icon of the process; nullptr before the first.
    static HWND callbackWindow() noexcept;

    // A pop-up menu that is destroyed is cleared from every icon that names it.
    static void popupMenuDestroyed(const TrayPopupMenu* menu) noexcept;

    // Message the single-click worker posts to the callback window when its wait is over.
    static constexpr UINT kClickWaitDoneMessage = WM_APP + 0x3A1;

protected:
    std::uintptr_t callbackWindowHandle() override;
    std::uintptr_t iconHandle() override;
    bool popupMenuAssigned(TMouseButton button) const override;
    void popupMenuShow(TMouseButton button, int x, int y) override;
    void cursorPosRead(int& x, int& y) override;
    void activeFormToForeground() override;
    unsigned doubleClickTime() override;
    void clickWaitStart(unsigned delayMs, unsigned token) override;

private:
    friend struct TrayCallbackWindow;
    void animationStep();

    HWND owner_;
    win::UniqueIcon icon_;  // the component's own copy
    TrayPopupMenu* lbMenu_ = nullptr;
    TrayPopupMenu* rbMenu_ = nullptr;
    HIMAGELIST animateIcons_ = nullptr;
    int frame_ = 0;
    win::UniqueIcon frameIcon_;  // the current animation image
};
