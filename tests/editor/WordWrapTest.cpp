// Word wrap by the Japanese line-breaking rules: one table of lines per option and set member, lines that
// could make a wrapper hang, and re-wrapping in the store when an option or the tab width changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "editor/EditorStrings.h"
#include "editor/WordWrapper.h"

namespace {

std::string A(int n) { return std::string(static_cast<std::size_t>(n), 'a'); }
std::string times(int n, const std::string& s) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

const std::string kHyo = "\x95\x5C";     // 表, trail byte 0x5C
const std::string kKagi = "\x81\x75";    // 「, in LeadStr
const std::string kMaru = "\x81\x42";    // 。, in FollowStr and PunctuationStr
const std::string kChoon = "\x81\x5B";   // ー, in FollowStr only
const std::string kNakaguro = "\x81\x45";  // ・, in FollowStr only
const std::string kZe = "\x83\x5B";      // ゼ, trail byte 0x5B is "[" of LeadStr
const std::string kPlus = "\x81\x7B";    // ＋, trail byte 0x7B is "{" of LeadStr
const std::string kZo = "\x83\x5D";      // ゾ, trail byte 0x5D is "]" of FollowStr
const std::string kHalfKagi = "\xA2";    // ｢, a single-byte member of LeadStr

enum : unsigned { kWordBreak = 1, kPunctuation = 2, kLeading = 4, kRetMark = 8 };

// The rows one line is cut into, joined by "|" (a final "|" is the empty row that holds the line end).
std::string wrap(const std::string& line, unsigned flags, int tab = 8) {
    TEditorWrapOption option;
    option.SetWrapByte(20);
    option.SetWordBreak(flags & kWordBreak);
    option.SetFollowPunctuation(flags & kPunctuation);
    option.SetLeading(flags & kLeading);
    option.SetFollowRetMark(flags & kRetMark);
    ColumnMapOptions columns;
    columns.tabSpaceCount = tab;
    std::vector<int> lengths;
    JapaneseWordWrapper().WrapLine(line, option, columns, lengths);
    std::string out;
    std::size_t at = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (i) out += '|';
        EXPECT_TRUE(lengths[i] > 0 || i + 1 == lengths.size()) << "empty row in the middle of the line";
        out += line.substr(at, static_cast<std::size_t>(lengths[i]));
        at += static_cast<std::size_t>(lengths[i]);
    }
    EXPECT_EQ(at, line.size()) << "the rows do not join back to the line";
    return out;
}

struct Case {
    const char* name;
    unsigned flags;
    std::string line;
    std::string rows;
};

}  // namespace

TEST(WordWrap, EachOptionAndSetMemberAtWrapByte20) {
    const std::vector<Case> cases = {
        // The plain cut.
        {"narrower than the width", 0, A(19), A(19)},
        {"exactly the width ends on an empty row", 0, A(20), A(20) + "|"},
        {"with FollowRetMark on that row itself", kRetMark, A(20), A(20)},
        {"cut again and again", 0, A(45), A(20) + "|" + A(20) + "|" + A(5)},
        {"a double-byte character is not split", 0, A(19) + kHyo + "b", A(19) + "|" + kHyo + "b"},
        {"a tab's blanks end at the width", 0, std::string(17, 'x') + "\tyyyyy", std::string(17, 'x') + "\t|yyyyy"},
        {"tabs of 8 columns", 0, "\t\t\t\t\tyyyy", "\t\t\t|\t\tyyyy|"},
        // WordBreak: back to the end of a word, not below a third of the width.
        {"word moves down", kWordBreak, "aaaa bbbb cccc dddddddd eeee", "aaaa bbbb cccc |dddddddd eeee"},
        {"without WordBreak the word is cut", 0, "aaaa bbbb cccc dddddddd eeee", "aaaa bbbb cccc ddddd|ddd eeee"},
        {"a break after a double-byte character", kWordBreak, A(16) + kHyo + "abcdef", A(16) + kHyo + "|abcdef"},
        {"a break exactly at a third", kWordBreak, "aaaaa " + std::string(19, 'c'),
         "aaaaa |" + std::string(19, 'c')},
        {"a word longer than the row is cut where it stands", kWordBreak, "ab " + std::string(30, 'c'),
         "ab " + std::string(17, 'c') + "|" + std::string(13, 'c')},
        {"nothing follows: no step back", kWordBreak, A(20), A(20) + "|"},
        // FollowPunctuation: PunctuationStr hangs past the margin, up to two columns.
        {"a full stop hangs", kPunctuation, A(20) + kMaru + "b", A(20) + kMaru + "|b"},
        {"only two columns hang", kPunctuation, A(20) + kMaru + kMaru + "b", A(20) + kMaru + "|" + kMaru + "b"},
        {"single-byte punctuation", kPunctuation, A(20) + ",.x", A(20) + ",.|x"},
        {"a hung stop that ends the line", kPunctuation, A(20) + kMaru, A(20) + kMaru + "|"},
        {"FollowStr alone does not hang", kPunctuation, A(20) + kNakaguro + "b", A(20) + "|" + kNakaguro + "b"},
        {"without the option nothing hangs", 0, A(20) + kMaru + "b", A(20) + "|" + kMaru + "b"},
        // Leading: no LeadStr character at a row's end, no FollowStr character at a row's start.
        {"an opening bracket moves down", kLeading, A(18) + kKagi + "bc", A(18) + "|" + kKagi + "bc"},
        {"without Leading it stays", 0, A(18) + kKagi + "bc", A(18) + kKagi + "|bc"},
        {"a single-byte LeadStr member", kLeading, A(19) + kHalfKagi + "b", A(19) + "|" + kHalfKagi + "b"},
        {"a full stop takes a character with it", kLeading, A(20) + kMaru + "x", A(19) + "|a" + kMaru + "x"},
        {"a long-vowel mark too", kLeading, A(20) + kChoon + "x", A(19) + "|a" + kChoon + "x"},
        {"a run of closing brackets, back to four fifths", kLeading, A(17) + times(4, "\x81\x76") + "x",
         A(16) + "|a" + times(4, "\x81\x76") + "x"},
        {"a hung stop that would leave a FollowStr character first is given back", kPunctuation | kLeading,
         A(20) + kMaru + kChoon + "x", A(19) + "|a" + kMaru + kChoon + "x"},
        // Members are whole characters: a trail byte that equals a single-byte member is no member.
        {"ZE is not [", kLeading, A(18) + kZe + "bcd", A(18) + kZe + "|bcd"},
        {"full-width plus is not {", kLeading, A(18) + kPlus + "bcd", A(18) + kPlus + "|bcd"},
        {"ZO is not ]", kLeading, A(20) + kZo + "x", A(20) + "|" + kZo + "x"},
        // Lines made only of set members end, and every cut takes at least one character.
        {"only LeadStr", kLeading, times(15, kKagi), times(8, kKagi) + "|" + times(7, kKagi)},
        {"only FollowStr", kLeading, times(15, kMaru), times(8, kMaru) + "|" + times(7, kMaru)},
        {"only punctuation", kPunctuation | kLeading | kWordBreak, times(15, kMaru),
         times(8, kMaru) + "|" + times(7, kMaru)},
        {"only punctuation, hanging", kPunctuation, times(21, kMaru),
         times(11, kMaru) + "|" + times(10, kMaru) + "|"},
        {"only single-byte LeadStr", kLeading | kWordBreak, std::string(30, '('),
         std::string(16, '(') + "|" + std::string(14, '(')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wrap(c.line, c.flags), c.rows);
    }
    EXPECT_EQ(wrap("\t\t\t\t\tyyyy", 0, 4), "\t\t\t\t\t|yyyy");
}

