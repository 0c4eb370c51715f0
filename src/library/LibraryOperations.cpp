// Group and script files of the library changed on disk with the kernel's file calls.
#include "library/LibraryOperations.h"

#include <windows.h>

#include <string_view>

#include "core/Cp932.h"
#include "library/LibraryRules.h"
#include "library/NameRules.h"
#include "library/ScriptLibrary.h"
#include "win/WinHandles.h"

namespace {

// The new-script template: ";" and 52 "=", ";" with an ideographic space and "AutoCADスクリプト", the first line
// again, and ";" with 26 "━", each line ended by CR LF.
constexpr std::string_view kRule = ";====================================================";
constexpr std::string_view kTitle = ";\x81\x40" "AutoCAD\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67";
constexpr std::string_view kHeavyRule =
    ";\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA"
    "\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA\x84\xAA";

std::string newScriptTemplate() {
    std::string text;
    for (std::string_view line : {kRule, kTitle, kRule, kHeavyRule}) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

bool attributesSay(const std::string& path, bool folder) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

bool isExistsError(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

LibraryResult moveResult(const std::string& from, const std::string& to) {
    if (::MoveFileA(from.c_str(), to.c_str())) return LibraryResult::Done;
    return isExistsError(::GetLastError()) ? LibraryResult::Exists : LibraryResult::Failed;
}

// Writes all of `bytes`, then asks for them to reach the disk, so a failure shows here and not after the close.
bool writeWhole(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return ::FlushFileBuffers(file) != FALSE;
}

// The file's identity: its volume and its index on that volume, the same through every path that reaches it.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity& o) const {
        return volume == o.volume && indexHigh == o.indexHigh && indexLow == o.indexLow;
    }
};

// Opened for no access but its attributes, so a file in use by another program is still recognised; backup
// semantics let a folder open too (it is then no file a copy can replace).
bool identityRead(const std::string& path, FileIdentity& identity, bool& isFolder) {
    win::UniqueHandle file(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info)) return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    isFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return true;
}

// The folder part of a path, for the temporary file beside it; "." for a bare file name.
std::string folderOf(const std::string& path) {
    std::size_t end = cp932::npos;
    for (char separator : {'\\', '/'}) {
        const std::size_t at = cp932::findLastChar(path, separator);
        if (at != cp932::npos && (end == cp932::npos || at > end)) end = at;
    }
    if (end == cp932::npos) {
        const std::size_t colon = cp932::findLastChar(path, ':');
        return colon == cp932::npos ? std::string(".") : path.substr(0, colon + 1);
    }
    // A root keeps its separator ("C:\", "\").
    if (end == 0 || path[end - 1] == ':') return path.substr(0, end + 1);
    return path.substr(0, end);
}

// A file made only for this copy; the copy may have made it read-only like the script.
void temporaryRemove(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

}  // namespace

bool groupExists(const std::string& saveFolder, const std::string& name) {
    return attributesSay(groupFolderPath(saveFolder, name), true);
}

LibraryResult groupCreate(const std::string& saveFolder, const std::string& name) {
    if (nameFaultsFind(name, NameKind::Group).any()) return LibraryResult::NameRefused;
    if (::CreateDirectoryA(groupFolderPath(saveFolder, name).c_str(), nullptr)) return LibraryResult::Done;
    return isExistsError(::GetLastError()) ? LibraryResult::Exists : LibraryResult::Failed;
}

LibraryResult groupRename(const std::string& saveFolder, const std::string& oldName, const std::string& newName) {
    if (!nameReachesEntry(oldName, NameKind::Group) || nameFaultsFind(newName, NameKind::Group).any())
        return LibraryResult::NameRefused;
    return moveResult(groupFolderPath(saveFolder, oldName), groupFolderPath(saveFolder, newName));
}

LibraryResult groupDelete(const std::string& saveFolder, const std::string& name) {
    if (!nameReachesEntry(name, NameKind::Group)) return LibraryResult::NameRefused;
    if (::RemoveDirectoryA(groupFolderPath(saveFolder, name).c_str())) return LibraryResult::Done;
    return ::GetLastError() == ERROR_DIR_NOT_EMPTY ? LibraryResult::NotEmpty : LibraryResult::Failed;
}

