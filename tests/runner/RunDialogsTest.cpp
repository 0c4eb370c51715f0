// The command test, SDI notice and version windows, on real windows under Wine; the command test against
// the AutoCAD stand-in.
#include <gtest/gtest.h>

#include "StandinRecording.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAcadTest.h"
#include "dialogs/frmSDIExp.h"
#include "forms/Application.h"
#include "runner/ScriptRun.h"

namespace {

using Strings = std::vector<std::string>;

// The program's first form becomes the main form; the dialogs are owned by it, as in the program.
class MainStandIn : public Form {
public:
    MainStandIn() : Form(kSpec, kControls) {}

private:
    static constexpr FormLayout kSpec{"main", 200, 100, WS_OVERLAPPEDWINDOW};
    static constexpr ControlLayout kControls[] = {{1, ControlKind::Label, "", 0, 0, 10, 10}};
};

struct Windows {
    Windows() {
        forms::Application::instance().initialize(::GetModuleHandleA(nullptr));
        main.create();
        acadTest.create();
        sdiExp.create();
        about.create();
    }
    MainStandIn main;
    TdspAcadTest acadTest;
    TdspSDIExp sdiExp;
    TdspAbout about;
};

Windows& windows() {
    static Windows w;
    return w;
}

void post(HWND window, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { ASSERT_TRUE(::PostMessageA(window, msg, wp, lp)); }

// A click on a control as the control itself reports it.
void postClick(Form& form, int id, int code = BN_CLICKED) {
    post(form.handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(form.control(id)));
}

std::string windowText(HWND h) {
    char buffer[256] = {};
    ::GetWindowTextA(h, buffer, sizeof buffer);
    return buffer;
}

}  // namespace

TEST(TdspAcadTest, ShowsZoomEAtEveryShowingAndSendsTypedTextWithACarriageReturn) {
    TdspAcadTest& dlg = windows().acadTest;
    EXPECT_EQ(windowText(dlg.handle()), "AutoCADコマンド送信テスト");
    // AutoCAD started after the window was created is still reached: every send looks it up.
    StandinRecording acad;

    // Shown: the field holds "zoom e"; the button sends it and empties the field.
    postClick(dlg, TdspAcadTest::kBtnSendCommand);
    post(dlg.handle(), WM_CLOSE);
    dlg.showModal();
    EXPECT_EQ(dlg.text(TdspAcadTest::kEdtSendCommand), "");

    // Typed text, then shown again: "zoom e" is back whatever was typed before.
    dlg.setText(TdspAcadTest::kEdtSendCommand, "line");
    post(dlg.handle(), WM_CLOSE);
    dlg.showModal();
    EXPECT_EQ(dlg.text(TdspAcadTest::kEdtSendCommand), "zoom e");

    // Untrimmed text as typed, and the empty field (a carriage return alone).
    dlg.setText(TdspAcadTest::kEdtSendCommand, " -layer s \x8C\x9A\x95\xA8 ");  // 建物
    dlg.btnSendCommandClick();
    dlg.btnSendCommandClick();
    EXPECT_EQ(acad.received(), (Strings{std::string("zoom e\r\0", 8), std::string(" -layer s \x8C\x9A\x95\xA8 \r\0", 17),
                                       std::string("\r\0", 2)}));
}

TEST(TdspAcadTest, EnterSendsLikeTheButtonAndNeverReachesTheField) {
    TdspAcadTest& dlg = windows().acadTest;
    StandinRecording acad;
    HWND edit = dlg.control(TdspAcadTest::kEdtSendCommand);
    post(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    post(edit, WM_CHAR, '\r', 0x001C0001);  // what TranslateMessage would make of it
    post(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    post(dlg.handle(), WM_CLOSE);
    dlg.showModal();
    EXPECT_EQ(dlg.text(TdspAcadTest::kEdtSendCommand), "");
    EXPECT_EQ(acad.received(), Strings{std::string("zoom e\r\0", 8)});
}

TEST(TdspAcadTest, CancelSendsTwoEtxAndLeavesTheField) {
    TdspAcadTest& dlg = windows().acadTest;
    StandinRecording acad;
    postClick(dlg, TdspAcadTest::kBtnSendCancel);
    postClick(dlg, TdspAcadTest::kBtnClose);
    dlg.showModal();
    EXPECT_EQ(dlg.text(TdspAcadTest::kEdtSendCommand), "zoom e");
    EXPECT_EQ(acad.received(), Strings{std::string("\x03\x03\0", 3)});
}

TEST(TdspSDIExp, IsTheBatchRunsNoticeWithItsPictureAndFourLines) {
    TdspSDIExp& dlg = windows().sdiExp;
    EXPECT_EQ(windowText(dlg.handle()), "SDIモードへの変更について");
    EXPECT_NE(::SendMessageA(dlg.control(TdspSDIExp::kImgOptions), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(dlg.text(TdspSDIExp::kLabel4), "その時には一度AutoCADを再起動後、再設定してください。");
    // The batch run's notice is this window, shown modally; 閉じる closes it.
    postClick(dlg, TdspSDIExp::kBtnClose);
    runPrompts().sdiNotice(windows().main.handle());
    EXPECT_FALSE(dlg.visible());
}

TEST(TdspAbout, LinksOpenTheHomePageAndAMailToTheMaker) {
    TdspAbout& dlg = windows().about;
    EXPECT_EQ(windowText(dlg.handle()), "バージョン情報");
    EXPECT_EQ(dlg.text(TdspAbout::kLblVersion), "カノピア ver 1.00");
    EXPECT_EQ(dlg.text(TdspAbout::kLblURL), "https://canopia.jp/");
    EXPECT_NE(::SendMessageA(dlg.control(TdspAbout::kImgBanner), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    Strings opened;
    auto saved = dlg.shellOpen;
    dlg.shellOpen = [&opened](HWND, const std::string& target) { opened.push_back(target); };
    postClick(dlg, TdspAbout::kLblURL, STN_CLICKED);
    postClick(dlg, TdspAbout::kLblEMail, STN_CLICKED);
    postClick(dlg, TdspAbout::kBtnOk);
    dlg.showModal();
    dlg.shellOpen = saved;
    EXPECT_EQ(opened, (Strings{"https://canopia.jp/", "mailto:support@canopia.jp"}));
    EXPECT_FALSE(dlg.visible());
}
