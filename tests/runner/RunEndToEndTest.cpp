// Both kinds of run and the small windows through the real canopia.exe, driven as a user would, against the
// AutoCAD stand-in.
#include <gtest/gtest.h>

#include <chrono>

#include "Driver.h"
#include "StandinClient.h"
#include "app/frmMainIds.h"
#include "dialogs/frmAcadTest.h"
#include "dialogs/frmSDIExp.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kGroup = "\x90\x7D\x96\xCA";  // 図面
const std::string kCancel = "\x03\x03";

// The program folder with one group and one script "test" for each processing type.
driver::ProgramFiles programFiles(int zumenStatus, const std::string& config = "") {
    driver::ProgramFiles files;
    files.ini = "[APP-STATUS]\r\nMAIN-ZUMENSTATUS=" + std::to_string(zumenStatus) + "\r\n[APP-CONFIG]\r\n" + config;
    files.folders = {"single_script", "single_script\\" + kGroup, "batch_script", "batch_script\\" + kGroup};
    files.files = {{"single_script\\" + kGroup + "\\test.scr", "zoom e\r\nopen [%FILEPATH%]\r\n"},
                   {"batch_script\\" + kGroup + "\\test.scr", "open [%FILEPATH%]\r\n[%NUMBER%] [%FILENAME%][%FILEEXT%]\r\n"},
                   {"a.dwg", ""}, {"b.dwg", ""}, {"c.dwg", ""}};
    return files;
}

Strings received(AcadStandin& acad) {
    Strings strings;
    for (const TranscriptEvent& e : acad.transcript()) {
        if (e.kind == TranscriptEvent::Kind::CopyData) strings.push_back(e.bytes.substr(0, e.bytes.size() - 1));
    }
    return strings;
}

std::vector<TranscriptEvent> scriptsRead(AcadStandin& acad) {
    std::vector<TranscriptEvent> scripts;
    for (const TranscriptEvent& e : acad.transcript()) {
        if (e.kind == TranscriptEvent::Kind::Script) scripts.push_back(e);
    }
    return scripts;
}

bool receivedAtLeast(AcadStandin& acad, std::size_t count, int timeoutMs = 15000) {
    return driver::waitFor([&] { return received(acad).size() >= count; }, timeoutMs);
}

// The main window with its run button enabled (AutoCAD found, a script listed).
HWND mainReady(driver::Canopia& canopia) {
    HWND main = canopia.startAndWaitMain();
    if (!main) return nullptr;
    HWND go = driver::controlById(main, MainWindowIds::btnScriptGo);
    if (!driver::waitFor([&] { return driver::isEnabled(go); }, 10000)) return nullptr;
    return main;
}

// Selects files in the run's file dialog by typing their names, as a user does.
bool filesChoose(DWORD pid, const std::string& names) {
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
std::optional<driver::MessageBoxInfo> messageBoxWait(DWORD pid, const std::string& caption, int timeoutMs) {
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
void messageBoxAnswer(HWND box, int button) {
    driver::answerMessageBox(box, button);
    driver::waitFor([box] { return !::IsWindow(box) || !driver::isVisible(box); });
}

}  // namespace

TEST(RunEndToEnd, CurrentDrawingRunFromTheRunButton) {
    StandinOptions options;
    options.osnapcoord = 2;
    AcadStandin acad(options);
    driver::Canopia canopia(programFiles(1));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);

    driver::clickButton(driver::controlById(main, MainWindowIds::btnScriptGo));
    ASSERT_TRUE(receivedAtLeast(acad, 18));
    const std::string tmp = canopia.path("tmp.scr");
    EXPECT_EQ(received(acad),
              (Strings{"select\r", kCancel, "undo be\r", kCancel, "filedia\r", kCancel, "filedia 0\r", kCancel,
                       "osnapcoord\r", kCancel, "osnapcoord 1\r", "script " + tmp + "\r", kCancel, "filedia 1\r",
                       kCancel, "osnapcoord 2\r", "undo e\r", kCancel}));
    auto scripts = scriptsRead(acad);
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].bytes, "zoom e\r\nopen [%FILEPATH%]\r\n");
    EXPECT_TRUE(driver::waitFor([&] { return !canopia.readFile("tmp.scr"); }));
    EXPECT_FALSE(driver::waitMessageBox(canopia.processId(), 500));
}

