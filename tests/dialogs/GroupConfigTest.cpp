// Group maintenance end to end: the real canopia.exe, its "グループのメンテナンス" window and the name window,
// driven as a user would, with the group folders checked on disk.
#include "MaintenanceDriving.h"

namespace {

using namespace maintenance_test;

const std::string kSingle = "single_script";
const std::string kBatch = "batch_script";

driver::ProgramFiles library(const std::vector<std::string>& groups, const std::string& root = kSingle) {
    driver::ProgramFiles files;
    files.folders.push_back(kSingle);
    files.folders.push_back(kBatch);
    for (const auto& g : groups) files.folders.push_back(root + "\\" + g);
    return files;
}

struct GroupWindow {
    HWND window, list, edit, rename, del, add, save, fileActive, fileSelect;
    explicit GroupWindow(HWND w)
        : window(w),
          list(driver::controlById(w, IDC_GC_GROUPLIST)),
          edit(driver::controlById(w, IDC_GC_ACTIVEGROUP)),
          rename(driver::controlById(w, IDC_GC_CHANGENAME)),
          del(driver::controlById(w, IDC_GC_GROUPDEL)),
          add(driver::controlById(w, IDC_GC_GROUPNEW)),
          save(driver::controlById(w, IDC_GC_SAVE)),
          fileActive(driver::controlById(w, IDC_GC_FILEACTIVE)),
          fileSelect(driver::controlById(w, IDC_GC_FILESELECT)) {}
};

// Opens the name window with "新規登録"; returns it and its field.
std::pair<HWND, HWND> openNameWindow(Program& p, const GroupWindow& g) {
    driver::clickButton(g.add);
    HWND w = driver::waitTopLevel(p.pid(), kFormClass, kGroupAddCaption);
    return {w, w ? driver::controlById(w, IDC_GA_GROUPNAME) : nullptr};
}

TEST(GroupAdd, ProposesTheFirstFreeNumberAndCancelCreatesNothing) {
    {
        Program p(library({"新しいグループ1", "新しいグループ2"}));
        ASSERT_TRUE(p.main());
        GroupWindow g(p.openGroupConfig());
        ASSERT_TRUE(g.window);
        auto [w, field] = openNameWindow(p, g);
        ASSERT_TRUE(w);
        EXPECT_EQ(driver::windowText(field), "新しいグループ3");
        driver::clickButton(driver::controlById(w, IDC_GA_CANCEL));
        EXPECT_TRUE(p.waitClosed(w));
        EXPECT_EQ(driver::listItems(g.list), (std::vector<std::string>{"新しいグループ1", "新しいグループ2"}));
        EXPECT_FALSE(folderExists(p.canopia().path(kSingle + "\\新しいグループ3")));
    }
    {
        // Only a folder blocks a candidate: a plain file named 新しいグループ1 does not.
        driver::ProgramFiles files = library({"新しいグループ2"});
        files.files.push_back({kSingle + "\\新しいグループ1", "x"});
        Program p(files);
        GroupWindow g(p.openGroupConfig());
        auto [w, field] = openNameWindow(p, g);
        ASSERT_TRUE(w);
        EXPECT_EQ(driver::windowText(field), "新しいグループ1");
        driver::closeWindow(w);  // the title-bar close creates nothing either
        EXPECT_TRUE(p.waitClosed(w));
        EXPECT_EQ(driver::listItems(g.list), std::vector<std::string>{"新しいグループ2"});
    }
}

TEST(GroupAdd, RefusedNamesKeepTheWindowOpenWithTheirMessages) {
    Program p(library({"Existing"}));
    GroupWindow g(p.openGroupConfig());
    auto [w, field] = openNameWindow(p, g);
    ASSERT_TRUE(w);
    HWND ok = driver::controlById(w, IDC_GA_OK);

    // A forbidden character and too long: both warnings of the name rule, the character warning first.
    setText(field, "a?" + std::string(250, 'b'));
    driver::clickButton(ok);
    auto first = driver::waitMessageBox(p.pid());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->caption, "注意");
    EXPECT_EQ(first->text, "\\ / : * ? \" < > | は名称に使用できません");
    driver::answerMessageBox(first->hwnd);
    driver::waitFor([&] { return !driver::isVisible(first->hwnd); });
    auto second = driver::waitMessageBox(p.pid());
    ASSERT_TRUE(second);
    EXPECT_EQ(second->text, "250文字以上の名称は設定できません");
    driver::answerMessageBox(second->hwnd);
    driver::waitFor([&] { return !driver::isVisible(second->hwnd); });
    EXPECT_TRUE(driver::isVisible(w));

