// Tokenisers: the first-byte rules over every byte range, the scheme's start rules, brackets across rows,
// wrapped continuation and colours.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "core/AppError.h"
#include "editor/EditorParser.h"
#include "editor/Fountain.h"
#include "editor/ScriptScheme.h"
#include "editor/TokenParser.h"

namespace {

struct Tok {
    TTokenKind kind;
    std::string text;
    bool operator==(const Tok& o) const { return kind == o.kind && text == o.text; }
};

void PrintTo(const Tok& t, std::ostream* os) {
    *os << "{" << static_cast<int>(t.kind) << ", \"";
    for (unsigned char c : t.text) {
        if (c >= 0x20 && c < 0x7F) *os << c;
        else *os << "\\x" << std::hex << static_cast<int>(c) << std::dec;
    }
    *os << "\"}";
}

std::vector<Tok> tokensOf(TTokenParser& p, std::string_view text, const TokenStartState& state = {}) {
    std::vector<Tok> out;
    p.Start(text, state);
    for (int guard = 0; guard < 10000; ++guard) {
        const TTokenKind k = p.Next();
        if (k == tkEnd) return out;
        out.push_back({k, std::string(p.TokenString())});
    }
    ADD_FAILURE() << "tokeniser did not end";
    return out;
}

// The program's configuration: commenter ";" and, for several-files scripts, the tag pair.
struct ProgramScheme {
    TEditorViewInfo view;
    explicit ProgramScheme(bool tags = true) { editor::ApplyScriptScheme(view, tags); }
    TEditorParser parser() const { return TEditorParser(&view.Fountain()); }
};

struct Case {
    const char* name;
    std::string text;
    std::vector<Tok> expected;
};

void runCases(TTokenParser& p, const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tokensOf(p, c.text), c.expected);
    }
}

}  // namespace

