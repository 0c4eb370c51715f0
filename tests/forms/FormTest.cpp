// The form framework in-process under Wine: layout, limits, tab order, keys, radio groups, modal showing,
// menus and the exception fence.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "Driver.h"
#include "core/AppError.h"
#include "forms/Application.h"
#include "forms/Fonts.h"
#include "forms/Form.h"
#include "forms/MessageBoxes.h"
#include "win/WinHandles.h"

namespace {

enum : int {
    kEdit = 101,
    kOk = 102,
    kApply = 103,
    kList = 104,
    kRadioA = 105,
    kRadioB = 106,
    kBottomRight = 107,
    kWide = 108,
    kThrow = 109,
    kLabel = 110,
    kMenuOn = 111,
    kMenuOff = 112,
};

const ControlLayout kControls[] = {
    {kLabel, ControlKind::Label, "名前：", 8, 12, 40, 12},
    {kEdit, ControlKind::Edit, "", 50, 8, 150, 20, Anchor::Left | Anchor::Top | Anchor::Right, 0, 0, 0, kApply},
    {kList, ControlKind::ListBox, "", 8, 34, 192, 80, Anchor::All, 3, LBS_SORT, 13, 0, ControlFlag::None, 13},
    {kRadioA, ControlKind::RadioButton, "現在の図面", 8, 120, 90, 17, Anchor::LeftTop, 1},
    {kRadioB, ControlKind::RadioButton, "複数ファイル", 100, 120, 90, 17, Anchor::LeftTop, 2},
    {kWide, ControlKind::Button, "wide", 8, 140, 100, 23, Anchor::Left | Anchor::Right | Anchor::Bottom, 4},
    {kApply, ControlKind::Button, "適用", 120, 140, 40, 23, Anchor::Right | Anchor::Bottom, 5},
    {kOk, ControlKind::DefaultButton, "OK", 162, 140, 40, 23, Anchor::Right | Anchor::Bottom, 6},
    {kThrow, ControlKind::Button, "throw", 8, 166, 40, 20, Anchor::LeftTop, 7},
    {kBottomRight, ControlKind::Label, "x", 180, 170, 20, 12, Anchor::Right | Anchor::Bottom},
};

class TestForm : public Form {
public:
    TestForm()
        : Form(FormLayout{"テスト", 210, 190, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, 250, 250, 500,
                        600, 12, FormPosition::Designed},
               kControls) {}
    int okClicks = 0, applyClicks = 0, radioAClicks = 0, radioBClicks = 0, menuOnClicks = 0, menuOffClicks = 0;
    int shows = 0, closes = 0;
    bool allowClose = true;
    HMENU testMenu = nullptr;

protected:
    void FormCreate() override {
        onClick(kOk, [this] { ++okClicks; });
        onClick(kApply, [this] { ++applyClicks; });
        onClick(kRadioA, [this] { ++radioAClicks; });
        onClick(kRadioB, [this] { ++radioBClicks; });
        onClick(kThrow, [] { throw AppError("設定ファイルに書き込めません"); });
        onClick(kMenuOn, [this] { ++menuOnClicks; });
        onClick(kMenuOff, [this] { ++menuOffClicks; });
        testMenu = ::CreateMenu();
        HMENU pop = ::CreatePopupMenu();
        ::AppendMenuA(pop, MF_STRING, kMenuOn, "on");
        ::AppendMenuA(pop, MF_STRING | MF_GRAYED, kMenuOff, "off");
        ::AppendMenuA(testMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(pop), "menu");
        setMenu(testMenu);
    }
    void FormShow() override { ++shows; }
    bool FormCloseQuery() override { return allowClose; }
    void FormClose() override { ++closes; }
};

class Dialog : public Form {
public:
    Dialog() : Form(FormLayout{"ダイアログ", 200, 80}, kDialogControls) {}
    static const ControlLayout kDialogControls[2];

protected:
    void FormCreate() override { onClick(kOk, [this] { setModalResult(ModalResult::Ok); }); }
};
const ControlLayout Dialog::kDialogControls[2] = {
    {kEdit, ControlKind::Edit, "", 8, 8, 180, 20, Anchor::LeftTop, 0},
    {kOk, ControlKind::DefaultButton, "OK", 120, 40, 70, 23, Anchor::LeftTop, 1},
};

void pump(int ms = 50) {
    auto& app = forms::Application::instance();
    const DWORD start = ::GetTickCount();
    MSG msg;
    do {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) app.processMessage(msg);
        ::Sleep(5);
    } while (static_cast<int>(::GetTickCount() - start) < ms);
}

