// The second part of a status bar.
#include "forms/StatusParts.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/Fonts.h"
#include "win/WinHandles.h"

namespace forms {

namespace {

constexpr int kNoticePadding = 12;  // around the text, in 96-DPI pixels

}  // namespace

void statusNoticeSet(HWND bar, const std::string& text, const char* widest) {
    if (text.empty()) {
        int parts[1] = {-1};
        ::SendMessageA(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
        return;
    }
    int textWidth = 0;
    {
        win::WindowDC dc(bar);
        win::SelectGuard select(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(bar, WM_GETFONT, 0, 0)));
        for (const std::string& t : {std::string(widest ? widest : ""), text}) {
            SIZE extent{};
            ::GetTextExtentPoint32A(dc.get(), t.c_str(), static_cast<int>(t.size()), &extent);
            textWidth = std::max(textWidth, static_cast<int>(extent.cx));
        }
    }
    // The status line keeps everything but the notice's width; the sizing grip lies in the last part.
    RECT client{};
    ::GetClientRect(bar, &client);
    const int width = textWidth + scaled(kNoticePadding) + ::GetSystemMetrics(SM_CXVSCROLL);
    int parts[2] = {std::max(0, static_cast<int>(client.right) - width), -1};
    ::SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    ::SendMessageA(bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace forms
