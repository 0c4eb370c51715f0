// What the end-to-end tests of the runs share: a program folder with one script of each type, what the
// stand-in received, and driving the run's file dialog and message boxes as a user does.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "StandinClient.h"
#include "app/frmMainIds.h"

namespace rundriving {

using Strings = std::vector<std::string>;

inline const std::string kGroup = "\x90\x7D\x96\xCA";  // 図面
inline const std::string kCancel = "\x03\x03";
inline const std::string kBatchScript = "open [%FILEPATH%]\r\n[%NUMBER%] [%FILENAME%][%FILEEXT%]\r\n";

// The program folder with one group and one script "test" for each processing type, and three drawings.
inline driver::ProgramFiles programFiles(int zumenStatus, const std::string& config = "",
                                         const std::string& batchScript = kBatchScript) {
    driver::ProgramFiles files;
    files.ini = "[APP-STATUS]\r\nMAIN-ZUMENSTATUS=" + std::to_string(zumenStatus) + "\r\n[APP-CONFIG]\r\n" + config;
    files.folders = {"single_script", "single_script\\" + kGroup, "batch_script", "batch_script\\" + kGroup};
    files.files = {{"single_script\\" + kGroup + "\\test.scr", "zoom e\r\nopen [%FILEPATH%]\r\n"},
                   {"batch_script\\" + kGroup + "\\test.scr", batchScript},
                   {"a.dwg", ""},
                   {"b.dwg", ""},
                   {"c.dwg", ""}};
    return files;
}

// The command strings received so far, without their NULs.
inline Strings received(AcadStandin& acad) {
    Strings strings;
    for (const TranscriptEvent& e : acad.transcript()) {
        if (e.kind == TranscriptEvent::Kind::CopyData) strings.push_back(e.bytes.substr(0, e.bytes.size() - 1));
    }
    return strings;
}

inline std::vector<TranscriptEvent> scriptsRead(AcadStandin& acad) {
    std::vector<TranscriptEvent> scripts;
    for (const TranscriptEvent& e : acad.transcript()) {
        if (e.kind == TranscriptEvent::Kind::Script) scripts.push_back(e);
    }
    return scripts;
}

inline bool receivedAtLeast(AcadStandin& acad, std::size_t count, int timeoutMs = 15000) {
    return driver::waitFor([&] { return received(acad).size() >= count; }, timeoutMs);
}

// The main window with its run button enabled (AutoCAD found, a script listed).
inline HWND mainReady(driver::Canopia& canopia) {
    HWND main = canopia.startAndWaitMain();
    if (!main) return nullptr;
    HWND go = driver::controlById(main, MainWindowIds::btnScriptGo);
    if (!driver::waitFor([&] { return driver::isEnabled(go); }, 10000)) return nullptr;
    return main;
}

// Selects files in the run's file dialog by typing their names, as a user does.
inline bool filesChoose(DWORD pid, const std::string& names) {
    HWND dialog = driver::waitTopLevel(pid, "#32770", "処理するファイルを選択してください（複数選択可能）");
    if (!dialog) return false;
    HWND name = driver::controlById(dialog, 0x480);  // edt1: the file name field
    if (!name) name = driver::controlByClass(driver::controlById(dialog, 0x47C), "Edit");
    if (!name) return false;
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
    driver::clickButton(driver::controlById(dialog, IDOK));
    return true;
}

// The program's message box with this caption once its text is there.
inline std::optional<driver::MessageBoxInfo> messageBoxWait(DWORD pid, const std::string& caption, int timeoutMs) {
    std::optional<driver::MessageBoxInfo> found;
    driver::waitFor(
        [&] {
            auto box = driver::waitMessageBox(pid, 50);
            if (!box || box->caption != caption || box->text.empty()) return false;
            found = box;
            return true;
        },
        timeoutMs);
    return found;
}

// Presses a button of the box and waits until it has gone.
inline void messageBoxAnswer(HWND box, int button) {
    driver::answerMessageBox(box, button);
    driver::waitFor([box] { return !::IsWindow(box) || !driver::isVisible(box); });
}

}  // namespace rundriving
