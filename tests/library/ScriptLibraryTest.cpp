// The script library on real folders under Wine: which entries are groups and scripts, which save folder
// is used, the selected script's path, the name warnings and the copy that never overwrites.
#include "library/ScriptLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LibraryTestFiles.h"
#include "library/Settings.h"

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";         // 表示, trail byte 0x5C
const std::string kSosu = "\x83\x5C\x81\x5B\x83\x58";  // ソース, trail byte 0x5C
const std::string kKanji = "\x8A\xBF";                 // 漢
const std::string kCaution = "\x92\x8D\x88\xD3";       // 注意
// \ / : * ? " < > | は名称に使用できません
const std::string kCharacterWarning =
    "\\ / : * ? \" < > | \x82\xCD\x96\xBC\x8F\xCC\x82\xC9\x8E\x67\x97\x70\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
// 250文字以上の名称は設定できません
const std::string kLengthWarning =
    "250\x95\xB6\x8E\x9A\x88\xC8\x8F\xE3\x82\xCC\x96\xBC\x8F\xCC\x82\xCD\x90\xDD\x92\xE8\x82\xC5\x82\xAB\x82\xDC"
    "\x82\xB9\x82\xF1";

struct ShownBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class ScriptLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        testIniRemove();
        zumenStatus = 1;
        lib1_ = scratch_ / "single";
        lib2_ = scratch_ / "batch";
        folderCreate(lib1_);
        folderCreate(lib2_);
        profileTextWrite(kConfigSection, kConfigSaveFolder1, lib1_);
        profileTextWrite(kConfigSection, kConfigSaveFolder2, lib2_);
        libraryMessageBoxSet([this](HWND owner, const char* text, const char* caption, UINT style) {
            shown_.push_back({owner, text, caption, style});
            return IDOK;
        });
    }
    void TearDown() override {
        libraryMessageBoxSet(nullptr);
        scriptSelectionSourceSet(nullptr);
        zumenStatus = 1;
        testIniRemove();
    }

    std::vector<std::string> groups() {
        std::vector<std::string> list;
        groupNamesRead(list);
        return sorted(list);
    }
    std::vector<std::string> scripts(const std::string& group) {
        std::vector<std::string> list;
        scriptNamesRead(list, group);
        return sorted(list);
    }
    void selectionSet(int groupCount, const std::string& group, int scriptCount, const std::string& script) {
        scriptSelectionSourceSet([=] { return ScriptSelection{groupCount, group, scriptCount, script}; });
    }

    ScratchFolder scratch_;
    std::string lib1_, lib2_;
    std::vector<ShownBox> shown_;
};

