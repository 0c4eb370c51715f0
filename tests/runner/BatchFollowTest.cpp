// Following a batch run by AutoCAD's title: which titles name which file, k/N through a run, and the
// question after AutoCAD went away.
#include <gtest/gtest.h>

#include "runner/BatchFollow.h"

namespace {

using runner::BatchFollower;
using runner::BatchRun;

struct TitleCase {
    const char* what;
    std::string title;
    std::string file;
    bool names;
};

TEST(BatchFollow, TitleNamesTheFileInsideItsLastBrackets) {
    const std::string plan = "1\x8A\x4B\x95\xBD\x96\xCA\x90\x7D.dwg";  // 1階平面図.dwg
    const TitleCase cases[] = {
        {"Japanese name, folder left out", "AutoCAD 2004 - [" + plan + "]", "C:\\\x90\x7D\x96\xCA\\" + plan, true},
        {"whole path in the title", "AutoCAD 2004 - [C:\\work\\a.dwg]", "D:\\other\\a.dwg", true},
        {"letter case", "AutoCAD 2004 - [A.DWG]", "c:\\x\\a.dwg", true},
        {"full-width letter case", "AutoCAD - [\x82\x81.dwg]", "C:\\\x82\x60.dwg", true},        // ａ / Ａ
        {"trail bytes are not letters", "AutoCAD - [\x83\x61.dwg]", "C:\\\x83\x41.dwg", false},  // ッ / ア
        {"brackets in the name", "AutoCAD - [plan[1].dwg]", "C:\\plan[1].dwg", true},
        {"text after the brackets", "AutoCAD 2004 - [a.dwg] *", "C:\\a.dwg", true},
        {"lone lead byte at the end", "AutoCAD - [a.dwg]\x83", "C:\\a.dwg", true},
        {"folder with 0x5C trail byte", "AutoCAD - [a.dwg]", "C:\\\x83\x5C\\a.dwg", true},   // ソ
        {"name ending in 0x5D trail byte", "AutoCAD - [a\x83\x5D]", "C:\\a\x83\x5D", true},  // ゾ
        {"longer name ending alike", "AutoCAD 2004 - [ab.dwg]", "C:\\b.dwg", false},
        {"another extension after it", "AutoCAD 2004 - [a.dwg.bak]", "C:\\a.dwg", false},
        {"0x5C trail byte is no separator",
         "AutoCAD - [\x95\x5C"
         "a.dwg]",
         "C:\\a.dwg", false},                                                             // 表
        {"0x5B trail byte is no bracket", "AutoCAD - \x81\x5B.dwg]", "C:\\.dwg", false},  // ー
        {"0x5D trail byte is no bracket", "AutoCAD - [a\x83\x5D", "C:\\a\x83", false},
        {"no brackets", "AutoCAD 2004", "C:\\AutoCAD 2004", false},
        {"cut short before the bracket", "AutoCAD 2004 - [C:\\very\\long\\a.dw", "C:\\a.dwg", false},
        {"empty file name", "AutoCAD 2004 - []", "C:\\work\\", false},
        {"empty title", "", "C:\\a.dwg", false},
        {"name longer than the title", "[a]", "C:\\abcdef.dwg", false},
    };
    for (const auto& c : cases) EXPECT_EQ(runner::titleNamesFile(c.title, c.file), c.names) << c.what;
}

// One tick of the watch and what the follower shows after it.
struct Step {
    const char* title;  // the followed window's title; nullptr: that window is gone
    bool found;         // an AutoCAD window is found
    bool canAsk;
    const char* shows;  // the second status-bar part after the tick
    bool asks;
};

constexpr bool kFound = true, kFree = true, kBusy = false;

std::string titled(const char* drawing) { return std::string("AutoCAD 2004 - [") + drawing + "]"; }

void play(BatchFollower& follower, const std::vector<Step>& steps, const char* what) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        const std::string title = s.title ? titled(s.title) : std::string();
        runner::WatchView view;
        view.alive = s.title != nullptr;
        view.title = title;
        view.found = s.found;
        view.canAsk = s.canAsk;
        EXPECT_EQ(follower.tick(view), s.asks) << what << ", step " << i;
        EXPECT_EQ(follower.progressText(), s.shows) << what << ", step " << i;
    }
}

BatchRun abc() { return {{"C:\\work\\a.dwg", "C:\\work\\b.dwg", "C:\\work\\c.dwg"}, 1, "C:\\lib\\each.scr"}; }

