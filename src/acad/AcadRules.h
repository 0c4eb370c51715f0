// The byte rules of the AutoCAD link: which window is AutoCAD's, what the command strings are, and
// which value a command-line reply shows. Portable, so every rule is tested natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace acad {

// Texts are read into 256-byte buffers with a count of 255: at most 254 bytes arrive.
constexpr int kWindowTextCount = 255;

// AutoCAD's main window: title begins with "AutoCAD", holds neither spelling of "text window",
// class name begins with "Afx:". Bytes, letter case significant.
bool isAcadMainWindow(std::string_view title, std::string_view className);

// True when `text` begins with `prefix` (bytes, letter case significant).
bool beginsWith(std::string_view text, std::string_view prefix);

// The bytes handed over for one command string: the string and one NUL (cbData = size()).
std::vector<char> copyDataBuffer(std::string_view command);

// Two ETX characters, no carriage return.
const std::string& cancelString();

// Queries typed for the three probes and the setters' texts.
const std::string& sdiQuery();          // "SDI" + CR
const std::string& osnapcoordQuery();   // "osnapcoord" + CR
const std::string& filediaQuery();      // "filedia" + CR
std::string osnapcoordSetText(const std::string& value);  // "osnapcoord " + value + CR
std::string filediaSetText(const std::string& value);     // "filedia " + value + CR

// How a send to AutoCAD ended.
enum class SendOutcome {
    Taken,        // the window handled the message
    NotAnswered,  // hung, or still busy when the bound ran out
    Refused,      // the system refused it: AutoCAD runs with higher rights (access denied)
    NoWindow,     // no such window: handle 0, or AutoCAD went away
};

// The platform's error codes the outcome is told by (tied to the real ones in CommandChannel.cpp).
constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorInvalidWindowHandle = 1400;

// The outcome of one send from what the platform answered: whether the message was handled, the
// thread's last error after the call, and whether the window still exists. A handled message is
// taken whatever the error says; access denied is a refusal even from a window that went away.
SendOutcome sendOutcomeOf(bool handled, unsigned long lastError, bool windowExists);

// The stored value read from a command-line reply: the first marker of the variable's list that
// occurs anywhere in the reply decides; none gives "0".
std::string sdiFromReply(std::string_view reply);         // "<1>" -> "1"
std::string osnapcoordFromReply(std::string_view reply);  // "<2>" -> "2", "<1>" -> "1"
std::string filediaFromReply(std::string_view reply);     // "<1>" -> "1"

}  // namespace acad
