// Creation of the program's windows at start-up, one line per window in the fixed order, and what each window
// is handed: the main window's refresh behind the maintenance windows' "the library changed", its pictures.
#include "app/AppWindows.h"

#include <string>

#include "app/frmMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAcadTest.h"
#include "dialogs/frmConfig.h"
#include "dialogs/frmGroupAdd.h"
#include "dialogs/frmGroupConfig.h"
#include "dialogs/frmSDIExp.h"
#include "dialogs/frmScriptAdd.h"
#include "dialogs/frmScriptConfig.h"
#include "dialogs/frmScriptEditer.h"
#include "forms/Form.h"

namespace app {

AppWindows& windows() {
    static AppWindows registry;
    return registry;
}

template <class T, class HandOver>
void AppWindows::windowCreate(T*& reference, AppWindow which, HandOver handOver) {
    reference = new T();  // never deleted: destroying the windows at the end would only cost time under Wine
    handOver(*reference);
    reference->create();
    forms_[static_cast<std::size_t>(which)] = reference;
}

void AppWindows::create() {
    // Order: Main, About, Config, GroupConfig, ScriptConfig, GroupAdd, AcadTest, SDIExp, ScriptAdd, ScriptEditer.
    windowCreate(dspMain, AppWindow::Main);
    windowCreate(dspAbout, AppWindow::About);
    windowCreate(dspConfig, AppWindow::Config, [this](TdspConfig& w) {
        // A new save folder changes what the main window lists; its status check runs after every save.
        w.onSaved = [this](bool saveFolderChanged) {
            if (saveFolderChanged) {
                dspMain->groupListSetup();
                dspMain->scriptListSetup();
            }
            dspMain->mainStatusCheck();
        };
    });
    windowCreate(dspGroupConfig, AppWindow::GroupConfig, [this](TdspGroupConfig& w) {
        w.onLibraryChanged = [this] { mainRefresh(); };
        w.menuPicture = [this](int index) { return dspMain->menuPicture(index); };
    });
    windowCreate(dspScriptConfig, AppWindow::ScriptConfig, [this](TdspScriptConfig& w) {
        w.onLibraryChanged = [this] { mainRefresh(); };
        w.menuPicture = [this](int index) { return dspMain->menuPicture(index); };
        w.editScript = [this](const std::string& path) {
            dspScriptEditer->scriptFilePath = path;
            dspScriptEditer->showModal();
        };
    });
    windowCreate(dspGroupAdd, AppWindow::GroupAdd);
    dspGroupConfig->setGroupAdd(*dspGroupAdd);
    windowCreate(dspAcadTest, AppWindow::AcadTest);
    windowCreate(dspSDIExp, AppWindow::SDIExp);
    windowCreate(dspScriptAdd, AppWindow::ScriptAdd);
    windowCreate(dspScriptEditer, AppWindow::ScriptEditer);
    dspScriptConfig->setScriptAdd(*dspScriptAdd);
}

ModalResult AppWindows::showModal(AppWindow window) {
    Form* f = form(window);
    return f ? f->showModal() : ModalResult::None;
}

void AppWindows::mainRefresh() {
    dspMain->zumenCheckBoxSet();
    dspMain->groupListSetup();
    dspMain->scriptListSetup();
    dspMain->mainStatusCheck();
}

}  // namespace app
