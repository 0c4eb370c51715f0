// The demonstration's arguments and its account of a run: what a wrong split or escape would misreport.
#include <gtest/gtest.h>

#include "DemoReport.h"

using namespace demo;

namespace {

const std::string kHyo = "\x95\x5C";   // 表, trail byte 0x5C
const std::string kSo = "\x83\x5C";    // ソ, trail byte 0x5C
const std::string kZumen = "\x90\x7D\x96\xCA";  // 図面

std::vector<std::string> complete() {
    return {"--folder=Z:\\demo", "--transcript=Z:\\t.txt", "--current=" + kZumen + "/A3", "--batch=PDF/all",
            "C:\\" + kZumen + "\\a.dwg", "C:\\" + kZumen + "\\b.dwg"};
}

TranscriptEvent copyData(const std::string& bytes) {
    TranscriptEvent e;
    e.bytes = bytes;
    return e;
}

TranscriptEvent null() {
    TranscriptEvent e;
    e.kind = TranscriptEvent::Kind::Null;
    return e;
}

TranscriptEvent script(const std::string& path, const std::string& bytes) {
    TranscriptEvent e;
    e.kind = TranscriptEvent::Kind::Script;
    e.path = path;
    e.bytes = bytes;
    return e;
}

}  // namespace

TEST(DemoArguments, CompleteSetIsRead) {
    DemoOptions o;
    std::string error;
    auto args = complete();
    args.push_back("--shots=Z:\\shots");
    ASSERT_TRUE(parseArguments(args, o, error)) << error;
    EXPECT_EQ(o.folder, "Z:\\demo");
    EXPECT_EQ(o.shots, "Z:\\shots");
    EXPECT_EQ(o.current.group, kZumen);
    EXPECT_EQ(o.current.script, "A3");
    EXPECT_EQ(o.batch.group, "PDF");
    EXPECT_EQ(o.batch.script, "all");
    EXPECT_FALSE(o.writeBatch);
    EXPECT_EQ(o.drawings, (std::vector<std::string>{"C:\\" + kZumen + "\\a.dwg", "C:\\" + kZumen + "\\b.dwg"}));
    args.back() = "--edit=PDF/new";  // a script written in the editor first, in place of --batch
    args.erase(args.begin() + 3);
    DemoOptions edited;
    ASSERT_TRUE(parseArguments(args, edited, error)) << error;
    EXPECT_EQ(edited.batch.script, "new");
    EXPECT_TRUE(edited.writeBatch);
}

TEST(DemoArguments, EachMissingOrBrokenPartIsRefusedWithAMessage) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--folder=Z:\\demo", ""},          {"--transcript=Z:\\t.txt", ""}, {"--current=" + kZumen + "/A3", ""},
        {"--batch=PDF/all", ""},            {"--batch=PDF/all", "--batch=PDF"}, {"--batch=PDF/all", "--batch=/all"},
        {"--batch=PDF/all", "--batch=PDF/"}, {"--batch=PDF/all", "--batch=a/b/c"}, {"", "--speed=2"},
        {"", "--edit=PDF/new"},  // --batch and --edit both
        {"C:\\" + kZumen + "\\b.dwg", "C:\\other\\b.dwg"},  // drawings from two folders
        {"C:\\" + kZumen + "\\b.dwg", "b.dwg"},             // not a full path
    };
    for (const auto& [drop, add] : cases) {
        auto args = complete();
        for (auto it = args.begin(); it != args.end(); ++it)
            if (*it == drop) {
                args.erase(it);
                break;
            }
        if (!add.empty()) args.push_back(add);
        DemoOptions o;
        std::string error;
        EXPECT_FALSE(parseArguments(args, o, error)) << drop << " -> " << add;
        EXPECT_FALSE(error.empty()) << drop << " -> " << add;
    }
    DemoOptions o;
    std::string error;
    auto args = complete();
    args.erase(args.end() - 2, args.end());
    EXPECT_FALSE(parseArguments(args, o, error));  // no drawings at all
}