RECT childRect(HWND parent, HWND child) {
    RECT r = driver::windowRect(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class FormFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        forms::Application::instance().initialize(::GetModuleHandleA(nullptr));
        form = new TestForm();
        form->create();
        dialog = new Dialog();
        dialog->create();
        form->setBounds(100, 100, 300, 300);
        ::ShowWindow(form->handle(), SW_SHOW);
        pump();
    }
    TestForm& f() { return *form; }
    static TestForm* form;
    static Dialog* dialog;
};
TestForm* FormFixture::form = nullptr;
Dialog* FormFixture::dialog = nullptr;

TEST_F(FormFixture, AnchoredControlsFollowTheEdgesTheyAreTiedTo) {
    f().setBounds(100, 100, 300, 300);
    pump();
    HWND h = f().handle();
    const RECT list0 = childRect(h, f().control(kList)), apply0 = childRect(h, f().control(kApply));
    const RECT wide0 = childRect(h, f().control(kWide)), label0 = childRect(h, f().control(kLabel));
    f().setBounds(100, 100, 350, 340);
    pump();
    const RECT list1 = childRect(h, f().control(kList)), apply1 = childRect(h, f().control(kApply));
    const RECT wide1 = childRect(h, f().control(kWide)), label1 = childRect(h, f().control(kLabel));
    // All four: grows both ways.
    EXPECT_EQ(list1.left, list0.left);
    EXPECT_EQ(list1.top, list0.top);
    EXPECT_EQ(list1.right - list0.right, 50);
    EXPECT_EQ(list1.bottom - list0.bottom, 40);
    // Right and bottom: moves, keeps its size.
    EXPECT_EQ(apply1.left - apply0.left, 50);
    EXPECT_EQ(apply1.top - apply0.top, 40);
    EXPECT_EQ(apply1.right - apply1.left, apply0.right - apply0.left);
    // Left, right and bottom: widens and moves down.
    EXPECT_EQ(wide1.left, wide0.left);
    EXPECT_EQ(wide1.right - wide0.right, 50);
    EXPECT_EQ(wide1.top - wide0.top, 40);
    // Left and top: stays.
    EXPECT_EQ(label1.left, label0.left);
    EXPECT_EQ(label1.top, label0.top);
}

TEST_F(FormFixture, ControlsSitAtTheirLayoutBoundsAtTheDesignSize) {
    HWND h = f().handle();
    RECT client{};
    ::GetClientRect(h, &client);
    const int dx = client.right - forms::scaled(210), dy = client.bottom - forms::scaled(190);
    const RECT label = childRect(h, f().control(kLabel));
    EXPECT_EQ(label.left, forms::scaled(8));
    EXPECT_EQ(label.top, forms::scaled(12));
    EXPECT_EQ(label.right - label.left, forms::scaled(40));
    const RECT apply = childRect(h, f().control(kApply));
    EXPECT_EQ(apply.left, forms::scaled(120) + dx);
    EXPECT_EQ(apply.top, forms::scaled(140) + dy);
    EXPECT_EQ(apply.bottom - apply.top, forms::scaled(23));
}

