// TdspGroupAdd: name entry for a new group. Enter in the field is OK (the field's confirming button).
#include "dialogs/frmGroupAdd.h"

#include "dialogs/GroupNameRules.h"
#include "forms/MessageBoxes.h"
#include "library/LibraryRules.h"
#include "library/ScriptLibrary.h"
#include "resources/maintenance/MaintenanceResources.h"

namespace {

const FormLayout kForm = {"グループの新規作成", 321, 87, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                        WS_EX_DLGMODALFRAME, 0, 0, 0, 0, 12, FormPosition::Designed};

// Neither button is a default or cancel button: Enter belongs to the field, Escape does nothing.
const ControlLayout kControls[] = {
    {IDC_GA_LABEL1, ControlKind::Label, "新しいグループ名を入力してください：", 32, 12, 265, 13},
    {IDC_GA_GROUPNAME, ControlKind::Edit, "", 32, 28, 265, 20, Anchor::LeftTop, 0, 0, 0, IDC_GA_OK},
    {IDC_GA_OK, ControlKind::Button, "OK", 224, 56, 75, 23, Anchor::LeftTop, 1},
    {IDC_GA_CANCEL, ControlKind::Button, "キャンセル", 144, 56, 75, 23, Anchor::LeftTop, 2},
};


}  // namespace

namespace group_names {

bool folderExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool unsafeNameCheck(const std::string& name) {
    const UnsafeName kind = unsafeNameKind(name);
    if (kind == UnsafeName::None) return true;
    forms::plainMessage(unsafeNameMessage(kind));
    return false;
}

}  // namespace group_names

TdspGroupAdd::TdspGroupAdd() : Form(kForm, kControls) {
    onClick(IDC_GA_OK, [this] { btnOkClick(); });
    onClick(IDC_GA_CANCEL, [this] { btnCancelClick(); });
}

void TdspGroupAdd::FormShow() {
    centerOnScreen();
    groupName_.clear();
    const std::string saveFolder = saveFolderGet();
    setText(IDC_GA_GROUPNAME, group_names::proposeDefault([&](const std::string& candidate) {
                return group_names::folderExists(groupFolderPath(saveFolder, candidate));
            }));
    // Typing replaces the proposal.
    ::SendMessageA(control(IDC_GA_GROUPNAME), EM_SETSEL, 0, -1);
    focus(IDC_GA_GROUPNAME);
}

void TdspGroupAdd::btnOkClick() {
    const std::string name = text(IDC_GA_GROUPNAME);
    if (!nameCheck(hwnd_, name)) return;
    if (!group_names::unsafeNameCheck(name)) return;
    if (name.empty()) {
        forms::plainMessage("グループ名称を入力してください");
        return;
    }
    // The file system's own name matching decides ("abc" finds "ABC").
    if (group_names::folderExists(groupFolderPath(saveFolderGet(), name))) {
        forms::plainMessage("入力したグループ名はすでに存在します。別の名称を設定してください。");
        return;
    }
    groupName_ = name;
    close();
}

void TdspGroupAdd::btnCancelClick() {
    groupName_.clear();
    close();
}