TEST(RunEndToEnd, BatchRunOfThreeFilesThroughTheDialogAndBothMessages) {
    AcadStandin acad;
    driver::Canopia canopia(programFiles(2));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);

    driver::clickButton(driver::controlById(main, MainWindowIds::btnScriptGo));
    ASSERT_TRUE(filesChoose(canopia.processId(), "\"a.dwg\" \"b.dwg\" \"c.dwg\""));
    auto confirm = messageBoxWait(canopia.processId(), "確認", 10000);
    ASSERT_TRUE(confirm);
    EXPECT_EQ(confirm->text, "3 個のファイルを処理します　よろしいですか？");
    messageBoxAnswer(confirm->hwnd, IDOK);

    auto end = messageBoxWait(canopia.processId(), "処理終了", 15000);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->text, "3ファイルの一括処理が終了しました");
    messageBoxAnswer(end->hwnd, IDOK);

    const std::string tmp = canopia.path("tmp.scr");
    EXPECT_EQ(received(acad), (Strings{kCancel, "SDI\r", kCancel, kCancel, kCancel, "filedia\r", kCancel, "filedia 0\r",
                                       kCancel, "osnapcoord\r", kCancel, "osnapcoord 1\r", "script " + tmp + "\r",
                                       kCancel, "filedia 1\r", kCancel, "osnapcoord 0\r", kCancel}));
    auto scripts = scriptsRead(acad);
    ASSERT_EQ(scripts.size(), 1u);
    std::string expected;
    int n = 0;
    for (const char* name : {"a", "b", "c"}) {
        expected += "open " + canopia.path(std::string(name) + ".dwg") + "\r\n" + std::to_string(++n) + " " + name +
                    ".dwg\r\n";
    }
    EXPECT_EQ(scripts[0].bytes, expected);
    EXPECT_FALSE(canopia.readFile("tmp.scr"));
}

TEST(RunEndToEnd, BatchOutsideSingleDocumentModeShowsTheNotice) {
    StandinOptions options;
    options.sdi = 0;
    AcadStandin acad(options);
    driver::Canopia canopia(programFiles(2));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);

    driver::clickButton(driver::controlById(main, MainWindowIds::btnScriptGo));
    HWND notice = driver::waitTopLevel(canopia.processId(), nullptr, "SDIモードへの変更について");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(received(acad), (Strings{kCancel, "SDI\r", kCancel}));
    driver::clickButton(driver::controlById(notice, TdspSDIExp::kBtnClose));
    EXPECT_TRUE(driver::waitFor([&] { return !driver::isVisible(notice); }));
    EXPECT_EQ(received(acad).size(), 3u);
}

TEST(RunEndToEnd, HungAutoCadEndsTheBatchWithAWarningAndTheProgramAnswersAgain) {
    StandinOptions options;
    options.hangMilliseconds = 30000;
    options.hangFrom = 8;  // "filedia 0" of the batch
    AcadStandin acad(options);
    driver::Canopia canopia(programFiles(2, "CONFIG-ACADENDMESSAGE=0\r\n"));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);

    driver::clickButton(driver::controlById(main, MainWindowIds::btnScriptGo));
    ASSERT_TRUE(filesChoose(canopia.processId(), "\"a.dwg\""));
    auto confirm = messageBoxWait(canopia.processId(), "確認", 10000);
    ASSERT_TRUE(confirm);
    auto start = std::chrono::steady_clock::now();
    messageBoxAnswer(confirm->hwnd, IDOK);

    // The send gives up after its bounded wait; the warning comes instead of the end message.
    auto warning = messageBoxWait(canopia.processId(), "注意", 20000);
    ASSERT_TRUE(warning);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_EQ(warning->text, "AutoCADがコマンドを受け付けなかったため、一括処理を中止しました");
    messageBoxAnswer(warning->hwnd, IDOK);
    EXPECT_TRUE(driver::waitFor([&] { return !canopia.readFile("tmp.scr"); }));
    // The program handles input again.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    acad.stop();
}

TEST(RunEndToEnd, CommandTestWindowFromTheMenu) {
    AcadStandin acad;
    driver::Canopia canopia(programFiles(1));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);

    driver::menuCommand(main, MainWindowIds::mAcadTest);
    HWND test = driver::waitTopLevel(canopia.processId(), nullptr, "AutoCADコマンド送信テスト");
    ASSERT_NE(test, nullptr);
    HWND edit = driver::controlById(test, TdspAcadTest::kEdtSendCommand);
    EXPECT_EQ(driver::windowText(edit), "zoom e");
    driver::clickButton(driver::controlById(test, TdspAcadTest::kBtnSendCommand));
    ASSERT_TRUE(receivedAtLeast(acad, 1));
    driver::clickButton(driver::controlById(test, TdspAcadTest::kBtnSendCancel));
    ASSERT_TRUE(receivedAtLeast(acad, 2));
    EXPECT_EQ(received(acad), (Strings{"zoom e\r", kCancel}));
    EXPECT_EQ(driver::windowText(edit), "");
    driver::clickButton(driver::controlById(test, TdspAcadTest::kBtnClose));
    EXPECT_TRUE(driver::waitFor([&] { return !driver::isVisible(test); }));
}
