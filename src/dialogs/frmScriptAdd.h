// TdspScriptAdd: the name-entry window of a new script; proposes a name that is free in the group and hands
// back the accepted one.
#pragma once

#include <string>

#include "forms/Form.h"

class TdspScriptAdd : public Form {
public:
    TdspScriptAdd();

    // The group the new script goes into, set by the maintenance window before every showing.
    void setGroupName(const std::string& groupName) { groupName_ = groupName; }

    // The accepted script name, or empty when nothing was accepted since the window was last shown.
    const std::string& getScriptName() const { return scriptName_; }

    void btnOkClick();
    void btnCancelClick();

protected:
    void FormShow() override;

private:
    std::string groupName_;
    std::string scriptName_;
};
