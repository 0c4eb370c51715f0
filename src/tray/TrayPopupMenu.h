// A pop-up menu for the tray icon: captions with an optional picture, each with its click handler.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/WinHandles.h"

class TrayPopupMenu {
public:
    TrayPopupMenu();
    ~TrayPopupMenu();  // a tray icon that names this menu forgets it
    TrayPopupMenu(const TrayPopupMenu&) = delete;
    TrayPopupMenu& operator=(const TrayPopupMenu&) = delete;

    // Appends an item; the picture is copied (nullptr for none). Returns the item's command number.
    unsigned addItem(const std::string& caption, std::function<void()> onClick, HICON picture = nullptr);
    void addSeparator();

    HMENU handle() const noexcept { return menu_.get(); }
    std::size_t itemCount() const noexcept { return items_.size(); }

    // Shows the menu at the screen point for `owner` (which should be in the foreground) and runs the
    // chosen item's handler after the menu has closed. Returns the command chosen, 0 when none.
    unsigned popup(HWND owner, int x, int y);

    // Runs the handler of a command as a choice in the menu would; false for an unknown command.
    bool commandRun(unsigned command);

private:
    struct Item {
        unsigned command;
        std::function<void()> onClick;
        win::UniqueBitmap picture;  // shown by the menu item, so it goes with the menu
    };
    std::vector<Item> items_;
    win::UniqueMenu menu_;  // declared after the items, so the menu is destroyed before their pictures
    unsigned nextCommand_ = 1;
};

// A 32-bit bitmap with premultiplied alpha of an icon at the menu's picture size, for MENUITEMINFO's
// hbmpItem; empty when the icon cannot be drawn.
win::UniqueBitmap menuPictureFromIcon(HICON icon);
