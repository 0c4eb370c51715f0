// Reading and restoring SDI, FILEDIA and OSNAPCOORD against the AutoCAD stand-in under Wine.
#include "acad/VariableProbes.h"

#include <gtest/gtest.h>

#include "StandinClient.h"
#include "acad/CommandChannel.h"

namespace {

using Kind = TranscriptEvent::Kind;

// The strings handed over, in order, checking that each is followed by exactly one WM_NULL.
std::vector<std::string> sentStrings(const std::vector<TranscriptEvent>& events) {
    std::vector<std::string> sent;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind != Kind::CopyData) continue;
        EXPECT_TRUE(i + 1 < events.size() && events[i + 1].kind == Kind::Null) << "no WM_NULL after send " << i;
        EXPECT_EQ(events[i].bytes.back(), '\0');
        sent.push_back(events[i].bytes.substr(0, events[i].bytes.size() - 1));
    }
    return sent;
}

const std::string kCancel = "\x03\x03";

class VariableProbes : public ::testing::Test {
protected:
    void TearDown() override { acadSendTimeoutSet(10000); }
};

TEST_F(VariableProbes, ProbesReadTheValuesAutoCADHoldsAndSendCancelQueryCancel) {
    struct Start {
        int sdi, filedia, osnapcoord;
        const char *sdiValue, *filediaValue, *osnapcoordValue;
    };
    const Start starts[] = {
        {1, 0, 2, "1", "0", "2"},
        {2, 1, 1, "0", "1", "1"},  // SDI 2 is not single-document mode
        {0, 1, 0, "0", "1", "0"},
    };
    for (const auto& s : starts) {
        StandinOptions o;
        o.sdi = s.sdi;
        o.filedia = s.filedia;
        o.osnapcoord = s.osnapcoord;
        AcadStandin standin(o);
        EXPECT_TRUE(acadSdiCheck());
        EXPECT_TRUE(acadFilediaCheck());
        EXPECT_TRUE(acadOsnapcoordCheck());
        EXPECT_EQ(acadSdiValue(), s.sdiValue) << s.sdi;
        EXPECT_EQ(acadFilediaValue(), s.filediaValue) << s.filedia;
        EXPECT_EQ(acadOsnapcoordValue(), s.osnapcoordValue) << s.osnapcoord;

        const std::vector<std::string> expected = {kCancel, "SDI\r",        kCancel, kCancel, "filedia\r",
                                                   kCancel, kCancel,        "osnapcoord\r", kCancel};
        EXPECT_EQ(sentStrings(standin.transcript()), expected);
        // The probes leave every variable as it was.
        EXPECT_EQ(standin.variable("SDI"), std::to_string(s.sdi));
        EXPECT_EQ(standin.variable("FILEDIA"), std::to_string(s.filedia));
        EXPECT_EQ(standin.variable("OSNAPCOORD"), std::to_string(s.osnapcoord));
    }
}

TEST_F(VariableProbes, SettersSendCancelThenTheStoredValue) {
    StandinOptions o;
    o.filedia = 0;
    o.osnapcoord = 2;
    AcadStandin standin(o);
    ASSERT_TRUE(acadFilediaCheck());
    ASSERT_TRUE(acadOsnapcoordCheck());
    // A run changes both ...
    const HWND w = acadWindowFind();
    ASSERT_TRUE(acadCommandSend("filedia 1\r", w));
    ASSERT_TRUE(acadCommandSend("osnapcoord 1\r", w));
    ASSERT_EQ(standin.variable("FILEDIA"), "1");
    // ... and the setters put them back.
    EXPECT_TRUE(acadFilediaRestore());
    EXPECT_TRUE(acadOsnapcoordRestore());
    EXPECT_EQ(standin.variable("FILEDIA"), "0");
    EXPECT_EQ(standin.variable("OSNAPCOORD"), "2");

    const auto sent = sentStrings(standin.transcript());
    ASSERT_EQ(sent.size(), 12u);  // two probes, the run's two changes, two setters
    EXPECT_EQ(std::vector<std::string>(sent.begin() + 8, sent.end()),
              (std::vector<std::string>{kCancel, "filedia 0\r", kCancel, "osnapcoord 2\r"}));
}

