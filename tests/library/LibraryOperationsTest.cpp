// The library's file operations on real folders under Wine: what each one does on disk and what it reports, and
// that nothing it refuses or fails at leaves anything changed or half written.
#include "library/LibraryOperations.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "LibraryTestFiles.h"
#include "library/ScriptLibrary.h"

// Results by name in failure messages.
std::ostream& operator<<(std::ostream& out, LibraryResult result) {
    const char* const names[] = {"Done", "NameRefused", "Exists", "NotEmpty", "SameFile", "Failed"};
    return out << names[static_cast<int>(result)];
}

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";         // 表示, trail byte 0x5C
const std::string kSosu = "\x83\x5C\x81\x5B\x83\x58";  // ソース, trail byte 0x5C

// Every entry of a folder, sorted, folders marked with a trailing "\".
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        names.push_back(name + ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "\\" : ""));
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

class LibraryOperations : public ::testing::Test {
protected:
    void SetUp() override {
        lib_ = scratch_ / "lib";
        folderCreate(lib_);
    }
    std::string group(const std::string& name) const { return lib_ + "\\" + name; }
    std::string script(const std::string& g, const std::string& name) const { return group(g) + "\\" + name + ".scr"; }

    ScratchFolder scratch_;
    std::string lib_;
};

TEST_F(LibraryOperations, GroupCreateMakesOnlyAPlainFolderOfThatName) {
    EXPECT_EQ(groupCreate(lib_, "Walls"), LibraryResult::Done);
    EXPECT_EQ(groupCreate(lib_, kHyoji), LibraryResult::Done);
    EXPECT_EQ(groupCreate(lib_, "walls"), LibraryResult::Exists);  // the file system's own matching
    fileWrite(group("plain"), "x");
    EXPECT_EQ(groupCreate(lib_, "plain"), LibraryResult::Exists);
    for (const char* refused : {"", ".", "..", "a\\b", "..\\up", "con", "nul.txt", "x.", "x ", "a?b"})
        EXPECT_EQ(groupCreate(lib_, refused), LibraryResult::NameRefused) << refused;
    EXPECT_EQ(groupCreate(lib_, std::string(251, 'a')), LibraryResult::NameRefused);
    EXPECT_EQ(entries(lib_), (std::vector<std::string>{"Walls\\", "plain", kHyoji + "\\"}));
    EXPECT_EQ(entries(scratch_.path()), std::vector<std::string>{"lib\\"}) << "nothing outside the save folder";
    EXPECT_EQ(groupCreate(scratch_ / "missing", "g"), LibraryResult::Failed);

    EXPECT_TRUE(groupExists(lib_, "Walls"));
    EXPECT_TRUE(groupExists(lib_, "WALLS"));
    EXPECT_FALSE(groupExists(lib_, "plain")) << "a file is no group";
    EXPECT_FALSE(groupExists(lib_, "none"));
}

TEST_F(LibraryOperations, GroupRenameNeverReplacesAndRefusesNamesThatReachElsewhere) {
    folderCreate(group("alpha"));
    folderCreate(group("beta"));
    fileWrite(group("alpha") + "\\a.scr", "A");
    EXPECT_EQ(groupRename(lib_, "alpha", "beta"), LibraryResult::Exists);
    EXPECT_EQ(groupRename(lib_, "alpha", ""), LibraryResult::NameRefused);
    EXPECT_EQ(groupRename(lib_, "alpha", "..\\alpha"), LibraryResult::NameRefused);
    EXPECT_EQ(groupRename(lib_, "alpha", "gamma "), LibraryResult::NameRefused);
    EXPECT_EQ(groupRename(lib_, "", "x"), LibraryResult::NameRefused) << "the save folder itself";
    EXPECT_EQ(groupRename(lib_, "..", "x"), LibraryResult::NameRefused);
    EXPECT_EQ(groupRename(lib_, "missing", "x"), LibraryResult::Failed);
    EXPECT_EQ(entries(lib_), (std::vector<std::string>{"alpha\\", "beta\\"}));

    EXPECT_EQ(groupRename(lib_, "alpha", kSosu), LibraryResult::Done);
    EXPECT_EQ(entries(lib_), (std::vector<std::string>{"beta\\", kSosu + "\\"}));
    EXPECT_EQ(fileRead(group(kSosu) + "\\a.scr"), "A") << "the scripts move with their group";
}

