// The tray icon's rules against a recording shell: limits, records, retries, instance list, clicks.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "tray/TrayIconCore.h"

using namespace tray;
using Button = TrayIconCore::TMouseButton;

namespace {

struct Call {
    NotifyCommand command;
    NotifyRecord record;
};

class FakeShell : public NotifyShell {
public:
    unsigned major = 6;
    bool xp = true;
    std::vector<Call> calls;
    std::deque<unsigned long> failures;  // the next notifies fail with these errors, in turn
    std::vector<unsigned> sleeps;

    bool notify(NotifyCommand command, const NotifyRecord& record) override {
        calls.push_back({command, record});
        if (failures.empty()) return true;
        error_ = failures.front();
        failures.pop_front();
        return false;
    }
    unsigned long lastError() override { return error_; }
    void sleep(unsigned ms) override { sleeps.push_back(ms); }
    unsigned shellMajorVersion() override { return major; }
    bool windowsXpOrLater() override { return xp; }

    std::vector<NotifyCommand> commands() const {
        std::vector<NotifyCommand> result;
        for (const Call& c : calls) result.push_back(c.command);
        return result;
    }

private:
    unsigned long error_ = 0;
};

class FakeIcon : public TrayIconCore {
public:
    explicit FakeIcon(NotifyShell& shell) : TrayIconCore(shell) {}
    std::uintptr_t icon = 0x1C0;
    bool lbMenu = false, rbMenu = false;
    std::vector<Button> popups;
    int foregrounds = 0;
    std::vector<std::pair<unsigned, unsigned>> waits;  // delay, token

protected:
    std::uintptr_t callbackWindowHandle() override { return 0xCB; }
    std::uintptr_t iconHandle() override { return icon; }
    bool popupMenuAssigned(TMouseButton b) const override { return b == TMouseButton::mbLeft ? lbMenu : rbMenu; }
    void popupMenuShow(TMouseButton b, int, int) override { popups.push_back(b); }
    void cursorPosRead(int& x, int& y) override { x = 640, y = 1000; }
    void activeFormToForeground() override { ++foregrounds; }
    unsigned doubleClickTime() override { return 500; }
    void clickWaitStart(unsigned delay, unsigned token) override { waits.emplace_back(delay, token); }
};

const std::vector<NotifyCommand> kAdd{NotifyCommand::Add};
constexpr auto Add = NotifyCommand::Add;
constexpr auto Modify = NotifyCommand::Modify;
constexpr auto Delete = NotifyCommand::Delete;

}  // namespace

TEST(TrayIconProperties, DefaultsAndLimits) {
    FakeShell shell;
    FakeIcon icon(shell);
    EXPECT_EQ(icon.TipHelp(), "TipHelp");
    EXPECT_FALSE(icon.Visible());
    EXPECT_TRUE(icon.Enabled());
    EXPECT_TRUE(icon.AutoPopup());
    EXPECT_FALSE(icon.FormActiveByMouseup());
    EXPECT_EQ(icon.AnimateRate(), 500);
    EXPECT_EQ(icon.BalloonTimeout(), 10);
    EXPECT_EQ(icon.BalloonIcon(), biifNone);
    for (auto [in, out] : {std::pair{-5, 10}, {0, 10}, {9, 10}, {10, 10}, {11, 11}}) {
        icon.setAnimateRate(in);
        EXPECT_EQ(icon.AnimateRate(), out) << in;
    }
    EXPECT_TRUE(shell.calls.empty());
}

TEST(TrayIconProperties, TextsAreCutWithoutSplittingACharacter) {
    FakeShell shell;
    FakeIcon icon(shell);
    icon.setTipHelp(std::string(70, 'a'));
    EXPECT_EQ(icon.TipHelp(), std::string(63, 'a'));
    // 35 × 表 (95 5C, trail byte 0x5C): byte 63 is a lead byte, so 31 whole characters stay.
    std::string hyo;
    for (int i = 0; i < 35; ++i) hyo += "\x95\x5C";
    icon.setTipHelp(hyo);
    EXPECT_EQ(icon.TipHelp(), hyo.substr(0, 62));
    icon.setTipHelp("a" + hyo);  // here byte 63 ends a character: all 63 bytes stay
    EXPECT_EQ(icon.TipHelp().size(), 63u);
    icon.setBalloonTitle(hyo);
    EXPECT_EQ(icon.BalloonTitle().size(), 62u);
    icon.setBalloonText(std::string(300, 'b'));
    EXPECT_EQ(icon.BalloonText(), std::string(255, 'b'));
}

