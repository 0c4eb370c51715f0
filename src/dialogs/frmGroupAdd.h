// TdspGroupAdd: the name-entry window of a new group; proposes a free name and hands back the accepted one.
#pragma once

#include <string>

#include "forms/Form.h"

// A name that passes the name rule but gives no plain group folder (a dot name, a trailing period or blank, a
// device): beeps and shows its plain message, then true. The name window and the rename share it.
bool groupNameHazardRefused(const std::string& name);

class TdspGroupAdd : public Form {
public:
    TdspGroupAdd();

    // The accepted group name, or empty when nothing was accepted since the window was last shown.
    const std::string& getGroupName() const { return groupName_; }

    void btnOkClick();
    void btnCancelClick();

protected:
    void FormShow() override;

private:
    std::string groupName_;
};