TEST_F(LibraryOperations, GroupDeleteRemovesOnlyAnEmptyFolder) {
    folderCreate(group("empty"));
    folderCreate(group("scripts"));
    fileWrite(group("scripts") + "\\x.scr", "LINE\r\n");
    folderCreate(group("nested"));
    folderCreate(group("nested") + "\\deeper");
    fileWrite(group("file"), "");
    EXPECT_EQ(groupDelete(lib_, "scripts"), LibraryResult::NotEmpty);
    EXPECT_EQ(groupDelete(lib_, "nested"), LibraryResult::NotEmpty);
    EXPECT_EQ(groupDelete(lib_, "missing"), LibraryResult::Failed);
    EXPECT_EQ(groupDelete(lib_, "file"), LibraryResult::Failed) << "a plain file is no group";
    EXPECT_EQ(groupDelete(lib_, "nested\\deeper"), LibraryResult::NameRefused);
    EXPECT_EQ(groupDelete(lib_, "empty"), LibraryResult::Done);
    EXPECT_EQ(entries(lib_), (std::vector<std::string>{"file", "nested\\", "scripts\\"}));
    EXPECT_EQ(fileRead(group("scripts") + "\\x.scr"), "LINE\r\n");

    // The empty name and the dot names would reach the save folder or the folder above it, even when empty.
    const std::string bare = scratch_ / "bare";
    folderCreate(bare);
    folderCreate(bare + "\\only");
    for (const char* refused : {"", ".", "..", "only."})
        EXPECT_EQ(groupDelete(bare + "\\only", refused), LibraryResult::NameRefused) << refused;
    EXPECT_TRUE(pathExists(bare + "\\only"));
}

TEST_F(LibraryOperations, ScriptCreateWritesTheTemplateOnlyIntoANewFile) {
    folderCreate(group("g"));
    const std::string rule = ";" + std::string(52, '=');
    const std::string expected = rule + "\r\n" +
                                 ";\x81\x40" "AutoCAD\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67\r\n" +  // ;　AutoCADスクリプト
                                 rule + "\r\n;" + [] {
                                     std::string heavy;
                                     for (int i = 0; i < 26; ++i) heavy += "\x84\xAA";  // ━
                                     return heavy;
                                 }() + "\r\n";
    ASSERT_EQ(expected.size(), 187u);

    const ScriptCreated made = scriptCreate(lib_, "g", kHyoji);
    EXPECT_EQ(made.result, LibraryResult::Done);
    EXPECT_EQ(made.errorText, "");
    EXPECT_EQ(fileRead(script("g", kHyoji)), expected);

    // An existing file, whatever its letter case, is never written over.
    fileWrite(script("g", "Mine"), "_LINE 0,0 1,1\r\n");
    for (const char* name : {"Mine", "MINE"}) {
        const ScriptCreated again = scriptCreate(lib_, "g", name);
        EXPECT_EQ(again.result, LibraryResult::Exists) << name;
        EXPECT_NE(again.errorText, "") << name;
    }
    EXPECT_EQ(fileRead(script("g", "Mine")), "_LINE 0,0 1,1\r\n");

    EXPECT_EQ(scriptCreate(lib_, "g", "").result, LibraryResult::NameRefused);
    EXPECT_EQ(scriptCreate(lib_, "g", "..\\up").result, LibraryResult::NameRefused);
    EXPECT_EQ(scriptCreate(lib_, "g", "con").result, LibraryResult::NameRefused);
    const ScriptCreated nowhere = scriptCreate(lib_, "missing", "x");
    EXPECT_EQ(nowhere.result, LibraryResult::Failed);
    EXPECT_NE(nowhere.errorText.find(script("missing", "x")), std::string::npos) << nowhere.errorText;
    EXPECT_EQ(entries(group("g")), (std::vector<std::string>{"Mine.scr", kHyoji + ".scr"}));

    EXPECT_TRUE(scriptExists(lib_, "g", "mine"));
    EXPECT_FALSE(scriptExists(lib_, "g", "other"));
    folderCreate(script("g", "folder"));
    EXPECT_FALSE(scriptExists(lib_, "g", "folder")) << "a folder is no script";
}

TEST_F(LibraryOperations, ScriptImportTakesTheFileNameAndNeverOverwrites) {
    folderCreate(group("g"));
    const std::string chosen = scratch_ / "abc.txt";
    fileWrite(chosen, "_ZOOM\r\n_E\r\n");
    ScriptImported imported = scriptImport(lib_, "g", chosen);
    EXPECT_EQ(imported.result, LibraryResult::Done);
    EXPECT_EQ(imported.name, "abc");
    EXPECT_EQ(fileRead(script("g", "abc")), "_ZOOM\r\n_E\r\n");

    fileWrite(chosen, "changed\r\n");
    imported = scriptImport(lib_, "g", chosen);
    EXPECT_EQ(imported.result, LibraryResult::Exists);
    EXPECT_EQ(imported.name, "abc");
    EXPECT_EQ(fileRead(script("g", "abc")), "_ZOOM\r\n_E\r\n");

    const std::string hyoji = scratch_ / (kHyoji + ".b.scr");
    fileWrite(hyoji, "x");
    imported = scriptImport(lib_, "g", hyoji);
    EXPECT_EQ(imported.result, LibraryResult::Done);
    EXPECT_EQ(imported.name, kHyoji + ".b");

    struct Refused {
        std::string path;
        LibraryResult result;
    };
    const Refused refused[] = {
        {scratch_ / ".scr", LibraryResult::NameRefused},
        {scratch_ / ".txt", LibraryResult::NameRefused},
        {scratch_ / "nul.txt", LibraryResult::NameRefused},  // would copy into the device and report a script
        {scratch_ / "missing.txt", LibraryResult::Failed},
        {"/ERROR/", LibraryResult::NameRefused},  // the failure marker: an empty file name
    };
    for (const auto& r : refused) EXPECT_EQ(scriptImport(lib_, "g", r.path).result, r.result) << r.path;
    EXPECT_EQ(scriptImport(lib_, "missing", chosen).result, LibraryResult::Failed);
    EXPECT_EQ(entries(group("g")), (std::vector<std::string>{"abc.scr", kHyoji + ".b.scr"}));
}

