// Control and menu identifiers of the program's windows for the end-to-end test, taken from the window units
// in a file of their own (their handle wrappers and the stand-in's must not meet in one file).
#pragma once

namespace ids {
extern const int btnScriptGo;
extern const int mAcadTest;
extern const int edtSendCommand;
extern const int btnSendCommand;
extern const int btnSendCancel;
extern const int btnAcadTestClose;
extern const int btnSDIExpClose;
}  // namespace ids
