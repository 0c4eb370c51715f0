// TdspScriptConfig: script maintenance. Shows the scripts of one group of one processing type and creates them
// from the template, imports, renames, deletes and copies them out at once on disk, and opens one in the
// script editor; on closing it announces that the library changed.
#pragma once

#include <functional>
#include <string>

#include "dialogs/MaintenanceControls.h"
#include "forms/Form.h"
#include "win/WinHandles.h"

class TdspScriptAdd;

class TdspScriptConfig : public Form {
public:
    TdspScriptConfig();

    // Handed over by the place that creates the windows, before create():
    // run when the window closes, whatever closed it: the library may have changed (the main window refills);
    std::function<void()> onLibraryChanged;
    // a picture of the main window's image list for a pop-up menu item (owned by the giver, which outlives this);
    std::function<HBITMAP(int index)> menuPicture;
    // opens the script editor window modally for the script file at this full path; unset, opening does nothing.
    std::function<void(const std::string& scriptPath)> editScript;
    // The name-entry window of a new script.
    void setScriptAdd(TdspScriptAdd& window) { dspScriptAdd_ = &window; }

    void groupListSetup();
    void scriptListSetup();
    void mainStatusCheck();
    void zumenCheckBoxSet();
    void zumenStatusSet(int type);

    void rdoFileActiveClick();
    void rdoFileSelectClick();
    void cmbGroupChange();
    void lstScriptClick();
    void lstScriptDblClick();
    void btnScriptOpenClick();
    void btnScriptNewFileClick();
    void btnScriptNewClick();
    void btnScriptDelClick();
    void btnScriptSaveClick();
    void btnChangeScriptNameClick();
    void pEditerOpenClick();
    void pDeleteClick();
    void pSaveFileClick();
    void btnSaveClick();
    // Enter renames while "名称変更" is enabled and never reaches the field then; true when swallowed.
    bool edtActiveScriptKeyPress(UINT msg, WPARAM key);

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    bool keyPreview(int controlId, UINT msg, WPARAM key) override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static constexpr UINT kListClicked = WM_APP + 1;  // posted after a mouse click in lstScript

    HWND scriptList() const;
    int scriptCount() const;
    int scriptSelection() const;
    std::string scriptText(int index) const;
    // The group named by cmbGroup, and the path of one of its scripts.
    std::string groupName() const;
    std::string scriptPath(const std::string& name) const;
    // The selected script's name; false when none is selected.
    bool selectedScript(std::string& name) const;
    // Selects the entry equal to `name` byte for byte and takes it into edtActiveScript.
    void scriptSelect(const std::string& name);

    TdspScriptAdd* dspScriptAdd_ = nullptr;
    win::UniqueMenu popScriptConfig_;
    maintenance::WindowPictures pictures_;
};
