// Shared pieces of the fuzz targets: typed values taken off the fuzzer's bytes, a check that stops the run,
// and plain reference models of Shift-JIS stepping and of script lines that the targets compare against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A broken invariant ends the run at once, so libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(cond)                \
    do {                                \
        if (!(cond)) __builtin_trap();  \
    } while (0)

namespace fuzz {

// Reads values off the input; once it runs dry every value is 0 and every text empty.
struct Input {
    const std::uint8_t* p;
    std::size_t n;

    std::uint8_t byte() {
        if (n == 0) return 0;
        --n;
        return *p++;
    }
    std::size_t number(std::size_t limit) {
        const std::size_t v = byte() | (static_cast<std::size_t>(byte()) << 8);
        return limit == 0 ? 0 : v % limit;
    }
    std::string text(std::size_t max) {
        const std::size_t length = std::min<std::size_t>(number(max + 1), n);
        std::string s(reinterpret_cast<const char*>(p), length);
        p += length;
        n -= length;
        return s;
    }
    std::string rest() { return text(n); }
};

// Text made of the pieces the code under test cares about, so that short inputs reach them: the five tags of a
// batch run in any letter case, "[%" and "%]" alone, lead bytes (also at the very end), characters with a 0x5C or
// 0x5B trail byte, separators, periods, blanks and raw bytes; line ends and byte 26 only when `lineEnds` is set.
inline std::string pieceText(Input& in, std::size_t maxPieces, bool lineEnds) {
    static const char* const kTags[] = {"[%FILEPATH%]", "[%FOLDER%]", "[%FILENAME%]", "[%FILEEXT%]", "[%NUMBER%]"};
    static const char* const kFixed[] = {
        "[%", "%]", "\x95\x5C" /* 表 */, "\x83\x5C" /* ソ */, "\x83\x5B" /* ゼ */, "\\", ":", ".", " ", "C:\\", "/",
    };
    std::string text;
    const std::size_t pieces = in.number(maxPieces + 1);
    for (std::size_t i = 0; i < pieces && in.n > 0; ++i) {
        const std::uint8_t kind = in.byte();
        const std::uint8_t arg = in.byte();
        switch (kind % 6) {
            case 0: {
                std::string tag = kTags[arg % 5];
                const std::uint8_t lower = in.byte();  // which letters are written in lower case
                for (std::size_t k = 0; k < tag.size(); ++k) {
                    if (tag[k] >= 'A' && tag[k] <= 'Z' && ((lower >> (k % 8)) & 1)) tag[k] = static_cast<char>(tag[k] + 32);
                }
                text += tag;
                break;
            }
            case 1:
                text += kFixed[arg % (sizeof kFixed / sizeof kFixed[0])];
                break;
            case 2:
                text += static_cast<char>(arg < 128 ? 0x81 + arg % 31 : 0xE0 + arg % 29);
                break;
            case 3:
                if (lineEnds) {
                    text += "\r\n\x1A"[arg % 3];
                    break;
                }
                [[fallthrough]];
            case 4:
                text += static_cast<char>(arg);
                break;
            default:
                text += in.text(arg % 9);
                break;
        }
    }
    return text;
}

// CP932 by the book, written apart from core/Cp932: a lead byte (0x81-0x9F, 0xE0-0xFC) takes the next byte
// with it whatever that byte is; a lead byte at the very end stands alone.
inline bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Start positions of the characters of `s`, and s.size() at the end.
inline std::vector<std::size_t> characterStarts(std::string_view s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); i += (isLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1)
        starts.push_back(i);
    starts.push_back(s.size());
    return starts;
}

// The lines a script reader must give for `stream`: the text up to the first byte 26, cut at every LF, every CR
// dropped; the part after the last LF is a line only when it holds a byte that is not a CR.
inline std::vector<std::string> scriptLines(std::string_view stream) {
    const std::size_t eof = stream.find('\x1A');
    if (eof != std::string_view::npos) stream = stream.substr(0, eof);
    std::vector<std::string> lines;
    std::string line;
    bool text = false;
    for (char c : stream) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            text = false;
        } else if (c != '\r') {
            line += c;
            text = true;
        }
    }
    if (text) lines.push_back(line);
    return lines;
}

}  // namespace fuzz
