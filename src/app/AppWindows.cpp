// Creation of the program's windows at start-up, one line per window in the fixed order.
#include "app/AppWindows.h"

#include "app/Form.h"
#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAcadTest.h"
#include "dialogs/frmConfig.h"
#include "dialogs/frmGroupAdd.h"
#include "dialogs/frmGroupConfig.h"
#include "dialogs/frmSDIExp.h"

TdspMain* dspMain = nullptr;
TdspAbout* dspAbout = nullptr;
TdspConfig* dspConfig = nullptr;
TdspGroupConfig* dspGroupConfig = nullptr;
TdspScriptConfig* dspScriptConfig = nullptr;
TdspGroupAdd* dspGroupAdd = nullptr;
TdspAcadTest* dspAcadTest = nullptr;
TdspSDIExp* dspSDIExp = nullptr;
TdspScriptAdd* dspScriptAdd = nullptr;
TdspScriptEditer* dspScriptEditer = nullptr;

namespace {

Form* forms[static_cast<int>(AppWindow::ScriptEditer) + 1] = {};

// One window: created hidden, kept for the program's life, registered for appWindowForm.
template <class T>
void windowCreate(T*& reference, AppWindow which) {
    reference = new T();
    reference->create();
    forms[static_cast<int>(which)] = reference;
}

}  // namespace

void appWindowsCreate() {
    // Order: Main, About, Config, GroupConfig, ScriptConfig, GroupAdd, AcadTest, SDIExp, ScriptAdd, ScriptEditer.
    windowCreate(dspMain, AppWindow::Main);
    windowCreate(dspAbout, AppWindow::About);
    windowCreate(dspConfig, AppWindow::Config);
    windowCreate(dspGroupConfig, AppWindow::GroupConfig);
    windowCreate(dspGroupAdd, AppWindow::GroupAdd);
    windowCreate(dspAcadTest, AppWindow::AcadTest);
    windowCreate(dspSDIExp, AppWindow::SDIExp);
}

Form* appWindowForm(AppWindow window) { return forms[static_cast<int>(window)]; }

int appWindowShowModal(AppWindow window) {
    Form* form = appWindowForm(window);
    return form ? form->showModal() : mrNone;
}