TEST(WordWrap, SetsAreTheirTextsCharacterByCharacter) {
    TEditorWrapOption o;
    for (const std::string& ch : {kMaru, kChoon, kNakaguro, std::string(")"), std::string("\xDF")}) {
        EXPECT_TRUE(o.FollowSet().Contains(ch));
    }
    EXPECT_TRUE(o.LeadSet().Contains(kKagi));
    EXPECT_TRUE(o.LeadSet().Contains("["));
    EXPECT_FALSE(o.LeadSet().Contains(kZe));
    EXPECT_FALSE(o.LeadSet().Contains("\x81"));  // the lead byte of （ alone
    EXPECT_FALSE(o.PunctuationSet().Contains(kNakaguro));
    o.SetLeadStr("x" + kZe + "\x81");  // a lead byte at the end is a single-byte member
    EXPECT_TRUE(o.LeadSet().Contains(kZe));
    EXPECT_TRUE(o.LeadSet().Contains("\x81"));
    EXPECT_FALSE(o.LeadSet().Contains("["));
    EXPECT_FALSE(o.LeadSet().Contains(kKagi));
}

// Changing a wrap option or the tab width while word wrap is on re-wraps every line; the marks of a line's
// pieces are ORed together and given to each of its new rows, and the text does not change.
TEST(WordWrap, StoreRewrapsWhenAnOptionOrTheTabWidthChanges) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    const std::string x16(16, 'x');
    const std::string text = "aaaa bbbb cccc dddddddd eeee\r\n" + x16 + "\tyyy\r\n";
    s.SetText(text);
    s.SetWordWrap(true);
    EXPECT_EQ(dumpRows(s), "aaaa bbbb cccc ddddd|W ddd eeee|L " + x16 + "\t|W yyy|L");
    s.SetTabSpaceCount(2);  // the tab at column 16 now takes two columns
    EXPECT_EQ(dumpRows(s), "aaaa bbbb cccc ddddd|W ddd eeee|L " + x16 + "\tyy|W y|L");
    s.SetMarks(0, 0x0001);
    s.SetMarks(1, 0x0004);
    s.WrapOption().SetWordBreak(true);
    EXPECT_EQ(dumpRows(s), "aaaa bbbb cccc |W dddddddd eeee|L " + x16 + "\t|W yyy|L");
    EXPECT_EQ(s.Marks(0), 0x0005);
    EXPECT_EQ(s.Marks(1), 0x0005);
    EXPECT_EQ(s.Marks(2), 0);
    EXPECT_EQ(s.Text(), text);
    EXPECT_EQ(prevAttributeMismatch(s), -1);
}

// Every column map of the store's rows follows its tab width: Lines puts the caret after a tab at the column
// the store's tab width gives, and the width is clamped as the caret's TabSpaceCount is.
TEST(WordWrap, TheStoresTabWidthIsTheOneTheColumnsFollow) {
    TEditorScreenStrings s;
    RecordingEditor e;
    s.Attach(&e);
    s.SetText("\r\n");
    TEditorStrings lines(s, &e);
    struct Width {
        int given, kept, caretAfterTabAndX;
    };
    for (const Width& w : {Width{4, 4, 5}, Width{7, 6, 7}, Width{1, 2, 3}, Width{12, 8, 9}}) {
        s.SetTabSpaceCount(w.given);
        EXPECT_EQ(s.TabSpaceCount(), w.kept);
        EXPECT_EQ(s.ColumnOptions().tabSpaceCount, w.kept);
        lines.Put(0, "\tx");
        EXPECT_EQ(e.CaretCol(), w.caretAfterTabAndX) << "tab width " << w.given;
    }
    s.Detach(&e);
}