TEST(TokenParser, FirstByteRulesOverEveryRange) {
    TTokenParser p;
    runCases(p, {
        {"tab is its own token", "\tA", {{tkTab, "\t"}, {tkAnk, "A"}}},
        {"blanks 1..8 and 10..32 belong to no token", "\x01\x08\x0B\x1F A", {{tkAnk, "A"}}},
        {"integer", "123", {{tkInteger, "123"}}},
        {"fraction and signed exponent make one float", "12.5e+3", {{tkFloat, "12.5e+3"}}},
        {"exponent without sign", "1E5", {{tkFloat, "1E5"}}},
        {"full stop without digit ends the integer", "12.", {{tkInteger, "12"}, {tkSymbol, "."}}},
        {"e without digits is not an exponent", "12e+", {{tkInteger, "12"}, {tkAnk, "e"}, {tkSymbol, "+"}}},
        {"coordinates", "100.5,-20", {{tkFloat, "100.5"}, {tkSymbol, ","}, {tkSymbol, "-"}, {tkInteger, "20"}}},
        {"word with underscore and digits", "abc_12", {{tkAnk, "abc_12"}}},
        {"word may start with underscore", "_.LINE", {{tkAnk, "_"}, {tkSymbol, "."}, {tkAnk, "LINE"}}},
        {"ASCII punctuation, DEL, 0x80, 0xA0, 0xFD-0xFF are symbols", "@\x7F\x80\xA0\xFD\xFF",
         {{tkSymbol, "@"}, {tkSymbol, "\x7F"}, {tkSymbol, "\x80"}, {tkSymbol, "\xA0"}, {tkSymbol, "\xFD"},
          {tkSymbol, "\xFF"}}},
        {"full-width space and long vowel mark alone are symbols", "\x81\x40\x81\x5B",  // 　 ー
         {{tkDbSymbol, "\x81\x40"}, {tkDbSymbol, "\x81\x5B"}}},
        {"0x84-0x87 leads are symbols", "\x84\x40\x87\x40",  // А ①
         {{tkDbSymbol, "\x84\x40"}, {tkDbSymbol, "\x87\x40"}}},
        {"full-width digits take the full-width comma and period",
         "\x82\x50\x82\x51\x81\x43\x82\x52\x81\x44\x82\x53",  // １２，３．４
         {{tkDbDigits, "\x82\x50\x82\x51\x81\x43\x82\x52\x81\x44\x82\x53"}}},
        {"full-width upper and lower letters are one run", "\x82\x60\x82\x79\x82\x81\x82\x9A",  // ＡＺａｚ
         {{tkDbLetters, "\x82\x60\x82\x79\x82\x81\x82\x9A"}}},
        {"hiragana run takes the long vowel marks", "\x82\xE7\x81\x5B\x82\xF1\x81\x7C",  // らーん－
         {{tkHiragana, "\x82\xE7\x81\x5B\x82\xF1\x81\x7C"}}},
        {"other 0x82 trails are symbols", "\x82\x40\x82\xF2",
         {{tkDbSymbol, "\x82\x40"}, {tkDbSymbol, "\x82\xF2"}}},
        {"katakana run, 0x5C trail inside", "\x83\x5C\x83\x4A\x81\x5B\x83\x96",  // ソカーヶ
         {{tkKatakana, "\x83\x5C\x83\x4A\x81\x5B\x83\x96"}}},
        {"Greek letters under 0x83 are symbols", "\x83\x9F\x83\xBF",  // Αα
         {{tkDbSymbol, "\x83\x9F"}, {tkDbSymbol, "\x83\xBF"}}},
        {"kanji then hiragana are two tokens", "\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8",  // 漢字かな
         {{tkKanji, "\x8A\xBF\x8E\x9A"}, {tkHiragana, "\x82\xA9\x82\xC8"}}},
        {"kanji run over both lead ranges, 0x5C trail kept whole", "\x95\x5C\xE0\x40\x88\x9F",  // 表漾亜
         {{tkKanji, "\x95\x5C\xE0\x40\x88\x9F"}}},
        {"half-width punctuation one byte each", "\xA1\xA5", {{tkKanaSymbol, "\xA1"}, {tkKanaSymbol, "\xA5"}}},
        {"half-width katakana run", "\xB1\xB2\xB3\xDF", {{tkKana, "\xB1\xB2\xB3\xDF"}}},
        {"kana after a word", "AB\xB1", {{tkAnk, "AB"}, {tkKana, "\xB1"}}},
    });
}

TEST(TokenParser, NeverReadsPastTheEndOfTheRow) {
    TTokenParser p;
    runCases(p, {
        {"byte 0 ends the row", std::string("A\0B", 3), {{tkAnk, "A"}}},
        {"CR ends the row", "A\rB", {{tkAnk, "A"}}},
        {"lead byte at the end is one byte", "A\x88", {{tkAnk, "A"}, {tkKanji, "\x88"}}},
        {"0x82 lead at the end", "\x82", {{tkDbSymbol, "\x82"}}},
        {"lead byte before a byte that cannot be a trail",
         "\x88\x20"
         "B",
         {{tkKanji, "\x88"}, {tkAnk, "B"}}},
        {"empty", "", {}},
    });
    // A view into a longer buffer ends at its own size.
    const std::string buffer = "ABC DEF";
    p.Start(std::string_view(buffer).substr(0, 2));
    EXPECT_EQ(p.Next(), tkAnk);
    EXPECT_EQ(p.TokenString(), "AB");
    EXPECT_EQ(p.Next(), tkEnd);
    EXPECT_EQ(p.Next(), tkEnd);
}

