// The script library on disk: one save folder per processing type, a folder per group in it and a .scr
// file per script in a group. Nothing is kept in memory; every list and path is read afresh.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "library/LibraryRules.h"
#include "library/NameRules.h"

// Program-wide processing type: 1 runs on the current drawing, any other value on several files.
extern int zumenStatus;

// The save folder of the current processing type: the stored folder, or the default when it is absent or empty.
std::string saveFolderGet();

// Appends the names that match `mask`, in the platform's enumeration order. Folder mode takes folders that are
// neither hidden nor system, by their names; file mode takes files of any attributes, without their last
// extension. A missing folder or a mask that matches nothing appends nothing.
void folderEntriesRead(std::vector<std::string>& list, const std::string& mask, bool folderMode);

// Appends the groups of the current processing type.
void groupNamesRead(std::vector<std::string>& list);

// Appends the scripts of a group; the empty group name lists the scripts lying in the save folder itself.
void scriptNamesRead(std::vector<std::string>& list, const std::string& groupName);

// What the main window shows: entry counts and texts of its group box and of its script list's selection.
struct ScriptSelection {
    int groupCount = 0;
    std::string groupText;
    int scriptCount = 0;
    std::string scriptText;
};

// The main window registers the function that reads its group box and script list.
void scriptSelectionSourceSet(std::function<ScriptSelection()> source);

// The selected script's full path, or "/ERROR/" unless both lists have entries. The file is not looked at.
std::string selectedScriptPath();

// The name rule with its warnings, owned by `owner`: the character warning, then the length warning, each
// shown when its test fails. True when the name passes both.
bool nameCheck(HWND owner, const std::string& name);

// Copies a file unless the destination exists; true only when the copy was made.
bool fileCopyNoOverwrite(const std::string& source, const std::string& destination);

// The message box the library's warnings go through: MessageBoxA unless replaced (tests record instead).
using LibraryMessageBox = std::function<int(HWND owner, const char* text, const char* caption, UINT style)>;
void libraryMessageBoxSet(LibraryMessageBox box);
