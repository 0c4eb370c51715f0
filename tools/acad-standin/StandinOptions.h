// What the AutoCAD stand-in is started with, and its command line in both directions. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct StandinOptions {
    std::string title = "AutoCAD 2004 - [Drawing1.dwg]";
    std::string className = "Afx:400000:8:10011:0:0";
    int sdi = 1;
    int filedia = 1;
    int osnapcoord = 0;
    bool mountTam = true;          // false: the command-line frame is not named "MountTam"
    bool secondWindow = false;     // a second matching main window, created after the first
    std::string secondTitle = "AutoCAD 2004 - [Drawing2.dwg]";
    bool textWindow = false;       // AutoCAD's text window: "AutoCAD テキスト ウィンドウ - ...", Afx: class
    unsigned hangMilliseconds = 0; // a wait inside WM_COPYDATA ...
    unsigned hangFrom = 1;         // ... from the k-th WM_COPYDATA on (1 = every one)
    unsigned scriptPaceMs = 0;     // > 0: a script read by SCRIPT is typed a line at a time, this far apart
    unsigned crashAt = 0;          // > 0: ends itself, as in a crash, at the k-th drawing opened (paced: one
                                   // pace later, so the title has named it for that long)
    bool elevated = false;         // marked as running elevated: an emulating sender refuses to reach it
    std::string transcriptPath;    // where every received event is written ("" = nowhere)
    std::string statePath;         // where the stand-in keeps its windows, variables and sync count
};

namespace standin {

// Posted by a client with a count in lParam; the stand-in writes the count to its state file once it
// has handled everything that was in its queue before it.
constexpr unsigned kSyncMessage = 0x8000 + 0x51;  // WM_APP + 0x51

// Splits a Windows command line as the C runtime does (quotes, backslashes before quotes), without
// ever taking the trail byte of a Shift-JIS character for a backslash or a quote.
std::vector<std::string> splitCommandLine(std::string_view line);

// One argument quoted so that splitCommandLine gives it back unchanged.
std::string quoteArgument(std::string_view argument);

// The arguments (without the program name) that start a stand-in with `options`.
std::string argumentsFor(const StandinOptions& options);

// Reads arguments (without the program name). False with a message on an unknown or bad option.
bool parseArguments(const std::vector<std::string>& arguments, StandinOptions& options, std::string& error);

// The main window's title with the drawing `path` open: `title` up to its last "[" (or the whole title and
// " - " when it has none), then "[", the drawing's name without its folder, and "]" (Shift-JIS aware).
std::string titleWithDrawing(std::string_view title, std::string_view path);

}  // namespace standin