TEST(EditorParser, CommentsAndTagsInTheProgramsConfiguration) {
    ProgramScheme scheme;
    auto p = scheme.parser();
    runCases(p, {
        {"a commenter row is one comment token", "; open every drawing",
         {{tkComment, "; open every drawing"}}},
        {"a commenter mid-row colours from there on", "ZOOM E ;fit",
         {{tkAnk, "ZOOM"}, {tkAnk, "E"}, {tkComment, ";fit"}}},
        {"a tag is exactly its ten bytes", "_.OPEN [%FOLDER%]\\a.dwg",
         {{tkAnk, "_"}, {tkSymbol, "."}, {tkAnk, "OPEN"}, {tkBracket, "[%FOLDER%]"}, {tkSymbol, "\\"},
          {tkAnk, "a"}, {tkSymbol, "."}, {tkAnk, "dwg"}}},
        {"a commenter inside a tag is part of the tag", "[%A;B%] C", {{tkBracket, "[%A;B%]"}, {tkAnk, "C"}}},
        {"a tag after the commenter is comment", "; [%FOLDER%]", {{tkComment, "; [%FOLDER%]"}}},
        {"an unclosed tag runs to the end of the row", "X [%FOL DER", {{tkAnk, "X"}, {tkBracket, "[%FOL DER"}}},
        {"the right bracket is not found in a trail byte", "[%\x83\x5C%]",  // ソ
         {{tkBracket, "[%\x83\x5C%]"}}},
        {"two tags on a row", "[%A%][%B%]", {{tkBracket, "[%A%]"}, {tkBracket, "[%B%]"}}},
    });
    p.Start("X [%FOL");
    p.Next();
    EXPECT_EQ(p.ElementIndex(), kOutsideBrackets);
    p.Next();
    EXPECT_EQ(p.ElementIndex(), 0);
    EXPECT_FALSE(p.BracketClosed());
}

TEST(EditorParser, BracketContinuesFromTheRowStateAndOnlyWhenRecognised) {
    ProgramScheme scheme;
    auto p = scheme.parser();
    EXPECT_EQ(tokensOf(p, "  FOLDER%] ;c", {0, tkEnd, 0}), (std::vector<Tok>{{tkBracket, "FOLDER%]"}, {tkComment, ";c"}}));
    EXPECT_EQ(tokensOf(p, "still open", {0, tkEnd, 0}), (std::vector<Tok>{{tkBracket, "still open"}}));
    EXPECT_EQ(p.ElementIndex(), 0);
    // Element index -2: brackets are not recognised at all.
    EXPECT_EQ(tokensOf(p, "[%A%]", {kBracketsOff, tkEnd, 0}),
              (std::vector<Tok>{{tkSymbol, "["}, {tkSymbol, "%"}, {tkAnk, "A"}, {tkSymbol, "%"}, {tkSymbol, "]"}}));
    // A state naming a pair the scheme no longer has counts as outside.
    EXPECT_EQ(tokensOf(p, "A", {5, tkEnd, 0}), (std::vector<Tok>{{tkAnk, "A"}}));
    EXPECT_EQ(tokensOf(p, "A", {-7, tkEnd, 0}), (std::vector<Tok>{{tkAnk, "A"}}));
}

TEST(EditorParser, StartRulesInOrder) {
    TEditorViewInfo view;
    view.SetMail(true);
    view.SetUrl(true);
    view.SetCommenter("//");
    view.SetQuotation("'");
    view.SetControlCode(true);
    view.SetHexPrefix("0x");
    auto& pair = view.Brackets().Add();
    pair.SetLeftBracket("{");
    pair.SetRightBracket("}");
    TEditorParser p(&view.Fountain());
    runCases(p, {
        {"mail address", "to me.x@example.co.jp.",
         {{tkAnk, "to"}, {tkMail, "me.x@example.co.jp"}, {tkSymbol, "."}}},
        {"not a mail address without a dot after @", "a@b c",
         {{tkAnk, "a"}, {tkSymbol, "@"}, {tkAnk, "b"}, {tkAnk, "c"}}},
        {"URL schemes", "http://x.jp/a?b=1, www.y.jp HTTPS://Z",
         {{tkUrl, "http://x.jp/a?b=1"}, {tkSymbol, ","}, {tkUrl, "www.y.jp"}, {tkUrl, "HTTPS://Z"}}},
        {"commenter of two bytes", "a // b 'c'", {{tkAnk, "a"}, {tkComment, "// b 'c'"}}},
        {"one slash is a symbol", "a / b", {{tkAnk, "a"}, {tkSymbol, "/"}, {tkAnk, "b"}}},
        {"quoted string with a doubled quotation", "'it''s' x", {{tkQuoted, "'it''s'"}, {tkAnk, "x"}}},
        {"empty quoted string", "'' x", {{tkQuoted, "''"}, {tkAnk, "x"}}},
        {"unclosed quoted string ends at the row end", "'abc", {{tkQuoted, "'abc"}}},
        {"character codes", "#13#$0d#", {{tkCharCode, "#13"}, {tkHexCharCode, "#$0d"}, {tkSymbol, "#"}}},
        {"hex prefix without regard to case", "0XfF 0x 0", {{tkHex, "0XfF"}, {tkInteger, "0"}, {tkAnk, "x"},
                                                            {tkInteger, "0"}}},
        {"brackets come before the commenter", "{//}", {{tkBracket, "{//}"}}},
        {"the commenter comes before the quotation", "//'", {{tkComment, "//'"}}},
        {"a left bracket inside a word is not one", "a{b}", {{tkAnk, "a"}, {tkBracket, "{b}"}}},
    });
}

