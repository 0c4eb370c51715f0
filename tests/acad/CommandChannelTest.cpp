// Finding AutoCAD's window and handing it command strings, against real windows under Wine: windows
// of this process for the title rules, the AutoCAD stand-in for what another process receives.
#include "acad/CommandChannel.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "StandinClient.h"

namespace {

using Kind = TranscriptEvent::Kind;

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(w, m, wp, lp); }

// A hidden top-level window of this process with the given title and class.
class TestWindow {
public:
    TestWindow(const std::string& title, const std::string& className) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = plainProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = className.c_str();
        ::RegisterClassA(&wc);  // may exist already
        hwnd_ = ::CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() { ::DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

const char kAfx[] = "Afx:400000:8:10011:0:0";

class CommandChannel : public ::testing::Test {
protected:
    void TearDown() override {
        acadSendTimeoutSet(10000);
        acadCopyDataSenderSet(nullptr);
    }
};

TEST_F(CommandChannel, DefaultBoundIsTenSeconds) { EXPECT_EQ(acadSendTimeout(), 10000u); }

TEST_F(CommandChannel, LookupMatchesTitleAndClassRules) {
    struct Case {
        const char* title;
        const char* className;
        bool matches;
    };
    const Case cases[] = {
        {"AutoCAD 2004 - [Drawing1.dwg]", kAfx, true},
        {"AutoCAD 2004 - [Drawing1.dwg]", "CanopiaTestNoAfx", false},
        {"AutoCAD テキスト ウィンドウ - Drawing1.dwg", kAfx, false},
        {"AutoCAD ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - Drawing1.dwg", kAfx, false},
        {"Drawing1.dwg - AutoCAD", kAfx, false},
        {"AUTOCAD 2004", kAfx, false},
        {"AutoCAD 2004 - [表示.dwg]", kAfx, true},  // 表, trail byte 0x5C
    };
    for (const auto& c : cases) {
        TestWindow w(c.title, c.className);
        ASSERT_NE(w.get(), nullptr);
        const HWND found = acadWindowFind();
        if (c.matches) {
            EXPECT_EQ(found, w.get()) << c.title;
            EXPECT_EQ(acadWindowTitle(), c.title);
        } else {
            EXPECT_EQ(found, nullptr) << c.title;
        }
    }
}

TEST_F(CommandChannel, NothingFoundLeavesTheTitle) {
    {
        TestWindow w("AutoCAD 2002 - [last.dwg]", kAfx);
        ASSERT_EQ(acadWindowFind(), w.get());
    }
    TestWindow other("AutoCAD LT", "CanopiaTestNoAfx");
    EXPECT_EQ(acadWindowFind(), nullptr);
    EXPECT_EQ(acadWindowTitle(), "AutoCAD 2002 - [last.dwg]");
}

BOOL CALLBACK collect(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

TEST_F(CommandChannel, LaterMatchInTheEnumerationWins) {
    TestWindow a("AutoCAD 2004 - [A.dwg]", kAfx);
    TestWindow b("AutoCAD 2004 - [B.dwg]", kAfx);
    std::vector<HWND> order;
    ::EnumWindows(collect, reinterpret_cast<LPARAM>(&order));
    HWND last = nullptr;
    for (HWND w : order) {
        if (w == a.get() || w == b.get()) last = w;
    }
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(acadWindowFind(), last);
    EXPECT_EQ(acadWindowTitle(), last == a.get() ? "AutoCAD 2004 - [A.dwg]" : "AutoCAD 2004 - [B.dwg]");
}

TEST_F(CommandChannel, StandinIsFoundAndItsTextWindowIsNot) {
    StandinOptions o;
    o.textWindow = true;
    o.title = "AutoCAD 2004 - [表示ソフト.dwg]";  // 表 and ソ, trail bytes 0x5C
    AcadStandin standin(o);
    ASSERT_NE(standin.textWindow(), nullptr);
    EXPECT_EQ(acadWindowFind(), standin.window());
    EXPECT_EQ(acadWindowTitle(), o.title);  // another process's title arrives byte for byte
}

TEST_F(CommandChannel, TitleIsReadUpTo254Bytes) {
    const std::string longTitle = "AutoCAD 2004 - [" + std::string(300, 'a') + ".dwg]";
    TestWindow w(longTitle, kAfx);
    ASSERT_EQ(acadWindowFind(), w.get());
    EXPECT_EQ(acadWindowTitle(), longTitle.substr(0, 254));
}

TEST_F(CommandChannel, StandinWithoutAfxClassIsNotFound) {
    StandinOptions o;
    o.className = "AutoCADMainFrame";
    AcadStandin standin(o);
    EXPECT_EQ(acadWindowFind(), nullptr);
}

TEST_F(CommandChannel, TwoStandinWindowsTheLaterEnumeratedWins) {
    StandinOptions o;
    o.secondWindow = true;
    AcadStandin standin(o);
    // The later of the two in the enumeration, taken right before and after the lookup: Wine may still be
    // settling the z-order of the stand-in's new windows, so a lookup between two different orders is repeated.
    auto lastOfTheTwo = [&] {
        std::vector<HWND> order;
        ::EnumWindows(collect, reinterpret_cast<LPARAM>(&order));
        HWND last = nullptr;
        for (HWND w : order) {
            if (w == standin.window() || w == standin.secondWindow()) last = w;
        }
        return last;
    };
    HWND last = nullptr, found = nullptr;
    for (int attempt = 0; attempt < 50; ++attempt) {
        last = lastOfTheTwo();
        found = acadWindowFind();
        if (lastOfTheTwo() == last) break;
        ::Sleep(20);
    }
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(found, last);
    EXPECT_EQ(acadWindowTitle(), last == standin.window() ? o.title : o.secondTitle);
}

TEST_F(CommandChannel, EachSendIsOneRecordThenOneNull) {
    AcadStandin standin;
    const HWND w = acadWindowFind();
    ASSERT_EQ(w, standin.window());
    EXPECT_TRUE(acadCommandSend("zoom e\r", w));
    EXPECT_TRUE(acadCommandSend("", w));
    EXPECT_TRUE(acadCancelSend(w));
    EXPECT_TRUE(acadCommandSend("-layer 表\r", w));  // 表, trail byte 0x5C

    const auto events = standin.transcript();
    ASSERT_EQ(events.size(), 8u);
    const std::string expected[] = {std::string("zoom e\r\0", 8), std::string("\0", 1), std::string("\x03\x03\0", 3),
                                    std::string("-layer 表\r") + '\0'};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& send = events[2 * i];
        ASSERT_EQ(send.kind, Kind::CopyData) << i;
        EXPECT_EQ(send.dwData, 1u);
        EXPECT_EQ(send.cbData, expected[i].size());
        EXPECT_EQ(send.bytes, expected[i]);
        EXPECT_TRUE(send.wParamIsWindow);  // wParam is AutoCAD's own window
        EXPECT_EQ(send.window, 0);
        EXPECT_EQ(events[2 * i + 1].kind, Kind::Null) << i;
        EXPECT_EQ(events[2 * i + 1].window, 0);
    }
    // The double-byte character arrived whole: its 0x5C trail byte was not taken for anything else.
    EXPECT_NE(standin.commandLineText().find("オプションを入力: 表"), std::string::npos);
}

TEST_F(CommandChannel, SendToNoWindowOrAGoneWindowFails) {
    EXPECT_EQ(acadCommandDeliver("zoom e\r", nullptr), SendOutcome::NoWindow);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }  // the WM_NULL posted to handle 0 landed here, harmlessly

    HWND gone = nullptr;
    {
        AcadStandin standin;
        gone = standin.window();
    }
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(acadCancelSend(gone));
    EXPECT_EQ(acadLastSendOutcome(), SendOutcome::NoWindow);
    EXPECT_LT(::GetTickCount() - start, 2000u);
}

TEST_F(CommandChannel, AnElevatedAutoCADRefusesThroughTheEmulationOnly) {
    StandinOptions elevated;
    elevated.elevated = true;
    AcadStandin high(elevated);
    AcadStandin plain;
    EXPECT_EQ(acadCommandDeliver("zoom e\r", high.window()), SendOutcome::Taken);  // the real call ignores the mark

    acadCopyDataSenderSet(acadElevationEmulatingSend);
    EXPECT_EQ(acadCommandDeliver("zoom w\r", high.window()), SendOutcome::Refused);
    EXPECT_EQ(acadLastSendOutcome(), SendOutcome::Refused);
    EXPECT_FALSE(acadCancelSend(high.window()));
    EXPECT_EQ(acadCommandDeliver("zoom e\r", plain.window()), SendOutcome::Taken);
    EXPECT_EQ(acadLastSendOutcome(), SendOutcome::Taken);

    std::vector<std::string> records;
    for (const auto& e : high.transcript())
        if (e.kind == Kind::CopyData) records.push_back(e.bytes);
    EXPECT_EQ(records, std::vector<std::string>{std::string("zoom e\r\0", 8)});
    EXPECT_EQ(plain.transcript().front().bytes, std::string("zoom e\r\0", 8));
}

TEST_F(CommandChannel, HungAutoCADFailsTheSendWithinTheBound) {
    StandinOptions o;
    o.hangMilliseconds = 2000;
    o.hangFrom = 2;
    AcadStandin standin(o);
    acadSendTimeoutSet(300);
    const HWND w = acadWindowFind();
    EXPECT_TRUE(acadCommandSend("filedia\r", w));

    const DWORD start = ::GetTickCount();
    EXPECT_EQ(acadCommandDeliver("zoom e\r", w), SendOutcome::NotAnswered);
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, 250u);
    EXPECT_LT(waited, 1500u);

    // While AutoCAD is still busy, the lookup reads names from the window manager and does not wait.
    const DWORD lookupStart = ::GetTickCount();
    EXPECT_EQ(acadWindowFind(), w);
    EXPECT_LT(::GetTickCount() - lookupStart, 1000u);

    // The WM_NULL followed the failed attempt too.
    const auto events = standin.transcript();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].bytes, std::string("zoom e\r\0", 8));
    EXPECT_EQ(events[3].kind, Kind::Null);
}

TEST_F(CommandChannel, SlowAutoCADWithinTheBoundIsHandedOver) {
    StandinOptions o;
    o.hangMilliseconds = 1500;
    AcadStandin standin(o);
    const HWND w = standin.window();
    bool handed = false;
    std::thread sender([&] { handed = acadCommandSend("x\r", w); });
    ::Sleep(200);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(acadWindowFind(), w);
    EXPECT_LT(::GetTickCount() - start, 1000u);
    sender.join();
    EXPECT_TRUE(handed);  // a second and a half is slow, not hung: the send waited for it
}

}  // namespace