TEST_F(ScriptLibrary, GroupsAreTheVisibleFoldersOfTheSaveFolder) {
    folderCreate(lib1_ + "\\Walls");
    folderCreate(lib1_ + "\\annotation");
    folderCreate(lib1_ + "\\" + kHyoji);
    folderCreate(lib1_ + "\\Walls\\nested");                 // deeper folders are no groups
    folderCreate(lib1_ + "\\.dot");                          // Wine shows dot folders as hidden
    fileWrite(lib1_ + "\\plain.scr", "_LINE\r\n");          // a file is no group
    fileWrite(lib1_ + "\\noext", "");
    std::vector<std::string> expected = {"Walls", "annotation", kHyoji};
    folderCreate(lib1_ + "\\secret");
    ::SetFileAttributesA((lib1_ + "\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    if (!(::GetFileAttributesA((lib1_ + "\\secret").c_str()) & FILE_ATTRIBUTE_HIDDEN)) expected.push_back("secret");
    folderCreate(lib1_ + "\\system");
    ::SetFileAttributesA((lib1_ + "\\system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    if (!(::GetFileAttributesA((lib1_ + "\\system").c_str()) & FILE_ATTRIBUTE_SYSTEM)) expected.push_back("system");
    EXPECT_EQ(::GetFileAttributesA((lib1_ + "\\.dot").c_str()) & FILE_ATTRIBUTE_HIDDEN,
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(groups(), sorted(expected));
}

TEST_F(ScriptLibrary, ScriptsAreScrFilesWithoutTheirLastExtension) {
    const std::string group = lib1_ + "\\g";
    folderCreate(group);
    fileWrite(group + "\\a.b.scr", "");
    fileWrite(group + "\\Layer setup.scr", "");
    fileWrite(group + "\\UPPER.SCR", "");
    fileWrite(group + "\\" + kSosu + ".scr", "");
    fileWrite(group + "\\x.scr", "");
    ::SetFileAttributesA((group + "\\x.scr").c_str(), FILE_ATTRIBUTE_HIDDEN);  // hidden files are listed too
    fileWrite(group + "\\.dot.scr", "");                                       // hidden under Wine
    fileWrite(group + "\\readme.txt", "");
    fileWrite(group + "\\a.scrap", "");
    fileWrite(group + "\\a.scr.bak", "");
    folderCreate(group + "\\folder.scr");  // a folder is no script
    EXPECT_EQ(scripts("g"), sorted({"a.b", "Layer setup", "UPPER", kSosu, "x", ".dot"}));
}

TEST_F(ScriptLibrary, EmptyGroupNameListsTheSaveFolderItself) {
    fileWrite(lib1_ + "\\top.scr", "");
    folderCreate(lib1_ + "\\g");
    fileWrite(lib1_ + "\\g\\inner.scr", "");
    EXPECT_EQ(scripts(""), std::vector<std::string>{"top"});
    EXPECT_EQ(scripts("g"), std::vector<std::string>{"inner"});
}

TEST_F(ScriptLibrary, MissingFoldersListNothingAndListsAreOnlyAppendedTo) {
    std::vector<std::string> list = {"kept"};
    scriptNamesRead(list, "no such group");
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
    profileTextWrite(kConfigSection, kConfigSaveFolder1, scratch_ / "missing");
    groupNamesRead(list);
    scriptNamesRead(list, "");
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
    folderEntriesRead(list, scratch_ / "missing\\deeper\\*.*", true);
    folderEntriesRead(list, "", false);
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
}

TEST_F(ScriptLibrary, ProcessingTypeChoosesTheSaveFolder) {
    folderCreate(lib1_ + "\\one");
    folderCreate(lib2_ + "\\two");
    fileWrite(lib2_ + "\\two\\batch.scr", "");
    EXPECT_EQ(saveFolderGet(), lib1_);
    EXPECT_EQ(groups(), std::vector<std::string>{"one"});
    zumenStatus = 2;
    EXPECT_EQ(saveFolderGet(), lib2_);
    EXPECT_EQ(groups(), std::vector<std::string>{"two"});
    EXPECT_EQ(scripts("two"), std::vector<std::string>{"batch"});
    zumenStatus = 3;  // any type but 1 is several files
    EXPECT_EQ(saveFolderGet(), lib2_);
    zumenStatus = 0;
    EXPECT_EQ(saveFolderGet(), lib2_);
}

TEST_F(ScriptLibrary, EmptyOrAbsentSaveFolderMeansTheDefault) {
    profileTextWrite(kConfigSection, kConfigSaveFolder1, "");
    EXPECT_EQ(profileTextRead(kConfigSection, kConfigSaveFolder1), std::optional<std::string>(""));
    EXPECT_EQ(saveFolderGet(), programFolder() + "\\single_script");
    testIniRemove();
    EXPECT_EQ(saveFolderGet(), programFolder() + "\\single_script");
    zumenStatus = 2;
    EXPECT_EQ(saveFolderGet(), programFolder() + "\\batch_script");
    EXPECT_FALSE(pathExists(iniFilePath())) << "the default is not written";
}

TEST_F(ScriptLibrary, SaveFolderUnderADoubleByteName) {
    const std::string lib = scratch_ / kHyoji;
    folderCreate(lib);
    folderCreate(lib + "\\" + kSosu);
    fileWrite(lib + "\\" + kSosu + "\\" + kHyoji + ".scr", "");
    profileTextWrite(kConfigSection, kConfigSaveFolder1, lib);
    EXPECT_EQ(groups(), std::vector<std::string>{kSosu});
    EXPECT_EQ(scripts(kSosu), std::vector<std::string>{kHyoji});
    selectionSet(1, kSosu, 1, kHyoji);
    EXPECT_TRUE(pathExists(selectedScriptPath()));
}

TEST_F(ScriptLibrary, SelectedScriptPathNeedsEntriesInBothLists) {
    EXPECT_EQ(selectedScriptPath(), "/ERROR/");  // no main window registered
    selectionSet(0, "", 0, "");
    EXPECT_EQ(selectedScriptPath(), "/ERROR/");
    selectionSet(2, "g", 0, "");
    EXPECT_EQ(selectedScriptPath(), "/ERROR/");
    selectionSet(0, "", 1, "s");
    EXPECT_EQ(selectedScriptPath(), "/ERROR/");
    selectionSet(2, "g", 3, "Layer setup");
    EXPECT_EQ(selectedScriptPath(), lib1_ + "\\g\\Layer setup.scr");  // the file need not exist
    zumenStatus = 2;
    EXPECT_EQ(selectedScriptPath(), lib2_ + "\\g\\Layer setup.scr");
}

TEST_F(ScriptLibrary, NameCheckShowsEachFailedTestsWarningInOrder) {
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_TRUE(nameCheck(owner, "Walls"));
    EXPECT_TRUE(nameCheck(owner, kHyoji));
    EXPECT_TRUE(nameCheck(owner, kSosu));
    EXPECT_TRUE(nameCheck(owner, std::string(125 * 2, 'a')));
    std::string longName;
    for (int i = 0; i < 125; ++i) longName += kKanji;
    EXPECT_TRUE(nameCheck(owner, longName));
    EXPECT_TRUE(shown_.empty());

    EXPECT_FALSE(nameCheck(owner, longName + kKanji));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, kLengthWarning);

    shown_.clear();
    EXPECT_FALSE(nameCheck(owner, "a|b"));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, kCharacterWarning);

    shown_.clear();
    EXPECT_FALSE(nameCheck(owner, std::string(250, 'a') + "?"));
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, kCharacterWarning);
    EXPECT_EQ(shown_[1].text, kLengthWarning);
    for (const ShownBox& box : shown_) {
        EXPECT_EQ(box.owner, owner);
        EXPECT_EQ(box.caption, kCaution);
        EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    }
}

TEST_F(ScriptLibrary, CopyNeverOverwrites) {
    const std::string source = scratch_ / "source.scr";
    const std::string target = scratch_ / "target.scr";
    fileWrite(source, "_ZOOM\r\n_E\r\n");
    EXPECT_TRUE(fileCopyNoOverwrite(source, target));
    EXPECT_EQ(fileRead(target), "_ZOOM\r\n_E\r\n");

    fileWrite(source, "changed\r\n");
    EXPECT_FALSE(fileCopyNoOverwrite(source, target));
    EXPECT_EQ(fileRead(target), "_ZOOM\r\n_E\r\n");
    EXPECT_FALSE(fileCopyNoOverwrite(source, source));
    EXPECT_EQ(fileRead(source), "changed\r\n");

    const std::string nowhere = scratch_ / "nowhere.scr";
    EXPECT_FALSE(fileCopyNoOverwrite("/ERROR/", nowhere));
    EXPECT_FALSE(fileCopyNoOverwrite(scratch_ / "missing.scr", nowhere));
    EXPECT_FALSE(pathExists(nowhere));
    EXPECT_FALSE(fileCopyNoOverwrite(source, scratch_ / "missing\\target.scr"));
}

}  // namespace
