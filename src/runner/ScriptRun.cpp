// The two kinds of run: the strings AutoCAD receives, in their order, and tmp.scr around them.
#include "runner/ScriptRun.h"

#include <cderr.h>
#include <commdlg.h>

#include <memory>

#include "acad/CommandChannel.h"
#include "acad/VariableProbes.h"
#include "library/ScriptLibrary.h"
#include "library/Settings.h"
#include "runner/FileSelection.h"
#include "runner/ScriptText.h"
#include "runner/Win32Files.h"

namespace {

const char kCr[] = "\r";

const char kSdiNoticeText[] =
    "本システムでは複数ファイル処理時には単一互換図面モード（SDIモード）で正しく動作するように設計"
    "されています。「options」コマンドにて設定画面を開き「システム」タブを選択後「単一互換図面モード」"
    "をにチェックを入れてください。また設定時に複数のファイルを開いている場合はチェックできません。"
    "その時には一度AutoCADを再起動後、再設定してください。";

// The explorer-style dialog lists the folder and every name in one buffer; 1 MiB holds thousands of files.
constexpr DWORD kFileBufferSize = 1024 * 1024;

RunPrompts realPrompts() {
    RunPrompts p;
    p.beep = [] { ::MessageBeep(0); };
    // Stands in until the SDI notice window is created and puts itself here.
    p.sdiNotice = [](HWND owner) {
        ::MessageBoxA(owner, kSdiNoticeText, "SDIモードへの変更について", MB_OK | MB_ICONINFORMATION);
    };
    p.filesSelect = filesSelectDialog;
    p.messageBox = [](HWND owner, const std::string& text, const char* caption, UINT flags) {
        return ::MessageBoxA(owner, text.c_str(), caption, flags);
    };
    p.foreground = [](HWND window) { ::SetForegroundWindow(window); };
    return p;
}

void fileDelete(const std::string& path) { ::DeleteFileA(path.c_str()); }

// The heart of both runs: FILEDIA and OSNAPCOORD saved and set, the SCRIPT command, both put back. False at the
// first string AutoCAD did not take; nothing is sent after it.
bool scriptHandOver(HWND window, const std::string& tmp) {
    return acadFilediaCheck() &&
           acadCommandSend(std::string("filedia 0") + kCr, window) &&
           acadOsnapcoordCheck() &&
           acadCommandSend(std::string("osnapcoord 1") + kCr, window) &&
           acadCommandSend("script " + tmp + kCr, window) &&
           acadFilediaRestore() &&
           acadOsnapcoordRestore();
}

void warn(HWND owner, const char* text) { runPrompts().messageBox(owner, text, "注意", MB_OK | MB_ICONWARNING); }

// The SDI check before a batch: true when AutoCAD is in single-document mode. A refusal says so; any
// other probe that AutoCAD did not answer has stored "0" and gets the notice as for any other mode.
bool singleDocumentMode(HWND owner) {
    RunPrompts& prompts = runPrompts();
    const bool answered = acadSdiCheck();
    if (!answered && acadLastSendOutcome() == SendOutcome::Refused) {
        warn(owner, kAcadElevatedText);
        return false;
    }
    if (!answered || acadSdiValue() != "1") {
        prompts.beep();
        prompts.sdiNotice(owner);
        return false;
    }
    return true;
}

void batchRun(const runner::BatchRun& run, HWND owner) {
    RunPrompts& prompts = runPrompts();
    HWND window = acadWindowFind();
    const std::string titleBefore = window ? acadWindowTitle() : std::string();
    const std::string tmp = temporaryScriptPath();
    if (!configOptionOff(kConfigAcadActiveF)) prompts.foreground(window);

    {
        // A script is read once (a very large one once per file); a file error leaves tmp.scr for the next run.
        runner::Win32FileSink sink(tmp);
        runner::combinedScriptWrite([&run] { return std::make_unique<runner::Win32FileSource>(run.script); },
                                    run.files, sink, run.firstNumber);
    }

    const bool taken = acadCancelSend(window) && scriptHandOver(window, tmp) && acadCancelSend(window);
    const SendOutcome stopped = acadLastSendOutcome();
    fileDelete(tmp);
    prompts.foreground(owner);

    if (!taken) {
        // Not the end message: AutoCAD did not get the whole run, and FILEDIA or OSNAPCOORD may be left changed.
        warn(owner, stopped == SendOutcome::Refused ? kAcadElevatedText : kBatchNotTakenText);
        return;
    }
    if (prompts.handedOver) prompts.handedOver(RunHandOver{window, titleBefore, run});
    if (!configOptionOff(kConfigAcadEndMessage)) {
        prompts.messageBox(owner, batchEndText(run.files.size()), "処理終了", MB_OK | MB_ICONINFORMATION);
    }
}

}  // namespace

