// Tokeniser engine: blanks, the start rules of the colour scheme, and the rules chosen by a token's first byte.
#include "editor/TokenParser.h"

#include <algorithm>
#include <cstring>

#include "core/ByteFind.h"
#include "core/Cp932.h"

namespace {

// Byte classes, one table built at compile time.
enum : std::uint8_t {
    cBlank = 1,      // skipped between tokens: 1..8, 11, 12 and 14..32 (LF and CR end the row)
    cDigit = 2,      // 0-9
    cWord = 4,       // letters, digits, "_"
    cHex = 8,        // 0-9, A-F, a-f
    cKanjiLead = 16, // 0x88-0x9F, 0xE0-0xFC
    cKana = 32,      // half-width katakana 0xA6-0xDF
    cMail = 64,      // bytes of a mail address
    cUrl = 128,      // bytes of a URL after its scheme
};

constexpr bool isAlnum(int b) { return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

constexpr std::array<std::uint8_t, 256> makeClasses() {
    std::array<std::uint8_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        std::uint8_t c = 0;
        if ((b >= 1 && b <= 8) || (b >= 11 && b <= 32 && b != 13)) c |= cBlank;
        if (b >= '0' && b <= '9') c |= cDigit;
        if (isAlnum(b) || b == '_') c |= cWord;
        if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'F') || (b >= 'a' && b <= 'f')) c |= cHex;
        if ((b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) c |= cKanjiLead;
        if (b >= 0xA6 && b <= 0xDF) c |= cKana;
        if (isAlnum(b) || b == '.' || b == '-' || b == '_' || b == '+' || b == '@') c |= cMail;
        if (isAlnum(b)) c |= cUrl;
        for (char u : std::string_view("!#$%&*+,-./:=?@_~")) {
            if (b == static_cast<unsigned char>(u)) c |= cUrl;
        }
        t[static_cast<std::size_t>(b)] = c;
    }
    return t;
}
constexpr auto kClass = makeClasses();

// Whether the `n` bytes at `a` are those at `b`. The texts compared are a few bytes of brackets and quotes: a
// loop here beats a call of the C runtime's memcmp, which on the Windows build crosses into a DLL.
inline bool sameBytes(const unsigned char* a, const char* b, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        if (a[k] != static_cast<unsigned char>(b[k])) return false;
    }
    return true;
}

