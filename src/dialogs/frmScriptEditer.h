// TdspScriptEditer: the built-in editor of one script file. It loads the file at every show, saves it on
// request, asks before unsaved changes are lost (closing the window or ending the Windows session), inserts the
// tags of the several-files run, and shows in its status bar what the script's invisible characters do.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "editor/InvisibleFaults.h"
#include "forms/Form.h"
#include "win/WinHandles.h"

class TEditor;

class TdspScriptEditer : public Form {
public:
    TdspScriptEditer();

    // The full path of the script file to edit; the caller sets it before every show.
    std::string scriptFilePath;
    // True while the text in the control has no unsaved changes (one window, so one flag for the program).
    bool scriptSaved = true;

    TEditor& edtScript() const;

    void edtScriptChange();
    void edtScriptSelectionChange();
    void edtScriptDblClick();
    void mSaveClick();
    void btnQuitClick();
    void mUndoClick();
    void mCutClick();
    void mCopyClick();
    void mPasteClick();
    void mDeleteClick();
    void mSelectAllClick();
    void mTagFullpathClick();
    void mTagFolderClick();
    void mTagFilenameClick();
    void mTagExtClick();
    void mTagNumberClick();

    // The status bar's second part: trailing blanks and a missing final line end; empty when neither applies.
    std::string invisibleNotice() const;

protected:
    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormResize() override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void edtScriptConfigure();
    void menuCreate();
    void saveEnabledSet(bool on);
    // Writes the text to scriptFilePath; only a complete write marks it saved. False after the error box.
    bool scriptWrite();
    // The closing question when there are unsaved changes; true when the text may go.
    bool unsavedAsk();
    void tagInsert(const char* tag);
    void WMMousewheel(WPARAM wp);
    // The bar in one part, or the mode text and notice_ in two.
    void statusPartsSet();

    HMENU mnuMain_ = nullptr;  // owned by the window once set
    HMENU mTag_ = nullptr;
    win::UniqueMenu mnuPopup_;
    win::UniqueImageList mImageList_;
    win::UniqueBitmap savePicture_;
    win::UniqueBitmap closePicture_;
    win::UniqueIcon saveIcon_;
    win::UniqueIcon quitIcon_;
    win::UniqueAccel accelerators_;
    std::string notice_;  // the second part's text, "" when the bar has one part
    editor::InvisibleFaultTally faultTally_;  // follows every edit, so typing does not recount the whole text
};