TEST_F(FormFixture, SizeGoesThroughTheFormsOwnLimits) {
    f().setBounds(50, 60, 100, 100);
    RECT r = f().bounds();
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, forms::scaled(250));
    EXPECT_EQ(r.bottom - r.top, forms::scaled(250));
    f().setBounds(50, 60, 2000, 2000);
    r = f().bounds();
    EXPECT_EQ(r.right - r.left, forms::scaled(500));
    EXPECT_EQ(r.bottom - r.top, forms::scaled(600));
    // A size from outside the framework is held to the limits by the window manager's size request too.
    ::MoveWindow(f().handle(), 50, 60, 120, 900, TRUE);
    r = f().bounds();
    EXPECT_EQ(r.right - r.left, forms::scaled(250));
    EXPECT_EQ(r.bottom - r.top, forms::scaled(600));
    f().setBounds(100, 100, 300, 300);
}

TEST_F(FormFixture, TabOrderFollowsTheTableNotTheCreationOrder) {
    HWND h = f().handle();
    std::vector<HWND> order;
    HWND c = ::GetNextDlgTabItem(h, nullptr, FALSE);
    for (int i = 0; i < 9 && c; ++i) {
        order.push_back(c);
        c = ::GetNextDlgTabItem(h, c, FALSE);
    }
    const std::vector<HWND> want = {f().control(kEdit),  f().control(kRadioA), f().control(kRadioB), f().control(kList),
                                    f().control(kWide),  f().control(kApply),  f().control(kOk),
                                    f().control(kThrow), f().control(kEdit)};
    EXPECT_EQ(order, want);
}

TEST_F(FormFixture, EnterInANameFieldRunsItsButtonOnlyAndIsSwallowed) {
    f().okClicks = f().applyClicks = 0;
    ::SetForegroundWindow(f().handle());
    ::SetFocus(f().control(kEdit));
    ::SetWindowTextA(f().control(kEdit), "abc");
    ::PostMessageA(f().control(kEdit), WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_EQ(f().applyClicks, 1);
    EXPECT_EQ(f().okClicks, 0);  // the default button does not run as well
    EXPECT_EQ(f().text(kEdit), "abc");
    // A disabled confirming button does not run.
    f().setEnabled(kApply, false);
    ::PostMessageA(f().control(kEdit), WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_EQ(f().applyClicks, 1);
    f().setEnabled(kApply, true);
}

TEST_F(FormFixture, RadioButtonRunsItsHandlerOnlyWhenItBecomesChecked) {
    f().setChecked(kRadioA, true);  // set by the program: no handler
    f().setChecked(kRadioB, false);
    f().radioAClicks = f().radioBClicks = 0;
    ::SendMessageA(f().control(kRadioA), BM_CLICK, 0, 0);
    pump();
    EXPECT_EQ(f().radioAClicks, 0);  // already checked: nothing happens
    ::SendMessageA(f().control(kRadioB), BM_CLICK, 0, 0);
    pump();
    EXPECT_EQ(f().radioBClicks, 1);
    EXPECT_TRUE(f().checked(kRadioB));
    EXPECT_FALSE(f().checked(kRadioA));
    ::SendMessageA(f().control(kRadioB), BM_CLICK, 0, 0);
    pump();
    EXPECT_EQ(f().radioBClicks, 1);
}

TEST_F(FormFixture, DisabledMenuItemsRunNothingEvenWhenTheirCommandArrives) {
    f().menuOnClicks = f().menuOffClicks = 0;
    driver::menuCommand(f().handle(), kMenuOn);
    driver::menuCommand(f().handle(), kMenuOff);
    pump();
    EXPECT_EQ(f().menuOnClicks, 1);
    EXPECT_EQ(f().menuOffClicks, 0);
}

TEST_F(FormFixture, ModalFormDisablesTheOthersAndIsHiddenNotDestroyedOnClose) {
    const DWORD pid = ::GetCurrentProcessId();
    auto watcher = std::async(std::launch::async, [&] {
        HWND dlg = driver::waitTopLevel(pid, "CanopiaForm", "ダイアログ");
        const bool mainDisabled = dlg && !::IsWindowEnabled(f().handle());
        if (dlg) ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(kOk, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, kOk)));
        return mainDisabled;
    });
    ::SetWindowTextA(dialog->control(kEdit), "kept");
    const ModalResult result = dialog->showModal();
    EXPECT_TRUE(watcher.get());
    EXPECT_EQ(result, ModalResult::Ok);
    EXPECT_TRUE(::IsWindow(dialog->handle()));
    EXPECT_FALSE(::IsWindowVisible(dialog->handle()));
    EXPECT_TRUE(::IsWindowEnabled(f().handle()));
    EXPECT_EQ(dialog->text(kEdit), "kept");

    // The close box gives ModalResult::Cancel.
    auto closer = std::async(std::launch::async, [&] {
        HWND dlg = driver::waitTopLevel(pid, "CanopiaForm", "ダイアログ");
        if (dlg) driver::closeWindow(dlg);
    });
    EXPECT_EQ(dialog->showModal(), ModalResult::Cancel);
    closer.get();
}