TEST(EditorParser, QuotationStepsOverDoubleByteCharactersWhole) {
    TEditorViewInfo view;
    view.SetQuotation("|");
    TEditorParser p(&view.Fountain());
    // ー is 0x81 0x7C: its trail byte is the quotation character and must not close the string.
    EXPECT_EQ(tokensOf(p, "|\x81\x7C| a"), (std::vector<Tok>{{tkQuoted, "|\x81\x7C|"}, {tkAnk, "a"}}));
}

TEST(EditorParser, WrappedTokenContinuesOnTheNextRow) {
    ProgramScheme scheme;
    auto p = scheme.parser();
    EXPECT_EQ(tokensOf(p, "defgh ij", {kOutsideBrackets, tkAnk, 3}),
              (std::vector<Tok>{{tkAnk, "defgh"}, {tkAnk, "ij"}}));
    EXPECT_EQ(tokensOf(p, " rest of it", {kOutsideBrackets, tkComment, 1}),
              (std::vector<Tok>{{tkComment, " rest of it"}}));
    // The wrap cut the right bracket of pair 0: its remainder closes the tag.
    EXPECT_EQ(tokensOf(p, "] A", {0, tkBracket, 1}), (std::vector<Tok>{{tkBracket, "]"}, {tkAnk, "A"}}));
    EXPECT_EQ(p.ElementIndex(), kOutsideBrackets);
}

TEST(EditorParser, RowEndStateAcrossRows) {
    ProgramScheme scheme;
    auto p = scheme.parser();
    const TokenStartState outside;
    EXPECT_EQ(p.RowEndState("A [%X%] B", 9, false, outside), outside);
    EXPECT_EQ(p.RowEndState("A [%X", 5, false, outside), (TokenStartState{0, tkEnd, 0}));
    EXPECT_EQ(p.RowEndState("X%] [%Y", 7, false, {0, tkEnd, 0}), (TokenStartState{0, tkEnd, 0}));
    EXPECT_EQ(p.RowEndState("X%]", 3, false, {0, tkEnd, 0}), outside);
    // Rows of spaces pass everything on, even a wrapped kind.
    EXPECT_EQ(p.RowEndState("   ", 3, false, {0, tkAnk, 2}), (TokenStartState{0, tkAnk, 2}));
    // A comment hides a left bracket.
    EXPECT_EQ(p.RowEndState(";[%", 3, false, outside), outside);
    // Only brackets, comments and quotes are made into tokens on the way: a tag after others, two tags, a
    // second tag left open, a "[" that is the trail byte of ゼ (83 5B) or of a kanji (88 5B), and a
    // comment after a closed tag.
    const struct {
        const char* row;
        int element;
    } openers[] = {
        {"_.SAVEAS [%A%]\\[%B%]_new.dwg", kOutsideBrackets},
        {"OPEN [%A%] [%B", 0},
        {"\x83\x5B%FOLDER%]", kOutsideBrackets},
        {"\x88\x5B%A", kOutsideBrackets},
        {"\x88\x40[%A", 0},
        {"X [%A%] ;[%B", kOutsideBrackets},
        {"100.5[%A", 0},
    };
    for (const auto& o : openers) {
        EXPECT_EQ(p.RowEndState(o.row, std::strlen(o.row), false, outside), (TokenStartState{o.element, tkEnd, 0}))
            << o.row;
    }

    // Soft-wrapped rows: the text holds this row and the next.
    EXPECT_EQ(p.RowEndState("ab cde" "fg", 6, true, outside), (TokenStartState{kOutsideBrackets, tkAnk, 2}));
    EXPECT_EQ(p.RowEndState("ab cde" " fg", 6, true, outside), outside);
    EXPECT_EQ(p.RowEndState("AB [%XY" "Z%] C", 7, true, outside), (TokenStartState{0, tkEnd, 0}));
    EXPECT_EQ(p.RowEndState("AB [%XYZ%" "] C", 9, true, outside), (TokenStartState{0, tkBracket, 1}));
    EXPECT_EQ(p.RowEndState("A ;abc" "def", 6, true, outside), (TokenStartState{kOutsideBrackets, tkComment, 3}));
}