TEST(TrayIconRecord, AddFillsTheRecordAndItsSizeFollowsTheShellVersion) {
    for (auto [major, size] : {std::pair{0u, 88u}, {4u, 88u}, {5u, 488u}, {6u, 488u}}) {
        FakeShell shell;
        shell.major = major;
        FakeIcon icon(shell);
        icon.setTipHelp(std::string(70, 't'));
        icon.setVisible(true);
        ASSERT_EQ(shell.commands(), kAdd);
        const NotifyRecord& r = shell.calls[0].record;
        EXPECT_EQ(r.cbSize, size) << major;
        EXPECT_EQ(r.window, 0xCBu);
        EXPECT_EQ(r.id, icon.id());
        EXPECT_EQ(r.callbackMessage, 1224u);
        EXPECT_EQ(r.icon, 0x1C0u);
        EXPECT_EQ(r.flags, kNifMessage | kNifIcon | kNifTip);
        EXPECT_EQ(r.tip, std::string(63, 't'));
    }
    FakeShell shell;
    FakeIcon icon(shell);
    icon.setTipHelp("");
    icon.setVisible(true);
    EXPECT_EQ(shell.calls[0].record.flags, kNifMessage | kNifIcon);
}

TEST(TrayIconVisible, WithoutAnyIconStaysFalseAndSendsNothing) {
    FakeShell shell;
    FakeIcon icon(shell);
    icon.icon = 0;
    icon.setVisible(true);
    EXPECT_FALSE(icon.Visible());
    EXPECT_TRUE(shell.calls.empty());
}

TEST(TrayIconVisible, NewShellHidesAndShowsTheSameEntry) {
    FakeShell shell;
    {
        FakeIcon icon(shell);
        icon.setVisible(true);
        icon.setVisible(true);  // no change, nothing sent
        icon.setVisible(false);
        icon.setVisible(true);
        EXPECT_EQ(shell.commands(), (std::vector{Add, Modify, Modify}));
        EXPECT_EQ(shell.calls[1].record.flags, kNifState);
        EXPECT_EQ(shell.calls[1].record.state, kNisHidden);
        EXPECT_EQ(shell.calls[1].record.stateMask, 3u);
        EXPECT_EQ(shell.calls[2].record.state, 0u);
        icon.setVisible(false);
        EXPECT_TRUE(icon.added());  // hidden, still in the notification area
    }
    EXPECT_EQ(shell.calls.back().command, Delete);  // destruction removes it
}

TEST(TrayIconVisible, OldShellDeletesAndAddsAgain) {
    FakeShell shell;
    shell.major = 4;
    FakeIcon icon(shell);
    icon.setVisible(true);
    icon.setVisible(false);
    EXPECT_FALSE(icon.added());
    icon.setVisible(true);
    EXPECT_EQ(shell.commands(), (std::vector{Add, Delete, Add}));
    EXPECT_EQ(shell.calls[1].record.id, icon.id());
}

TEST(TrayIconVisible, TipAndIconChangesModifyOnlyAnAddedIcon) {
    FakeShell shell;
    FakeIcon icon(shell);
    icon.setTipHelp("before");
    EXPECT_TRUE(shell.calls.empty());
    icon.setVisible(true);
    icon.setTipHelp("after");
    ASSERT_EQ(shell.commands(), (std::vector{Add, Modify}));
    EXPECT_EQ(shell.calls[1].record.tip, "after");
    shell.failures = {5};
    EXPECT_THROW(icon.setTipHelp("x"), ENotifyIconError);
}

