// The tray icon's pop-up menu and the conversion of an icon into a menu item picture.
#include "tray/TrayPopupMenu.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "tray/TTrayIcon.h"

namespace {

win::UniqueBitmap dibCreate(int size, std::uint32_t** bits) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    win::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    *bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

}  // namespace

// The icon is drawn once on black and once on white: where the two differ the icon is transparent, so
// alpha = 255 - (white - black), and the black drawing is already premultiplied. This works for icons
// with a mask as well as for icons with their own alpha channel.
win::UniqueBitmap menuPictureFromIcon(HICON icon) {
    if (icon == nullptr) return nullptr;
    const int size = GetSystemMetrics(SM_CXSMICON) > 0 ? GetSystemMetrics(SM_CXSMICON) : 16;
    win::MemoryDC dc;
    if (!dc) return nullptr;
    std::uint32_t* onBlack = nullptr;
    std::uint32_t* onWhite = nullptr;
    win::UniqueBitmap black = dibCreate(size, &onBlack);
    const win::UniqueBitmap white = dibCreate(size, &onWhite);
    if (!black || !white) return nullptr;
    const std::size_t count = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    std::fill(onBlack, onBlack + count, 0x00000000u);
    std::fill(onWhite, onWhite + count, 0x00FFFFFFu);
    {
        win::SelectGuard select(dc.get(), black.get());
        DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    {
        win::SelectGuard select(dc.get(), white.get());
        DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t b = onBlack[i], w = onWhite[i];
        int green = static_cast<int>((w >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
        unsigned alpha = static_cast<unsigned>(255 - (green < 0 ? 0 : green > 255 ? 255 : green));
        onBlack[i] = (b & 0x00FFFFFFu) | (alpha << 24);
    }
    return black;
}

TrayPopupMenu::TrayPopupMenu() : menu_(CreatePopupMenu()) {}

TrayPopupMenu::~TrayPopupMenu() { TTrayIcon::popupMenuDestroyed(this); }

unsigned TrayPopupMenu::addItem(const std::string& caption, std::function<void()> onClick, HICON picture) {
    unsigned command = nextCommand_++;
    win::UniqueBitmap bitmap = menuPictureFromIcon(picture);
    MENUITEMINFOA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | (bitmap ? MIIM_BITMAP : 0u);
    info.fType = MFT_STRING;
    info.wID = command;
    std::string text = caption;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    info.hbmpItem = bitmap.get();
    InsertMenuItemA(menu_.get(), static_cast<UINT>(GetMenuItemCount(menu_.get())), TRUE, &info);
    items_.push_back(Item{command, std::move(onClick), std::move(bitmap)});
    return command;
}

void TrayPopupMenu::addSeparator() { AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr); }

unsigned TrayPopupMenu::popup(HWND owner, int x, int y) {
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_BOTTOMALIGN;
    unsigned command = static_cast<unsigned>(TrackPopupMenuEx(menu_.get(), flags, x, y, owner, nullptr));
    // Without a message to the owner after the menu, a menu opened from the notification area may not close
    // when the user clicks elsewhere the next time.
    PostMessageA(owner, WM_NULL, 0, 0);
    if (command != 0) commandRun(command);
    return command;
}

bool TrayPopupMenu::commandRun(unsigned command) {
    for (const Item& item : items_) {
        if (item.command != command) continue;
        if (item.onClick) {
            auto handler = item.onClick;  // the handler may change the menu
            handler();
        }
        return true;
    }
    return false;
}
