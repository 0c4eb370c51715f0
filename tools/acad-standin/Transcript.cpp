// Writing and reading the stand-in's transcript lines.
#include "Transcript.h"

#include <cstdlib>

namespace transcript {

namespace {

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ') ++end;
        if (end > i) out.push_back(line.substr(i, end - i));
        i = end;
    }
    return out;
}

bool number(std::string_view text, unsigned& out) {
    if (text.empty() || text.size() > 10) return false;
    unsigned long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > 0xFFFFFFFFull) return false;
    out = static_cast<unsigned>(v);
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string toHex(std::string_view bytes) {
    if (bytes.empty()) return "-";
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool fromHex(std::string_view hex, std::string& out) {
    out.clear();
    if (hex == "-") return true;
    if (hex.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = hexDigit(hex[i]);
        const int lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

std::string copyDataLine(int window, unsigned dwData, unsigned cbData, bool wParamIsWindow,
                         std::string_view bytes) {
    return "COPYDATA " + std::to_string(window) + " " + std::to_string(dwData) + " " + std::to_string(cbData) +
           " " + (wParamIsWindow ? "1" : "0") + " " + toHex(bytes) + "\n";
}

std::string nullLine(int window) { return "NULL " + std::to_string(window) + "\n"; }

std::string scriptLine(std::string_view path, std::string_view bytes) {
    return "SCRIPT " + toHex(path) + " " + toHex(bytes) + "\n";
}

std::string setLine(std::string_view name, std::string_view value) {
    return "SET " + std::string(name) + " " + std::string(value) + "\n";
}

std::vector<TranscriptEvent> parse(std::string_view text) {
    std::vector<TranscriptEvent> events;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) break;  // a line still being written is not taken
        const auto f = fields(text.substr(start, end - start));
        start = end + 1;
        if (f.empty()) continue;
        TranscriptEvent e;
        unsigned window = 0;
        if (f[0] == "COPYDATA" && f.size() == 6) {
            unsigned flag = 0;
            e.kind = TranscriptEvent::Kind::CopyData;
            if (!number(f[1], window) || !number(f[2], e.dwData) || !number(f[3], e.cbData) ||
                !number(f[4], flag) || !fromHex(f[5], e.bytes)) {
                continue;
            }
            e.wParamIsWindow = flag != 0;
        } else if (f[0] == "NULL" && f.size() == 2) {
            e.kind = TranscriptEvent::Kind::Null;
            if (!number(f[1], window)) continue;
        } else if (f[0] == "SCRIPT" && f.size() == 3) {
            e.kind = TranscriptEvent::Kind::Script;
            if (!fromHex(f[1], e.path) || !fromHex(f[2], e.bytes)) continue;
        } else {
            continue;
        }
        e.window = static_cast<int>(window);
        events.push_back(std::move(e));
    }
    return events;
}

}  // namespace transcript
