// Fuzz target: values read from the settings file, as a hand-edited or broken file may hold them: decimal with
// signs, hexadecimal, overflow, garbage, cut text. A number must be read as a reference built on strtoll reads
// it, and written back in decimal it must read as the same number; a text cut to its buffer never ends inside a
// double-byte character.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "library/SettingsRules.h"

namespace {

bool allOf(std::string_view s, const char* set) { return s.find_first_not_of(set) == std::string_view::npos; }

std::optional<int> inRange(const std::string& digits, int base, bool negative) {
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(digits.c_str(), &end, base);
    if (errno == ERANGE || *end != '\0') return std::nullopt;
    const long long signedValue = negative ? -v : v;
    if (signedValue < INT_MIN || signedValue > INT_MAX) return std::nullopt;
    return static_cast<int>(signedValue);
}

// Decimal text: one optional sign, then only digits. Hexadecimal: "0x" or "0X" and at least one hex digit, at
// most INT_MAX (no sign). Anything else, and every value outside int, is no number.
std::optional<int> referenceInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        if (!allOf(digits, "0123456789abcdefABCDEF")) return std::nullopt;
        std::optional<int> v = inRange(std::string(digits), 16, false);
        return v && *v >= 0 ? v : std::nullopt;
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !allOf(text, "0123456789")) return std::nullopt;
    return inRange(std::string(text), 10, negative);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in{data, size};
    const std::size_t buffer = in.number(80);
    const std::string text = in.rest();

    const std::optional<int> value = profileIntegerParse(text);
    FUZZ_CHECK(value == referenceInteger(text));
    if (value) {
        // What the program writes is decimal; it reads back as the same value.
        const std::string written = std::to_string(*value);
        FUZZ_CHECK(profileIntegerParse(written) == value);
    }
    const std::optional<bool> flag = profileBooleanParse(text);
    FUZZ_CHECK(flag.has_value() == value.has_value());
    if (flag) FUZZ_CHECK(*flag == (*value != 0));
    for (const char* written : {"0", "1"}) FUZZ_CHECK(profileBooleanParse(written) == (written[0] == '1'));

    // A read sees at most buffer - 1 bytes, and the cut never splits a double-byte character.
    const std::string_view cut = profileTextCut(text, buffer);
    FUZZ_CHECK(text.compare(0, cut.size(), cut) == 0);
    if (buffer == 0) {
        FUZZ_CHECK(cut.empty());
    } else if (text.size() < buffer - 1) {
        FUZZ_CHECK(cut.size() == text.size());
    } else {
        FUZZ_CHECK(cut.size() == buffer - 1 || cut.size() + 2 == buffer);
        bool onBoundary = false;
        for (std::size_t at : fuzz::characterStarts(text)) onBoundary = onBoundary || at == cut.size();
        FUZZ_CHECK(onBoundary);
    }
    return 0;
}
