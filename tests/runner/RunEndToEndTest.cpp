// Both kinds of run and the small windows through the real canopia.exe, driven as a user would, against the
// AutoCAD stand-in.
#include <gtest/gtest.h>

#include <chrono>

#include "RunDriving.h"
#include "acad/CommandChannel.h"
#include "dialogs/frmAcadTest.h"
#include "dialogs/frmSDIExp.h"

using namespace rundriving;

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

TEST(RunEndToEnd, CurrentDrawingRunAgainstAHungAutoCadSaysSoOnceAndTheProgramAnswersAgain) {
    StandinOptions options;
    options.hangMilliseconds = 30000;  // from the first string on
    AcadStandin acad(options);
    driver::Canopia canopia(programFiles(1));
    HWND main = mainReady(canopia);
    ASSERT_NE(main, nullptr);

    driver::clickButton(driver::controlById(main, MainWindowIds::btnScriptGo));
    auto warning = messageBoxWait(canopia.processId(), "注意", 25000);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->text, "AutoCADがコマンドを受け付けなかったため、処理を中止しました");
    EXPECT_EQ(warning->owner, main);
    messageBoxAnswer(warning->hwnd, IDOK);
    EXPECT_FALSE(driver::waitMessageBox(canopia.processId(), 1500));  // once, not for every string
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    EXPECT_TRUE(driver::waitFor([&] { return !canopia.readFile("tmp.scr"); }));
    acad.stop();
}

// Windows refuses the messages of a program to an AutoCAD that runs elevated; Wine does not, so the program
// plays the refusal through its emulation, the stand-in bearing the elevated mark.
TEST(RunEndToEnd, AnElevatedAutoCadStopsBothKindsOfRunWithTheReason) {
    ::SetEnvironmentVariableA(kElevationEmulationVariable, "1");
    for (int type : {1, 2}) {
        StandinOptions options;
        options.elevated = true;
        AcadStandin acad(options);
        driver::Canopia canopia(programFiles(type));
        HWND main = mainReady(canopia);
        ASSERT_NE(main, nullptr) << type;

        driver::clickButton(driver::controlById(main, MainWindowIds::btnScriptGo));
        auto warning = messageBoxWait(canopia.processId(), "注意", 15000);
        ASSERT_TRUE(warning) << type;
        EXPECT_EQ(warning->text, "AutoCADが管理者として実行されているため、コマンドを送れません。"
                                 "カノピアもAutoCADと同じ権限で起動してください。")
            << type;
        EXPECT_EQ(warning->owner, main) << type;
        messageBoxAnswer(warning->hwnd, IDOK);
        EXPECT_TRUE(received(acad).empty()) << type;  // the refused first string stopped the run
        EXPECT_FALSE(driver::waitMessageBox(canopia.processId(), 1000)) << type;  // no file dialog
        EXPECT_EQ(driver::findTopLevel(canopia.processId(), nullptr, "SDIモードへの変更について"), nullptr) << type;
    }
    ::SetEnvironmentVariableA(kElevationEmulationVariable, nullptr);
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
