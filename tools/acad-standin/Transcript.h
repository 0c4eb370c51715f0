// The stand-in's transcript: one line per event it received, flushed at once, so a test can read what
// AutoCAD would have seen. Portable: the stand-in writes it, the client reads it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TranscriptEvent {
    enum class Kind { CopyData, Null, Script };
    Kind kind = Kind::CopyData;
    unsigned dwData = 0;   // CopyData: the record's dwData
    unsigned cbData = 0;   // CopyData: the record's cbData
    std::string bytes;     // CopyData: the cbData bytes received; Script: the file's content
    std::string path;      // Script: the file's path as typed
    int window = 0;        // which of the stand-in's windows got it: 0 main, 1 second match, 2 text window
    bool wParamIsWindow = false;  // CopyData: wParam was the receiving window's own handle
};

namespace transcript {

// Line forms (bytes as lower-case hex, "-" for none):
//   COPYDATA <window> <dwData> <cbData> <wParamIsWindow 0|1> <hex bytes>
//   NULL <window>
//   SCRIPT <hex path> <hex bytes>
//   SET <name> <value>            a system variable changed (not an event of the list)
std::string copyDataLine(int window, unsigned dwData, unsigned cbData, bool wParamIsWindow,
                         std::string_view bytes);
std::string nullLine(int window);
std::string scriptLine(std::string_view path, std::string_view bytes);
std::string setLine(std::string_view name, std::string_view value);

// The events of a whole transcript text, in order; lines of other kinds and broken lines are skipped.
std::vector<TranscriptEvent> parse(std::string_view text);

std::string toHex(std::string_view bytes);
// Nothing when `hex` is not an even run of hex digits (or "-", which is empty).
bool fromHex(std::string_view hex, std::string& out);

}  // namespace transcript
