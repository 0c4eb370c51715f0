// The folder chooser component: the platform's folder browse dialog with our own caption and confirm-button
// text, remembering the folder last highlighted so that the next browse starts there.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <exception>
#include <functional>
#include <string>

#include "win/ShellHandles.h"

class TSelectFolderDialog {
public:
    static constexpr int kNoSpecialFolder = -1;

    // Published properties, with their defaults.
    int SelectSpecialFolder = kNoSpecialFolder;  // CSIDL preselected while no folder is held yet
    int RootSpecialFolder = CSIDL_DESKTOP;       // CSIDL at the root of the tree
    std::string Title;                           // text above the tree (none by default)
    std::string StatusText;                      // status line above the tree; shown with BIF_STATUSTEXT
    UINT Options = BIF_RETURNONLYFSDIRS;         // BIF_* flags: only file-system folders can be confirmed
    std::string Caption;                         // title of the browse window
    std::string OKButtonCaption;                 // text of the browse window's confirm button

    // Events; none is needed by the settings dialog. `path` is the highlighted folder's path ("" for none).
    std::function<void()> OnShow;                                   // the browse window is initialised
    std::function<void()> OnClose;                                  // the browse window has closed
    std::function<void(const std::string& path, bool& canClose)> OnCanClose;  // confirm pressed
    std::function<void(const std::string& path)> OnFolderChange;    // the highlight moved
    std::function<void(const std::string& text, bool& canClose)> OnValidateFailed;  // BIF_VALIDATE edit text

    TSelectFolderDialog();
    ~TSelectFolderDialog();
    TSelectFolderDialog(const TSelectFolderDialog&) = delete;
    TSelectFolderDialog& operator=(const TSelectFolderDialog&) = delete;

    // The window the browse dialog belongs to; without one, the active window at the time of Execute.
    void setOwner(HWND owner) noexcept { owner_ = owner; }

    // Shows the browse dialog modally; true when the user confirmed a folder.
    bool Execute();

    // File-system path of the held folder: the confirmed one after a successful Execute, else the one
    // highlighted last (also in a cancelled browse); empty before the first use or for a virtual item.
    std::string SelectedPath() const;

    // The browse window while it is shown, else null.
    HWND handle() const noexcept { return browse_; }

private:
    static int CALLBACK browseCallback(HWND hwnd, UINT msg, LPARAM lParam, LPARAM data);
    static LRESULT CALLBACK browseSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    int browseEvent(HWND hwnd, UINT msg, LPARAM lParam);
    static std::string pathOf(const ITEMIDLIST* pidl);

    HWND owner_ = nullptr;
    HWND browse_ = nullptr;
    WNDPROC browseProc_ = nullptr;  // the browse window's own procedure while OnCanClose is subclassing it
    win::UniquePidl held_;               // the folder held between browses
    std::string preselectPath_;     // the held folder's path while a browse starts (a posted message points here)
    std::exception_ptr error_;      // raised in an event during the browse, raised again by Execute
};