TEST_F(LibraryOperations, ScriptRenameAndDeleteChangeOnlyTheirFile) {
    folderCreate(group("g"));
    fileWrite(script("g", "one"), "1");
    fileWrite(script("g", "two"), "2");
    EXPECT_EQ(scriptRename(lib_, "g", "one", "two"), LibraryResult::Exists);
    EXPECT_EQ(scriptRename(lib_, "g", "one", ""), LibraryResult::NameRefused) << "the file would become .scr";
    EXPECT_EQ(scriptRename(lib_, "g", "one", ".."), LibraryResult::NameRefused);
    EXPECT_EQ(scriptRename(lib_, "g", "one", "..\\..\\out"), LibraryResult::NameRefused);
    EXPECT_EQ(scriptRename(lib_, "g", "one", "aux"), LibraryResult::NameRefused);
    EXPECT_EQ(scriptRename(lib_, "g", "missing", "three"), LibraryResult::Failed);
    EXPECT_EQ(scriptRename(lib_, "g", "..\\g\\one", "three"), LibraryResult::NameRefused);
    EXPECT_EQ(entries(group("g")), (std::vector<std::string>{"one.scr", "two.scr"}));

    EXPECT_EQ(scriptRename(lib_, "g", "one", kSosu), LibraryResult::Done);
    EXPECT_EQ(fileRead(script("g", kSosu)), "1");

    EXPECT_EQ(scriptDelete(lib_, "g", "missing"), LibraryResult::Failed);
    EXPECT_EQ(scriptDelete(lib_, "g", "..\\g\\two"), LibraryResult::NameRefused);
    EXPECT_EQ(scriptDelete(lib_, "g", kSosu), LibraryResult::Done);
    EXPECT_EQ(entries(group("g")), std::vector<std::string>{"two.scr"});
}

TEST_F(LibraryOperations, CopyOutReplacesTheTargetOnlyWithACompleteCopy) {
    folderCreate(group("g"));
    const std::string content = "_LINE\r\n0,0\r\n" + kHyoji + "\r\n";
    fileWrite(script("g", "s"), content);
    const std::string out = scratch_ / "out";
    folderCreate(out);

    EXPECT_EQ(scriptCopyOut(lib_, "g", "s", out + "\\new.scr"), LibraryResult::Done);
    EXPECT_EQ(fileRead(out + "\\new.scr"), content);
    fileWrite(out + "\\old.scr", std::string(5000, 'o'));
    EXPECT_EQ(scriptCopyOut(lib_, "g", "s", out + "\\old.scr"), LibraryResult::Done);
    EXPECT_EQ(fileRead(out + "\\old.scr"), content);

    // Failures leave no temporary file and no changed target behind.
    folderCreate(out + "\\folder.scr");
    EXPECT_EQ(scriptCopyOut(lib_, "g", "s", out + "\\folder.scr"), LibraryResult::Failed);
    EXPECT_EQ(scriptCopyOut(lib_, "g", "s", out + "\\missing\\x.scr"), LibraryResult::Failed);
    EXPECT_EQ(scriptCopyOut(lib_, "g", "gone", out + "\\gone.scr"), LibraryResult::Failed);
    EXPECT_EQ(scriptCopyOut(lib_, "g", "..\\g\\s", out + "\\up.scr"), LibraryResult::NameRefused);
    EXPECT_EQ(entries(out), (std::vector<std::string>{"folder.scr\\", "new.scr", "old.scr"}));
}

TEST_F(LibraryOperations, CopyOutOntoTheScriptsOwnFileKeepsIt) {
    folderCreate(group("g"));
    folderCreate(group("g") + "\\sub");
    const std::string content = "_CIRCLE 0,0 5\r\n";
    fileWrite(script("g", "s"), content);
    // The same file through other path texts: another letter case, a detour, a forward slash.
    const std::string sameFile[] = {
        script("g", "s"),
        group("G") + "\\S.SCR",
        group("g") + "\\sub\\..\\s.scr",
        lib_ + "/g/s.scr",
    };
    for (const std::string& target : sameFile) {
        EXPECT_EQ(scriptCopyOut(lib_, "g", "s", target), LibraryResult::SameFile) << target;
        EXPECT_EQ(fileRead(script("g", "s")), content) << target;
    }
    EXPECT_EQ(entries(group("g")), (std::vector<std::string>{"s.scr", "sub\\"}));
}

}  // namespace