TEST(TrayIconAdd, TimeoutOnXpTriesOneModifyThenRetries) {
    {   // the late add shows through the modify
        FakeShell shell;
        shell.failures = {kErrorTimeout};
        FakeIcon icon(shell);
        icon.setVisible(true);
        EXPECT_EQ(shell.commands(), (std::vector{Add, Modify}));
        EXPECT_EQ(shell.sleeps, std::vector<unsigned>{100});
        EXPECT_TRUE(icon.added());
    }
    {   // the modify fails too: the add is retried
        FakeShell shell;
        shell.failures = {kErrorTimeout, 87};
        FakeIcon icon(shell);
        icon.setVisible(true);
        EXPECT_EQ(shell.commands(), (std::vector{Add, Modify, Add}));
        EXPECT_TRUE(icon.Visible());
    }
}

TEST(TrayIconAdd, FiveRetriesThenTheErrorAndVisibleStaysFalse) {
    for (bool xp : {true, false}) {
        FakeShell shell;
        shell.xp = xp;
        shell.failures.assign(7, kErrorTimeout);
        FakeIcon icon(shell);
        try {
            icon.setVisible(true);
            FAIL() << "no error";
        } catch (const ENotifyIconError& e) {
            EXPECT_STREQ(e.what(), kTrayRegisterError);
        }
        std::vector<NotifyCommand> expected(6, Add);
        if (xp) expected.insert(expected.begin() + 1, Modify);
        EXPECT_EQ(shell.commands(), expected);
        EXPECT_EQ(shell.sleeps.size(), 5u);
        EXPECT_FALSE(icon.Visible());
        EXPECT_FALSE(icon.added());
        // A later attempt is not swallowed as "no change".
        icon.setVisible(true);
        EXPECT_TRUE(icon.added());
    }
}

TEST(TrayIconAdd, OtherErrorsRaiseAtOnce) {
    FakeShell shell;
    shell.failures = {5};
    FakeIcon icon(shell);
    EXPECT_THROW(icon.setVisible(true), ENotifyIconError);
    EXPECT_EQ(shell.commands(), kAdd);
    shell.calls.clear();
    shell.failures = {kErrorTimeout, kErrorTimeout, 5};  // add, modify, first retry
    EXPECT_THROW(icon.setVisible(true), ENotifyIconError);
    EXPECT_EQ(shell.commands(), (std::vector{Add, Modify, Add}));
}

TEST(TrayIconVisible, FailedShowOrHideKeepsTheStateThatIsShown) {
    FakeShell shell;
    FakeIcon icon(shell);
    icon.setVisible(true);
    shell.failures = {5};
    try {
        icon.setVisible(false);
        FAIL() << "no error";
    } catch (const ENotifyIconError& e) {
        EXPECT_STREQ(e.what(), kTrayShowHideError);
    }
    EXPECT_TRUE(icon.Visible());
    icon.setVisible(false);
    shell.failures = {5};
    EXPECT_THROW(icon.setVisible(true), ENotifyIconError);
    EXPECT_FALSE(icon.Visible());
}

TEST(TrayIconBalloon, ShowsOnAHiddenIconAndHidesWithEmptyTexts) {
    FakeShell shell;
    FakeIcon icon(shell);
    icon.setBalloonTitle("T");
    icon.setBalloonIcon(biifWarning);
    icon.setBalloonTimeout(3);
    icon.ShowBalloon();
    EXPECT_TRUE(icon.Visible());
    ASSERT_EQ(shell.commands(), (std::vector{Add, Modify}));
    const NotifyRecord& shown = shell.calls[1].record;
    EXPECT_EQ(shown.flags, kNifInfo | kNifMessage);
    EXPECT_EQ(shown.infoTitle, "T");
    EXPECT_EQ(shown.info, " ");  // an empty text would hide the balloon
    EXPECT_EQ(shown.infoFlags, 2u);
    EXPECT_EQ(shown.timeoutMs, 3000u);
    icon.HideBalloon();
    EXPECT_EQ(shell.calls[2].record.info, "");
    EXPECT_EQ(shell.calls[2].record.infoTitle, "");
    shell.failures = {5};
    try {
        icon.HideBalloon();
        FAIL() << "no error";
    } catch (const ENotifyIconError& e) {
        EXPECT_STREQ(e.what(), kTrayBalloonError);
    }

    FakeShell old;
    old.major = 4;
    FakeIcon oldIcon(old);
    oldIcon.ShowBalloon();
    EXPECT_TRUE(old.calls.empty());
}

