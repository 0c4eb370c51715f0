// The current-drawing run and the batch run against the AutoCAD stand-in: the strings it receives, in
// order, the tmp.scr it reads, and what the program shows and asks.
#include "runner/ScriptRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "StandinClient.h"
#include "acad/CommandChannel.h"
#include "library/ScriptLibrary.h"
#include "library/Settings.h"
#include "runner/ScriptText.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kGroup = "\x90\x7D\x96\xCA";  // 図面
const std::string kCancel = "\x03\x03";

struct Shown {
    std::string text;
    std::string caption;
    UINT flags;
};

void fileWrite(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool fileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The strings the stand-in received, without the NUL that ends each; every one must come with one WM_NULL.
Strings received(AcadStandin& acad) {
    Strings strings;
    int nulls = 0;
    for (const TranscriptEvent& e : acad.transcript()) {
        if (e.kind == TranscriptEvent::Kind::Null) ++nulls;
        if (e.kind != TranscriptEvent::Kind::CopyData) continue;
        EXPECT_EQ(e.dwData, 1u);
        EXPECT_EQ(e.cbData, e.bytes.size());
        EXPECT_TRUE(!e.bytes.empty() && e.bytes.back() == '\0');
        strings.push_back(e.bytes.substr(0, e.bytes.empty() ? 0 : e.bytes.size() - 1));
    }
    EXPECT_EQ(nulls, static_cast<int>(strings.size())) << "one WM_NULL per string";
    return strings;
}

std::vector<TranscriptEvent> scriptsRead(AcadStandin& acad) {
    std::vector<TranscriptEvent> scripts;
    for (const TranscriptEvent& e : acad.transcript()) {
        if (e.kind == TranscriptEvent::Kind::Script) scripts.push_back(e);
    }
    return scripts;
}

Strings sdiProbe() { return {kCancel, "SDI\r", kCancel}; }

Strings currentDrawingStrings(const std::string& tmp, const std::string& filedia, const std::string& osnapcoord) {
    return {"select\r",     kCancel,       "undo be\r",           kCancel,         "filedia\r",
            kCancel,        "filedia 0\r", kCancel,               "osnapcoord\r",  kCancel,
            "osnapcoord 1\r", "script " + tmp + "\r", kCancel,    "filedia " + filedia + "\r",
            kCancel,        "osnapcoord " + osnapcoord + "\r",    "undo e\r",      kCancel};
}

Strings batchStrings(const std::string& tmp, const std::string& filedia, const std::string& osnapcoord) {
    return {kCancel,        kCancel,         "filedia\r",           kCancel,       "filedia 0\r",
            kCancel,        "osnapcoord\r",  kCancel,               "osnapcoord 1\r",
            "script " + tmp + "\r",          kCancel,               "filedia " + filedia + "\r",
            kCancel,        "osnapcoord " + osnapcoord + "\r",      kCancel};
}

Strings operator+(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ScriptRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = runPrompts();
        RunPrompts& p = runPrompts();
        p.beep = [this] { ++beeps_; };
        p.sdiNotice = [this](HWND owner) {
            EXPECT_EQ(owner, owner_);
            ++notices_;
        };
        p.filesSelect = [this](HWND) -> std::optional<Strings> {
            ++dialogs_;
            return selection_;
        };
        p.messageBox = [this](HWND owner, const std::string& text, const char* caption, UINT flags) {
            EXPECT_EQ(owner, owner_);
            shown_.push_back({text, caption, flags});
            return answer_;
        };
        p.foreground = [this](HWND window) { foreground_.push_back(window); };
        p.handedOver = [this](const RunHandOver& h) { handedOver_.push_back(h); };

        owner_ = ::CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ::DeleteFileA(iniFilePath().c_str());
        ::DeleteFileA(temporaryScriptPath().c_str());
        acadSendTimeoutSet(10000);
        scriptSelectionSourceSet([] { return ScriptSelection{1, kGroup, 1, "test"}; });
        scriptPut(1, "zoom e\r\nopen [%FILEPATH%]\r\n");
        scriptPut(2, "open [%FILEPATH%]\r\n");
        zumenStatus = 1;
    }

    void TearDown() override {
        runPrompts() = saved_;
        acadCopyDataSenderSet(nullptr);
        ::DestroyWindow(owner_);
        ::DeleteFileA(iniFilePath().c_str());
        acadSendTimeoutSet(10000);
    }

    // Puts `bytes` as the script "test" of the group for a processing type.
    void scriptPut(int type, const std::string& bytes) {
        const std::string folder = saveFolderDefault(type);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        ::CreateDirectoryA((folder + "\\" + kGroup).c_str(), nullptr);
        fileWrite(folder + "\\" + kGroup + "\\test.scr", bytes);
    }

    RunPrompts saved_;
    HWND owner_ = nullptr;
    int beeps_ = 0;
    int notices_ = 0;
    int dialogs_ = 0;
    std::optional<Strings> selection_;
    int answer_ = IDOK;
    std::vector<Shown> shown_;
    std::vector<HWND> foreground_;
    std::vector<RunHandOver> handedOver_;
};

