// TdspGroupConfig: group maintenance. Lists the groups of one processing type and creates, renames and
// deletes group folders on disk at once; on closing it announces that the library changed.
#pragma once

#include <functional>
#include <string>

#include "dialogs/MaintenanceControls.h"
#include "forms/Form.h"
#include "win/WinHandles.h"

class TdspGroupAdd;

class TdspGroupConfig : public Form {
public:
    TdspGroupConfig();

    // Handed over by the place that creates the windows, before create():
    // run when the window closes, whatever closed it: the library may have changed (the main window refills);
    std::function<void()> onLibraryChanged;
    // a picture of the main window's image list for a pop-up menu item (owned by the giver, which outlives this).
    std::function<HBITMAP(int index)> menuPicture;
    // The name-entry window of a new group.
    void setGroupAdd(TdspGroupAdd& window) { dspGroupAdd_ = &window; }

    void groupListSetup();
    void mainStatusCheck();
    void zumenCheckBoxSet();
    void zumenStatusSet(int type);

    void rdoFileActiveClick();
    void rdoFileSelectClick();
    void lstGroupClick();
    void btnGroupNewClick();
    void btnGroupChangeNameClick();
    void btnGroupDelClick();
    void pDeleteClick();
    void btnSaveClick();
    // Enter renames while "名称変更" is enabled and never reaches the field then; true when swallowed.
    bool edtActiveGroupKeyPress(UINT msg, WPARAM key);

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    bool keyPreview(int controlId, UINT msg, WPARAM key) override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static constexpr UINT kListClicked = WM_APP + 1;  // posted after a mouse click in lstGroup

    std::string listText(int index) const;
    int listCount() const;
    int listSelection() const;

    TdspGroupAdd* dspGroupAdd_ = nullptr;
    win::UniqueMenu popGroupConfig_;
    maintenance::WindowPictures pictures_;
};
