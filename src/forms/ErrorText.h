// The text of the application-wide error box, built from an error's message.
#pragma once

#include <string>
#include <string_view>

namespace forms {

// The message with a full stop appended when its last character sorts after ".".
// "Sorts after" compares the last character's first byte as an unsigned byte with 0x2E: ASCII letters, digits
// and most punctuation from "/" on qualify, "!" ")" "," "-" "." do not, and every Shift-JIS double-byte
// character (lead byte 0x81 or above) and half-width katakana (0xA1-0xDF) sorts after it. The last character
// is found by stepping from the start, so a trail byte of a double-byte character is never taken alone.
// An empty message stays empty.
std::string errorBoxText(std::string_view message);

}  // namespace forms
