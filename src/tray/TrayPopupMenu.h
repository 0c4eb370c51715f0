// A pop-up menu for the tray icon: captions with an optional picture, each with its click handler.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TrayPopupMenu {
public:
    TrayPopupMenu();
    ~TrayPopupMenu();  // a tray icon that names this menu forgets it
    TrayPopupMenu(const TrayPopupMenu&) = delete;
    TrayPopupMenu& operator=(const TrayPopupMenu&) = delete;

    // Appends an item; the picture is copied (nullptr for none). Returns the item's command number.
    unsigned addItem(const std::string& caption, std::function<void()> onClick, HICON picture = nullptr);
    void addSeparator();

    HMENU handle() const noexcept { return menu_; }
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
        HBITMAP picture;
    };
    HMENU menu_ = nullptr;
    std::vector<Item> items_;
    unsigned nextCommand_ = 1;
};

// A 32-bit bitmap with premultiplied alpha of an icon at the menu's picture size, for MENUITEMINFO's
// hbmpItem. The caller deletes it; nullptr when the icon cannot be drawn.
HBITMAP menuPictureFromIcon(HICON icon);
