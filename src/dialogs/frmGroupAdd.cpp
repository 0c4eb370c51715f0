// TdspGroupAdd: name entry for a new group. Enter in the field is OK (the field's confirming button).
#include "dialogs/frmGroupAdd.h"

#include "dialogs/MaintenanceControls.h"
#include "forms/MessageBoxes.h"
#include "library/LibraryOperations.h"
#include "library/NameRules.h"
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

TdspGroupAdd::TdspGroupAdd() : Form(kForm, kControls) {
    onClick(IDC_GA_OK, [this] { btnOkClick(); });
    onClick(IDC_GA_CANCEL, [this] { btnCancelClick(); });
}

void TdspGroupAdd::FormShow() {
    centerOnScreen();
    groupName_.clear();
    const std::string saveFolder = saveFolderGet();
    // Only a folder blocks a candidate; a plain file of that name does not.
    setText(IDC_GA_GROUPNAME, groupNameProposal([&](const std::string& candidate) {
                return groupExists(saveFolder, candidate);
            }));
    // Typing replaces the proposal.
    ::SendMessageA(control(IDC_GA_GROUPNAME), EM_SETSEL, 0, -1);
    focus(IDC_GA_GROUPNAME);
}

void TdspGroupAdd::btnOkClick() {
    const std::string name = text(IDC_GA_GROUPNAME);
    if (!nameCheck(hwnd_, name)) return;
    if (maintenance::nameHazardRefused(name, NameKind::Group)) return;
    if (name.empty()) {
        forms::plainMessage("グループ名称を入力してください");
        return;
    }
    // The file system's own name matching decides ("abc" finds "ABC").
    if (groupExists(saveFolderGet(), name)) {
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
