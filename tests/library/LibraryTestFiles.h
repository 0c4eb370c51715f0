// Files and folders for the Windows tests of the library: the test program's own settings file, and a
// scratch folder under the temp folder that is removed with everything in it.
#pragma once

#include <string>

// Removes the settings file and drops the platform's cached copy of it, so the next read sees no file.
void testIniRemove();

// Replaces the settings file with exactly these bytes.
void testIniWrite(const std::string& bytes);

// The settings file's bytes, or "" when there is none.
std::string testIniRead();

// Whole-file helpers with Windows paths; they fail the current test when the platform refuses.
void fileWrite(const std::string& path, const std::string& bytes);
std::string fileRead(const std::string& path);
bool pathExists(const std::string& path);
void folderCreate(const std::string& path);

// A fresh folder under GetTempPath, removed with its whole contents when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};