TEST(EditorParser, ColoursOfTheProgramsConfiguration) {
    ProgramScheme scheme;
    auto p = scheme.parser();
    p.Start("LINE [%A%] ;x");
    p.Next();
    ASSERT_NE(p.ColorOf(), nullptr);
    EXPECT_EQ(p.ColorOf()->Color(), clNone);  // Ank: the control's font colour
    p.Next();
    ASSERT_NE(p.ColorOf(), nullptr);
    EXPECT_EQ(p.ColorOf()->Color(), 0x4646FFu);
    p.Next();
    ASSERT_NE(p.ColorOf(), nullptr);
    EXPECT_EQ(p.ColorOf()->Color(), 0xBBBB00u);
    EXPECT_EQ(p.ColorOf()->BkColor(), clBlack);
    p.Start("\tA");
    p.Next();
    EXPECT_EQ(p.ColorOf(), nullptr);  // a tab keeps the default colours
}

TEST(EditorParser, ReservedWordsIgnoreLetterCaseButNotCommentsOrTags) {
    ProgramScheme scheme;
    scheme.view.Fountain().SetReserveWordList({"circle", "\x95\x5C"});  // 表
    scheme.view.Fountain().Reserve().SetColor(0x00FF00);
    auto p = scheme.parser();
    p.Start("CIRCLE circles \x95\x5C [%circle%] ;circle");
    EXPECT_EQ(p.Next(), tkAnk);
    EXPECT_TRUE(p.IsReserved());
    EXPECT_EQ(p.ColorOf()->Color(), 0x00FF00u);
    p.Next();
    EXPECT_FALSE(p.IsReserved());
    p.Next();
    EXPECT_TRUE(p.IsReserved());
    p.Next();
    EXPECT_FALSE(p.IsReserved());
    p.Next();
    EXPECT_FALSE(p.IsReserved());
}

TEST(FountainParser, NeedsAFountain) {
    try {
        TFountainParser p(nullptr);
        FAIL() << "made a tokeniser without a fountain";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "TFountainParser.Create need instance of TFountain");
    }
    EXPECT_THROW(TEditorParser(nullptr), AppError);
}

TEST(FountainParser, BaseSchemeHasBracketsButNoCommenter) {
    TFountain fountain;
    auto& pair = fountain.Brackets().Add();
    pair.SetLeftBracket("<");
    pair.SetRightBracket(">");
    auto p = fountain.CreateParser();
    EXPECT_EQ(tokensOf(*p, "a<b;>;c"), (std::vector<Tok>{{tkAnk, "a"}, {tkBracket, "<b;>"}, {tkSymbol, ";"},
                                                         {tkAnk, "c"}}));
}
