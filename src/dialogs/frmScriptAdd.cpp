// TdspScriptAdd: name entry for a new script. Enter in the field is OK (the field's confirming button).
#include "dialogs/frmScriptAdd.h"

#include "dialogs/MaintenanceControls.h"
#include "forms/MessageBoxes.h"
#include "library/LibraryOperations.h"
#include "library/NameRules.h"
#include "library/ScriptLibrary.h"
#include "resources/maintenance/MaintenanceResources.h"

namespace {

const FormLayout kForm = {"スクリプトの新規作成", 321, 87, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                        WS_EX_DLGMODALFRAME, 0, 0, 0, 0, 12, FormPosition::Designed};

// Neither button is a default or cancel button: Enter belongs to the field, Escape does nothing.
const ControlLayout kControls[] = {
    {IDC_SA_LABEL1, ControlKind::Label, "新しいスクリプト名を入力してください：", 32, 12, 265, 13},
    {IDC_SA_GROUPNAME, ControlKind::Edit, "", 32, 28, 265, 20, Anchor::LeftTop, 0, 0, 0, IDC_SA_OK},
    {IDC_SA_CANCEL, ControlKind::Button, "キャンセル", 144, 56, 75, 23, Anchor::LeftTop, 1},
    {IDC_SA_OK, ControlKind::Button, "OK", 224, 56, 75, 23, Anchor::LeftTop, 2},
};

}  // namespace

TdspScriptAdd::TdspScriptAdd() : Form(kForm, kControls) {
    onClick(IDC_SA_OK, [this] { btnOkClick(); });
    onClick(IDC_SA_CANCEL, [this] { btnCancelClick(); });
}

void TdspScriptAdd::FormShow() {
    centerOnScreen();
    scriptName_.clear();
    const std::string saveFolder = saveFolderGet();
    // Only a file blocks a candidate; a folder of that name does not.
    setText(IDC_SA_GROUPNAME, scriptNameProposal([&](const std::string& candidate) {
                return scriptExists(saveFolder, groupName_, candidate);
            }));
    // Typing replaces the proposal.
    ::SendMessageA(control(IDC_SA_GROUPNAME), EM_SETSEL, 0, -1);
    focus(IDC_SA_GROUPNAME);
}

void TdspScriptAdd::btnOkClick() {
    const std::string name = text(IDC_SA_GROUPNAME);
    if (!nameCheck(hwnd_, name)) return;
    // "nul" would take the template into a device and report a script that is not there.
    if (maintenance::nameHazardRefused(name, NameKind::Script)) return;
    if (scriptExists(saveFolderGet(), groupName_, name)) {
        forms::plainMessage("入力したスクリプト名はすでに存在します。別の名称を設定してください。");
        return;
    }
    if (name.empty()) {
        forms::plainMessage("スクリプト名称を入力してください");
        return;
    }
    scriptName_ = name;
    close();
}

void TdspScriptAdd::btnCancelClick() {
    scriptName_.clear();
    close();
}
