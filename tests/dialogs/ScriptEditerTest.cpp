// The script editor window end to end: the real canopia.exe, opened from script maintenance, typed into, saved
// and closed as a user does, with the script files checked on disk and the colours read off the screen.
#include "MaintenanceDriving.h"

#include <thread>

#include "resources/editer/EditerResources.h"

namespace {

using namespace maintenance_test;

constexpr const char* kCurrentMode = "「現在の図面」：スクリプト編集モード";
constexpr const char* kSeveralMode = "「複数ファイル」：スクリプト編集モード";
constexpr const char* kUnsaved = "データが保存されていません　保存しますか？";

// A comment, a command with a tag and 40 numbered lines, so that the text scrolls.
std::string scriptBytes() {
    std::string s = "; comment\r\n_.OPEN \"[%FOLDER%]\"\r\n";
    for (int i = 0; i < 40; ++i) s += "_.LINE " + std::to_string(i) + ",0\r\n";
    return s;
}

// One group "g" with the script "s" in the library of the processing type `zumen` (1 or 2).
driver::ProgramFiles library(int zumen, const std::string& script = scriptBytes()) {
    const std::string root = zumen == 1 ? "single_script" : "batch_script";
    driver::ProgramFiles files;
    files.folders = {"single_script", "batch_script", root + "\\g"};
    files.files = {{root + "\\g\\s.scr", script}};
    files.ini = "[APP-STATUS]\r\nMAIN-ZUMENSTATUS=" + std::to_string(zumen) + "\r\n";
    return files;
}

struct Editer {
    HWND window = nullptr, edit = nullptr, save = nullptr, quit = nullptr;
    bool open() const { return window && driver::isVisible(window); }
};

// The editor over script maintenance, opened with "ｴﾃﾞｨﾀで編集" for the first script.
class Session {
public:
    explicit Session(int zumen, const std::string& script = scriptBytes()) : p_(library(zumen, script)), zumen_(zumen) {
        config_ = p_.openScriptConfig();
    }
    Program& program() { return p_; }
    std::string scriptPath() const {
        return (zumen_ == 1 ? "single_script" : "batch_script") + std::string("\\g\\s.scr");
    }
    std::optional<std::string> file() { return p_.canopia().readFile(scriptPath()); }
    // Opens the editor; a window that did not appear gives handles of null.
    Editer open() {
        driver::clickButton(driver::controlById(config_, IDC_SC_SCRIPTOPEN));
        Editer e;
        e.window = driver::waitTopLevel(p_.pid(), kFormClass, "「 s 」");
        if (!e.window) return e;
        e.edit = driver::controlById(e.window, IDC_SE_SCRIPT);
        e.save = driver::controlById(e.window, IDC_SE_SAVE);
        e.quit = driver::controlById(e.window, IDC_SE_QUIT);
        return e;
    }
    HWND config() const { return config_; }

private:
    Program p_;
    int zumen_;
    HWND config_ = nullptr;
};

std::string text(HWND edit) { return driver::windowText(edit); }
std::pair<int, int> selection(HWND edit) {
    const LRESULT r = ::SendMessageA(edit, EM_GETSEL, 0, 0);
    return {LOWORD(r), HIWORD(r)};
}
int topLine(HWND edit) { return static_cast<int>(::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0)); }

