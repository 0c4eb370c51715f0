// The changes the maintenance windows make to the library on disk: group folders created, renamed and removed,
// scripts created from the template, imported, renamed, deleted and copied out. Each operation says what it did
// in a small result; the windows decide what the user is shown. Paths are formed as in LibraryRules.h.
#pragma once

#include <string>

// What an operation did. Each operation lists the values it gives.
enum class LibraryResult {
    Done,
    NameRefused,  // the name has a fault (NameRules.h): nothing was tried
    Exists,       // the target is there already; nothing was changed
    NotEmpty,     // the group folder still holds a file or a folder
    SameFile,     // a copy onto the script's own file: nothing to do, the script is whole
    Failed,       // the platform refused: missing source, in use, no permission, disk full ...
};

// True when a folder (not a plain file) exists at the group's path; the file system matches the name its own way
// ("abc" finds "ABC").
bool groupExists(const std::string& saveFolder, const std::string& name);

// A new group folder. Done, NameRefused (any fault of a group name, the empty one too), Exists, Failed.
LibraryResult groupCreate(const std::string& saveFolder, const std::string& name);

// Renames a group folder with the platform's move, which never replaces a target. Done, NameRefused (a fault of
// the new name, or an old name that reaches no group folder of its own), Exists, Failed.
LibraryResult groupRename(const std::string& saveFolder, const std::string& oldName, const std::string& newName);

// Removes a group folder, only when it is empty: the scripts of a group are never deleted with it. Done,
// NameRefused (a name that reaches no group folder of its own, such as "" or ".."), NotEmpty, Failed.
LibraryResult groupDelete(const std::string& saveFolder, const std::string& name);

// True when a file (not a folder) exists at the script's path.
bool scriptExists(const std::string& saveFolder, const std::string& group, const std::string& name);

// A new script holding the template (four comment lines, 187 bytes), written only to a file that did not exist: an existing file is never
// replaced. A failed write removes the unfinished file. errorText is set whenever the result is not Done: the
// text for the application's error box.
struct ScriptCreated {
    LibraryResult result;  // Done, NameRefused (any fault of a script name), Exists, Failed
    std::string errorText;
};
ScriptCreated scriptCreate(const std::string& saveFolder, const std::string& group, const std::string& name);

// Copies a chosen file into the group as the script named by the file's name without its folder and its last
// extension (importedScriptName), never over an existing file. That name is not held to the name rule, as the
// user did not type it, but an empty name and one that names a device are refused.
struct ScriptImported {
    LibraryResult result;  // Done, NameRefused, Exists, Failed
    std::string name;      // the script's name, also when the import failed
};
ScriptImported scriptImport(const std::string& saveFolder, const std::string& group, const std::string& chosenPath);

// Renames a script file with the platform's move, which never replaces a target. Done, NameRefused (any fault of
// the new name, the empty one too, or an old name that reaches no script file of its own), Exists, Failed.
LibraryResult scriptRename(const std::string& saveFolder, const std::string& group, const std::string& oldName,
                           const std::string& newName);

// Deletes a script file. Done, NameRefused (a name that reaches no script file of its own), Failed.
LibraryResult scriptDelete(const std::string& saveFolder, const std::string& group, const std::string& name);

// Copies a script to a chosen file, replacing that file: the copy is written to a new file beside the target,
// which replaces the target only once it is complete, so a failure leaves the target as it was. A target that is
// the script's own file (whatever path names it: short names, other letter case, links) is left alone. Done,
// SameFile, NameRefused, Failed (the script or the target's folder cannot be reached, the target is read-only ...).
LibraryResult scriptCopyOut(const std::string& saveFolder, const std::string& group, const std::string& name,
                            const std::string& targetPath);
