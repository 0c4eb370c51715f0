// Script maintenance end to end: the real canopia.exe, its "スクリプトのメンテナンス" window, the name window and
// the file dialogs, driven as a user would, with the script files checked on disk.
#include "MaintenanceDriving.h"

namespace {

using namespace maintenance_test;

const std::string kGroup = "single_script\\g";

// The save folders, the group folders (relative paths) and the scripts (group-relative path, contents).
driver::ProgramFiles library(const std::vector<std::string>& groups,
                             const std::vector<std::pair<std::string, std::string>>& scripts = {}) {
    driver::ProgramFiles files;
    files.folders = {"single_script", "batch_script"};
    files.folders.insert(files.folders.end(), groups.begin(), groups.end());
    files.files = scripts;
    return files;
}

struct ScriptWindow {
    HWND window, group, list, edit, rename, del, open, newFile, import, saveFile, save, fileActive, fileSelect;
    explicit ScriptWindow(HWND w)
        : window(w),
          group(driver::controlById(w, IDC_SC_GROUP)),
          list(driver::controlById(w, IDC_SC_SCRIPTLIST)),
          edit(driver::controlById(w, IDC_SC_ACTIVESCRIPT)),
          rename(driver::controlById(w, IDC_SC_CHANGENAME)),
          del(driver::controlById(w, IDC_SC_SCRIPTDEL)),
          open(driver::controlById(w, IDC_SC_SCRIPTOPEN)),
          newFile(driver::controlById(w, IDC_SC_SCRIPTNEWFILE)),
          import(driver::controlById(w, IDC_SC_SCRIPTNEW)),
          saveFile(driver::controlById(w, IDC_SC_SCRIPTSAVE)),
          save(driver::controlById(w, IDC_SC_SAVE)),
          fileActive(driver::controlById(w, IDC_SC_FILEACTIVE)),
          fileSelect(driver::controlById(w, IDC_SC_FILESELECT)) {}

