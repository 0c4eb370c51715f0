// TdspConfig: the settings dialog. The labels hold the save folders until "設定を保存" writes them.
#include "dialogs/frmConfig.h"

#include <commctrl.h>
#include <shellapi.h>

#include "library/Settings.h"
#include "resources/maintenance/MaintenanceResources.h"

namespace {

const FormLayout kForm = {"動作環境設定", 466, 317, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                        WS_EX_DLGMODALFRAME, 0, 0, 0, 0, 12, FormPosition::Designed};

constexpr int kBox4Left = 9, kBox4Top = 8;   // GroupBox4, the folder of "現在の図面"
constexpr int kBox3Left = 9, kBox3Top = 88;  // GroupBox3, the folder of "複数ファイル"
constexpr int kBoxWidth = 448;
constexpr int kLabelWidth = kBoxWidth - 15 - 8;  // from the label's left to the box's inner right edge

// A path is shown on one line, cut with "..." at its end when too long; "&" in a path is no mnemonic.
// SS_NOTIFY lets the tooltip see the mouse over the label.
constexpr DWORD kPathLabelStyle = SS_ENDELLIPSIS | SS_NOPREFIX | SS_NOTIFY;

// The speed buttons take no part in the tab order; the tab order runs: btnCancel, btnOk, the four check boxes.
const ControlLayout kControls[] = {
    {IDC_CF_GROUPBOX4, ControlKind::GroupBox, "「現在の図面」 スクリプト保管先フォルダ", kBox4Left, kBox4Top, kBoxWidth, 73},
    {IDC_CF_FOLDERCHANGE1, ControlKind::Button, "変更", kBox4Left + 13, kBox4Top + 18, 52, 22},
    {IDC_CF_FOLDEROPEN1, ControlKind::Button, "設定フォルダを開く", kBox4Left + 69, kBox4Top + 18, 116, 22},
    {IDC_CF_SAVEFOLDER1, ControlKind::Label, ".\\single_script", kBox4Left + 15, kBox4Top + 48, kLabelWidth, 13,
     Anchor::LeftTop, -1, kPathLabelStyle},
    {IDC_CF_GROUPBOX3, ControlKind::GroupBox, "「複数ファイル」 スクリプト保管先フォルダ", kBox3Left, kBox3Top, kBoxWidth, 73},
    {IDC_CF_FOLDERCHANGE2, ControlKind::Button, "変更", kBox3Left + 13, kBox3Top + 18, 52, 22},
    {IDC_CF_FOLDEROPEN2, ControlKind::Button, "設定フォルダを開く", kBox3Left + 69, kBox3Top + 18, 116, 22},
    {IDC_CF_SAVEFOLDER2, ControlKind::Label, ".\\batch_script", kBox3Left + 15, kBox3Top + 48, kLabelWidth, 13,
     Anchor::LeftTop, -1, kPathLabelStyle},
    {IDC_CF_ACADACTIVEF, ControlKind::CheckBox, "「複数ファイル」 処理実行時にAutoCADをアクティブにする", 67, 171, 350, 17,
     Anchor::LeftTop, 2},
    {IDC_CF_ACADENDMESSAGE, ControlKind::CheckBox, "「複数ファイル」 処理終了時に終了のメッセージを表示する", 67, 194, 350,
     17, Anchor::LeftTop, 3},
    {IDC_CF_ACADACTIVEO, ControlKind::CheckBox, "「現在の図面」 処理実行時にAutoCADをアクティブにする", 67, 218, 350, 17,
     Anchor::LeftTop, 4},
    {IDC_CF_TASKTRAY, ControlKind::CheckBox, "アプリケーション最小化時にタスクトレイに収納する", 67, 242, 350, 17,
     Anchor::LeftTop, 5},
    {IDC_CF_BEVEL1, ControlKind::Bevel, "", 0, 270, 465, 9},
    {IDC_CF_CANCEL, ControlKind::Button, "キャンセル", 149, 283, 80, 23, Anchor::LeftTop, 0},
    {IDC_CF_OK, ControlKind::Button, "設定を保存", 233, 283, 80, 23, Anchor::LeftTop, 1},
};


TOOLINFOA labelTool(HWND form, HWND label, const std::string& text) {
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the common controls
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = form;
    ti.uId = reinterpret_cast<UINT_PTR>(label);
    ti.lpszText = const_cast<char*>(text.c_str());
    return ti;
}

}  // namespace

