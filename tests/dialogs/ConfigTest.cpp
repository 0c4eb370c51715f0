// The settings dialog end to end: the real canopia.exe, its "動作環境設定" window and the folder browse
// window, with the settings file read back from disk.
#include "MaintenanceDriving.h"

#include <commctrl.h>

#include <algorithm>

namespace {

using namespace maintenance_test;

struct ConfigWindow {
    HWND window, folder1, folder2, change1, change2, acadActiveO, acadActiveF, endMessage, tray, ok, cancel;
    explicit ConfigWindow(HWND w)
        : window(w),
          folder1(driver::controlById(w, IDC_CF_SAVEFOLDER1)),
          folder2(driver::controlById(w, IDC_CF_SAVEFOLDER2)),
          change1(driver::controlById(w, IDC_CF_FOLDERCHANGE1)),
          change2(driver::controlById(w, IDC_CF_FOLDERCHANGE2)),
          acadActiveO(driver::controlById(w, IDC_CF_ACADACTIVEO)),
          acadActiveF(driver::controlById(w, IDC_CF_ACADACTIVEF)),
          endMessage(driver::controlById(w, IDC_CF_ACADENDMESSAGE)),
          tray(driver::controlById(w, IDC_CF_TASKTRAY)),
          ok(driver::controlById(w, IDC_CF_OK)),
          cancel(driver::controlById(w, IDC_CF_CANCEL)) {}
};

driver::ProgramFiles program(std::optional<std::string> ini = std::nullopt) {
    driver::ProgramFiles files;
    files.folders = {"single_script", "batch_script"};
    files.ini = std::move(ini);
    return files;
}

// The lines of one section of the settings file, in file order.
std::vector<std::string> sectionLines(const std::optional<std::string>& ini, const std::string& section) {
    std::vector<std::string> lines;
    if (!ini) return lines;
    bool inside = false;
    std::size_t pos = 0;
    while (pos < ini->size()) {
        std::size_t end = ini->find('\n', pos);
        if (end == std::string::npos) end = ini->size();
        std::string line = ini->substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pos = end + 1;
        if (!line.empty() && line[0] == '[') {
            inside = line == "[" + section + "]";
        } else if (inside && !line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The highlighted item of the browse window's tree, read from the program's memory.
std::string highlightedFolder(DWORD pid, HWND browse) {
    HWND tree = driver::controlByClass(browse, WC_TREEVIEWA);
    if (!tree) return "<no tree>";
    const LRESULT item = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    if (!item) return "<no highlight>";
    RemoteMemory remote(pid, sizeof(TVITEMA) + MAX_PATH);
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = reinterpret_cast<HTREEITEM>(item);
    tv.pszText = static_cast<char*>(remote.address()) + sizeof(TVITEMA);
    tv.cchTextMax = MAX_PATH;
    remote.write(&tv, sizeof tv);
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.address()));
    char text[MAX_PATH] = {};
    remote.read(text, MAX_PATH - 1, sizeof(TVITEMA));
    return text;
}

// "変更": the browse window with its captions; `folder` highlighted and confirmed (or the browse cancelled
// after highlighting it). Returns what the browse window's confirm button said.
// With `startsAt`, the browse is expected to show that folder highlighted first; `shownFirst` gets what it showed.
std::string chooseFolder(Program& p, HWND changeButton, const std::string& folder, bool confirm = true,
                         const std::string& startsAt = "", std::string* shownFirst = nullptr) {
    driver::clickButton(changeButton);
    HWND browse = driver::waitTopLevel(p.pid(), "#32770", kBrowseCaption);
    if (!browse) return "<no browse window>";
    // The tree fills and takes its first highlight.
    std::string shown;
    driver::waitFor([&] {
        shown = highlightedFolder(p.pid(), browse);
        return startsAt.empty() ? shown[0] != '<' : shown == startsAt;
    });
    if (shownFirst) *shownFirst = shown;
    const std::string okText = driver::windowText(::GetDlgItem(browse, IDOK));
    // Until the tree shows it: the browse window may still be settling its first highlight.
    const std::string leaf = folder.substr(folder.rfind('\\') + 1);
    driver::waitFor([&] {
        browseHighlight(p.pid(), browse, folder);
        return highlightedFolder(p.pid(), browse) == leaf;
    });
    ::PostMessageA(browse, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
    driver::waitFor([&] { return !::IsWindow(browse) || !driver::isVisible(browse); });
    return okText;
}

TEST(ConfigDialog, WithoutSettingsShowsTheDefaultsAndCancelWritesNothing) {
    Program p(program());
    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    EXPECT_TRUE(checked(c.acadActiveO));
    EXPECT_TRUE(checked(c.acadActiveF));
    EXPECT_TRUE(checked(c.endMessage));
    EXPECT_FALSE(checked(c.tray));
    EXPECT_EQ(driver::windowText(c.folder1), p.canopia().path("single_script"));
    EXPECT_EQ(driver::windowText(c.folder2), p.canopia().path("batch_script"));
    const auto before = p.canopia().readFile("canopia.ini");
    driver::clickButton(c.cancel);
    EXPECT_TRUE(p.waitClosed(c.window));
    EXPECT_EQ(p.canopia().readFile("canopia.ini"), before);
}

TEST(ConfigDialog, StoredTextIsReadAsTheDialogReadsIt) {
    // Tray "2" counts as on here; a present but empty folder shows empty, an absent one its default.
    Program p(program("[APP-CONFIG]\r\nCONFIG-ACADACTIVE-O=0\r\nCONFIG-TRAYICON=2\r\nCONFIG-SAVEFOLDER1=\r\n"));
    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    EXPECT_FALSE(checked(c.acadActiveO));
    EXPECT_TRUE(checked(c.acadActiveF));
    EXPECT_TRUE(checked(c.tray));
    EXPECT_EQ(driver::windowText(c.folder1), "");
    EXPECT_EQ(driver::windowText(c.folder2), p.canopia().path("batch_script"));
    // Saving writes all six back, in key order, exactly as shown.
    driver::clickButton(c.ok);
    EXPECT_TRUE(p.waitClosed(c.window));
    EXPECT_EQ(sectionLines(p.canopia().readFile("canopia.ini"), "APP-CONFIG"),
              (std::vector<std::string>{"CONFIG-ACADACTIVE-O=0", "CONFIG-TRAYICON=1", "CONFIG-SAVEFOLDER1=",
                                        "CONFIG-ACADACTIVE-F=1", "CONFIG-ACADENDMESSAGE=1",
                                        "CONFIG-SAVEFOLDER2=" + p.canopia().path("batch_script")}));
}

TEST(ConfigDialog, CancelAfterChoosingAFolderLeavesTheFileAndTheNextShowAlone) {
    ScratchFolder chosen("chosen");
    const std::string ini = "[APP-CONFIG]\r\nCONFIG-SAVEFOLDER1=C:\\old\\scripts\r\n";
    Program p(program(ini));
    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    EXPECT_EQ(chooseFolder(p, c.change1, chosen.path()), "選択");
    EXPECT_EQ(driver::windowText(c.folder1), chosen.path());
    driver::clickButton(c.cancel);
    EXPECT_TRUE(p.waitClosed(c.window));
    EXPECT_EQ(p.canopia().readFile("canopia.ini"), ini);

    ConfigWindow again(p.openConfig());
    EXPECT_EQ(driver::windowText(again.folder1), "C:\\old\\scripts");
    // The chooser keeps the folder highlighted last: the next browse starts there.
    std::string shown;
    const std::string leaf = chosen.path().substr(chosen.path().rfind('\\') + 1);
    chooseFolder(p, again.change2, chosen.path(), false, leaf, &shown);
    EXPECT_EQ(shown, leaf);
    EXPECT_EQ(driver::windowText(again.folder2), p.canopia().path("batch_script"));  // cancelled: unchanged
    driver::closeWindow(again.window);
    EXPECT_TRUE(p.waitClosed(again.window));
    EXPECT_EQ(p.canopia().readFile("canopia.ini"), ini);
}

TEST(ConfigDialog, SavingANewFolderRefillsTheMainWindowsLists) {
    ScratchFolder library("library");
    ::CreateDirectoryA(library.sub("新グループ").c_str(), nullptr);
    driver::ProgramFiles files = program();
    files.folders.push_back("single_script\\old");
    Program p(files);
    HWND mainGroups = driver::controlById(p.main(), MainWindowIds::cmbGroup);
    EXPECT_EQ(driver::listItems(mainGroups), std::vector<std::string>{"old"});

    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    chooseFolder(p, c.change1, library.path());
    driver::clickButton(c.ok);
    EXPECT_TRUE(p.waitClosed(c.window));
    EXPECT_EQ(sectionLines(p.canopia().readFile("canopia.ini"), "APP-CONFIG"),
              (std::vector<std::string>{"CONFIG-ACADACTIVE-O=1", "CONFIG-ACADACTIVE-F=1", "CONFIG-ACADENDMESSAGE=1",
                                        "CONFIG-TRAYICON=0", "CONFIG-SAVEFOLDER1=" + library.path(),
                                        "CONFIG-SAVEFOLDER2=" + p.canopia().path("batch_script")}));
    EXPECT_EQ(driver::listItems(mainGroups), std::vector<std::string>{"新グループ"});

    // Saving without a new folder leaves the main window's lists as they are.
    ::CreateDirectoryA(library.sub("後から").c_str(), nullptr);
    ConfigWindow again(p.openConfig());
    driver::clickButton(again.ok);
    EXPECT_TRUE(p.waitClosed(again.window));
    EXPECT_EQ(driver::listItems(mainGroups), std::vector<std::string>{"新グループ"});
}

TEST(ConfigDialog, ALongFolderIsKeptWholeAndWrittenBackUnchanged) {
    std::string longFolder = "C:\\";
    for (int i = 0; i < 30; ++i) longFolder += "長いフォルダ名" + std::to_string(i) + "\\";
    longFolder += "&最後";  // "&" is shown, not taken for a mnemonic
    Program p(program("[APP-CONFIG]\r\nCONFIG-SAVEFOLDER2=" + longFolder + "\r\n"));
    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    EXPECT_EQ(driver::windowText(c.folder2), longFolder);
    EXPECT_TRUE(::GetWindowLongA(c.folder2, GWL_STYLE) & SS_NOPREFIX);
    driver::clickButton(c.ok);
    EXPECT_TRUE(p.waitClosed(c.window));
    const auto lines = sectionLines(p.canopia().readFile("canopia.ini"), "APP-CONFIG");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "CONFIG-SAVEFOLDER2=" + longFolder);  // a key already present keeps its place
}

// Visible top-level windows of every other process.
std::vector<HWND> foreignWindows(DWORD ownPid) {
    std::vector<HWND> found;
    for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(h, &pid);
        if (pid != ownPid && pid != ::GetCurrentProcessId() && ::IsWindowVisible(h)) found.push_back(h);
    }
    return found;
}

TEST(ConfigDialog, OpenFolderStartsNoProgramNamedInTheSettings) {
    // A hand-edited settings file naming a program: "設定フォルダを開く" must not run it.
    Program p(program("[APP-CONFIG]\r\nCONFIG-SAVEFOLDER1=C:\\windows\\notepad.exe\r\n"));
    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    const auto before = foreignWindows(p.pid());
    driver::clickButton(driver::controlById(c.window, IDC_CF_FOLDEROPEN1));
    ::Sleep(3000);
    const auto after = foreignWindows(p.pid());
    for (HWND h : after) {
        if (std::find(before.begin(), before.end(), h) != before.end()) continue;
        ADD_FAILURE() << "a window was opened: " << driver::className(h) << " " << driver::windowText(h);
        driver::closeWindow(h);
    }
    EXPECT_TRUE(driver::isVisible(c.window));
    driver::clickButton(c.cancel);
    EXPECT_TRUE(p.waitClosed(c.window));
}

TEST(ConfigDialog, OpenFolderOpensTheFolderShownBeforeItIsSaved) {
    ScratchFolder chosen("opened");
    Program p(program());
    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    chooseFolder(p, c.change2, chosen.path());
    const auto before = foreignWindows(p.pid());
    driver::clickButton(driver::controlById(c.window, IDC_CF_FOLDEROPEN2));
    const std::string leaf = chosen.path().substr(chosen.path().rfind('\\') + 1);
    HWND opened = nullptr;
    EXPECT_TRUE(driver::waitFor(
        [&] {
            for (HWND h : foreignWindows(p.pid()))
                if (std::find(before.begin(), before.end(), h) == before.end() &&
                    driver::windowText(h).find(leaf) != std::string::npos)
                    opened = h;
            return opened != nullptr;
        },
        10000));
    if (opened) driver::closeWindow(opened);
    driver::clickButton(c.cancel);
    EXPECT_TRUE(p.waitClosed(c.window));
}

TEST(ConfigDialog, ASaveThatCannotBeWrittenIsReportedAndTheDialogStays) {
    // A folder where the settings file belongs: it reads as all defaults and refuses every write.
    driver::ProgramFiles files = program();
    files.folders.push_back("canopia.ini");
    Program p(files);
    ConfigWindow c(p.openConfig());
    ASSERT_TRUE(c.window);
    driver::clickButton(c.ok);
    auto box = driver::waitMessageBox(p.pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "カノピア");
    EXPECT_EQ(box->text, p.canopia().iniPath() + " に書き込めません.");
    driver::answerMessageBox(box->hwnd);
    EXPECT_TRUE(driver::waitFor([&] { return !driver::isVisible(box->hwnd); }));
    EXPECT_TRUE(driver::isVisible(c.window));  // the failed save ends the handler, not the dialog
    driver::clickButton(c.cancel);
    EXPECT_TRUE(p.waitClosed(c.window));
    ::RemoveDirectoryA(p.canopia().iniPath().c_str());  // lets the program's own closing write its state
}

}  // namespace