// A send that goes through up to the (failFrom - 1)-th call and fails from the failFrom-th on with `failError`.
int sendsSoFar = 0;
int failFrom = 0;
DWORD failError = 0;
LRESULT WINAPI failingSend(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT f, UINT t, PDWORD_PTR r) {
    if (++sendsSoFar >= failFrom) {
        ::SetLastError(failError);
        return 0;
    }
    return ::SendMessageTimeoutA(w, m, wp, lp, f, t, r);
}

// --- current drawing ---------------------------------------------------------------------------------

TEST_F(ScriptRunTest, CurrentDrawingSends18StringsAndHandsTheScriptOverUnchanged) {
    StandinOptions options;
    options.filedia = 1;
    options.osnapcoord = 2;
    AcadStandin acad(options);
    // Tags stay, Shift-JIS stays, the file is copied byte for byte (a lone CR and a missing last ending too).
    const std::string script = "open [%FILEPATH%]\r\n-layer s \x8C\x9A\x95\xA8\r\n\x95\x5C\rzoom e";
    scriptPut(1, script);
    fileWrite(temporaryScriptPath(), "left over from an earlier run");

    scriptGo(owner_);

    const std::string tmp = temporaryScriptPath();
    EXPECT_EQ(received(acad), currentDrawingStrings(tmp, "1", "2"));
    auto scripts = scriptsRead(acad);
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].path, tmp);
    EXPECT_EQ(scripts[0].bytes, script);
    EXPECT_FALSE(fileExists(tmp));
    EXPECT_EQ(foreground_, std::vector<HWND>{acad.window()});
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(acad.variable("FILEDIA"), "1");
    EXPECT_EQ(acad.variable("OSNAPCOORD"), "2");
    ASSERT_EQ(handedOver_.size(), 1u);  // what the main window hears: a run without files to follow
    EXPECT_EQ(handedOver_[0].window, acad.window());
    EXPECT_TRUE(handedOver_[0].batch.files.empty());
}

TEST_F(ScriptRunTest, CurrentDrawingBringsAutoCadForwardUnlessTheOptionIsExactlyZero) {
    AcadStandin acad;
    const struct {
        const char* value;  // nullptr: key absent
        bool forward;
    } cases[] = {{nullptr, true}, {"", true}, {"1", true}, {"00", true}, {"off", true}, {"0", false}};
    for (const auto& c : cases) {
        ::DeleteFileA(iniFilePath().c_str());
        if (c.value) profileTextWrite(kConfigSection, kConfigAcadActiveO, c.value);
        foreground_.clear();
        currentDrawingRun(owner_);
        EXPECT_EQ(foreground_.size(), c.forward ? 1u : 0u) << (c.value ? c.value : "(absent)");
    }
}

TEST_F(ScriptRunTest, CurrentDrawingWithoutAScriptSendsNothing) {
    AcadStandin acad;
    scriptSelectionSourceSet([] { return ScriptSelection{1, kGroup, 0, ""}; });  // "/ERROR/"
    scriptGo(owner_);
    scriptSelectionSourceSet([] { return ScriptSelection{1, kGroup, 1, "missing"}; });
    scriptGo(owner_);
    EXPECT_TRUE(received(acad).empty());
    EXPECT_FALSE(fileExists(temporaryScriptPath()));
    EXPECT_TRUE(foreground_.empty());
}