    setText(field, "");
    driver::clickButton(ok);
    EXPECT_EQ(p.plainMessageText(), "グループ名称を入力してください");
    EXPECT_TRUE(driver::isVisible(w));

    // The file system's own matching: "existing" names the folder "Existing".
    setText(field, "existing");
    driver::clickButton(ok);
    EXPECT_EQ(p.plainMessageText(), "入力したグループ名はすでに存在します。別の名称を設定してください。");
    EXPECT_TRUE(driver::isVisible(w));

    // Names that would not give a plain group folder.
    for (const char* name : {"..", "con", "nul.txt", "group."}) {
        setText(field, name);
        driver::clickButton(ok);
        const std::string text = p.plainMessageText();
        EXPECT_NE(text, "<no message>") << name;
        EXPECT_TRUE(driver::isVisible(w)) << name;
    }
    EXPECT_EQ(driver::listItems(g.list), std::vector<std::string>{"Existing"});
    driver::clickButton(driver::controlById(w, IDC_GA_CANCEL));
    EXPECT_TRUE(p.waitClosed(w));
}

TEST(GroupAdd, EnterActsAsOkAndTheNewGroupIsSelected) {
    Program p(library({"aaa", "zzz"}));
    GroupWindow g(p.openGroupConfig());
    auto [w, field] = openNameWindow(p, g);
    ASSERT_TRUE(w);
    // Refused on Enter: the message, and the key never reaches the field.
    setText(field, "");
    driver::pressKey(w, VK_RETURN);
    EXPECT_EQ(p.plainMessageText(), "グループ名称を入力してください");
    EXPECT_TRUE(driver::isVisible(w));

    setText(field, "表示");  // 表: trail byte 0x5C, not a backslash
    driver::pressKey(w, VK_RETURN);
    EXPECT_TRUE(p.waitClosed(w));
    EXPECT_TRUE(driver::waitFor([&] { return folderExists(p.canopia().path(kSingle + "\\表示")); }));
    EXPECT_TRUE(driver::waitFor(
        [&] { return driver::listItems(g.list) == std::vector<std::string>{"aaa", "zzz", "表示"}; }));
    EXPECT_EQ(driver::listSelection(g.list), 2);
    EXPECT_EQ(driver::windowText(g.edit), "表示");
}