// Bytes that end a row for the tokeniser. No class above holds them, so every run stops there by itself.
constexpr bool isStop(unsigned char b) { return b == 0 || b == '\r' || b == '\n'; }
bool hasStop(std::string_view s) {
    for (char c : s) {
        if (isStop(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

// The rule a token's first byte chooses when no start rule matched.
enum Rule : std::uint8_t { rSymbol, rTab, rDigits, rAnk, rDbSymbol, rLead82, rLead83, rKanji, rKanaSymbol, rKana };

constexpr std::array<std::uint8_t, 256> makeFirstRules() {
    std::array<std::uint8_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        Rule r = rSymbol;
        if (b == 0x09) r = rTab;
        else if (b >= '0' && b <= '9') r = rDigits;
        else if ((b >= 'A' && b <= 'Z') || b == '_' || (b >= 'a' && b <= 'z')) r = rAnk;
        else if (b == 0x81 || (b >= 0x84 && b <= 0x87)) r = rDbSymbol;
        else if (b == 0x82) r = rLead82;
        else if (b == 0x83) r = rLead83;
        else if ((b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) r = rKanji;
        else if (b >= 0xA1 && b <= 0xA5) r = rKanaSymbol;
        else if (b >= 0xA6 && b <= 0xDF) r = rKana;
        t[static_cast<std::size_t>(b)] = r;
    }
    return t;
}
constexpr auto kFirstRule = makeFirstRules();

// Start rules a byte may begin (bits of startMask_).
enum : std::uint8_t { sBracket = 1, sMail = 2, sUrl = 4, sComment = 8, sQuote = 16, sControl = 32, sHex = 64 };

// Double-byte runs: each takes pairs (lead, trail) that its predicate accepts.
inline bool dbDigitPair(unsigned a, unsigned t) {
    return (a == 0x82 && t >= 0x4F && t <= 0x58) || (a == 0x81 && (t == 0x43 || t == 0x44));  // ０-９ ， ．
}
inline bool dbLetterPair(unsigned a, unsigned t) {
    return a == 0x82 && ((t >= 0x60 && t <= 0x79) || (t >= 0x81 && t <= 0x9A));  // Ａ-Ｚ ａ-ｚ
}
inline bool prolongPair(unsigned a, unsigned t) { return a == 0x81 && (t == 0x5B || t == 0x7C); }  // ー －
inline bool hiraganaPair(unsigned a, unsigned t) {
    return (a == 0x82 && t >= 0x9F && t <= 0xF1) || prolongPair(a, t);
}
inline bool katakanaPair(unsigned a, unsigned t) {
    return (a == 0x83 && t >= 0x40 && t <= 0x96) || prolongPair(a, t);
}

template <class Pred>
std::size_t pairRun(const unsigned char* s, std::size_t i, std::size_t end, Pred pred) {
    while (i + 1 < end && pred(s[i], s[i + 1])) i += 2;
    return i;
}

// A kanji run: bytes whose lead is a kanji lead, two bytes each when the next byte can be a trail.
inline std::size_t kanjiRun(const unsigned char* s, std::size_t i, std::size_t end) {
    while (i < end && (kClass[s[i]] & cKanjiLead)) i += (i + 1 < end && s[i + 1] > 0x3F) ? 2 : 1;
    return i;
}

constexpr bool isTokenKind(int k) {
    switch (k) {
        case tkEnd: case tkSymbol: case tkInteger: case tkFloat: case tkBracket: case tkComment: case tkReserved:
        case tkTab: case tkAnk: case tkDbSymbol: case tkDbDigits: case tkDbLetters: case tkHiragana:
        case tkKatakana: case tkKanji: case tkKanaSymbol: case tkKana: case tkUrl: case tkMail: case tkHex:
        case tkQuoted: case tkCharCode: case tkHexCharCode: return true;
        default: return false;
    }
}

}  // namespace

TTokenParser::TTokenParser() = default;
TTokenParser::~TTokenParser() = default;

void TTokenParser::startRulesPrepare() {
    // A text holding a byte that ends the row can never match inside one.
    for (auto& pair : brackets_) {
        if (hasStop(pair.left)) pair.left.clear();
    }
    for (std::string* rule : {&commenter_, &quotation_, &hexPrefix_}) {
        if (hasStop(*rule)) rule->clear();
    }
    startMask_.fill(0);
    auto mark = [this](unsigned char b, std::uint8_t bit) { startMask_[b] |= bit; };
    auto markNoCase = [&](unsigned char b, std::uint8_t bit) {
        mark(b, bit);
        if (b >= 'a' && b <= 'z') mark(static_cast<unsigned char>(b - 32), bit);
        if (b >= 'A' && b <= 'Z') mark(static_cast<unsigned char>(b + 32), bit);
    };
    leftFirstBytes_.clear();
    for (const auto& pair : brackets_) {
        if (pair.left.empty()) continue;
        mark(static_cast<unsigned char>(pair.left[0]), sBracket);
        if (leftFirstBytes_.find(pair.left[0]) == std::string::npos) leftFirstBytes_ += pair.left[0];
    }
    if (mail_) {
        for (int b = 0; b < 256; ++b) {
            if ((kClass[b] & cMail) && b != '@' && b != '.') mark(static_cast<unsigned char>(b), sMail);
        }
    }
    if (url_) {
        for (char c : std::string_view("fhw")) markNoCase(static_cast<unsigned char>(c), sUrl);
    }
    if (!commenter_.empty()) mark(static_cast<unsigned char>(commenter_[0]), sComment);
    if (!quotation_.empty()) mark(static_cast<unsigned char>(quotation_[0]), sQuote);
    if (controlCode_) mark('#', sControl);
    if (!hexPrefix_.empty()) markNoCase(static_cast<unsigned char>(hexPrefix_[0]), sHex);

    std::string openers = leftFirstBytes_;
    if (!commenter_.empty()) openers += commenter_[0];
    if (!quotation_.empty()) openers += quotation_[0];
    opener_.fill(false);
    openersSkippable_ = true;
    for (const char c : openers) {
        const unsigned char b = static_cast<unsigned char>(c);
        opener_[b] = true;
        // Bytes from 0x80 on may be halves of double-byte runs; the others here are taken by some token's run.
        const bool taken = b >= 0x80 || isStop(b) || (kClass[b] & (cBlank | cWord | cDigit | cHex | cKana)) ||
                           b == '.' || b == '+' || b == '-' || (mail_ && (kClass[b] & cMail)) ||
                           (url_ && (kClass[b] & cUrl)) || (controlCode_ && (b == '#' || b == '$')) ||
                           hexPrefix_.find(c) != std::string::npos;
        if (taken) openersSkippable_ = false;
    }
}

std::size_t TTokenParser::nextOpener(std::string_view row, std::size_t from) const noexcept {
    const auto* s = reinterpret_cast<const unsigned char*>(row.data());
    const std::size_t end = row.size();
    std::size_t i = from;
    while (i < end) {
        const unsigned char b = s[i];
        if (opener_[b] || isStop(b)) break;
        // Stepped as every token steps: a lead byte with a possible trail takes two bytes.
        i += (cp932::isLeadByte(b) && i + 1 < end && s[i + 1] > 0x3F) ? 2 : 1;
    }
    return i < end && !isStop(s[i]) ? i : end;
}

void TTokenParser::Start(std::string_view text, const TokenStartState& state) {
    text_ = text.data() ? text.data() : "";
    bytes_ = reinterpret_cast<const unsigned char*>(text_);
    end_ = text.size();
    stopKnown_ = false;
    next_ = pos_ = len_ = 0;
    kind_ = tkEnd;
    bracketIndex_ = -1;
    bracketClosed_ = false;
    mailFailEnd_ = 0;

    elementIndex_ = elementIndexFor(state.elementIndex);
    wrappedKind_ = state.wrappedKind;
    wrappedRemain_ = std::max(0, state.wrappedRemain);
    if (!isTokenKind(wrappedKind_) || wrappedKind_ == tkReserved) wrappedKind_ = tkEnd;
    if (wrappedKind_ == tkBracket && elementIndex_ < 0) wrappedKind_ = tkEnd;  // a cut right bracket names its pair
}

int TTokenParser::elementIndexFor(int elementIndex) const noexcept {
    if (elementIndex == kBracketsOff || elementIndex == kOutsideBrackets) return elementIndex;
    const int pairs = static_cast<int>(brackets_.size());
    if (elementIndex >= 0 && elementIndex < pairs && !brackets_[static_cast<std::size_t>(elementIndex)].right.empty()) {
        return elementIndex;
    }
    return kOutsideBrackets;
}

void TTokenParser::emit(TTokenKind kind, std::size_t pos, std::size_t end) noexcept {
    kind_ = kind;
    pos_ = pos;
    len_ = end - pos;
    next_ = end;
}

std::size_t TTokenParser::stopEnd() const noexcept {
    if (!stopKnown_) {
        if (const char* p = bytefind::findAny(text_, end_, '\0', '\r', '\n')) {
            end_ = static_cast<std::size_t>(p - text_);
        }
        stopKnown_ = true;
    }
    return end_;
}

std::size_t TTokenParser::step(std::size_t i) const noexcept {
    // A double-byte character is stepped over whole; a lead byte without a possible trail is one byte.
    return (cp932::isLeadByte(bytes_[i]) && i + 1 < end_ && bytes_[i + 1] > 0x3F) ? i + 2 : i + 1;
}

std::size_t TTokenParser::runOf(std::size_t i, std::uint8_t classMask) const noexcept {
    while (i < end_ && (kClass[bytes_[i]] & classMask)) ++i;
    return i;
}

bool TTokenParser::matchAt(std::size_t i, const std::string& s) const noexcept {
    const std::size_t n = s.size();
    if (n == 0 || n > end_ - std::min(i, end_) || bytes_[i] != static_cast<unsigned char>(s[0])) return false;
    return sameBytes(bytes_ + i + 1, s.data() + 1, n - 1);
}

bool TTokenParser::matchNoCaseAt(std::size_t i, std::string_view s) const noexcept {
    if (s.empty() || s.size() > end_ - std::min(i, end_)) return false;
    for (std::size_t k = 0; k < s.size(); ++k) {
        unsigned a = bytes_[i + k], b = static_cast<unsigned char>(s[k]);
        if (a >= 'a' && a <= 'z') a -= 32;
        if (b >= 'a' && b <= 'z') b -= 32;
        if (a != b) return false;
    }
    return true;
}

TTokenKind TTokenParser::Next() {
    bracketIndex_ = -1;
    bracketClosed_ = false;
    if (wrappedKind_ != tkEnd) {
        wrappedContinue();
        if (len_ > 0) return kind_;
    }
    std::size_t i = next_;
    while (i < end_ && (kClass[bytes_[i]] & cBlank)) ++i;
    if (i >= end_ || isStop(bytes_[i])) {
        end_ = i;
        stopKnown_ = true;
        emit(tkEnd, i, i);
        return tkEnd;
    }
    if (elementIndex_ >= 0) {
        bracketContinue(i);
        return kind_;
    }
    if (startMask_[bytes_[i]] && startRules(i)) return kind_;
    firstByteRule(i);
    return kind_;
}

// The first token of a row that a soft wrap cut from the row above: it continues with the rule of its kind,
// and covers at least the bytes the row above counted.
void TTokenParser::wrappedContinue() {
    const int kind = wrappedKind_;
    const std::size_t remain = std::min<std::size_t>(static_cast<std::size_t>(wrappedRemain_), stopEnd());
    wrappedKind_ = tkEnd;
    wrappedRemain_ = 0;
    len_ = 0;
    std::size_t e = std::max(continuationEnd(kind), remain);
    if (e == 0) return;
    if (kind == tkBracket) {
        bracketIndex_ = elementIndex_;
        bracketClosed_ = true;
        elementIndex_ = kOutsideBrackets;
    }
    emit(static_cast<TTokenKind>(kind), 0, e);
}

std::size_t TTokenParser::continuationEnd(int kind) const {
    switch (kind) {
        case tkAnk: return runOf(0, cWord);
        case tkInteger:
        case tkFloat:
        case tkCharCode: return runOf(0, cDigit);
        case tkHex:
        case tkHexCharCode: return runOf(0, cHex);
        case tkComment: return stopEnd();
        case tkQuoted: return quotation_.empty() ? 0 : quotedEnd(0);
        case tkUrl: return runOf(0, cUrl);
        case tkMail: return runOf(0, cMail);
        case tkKana: return runOf(0, cKana);
        case tkKanji: return kanjiRun(bytes_, 0, end_);
        case tkHiragana: return pairRun(bytes_, 0, end_, hiraganaPair);
        case tkKatakana: return pairRun(bytes_, 0, end_, katakanaPair);
        case tkDbDigits: return pairRun(bytes_, 0, end_, dbDigitPair);
        case tkDbLetters: return pairRun(bytes_, 0, end_, dbLetterPair);
        default: return 0;  // single-byte and one-character tokens: the counted bytes only
    }
}

// Search for a right bracket from `from`, stepping over double-byte characters whole. Returns the position
// after it (found) or the end of the text.
std::size_t TTokenParser::bracketSearch(std::size_t from, const std::string& right, bool& found) const {
    found = false;
    if (right.empty()) {
        found = true;
        return from;
    }
    const unsigned char r0 = static_cast<unsigned char>(right[0]);
    const std::size_t n = right.size();
    const std::size_t end = stopEnd();
    if (r0 < 0x40) {
        // Such a byte is never the trail of a double-byte character, so every occurrence starts a character.
        std::size_t j = from;
        while (j < end) {
            const char* p = bytefind::find(text_ + j, end - j, static_cast<char>(r0));
            if (!p) break;
            j = static_cast<std::size_t>(p - text_);
            if (n <= end - j && sameBytes(bytes_ + j, right.data(), n)) {
                found = true;
                return j + n;
            }
            ++j;
        }
        return end;
    }
    for (std::size_t j = from; j < end; j = step(j)) {
        if (bytes_[j] == r0 && n <= end - j && sameBytes(bytes_ + j, right.data(), n)) {
            found = true;
            return j + n;
        }
    }
    return end;
}

void TTokenParser::bracketContinue(std::size_t i) {
    const int k = elementIndex_;
    bool found = false;
    const std::size_t e = bracketSearch(i, brackets_[static_cast<std::size_t>(k)].right, found);
    if (found) elementIndex_ = kOutsideBrackets;
    emit(tkBracket, i, e);
    bracketIndex_ = k;
    bracketClosed_ = found;
}

bool TTokenParser::startRules(std::size_t i) {
    const std::uint8_t m = startMask_[bytes_[i]];
    if ((m & sBracket) && elementIndex_ == kOutsideBrackets) {
        for (std::size_t k = 0; k < brackets_.size(); ++k) {
            const auto& pair = brackets_[k];
            if (!matchAt(i, pair.left)) continue;
            bool found = false;
            const std::size_t e = bracketSearch(i + pair.left.size(), pair.right, found);
            elementIndex_ = found ? kOutsideBrackets : static_cast<int>(k);
            emit(tkBracket, i, e);
            bracketIndex_ = static_cast<int>(k);
            bracketClosed_ = found;
            return true;
        }
    }
    if (m & sMail) {
        if (const std::size_t n = mailLength(i)) {
            emit(tkMail, i, i + n);
            return true;
        }
    }
    if (m & sUrl) {
        if (const std::size_t n = urlLength(i)) {
            emit(tkUrl, i, i + n);
            return true;
        }
    }
    if ((m & sComment) && matchAt(i, commenter_)) {
        emit(tkComment, i, stopEnd());
        return true;
    }
    if ((m & sQuote) && matchAt(i, quotation_)) {
        emit(tkQuoted, i, quotedEnd(i + quotation_.size()));
        return true;
    }
    if (m & sControl) {
        if (i + 2 < end_ && bytes_[i + 1] == '$' && (kClass[bytes_[i + 2]] & cHex)) {
            emit(tkHexCharCode, i, runOf(i + 2, cHex));
            return true;
        }
        if (i + 1 < end_ && (kClass[bytes_[i + 1]] & cDigit)) {
            emit(tkCharCode, i, runOf(i + 1, cDigit));
            return true;
        }
    }
    if ((m & sHex) && matchNoCaseAt(i, hexPrefix_)) {
        const std::size_t digits = i + hexPrefix_.size();
        const std::size_t e = runOf(digits, cHex);
        if (e > digits) {
            emit(tkHex, i, e);
            return true;
        }
    }
    return false;
}

// A mail address: a run of mail bytes not starting with "@" or ".", holding "@" after its first byte and a
// "." after that with a byte on each side. Trailing full stops are not part of it.
std::size_t TTokenParser::mailLength(std::size_t i) {
    // Every suffix of a run that failed fails too, so each run is examined once.
    if (i < mailFailEnd_) return 0;
    std::size_t at = cp932::npos;
    std::size_t j = i;
    while (j < end_ && (kClass[bytes_[j]] & cMail)) {
        if (bytes_[j] == '@' && at == cp932::npos) at = j;
        ++j;
    }
    std::size_t e = j;
    while (e > i && bytes_[e - 1] == '.') --e;
    if (at != cp932::npos && at > i) {
        for (std::size_t d = at + 2; d + 1 < e; ++d) {
            if (bytes_[d] == '.') return e - i;
        }
    }
    mailFailEnd_ = j;
    return 0;
}

// A URL: "ftp:", "http:", "https:" or "www." (any letter case) and the URL bytes after it; trailing full stops
// and commas are left to the text around it.
std::size_t TTokenParser::urlLength(std::size_t i) const {
    static constexpr std::string_view kSchemes[] = {"ftp:", "http:", "https:", "www."};
    for (std::string_view scheme : kSchemes) {
        if (!matchNoCaseAt(i, scheme)) continue;
        const std::size_t body = i + scheme.size();
        std::size_t e = runOf(body, cUrl);
        while (e > body && (bytes_[e - 1] == '.' || bytes_[e - 1] == ',')) --e;
        return e - i;
    }
    return 0;
}

// End of a quoted string whose body starts at `from`: after the next quotation character that is not doubled,
// or the end of the text for an unclosed string.
std::size_t TTokenParser::quotedEnd(std::size_t from) const {
    const std::size_t q = quotation_.size();
    const std::size_t end = stopEnd();
    std::size_t j = from;
    while (j < end) {
        if (matchAt(j, quotation_)) {
            if (matchAt(j + q, quotation_)) {
                j += 2 * q;
                continue;
            }
            return j + q;
        }
        j = step(j);
    }
    return end;
}

void TTokenParser::firstByteRule(std::size_t i) {
    const unsigned char* s = bytes_;
    const unsigned char b = s[i];
    const unsigned trail = i + 1 < end_ ? s[i + 1] : 0;
    const std::size_t dbEnd = trail > 0x3F ? i + 2 : i + 1;  // a lead byte without a trail stays one byte
    switch (kFirstRule[b]) {
        case rTab: emit(tkTab, i, i + 1); return;
        case rDigits: {
            std::size_t j = runOf(i, cDigit);
            bool isFloat = false;
            if (j + 1 < end_ && s[j] == '.' && (kClass[s[j + 1]] & cDigit)) {
                j = runOf(j + 1, cDigit);
                isFloat = true;
            }
            if (j < end_ && (s[j] == 'e' || s[j] == 'E')) {
                std::size_t k = j + 1;
                if (k < end_ && (s[k] == '+' || s[k] == '-')) ++k;
                if (k < end_ && (kClass[s[k]] & cDigit)) {
                    j = runOf(k, cDigit);
                    isFloat = true;
                }
            }
            emit(isFloat ? tkFloat : tkInteger, i, j);
            return;
        }
        case rAnk: emit(tkAnk, i, runOf(i, cWord)); return;
        case rDbSymbol: emit(tkDbSymbol, i, dbEnd); return;
        case rLead82:
            if (trail >= 0x4F && trail <= 0x58) emit(tkDbDigits, i, pairRun(s, i, end_, dbDigitPair));
            else if ((trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A))
                emit(tkDbLetters, i, pairRun(s, i, end_, dbLetterPair));
            else if (trail >= 0x9F && trail <= 0xF1) emit(tkHiragana, i, pairRun(s, i, end_, hiraganaPair));
            else emit(tkDbSymbol, i, dbEnd);
            return;
        case rLead83:
            if (trail >= 0x40 && trail <= 0x96) emit(tkKatakana, i, pairRun(s, i, end_, katakanaPair));
            else emit(tkDbSymbol, i, dbEnd);
            return;
        case rKanji: emit(tkKanji, i, kanjiRun(s, i, end_)); return;
        case rKanaSymbol: emit(tkKanaSymbol, i, i + 1); return;
        case rKana: emit(tkKana, i, runOf(i, cKana)); return;
        default: emit(tkSymbol, i, i + 1); return;
    }
}