TEST_F(ScriptRunTest, CurrentDrawingStoppedByAHungAutoCadSaysSoOnce) {
    StandinOptions options;
    options.hangMilliseconds = 4000;
    options.hangFrom = 5;  // the FILEDIA probe's query
    AcadStandin acad(options);
    acadSendTimeoutSet(1000);

    auto start = std::chrono::steady_clock::now();
    scriptGo(owner_);
    auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, std::chrono::seconds(3));
    EXPECT_FALSE(fileExists(temporaryScriptPath()));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, kCurrentNotTakenText);
    EXPECT_EQ(shown_[0].caption, "注意");
    EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(foreground_.back(), owner_);  // the message is not left behind AutoCAD
    EXPECT_TRUE(handedOver_.empty());
    Strings expected = currentDrawingStrings(temporaryScriptPath(), "1", "0");
    expected.resize(5);
    EXPECT_EQ(received(acad), expected);
}

TEST_F(ScriptRunTest, ASendThatFailsStopsTheRunAndSaysWhy) {
    const struct {
        const char* what;
        int type;       // zumenStatus
        int failFrom;   // the first send that fails, counted from the first of the run
        DWORD error;
        std::size_t received;
        const char* warning;  // nullptr: nothing is said
    } cases[] = {
        {"current drawing refused", 1, 1, ERROR_ACCESS_DENIED, 0, kAcadElevatedText},
        {"current drawing refused later", 1, 8, ERROR_ACCESS_DENIED, 7, kAcadElevatedText},
        {"current drawing not answered", 1, 3, ERROR_TIMEOUT, 2, kCurrentNotTakenText},
        {"current drawing, AutoCAD gone", 1, 1, ERROR_INVALID_WINDOW_HANDLE, 0, nullptr},
        {"batch refused at the SDI probe", 2, 1, ERROR_ACCESS_DENIED, 0, kAcadElevatedText},
        {"batch refused after the probe", 2, 8, ERROR_ACCESS_DENIED, 7, kAcadElevatedText},
        {"batch not answered", 2, 8, ERROR_TIMEOUT, 7, kBatchNotTakenText},
    };
    selection_ = Strings{"C:\\a.dwg"};
    for (const auto& c : cases) {
        AcadStandin acad;
        zumenStatus = c.type;
        sendsSoFar = 0;
        failFrom = c.failFrom;
        failError = c.error;
        acadCopyDataSenderSet(failingSend);
        shown_.clear();
        beeps_ = notices_ = dialogs_ = 0;
        handedOver_.clear();

        scriptGo(owner_);

        acadCopyDataSenderSet(nullptr);
        // (The WM_NULL after a failed send is posted all the same, so only the records are counted.)
        std::size_t records = 0;
        for (const TranscriptEvent& e : acad.transcript()) records += e.kind == TranscriptEvent::Kind::CopyData;
        EXPECT_EQ(records, c.received) << c.what;
        std::vector<std::string> warnings;
        for (const Shown& box : shown_) {
            if (std::string(box.caption) == "注意") warnings.push_back(box.text);
        }
        EXPECT_EQ(warnings, c.warning ? Strings{c.warning} : Strings{}) << c.what;
        EXPECT_EQ(beeps_ + notices_, 0) << c.what;  // a refused probe is no SDI mode of 0
        EXPECT_EQ(dialogs_, c.type == 2 && c.failFrom > 3 ? 1 : 0) << c.what;
        EXPECT_TRUE(handedOver_.empty()) << c.what;
        EXPECT_FALSE(fileExists(temporaryScriptPath())) << c.what;
    }
}

// --- batch ---------------------------------------------------------------------------------------------

