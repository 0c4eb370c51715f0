// The identifiers, from the window units themselves.
#include "RunEndToEndIds.h"

#include "app/frmMain.h"
#include "dialogs/frmAcadTest.h"
#include "dialogs/frmSDIExp.h"

namespace ids {
const int btnScriptGo = TdspMain::btnScriptGo;
const int mAcadTest = TdspMain::mAcadTest;
const int edtSendCommand = TdspAcadTest::kEdtSendCommand;
const int btnSendCommand = TdspAcadTest::kBtnSendCommand;
const int btnSendCancel = TdspAcadTest::kBtnSendCancel;
const int btnAcadTestClose = TdspAcadTest::kBtnClose;
const int btnSDIExpClose = TdspSDIExp::kBtnClose;
}  // namespace ids
