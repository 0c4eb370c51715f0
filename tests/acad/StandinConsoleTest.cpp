// The AutoCAD stand-in's command line, options and transcript: the stand-in is what the Windows tests
// trust, so its own answers are checked here.
#include <gtest/gtest.h>

#include <map>

#include "StandinConsole.h"
#include "StandinOptions.h"
#include "Transcript.h"

namespace {

TEST(StandinConsole, VariablePromptShowsTheCurrentValueAndEnterSetsIt) {
    StandinConsole console(1, 1, 0);
    std::vector<std::pair<std::string, int>> changes;
    console.setVariableObserver([&](const std::string& n, int v) { changes.emplace_back(n, v); });

    console.type("SDI\r");
    EXPECT_EQ(console.currentLine(), "SDI の新しい値を入力 <1>: ");
    console.type("\x03\x03");
    EXPECT_EQ(console.variable("SDI"), 1);  // a cancel leaves the value
    EXPECT_EQ(console.currentLine(), "コマンド: ");

    console.type("filedia 0\r");
    EXPECT_EQ(console.variable("FILEDIA"), 0);
    console.type("osnapcoord\r2\r");
    EXPECT_EQ(console.variable("osnapcoord"), 2);
    EXPECT_EQ(changes, (std::vector<std::pair<std::string, int>>{{"FILEDIA", 0}, {"OSNAPCOORD", 2}}));

    console.type("osnapcoord\r");
    EXPECT_NE(console.commandLineText().find("<2>"), std::string::npos);
}

TEST(StandinConsole, OutOfRangeValueIsRefusedAndAskedAgain) {
    StandinConsole console(1, 1, 0);
    console.type("FILEDIA\r5\r");
    EXPECT_EQ(console.variable("FILEDIA"), 1);
    EXPECT_EQ(console.currentLine(), "FILEDIA の新しい値を入力 <1>: ");
    console.type("x\r\r");  // not a number, then an empty Enter keeps the value
    EXPECT_EQ(console.variable("FILEDIA"), 1);
    EXPECT_EQ(console.currentLine(), "コマンド: ");
}

TEST(StandinConsole, CancelPairCountsOnceAndShowsInTheHistory) {
    StandinConsole console(1, 1, 0);
    console.type("\x03\x03");
    ASSERT_EQ(console.history().size(), 1u);
    EXPECT_EQ(console.history()[0], "コマンド: *キャンセル*");
    console.type("zoo\x03\x03");
    EXPECT_EQ(console.history().back(), "コマンド: zoo*キャンセル*");
}

TEST(StandinConsole, CommandLineTextIsTheLastThreeLinesCurrentLast) {
    StandinConsole console(2, 1, 0);
    console.type("\x03\x03" "SDI\r");
    EXPECT_EQ(console.commandLineText(), "コマンド: *キャンセル*\r\nコマンド: SDI\r\nSDI の新しい値を入力 <2>: ");
    console.type("\x03\x03" "zoom e\r");
    EXPECT_EQ(console.commandLineText(), "コマンド: zoom\r\nオプションを入力: e\r\nコマンド: ");
}

TEST(StandinConsole, InputStopsAtNul) {
    StandinConsole console(1, 1, 0);
    console.type(std::string("filedia 0\r\0osnapcoord 1\r", 24));
    EXPECT_EQ(console.variable("FILEDIA"), 0);
    EXPECT_EQ(console.variable("OSNAPCOORD"), 0);
}

TEST(StandinConsole, ScriptRunsItsLinesAndReportsTheFile) {
    std::map<std::string, std::string> files = {
        {"C:\\tmp\\tmp.scr", "filedia 0\r\nosnapcoord\r\n2\nSDI\r0\r"},
        {"C:\\\x95\x5C\\a b.scr", "filedia 0\r\n"},  // 表, trail byte 0x5C; a blank in the name
    };
    StandinConsole console(1, 1, 0);
    std::vector<std::string> seen;
    console.setFileReader([&](const std::string& p, std::string& c) {
        auto it = files.find(p);
        if (it == files.end()) return false;
        c = it->second;
        return true;
    });
    console.setScriptObserver([&](const std::string& p, const std::string&) { seen.push_back(p); });

    console.type("script C:\\tmp\\tmp.scr\r");
    EXPECT_EQ(console.variable("FILEDIA"), 0);
    EXPECT_EQ(console.variable("OSNAPCOORD"), 2);
    EXPECT_EQ(console.variable("SDI"), 0);  // lone CR ends a line too

    console.type("_script \"C:\\\x95\x5C\\a b.scr\"\r");
    console.type("SCRIPT C:\\missing.scr\r");
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\tmp\\tmp.scr", "C:\\\x95\x5C\\a b.scr"}));
    EXPECT_EQ(console.currentLine(), "コマンド: ");
}

TEST(StandinConsole, ScriptThatRunsItselfStops) {
    StandinConsole console(1, 1, 0);
    int runs = 0;
    console.setFileReader([](const std::string&, std::string& c) {
        c = "script self.scr\r\n";
        return true;
    });
    console.setScriptObserver([&](const std::string&, const std::string&) { ++runs; });
    console.type("script self.scr\r");
    EXPECT_LE(runs, 10);
    EXPECT_EQ(console.currentLine(), "コマンド: ");
}

TEST(StandinConsole, OpenNamesTheDrawingWithOrWithoutPrefixesAndQuotes) {
    const struct {
        const char* typed;
        const char* opened;  // nullptr: nothing opened
    } cases[] = {
        {"open C:\\work\\a.dwg\r", "C:\\work\\a.dwg"},
        {"_open C:\\a.dwg\r", "C:\\a.dwg"},
        {"_.OPEN \"C:\\my work\\\x95\x5C.dwg\"\r", "C:\\my work\\\x95\x5C.dwg"},  // 表, trail byte 0x5C
        {"open\rC:\\b.dwg\r", "C:\\b.dwg"},     // the name at its own prompt
        {"open \r", nullptr},                     // an empty name opens nothing
        {"open C:\\x.dwg\x03\x03", nullptr},      // cancelled before Enter
        {"opened C:\\a.dwg\r", nullptr},         // another command
        {"close\r", ""},
    };
    for (const auto& c : cases) {
        StandinConsole console(1, 1, 0);
        std::vector<std::string> opened;
        console.setDrawingObserver([&](const std::string& path) { opened.push_back(path); });
        console.type(c.typed);
        EXPECT_EQ(opened, c.opened ? std::vector<std::string>{c.opened} : std::vector<std::string>{}) << c.typed;
        EXPECT_EQ(console.currentLine(), "コマンド: ") << c.typed;
    }
}

TEST(StandinConsole, PacedScriptIsTypedALineAtATime) {
    StandinConsole console(1, 1, 0);
    console.setScriptPaced(true);
    console.setFileReader([](const std::string& p, std::string& c) {
        c = p == "next.scr" ? "filedia 1\r\n" : "open a.dwg\r\nfiledia 0\nscript next.scr\r\nosnapcoord 2\r\n";
        return true;
    });
    std::vector<std::string> opened;
    console.setDrawingObserver([&](const std::string& path) { opened.push_back(path); });
    console.type("script tmp.scr\r");
    EXPECT_TRUE(opened.empty());  // nothing typed yet
    console.type("SDI 0\r");        // what arrives meanwhile is taken at once
    EXPECT_EQ(console.variable("SDI"), 0);
    ASSERT_TRUE(console.typeNextScriptLine());
    EXPECT_EQ(opened, std::vector<std::string>{"a.dwg"});
    ASSERT_TRUE(console.typeNextScriptLine());
    EXPECT_EQ(console.variable("FILEDIA"), 0);
    ASSERT_TRUE(console.typeNextScriptLine());  // a script in the script replaces the rest
    ASSERT_TRUE(console.typeNextScriptLine());
    EXPECT_EQ(console.variable("FILEDIA"), 1);
    EXPECT_FALSE(console.typeNextScriptLine());
    EXPECT_EQ(console.variable("OSNAPCOORD"), 0);
}

TEST(StandinOptions, TitleNamesTheOpenedDrawing) {
    const struct {
        const char* title;
        const char* path;
        const char* shown;
    } cases[] = {
        {"AutoCAD 2004 - [Drawing1.dwg]", "C:\\work\\a.dwg", "AutoCAD 2004 - [a.dwg]"},
        {"AutoCAD 2004 - [Drawing1.dwg]", "Z:\\\x90\x7D\x96\xCA\\\x83\x5C.dwg", "AutoCAD 2004 - [\x83\x5C.dwg]"},  // ソ
        {"AutoCAD 2004 - [Drawing1.dwg]", "C:\\\x95\x5C", "AutoCAD 2004 - [\x95\x5C]"},  // 表 is no separator
        {"AutoCAD 2004", "D:a.dwg", "AutoCAD 2004 - [a.dwg]"},
        {"AutoCAD 2004 - [Drawing1.dwg]", "b.dwg", "AutoCAD 2004 - [b.dwg]"},
    };
    for (const auto& c : cases) EXPECT_EQ(standin::titleWithDrawing(c.title, c.path), c.shown) << c.path;
}

TEST(StandinOptions, QuotedArgumentsSplitBackUnchanged) {
    const std::string args[] = {
        "plain",
        "with blank",
        "",
        "quote\"inside",
        "C:\\folder\\",                     // trailing backslash before the closing quote
        "\\\\server\\share\\\"x\"",
        "Z:\\\x95\x5C\\\x83\x5C\\t.txt",     // 表 and ソ, trail bytes 0x5C
        "AutoCAD \x83\x65\x83\x4C\x83\x58\x83\x67 \"x\"",
        "\x95\x5C\"",                        // 表 right before a quote
    };
    std::string line = "prog.exe";
    for (const auto& a : args) line += " " + standin::quoteArgument(a);
    const auto split = standin::splitCommandLine(line);
    ASSERT_EQ(split.size(), std::size(args) + 1);
    for (std::size_t i = 0; i < std::size(args); ++i) EXPECT_EQ(split[i + 1], args[i]) << i;
}

TEST(StandinOptions, ArgumentsRoundTrip) {
    StandinOptions o;
    o.title = "AutoCAD 2004 - [\x95\x5C \"1\".dwg]";
    o.className = "NoAfx";
    o.sdi = 2;
    o.filedia = 0;
    o.osnapcoord = 2;
    o.mountTam = false;
    o.secondWindow = true;
    o.textWindow = true;
    o.hangMilliseconds = 300;
    o.hangFrom = 2;
    o.scriptPaceMs = 250;
    o.crashAt = 2;
    o.elevated = true;
    o.transcriptPath = "Z:\\tmp\\t r.txt";
    o.statePath = "Z:\\tmp\\state.txt";
    StandinOptions back;
    std::string error;
    ASSERT_TRUE(standin::parseArguments(standin::splitCommandLine(standin::argumentsFor(o)), back, error)) << error;
    EXPECT_EQ(back.title, o.title);
    EXPECT_EQ(back.className, o.className);
    EXPECT_EQ(back.sdi, 2);
    EXPECT_EQ(back.filedia, 0);
    EXPECT_EQ(back.osnapcoord, 2);
    EXPECT_FALSE(back.mountTam);
    EXPECT_TRUE(back.secondWindow);
    EXPECT_EQ(back.secondTitle, o.secondTitle);
    EXPECT_TRUE(back.textWindow);
    EXPECT_EQ(back.hangMilliseconds, 300u);
    EXPECT_EQ(back.hangFrom, 2u);
    EXPECT_EQ(back.scriptPaceMs, 250u);
    EXPECT_EQ(back.crashAt, 2u);
    EXPECT_TRUE(back.elevated);
    EXPECT_EQ(back.transcriptPath, o.transcriptPath);
    EXPECT_EQ(back.statePath, o.statePath);
}

TEST(StandinOptions, BadOptionsAreRefused) {
    for (const char* bad : {"--sdi=4", "--filedia=2", "--osnapcoord=x", "--hang-from=0", "--colour=red", "--title",
                            "--script-pace=0", "--crash-at=", "--elevated=1"}) {
        StandinOptions o;
        std::string error;
        EXPECT_FALSE(standin::parseArguments({bad}, o, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    StandinOptions o;
    std::string error;
    ASSERT_TRUE(standin::parseArguments({"--hang=2"}, o, error));
    EXPECT_EQ(o.hangMilliseconds, 2000u);
}

TEST(Transcript, LinesParseBackIntoEvents) {
    std::string text = transcript::copyDataLine(0, 1, 8, true, std::string("zoom e\r\0", 8)) +
                       transcript::setLine("FILEDIA", "0") + transcript::nullLine(1) +
                       transcript::scriptLine("C:\\\x95\x5C.scr", "") + "garbage line\n" +
                       transcript::copyDataLine(2, 1, 0, false, "") + "COPYDATA 0 1 3 1 0303";  // unfinished
    const auto events = transcript::parse(text);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, TranscriptEvent::Kind::CopyData);
    EXPECT_EQ(events[0].cbData, 8u);
    EXPECT_EQ(events[0].bytes, std::string("zoom e\r\0", 8));
    EXPECT_TRUE(events[0].wParamIsWindow);
    EXPECT_EQ(events[1].kind, TranscriptEvent::Kind::Null);
    EXPECT_EQ(events[1].window, 1);
    EXPECT_EQ(events[2].kind, TranscriptEvent::Kind::Script);
    EXPECT_EQ(events[2].path, "C:\\\x95\x5C.scr");
    EXPECT_EQ(events[2].bytes, "");
    EXPECT_EQ(events[3].window, 2);
    EXPECT_EQ(events[3].cbData, 0u);
}

}  // namespace
