// The main window TdspMain: processing type, group and script choice, the run command, the AutoCAD watch
// timer with its status line, the main menu, and the window state kept in the settings file.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

#include "app/frmMainIds.h"
#include "forms/Form.h"
#include "runner/BatchFollow.h"
#include "win/WinHandles.h"

class MainTray;
struct RunHandOver;

class TdspMain : public Form, public MainWindowIds {
public:
    TdspMain();
    ~TdspMain() override;

    HWND handle() const { return hwnd_; }

    // Refills the group box from the library of the current processing type; the first entry is selected.
    void groupListSetup();
    // Refills the script list for the group box's current text; the first entry is selected.
    void scriptListSetup();
    // The caption, and the script list enabled exactly when it holds an entry.
    void mainStatusCheck();
    // Focus to the group box, and the radio buttons after zumenStatus.
    void zumenCheckBoxSet();
    // A new processing type: zumenStatus, then both lists and the status check.
    void zumenStatusSet(int value);
    // Topmost band on or off after the check mark of "常に手前に表示".
    void checkTopMost();
    // The status line and the enabled states of the run command and the AutoCAD menu.
    void statusTimer(bool found);
    // Following the batch run AutoCAD works through: "k/N" in the status bar's second part, and the question
    // to resume once AutoCAD is back after it went away in the middle of the run.
    void followStep(bool found);

    // The state kept in the settings file (read when shown, written when closed).
    void windowStatusLoadSave(bool load);
    void selectGroupLoadSave(bool load);

    // The main image list imgIcon (menu pictures; the maintenance dialogs use it for their pop-up menus).
    HIMAGELIST imgIcon() const { return imgIcon_.get(); }
    // A picture of imgIcon as a 32-bit bitmap with alpha, for a menu item (owned by this window).
    HBITMAP menuPicture(int index);
    // The run (scriptGo) behind the run button; tests and later windows may call it.
    void btnScriptGoClick();
    bool topMost() const;

    // The home page opened by "ホームページ...".
    static constexpr const char* kHomePage = "https://canopia.jp/";
    // The help file in the program folder.
    static constexpr const char* kHelpFile = "canopia.hlp";

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormShown() override;
    void FormClose() override;
    void FormResize() override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void acadWatchTimerTimer();
    void rdoFileActiveClick();
    void rdoFileSelectClick();
    void cmbGroupChange();
    void lstScriptDblClick();
    void mForGroundClick();
    void mConfigClick();
    void mExitClick();
    void mGroupConfigClick();
    void mScriptConfigClick();
    void mScriptGoClick();
    void mAcadActiveClick();
    void mAcadTestClick();
    void mHelpOpenClick();
    void mWebSiteClick();
    void mSDIOpenClick();
    void mAboutClick();
    void menuCreate();
    void runHandedOver(const RunHandOver& handOver);
    void resumeOffer();
    // The status bar: one part, or the status line and the progress part while there is progress to show.
    void progressShow(const std::string& text);
    void statusPartsSet();

    HMENU mnuMain_ = nullptr;
    HMENU mAutoCAD_ = nullptr;  // the AutoCAD pop-up, disabled while AutoCAD is not found
    bool acadMenuEnabled_ = false;
    win::UniqueImageList imgIcon_;
    std::map<int, win::UniqueBitmap> pictures_;
    win::UniqueIcon buttonIcon_;
    win::UniqueAccel accelerators_;
    std::unique_ptr<MainTray> tray_;
    runner::BatchFollower follower_;
    HWND followedWindow_ = nullptr;  // AutoCAD's window the followed run was handed to
    std::string progress_;           // the progress part's text; "" when the bar has one part
    bool running_ = false;           // a run or the resume question is under way: no question now
};
