// TdspGroupConfig: group maintenance. Lists the groups of one processing type and creates, renames and
// deletes group folders on disk at once; on closing it makes the main window refill its lists.
#pragma once

#include <string>

#include "app/Form.h"
#include "app/WinHandles.h"

class TdspGroupConfig : public Form {
public:
    TdspGroupConfig();

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
    void selectByName(const std::string& name);
    void popupAt(LPARAM screenPoint);

    UniqueMenu popGroupConfig_;
    UniqueIcon windowIconBig_;
    UniqueIcon windowIconSmall_;
    UniqueIcon buttonIcons_[3];
};
