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

}  // namespace standin
