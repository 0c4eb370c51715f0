// TdspScriptConfig: script maintenance on disk, in the group chosen in the window.
#include "dialogs/frmScriptConfig.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "dialogs/frmScriptAdd.h"
#include "forms/MessageBoxes.h"
#include "library/LibraryOperations.h"
#include "library/LibraryRules.h"
#include "library/ScriptLibrary.h"
#include "resources/maintenance/MaintenanceResources.h"

namespace {

const FormLayout kForm = {"スクリプトのメンテナンス", 401, 379, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                        WS_EX_DLGMODALFRAME, 0, 0, 0, 0, 12, FormPosition::Designed};

// Group box children are placed at the box's origin plus their own bounds.
constexpr int kBox2Left = 10, kBox2Top = 8;    // GroupBox2 "処理タイプ"
constexpr int kBox1Left = 10, kBox1Top = 279;  // GroupBox1 "現在選択中のスクリプト"

// Tab order: GroupBox1 (its field, then its button), lstScript, cmbGroup, btnSave, GroupBox2 (its radio buttons),
// btnScriptNewFile, btnScriptNew, btnScriptDel, btnScriptOpen, btnScriptSave.
const ControlLayout kControls[] = {
    {IDC_SC_GROUPBOX2, ControlKind::GroupBox, "処理タイプ", kBox2Left, kBox2Top, 383, 44},
    {IDC_SC_FILEACTIVE, ControlKind::RadioButton, "現在の図面", kBox2Left + 93, kBox2Top + 18, 89, 17,
     Anchor::LeftTop, 5},
    {IDC_SC_FILESELECT, ControlKind::RadioButton, "複数ファイル", kBox2Left + 198, kBox2Top + 18, 89, 17,
     Anchor::LeftTop, 6},
    {IDC_SC_LABEL2, ControlKind::Label, "現在のグループ：", 17, 66, 90, 12},
    {IDC_SC_GROUP, ControlKind::ComboList, "", 113, 62, 273, 21, Anchor::LeftTop, 3, CBS_SORT, 13, 0,
     ControlFlag::AutoDropDown},
    {IDC_SC_LABEL1, ControlKind::Label, "登録スクリプト一覧：", 16, 94, 110, 12},
    {IDC_SC_SCRIPTLIST, ControlKind::ListBox, "", 13, 110, 262, 159, Anchor::LeftTop, 2, LBS_SORT, 13, 0,
     ControlFlag::None, 13},
    {IDC_SC_SCRIPTNEWFILE, ControlKind::Button, "新規ｽｸﾘﾌﾟﾄ", 281, 112, 110, 22, Anchor::LeftTop, 7},
    {IDC_SC_SCRIPTOPEN, ControlKind::Button, "ｴﾃﾞｨﾀで編集", 281, 138, 110, 22, Anchor::LeftTop, 10},
    {IDC_SC_SCRIPTDEL, ControlKind::Button, "削除", 281, 166, 110, 22, Anchor::LeftTop, 9},
    {IDC_SC_SCRIPTNEW, ControlKind::Button, "ﾌｧｲﾙから登録", 281, 211, 110, 22, Anchor::LeftTop, 8},
    {IDC_SC_SCRIPTSAVE, ControlKind::Button, "ﾌｧｲﾙに保存   ", 281, 237, 110, 22, Anchor::LeftTop, 11},
    {IDC_SC_GROUPBOX1, ControlKind::GroupBox, "現在選択中のスクリプト", kBox1Left, kBox1Top, 383, 49},
    {IDC_SC_ACTIVESCRIPT, ControlKind::Edit, "", kBox1Left + 11, kBox1Top + 18, 254, 20, Anchor::LeftTop, 0},
    {IDC_SC_CHANGENAME, ControlKind::Button, "名称変更", kBox1Left + 271, kBox1Top + 17, 105, 22, Anchor::LeftTop,
     1},
    {IDC_SC_SAVE, ControlKind::Button, "メンテナンス終了", 142, 340, 115, 25, Anchor::LeftTop, 4},
};

// The controls and pop-up items that need a script.
constexpr int kScriptControls[] = {IDC_SC_ACTIVESCRIPT, IDC_SC_CHANGENAME, IDC_SC_SCRIPTLIST,
                                   IDC_SC_SCRIPTDEL,    IDC_SC_SCRIPTOPEN, IDC_SC_SCRIPTSAVE};
constexpr int kScriptItems[] = {IDM_SC_DELETE, IDM_SC_EDITEROPEN, IDM_SC_SAVEFILE};

// Pictures of the pop-up items in the main window's image list.
constexpr int kEditImageIndex = 3, kSaveFileImageIndex = 4, kDeleteImageIndex = 5;

// Both file dialogs: scripts first, then every file.
constexpr char kScriptFilter[] = "スクリプトファイル(*.scr)\0*.scr\0全てのファイル(*.*)\0*.*\0";
constexpr std::size_t kPathBufferSize = 4096;

constexpr char kImportFailedText[] = "スクリプトを登録できませんでした\r（※同名のスクリプト等の登録はできません）";

// The path chosen in a file dialog, or nothing when the user cancelled. No folder to start in is set.
std::optional<std::string> fileDialogRun(HWND owner, const char* title, DWORD options, const std::string& proposed,
                                         bool save) {
    std::vector<char> path(kPathBufferSize, '\0');
    proposed.copy(path.data(), path.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kScriptFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrTitle = title;
    // The program's working folder stays where it was: every path it forms is a full one anyway.
    ofn.Flags = options | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL chosen = save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
    if (!chosen) return std::nullopt;
    return std::string(path.data());
}

int confirmAsk(HWND owner, const char* text) {
    return ::MessageBoxA(owner, text, "確認", MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON1);
}

}  // namespace

TdspScriptConfig::TdspScriptConfig() : Form(kForm, kControls) {
    onClick(IDC_SC_FILEACTIVE, [this] { rdoFileActiveClick(); });
    onClick(IDC_SC_FILESELECT, [this] { rdoFileSelectClick(); });
    onChange(IDC_SC_GROUP, [this] { cmbGroupChange(); });
    onChange(IDC_SC_SCRIPTLIST, [this] { lstScriptClick(); });
    onDblClick(IDC_SC_SCRIPTLIST, [this] { lstScriptDblClick(); });
    onClick(IDC_SC_SCRIPTNEWFILE, [this] { btnScriptNewFileClick(); });
    onClick(IDC_SC_SCRIPTOPEN, [this] { btnScriptOpenClick(); });
    onClick(IDC_SC_SCRIPTDEL, [this] { btnScriptDelClick(); });
    onClick(IDC_SC_SCRIPTNEW, [this] { btnScriptNewClick(); });
    onClick(IDC_SC_SCRIPTSAVE, [this] { btnScriptSaveClick(); });
    onClick(IDC_SC_CHANGENAME, [this] { btnChangeScriptNameClick(); });
    onClick(IDC_SC_SAVE, [this] { btnSaveClick(); });
    onClick(IDM_SC_EDITEROPEN, [this] { pEditerOpenClick(); });
    onClick(IDM_SC_DELETE, [this] { pDeleteClick(); });
    onClick(IDM_SC_SAVEFILE, [this] { pSaveFileClick(); });
}

void TdspScriptConfig::FormCreate() {
    setChecked(IDC_SC_FILESELECT, true);  // the layout's state until the first show sets the processing type

    pictures_.apply(hwnd_, IDI_SCRIPT_CONFIG,
                    {{control(IDC_SC_SCRIPTNEWFILE), IDI_SCRIPT_NEW},
                     {control(IDC_SC_SCRIPTOPEN), IDI_SCRIPT_EDIT},
                     {control(IDC_SC_SCRIPTDEL), IDI_SCRIPT_DELETE},
                     {control(IDC_SC_SCRIPTNEW), IDI_SCRIPT_IMPORT},
                     {control(IDC_SC_SCRIPTSAVE), IDI_SCRIPT_SAVE},
                     {control(IDC_SC_CHANGENAME), IDI_SCRIPT_RENAME}});

    popScriptConfig_.reset(::CreatePopupMenu());
    auto picture = [this](int index) { return menuPicture ? menuPicture(index) : nullptr; };
    maintenance::popupItemAppend(popScriptConfig_.get(), IDM_SC_EDITEROPEN, "ｴﾃﾞｨﾀで編集(&E)",
                                 picture(kEditImageIndex));
    maintenance::popupItemAppend(popScriptConfig_.get(), IDM_SC_DELETE, "削除(&D)", picture(kDeleteImageIndex));
    maintenance::popupItemAppend(popScriptConfig_.get(), IDM_SC_SAVEFILE, "ﾌｧｲﾙに保存(&S)",
                                 picture(kSaveFileImageIndex));
}

void TdspScriptConfig::FormShow() {
    centerOnScreen();
    zumenCheckBoxSet();
    groupListSetup();
    scriptListSetup();
    mainStatusCheck();
}

void TdspScriptConfig::FormClose() {
    if (onLibraryChanged) onLibraryChanged();
}

HWND TdspScriptConfig::scriptList() const { return control(IDC_SC_SCRIPTLIST); }
int TdspScriptConfig::scriptCount() const { return maintenance::listCount(scriptList()); }
int TdspScriptConfig::scriptSelection() const { return maintenance::listSelection(scriptList()); }
std::string TdspScriptConfig::scriptText(int index) const { return maintenance::listText(scriptList(), index); }

// A drop-down list's window text is its selected entry.
std::string TdspScriptConfig::groupName() const { return text(IDC_SC_GROUP); }

std::string TdspScriptConfig::scriptPath(const std::string& name) const {
    return scriptFilePath(saveFolderGet(), groupName(), name);
}

bool TdspScriptConfig::selectedScript(std::string& name) const {
    const int index = scriptSelection();
    if (index < 0) return false;
    name = scriptText(index);
    return true;
}

void TdspScriptConfig::scriptSelect(const std::string& name) {
    if (maintenance::listSelectExact(scriptList(), name)) setText(IDC_SC_ACTIVESCRIPT, name);
}

void TdspScriptConfig::groupListSetup() {
    HWND combo = control(IDC_SC_GROUP);
    win::RedrawSuspender suspended(combo);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> names;
    groupNamesRead(names);
    for (const auto& name : names) ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (!names.empty()) ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

void TdspScriptConfig::scriptListSetup() {
    HWND list = scriptList();
    win::RedrawSuspender suspended(list);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    std::vector<std::string> names;
    scriptNamesRead(names, groupName());
    for (const auto& name : names) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    // Without a script the field is left as it is: mainStatusCheck clears it.
    if (scriptCount() > 0) {
        ::SendMessageA(list, LB_SETCURSEL, 0, 0);
        setText(IDC_SC_ACTIVESCRIPT, scriptText(0));
    }
}

void TdspScriptConfig::mainStatusCheck() {
    const bool groups = ::SendMessageA(control(IDC_SC_GROUP), CB_GETCOUNT, 0, 0) > 0;
    setEnabled(IDC_SC_SCRIPTNEW, groups);
    setEnabled(IDC_SC_SCRIPTNEWFILE, groups);
    const bool scripts = scriptCount() > 0;
    for (int id : kScriptControls) setEnabled(id, scripts);
    for (int id : kScriptItems)
        ::EnableMenuItem(popScriptConfig_.get(), static_cast<UINT>(id),
                         MF_BYCOMMAND | (scripts ? MF_ENABLED : MF_GRAYED));
    if (!scripts) setText(IDC_SC_ACTIVESCRIPT, "");
    // A control that was disabled with the focus in it leaves the window without one: the keyboard would be dead.
    if (::GetActiveWindow() == hwnd_ && !::GetFocus()) {
        if (HWND next = ::GetNextDlgTabItem(hwnd_, nullptr, FALSE)) ::SetFocus(next);
    }
}

void TdspScriptConfig::zumenCheckBoxSet() {
    focus(IDC_SC_GROUP);
    setChecked(IDC_SC_FILEACTIVE, zumenStatus == 1);
    setChecked(IDC_SC_FILESELECT, zumenStatus != 1);
}

void TdspScriptConfig::zumenStatusSet(int type) {
    zumenStatus = type;
    groupListSetup();
    scriptListSetup();
    mainStatusCheck();
}

void TdspScriptConfig::rdoFileActiveClick() { zumenStatusSet(1); }
void TdspScriptConfig::rdoFileSelectClick() { zumenStatusSet(2); }

void TdspScriptConfig::cmbGroupChange() {
    scriptListSetup();
    mainStatusCheck();
}

void TdspScriptConfig::lstScriptClick() {
    const int index = scriptSelection();
    if (index >= 0) setText(IDC_SC_ACTIVESCRIPT, scriptText(index));
}

void TdspScriptConfig::lstScriptDblClick() { btnScriptOpenClick(); }
void TdspScriptConfig::pEditerOpenClick() { btnScriptOpenClick(); }

void TdspScriptConfig::btnScriptOpenClick() {
    std::string name;
    if (!selectedScript(name)) return;
    if (editScript) editScript(scriptPath(name));
}

void TdspScriptConfig::btnScriptNewFileClick() {
    if (!dspScriptAdd_) return;
    const std::string group = groupName();
    dspScriptAdd_->setGroupName(group);
    dspScriptAdd_->showModal();
    const std::string name = dspScriptAdd_->getScriptName();
    if (name.empty()) return;
    // Written only into a new file: a script that appeared meanwhile is never replaced by the template.
    const ScriptCreated created = scriptCreate(saveFolderGet(), group, name);
    if (created.result != LibraryResult::Done) {
        forms::applicationErrorShow(created.errorText);
        return;
    }
    scriptListSetup();
    scriptSelect(name);
    mainStatusCheck();
    if (editScript) editScript(scriptPath(name));
}

void TdspScriptConfig::btnScriptNewClick() {
    const auto chosen = fileDialogRun(hwnd_, "登録するスクリプトファイルを選択してください",
                                      OFN_HIDEREADONLY | OFN_ENABLESIZING, {}, false);
    if (!chosen) return;
    // The name comes from the chosen file; an empty one (".scr") or a device name is a failure as well.
    const ScriptImported imported = scriptImport(saveFolderGet(), groupName(), *chosen);
    if (imported.result == LibraryResult::Done) {
        scriptListSetup();
        setText(IDC_SC_ACTIVESCRIPT, imported.name);
        maintenance::listSelectExact(scriptList(), imported.name);
    } else {
        ::MessageBoxA(hwnd_, kImportFailedText, "エラー", MB_OK | MB_ICONSTOP);
    }
    mainStatusCheck();
}

void TdspScriptConfig::btnScriptDelClick() {
    std::string name;
    if (!selectedScript(name)) return;
    if (confirmAsk(hwnd_, "スクリプトを削除してもよろしいですか？") != IDOK) return;
    if (confirmAsk(hwnd_, "本当に削除してもよろしいですか？（取り消しはできません）") != IDOK) return;
    const int index = scriptSelection();
    if (scriptDelete(saveFolderGet(), groupName(), name) == LibraryResult::Done) {
        scriptListSetup();
        const int count = scriptCount();
        if (count == 0) {
            setText(IDC_SC_ACTIVESCRIPT, "");
        } else {
            const int keep = std::min(index, count - 1);
            ::SendMessageA(scriptList(), LB_SETCURSEL, static_cast<WPARAM>(keep), 0);
            setText(IDC_SC_ACTIVESCRIPT, scriptText(keep));
        }
    } else {
        ::MessageBoxA(hwnd_, "スクリプトを削除できませんでした", "注意", MB_OK);
    }
    mainStatusCheck();
}

void TdspScriptConfig::pDeleteClick() { btnScriptDelClick(); }

void TdspScriptConfig::btnScriptSaveClick() {
    std::string name;
    if (!selectedScript(name)) return;
    const auto target = fileDialogRun(hwnd_, "現在選択しているスクリプトファイルを保存",
                                      OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING, name + ".scr", true);
    if (!target) return;
    // The copy replaces the target only once it is complete; the script's own file, however named, stays as it is.
    const LibraryResult result = scriptCopyOut(saveFolderGet(), groupName(), name, *target);
    if (result != LibraryResult::Done && result != LibraryResult::SameFile)
        forms::applicationErrorShow(*target + " に保存できませんでした");
}

void TdspScriptConfig::pSaveFileClick() { btnScriptSaveClick(); }

void TdspScriptConfig::btnChangeScriptNameClick() {
    std::string oldName;
    if (!selectedScript(oldName)) return;
    const std::string newName = text(IDC_SC_ACTIVESCRIPT);
    if (!nameCheck(hwnd_, newName)) return;
    if (maintenance::nameHazardRefused(newName, NameKind::Script)) return;
    // An existing target and an empty name (the file ".scr") are refused; nothing is reported then.
    if (scriptRename(saveFolderGet(), groupName(), oldName, newName) != LibraryResult::Done) return;
    scriptListSetup();
    scriptSelect(newName);
}

void TdspScriptConfig::btnSaveClick() { close(); }

bool TdspScriptConfig::edtActiveScriptKeyPress(UINT msg, WPARAM key) {
    if (key != VK_RETURN || !enabled(IDC_SC_CHANGENAME)) return false;
    // The dialog navigation takes Enter at its key-down, so the rename runs there; its character is swallowed too.
    if (msg == WM_KEYDOWN) btnChangeScriptNameClick();
    return true;
}

bool TdspScriptConfig::keyPreview(int controlId, UINT msg, WPARAM key) {
    return controlId == IDC_SC_ACTIVESCRIPT && edtActiveScriptKeyPress(msg, key);
}

LRESULT TdspScriptConfig::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wp) != scriptList()) break;
            maintenance::listPopupShow(scriptList(), popScriptConfig_.get(), hwnd_, lp);
            return 0;
        case WM_PARENTNOTIFY:
            // A click on the entry already selected takes its name into the field again, once the list has
            // handled the button.
            if (maintenance::listPressed(hwnd_, scriptList(), wp, lp)) ::PostMessageA(hwnd_, kListClicked, 0, 0);
            break;
        case kListClicked:
            lstScriptClick();
            return 0;
        default:
            break;
    }
    return Form::handle(msg, wp, lp);
}
