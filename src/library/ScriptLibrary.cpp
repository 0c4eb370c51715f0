// The script library on disk: save folders, listing of groups and scripts, the selected script's path,
// the name rule's warnings and the copy that never overwrites.
#include "library/ScriptLibrary.h"

#include <cstring>
#include <utility>

#include "library/Settings.h"
#include "win/WinHandles.h"

int zumenStatus = 1;

namespace {

std::function<ScriptSelection()>& selectionSource() {
    static std::function<ScriptSelection()> source;
    return source;
}

LibraryMessageBox& messageBox() {
    static LibraryMessageBox box;
    return box;
}

int warningShow(HWND owner, const char* text) {
    const char* caption = "注意";
    if (messageBox()) return messageBox()(owner, text, caption, MB_ICONWARNING);
    return ::MessageBoxA(owner, text, caption, MB_ICONWARNING);
}

}  // namespace

std::string saveFolderGet() {
    std::string folder = configValueRead(zumenStatus == 1 ? kConfigSaveFolder1 : kConfigSaveFolder2);
    return folder.empty() ? saveFolderDefault(zumenStatus) : folder;
}

void folderEntriesRead(std::vector<std::string>& list, const std::string& mask, bool folderMode) {
    win::FileSearch search(mask.c_str());
    if (!search.valid()) return;
    do {
        const WIN32_FIND_DATAA& data = search.entry();
        // cFileName is zero-terminated by the platform; the bound keeps a broken entry from reading on.
        std::string name(data.cFileName, ::strnlen(data.cFileName, sizeof data.cFileName));
        if (isDotEntry(name)) continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folderMode) {
            if (!isFolder || (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
            list.push_back(std::move(name));
        } else {
            // A folder named like a script is no script, and a short-name match is no match of the long name.
            if (isFolder || !maskExtensionAccepts(mask, name)) continue;
            list.push_back(lastExtensionRemove(name));
        }
    } while (search.next());
}

void groupNamesRead(std::vector<std::string>& list) { folderEntriesRead(list, groupListingMask(saveFolderGet()), true); }

void scriptNamesRead(std::vector<std::string>& list, const std::string& groupName) {
    folderEntriesRead(list, scriptListingMask(saveFolderGet(), groupName), false);
}

void scriptSelectionSourceSet(std::function<ScriptSelection()> source) { selectionSource() = std::move(source); }

std::string selectedScriptPath() {
    if (!selectionSource()) return kNoScriptPath;
    ScriptSelection selection = selectionSource()();
    if (selection.groupCount <= 0 || selection.scriptCount <= 0) return kNoScriptPath;
    return scriptFilePath(saveFolderGet(), selection.groupText, selection.scriptText);
}

bool nameCheck(HWND owner, const std::string& name) {
    // The two tests are the same for groups and scripts.
    const NameFaults faults = nameFaultsFind(name, NameKind::Group);
    if (faults.forbiddenCharacter) warningShow(owner, "\\ / : * ? \" < > | は名称に使用できません");
    if (faults.tooLong) warningShow(owner, "250文字以上の名称は設定できません");
    return !faults.ruleFails();
}

bool fileCopyNoOverwrite(const std::string& source, const std::string& destination) {
    return ::CopyFileA(source.c_str(), destination.c_str(), TRUE) != FALSE;
}

void libraryMessageBoxSet(LibraryMessageBox box) { messageBox() = std::move(box); }
