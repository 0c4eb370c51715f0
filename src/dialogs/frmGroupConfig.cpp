// TdspGroupConfig: group maintenance on disk, for the processing type chosen in the window.
#include "dialogs/frmGroupConfig.h"

#include <algorithm>
#include <vector>

#include "dialogs/MaintenanceControls.h"
#include "dialogs/frmGroupAdd.h"
#include "library/LibraryOperations.h"
#include "library/ScriptLibrary.h"
#include "resources/maintenance/MaintenanceResources.h"

namespace {

const FormLayout kForm = {"グループのメンテナンス", 355, 343, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                        WS_EX_DLGMODALFRAME, 0, 0, 0, 0, 12, FormPosition::Designed};

// Group box children are placed at the box's origin plus their own bounds.
constexpr int kBox2Left = 10, kBox2Top = 8;    // GroupBox2 "処理タイプ"
constexpr int kBox1Left = 10, kBox1Top = 244;  // GroupBox1 "選択中グループの新しい名前"

// Tab order: GroupBox1 (its field, then its button), lstGroup, btnSave, GroupBox2 (its radio buttons),
// btnGroupNew, btnGroupDel.
const ControlLayout kControls[] = {
    {IDC_GC_GROUPBOX2, ControlKind::GroupBox, "処理タイプ", kBox2Left, kBox2Top, 335, 44},
    {IDC_GC_FILEACTIVE, ControlKind::RadioButton, "現在の図面", kBox2Left + 75, kBox2Top + 18, 89, 17,
     Anchor::LeftTop, 4},
    {IDC_GC_FILESELECT, ControlKind::RadioButton, "複数ファイル", kBox2Left + 174, kBox2Top + 18, 89, 17,
     Anchor::LeftTop, 5},
    {IDC_GC_LABEL1, ControlKind::Label, "グループ一覧：", 14, 60, 120, 12},
    {IDC_GC_GROUPLIST, ControlKind::ListBox, "", 13, 76, 235, 157, Anchor::LeftTop, 2, LBS_SORT, 13, 0,
     ControlFlag::None, 13},
    {IDC_GC_GROUPNEW, ControlKind::Button, "新規登録", 251, 77, 90, 22, Anchor::LeftTop, 6},
    {IDC_GC_GROUPDEL, ControlKind::Button, "削除", 251, 104, 90, 22, Anchor::LeftTop, 7},
    {IDC_GC_GROUPBOX1, ControlKind::GroupBox, "選択中グループの新しい名前", kBox1Left, kBox1Top, 335, 49},
    {IDC_GC_ACTIVEGROUP, ControlKind::Edit, "", kBox1Left + 7, kBox1Top + 18, 231, 20, Anchor::LeftTop, 0},
    {IDC_GC_CHANGENAME, ControlKind::Button, "名称変更", kBox1Left + 243, kBox1Top + 18, 85, 22, Anchor::LeftTop, 1},
    {IDC_GC_SAVE, ControlKind::Button, "メンテナンス終了", 119, 305, 115, 25, Anchor::LeftTop, 3},
};

constexpr int kDeleteImageIndex = 5;  // pDelete's picture in the main window's image list

}  // namespace

TdspGroupConfig::TdspGroupConfig() : Form(kForm, kControls) {
    onClick(IDC_GC_FILEACTIVE, [this] { rdoFileActiveClick(); });
    onClick(IDC_GC_FILESELECT, [this] { rdoFileSelectClick(); });
    onChange(IDC_GC_GROUPLIST, [this] { lstGroupClick(); });
    onClick(IDC_GC_GROUPNEW, [this] { btnGroupNewClick(); });
    onClick(IDC_GC_GROUPDEL, [this] { btnGroupDelClick(); });
    onClick(IDC_GC_CHANGENAME, [this] { btnGroupChangeNameClick(); });
    onClick(IDC_GC_SAVE, [this] { btnSaveClick(); });
    onClick(IDM_GC_DELETE, [this] { pDeleteClick(); });
}

void TdspGroupConfig::FormCreate() {
    setChecked(IDC_GC_FILESELECT, true);  // the layout's state until the first show sets the processing type

    pictures_.apply(hwnd_, IDI_GROUP_CONFIG,
                    {{control(IDC_GC_GROUPNEW), IDI_GROUP_NEW},
                     {control(IDC_GC_GROUPDEL), IDI_GROUP_DELETE},
                     {control(IDC_GC_CHANGENAME), IDI_GROUP_RENAME}});

    popGroupConfig_.reset(::CreatePopupMenu());
    maintenance::popupItemAppend(popGroupConfig_.get(), IDM_GC_DELETE, "削除(&D)",
                                 menuPicture ? menuPicture(kDeleteImageIndex) : nullptr);
}

void TdspGroupConfig::FormShow() {
    centerOnScreen();
    groupListSetup();
    mainStatusCheck();
    zumenCheckBoxSet();
}

void TdspGroupConfig::FormClose() {
    if (onLibraryChanged) onLibraryChanged();
}

int TdspGroupConfig::listCount() const { return maintenance::listCount(control(IDC_GC_GROUPLIST)); }

int TdspGroupConfig::listSelection() const { return maintenance::listSelection(control(IDC_GC_GROUPLIST)); }

