// The demonstration's arguments and its account of what the AutoCAD stand-in received during one run.
// Portable: the demo program fills it from the stand-in's transcript and prints it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Transcript.h"

namespace demo {

// Where a script lives in the library: a group folder and the script's name without ".scr".
struct ScriptChoice {
    std::string group;
    std::string script;
};

struct DemoOptions {
    std::string folder;      // the program folder holding canopia.exe and its library
    std::string transcript;  // the file the stand-in writes everything it receives to
    std::string shots;       // folder the screenshots appear in; empty: none are asked for
    ScriptChoice current;    // run on the current drawing
    ScriptChoice batch;      // run once per drawing
    bool writeBatch = false; // the batch script is new: written in the script editor before its run
    std::vector<std::string> drawings;  // full paths, all in one folder, in the order they are chosen
};

// Reads `--folder=DIR --transcript=FILE [--shots=DIR] --current=GROUP/SCRIPT (--batch|--edit)=GROUP/SCRIPT
// DRAWING...`; --edit names a script that does not exist yet and is written in the script editor, then run.
// False with a message when something is missing, unknown or the drawings are not in one folder.
bool parseArguments(const std::vector<std::string>& arguments, DemoOptions& options, std::string& error);

// The folder part of a path (no trailing backslash, except for a drive root "C:\") and the name after
// the last backslash. The trail byte 0x5C of a double-byte character is never taken for the separator.
struct PathParts {
    std::string folder;
    std::string name;
};
PathParts splitPath(std::string_view path);

// What the stand-in received between two points of its transcript.
struct RunRecord {
    std::vector<std::string> strings;      // each WM_COPYDATA's bytes, without the closing NUL
    std::size_t nulls = 0;                 // posted WM_NULL messages
    std::vector<TranscriptEvent> scripts;  // the script files it read (path and content)
};
RunRecord runRecord(const std::vector<TranscriptEvent>& events, std::size_t from, std::size_t to);

// A received string as it reads on a terminal: CR as "\r", LF as "\n", the code 3 of the cancel as "^C",
// other control bytes as "\xNN"; Shift-JIS text and backslashes unchanged.
std::string readable(std::string_view bytes);

// The lines of a script text: a line ends at LF or CR LF; a last line without an ending counts.
std::vector<std::string> scriptLines(std::string_view text);

// The numbered list of strings with the WM_NULL count, and the lines of every script read (Shift-JIS).
std::string runReport(const RunRecord& run);

// What is wrong with a run that should have brought `expectedStrings` strings, each with its WM_NULL, and
// `expectedScripts` script files read; empty when nothing is.
std::vector<std::string> runProblems(const RunRecord& run, std::size_t expectedStrings, std::size_t expectedScripts);

}  // namespace demo