// Typed single-byte characters, as the keyboard's WM_CHAR messages bring them.
void type(HWND edit, const std::string& bytes) {
    for (unsigned char b : bytes) ::PostMessageA(edit, WM_CHAR, b, 1);
}
bool textBecomes(HWND edit, const std::string& expected) {
    return driver::waitFor([&] { return text(edit) == expected; });
}
bool enabledBecomes(HWND control, bool on) {
    return driver::waitFor([&] { return driver::isEnabled(control) == on; });
}
// Whether a command of the window did something: it is sent and the window has handled it once this returns.
void command(HWND window, int id) { ::SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

// How often each colour appears on the screen inside the window's rectangle.
std::vector<int> colourCounts(HWND window, const std::vector<COLORREF>& colours) {
    const RECT r = driver::windowRect(window);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    std::vector<int> counts(colours.size(), 0);
    const auto* px = static_cast<const DWORD*>(bits);
    for (int i = 0; bits && i < w * h; ++i) {
        const COLORREF c = RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
        for (std::size_t k = 0; k < colours.size(); ++k) counts[k] += c == colours[k];
    }
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return counts;
}

TEST(ScriptEditer, OpensAtTheTopTypingEnablesSaveAndSavingWritesTheExactBytes) {
    Session s(1);
    ASSERT_TRUE(s.config());
    Editer e = s.open();
    ASSERT_TRUE(e.open());
    EXPECT_EQ(text(e.edit), scriptBytes());
    EXPECT_EQ(selection(e.edit), std::make_pair(0, 0));
    EXPECT_EQ(topLine(e.edit), 0);
    EXPECT_FALSE(driver::isEnabled(e.save));
    EXPECT_EQ(driver::statusParts(e.window), std::vector<std::string>{kCurrentMode});

    // A wheel notch scrolls two lines either way, whatever distance it reports; the caret stays.
    ::SendMessageA(e.window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(topLine(e.edit), 2);
    ::SendMessageA(e.window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    EXPECT_EQ(topLine(e.edit), 4);
    ::SendMessageA(e.window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(topLine(e.edit), 2);
    EXPECT_EQ(selection(e.edit), std::make_pair(0, 0));

    // One character enables save; saving writes exactly the text and disables save.
    type(e.edit, "x");
    ASSERT_TRUE(textBecomes(e.edit, "x" + scriptBytes()));
    ASSERT_TRUE(enabledBecomes(e.save, true));
    driver::clickButton(e.save);
    EXPECT_TRUE(enabledBecomes(e.save, false));
    EXPECT_EQ(s.file(), "x" + scriptBytes());

    // Closing without changes closes at once; the next show starts from the top again.
    driver::clickButton(e.quit);
    EXPECT_TRUE(s.program().waitClosed(e.window));
    EXPECT_TRUE(s.program().noMessageBox());
    Editer again = s.open();
    ASSERT_TRUE(again.open());
    EXPECT_EQ(topLine(again.edit), 0);
    EXPECT_EQ(selection(again.edit), std::make_pair(0, 0));
    EXPECT_FALSE(driver::isEnabled(again.save));
}

TEST(ScriptEditer, ClosingWithUnsavedChangesAsksAndCancelNoAndYesDoWhatTheySay) {
    Session s(1);
    ASSERT_TRUE(s.config());
    struct Case {
        int answer;
        bool staysOpen;
        bool written;
    };
    const Case cases[] = {{IDCANCEL, true, false}, {IDNO, false, false}, {IDYES, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        Editer e = s.open();
        ASSERT_TRUE(e.open());
        const std::string before = text(e.edit);
        type(e.edit, "Z");
        ASSERT_TRUE(textBecomes(e.edit, "Z" + before));
        driver::closeWindow(e.window);  // the title bar's button
        const driver::MessageBoxInfo box = s.program().answerBox("確認", c.answer);
        EXPECT_EQ(box.text, kUnsaved);
        EXPECT_EQ(box.owner, e.window);
        if (c.staysOpen) {
            EXPECT_TRUE(e.open());
            EXPECT_EQ(text(e.edit), "Z" + before);
            EXPECT_EQ(s.file(), before);
            // Saved, it then closes without a question.
            command(e.window, IDM_SE_SAVE);
        } else {
            EXPECT_TRUE(s.program().waitClosed(e.window));
            EXPECT_EQ(s.file(), c.written ? "Z" + before : before);
            continue;
        }
        driver::menuCommand(e.window, IDM_SE_QUIT);
        EXPECT_TRUE(s.program().waitClosed(e.window));
    }
}

TEST(ScriptEditer, TagsAreOfferedAndColouredInTheSeveralFilesModeOnly) {
    {
        Session s(1, "[%FOLDER%]\r\n");
        Editer e = s.open();
        ASSERT_TRUE(e.open());
        command(e.window, IDM_SE_TAGFOLDER);  // the tag menu is disabled: nothing happens
        EXPECT_EQ(text(e.edit), "[%FOLDER%]\r\n");
        EXPECT_EQ(colourCounts(e.window, {RGB(255, 70, 70)})[0], 0);  // ordinary text colour
    }
    Session s(2, "; comment\r\nab\r\n");
    Editer e = s.open();
    ASSERT_TRUE(e.open());
    EXPECT_EQ(driver::statusParts(e.window), std::vector<std::string>{kSeveralMode});
    // At the caret, which ends after the tag; then in place of a selection.
    ::SendMessageA(e.edit, EM_SETSEL, 12, 12);  // between "a" and "b"
    command(e.window, IDM_SE_TAGNUMBER);
    EXPECT_EQ(text(e.edit), "; comment\r\na[%NUMBER%]b\r\n");
    EXPECT_EQ(selection(e.edit), std::make_pair(22, 22));
    ::SendMessageA(e.edit, EM_SETSEL, 11, 22);
    command(e.window, IDM_SE_TAGFOLDER);
    EXPECT_EQ(text(e.edit), "; comment\r\n[%FOLDER%]b\r\n");
    for (int id : {IDM_SE_TAGFULLPATH, IDM_SE_TAGFILENAME, IDM_SE_TAGEXT}) command(e.window, id);
    EXPECT_EQ(text(e.edit), "; comment\r\n[%FOLDER%][%FILEPATH%][%FILENAME%][%FILEEXT%]b\r\n");
    ::SendMessageA(e.edit, EM_SETSEL, 0, 0);  // no selection colours on the screen
    ::UpdateWindow(e.edit);
    ::Sleep(300);
    // The tags in red 255, green 70, blue 70; the ";" line in the comment colour on black.
    const std::vector<int> counts = colourCounts(e.window, {RGB(255, 70, 70), RGB(0, 187, 187)});
    EXPECT_GT(counts[0], 100);
    EXPECT_GT(counts[1], 20);
}

TEST(ScriptEditer, CutAndCopyNeedASelectionAndDeleteWithoutOneDoesNothing) {
    Session s(1, "abcdef\r\n");
    Editer e = s.open();
    ASSERT_TRUE(e.open());
    command(e.window, IDM_SE_DELETE);
    command(e.window, IDM_SE_CUT);  // disabled: no cut of the character at the caret either
    EXPECT_EQ(text(e.edit), "abcdef\r\n");
    EXPECT_FALSE(driver::isEnabled(e.save));
    // A selection enables both: Copy, then Cut.
    ::SendMessageA(e.edit, EM_SETSEL, 1, 3);
    command(e.window, IDM_SE_COPY);
    ::SendMessageA(e.edit, EM_SETSEL, 0, 0);
    command(e.window, IDM_SE_PASTE);
    EXPECT_EQ(text(e.edit), "bcabcdef\r\n");
    command(e.window, IDM_SE_UNDO);
    ::SendMessageA(e.edit, EM_SETSEL, 1, 3);
    command(e.window, IDM_SE_CUT);
    EXPECT_EQ(text(e.edit), "adef\r\n");
    // The selection went with the text: Copy and Cut are disabled again.
    command(e.window, IDM_SE_CUT);
    EXPECT_EQ(text(e.edit), "adef\r\n");
    command(e.window, IDM_SE_PASTE);
    EXPECT_EQ(text(e.edit), "abcdef\r\n");
    ::SendMessageA(e.edit, EM_SETSEL, 0, 1);
    command(e.window, IDM_SE_DELETE);
    EXPECT_EQ(text(e.edit), "bcdef\r\n");
    command(e.window, IDM_SE_UNDO);
    EXPECT_EQ(text(e.edit), "abcdef\r\n");
    command(e.window, IDM_SE_SAVE);
}

TEST(ScriptEditer, StoredGeometryIsAppliedWithinTheMinimumAndTheRealBoundsAreWrittenBack) {
    driver::ProgramFiles files = library(1);
    files.ini = "[APP-STATUS]\r\nEDHITER-WIDTH=100\r\nEDHITER-HEIGHT=300\r\nEDHITER-TOP=60\r\nEDHITER-LEFT=70\r\n";
    Program p(files);
    HWND config = p.openScriptConfig();
    ASSERT_TRUE(config);
    driver::clickButton(driver::controlById(config, IDC_SC_SCRIPTOPEN));
    HWND w = driver::waitTopLevel(p.pid(), kFormClass, "「 s 」");
    ASSERT_TRUE(w);
    RECT r = driver::windowRect(w);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 400);
    // Larger: the editor grows with the window, the buttons keep their distance to the bottom right corner.
    HWND edit = driver::controlById(w, IDC_SE_SCRIPT), quit = driver::controlById(w, IDC_SE_QUIT);
    auto fromCorner = [&] {
        const RECT wr = driver::windowRect(w), q = driver::windowRect(quit);
        return std::make_pair(wr.right - q.right, wr.bottom - q.bottom);
    };
    const auto corner = fromCorner();
    const RECT small = driver::windowRect(edit);
    ::SetWindowPos(w, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(fromCorner(), corner);
    const RECT big = driver::windowRect(edit);
    EXPECT_EQ((big.right - big.left) - (small.right - small.left), 400);
    EXPECT_EQ((big.bottom - big.top) - (small.bottom - small.top), 200);
    // Never below 400 x 400, however it is asked.
    ::SetWindowPos(w, nullptr, 0, 0, 150, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    r = driver::windowRect(w);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 400);
    ::SetWindowPos(w, nullptr, 90, 80, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    driver::closeWindow(w);
    ASSERT_TRUE(p.waitClosed(w));
    driver::clickButton(driver::controlById(config, IDC_SC_SAVE));
    ASSERT_TRUE(p.waitClosed(config));
    ASSERT_EQ(p.canopia().close(), std::optional<DWORD>(0));
    const std::string ini = p.canopia().readFile("canopia.ini").value_or("");
    EXPECT_NE(ini.find("EDHITER-WIDTH=640\r\nEDHITER-HEIGHT=480\r\nEDHITER-TOP=80\r\nEDHITER-LEFT=90\r\n"),
              std::string::npos)
        << ini;
}

TEST(ScriptEditer, AFailedSaveKeepsTheTextUnsavedAndAnUnreadableFileOpensNoWindow) {
    Session s(1, "abc\r\n");
    Editer e = s.open();
    ASSERT_TRUE(e.open());
    const std::string path = s.program().canopia().path(s.scriptPath());
    type(e.edit, "X");
    ASSERT_TRUE(textBecomes(e.edit, "Xabc\r\n"));
    // The script's folder is gone (removed by another program): the save cannot be written.
    ASSERT_TRUE(::DeleteFileA(path.c_str()));
    ASSERT_TRUE(::RemoveDirectoryA(folderOf(path).c_str()));
    driver::pressKey(e.window, 'S', {VK_CONTROL});
    EXPECT_NE(s.program().answerBox("カノピア").hwnd, nullptr);
    EXPECT_TRUE(driver::isEnabled(e.save));
    // Still unsaved: closing asks; a failed Yes keeps the window open with its text.
    driver::closeWindow(e.window);
    EXPECT_EQ(s.program().answerBox("確認", IDYES).text, kUnsaved);
    EXPECT_NE(s.program().answerBox("カノピア").hwnd, nullptr);
    EXPECT_TRUE(e.open());
    EXPECT_EQ(text(e.edit), "Xabc\r\n");

    // Ending the Windows session asks the same question; Cancel refuses the end, No allows it.
    for (const auto& [answer, allowed] : {std::pair{IDCANCEL, FALSE}, std::pair{IDNO, TRUE}}) {
        DWORD_PTR result = 2;
        std::thread ask([&] {
            ::SendMessageTimeoutA(e.window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 20000, &result);
        });
        EXPECT_EQ(s.program().answerBox("確認", answer).text, kUnsaved);
        ask.join();
        EXPECT_EQ(result, static_cast<DWORD_PTR>(allowed));
    }
    driver::closeWindow(e.window);
    s.program().answerBox("確認", IDNO);
    ASSERT_TRUE(s.program().waitClosed(e.window));

    // A file gone since the list was filled: the error box, and no window that looks loaded.
    driver::clickButton(driver::controlById(s.config(), IDC_SC_SCRIPTOPEN));
    EXPECT_NE(s.program().answerBox("カノピア").hwnd, nullptr);
    EXPECT_FALSE(driver::isVisible(e.window));
    EXPECT_FALSE(s.file().has_value());
}

TEST(ScriptEditer, TheStatusBarShowsTrailingBlanksAndAMissingFinalLineEnd) {
    Session s(1, "a\r\n");
    Editer e = s.open();
    ASSERT_TRUE(e.open());
    struct Case {
        const char* text;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"a \r\nb\t\r\n\r\n", {kCurrentMode, "行末の空白：2 行"}},
        {"a\r\nb", {kCurrentMode, "最終行に改行がありません"}},
        {"a\x81\x40\r\n b", {kCurrentMode, "行末の空白：1 行　／　最終行に改行がありません"}},  // a full-width space
        {"\x88\x81@\r\n", {kCurrentMode}},  // lead 88, trail 81, then "@": 81 40 is no full-width space here
        {"", {kCurrentMode}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ::SendMessageA(e.edit, EM_SETSEL, 0, -1);
        ::SendMessageA(e.edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(c.text));
        EXPECT_EQ(driver::statusParts(e.window), c.parts);
    }
    command(e.window, IDM_SE_SAVE);
}

}  // namespace