TEST_F(ScriptRunTest, BatchSends15StringsWithTheCombinedScriptOfThreeFiles) {
    StandinOptions options;
    options.filedia = 0;
    options.osnapcoord = 1;
    AcadStandin acad(options);
    zumenStatus = 2;
    scriptPut(2, "open [%FILEPATH%]\r\n"
                 "saveas 2000 [%folder%]out\\[%FileName%]_[%NUMBER%][%FILEEXT%]\n"
                 "close");
    selection_ = Strings{"C:\\work\\a.dwg", "C:\\\x95\x5C\\site.old.DWG", "C:\\readme"};  // 表

    scriptGo(owner_);

    const std::string tmp = temporaryScriptPath();
    EXPECT_EQ(received(acad), sdiProbe() + batchStrings(tmp, "0", "1"));
    auto scripts = scriptsRead(acad);
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].path, tmp);
    EXPECT_EQ(scripts[0].bytes,
              "open C:\\work\\a.dwg\r\nsaveas 2000 C:\\work\\out\\a_1.dwg\r\nclose\r\n"
              "open C:\\\x95\x5C\\site.old.DWG\r\nsaveas 2000 C:\\\x95\x5C\\out\\site.old_2.DWG\r\nclose\r\n"
              "open C:\\readme\r\nsaveas 2000 C:\\\\out\\readme_3\r\nclose\r\n");
    EXPECT_FALSE(fileExists(tmp));
    EXPECT_EQ(foreground_, (std::vector<HWND>{acad.window(), owner_}));
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, "3 個のファイルを処理します　よろしいですか？");
    EXPECT_EQ(shown_[0].caption, "確認");
    EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(shown_[1].text, "3ファイルの一括処理が終了しました");
    EXPECT_EQ(shown_[1].caption, "処理終了");
    EXPECT_EQ(shown_[1].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(beeps_ + notices_, 0);
    EXPECT_EQ(acad.variable("FILEDIA"), "0");
    EXPECT_EQ(acad.variable("OSNAPCOORD"), "1");
    // The main window hears of the run to follow it: the files, their numbering, the script, AutoCAD's title.
    ASSERT_EQ(handedOver_.size(), 1u);
    EXPECT_EQ(handedOver_[0].window, acad.window());
    EXPECT_EQ(handedOver_[0].title, "AutoCAD 2004 - [Drawing1.dwg]");
    EXPECT_EQ(handedOver_[0].batch.files, *selection_);
    EXPECT_EQ(handedOver_[0].batch.firstNumber, 1);
    EXPECT_EQ(handedOver_[0].batch.script, selectedScriptPath());
}

TEST_F(ScriptRunTest, BatchOfOneFileCountsOne) {
    AcadStandin acad;
    zumenStatus = 2;
    selection_ = Strings{"C:\\work\\a.dwg"};
    scriptGo(owner_);
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, "1 個のファイルを処理します　よろしいですか？");
    EXPECT_EQ(shown_[1].text, "1ファイルの一括処理が終了しました");
    auto scripts = scriptsRead(acad);
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].bytes, "open C:\\work\\a.dwg\r\n");
}

TEST_F(ScriptRunTest, BatchOutsideSingleDocumentModeBeepsAndShowsTheNoticeOnly) {
    zumenStatus = 2;
    selection_ = Strings{"C:\\work\\a.dwg"};
    for (int sdi : {0, 2, 3}) {
        StandinOptions options;
        options.sdi = sdi;
        AcadStandin acad(options);
        beeps_ = notices_ = dialogs_ = 0;
        scriptGo(owner_);
        EXPECT_EQ(beeps_, 1) << "SDI " << sdi;
        EXPECT_EQ(notices_, 1) << "SDI " << sdi;
        EXPECT_EQ(dialogs_, 0) << "SDI " << sdi;
        EXPECT_EQ(received(acad), sdiProbe()) << "SDI " << sdi;
        EXPECT_TRUE(shown_.empty());
    }
}

TEST_F(ScriptRunTest, BatchCancelledInTheDialogOrTheConfirmationSendsOnlyTheProbe) {
    zumenStatus = 2;
    {
        AcadStandin acad;
        selection_ = std::nullopt;
        scriptGo(owner_);
        EXPECT_EQ(dialogs_, 1);
        EXPECT_TRUE(shown_.empty());
        EXPECT_EQ(received(acad), sdiProbe());
    }
    {
        AcadStandin acad;
        selection_ = Strings{"C:\\a.dwg", "C:\\b.dwg"};
        answer_ = IDCANCEL;
        scriptGo(owner_);
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].text, "2 個のファイルを処理します　よろしいですか？");
        EXPECT_EQ(received(acad), sdiProbe());
        EXPECT_TRUE(foreground_.empty());
        EXPECT_FALSE(fileExists(temporaryScriptPath()));
    }
}

