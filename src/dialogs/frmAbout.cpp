// The version window: a white band with the banner and the version, then the maker's links.
#include "dialogs/frmAbout.h"

#include <shellapi.h>

#include "forms/Application.h"
#include "forms/Fonts.h"
#include "resources/run_dialogs/RunDialogResources.h"

namespace {

const FormLayout kForm{"バージョン情報", 344, 239};

constexpr int kBandHeight = 121;  // the white band at the top, in layout pixels
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

const ControlLayout kControls[] = {
    {TdspAbout::kImgBanner, ControlKind::Custom, "", 22, 8, 300, 64, Anchor::LeftTop, -1, SS_BITMAP},
    {TdspAbout::kImgProgram, ControlKind::Custom, "", 40, 76, 40, 40, Anchor::LeftTop, -1, SS_BITMAP},
    {TdspAbout::kLblVersion, ControlKind::Label, "カノピア ver 1.00", 92, 80, 236, 14},
    {TdspAbout::kLblNotice, ControlKind::Label, "Copyright (C) 2026 Canopia", 92, 98, 244, 14},
    {TdspAbout::kBevel, ControlKind::Bevel, "", 0, kBandHeight, 344, 2},
    {TdspAbout::kLabel5, ControlKind::Label, "WebSite：", 40, 140, 64, 14},
    {TdspAbout::kLblURL, ControlKind::Label, TdspAbout::kHomePage, 108, 140, 200, 14, Anchor::LeftTop, -1, SS_NOTIFY},
    {TdspAbout::kLabel6, ControlKind::Label, "E-Mail：", 40, 162, 64, 14},
    {TdspAbout::kLblEMail, ControlKind::Label, TdspAbout::kMailAddress, 108, 162, 200, 14, Anchor::LeftTop, -1,
     SS_NOTIFY},
    {TdspAbout::kBtnOk, ControlKind::DefaultButton, "OK", 134, 200, 75, 25, Anchor::LeftTop, 0},
};

}  // namespace

TdspAbout::TdspAbout() : Form(kForm, kControls) {
    shellOpen = [](HWND owner, const std::string& target) {
        ::ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
}

void TdspAbout::FormCreate() {
    onClick(kBtnOk, [this] { btnOkClick(); });
    onClick(IDOK, [this] { btnOkClick(); });      // Enter
    onClick(IDCANCEL, [this] { btnOkClick(); });  // Esc
    HINSTANCE instance = forms::Application::instance().hinstance();
    auto picture = [instance](int id) {
        return static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    };
    banner_.reset(picture(IDB_ABOUT_BANNER));
    program_.reset(picture(IDB_ABOUT_PROGRAM));
    if (banner_) ::SendMessageA(control(kImgBanner), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_.get()));
    if (program_) {
        ::SendMessageA(control(kImgProgram), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(program_.get()));
    }
    // The links: the window font, underlined.
    LOGFONTA lf{};
    if (::GetObjectA(forms::formFont(12), sizeof lf, &lf)) {
        lf.lfUnderline = TRUE;
        linkFont_.reset(::CreateFontIndirectA(&lf));
        for (int id : {kLblURL, kLblEMail}) {
            ::SendMessageA(control(id), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
        }
    }
}

void TdspAbout::lblURLClick() { shellOpen(hwnd_, kHomePage); }

void TdspAbout::lblEMailClick() { shellOpen(hwnd_, std::string("mailto:") + kMailAddress); }

void TdspAbout::btnOkClick() { close(); }

bool TdspAbout::isLink(HWND h) const { return h && (h == control(kLblURL) || h == control(kLblEMail)); }

void TdspAbout::command(int id, int code, HWND ctl) {
    // Labels report their clicks (SS_NOTIFY) as STN_CLICKED; the framework leaves labels alone.
    if (ctl && code == STN_CLICKED && id == kLblURL) {
        lblURLClick();
        return;
    }
    if (ctl && code == STN_CLICKED && id == kLblEMail) {
        lblEMailClick();
        return;
    }
    Form::command(id, code, ctl);
}

LRESULT TdspAbout::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: {
            // The face colour, and the white band behind the banner and the version lines.
            HDC dc = reinterpret_cast<HDC>(wp);
            RECT client{};
            ::GetClientRect(hwnd_, &client);
            ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
            RECT band = client;
            band.bottom = forms::scaled(kBandHeight);
            ::FillRect(dc, &band, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            return 1;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wp);
            HWND h = reinterpret_cast<HWND>(lp);
            RECT r{};
            ::GetWindowRect(h, &r);
            ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
            if (isLink(h)) ::SetTextColor(dc, kLinkColour);
            if (r.bottom <= forms::scaled(kBandHeight)) {
                ::SetBkColor(dc, RGB(255, 255, 255));
                return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
            }
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (isLink(reinterpret_cast<HWND>(wp))) {
                ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
                return TRUE;
            }
            break;
        default: break;
    }
    return Form::handle(msg, wp, lp);
}