TdspConfig::TdspConfig() : Form(kForm, kControls) {
    onClick(IDC_CF_FOLDERCHANGE1, [this] { btnSaveFolderChange1Click(); });
    onClick(IDC_CF_FOLDERCHANGE2, [this] { btnSaveFolderChange2Click(); });
    onClick(IDC_CF_FOLDEROPEN1, [this] { btnSaveFolderOpen1Click(); });
    onClick(IDC_CF_FOLDEROPEN2, [this] { btnSaveFolderOpen2Click(); });
    onClick(IDC_CF_OK, [this] { btnOkClick(); });
    onClick(IDC_CF_CANCEL, [this] { btnCancelClick(); });
    dlgFolderSelect_.Caption = "スクリプト保管先フォルダを選択してください";
    dlgFolderSelect_.OKButtonCaption = "選択";
}

void TdspConfig::FormCreate() {
    dlgFolderSelect_.setOwner(hwnd_);
    // The tooltip window is owned by this form and ends with it.
    tips_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!tips_) return;
    ::SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, ::GetSystemMetrics(SM_CXSCREEN));
    for (int id : {IDC_CF_SAVEFOLDER1, IDC_CF_SAVEFOLDER2}) {
        TOOLINFOA ti = labelTool(hwnd_, control(id), text(id));
        ::SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void TdspConfig::FormShow() {
    centerOnScreen();
    configLoadSave(true);
    folderChanged_ = false;
}

void TdspConfig::setFolderLabel(int labelId, const std::string& path) {
    setText(labelId, path);
    if (!tips_) return;
    TOOLINFOA ti = labelTool(hwnd_, control(labelId), path);
    ::SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void TdspConfig::configLoadSave(bool load) {
    if (load) {
        const ConfigOptions o = configOptionsRead();
        setChecked(IDC_CF_ACADACTIVEO, o.acadActiveO);
        setChecked(IDC_CF_ACADACTIVEF, o.acadActiveF);
        setChecked(IDC_CF_ACADENDMESSAGE, o.acadEndMessage);
        setChecked(IDC_CF_TASKTRAY, o.trayIcon);
        setFolderLabel(IDC_CF_SAVEFOLDER1, o.saveFolder1);
        setFolderLabel(IDC_CF_SAVEFOLDER2, o.saveFolder2);
        return;
    }
    ConfigOptions o;
    o.acadActiveO = checked(IDC_CF_ACADACTIVEO);
    o.acadActiveF = checked(IDC_CF_ACADACTIVEF);
    o.acadEndMessage = checked(IDC_CF_ACADENDMESSAGE);
    o.trayIcon = checked(IDC_CF_TASKTRAY);
    o.saveFolder1 = text(IDC_CF_SAVEFOLDER1);
    o.saveFolder2 = text(IDC_CF_SAVEFOLDER2);
    configOptionsWrite(o);
}

void TdspConfig::saveFolderChange(int labelId) {
    if (!dlgFolderSelect_.Execute()) return;
    const std::string path = dlgFolderSelect_.SelectedPath();
    if (path.empty()) return;  // the chosen item has no file-system path
    setFolderLabel(labelId, path);
    folderChanged_ = true;
}

void TdspConfig::saveFolderOpen(int labelId) {
    // The label's current text, saved or not. Only a folder is opened: a label naming a program or a
    // document (a hand-edited settings file) must not start it from a button that opens folders.
    const std::string path = text(labelId);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    ::ShellExecuteA(hwnd_, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TdspConfig::btnSaveFolderChange1Click() { saveFolderChange(IDC_CF_SAVEFOLDER1); }
void TdspConfig::btnSaveFolderChange2Click() { saveFolderChange(IDC_CF_SAVEFOLDER2); }
void TdspConfig::btnSaveFolderOpen1Click() { saveFolderOpen(IDC_CF_SAVEFOLDER1); }
void TdspConfig::btnSaveFolderOpen2Click() { saveFolderOpen(IDC_CF_SAVEFOLDER2); }

void TdspConfig::btnOkClick() {
    configLoadSave(false);
    if (onSaved) onSaved(folderChanged_);
    close();
}

void TdspConfig::btnCancelClick() { close(); }