TEST(BatchFollow, ProgressThroughARunAndWhenTheQuestionComes) {
    const struct {
        const char* what;
        BatchRun run;
        const char* openAtHandOver;
        std::vector<Step> steps;
    } cases[] = {
        {"followed to its end",
         abc(),
         "Drawing1.dwg",
         {{"Drawing1.dwg", kFound, kFree, "", false},
          {"a.dwg", kFound, kFree, "1/3", false},
          {"a.dwg", kFound, kFree, "1/3", false},
          {"b.dwg", kFound, kFree, "2/3", false},
          {"Drawing1.dwg", kFound, kFree, "2/3", false},
          {"c.dwg", kFound, kFree, "3/3", false},
          {"Drawing1.dwg", kFound, kFree, "3/3", false},  // the end: nothing is offered after it
          {nullptr, kFound, kFree, "3/3", false},
          {"a.dwg", kFound, kFree, "3/3", false}}},
        {"the drawing open at the hand-over counts once the title changed",
         abc(),
         "c.dwg",
         {{"c.dwg", kFound, kFree, "", false}, {"a.dwg", kFound, kFree, "1/3", false}}},
        {"the first drawing open at the hand-over",
         abc(),
         "a.dwg",
         {{"a.dwg", kFound, kFree, "", false}, {"b.dwg", kFound, kFree, "2/3", false}}},
        {"a file the title never named is passed over",
         abc(),
         "Drawing1.dwg",
         {{"a.dwg", kFound, kFree, "1/3", false}, {"c.dwg", kFound, kFree, "3/3", false}}},
        {"files of one name count one after the other only with another title between",
         BatchRun{{"C:\\x\\p.dwg", "C:\\y\\P.DWG"}, 1, "s"},
         "Drawing1.dwg",
         {{"p.dwg", kFound, kFree, "1/2", false},
          {"p.dwg", kFound, kFree, "1/2", false},
          {"Drawing1.dwg", kFound, kFree, "1/2", false},
          {"p.dwg", kFound, kFree, "2/2", false}}},
        {"a crash at the second file: asked once, when AutoCAD is back and the program free",
         abc(),
         "Drawing1.dwg",
         {{"a.dwg", kFound, kFree, "1/3", false},
          {"b.dwg", kFound, kFree, "2/3", false},
          {nullptr, !kFound, kFree, "2/3", false},
          {nullptr, kFound, kBusy, "2/3", false},
          {nullptr, kFound, kFree, "2/3", true},
          {nullptr, kFound, kFree, "2/3", false}}},
        {"gone with the last file open",
         abc(),
         "Drawing1.dwg",
         {{"c.dwg", kFound, kFree, "3/3", false}, {nullptr, kFound, kFree, "3/3", true}}},
        {"a moment without AutoCAD's title is no failure",
         abc(),
         "Drawing1.dwg",
         {{"a.dwg", kFound, kFree, "1/3", false},
          {nullptr, !kFound, kFree, "1/3", false},
          {"b.dwg", kFound, kFree, "2/3", false}}},
        {"a script that opens nothing by name is never followed",
         abc(),
         "Drawing1.dwg",
         {{"Drawing1.dwg", kFound, kFree, "", false},
          {"x.dwg", kFound, kFree, "", false},
          {nullptr, kFound, kFree, "", false},
          {"a.dwg", kFound, kFree, "", false}}},
        {"a resumed run counts in the whole run",
         BatchRun{{"C:\\work\\b.dwg", "C:\\work\\c.dwg"}, 2, "s"},
         "Drawing1.dwg",
         {{"Drawing1.dwg", kFound, kFree, "", false},
          {"a.dwg", kFound, kFree, "", false},
          {"b.dwg", kFound, kFree, "2/3", false},
          {"c.dwg", kFound, kFree, "3/3", false}}},
    };
    for (const auto& c : cases) {
        BatchFollower follower;
        follower.start(c.run, titled(c.openAtHandOver));
        play(follower, c.steps, c.what);
    }
}

TEST(BatchFollow, QuestionNamesWhereTheRunStoppedAndTheRestStartsThere) {
    const struct {
        const char* lastSeen;
        const char* question;
        std::vector<std::string> rest;
        int firstNumber;
    } cases[] = {
        {"b.dwg",
         "一括処理が 2 / 3 個目のファイルで中断しました。残りの 2 個のファイルを処理しますか？",
         {"C:\\work\\b.dwg", "C:\\work\\c.dwg"},
         2},
        {"c.dwg",
         "一括処理が 3 / 3 個目のファイルで中断しました。残りの 1 個のファイルを処理しますか？",
         {"C:\\work\\c.dwg"},
         3},
    };
    for (const auto& c : cases) {
        BatchFollower follower;
        follower.start(abc(), titled("Drawing1.dwg"));
        const std::string seen = titled(c.lastSeen);
        follower.tick({true, seen, true, true});
        const runner::WatchView gone{false, "", true, true};
        ASSERT_TRUE(follower.tick(gone)) << c.lastSeen;
        EXPECT_EQ(follower.resumeQuestion(), c.question);
        const BatchRun rest = follower.remaining();
        EXPECT_EQ(rest.files, c.rest);
        EXPECT_EQ(rest.firstNumber, c.firstNumber);
        EXPECT_EQ(rest.total(), 3);
        EXPECT_EQ(rest.script, "C:\\lib\\each.scr");
        follower.questionDone();  // Cancel: the run is forgotten
        EXPECT_EQ(follower.progressText(), "");
        EXPECT_FALSE(follower.tick(gone));
    }

    // OK: the resumed run, started while the question was open, is the one followed afterwards.
    BatchFollower follower;
    follower.start(abc(), titled("Drawing1.dwg"));
    const std::string b = titled("b.dwg");
    follower.tick({true, b, true, true});
    ASSERT_TRUE(follower.tick({false, "", true, true}));
    follower.start(follower.remaining(), titled("Drawing1.dwg"));
    follower.questionDone();
    EXPECT_FALSE(follower.tick({true, b, true, true}));
    EXPECT_EQ(follower.progressText(), "2/3");
}

}  // namespace
