// The version window: banner, program picture, version, and the maker's web and mail links.
#pragma once

#include "forms/Form.h"
#include "win/WinHandles.h"

class TdspAbout : public Form {
public:
    using Form::handle;  // the window handle, not hidden by the message handler below
    TdspAbout();

    enum : int {
        kImgBanner = 1300, kImgProgram, kLblVersion, kLblNotice, kBevel, kLabel5, kLblURL, kLabel6, kLblEMail, kBtnOk
    };

    // The maker's addresses.
    static constexpr const char* kHomePage = "https://canopia.jp/";
    static constexpr const char* kMailAddress = "support@canopia.jp";

    // The home page, or a new mail to the maker, opened with the shell; its result is not looked at.
    void lblURLClick();
    void lblEMailClick();
    void btnOkClick();

    // How the links are opened: ShellExecuteA with "open" unless replaced (tests record instead).
    std::function<void(HWND owner, const std::string& target)> shellOpen;

protected:
    void FormCreate() override;
    void command(int id, int code, HWND control) override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool isLink(HWND control) const;

    win::UniqueBitmap banner_;
    win::UniqueBitmap program_;
    win::UniqueFont linkFont_;
};
