// Scratch files and folders for the library's Windows tests.
#include "LibraryTestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "library/Settings.h"

namespace {

void treeRemove(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                treeRemove(child);
            } else {
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(path.c_str());
}

// WritePrivateProfileString with every argument null except the file drops the cached copy of that file.
void iniCacheDrop() { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniFilePath().c_str()); }

}  // namespace

void testIniRemove() {
    const std::string path = iniFilePath();
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        treeRemove(path);
    } else {
        ::DeleteFileA(path.c_str());
    }
    iniCacheDrop();
    ASSERT_FALSE(pathExists(path)) << path;
}

void testIniWrite(const std::string& bytes) {
    testIniRemove();
    fileWrite(iniFilePath(), bytes);
    iniCacheDrop();
}

std::string testIniRead() { return pathExists(iniFilePath()) ? fileRead(iniFilePath()) : std::string(); }

void fileWrite(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_TRUE(ok && written == bytes.size()) << path;
}

std::string fileRead(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open " << path;
        return std::string();
    }
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

bool pathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void folderCreate(const std::string& path) { ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << path; }

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH + 1];
    DWORD length = ::GetTempPathA(sizeof temp, temp);
    std::string base(temp, length);
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (unsigned n = ::GetTickCount() & 0xFFFF;; ++n) {
        std::string candidate = base + "\\canopia-library-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                std::to_string(n);
        if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create a folder in " << base;
            path_ = candidate;
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() { treeRemove(path_); }
