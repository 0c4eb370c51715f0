// Control and menu identifiers of the main window, for the window itself and for tests that drive it.
#pragma once

struct MainWindowIds {
    enum : int {
        Bevel1 = 101,
        Label3,
        rdoFileActive,
        rdoFileSelect,
        Label2,
        cmbGroup,
        lstScript,
        Label1,
        btnScriptGo,
        barMain,
        mForGround = 201,
        mConfig,
        mExit,
        mGroupConfig,
        mScriptConfig,
        mScriptGo,
        mAcadActive,
        mAcadTest,
        mHelpOpen,
        mWebSite,
        mSDIOpen,
        mAbout,
    };
};
