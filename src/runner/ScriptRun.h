// Running the selected script in AutoCAD: on the current drawing, or once per file as a batch.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The main window's run command: the current-drawing run when zumenStatus is 1, else the batch run.
// `owner` is the main window: it owns the dialogs and message boxes and comes back to the front after a batch.
// A file error of a batch run is thrown as an AppError for the caller's error box.
void scriptGo(HWND owner);

// The current-drawing run: the script copied to tmp.scr and run inside an undo group, 18 strings in all.
// Silent: a copy that fails sends nothing; a string AutoCAD did not take ends the sending.
void currentDrawingRun();

// The batch start: the SDI check (beep and notice unless AutoCAD is in single-document mode), the file
// dialog and the confirmation, then batchScriptGo.
void batchStart(HWND owner);

// The batch run over `files` (full paths, in the dialog's order): tmp.scr holds the script once per file
// with its tags replaced, AutoCAD gets 15 strings, then the end message (or the warning that AutoCAD did
// not take the commands). Throws IoError when the script cannot be read or tmp.scr not written.
void batchScriptGo(const std::vector<std::string>& files, HWND owner);

// The path of the temporary script: tmp.scr in the program folder.
std::string temporaryScriptPath();

// Texts of the batch run (Shift-JIS).
std::string batchConfirmText(std::size_t files);  // "N 個のファイルを処理します　よろしいですか？"
std::string batchEndText(std::size_t files);      // "Nファイルの一括処理が終了しました"
extern const char* const kBatchNotTakenText;      // AutoCAD did not take a command: the batch was stopped

// What a run shows and asks. The real beep, SDI notice, file dialog, message boxes and foreground switch
// unless replaced; the SDI notice window puts itself here when it is created.
struct RunPrompts {
    std::function<void()> beep;
    std::function<void(HWND owner)> sdiNotice;
    // The selected files; nullopt when the dialog was cancelled.
    std::function<std::optional<std::vector<std::string>>(HWND owner)> filesSelect;
    std::function<int(HWND owner, const std::string& text, const char* caption, UINT flags)> messageBox;
    std::function<void(HWND window)> foreground;
};
RunPrompts& runPrompts();

// The file dialog of the batch run (title, five filters, several files, resizable, no read-only box).
std::optional<std::vector<std::string>> filesSelectDialog(HWND owner);
