// GUI driver for end-to-end tests: starts canopia.exe in a fresh program folder, finds its windows and
// controls, reads and clicks them, answers message boxes, and ends the program. Works across processes (and
// from a second thread of the same process), through messages the window manager carries between them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "win/WinHandles.h"

namespace driver {

// Polls `condition` every 20 ms until it holds or `timeoutMs` has passed; true when it held.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// --- windows and controls ---------------------------------------------------------------------------------
std::vector<HWND> topLevelWindows(DWORD processId, bool visibleOnly = true);
// The first visible top-level window of the process with this class (and title, when given).
HWND findTopLevel(DWORD processId, const char* className, const char* title = nullptr);
HWND waitTopLevel(DWORD processId, const char* className, const char* title = nullptr, int timeoutMs = 10000);
// A child control by its identifier, or the index-th child of a window class.
HWND controlById(HWND parent, int id);
HWND controlByClass(HWND parent, const char* className, int index = 0);
std::string className(HWND hwnd);
// WM_GETTEXT: a window's caption or a control's text (the status bar's one part too).
std::string windowText(HWND hwnd);
std::string statusText(HWND window);  // the text of the window's status bar
// The texts of all parts of the window's status bar, in order (one for a bar of one part; none without a bar).
// Read through a buffer in the window's process: the window manager carries no status-bar text across.
std::vector<std::string> statusParts(HWND window);
bool isEnabled(HWND hwnd);
bool isVisible(HWND hwnd);
RECT windowRect(HWND hwnd);
bool isTopmost(HWND hwnd);

// --- lists -------------------------------------------------------------------------------------------------
// Entries of a list box or combo box, in display order.
std::vector<std::string> listItems(HWND list);
int listSelection(HWND list);  // -1 when nothing is selected
// Selects the index-th entry and tells the parent, as a user's click does.
bool selectListEntry(HWND list, int index);
// A double click on the selected entry of a list box.
void doubleClickList(HWND list);

// --- actions -------------------------------------------------------------------------------------------------
void clickButton(HWND button);            // posted, so a message box it opens does not block the caller
void menuCommand(HWND window, int id);    // the WM_COMMAND a menu item sends (posted)
void closeWindow(HWND window);            // WM_CLOSE (posted)
// Real keyboard input to the foreground window: brings `window` to the front, then presses the key with the
// modifiers held (VK_CONTROL, VK_SHIFT, VK_MENU).
void pressKey(HWND window, WORD vk, std::initializer_list<WORD> modifiers = {});

// --- message boxes -----------------------------------------------------------------------------------------
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
    bool topmost = false;
    HWND owner = nullptr;
};
// The first visible message box (class "#32770") of the process, waiting up to `timeoutMs`.
std::optional<MessageBoxInfo> waitMessageBox(DWORD processId, int timeoutMs = 5000);
// The first visible message box of the process that `wanted` accepts (by caption, text or owner: a file
// dialog's own question has the dialog as owner), waiting up to `timeoutMs`.
std::optional<MessageBoxInfo> waitMessageBoxWith(DWORD processId,
                                                 const std::function<bool(const MessageBoxInfo&)>& wanted,
                                                 int timeoutMs = 5000);
// Presses one of the box's buttons (IDOK, IDCANCEL, IDYES, IDNO...).
bool answerMessageBox(HWND box, int buttonId = IDOK);

// --- file dialogs ------------------------------------------------------------------------------------------
// The file name field of a common file-open or file-save dialog (edt1, or the edit of the combo box cmb13).
HWND fileDialogNameField(HWND dialog);
// Types `path` into the dialog's file name field and presses its OK button, as a user does; false without a field.
bool fileDialogChoose(HWND dialog, const std::string& path);

// --- the program ---------------------------------------------------------------------------------------------
struct ProgramFiles {
    std::optional<std::string> ini;                                 // canopia.ini contents (Shift-JIS)
    std::vector<std::string> folders;                               // relative folders to create
    std::vector<std::pair<std::string, std::string>> files;         // relative path, contents
};

// canopia.exe copied into a fresh program folder of its own; ends the program and removes the folder when
// it goes.
class Canopia {
public:
    explicit Canopia(const ProgramFiles& files = {}, const std::string& exePath = CANOPIA_EXE);
    ~Canopia();
    Canopia(const Canopia&) = delete;
    Canopia& operator=(const Canopia&) = delete;

    // Starts the program; false when it could not be started.
    bool start();
    // Starts and waits for the main window to be shown; nullptr when it did not appear.
    HWND startAndWaitMain(int timeoutMs = 15000);
    HWND mainWindow() const;  // the visible main window, or nullptr
    DWORD processId() const { return processId_; }
    bool running() const;
    // Waits for the end of the program; its exit code, or nullopt on time-out.
    std::optional<DWORD> waitExit(int timeoutMs = 10000);
    // Closes the main window as the user does and waits for the end.
    std::optional<DWORD> close(int timeoutMs = 10000);
    void kill();

    const std::string& folder() const { return folder_; }  // program folder, no trailing backslash
    std::string path(const std::string& relative) const { return folder_ + "\\" + relative; }
    std::string iniPath() const { return path("canopia.ini"); }
    // The whole file, or nullopt when it does not exist.
    std::optional<std::string> readFile(const std::string& relative) const;
    void writeFile(const std::string& relative, const std::string& contents) const;

private:
    std::string folder_;
    std::string exe_;
    win::UniqueHandle process_;
    DWORD processId_ = 0;
};

// Writes a file (creating nothing else); false on failure.
bool writeWholeFile(const std::string& path, const std::string& contents);
std::optional<std::string> readWholeFile(const std::string& path);
// Removes a folder tree; false when something stayed.
bool removeTree(const std::string& folder);

}  // namespace driver
