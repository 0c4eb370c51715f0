// TdspGroupAdd: the name-entry window of a new group; proposes a free name and hands back the accepted one.
#pragma once

#include <string>

#include "forms/Form.h"

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
