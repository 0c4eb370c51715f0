// The command test window: type one AutoCAD command and send it, or send the cancel.
#pragma once

#include "forms/Form.h"

class TdspAcadTest : public Form {
public:
    TdspAcadTest();

    // Control identifiers (for tests and the GUI driver).
    enum : int { kLabel1 = 1100, kEdtSendCommand, kBtnSendCommand, kBtnClose, kBtnSendCancel };

    // The typed text and a carriage return to AutoCAD as it is looked up now; the field is emptied after.
    // Enter in the field does the same and never reaches the field.
    void btnSendCommandClick();
    // The cancel to AutoCAD; the field stays as it is.
    void btnSendCancelClick();
    void btnCloseClick();

protected:
    void FormCreate() override;
    // "zoom e" in the field at every showing.
    void FormShow() override;
};
