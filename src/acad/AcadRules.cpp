// The byte rules of the AutoCAD link. Shift-JIS constants are written as bytes, so every compiler
// sees the same text whatever its execution character set.
#include "acad/AcadRules.h"

#include <initializer_list>
#include <utility>

#include "core/Cp932.h"

namespace acad {

namespace {

// AutoCAD's separate text window also has a title beginning with "AutoCAD"; it bears one of these.
constexpr std::string_view kTextWindowHalfWidth =
    "\xC3\xB7\xBD\xC4\x20\xB3\xA8\xDD\xC4\xDE\xB3";  // ﾃｷｽﾄ ｳｨﾝﾄﾞｳ (half-width katakana)
constexpr std::string_view kTextWindowFullWidth =
    "\x83\x65\x83\x4C\x83\x58\x83\x67\x20\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45";  // テキスト ウィンドウ

std::string firstMarker(std::string_view reply,
                        std::initializer_list<std::pair<std::string_view, const char*>> markers) {
    for (const auto& [marker, value] : markers) {
        if (cp932::find(reply, marker) != cp932::npos) return value;
    }
    return "0";
}

}  // namespace

bool beginsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isAcadMainWindow(std::string_view title, std::string_view className) {
    return beginsWith(title, "AutoCAD") && cp932::find(title, kTextWindowHalfWidth) == cp932::npos &&
           cp932::find(title, kTextWindowFullWidth) == cp932::npos && beginsWith(className, "Afx:");
}

SendOutcome sendOutcomeOf(bool handled, unsigned long lastError, bool windowExists) {
    if (handled) return SendOutcome::Taken;
    if (lastError == kErrorAccessDenied) return SendOutcome::Refused;
    if (!windowExists || lastError == kErrorInvalidWindowHandle) return SendOutcome::NoWindow;
    return SendOutcome::NotAnswered;
}

std::vector<char> copyDataBuffer(std::string_view command) {
    std::vector<char> buffer(command.begin(), command.end());
    buffer.push_back('\0');
    return buffer;
}

const std::string& cancelString() {
    static const std::string text("\x03\x03");
    return text;
}

const std::string& sdiQuery() {
    static const std::string text("SDI\r");
    return text;
}

const std::string& osnapcoordQuery() {
    static const std::string text("osnapcoord\r");
    return text;
}

const std::string& filediaQuery() {
    static const std::string text("filedia\r");
    return text;
}

std::string osnapcoordSetText(const std::string& value) { return "osnapcoord " + value + "\r"; }

std::string filediaSetText(const std::string& value) { return "filedia " + value + "\r"; }

std::string sdiFromReply(std::string_view reply) { return firstMarker(reply, {{"<1>", "1"}}); }

std::string osnapcoordFromReply(std::string_view reply) {
    return firstMarker(reply, {{"<2>", "2"}, {"<1>", "1"}});
}

std::string filediaFromReply(std::string_view reply) { return firstMarker(reply, {{"<1>", "1"}}); }

}  // namespace acad
