// List boxes, pictures and pop-up menus of the maintenance windows.
#include "dialogs/MaintenanceControls.h"

#include "forms/Fonts.h"
#include "forms/MessageBoxes.h"

namespace maintenance {

int listCount(HWND list) { return static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)); }

int listSelection(HWND list) { return static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0)); }

std::string listText(HWND list, int index) {
    const LRESULT n = ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR) return {};
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const LRESULT got =
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return s;
}

bool listSelectExact(HWND list, const std::string& name) {
    win::RedrawSuspender suspended(list);
    bool found = false;
    const int count = listCount(list);
    for (int i = 0; i < count; ++i) {
        if (listText(list, i) != name) continue;
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        found = true;
    }
    return found;
}

HICON iconLoad(int id, int size) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    const DWORD bytes = found ? ::SizeofResource(module, found) : 0;
    // ICONDIR: reserved, type, count (16 bits each); then 16-byte entries ending in the image's size and offset.
    if (!data || bytes < 6) return nullptr;
    const int count = data[4] | data[5] << 8;
    auto dword = [&](std::size_t at) {
        return static_cast<DWORD>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
                                  static_cast<DWORD>(data[at + 3]) << 24);
    };
    int chosen = -1;
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= static_cast<int>(bytes); ++i) {
        const int width = data[6 + 16 * i] ? data[6 + 16 * i] : 256;
        if (chosen < 0 || width == size) chosen = i;
        if (width == size) break;
    }
    if (chosen < 0) return nullptr;
    const DWORD imageBytes = dword(6 + 16 * chosen + 8), offset = dword(6 + 16 * chosen + 12);
    if (offset > bytes || imageBytes > bytes - offset) return nullptr;
    return ::CreateIconFromResourceEx(const_cast<BYTE*>(data + offset), imageBytes, TRUE, 0x00030000, size, size,
                                      LR_DEFAULTCOLOR);
}

void WindowPictures::apply(HWND window, int windowIconId, std::initializer_list<std::pair<HWND, int>> buttonIcons) {
    big_.reset(iconLoad(windowIconId, ::GetSystemMetrics(SM_CXICON)));
    small_.reset(iconLoad(windowIconId, ::GetSystemMetrics(SM_CXSMICON)));
    ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.get()));
    ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.get()));
    buttons_.clear();
    for (const auto& [button, iconId] : buttonIcons) {
        buttons_.emplace_back(iconLoad(iconId, forms::scaled(16)));
        ::SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(buttons_.back().get()));
    }
}

void popupItemAppend(HMENU menu, int id, const char* caption, HBITMAP picture) {
    ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), caption);
    if (!picture) return;
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = picture;
    ::SetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &item);
}

void listPopupShow(HWND list, HMENU menu, HWND owner, LPARAM screenPoint) {
    POINT pt{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) {  // from the keyboard: at the selected entry, or the list's corner
        RECT r{};
        const int index = listSelection(list);
        if (index < 0 ||
            ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            ::GetClientRect(list, &r);
        pt = {r.left + 4, r.bottom};
        ::ClientToScreen(list, &pt);
    }
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr);
}

bool listPressed(HWND form, HWND list, WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) != WM_LBUTTONDOWN || !::IsWindowEnabled(list)) return false;
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ::MapWindowPoints(form, nullptr, &pt, 1);
    return ::WindowFromPoint(pt) == list;
}

bool nameHazardRefused(const std::string& name, NameKind kind) {
    const char* refusal = nameHazardMessage(nameFaultsFind(name, kind));
    if (refusal) forms::plainMessage(refusal);
    return refusal != nullptr;
}

}  // namespace maintenance
