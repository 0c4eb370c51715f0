// TdspConfig: the settings dialog. Shows the two save folders and the four switches stored in the settings
// file and writes all six back only on "設定を保存".
#pragma once

#include <functional>
#include <string>

#include "dialogs/SelectFolderDialog.h"
#include "forms/Form.h"

class TdspConfig : public Form {
public:
    TdspConfig();

    // Run after "設定を保存" has written the settings, before the window closes; handed over by the place that
    // creates the windows. `saveFolderChanged`: a "変更" put a new folder into a label since the window was shown.
    std::function<void(bool saveFolderChanged)> onSaved;

    // Reads the six settings into the controls (load) or writes them from the controls, in key order.
    void configLoadSave(bool load);

    void btnSaveFolderChange1Click();
    void btnSaveFolderChange2Click();
    void btnSaveFolderOpen1Click();
    void btnSaveFolderOpen2Click();
    void btnOkClick();
    void btnCancelClick();

    // The component behind both "変更" buttons; it keeps the last highlighted folder between showings.
    TSelectFolderDialog& folderDialog() { return dlgFolderSelect_; }
    bool folderChanged() const { return folderChanged_; }

protected:
    void FormCreate() override;
    void FormShow() override;

private:
    void saveFolderChange(int labelId);
    void saveFolderOpen(int labelId);
    void setFolderLabel(int labelId, const std::string& path);

    TSelectFolderDialog dlgFolderSelect_;
    bool folderChanged_ = false;  // a "変更" put a new folder into a label since the window was shown
    HWND tips_ = nullptr;         // tooltip with the labels' full paths; owned by this form, ends with it
};