const char* const kBatchNotTakenText = "AutoCADがコマンドを受け付けなかったため、一括処理を中止しました";
const char* const kCurrentNotTakenText = "AutoCADがコマンドを受け付けなかったため、処理を中止しました";
const char* const kAcadElevatedText =
    "AutoCADが管理者として実行されているため、コマンドを送れません。カノピアもAutoCADと同じ権限で起動してください。";

RunPrompts& runPrompts() {
    static RunPrompts prompts = realPrompts();
    return prompts;
}

std::string temporaryScriptPath() { return runner::pathJoin(programFolder(), "tmp.scr"); }

std::string batchConfirmText(std::size_t files) {
    return std::to_string(files) + " 個のファイルを処理します　よろしいですか？";
}

std::string batchEndText(std::size_t files) { return std::to_string(files) + "ファイルの一括処理が終了しました"; }

void scriptGo(HWND owner) {
    if (zumenStatus == 1) {
        currentDrawingRun(owner);
    } else {
        batchStart(owner);
    }
}

void currentDrawingRun(HWND owner) {
    const std::string script = selectedScriptPath();
    HWND window = acadWindowFind();
    const std::string tmp = temporaryScriptPath();
    if (::GetFileAttributesA(tmp.c_str()) != INVALID_FILE_ATTRIBUTES) fileDelete(tmp);
    if (!fileCopyNoOverwrite(script, tmp)) return;
    if (!configOptionOff(kConfigAcadActiveO)) runPrompts().foreground(window);

    const std::string titleBefore = window ? acadWindowTitle() : std::string();
    // Each string is handed over before the next is sent; the first one AutoCAD does not take ends the run
    // (&& stops there), so nothing arrives out of order. The probes and setters look AutoCAD up themselves.
    const bool taken = acadCommandSend(std::string("select") + kCr, window) &&
                       acadCancelSend(window) &&
                       acadCommandSend(std::string("undo be") + kCr, window) &&
                       scriptHandOver(window, tmp) &&
                       acadCommandSend(std::string("undo e") + kCr, window) &&
                       acadCancelSend(window);
    const SendOutcome stopped = acadLastSendOutcome();
    fileDelete(tmp);
    if (taken) {
        if (runPrompts().handedOver) runPrompts().handedOver(RunHandOver{window, titleBefore, {}});
        return;
    }
    // Silence would look like success, except where AutoCAD simply is not there any more.
    if (stopped == SendOutcome::NoWindow) return;
    runPrompts().foreground(owner);
    warn(owner, stopped == SendOutcome::Refused ? kAcadElevatedText : kCurrentNotTakenText);
}

void batchStart(HWND owner) {
    RunPrompts& prompts = runPrompts();
    if (!singleDocumentMode(owner)) return;
    std::optional<std::vector<std::string>> files = prompts.filesSelect(owner);
    if (!files || files->empty()) return;
    if (prompts.messageBox(owner, batchConfirmText(files->size()), "確認", MB_OKCANCEL | MB_ICONINFORMATION) !=
        IDOK) {
        return;
    }
    batchScriptGo(*files, owner);
}

void batchScriptGo(const std::vector<std::string>& files, HWND owner) {
    batchRun(runner::BatchRun{files, 1, selectedScriptPath()}, owner);
}

void batchResume(const runner::BatchRun& run, const std::string& question, HWND owner) {
    if (run.files.empty()) return;
    // AutoCAD has just come back and is likely in front; the question must not wait unseen behind it.
    runPrompts().foreground(owner);
    if (runPrompts().messageBox(owner, question, "確認", MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return;
    if (!singleDocumentMode(owner)) return;
    batchRun(run, owner);
}

std::optional<std::vector<std::string>> filesSelectDialog(HWND owner) {
    static const char kFilter[] =
        "全てのファイル （*.*）\0*.*\0"
        "AutoCAD DWG (*.DWG)\0*.dwg\0"
        "AutoCAD DXF (*.DXF)\0*.dxf\0"
        "WindowsMetaFile (*.wmf)\0*.wmf\0"
        "Bitmap (*.bmp)\0*.bmp\0";
    std::unique_ptr<char[]> buffer(new char[kFileBufferSize]());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.get();
    ofn.nMaxFile = kFileBufferSize;
    ofn.lpstrTitle = "処理するファイルを選択してください（複数選択可能）";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameA(&ofn)) {
        if (::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            runPrompts().messageBox(owner, "選択したファイルが多すぎます　一度に選択するファイルを減らしてください",
                                    "注意", MB_OK | MB_ICONWARNING);
        }
        return std::nullopt;
    }
    return runner::selectedFilesSplit(buffer.get(), kFileBufferSize);
}