TEST_F(FormFixture, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
    const DWORD pid = ::GetCurrentProcessId();
    auto answer = std::async(std::launch::async, [&] {
        auto box = driver::waitMessageBox(pid);
        if (box) driver::answerMessageBox(box->hwnd, IDOK);
        return box;
    });
    ::SendMessageA(f().control(kThrow), BM_CLICK, 0, 0);
    auto box = answer.get();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "カノピア");
    EXPECT_EQ(box->text, "設定ファイルに書き込めません.");
    EXPECT_TRUE(::IsWindow(f().handle()));
    f().okClicks = 0;
    ::SendMessageA(f().control(kOk), BM_CLICK, 0, 0);
    EXPECT_EQ(f().okClicks, 1);
}

TEST_F(FormFixture, MessageBoxesCarryTheirCaptionsAndTheCurrentWindowAsOwner) {
    const DWORD pid = ::GetCurrentProcessId();
    struct Want {
        std::function<void()> show;
        const char* caption;
    };
    const Want wants[] = {
        {[] { forms::warningBox("w"); }, "注意"},
        {[] { forms::confirmBox("c"); }, "確認"},
        {[] { forms::errorBox("e"); }, "エラー"},
        {[] { forms::endBox("d"); }, "処理終了"},
        {[] { forms::plainMessage("p"); }, "カノピア"},
    };
    ::SetForegroundWindow(f().handle());
    pump();
    for (const auto& w : wants) {
        auto answer = std::async(std::launch::async, [&] {
            auto box = driver::waitMessageBox(pid);
            if (box) driver::answerMessageBox(box->hwnd, IDOK);
            return box;
        });
        w.show();
        auto box = answer.get();
        ASSERT_TRUE(box.has_value()) << w.caption;
        EXPECT_EQ(box->caption, w.caption);
        EXPECT_EQ(box->owner, f().handle()) << w.caption;
    }
}

TEST_F(FormFixture, ControlsUseTheWindowFontUnlessTheirRowGivesASize) {
    auto fontOf = [](HWND h) {
        LOGFONTA lf{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf;
    };
    const LOGFONTA label = fontOf(f().control(kLabel));
    EXPECT_STREQ(label.lfFaceName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(label.lfHeight, -forms::scaled(12));
    EXPECT_EQ(label.lfCharSet, SHIFTJIS_CHARSET);
    const LOGFONTA list = fontOf(f().control(kList));
    EXPECT_STREQ(list.lfFaceName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(list.lfHeight, -forms::scaled(13));
    EXPECT_EQ(::SendMessageA(f().control(kList), LB_GETITEMHEIGHT, 0, 0), forms::scaled(13));
}

TEST_F(FormFixture, LabelWidensToACaptionTheFontNeedsMoreRoomFor) {
    // "名前：" is laid out 40 pixels wide; whatever the font, the whole caption fits.
    HWND label = f().control(kLabel);
    SIZE ext{};
    {
        win::WindowDC dc(label);
        win::SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32A(dc.get(), "名前：", 6, &ext);
    }
    const RECT r = childRect(f().handle(), label);
    EXPECT_GE(r.right - r.left, std::max<LONG>(ext.cx, forms::scaled(40)));
}

}  // namespace