TEST(DemoArguments, TrailByteOfADoubleByteCharacterIsNoSeparator) {
    EXPECT_EQ(splitPath("C:\\" + kHyo + "\\" + kSo + ".dwg").folder, "C:\\" + kHyo);
    EXPECT_EQ(splitPath("C:\\" + kHyo + "\\" + kSo + ".dwg").name, kSo + ".dwg");
    EXPECT_EQ(splitPath("C:\\a\\" + kHyo).name, kHyo);        // the name ends in 0x5C
    EXPECT_EQ(splitPath("C:\\a.dwg").folder, "C:\\");         // a drive root keeps its backslash
    EXPECT_EQ(splitPath("a.dwg").folder, "");
    // Drawings whose names end in a 0x5C trail byte are still in one folder.
    DemoOptions o;
    std::string error;
    auto args = complete();
    args.push_back("C:\\" + kZumen + "\\" + kHyo);
    EXPECT_TRUE(parseArguments(args, o, error)) << error;
}

TEST(DemoRun, RecordTakesItsRangeWithTheClosingNulOffOnce) {
    const std::vector<TranscriptEvent> events = {copyData("SDI\r"), null(), copyData(std::string("\x03\x03\0", 3)),
                                                 null(), copyData(std::string("a\0\0", 3)),
                                                 script("Z:\\tmp.scr", "x\r\n"), null(), copyData("late")};
    const RunRecord run = runRecord(events, 2, 7);
    EXPECT_EQ(run.strings, (std::vector<std::string>{"\x03\x03", std::string("a\0", 2)}));
    EXPECT_EQ(run.nulls, 2u);
    ASSERT_EQ(run.scripts.size(), 1u);
    EXPECT_EQ(run.scripts[0].path, "Z:\\tmp.scr");
    EXPECT_TRUE(runRecord(events, 5, 100).strings.size() == 1);  // an end past the transcript stops there
}

TEST(DemoRun, ReceivedStringsReadWithTheirControlBytesSpelledOut) {
    EXPECT_EQ(readable("\x03\x03"), "^C^C");
    EXPECT_EQ(readable("filedia 0\r"), "filedia 0\\r");
    EXPECT_EQ(readable("a\nb\x1B\x7F"), "a\\nb\\x1B\\x7F");
    EXPECT_EQ(readable(std::string("\0", 1)), "\\x00");
    // Shift-JIS text is kept whole, a trail byte 0x5C too; a real backslash stays a backslash.
    EXPECT_EQ(readable("script C:\\" + kSo + kHyo + "\\tmp.scr\r"), "script C:\\" + kSo + kHyo + "\\tmp.scr\\r");
    EXPECT_EQ(readable("\x95"), "\x95");  // a lead byte cut off at the end
}

TEST(DemoRun, ScriptLinesEndAtLfOrCrLf) {
    EXPECT_EQ(scriptLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(scriptLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(scriptLines("a\rb\r"), (std::vector<std::string>{"a\rb\r"}));  // a CR alone ends no line
    EXPECT_TRUE(scriptLines("").empty());
    EXPECT_EQ(scriptLines(kSo + "\r\n" + kHyo), (std::vector<std::string>{kSo, kHyo}));
}

TEST(DemoRun, ReportNumbersStringsAndScriptLines) {
    RunRecord run;
    run.strings = {"select\r", "\x03\x03"};
    run.nulls = 2;
    run.scripts = {script("Z:\\tmp.scr", "_.OPEN \"" + kZumen + "\"\r\n_.CLOSE\r\n")};
    EXPECT_EQ(runReport(run),
              "  2 strings by WM_COPYDATA, 2 WM_NULL posted after them:\n"
              "     1  select\\r\n"
              "     2  ^C^C\n"
              "  2 lines in the script read from Z:\\tmp.scr:\n"
              "     1  _.OPEN \"" + kZumen + "\"\n"
              "     2  _.CLOSE\n");
}

TEST(DemoRun, ProblemsNameEachShortfall) {
    RunRecord run;
    run.strings.assign(15, "x");
    run.nulls = 15;
    run.scripts = {script("p", "")};
    EXPECT_TRUE(runProblems(run, 15, 1).empty());
    EXPECT_EQ(runProblems(run, 18, 1), (std::vector<std::string>{"15 strings received, 18 expected"}));
    EXPECT_EQ(runProblems(run, 15, 0), (std::vector<std::string>{"1 script files read, 0 expected"}));
    run.nulls = 14;
    run.scripts.clear();
    EXPECT_EQ(runProblems(run, 15, 1), (std::vector<std::string>{"14 WM_NULL received for 15 strings",
                                                              "0 script files read, 1 expected"}));
}