    // Enabled states of the controls that need a group, then of those that need a script.
    std::vector<bool> enabledStates() const {
        std::vector<bool> states;
        for (HWND h : {newFile, import, list, edit, rename, del, open, saveFile})
            states.push_back(driver::isEnabled(h));
        return states;
    }
    bool listIs(const std::vector<std::string>& names) const {
        return driver::waitFor([&] { return driver::listItems(list) == names; });
    }
};
const std::vector<bool> kNoGroup(8, false);
const std::vector<bool> kNoScript = {true, true, false, false, false, false, false, false};
const std::vector<bool> kScripts(8, true);

// The template of a new script: two rules of "=", a title, a rule of "━", each line ended by CR LF.
std::string templateBytes() {
    const std::string rule = ";" + std::string(52, '=') + "\r\n";
    std::string heavy = ";";
    for (int i = 0; i < 26; ++i) heavy += "\x84\xAA";  // ━
    // ";", the ideographic space, "AutoCAD" and スクリプト
    return rule + ";\x81\x40" "AutoCAD\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67\r\n" + rule + heavy + "\r\n";
}

// Opens a file dialog of the window with its button and waits for it by its title.
HWND fileDialogOpen(Program& p, HWND button, const char* title) {
    driver::clickButton(button);
    return driver::waitTopLevel(p.pid(), "#32770", title);
}
constexpr const char* kImportTitle = "登録するスクリプトファイルを選択してください";
constexpr const char* kSaveTitle = "現在選択しているスクリプトファイルを保存";

std::optional<std::string> scriptFile(Program& p, const std::string& name) {
    return p.canopia().readFile(kGroup + "\\" + name + ".scr");
}

TEST(ScriptConfig, EnabledStatesFollowTheGroupAndItsScripts) {
    Program p(library({kGroup, "single_script\\a-empty"}, {{kGroup + "\\y.scr", "Y"}, {kGroup + "\\x.scr", "X"}}));
    ASSERT_TRUE(p.main());
    ScriptWindow s(p.openScriptConfig());
    ASSERT_TRUE(s.window);
    EXPECT_TRUE(checked(s.fileActive));
    EXPECT_FALSE(checked(s.fileSelect));

    // The first group, whatever the main window shows, and it has no script.
    EXPECT_EQ(driver::listItems(s.group), (std::vector<std::string>{"a-empty", "g"}));
    EXPECT_EQ(driver::listSelection(s.group), 0);
    EXPECT_TRUE(driver::listItems(s.list).empty());
    EXPECT_EQ(driver::windowText(s.edit), "");
    EXPECT_EQ(s.enabledStates(), kNoScript);

    // Another group: its scripts, the first selected and in the field.
    driver::selectListEntry(s.group, 1);
    EXPECT_TRUE(s.listIs({"x", "y"}));
    EXPECT_EQ(driver::listSelection(s.list), 0);
    EXPECT_EQ(driver::windowText(s.edit), "x");
    EXPECT_EQ(s.enabledStates(), kScripts);

    // The other processing type has no group at all.
    driver::clickButton(s.fileSelect);
    EXPECT_TRUE(driver::waitFor([&] { return driver::listItems(s.group).empty(); }));
    EXPECT_TRUE(driver::listItems(s.list).empty());
    EXPECT_EQ(driver::windowText(s.edit), "");
    EXPECT_EQ(s.enabledStates(), kNoGroup);

    // Closed by the title bar: the main window takes the processing type over.
    driver::closeWindow(s.window);
    EXPECT_TRUE(p.waitClosed(s.window));
    EXPECT_TRUE(driver::waitFor([&] { return checked(driver::controlById(p.main(), MainWindowIds::rdoFileSelect)); }));
}

TEST(ScriptAdd, ANewScriptIsTheTemplateSelectedAndListedByTheMainWindowAfterClosing) {
    Program p(library({kGroup}, {{kGroup + "\\zzz.scr", "Z"}}));
    ScriptWindow s(p.openScriptConfig());
    ASSERT_TRUE(s.window);

    driver::clickButton(s.newFile);
    HWND add = driver::waitTopLevel(p.pid(), kFormClass, kScriptAddCaption);
    ASSERT_TRUE(add);
    HWND field = driver::controlById(add, IDC_SA_GROUPNAME);
    EXPECT_EQ(driver::windowText(field), "新しいスクリプト1");
    driver::pressKey(add, VK_RETURN);  // Enter is OK
    EXPECT_TRUE(p.waitClosed(add));
    // The new script opens in the editor; closed unchanged, it goes without a question.
    HWND editer = driver::waitTopLevel(p.pid(), kFormClass, "「 新しいスクリプト1 」");
    ASSERT_TRUE(editer);
    driver::closeWindow(editer);
    EXPECT_TRUE(p.waitClosed(editer));
    EXPECT_TRUE(s.listIs({"zzz", "新しいスクリプト1"}));
    EXPECT_EQ(scriptFile(p, "新しいスクリプト1"), templateBytes());
    EXPECT_EQ(driver::listSelection(s.list), 1);
    EXPECT_EQ(driver::windowText(s.edit), "新しいスクリプト1");

    // The file now blocks its number; Cancel creates nothing.
    driver::clickButton(s.newFile);
    add = driver::waitTopLevel(p.pid(), kFormClass, kScriptAddCaption);
    ASSERT_TRUE(add);
    EXPECT_EQ(driver::windowText(field), "新しいスクリプト2");
    driver::clickButton(driver::controlById(add, IDC_SA_CANCEL));
    EXPECT_TRUE(p.waitClosed(add));
    EXPECT_FALSE(scriptFile(p, "新しいスクリプト2"));

    driver::clickButton(s.save);
    EXPECT_TRUE(p.waitClosed(s.window));
    HWND mainList = driver::controlById(p.main(), MainWindowIds::lstScript);
    EXPECT_TRUE(driver::waitFor(
        [&] { return driver::listItems(mainList) == std::vector<std::string>{"zzz", "新しいスクリプト1"}; }));
}

TEST(ScriptAdd, RefusedNamesKeepTheWindowOpenAndWriteNothing) {
    Program p(library({kGroup}, {{kGroup + "\\Existing.scr", "E"}}));
    ScriptWindow s(p.openScriptConfig());
    driver::clickButton(s.newFile);
    HWND add = driver::waitTopLevel(p.pid(), kFormClass, kScriptAddCaption);
    ASSERT_TRUE(add);
    HWND field = driver::controlById(add, IDC_SA_GROUPNAME);
    HWND ok = driver::controlById(add, IDC_SA_OK);

    const std::string device = "CON、PRN、AUX、NUL、COM1～COM9、LPT1～LPT9 は名称に使用できません";
    const struct {
        const char* name;
        const char* caption;
        std::string text;
    } cases[] = {
        {"a?b", "注意", "\\ / : * ? \" < > | は名称に使用できません"},
        // The file system's own matching: "existing" names Existing.scr.
        {"existing", "カノピア", "入力したスクリプト名はすでに存在します。別の名称を設定してください。"},
        {"", "カノピア", "スクリプト名称を入力してください"},
        // Device names would swallow the template and report a script that is not there.
        {"con", "カノピア", device},
        {"NUL.txt", "カノピア", device},
        {"com1", "カノピア", device},
        {"Lpt9 ", "カノピア", device},
    };
    for (const auto& c : cases) {
        setText(field, c.name);
        driver::clickButton(ok);
        EXPECT_EQ(p.answerBox(c.caption).text, c.text) << c.name;
        EXPECT_TRUE(driver::isVisible(add)) << c.name;
    }
    EXPECT_TRUE(p.noMessageBox());
    EXPECT_EQ(s.enabledStates(), kScripts);
    EXPECT_EQ(driver::listItems(s.list), std::vector<std::string>{"Existing"});

    // A trailing period is kept on disk before ".scr": the name is taken as it is.
    setText(field, "末尾.");
    driver::clickButton(ok);
    EXPECT_TRUE(p.waitClosed(add));
    EXPECT_TRUE(s.listIs({"Existing", "末尾."}));
    EXPECT_EQ(scriptFile(p, "末尾."), templateBytes());
}

TEST(ScriptConfig, ImportTakesTheFileNameAndNeverOverwrites) {
    ScratchFolder outside("import");
    driver::writeWholeFile(outside.sub("abc.txt"), "LINE\r\n");
    driver::writeWholeFile(outside.sub(".txt"), "NAMELESS\r\n");
    Program p(library({kGroup}));
    ScriptWindow s(p.openScriptConfig());
    ASSERT_TRUE(s.window);
    EXPECT_EQ(s.enabledStates(), kNoScript);

    HWND dialog = fileDialogOpen(p, s.import, kImportTitle);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(driver::fileDialogChoose(dialog, outside.sub("abc.txt")));
    EXPECT_TRUE(s.listIs({"abc"}));
    EXPECT_EQ(scriptFile(p, "abc"), "LINE\r\n");
    EXPECT_EQ(driver::windowText(s.edit), "abc");
    EXPECT_EQ(s.enabledStates(), kScripts);

    // Again, with other contents: the "エラー" box, and the script stays as it was; a file without a name before its
    // extension gives no script either.
    driver::writeWholeFile(outside.sub("abc.txt"), "CHANGED\r\n");
    for (const char* chosen : {"abc.txt", ".txt"}) {
        dialog = fileDialogOpen(p, s.import, kImportTitle);
        ASSERT_TRUE(dialog) << chosen;
        driver::fileDialogChoose(dialog, outside.sub(chosen));
        const driver::MessageBoxInfo box = p.answerBox("エラー");
        EXPECT_EQ(box.text, "スクリプトを登録できませんでした\r（※同名のスクリプト等の登録はできません）") << chosen;
        EXPECT_EQ(box.owner, s.window) << chosen;
    }
    EXPECT_EQ(scriptFile(p, "abc"), "LINE\r\n");
    EXPECT_FALSE(scriptFile(p, ""));
    EXPECT_EQ(driver::listItems(s.list), std::vector<std::string>{"abc"});
}

TEST(ScriptConfig, DeleteNeedsTwoOksAndMovesTheSelection) {
    Program p(library({kGroup}, {{kGroup + "\\a.scr", "A"}, {kGroup + "\\b.scr", "B"}, {kGroup + "\\c.scr", "C"}}));
    ScriptWindow s(p.openScriptConfig());
    ASSERT_TRUE(s.window);
    const std::string first = "スクリプトを削除してもよろしいですか？";
    const std::string second = "本当に削除してもよろしいですか？（取り消しはできません）";

    // Cancel at either question keeps the file and the list.
    selectEntry(s.list, 2, s.edit);
    driver::clickButton(s.del);
    EXPECT_EQ(p.answerBox("確認", IDCANCEL).text, first);
    EXPECT_TRUE(p.noMessageBox());
    driver::clickButton(s.del);
    EXPECT_EQ(p.answerBox("確認", IDOK).text, first);
    EXPECT_EQ(p.answerBox("確認", IDCANCEL).text, second);
    EXPECT_TRUE(scriptFile(p, "c"));
    EXPECT_EQ(driver::listItems(s.list), (std::vector<std::string>{"a", "b", "c"}));

    // The last entry: the new last one is selected. Then the first, from the pop-up menu.
    auto deleteConfirmed = [&](int menuItem) {
        if (menuItem)
            driver::menuCommand(s.window, menuItem);
        else
            driver::clickButton(s.del);
        p.answerBox("確認", IDOK);
        p.answerBox("確認", IDOK);
    };
    deleteConfirmed(0);
    EXPECT_TRUE(s.listIs({"a", "b"}));
    EXPECT_FALSE(scriptFile(p, "c"));
    EXPECT_EQ(driver::listSelection(s.list), 1);
    EXPECT_EQ(driver::windowText(s.edit), "b");
    selectEntry(s.list, 0, s.edit);
    deleteConfirmed(IDM_SC_DELETE);
    EXPECT_TRUE(s.listIs({"b"}));
    EXPECT_EQ(driver::windowText(s.edit), "b");

    // The only one: the list empties and every script operation is disabled.
    deleteConfirmed(0);
    EXPECT_TRUE(s.listIs({}));
    EXPECT_FALSE(scriptFile(p, "b"));
    EXPECT_EQ(driver::windowText(s.edit), "");
    EXPECT_EQ(s.enabledStates(), kNoScript);
}

TEST(ScriptConfig, RenameIsSilentWhenRefusedAndFollowsTheNewName) {
    Program p(library({kGroup}, {{kGroup + "\\alpha.scr", "ALPHA"}, {kGroup + "\\beta.scr", "BETA"}}));
    ScriptWindow s(p.openScriptConfig());
    ASSERT_TRUE(s.window);

    // Onto another script, and to the empty name (the file ".scr"): nothing changes and nothing is shown.
    for (const char* name : {"beta", ""}) {
        setText(s.edit, name);
        driver::clickButton(s.rename);
        EXPECT_TRUE(p.noMessageBox()) << name;
    }
    // A device name: the plain message.
    setText(s.edit, "aux");
    driver::clickButton(s.rename);
    EXPECT_NE(p.plainMessageText(), "<no message>");
    EXPECT_EQ(scriptFile(p, "alpha"), "ALPHA");
    EXPECT_EQ(scriptFile(p, "beta"), "BETA");
    EXPECT_FALSE(scriptFile(p, ""));
    EXPECT_EQ(driver::listItems(s.list), (std::vector<std::string>{"alpha", "beta"}));

    // Enter renames while "名称変更" is enabled; the new entry is selected.
    selectEntry(s.list, 0, s.edit);
    setText(s.edit, "gamma");
    pressEnterIn(s.edit);
    EXPECT_TRUE(s.listIs({"beta", "gamma"}));
    EXPECT_EQ(scriptFile(p, "gamma"), "ALPHA");
    EXPECT_FALSE(scriptFile(p, "alpha"));
    EXPECT_EQ(driver::listSelection(s.list), 1);
    EXPECT_EQ(driver::windowText(s.edit), "gamma");
}

TEST(ScriptConfig, SaveToAFileReplacesItWholeAndNeverLosesTheScript) {
    ScratchFolder outside("save");
    const std::string target = outside.sub("target.scr");
    driver::writeWholeFile(target, "OLD");
    Program p(library({kGroup}, {{kGroup + "\\s.scr", "SCRIPT\r\n"}}));
    ScriptWindow s(p.openScriptConfig());
    ASSERT_TRUE(s.window);

    // Each target exists, so the dialog asks first; the answer Yes goes on.
    auto saveTo = [&](const std::string& path) {
        HWND dialog = fileDialogOpen(p, s.saveFile, kSaveTitle);
        if (!dialog) return false;
        EXPECT_EQ(driver::windowText(driver::fileDialogNameField(dialog)), "s.scr");
        driver::fileDialogChoose(dialog, path);
        auto ask =
            driver::waitMessageBoxWith(p.pid(), [&](const driver::MessageBoxInfo& b) { return b.owner == dialog; });
        if (!ask) return false;
        driver::answerMessageBox(ask->hwnd, IDYES);
        // The dialog is hidden well before it returns; the save runs once it is destroyed.
        return driver::waitFor([&] { return !::IsWindow(dialog); }, 10000);
    };
    ASSERT_TRUE(saveTo(target));
    EXPECT_TRUE(driver::waitFor([&] { return driver::readWholeFile(target) == "SCRIPT\r\n"; }));
    EXPECT_TRUE(p.noMessageBox());

    // The script's own file, named in other letters: it is kept whole.
    ASSERT_TRUE(saveTo(p.canopia().path("SINGLE_SCRIPT\\G\\S.SCR")));
    EXPECT_TRUE(p.noMessageBox());
    EXPECT_EQ(scriptFile(p, "s"), "SCRIPT\r\n");

    // A script that went from the disk behind the window's back: the error box, and the target as it was.
    driver::writeWholeFile(target, "OLD");
    ::DeleteFileA(p.canopia().path(kGroup + "\\s.scr").c_str());
    ASSERT_TRUE(saveTo(target));
    EXPECT_EQ(p.answerBox("カノピア").text, target + " に保存できませんでした.");
    EXPECT_EQ(driver::readWholeFile(target), "OLD");
}

}  // namespace
