// TdspGroupAdd: the name-entry window of a new group; proposes a free name and hands back the accepted one.
#pragma once

#include <string>

#include "forms/Form.h"

namespace group_names {

// True when a folder (not a plain file) exists at `path`; the file system matches the name its own way.
bool folderExists(const std::string& path);

// Refuses a name that would reach no plain group folder: beeps and shows its plain message. True when usable.
bool unsafeNameCheck(const std::string& name);

}  // namespace group_names

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
