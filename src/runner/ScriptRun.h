// Running the selected script in AutoCAD: on the current drawing, or once per file as a batch.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runner/BatchFollow.h"

// The main window's run command: the current-drawing run when zumenStatus is 1, else the batch run.
// `owner` is the main window: it owns the dialogs and message boxes and comes back to the front after a batch.
// A file error of a batch run is thrown as an AppError for the caller's error box.
void scriptGo(HWND owner);

// The current-drawing run: the script copied to tmp.scr and run inside an undo group, 18 strings in all.
// A copy that fails sends nothing, silently. A string AutoCAD did not take ends the sending; then the program
// comes back to the front and says why, owned by `owner`: AutoCAD refused the messages (it runs elevated), or
// did not answer within the bound. A window that went away meanwhile stays silent, as for no AutoCAD at all.
void currentDrawingRun(HWND owner);

// The batch start: the SDI check (beep and notice unless AutoCAD is in single-document mode; the warning
// when AutoCAD refuses the messages), the file dialog and the confirmation, then batchScriptGo.
void batchStart(HWND owner);

// The batch run over `files` (full paths, in the dialog's order) with the selected script: tmp.scr holds the
// script once per file with its tags replaced, AutoCAD gets 15 strings, then the end message (or the warning
// that AutoCAD did not take the commands, or refused them). Throws IoError when the script cannot be read or
// tmp.scr not written.
void batchScriptGo(const std::vector<std::string>& files, HWND owner);

// After AutoCAD went away in the middle of a followed batch: asks `question` (確認, OK/Cancel), and on OK runs
// `run` (its own script, [%NUMBER%] from its first number) through the ordinary path: the SDI check, the 15
// strings, the end message. Cancel sends nothing.
void batchResume(const runner::BatchRun& run, const std::string& question, HWND owner);

// The path of the temporary script: tmp.scr in the program folder.
std::string temporaryScriptPath();

// Texts of the batch run (Shift-JIS).
std::string batchConfirmText(std::size_t files);  // "N 個のファイルを処理します　よろしいですか？"
std::string batchEndText(std::size_t files);      // "Nファイルの一括処理が終了しました"
extern const char* const kBatchNotTakenText;      // AutoCAD did not take a command: the batch was stopped
extern const char* const kCurrentNotTakenText;    // the same for the current-drawing run
extern const char* const kAcadElevatedText;       // AutoCAD refused the messages: it runs as administrator

// A run that AutoCAD took, as told to whoever follows runs (the main window), before the end message.
struct RunHandOver {
    HWND window = nullptr;   // AutoCAD's window the run was handed to
    std::string title;       // that window's title before the script was handed over
    runner::BatchRun batch;  // the batch's files, first number and script; no files for a current-drawing run
};

// What a run shows and asks. The real beep, SDI notice, file dialog, message boxes and foreground switch
// unless replaced; the SDI notice window puts itself here when it is created.
struct RunPrompts {
    std::function<void()> beep;
    std::function<void(HWND owner)> sdiNotice;
    // The selected files; nullopt when the dialog was cancelled.
    std::function<std::optional<std::vector<std::string>>(HWND owner)> filesSelect;
    std::function<int(HWND owner, const std::string& text, const char* caption, UINT flags)> messageBox;
    std::function<void(HWND window)> foreground;
    // Told of every run AutoCAD took; nothing unless set.
    std::function<void(const RunHandOver&)> handedOver;
};
RunPrompts& runPrompts();

// The file dialog of the batch run (title, five filters, several files, resizable, no read-only box).
std::optional<std::vector<std::string>> filesSelectDialog(HWND owner);