std::string TdspGroupConfig::listText(int index) const {
    return maintenance::listText(control(IDC_GC_GROUPLIST), index);
}

void TdspGroupConfig::groupListSetup() {
    HWND list = control(IDC_GC_GROUPLIST);
    win::RedrawSuspender suspended(list);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    std::vector<std::string> names;
    groupNamesRead(names);
    for (const auto& name : names) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (listCount() == 0) {
        setText(IDC_GC_ACTIVEGROUP, "");
    } else {
        ::SendMessageA(list, LB_SETCURSEL, 0, 0);
        setText(IDC_GC_ACTIVEGROUP, listText(0));
    }
}

void TdspGroupConfig::mainStatusCheck() {
    const bool any = listCount() > 0;
    setEnabled(IDC_GC_CHANGENAME, any);
    setEnabled(IDC_GC_GROUPDEL, any);
    setEnabled(IDC_GC_GROUPLIST, any);
    ::EnableMenuItem(popGroupConfig_.get(), IDM_GC_DELETE, MF_BYCOMMAND | (any ? MF_ENABLED : MF_GRAYED));
}

void TdspGroupConfig::zumenCheckBoxSet() {
    focus(IDC_GC_ACTIVEGROUP);
    setChecked(IDC_GC_FILEACTIVE, zumenStatus == 1);
    setChecked(IDC_GC_FILESELECT, zumenStatus != 1);
}

void TdspGroupConfig::zumenStatusSet(int type) {
    zumenStatus = type;
    groupListSetup();
    mainStatusCheck();
}

void TdspGroupConfig::rdoFileActiveClick() { zumenStatusSet(1); }
void TdspGroupConfig::rdoFileSelectClick() { zumenStatusSet(2); }

void TdspGroupConfig::lstGroupClick() {
    const int index = listSelection();
    if (index >= 0) setText(IDC_GC_ACTIVEGROUP, listText(index));
}

void TdspGroupConfig::btnGroupNewClick() {
    if (!dspGroupAdd_) return;
    dspGroupAdd_->showModal();
    const std::string name = dspGroupAdd_->getGroupName();
    if (name.empty()) return;
    groupCreate(saveFolderGet(), name);  // a failure is not reported
    groupListSetup();
    setText(IDC_GC_ACTIVEGROUP, name);
    maintenance::listSelectExact(control(IDC_GC_GROUPLIST), name);
    mainStatusCheck();
}

void TdspGroupConfig::btnGroupChangeNameClick() {
    const int index = listSelection();
    if (index < 0) return;
    const std::string newName = text(IDC_GC_ACTIVEGROUP);
    const std::string oldName = listText(index);
    if (!nameCheck(hwnd_, newName)) return;
    if (maintenance::nameHazardRefused(newName, NameKind::Group)) return;
    // An existing target and an empty name are refused; nothing is reported then.
    if (groupRename(saveFolderGet(), oldName, newName) != LibraryResult::Done) return;
    groupListSetup();
    maintenance::listSelectExact(control(IDC_GC_GROUPLIST), newName);
    setText(IDC_GC_ACTIVEGROUP, newName);
}

void TdspGroupConfig::btnGroupDelClick() {
    const int index = listSelection();
    if (index < 0) return;
    // Only an empty folder can be removed: the scripts in a group are never deleted with it.
    if (groupDelete(saveFolderGet(), listText(index)) != LibraryResult::Done) {
        ::MessageBoxA(hwnd_, "スクリプトの登録されているフォルダは削除できません", "注意", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    groupListSetup();
    const int count = listCount();
    if (count > 0) {
        const int keep = std::min(index, count - 1);
        ::SendMessageA(control(IDC_GC_GROUPLIST), LB_SETCURSEL, static_cast<WPARAM>(keep), 0);
        setText(IDC_GC_ACTIVEGROUP, listText(keep));
    }
    mainStatusCheck();
}

void TdspGroupConfig::pDeleteClick() { btnGroupDelClick(); }

void TdspGroupConfig::btnSaveClick() { close(); }

bool TdspGroupConfig::edtActiveGroupKeyPress(UINT msg, WPARAM key) {
    if (key != VK_RETURN || !enabled(IDC_GC_CHANGENAME)) return false;
    // The dialog navigation takes Enter at its key-down, so the rename runs there; its character is swallowed too.
    if (msg == WM_KEYDOWN) btnGroupChangeNameClick();
    return true;
}

bool TdspGroupConfig::keyPreview(int controlId, UINT msg, WPARAM key) {
    return controlId == IDC_GC_ACTIVEGROUP && edtActiveGroupKeyPress(msg, key);
}

LRESULT TdspGroupConfig::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wp) != control(IDC_GC_GROUPLIST)) break;
            maintenance::listPopupShow(control(IDC_GC_GROUPLIST), popGroupConfig_.get(), hwnd_, lp);
            return 0;
        case WM_PARENTNOTIFY:
            // A click on the entry that is already selected changes no selection, yet it takes the entry's name
            // into the field again; the click is run once the list has handled the button.
            if (maintenance::listPressed(hwnd_, control(IDC_GC_GROUPLIST), wp, lp))
                ::PostMessageA(hwnd_, kListClicked, 0, 0);
            break;
        case kListClicked:
            lstGroupClick();
            return 0;
        default:
            break;
    }
    return Form::handle(msg, wp, lp);
}