TEST(GroupConfig, DeleteKeepsGroupsWithFilesAndMovesTheSelection) {
    driver::ProgramFiles files = library({"a", "b", "c"});
    files.files.push_back({kSingle + "\\b\\x.scr", "LINE\r\n"});
    Program p(files);
    GroupWindow g(p.openGroupConfig());
    ASSERT_TRUE(g.window);

    // A group holding a script: the warning, and nothing changes.
    selectEntry(g.list, 1, g.edit);
    EXPECT_EQ(driver::windowText(g.edit), "b");
    driver::clickButton(g.del);
    auto box = driver::waitMessageBox(p.pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "注意");
    EXPECT_EQ(box->text, "スクリプトの登録されているフォルダは削除できません");
    EXPECT_EQ(box->owner, g.window);
    driver::answerMessageBox(box->hwnd);
    EXPECT_TRUE(folderExists(p.canopia().path(kSingle + "\\b")));
    EXPECT_EQ(driver::listItems(g.list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(driver::listSelection(g.list), 1);

    // The last entry: the new last one is selected.
    selectEntry(g.list, 2, g.edit);
    driver::clickButton(g.del);
    EXPECT_TRUE(driver::waitFor([&] { return driver::listItems(g.list).size() == 2; }));
    EXPECT_FALSE(folderExists(p.canopia().path(kSingle + "\\c")));
    EXPECT_EQ(driver::listSelection(g.list), 1);
    EXPECT_EQ(driver::windowText(g.edit), "b");

    // An entry in the middle: the one after it takes its place.
    selectEntry(g.list, 0, g.edit);
    driver::clickButton(g.del);
    EXPECT_TRUE(driver::waitFor([&] { return driver::listItems(g.list).size() == 1; }));
    EXPECT_EQ(driver::listSelection(g.list), 0);
    EXPECT_EQ(driver::windowText(g.edit), "b");
}

TEST(GroupConfig, AnEmptyLibraryDisablesEverythingButNew) {
    Program p(library({"only"}));
    GroupWindow g(p.openGroupConfig());
    ASSERT_TRUE(g.window);
    EXPECT_TRUE(driver::isEnabled(g.rename));
    driver::clickButton(g.del);  // deleting the only entry
    EXPECT_TRUE(driver::waitFor([&] { return driver::listItems(g.list).empty(); }));
    EXPECT_EQ(driver::windowText(g.edit), "");
    EXPECT_FALSE(driver::isEnabled(g.rename));
    EXPECT_FALSE(driver::isEnabled(g.del));
    EXPECT_FALSE(driver::isEnabled(g.list));
    EXPECT_TRUE(driver::isEnabled(g.add));
    EXPECT_TRUE(driver::isEnabled(g.edit));
    // Enter in the name field does nothing while "名称変更" is disabled.
    setText(g.edit, "new");
    pressEnterIn(g.edit);
    EXPECT_TRUE(p.noMessageBox());
    EXPECT_FALSE(folderExists(p.canopia().path(kSingle + "\\new")));
}

TEST(GroupConfig, RenameFollowsTheNameAndFailsSilently) {
    Program p(library({"alpha", "beta"}));
    GroupWindow g(p.openGroupConfig());
    ASSERT_TRUE(g.window);

    // Onto an existing group: nothing changes and nothing is shown.
    setText(g.edit, "beta");
    driver::clickButton(g.rename);
    EXPECT_TRUE(p.noMessageBox());
    EXPECT_TRUE(folderExists(p.canopia().path(kSingle + "\\alpha")));
    EXPECT_EQ(driver::listItems(g.list), (std::vector<std::string>{"alpha", "beta"}));

    // An empty name fails in the move as well.
    setText(g.edit, "");
    driver::clickButton(g.rename);
    EXPECT_TRUE(p.noMessageBox());
    EXPECT_EQ(driver::listItems(g.list), (std::vector<std::string>{"alpha", "beta"}));

    // A trailing blank would give the folder another name: refused with a plain message.
    setText(g.edit, "gamma ");
    driver::clickButton(g.rename);
    EXPECT_NE(p.plainMessageText(), "<no message>");
    EXPECT_TRUE(folderExists(p.canopia().path(kSingle + "\\alpha")));

    // A click on the selected entry takes its name into the field again.
    selectEntry(g.list, 0, g.edit);
    setText(g.edit, "edited");
    clickInto(g.list, 8);  // inside the first entry (13 pixels high)
    EXPECT_TRUE(driver::waitFor([&] { return driver::windowText(g.edit) == "alpha"; }));

    // Enter renames while the button is enabled; the new entry is selected.
    selectEntry(g.list, 0, g.edit);
    setText(g.edit, "zeta");
    pressEnterIn(g.edit);
    EXPECT_TRUE(driver::waitFor([&] { return folderExists(p.canopia().path(kSingle + "\\zeta")); }));
    EXPECT_FALSE(folderExists(p.canopia().path(kSingle + "\\alpha")));
    EXPECT_TRUE(driver::waitFor([&] { return driver::listItems(g.list) == std::vector<std::string>{"beta", "zeta"}; }));
    EXPECT_EQ(driver::listSelection(g.list), 1);
    EXPECT_EQ(driver::windowText(g.edit), "zeta");
}

TEST(GroupConfig, TheProcessingTypeChosenHereIsTheMainWindowsAfterClosing) {
    driver::ProgramFiles files = library({"single-group"});
    files.folders.push_back(kBatch + "\\batch-group");
    Program p(files);
    HWND mainGroups = driver::controlById(p.main(), MainWindowIds::cmbGroup);
    EXPECT_EQ(driver::listItems(mainGroups), std::vector<std::string>{"single-group"});

    GroupWindow g(p.openGroupConfig());
    ASSERT_TRUE(g.window);
    EXPECT_TRUE(checked(g.fileActive));
    EXPECT_FALSE(checked(g.fileSelect));
    driver::clickButton(g.fileSelect);
    EXPECT_TRUE(driver::waitFor([&] { return driver::listItems(g.list) == std::vector<std::string>{"batch-group"}; }));
    EXPECT_EQ(driver::windowText(g.edit), "batch-group");

    driver::clickButton(g.save);
    EXPECT_TRUE(p.waitClosed(g.window));
    EXPECT_TRUE(checked(driver::controlById(p.main(), MainWindowIds::rdoFileSelect)));
    EXPECT_FALSE(checked(driver::controlById(p.main(), MainWindowIds::rdoFileActive)));
    EXPECT_EQ(driver::listItems(mainGroups), std::vector<std::string>{"batch-group"});

    // The next showing lists the same type, rebuilt from disk.
    ::CreateDirectoryA(p.canopia().path(kBatch + "\\another").c_str(), nullptr);
    GroupWindow again(p.openGroupConfig());
    EXPECT_TRUE(checked(again.fileSelect));
    EXPECT_EQ(driver::listItems(again.list), (std::vector<std::string>{"another", "batch-group"}));
    driver::closeWindow(again.window);
    EXPECT_TRUE(p.waitClosed(again.window));
}

}  // namespace
