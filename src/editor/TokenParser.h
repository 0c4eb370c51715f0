// Tokeniser of the editor control: splits one row (or one logical line) of Shift-JIS text into tokens.
// TTokenParser knows only the rules chosen by a token's first byte; the colour scheme's tokenisers
// (FountainParser.h, EditorParser.h) add bracket pairs, comments and the other start rules.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Kind of a token. The values are stored in the row states, so they never change.
enum TTokenKind : std::uint8_t {
    tkEnd = 0,
    tkSymbol = 1,
    tkInteger = 3,
    tkFloat = 4,
    tkBracket = 6,
    tkComment = 7,
    tkReserved = 8,
    tkTab = 9,
    tkAnk = 11,
    tkDbSymbol = 12,
    tkDbDigits = 14,
    tkDbLetters = 15,
    tkHiragana = 16,
    tkKatakana = 17,
    tkKanji = 18,
    tkKanaSymbol = 19,
    tkKana = 20,
    tkUrl = 21,
    tkMail = 22,
    tkHex = 23,
    tkQuoted = 26,
    tkCharCode = 27,
    tkHexCharCode = 28,
};

// Element index of a state outside every bracket pair, and of a state in which brackets are not recognised
// (word movement; in the row store it also marks a row whose state is not computed).
constexpr int kOutsideBrackets = -1;
constexpr int kBracketsOff = -2;

// The part of a row's start state that tokenising reads and changes.
struct TokenStartState {
    int elementIndex = kOutsideBrackets;  // -1 outside, 0..13 inside pair k, -2 brackets not recognised
    int wrappedKind = tkEnd;              // kind of a token cut by a soft wrap at the end of the row above;
                                          // for a cut right bracket (tkBracket) elementIndex names its pair
    int wrappedRemain = 0;                // bytes of that token on this row (at least)
    bool operator==(const TokenStartState& o) const noexcept {
        return elementIndex == o.elementIndex && wrappedKind == o.wrappedKind && wrappedRemain == o.wrappedRemain;
    }
};

class TTokenParser {
public:
    TTokenParser();
    virtual ~TTokenParser();
    TTokenParser(const TTokenParser&) = delete;
    TTokenParser& operator=(const TTokenParser&) = delete;

    // Sets the text to split and its start state. The text must outlive the tokenising. Tokens end at its
    // size or at its first byte 0, CR or LF; nothing past its size is ever read.
    void Start(std::string_view text, const TokenStartState& state = {});
    // Moves to the next token and returns its kind; tkEnd at the end (and on every call after it).
    TTokenKind Next();

    TTokenKind Token() const noexcept { return kind_; }
    std::size_t SourcePos() const noexcept { return pos_; }
    std::size_t TokenLength() const noexcept { return len_; }
    std::string_view TokenString() const noexcept { return std::string_view(text_ + pos_, len_); }
    // Bracket state after the current token.
    int ElementIndex() const noexcept { return elementIndex_; }
    // For a tkBracket token: its pair, and whether the token ends with the pair's right bracket.
    int BracketIndex() const noexcept { return bracketIndex_; }
    bool BracketClosed() const noexcept { return bracketClosed_; }

protected:
    struct BracketPair {
        std::string left;
        std::string right;
    };
    // Start rules that descendants switch on, tried in this order before the first-byte rules.
    std::vector<BracketPair> brackets_;
    bool mail_ = false;
    bool url_ = false;
    std::string commenter_;
    std::string quotation_;
    bool controlCode_ = false;
    std::string hexPrefix_;
    // Fills the table of bytes that may start a start rule; descendants call it once the rules are set.
    void startRulesPrepare();
    // The element index a start state means for this scheme: a pair it does not have (or one that can never
    // be open) counts as outside.
    int elementIndexFor(int elementIndex) const noexcept;
    // Distinct first bytes of the left brackets.
    const std::string& leftBracketFirstBytes() const noexcept { return leftFirstBytes_; }
    // A row read outside brackets hands on a state that only brackets, comments and quoted strings decide: the
    // tokens that may span other bytes. When every byte that starts one of them is an ASCII byte that no other
    // token takes (no run, number, mail address, URL, character code or hex prefix), they start exactly where
    // a walk of whole characters meets such a byte, and the tokens in between need not be made.
    bool openersSkippable() const noexcept { return openersSkippable_; }
    // The first position at or after `from`, at a character boundary, of a byte that starts a bracket, comment
    // or quoted string; the end of `row`, or its first byte 0, CR or LF (where tokens end), when there is none.
    std::size_t nextOpener(std::string_view row, std::size_t from) const noexcept;

private:
    bool startRules(std::size_t i);
    void firstByteRule(std::size_t i);
    void wrappedContinue();
    void bracketContinue(std::size_t i);
    std::size_t bracketSearch(std::size_t from, const std::string& right, bool& found) const;
    std::size_t mailLength(std::size_t i);
    std::size_t urlLength(std::size_t i) const;
    std::size_t quotedEnd(std::size_t from) const;
    std::size_t continuationEnd(int kind) const;
    bool matchAt(std::size_t i, const std::string& s) const noexcept;
    bool matchNoCaseAt(std::size_t i, std::string_view s) const noexcept;
    std::size_t runOf(std::size_t i, std::uint8_t classMask) const noexcept;
    std::size_t step(std::size_t i) const noexcept;
    std::size_t stopEnd() const noexcept;
    void emit(TTokenKind kind, std::size_t pos, std::size_t end) noexcept;

    const char* text_ = "";
    const unsigned char* bytes_ = reinterpret_cast<const unsigned char*>("");
    mutable std::size_t end_ = 0;     // the text's size, or its first byte 0, CR or LF once that is known
    mutable bool stopKnown_ = false;
    std::size_t next_ = 0;  // where the next token search begins
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    TTokenKind kind_ = tkEnd;
    int elementIndex_ = kOutsideBrackets;
    int bracketIndex_ = -1;
    bool bracketClosed_ = false;
    int wrappedKind_ = tkEnd;
    int wrappedRemain_ = 0;
    std::size_t mailFailEnd_ = 0;  // no mail address starts before this position (inside a failed run)
    std::array<std::uint8_t, 256> startMask_{};  // per byte: which start rules may begin with it
    std::string leftFirstBytes_;
    std::array<bool, 256> opener_{};  // per byte: starts a bracket, comment or quoted string
    bool openersSkippable_ = false;
};