TEST_F(VariableProbes, CommandLineIsReadByContentWhileFoundByName) {
    StandinOptions o;
    o.sdi = 1;
    AcadStandin standin(o);
    const HWND w = acadWindowFind();
    ASSERT_TRUE(acadCommandSend("SDI\r", w));
    const std::string text = acadCommandLineRead(1, w);
    EXPECT_EQ(text, standin.commandLineText());
    EXPECT_NE(text.find("SDI の新しい値を入力 <1>"), std::string::npos);

    // The window manager still calls the window "Headlands": GetWindowTextA from another process does
    // not ask the window, so the name-based search keeps working while the content changes.
    struct Find {
        static BOOL CALLBACK visit(HWND c, LPARAM p) {
            char t[256] = {};
            ::GetWindowTextA(c, t, 255);
            if (std::string(t) == "Headlands") *reinterpret_cast<HWND*>(p) = c;
            return TRUE;
        }
    };
    HWND headlands = nullptr;
    ::EnumChildWindows(w, Find::visit, reinterpret_cast<LPARAM>(&headlands));
    ASSERT_NE(headlands, nullptr);
    EXPECT_EQ(acadWindowTextGet(headlands), text);
    EXPECT_EQ(acadWindowTextGet(w), o.title);  // an ordinary window answers with its title
    ASSERT_TRUE(acadCancelSend(w));
}

TEST_F(VariableProbes, MarkerInEarlierTextCounts) {
    StandinOptions o;
    o.sdi = 0;
    o.filedia = 1;
    AcadStandin standin(o);
    // "<1>" of an earlier FILEDIA prompt is still among the lines the command line shows.
    ASSERT_TRUE(acadCommandSend("filedia\r", acadWindowFind()));
    EXPECT_TRUE(acadSdiCheck());
    EXPECT_EQ(acadSdiValue(), "1");
}

TEST_F(VariableProbes, WithoutMountTamEveryProbeStoresZero) {
    StandinOptions o;
    o.mountTam = false;
    o.sdi = 1;
    o.filedia = 1;
    o.osnapcoord = 2;
    AcadStandin standin(o);
    EXPECT_EQ(acadCommandLineRead(1, acadWindowFind()), "");
    EXPECT_TRUE(acadSdiCheck());
    EXPECT_TRUE(acadFilediaCheck());
    EXPECT_TRUE(acadOsnapcoordCheck());
    EXPECT_EQ(acadSdiValue(), "0");
    EXPECT_EQ(acadFilediaValue(), "0");
    EXPECT_EQ(acadOsnapcoordValue(), "0");
    EXPECT_EQ(sentStrings(standin.transcript()).size(), 9u);  // the sends still go out
}

TEST_F(VariableProbes, NoAutoCADStoresZeroAndReportsFailure) {
    {
        AcadStandin standin;  // leave "1" from a real reading behind first
        ASSERT_TRUE(acadFilediaCheck());
        ASSERT_EQ(acadFilediaValue(), "1");
    }
    EXPECT_FALSE(acadSdiCheck());
    EXPECT_FALSE(acadFilediaCheck());
    EXPECT_FALSE(acadOsnapcoordCheck());
    EXPECT_EQ(acadSdiValue(), "0");
    EXPECT_EQ(acadFilediaValue(), "0");
    EXPECT_EQ(acadOsnapcoordValue(), "0");
    EXPECT_FALSE(acadFilediaRestore());
    EXPECT_FALSE(acadOsnapcoordRestore());
    EXPECT_EQ(acadCommandLineRead(1, nullptr), "");
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST_F(VariableProbes, HungAutoCADStopsTheProbeAfterTheFailedSend) {
    StandinOptions o;
    o.sdi = 1;
    o.hangMilliseconds = 2000;
    o.hangFrom = 2;  // the query
    AcadStandin standin(o);
    acadSendTimeoutSet(300);
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(acadSdiCheck());
    EXPECT_LT(::GetTickCount() - start, 1600u);
    EXPECT_EQ(acadSdiValue(), "0");
    // Once AutoCAD is back, it has seen cancel and the query, and no cancel after them.
    EXPECT_EQ(sentStrings(standin.transcript()), (std::vector<std::string>{kCancel, "SDI\r"}));
}

TEST_F(VariableProbes, HungAutoCADStopsTheSetterAfterTheFailedCancel) {
    StandinOptions o;
    o.hangMilliseconds = 1200;
    o.hangFrom = 1;
    AcadStandin standin(o);
    acadSendTimeoutSet(300);
    EXPECT_FALSE(acadFilediaRestore());
    EXPECT_EQ(sentStrings(standin.transcript()), (std::vector<std::string>{kCancel}));
}

}  // namespace