TEST(TrayIconInstances, IdentifiersFollowTheLastAndTheHundredAndFirstFails) {
    FakeShell shell;
    std::vector<std::unique_ptr<FakeIcon>> icons;
    for (int i = 0; i < 3; ++i) icons.push_back(std::make_unique<FakeIcon>(shell));
    EXPECT_EQ(icons[0]->id(), 1u);
    EXPECT_EQ(icons[2]->id(), 3u);
    icons.erase(icons.begin() + 1);
    icons.push_back(std::make_unique<FakeIcon>(shell));
    EXPECT_EQ(icons.back()->id(), 4u);
    EXPECT_EQ(TrayIconCore::instanceFind(3), icons[1].get());
    EXPECT_EQ(TrayIconCore::instanceFind(2), nullptr);
    while (icons.size() < 100) icons.push_back(std::make_unique<FakeIcon>(shell));
    try {
        FakeIcon extra(shell);
        FAIL() << "101st instance created";
    } catch (const ENotifyIconError& e) {
        EXPECT_STREQ(e.what(), kTrayRegisterError);
    }
    EXPECT_EQ(TrayIconCore::instances().size(), 100u);
    icons.pop_back();
    EXPECT_NO_THROW(icons.push_back(std::make_unique<FakeIcon>(shell)));
    icons.clear();
    EXPECT_TRUE(TrayIconCore::instances().empty());
}

TEST(TrayIconCallback, ButtonsMenusAndBalloonEvents) {
    FakeShell shell;
    FakeIcon icon(shell);
    std::vector<std::string> log;
    icon.OnMouseDown = [&](TrayIconCore&, Button b, TrayIconCore::TShiftState s, int x, int y) {
        log.push_back("down" + std::to_string(int(b)) + "/" + std::to_string(s) + "@" + std::to_string(x) + "," +
                      std::to_string(y));
    };
    icon.OnMouseUp = [&](TrayIconCore&, Button b, TrayIconCore::TShiftState, int, int) {
        log.push_back("up" + std::to_string(int(b)));
    };
    icon.OnMouseMove = [&](TrayIconCore&, TrayIconCore::TShiftState s, int, int) {
        log.push_back("move" + std::to_string(s));
    };
    icon.OnBalloonClick = [&](TrayIconCore&) { log.push_back("balloonclick"); };
    icon.rbMenu = true;
    const auto id = icon.id();
    TrayIconCore::callbackMessage(id, kWmRButtonDown);  // the menu instead of the event
    TrayIconCore::callbackMessage(id, kWmLButtonDown);
    TrayIconCore::callbackMessage(id, kWmMButtonDown);
    TrayIconCore::callbackMessage(id, kWmMouseMove);
    TrayIconCore::callbackMessage(id, kWmRButtonUp);
    TrayIconCore::callbackMessage(id, kNinBalloonUserClick);
    TrayIconCore::callbackMessage(id + 1, kWmLButtonDown);  // no such icon
    EXPECT_EQ(icon.popups, std::vector<Button>{Button::mbRight});
    EXPECT_EQ(log, (std::vector<std::string>{"down0/8@640,1000", "down2/32@640,1000", "move0", "up1", "balloonclick"}));
    EXPECT_EQ(icon.foregrounds, 0);

    icon.setAutoPopup(false);
    icon.setFormActiveByMouseup(true);
    log.clear();
    TrayIconCore::callbackMessage(id, kWmRButtonDown);
    TrayIconCore::callbackMessage(id, kWmMButtonUp);
    EXPECT_EQ(log, (std::vector<std::string>{"down1/16@640,1000", "up2"}));
    EXPECT_EQ(icon.foregrounds, 1);
}