bool scriptExists(const std::string& saveFolder, const std::string& group, const std::string& name) {
    return attributesSay(scriptFilePath(saveFolder, group, name), false);
}

ScriptCreated scriptCreate(const std::string& saveFolder, const std::string& group, const std::string& name) {
    const std::string path = scriptFilePath(saveFolder, group, name);
    if (nameFaultsFind(name, NameKind::Script).any())
        return {LibraryResult::NameRefused, path + " を作成できません"};
    win::UniqueHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (isExistsError(::GetLastError())) return {LibraryResult::Exists, path + " はすでに存在します"};
        return {LibraryResult::Failed, path + " を作成できません"};
    }
    if (!writeWhole(file.get(), newScriptTemplate())) {
        // The file is this call's own: an unfinished script is removed rather than left in the list.
        file.reset();
        ::DeleteFileA(path.c_str());
        return {LibraryResult::Failed, path + " に書き込めません"};
    }
    return {LibraryResult::Done, {}};
}

ScriptImported scriptImport(const std::string& saveFolder, const std::string& group, const std::string& chosenPath) {
    ScriptImported imported{LibraryResult::Done, importedScriptName(chosenPath)};
    // A name such as "nul" would copy into a device and report a script that is not there.
    if (imported.name.empty() || !nameReachesEntry(imported.name, NameKind::Script)) {
        imported.result = LibraryResult::NameRefused;
    } else if (!fileCopyNoOverwrite(chosenPath, scriptFilePath(saveFolder, group, imported.name))) {
        // The copy's own error: the destination that was there already, or anything else.
        imported.result = isExistsError(::GetLastError()) ? LibraryResult::Exists : LibraryResult::Failed;
    }
    return imported;
}

LibraryResult scriptRename(const std::string& saveFolder, const std::string& group, const std::string& oldName,
                           const std::string& newName) {
    // The empty name would make the file ".scr", a script without a name.
    if (!nameReachesEntry(oldName, NameKind::Script) || nameFaultsFind(newName, NameKind::Script).any())
        return LibraryResult::NameRefused;
    return moveResult(scriptFilePath(saveFolder, group, oldName), scriptFilePath(saveFolder, group, newName));
}

LibraryResult scriptDelete(const std::string& saveFolder, const std::string& group, const std::string& name) {
    if (!nameReachesEntry(name, NameKind::Script)) return LibraryResult::NameRefused;
    return ::DeleteFileA(scriptFilePath(saveFolder, group, name).c_str()) ? LibraryResult::Done
                                                                           : LibraryResult::Failed;
}

LibraryResult scriptCopyOut(const std::string& saveFolder, const std::string& group, const std::string& name,
                            const std::string& targetPath) {
    if (!nameReachesEntry(name, NameKind::Script)) return LibraryResult::NameRefused;
    const std::string source = scriptFilePath(saveFolder, group, name);
    FileIdentity script, target;
    bool scriptIsFolder = false, targetIsFolder = false;
    if (!identityRead(source, script, scriptIsFolder) || scriptIsFolder) return LibraryResult::Failed;
    if (identityRead(targetPath, target, targetIsFolder)) {
        if (targetIsFolder) return LibraryResult::Failed;
        if (target == script) return LibraryResult::SameFile;
    }

    // GetTempFileNameA makes the file, so no other copy can take the same name.
    char temporary[MAX_PATH];
    if (!::GetTempFileNameA(folderOf(targetPath).c_str(), "cnp", 0, temporary)) return LibraryResult::Failed;
    const std::string temporaryPath = temporary;
    if (!::CopyFileA(source.c_str(), temporaryPath.c_str(), FALSE) ||
        !::MoveFileExA(temporaryPath.c_str(), targetPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        temporaryRemove(temporaryPath);
        return LibraryResult::Failed;
    }
    return LibraryResult::Done;
}