TEST_F(ScriptRunTest, BatchOptionsOff) {
    AcadStandin acad;
    zumenStatus = 2;
    selection_ = Strings{"C:\\a.dwg"};
    profileTextWrite(kConfigSection, kConfigAcadActiveF, "0");
    profileTextWrite(kConfigSection, kConfigAcadEndMessage, "0");
    // The current-drawing option does not touch a batch.
    profileTextWrite(kConfigSection, kConfigAcadActiveO, "0");
    scriptGo(owner_);
    EXPECT_EQ(foreground_, std::vector<HWND>{owner_});  // the program still comes back to the front
    ASSERT_EQ(shown_.size(), 1u);                        // the confirmation only
    EXPECT_EQ(received(acad), sdiProbe() + batchStrings(temporaryScriptPath(), "1", "0"));
}

TEST_F(ScriptRunTest, BatchStoppedByAHungAutoCadSaysSoInsteadOfTheEndMessage) {
    StandinOptions options;
    options.hangMilliseconds = 4000;
    options.hangFrom = 8;  // "filedia 0" of the batch
    AcadStandin acad(options);
    acadSendTimeoutSet(1000);
    zumenStatus = 2;
    selection_ = Strings{"C:\\a.dwg"};

    auto start = std::chrono::steady_clock::now();
    scriptGo(owner_);
    auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, std::chrono::seconds(3));
    EXPECT_FALSE(fileExists(temporaryScriptPath()));
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[1].text, kBatchNotTakenText);
    EXPECT_EQ(shown_[1].caption, "注意");
    EXPECT_EQ(shown_[1].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(foreground_.back(), owner_);
    Strings expected = sdiProbe() + batchStrings(temporaryScriptPath(), "1", "0");
    expected.resize(8);
    EXPECT_EQ(received(acad), expected);
    EXPECT_TRUE(scriptsRead(acad).empty());
}

TEST_F(ScriptRunTest, BatchWithoutItsScriptShowsTheFileErrorAndSendsNothingMore) {
    AcadStandin acad;
    zumenStatus = 2;
    selection_ = Strings{"C:\\a.dwg"};
    scriptSelectionSourceSet([] { return ScriptSelection{1, kGroup, 1, "missing"}; });
    try {
        scriptGo(owner_);
        FAIL() << "no error";
    } catch (const runner::IoError& e) {
        EXPECT_EQ(e.code(), 2);
        EXPECT_STREQ(e.what(), "ファイルが見つかりません");
    }
    EXPECT_EQ(received(acad), sdiProbe());
    ASSERT_EQ(shown_.size(), 1u);  // the confirmation; no end message
}

TEST_F(ScriptRunTest, ResumedBatchRunsItsOwnScriptNumberedOnOnlyAfterOk) {
    AcadStandin acad;
    zumenStatus = 2;
    scriptPut(2, "open [%FILEPATH%]\r\n[%NUMBER%]\r\n");
    const runner::BatchRun rest{{"C:\\work\\b.dwg", "C:\\work\\c.dwg"}, 2, selectedScriptPath()};
    // The selection has moved on since: the resumed run does not read it.
    scriptSelectionSourceSet([] { return ScriptSelection{1, kGroup, 1, "missing"}; });

    answer_ = IDCANCEL;
    batchResume(rest, "resume?", owner_);
    EXPECT_TRUE(received(acad).empty());  // nothing without the answer, not even the SDI probe
    ASSERT_EQ(shown_.size(), 1u);

    answer_ = IDOK;
    shown_.clear();
    batchResume(rest, "resume?", owner_);
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, "resume?");
    EXPECT_EQ(shown_[0].caption, "確認");
    EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(shown_[1].text, "2ファイルの一括処理が終了しました");
    EXPECT_EQ(received(acad), sdiProbe() + batchStrings(temporaryScriptPath(), "1", "0"));
    auto scripts = scriptsRead(acad);
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].bytes, "open C:\\work\\b.dwg\r\n2\r\nopen C:\\work\\c.dwg\r\n3\r\n");
    ASSERT_EQ(handedOver_.size(), 1u);
    EXPECT_EQ(handedOver_[0].batch.firstNumber, 2);
    EXPECT_EQ(handedOver_[0].batch.total(), 3);
}

TEST_F(ScriptRunTest, FileDialogTextsAndTmpPath) {
    EXPECT_EQ(batchConfirmText(12), "12 個のファイルを処理します　よろしいですか？");
    EXPECT_EQ(batchEndText(12), "12ファイルの一括処理が終了しました");
    EXPECT_EQ(temporaryScriptPath(), programFolder() + "\\tmp.scr");
}

}  // namespace