TEST(TrayIconCallback, DisabledFiresNothingAndPopsUpNothing) {
    FakeShell shell;
    FakeIcon icon(shell);
    int events = 0;
    icon.OnMouseDown = [&](TrayIconCore&, Button, TrayIconCore::TShiftState, int, int) { ++events; };
    icon.OnClick = icon.OnDblClick = icon.OnBalloonShow = [&](TrayIconCore&) { ++events; };
    icon.lbMenu = icon.rbMenu = true;
    TrayIconCore::callbackMessage(icon.id(), kWmLButtonUp);  // a click becomes pending
    ASSERT_EQ(icon.waits.size(), 1u);
    icon.setEnabled(false);  // drops it
    icon.setEnabled(true);
    TrayIconCore::clickWaitEnded(icon.id(), icon.waits[0].second);
    icon.setEnabled(false);
    for (auto m : {kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kWmRButtonDown, kWmMButtonDown, kNinBalloonShow})
        TrayIconCore::callbackMessage(icon.id(), m);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(icon.popups.empty());
    EXPECT_EQ(icon.waits.size(), 1u);
}

TEST(TrayIconClick, SingleClickAfterTheWaitDoubleClickOnlyOnce) {
    FakeShell shell;
    FakeIcon icon(shell);
    int clicks = 0, doubles = 0;
    icon.OnClick = [&](TrayIconCore&) { ++clicks; };
    icon.OnDblClick = [&](TrayIconCore&) { ++doubles; };
    const auto id = icon.id();

    TrayIconCore::callbackMessage(id, kWmLButtonDown);
    TrayIconCore::callbackMessage(id, kWmLButtonUp);
    ASSERT_EQ(icon.waits.size(), 1u);
    EXPECT_EQ(icon.waits[0].first, 550u);  // double-click time + 50 ms
    EXPECT_EQ(clicks, 0);
    TrayIconCore::clickWaitEnded(id, icon.waits[0].second);
    EXPECT_EQ(clicks, 1);

    // down, up, double click, up: the shell's sequence for a double click
    for (auto m : {kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kWmLButtonUp}) TrayIconCore::callbackMessage(id, m);
    ASSERT_EQ(icon.waits.size(), 2u);
    TrayIconCore::clickWaitEnded(id, icon.waits[1].second);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1);

    // A wait that ends after a newer click has started its own fires nothing early.
    TrayIconCore::callbackMessage(id, kWmLButtonUp);
    TrayIconCore::callbackMessage(id, kWmLButtonUp);
    TrayIconCore::callbackMessage(id, kWmLButtonUp);
    ASSERT_EQ(icon.waits.size(), 4u);
    TrayIconCore::clickWaitEnded(id, icon.waits[2].second);
    EXPECT_EQ(clicks, 1);
    TrayIconCore::clickWaitEnded(id, icon.waits[3].second);
    EXPECT_EQ(clicks, 2);
}

TEST(TrayIconClick, NoWaitWithoutOnClickOrWithOnMouseUp) {
    FakeShell shell;
    FakeIcon icon(shell);
    TrayIconCore::callbackMessage(icon.id(), kWmLButtonUp);
    EXPECT_TRUE(icon.waits.empty());
    int ups = 0, clicks = 0;
    icon.OnClick = [&](TrayIconCore&) { ++clicks; };
    icon.OnMouseUp = [&](TrayIconCore&, Button, TrayIconCore::TShiftState, int, int) { ++ups; };
    TrayIconCore::callbackMessage(icon.id(), kWmLButtonUp);
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(icon.waits.empty());
}

TEST(TrayIconShellRestart, VisibleIconsAreAddedAgainAndHiddenOnesWhenShown) {
    FakeShell shell;
    FakeIcon shown(shell), hidden(shell), never(shell);
    shown.setVisible(true);
    hidden.setVisible(true);
    hidden.setVisible(false);
    shell.calls.clear();
    shell.failures = {5};  // the first icon cannot be added again
    EXPECT_THROW(TrayIconCore::notificationAreaRecreated(), ENotifyIconError);
    EXPECT_EQ(shell.commands(), kAdd);
    EXPECT_FALSE(shown.Visible());
    shown.setVisible(true);  // so the next minimise tries again
    EXPECT_TRUE(shown.added());

    shell.calls.clear();
    TrayIconCore::notificationAreaRecreated();
    ASSERT_EQ(shell.commands(), kAdd);
    EXPECT_EQ(shell.calls[0].record.id, shown.id());
    hidden.setVisible(true);  // a show on the new area is an add, not a modify of an unknown icon
    EXPECT_EQ(shell.calls.back().command, Add);
    EXPECT_EQ(shell.calls.back().record.id, hidden.id());
}
