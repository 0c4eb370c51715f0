// A batch run followed through the real canopia.exe: "k/N" in the main window's status bar while the AutoCAD
// stand-in works through the drawings, and the question to resume after it crashed.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "RunDriving.h"

using namespace rundriving;

namespace {

const std::string kStatusPrefix = "対象AutoCAD：  ";
const std::string kClosingScript = kBatchScript + "close\r\n";

// The progress part of the status bar: "" while the bar has the status line only.
std::string progress(HWND main) {
    const auto parts = driver::statusParts(main);
    return parts.size() >= 2 ? parts[1] : std::string();
}

// A batch over a, b and c started from the run button, confirmed, and its end message answered; when
// `answerAt` is given, only once the progress part shows it. (Under Wine the program handles nothing for about
// two seconds while a message box goes away, so what the stand-in does meanwhile goes unseen.)
bool batchThroughABC(driver::Canopia& canopia, HWND main, const std::string& answerAt = "") {
    driver::clickButton(driver::controlById(main, MainWindowIds::btnScriptGo));
    if (!filesChoose(canopia.processId(), "\"a.dwg\" \"b.dwg\" \"c.dwg\"")) return false;
    auto confirm = messageBoxWait(canopia.processId(), "確認", 10000);
    if (!confirm) return false;
    messageBoxAnswer(confirm->hwnd, IDOK);
    auto end = messageBoxWait(canopia.processId(), "処理終了", 15000);
    if (!end) return false;
    if (!answerAt.empty() && !driver::waitFor([&] { return progress(main) == answerAt; }, 20000)) return false;
    messageBoxAnswer(end->hwnd, IDOK);
    return true;
}

// Every distinct progress text shown until `last` (or the time-out), in order.
std::vector<std::string> progressUntil(HWND main, const std::string& last, int timeoutMs) {
    std::vector<std::string> shown;
    driver::waitFor(
        [&] {
            const std::string p = progress(main);
            if (shown.empty() || shown.back() != p) shown.push_back(p);
            return p == last;
        },
        timeoutMs);
    return shown;
}

// True when no message box with this caption comes within `ms`.
bool noBox(driver::Canopia& canopia, const std::string& caption, int ms) {
    return !messageBoxWait(canopia.processId(), caption, ms);
}

StandinOptions paced(unsigned crashAt = 0) {
    StandinOptions options;
    options.scriptPaceMs = 600;
    options.crashAt = crashAt;
    return options;
}

}  // namespace

TEST(BatchFollowEndToEnd, ABatchOverThreeDrawingsIsFollowedToThreeOfThree) {
    auto acad = std::make_unique<AcadStandin>(paced());
    driver::Canopia canopia(programFiles(2, "", kClosingScript));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(driver::statusParts(main).size(), 1u);

    ASSERT_TRUE(batchThroughABC(canopia, main));
    const auto shown = progressUntil(main, "3/3", 30000);
    ASSERT_EQ(shown.back(), "3/3");
    // Only ever forward through the run (a loaded machine may miss a step).
    const std::vector<std::string> order = {"", "1/3", "2/3", "3/3"};
    std::vector<std::ptrdiff_t> positions;
    for (const std::string& p : shown) positions.push_back(std::find(order.begin(), order.end(), p) - order.begin());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << ::testing::PrintToString(shown);
    // The status line beside it keeps its exact text.
    EXPECT_EQ(driver::statusParts(main)[0], kStatusPrefix + driver::windowText(acad->window()));

    // The last drawing closed: the run is over, and "3/3" stays; AutoCAD going and coming offers nothing.
    ASSERT_TRUE(
        driver::waitFor([&] { return driver::windowText(acad->window()) == "AutoCAD 2004 - [Drawing1.dwg]"; }, 10000));
    ::Sleep(600);
    acad.reset();
    AcadStandin again;
    EXPECT_TRUE(noBox(canopia, "確認", 2000));
    EXPECT_EQ(progress(main), "3/3");
}

TEST(BatchFollowEndToEnd, AfterACrashAtTheSecondDrawingTheRestIsOfferedOnceAndRunOnlyOnOk) {
    for (int answer : {IDCANCEL, IDOK}) {
        auto crashing = std::make_unique<AcadStandin>(paced(2));
        driver::Canopia canopia(programFiles(2));
        HWND main = mainReady(canopia);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(batchThroughABC(canopia, main, "2/3"));
        ASSERT_TRUE(crashing->waitExit(30000));
        EXPECT_EQ(progress(main), "2/3");
        EXPECT_TRUE(noBox(canopia, "確認", 1000));  // not while AutoCAD is away

        AcadStandin again;
        auto question = messageBoxWait(canopia.processId(), "確認", 10000);
        ASSERT_TRUE(question) << answer;
        EXPECT_EQ(question->text,
                  "一括処理が 2 / 3 個目のファイルで中断しました。残りの 2 個のファイルを処理しますか？");
        EXPECT_EQ(question->owner, main);
        messageBoxAnswer(question->hwnd, answer);

        if (answer == IDCANCEL) {
            EXPECT_TRUE(driver::waitFor([&] { return progress(main).empty(); }, 3000));
            EXPECT_TRUE(noBox(canopia, "確認", 1500));  // asked once
            EXPECT_TRUE(received(again).empty());
            continue;
        }
        auto end = messageBoxWait(canopia.processId(), "処理終了", 15000);
        ASSERT_TRUE(end);
        EXPECT_EQ(end->text, "2ファイルの一括処理が終了しました");
        messageBoxAnswer(end->hwnd, IDOK);
        const std::string tmp = canopia.path("tmp.scr");
        EXPECT_EQ(received(again),
                  (Strings{kCancel, "SDI\r", kCancel, kCancel, kCancel, "filedia\r", kCancel, "filedia 0\r", kCancel,
                           "osnapcoord\r", kCancel, "osnapcoord 1\r", "script " + tmp + "\r", kCancel, "filedia 1\r",
                           kCancel, "osnapcoord 0\r", kCancel}));
        auto scripts = scriptsRead(again);
        ASSERT_EQ(scripts.size(), 1u);
        EXPECT_EQ(scripts[0].bytes,
                  "open " + canopia.path("b.dwg") + "\r\n2 b.dwg\r\nopen " + canopia.path("c.dwg") + "\r\n3 c.dwg\r\n");
        // The resumed run is followed in the numbers of the whole run.
        EXPECT_TRUE(driver::waitFor([&] { return progress(main) == "3/3"; }, 5000)) << progress(main);
    }
}

TEST(BatchFollowEndToEnd, AScriptThatOpensNoDrawingShowsAndOffersNothing) {
    auto acad = std::make_unique<AcadStandin>(paced());
    driver::Canopia canopia(programFiles(2, "", "zoom e\r\n[%NUMBER%] [%FILENAME%]\r\n"));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(batchThroughABC(canopia, main));
    // The stand-in works through the six lines meanwhile; the bar keeps its one part throughout.
    const bool partAppeared = driver::waitFor([&] { return driver::statusParts(main).size() != 1; }, 3500);
    EXPECT_FALSE(partAppeared);
    acad.reset();
    AcadStandin again;
    EXPECT_TRUE(noBox(canopia, "確認", 2000));
    EXPECT_EQ(driver::statusParts(main).size(), 1u);
}
