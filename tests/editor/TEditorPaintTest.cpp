// The TEditor window under Wine as the script editor configures it: every property value it sets taking effect,
// the control's own picture (comments, a tag, a selection, a long line, trailing blanks) kept as a reference
// picture, what a typed character and a scroll by one row repaint, and a text of 100,000 rows scrolled to its
// end by dragging the thumb.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PaintTestSupport.h"
#include "editor/ScriptScheme.h"
#include "editor/ScriptEditorSetup.h"
#include "editor/TEditor.h"
#include "gdi/DibPicture.h"

namespace {

void pump() {
    for (int i = 0; i < 5; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// Every property value the script editor window gives its edtScript, with the tag colouring of the
// several-files mode and the trailing-blank marks it switches on.
void configureAsScriptEditor(TEditor& e) {
    editor::ConfigureAsScriptEditor(e, 16);
    editor::ApplyScriptScheme(e.View(), true);  // the several-files mode: tags in their colour
}

// A script of the several-files run: the new-script template's comments, a tag, a command with a comment after
// it, a tab, trailing blanks (a space, a tab, a full-width space), a line past the right edge.
std::string scriptText() {
    const std::string rule = ";" + std::string(52, '=');
    std::string text = rule + "\r\n";
    text += ";\x81\x40" "AutoCAD\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67\r\n";  // ;　AutoCADスクリプト
    text += rule + "\r\n";
    text += "_.OPEN \"[%FILEPATH%]\"\r\n";
    text += "_.LAYER _M \x8A\x4F\x8D\x5C _C 3 \x8A\x4F\x8D\x5C \r\n";        // 外構, trail byte 0x5C; a space
    text += "_.CHPROP _ALL  _C 1 ; \x90\x46\x82\xF0\x90\xD4\x82\xC9\r\n";   // 色を赤に
    text += "_.ZOOM\t_E\t\r\n";                                             // a tab inside and one at the end
    text += "_.PLINE 0,0 100,0 100,100 0,100 0,200 100,200 100,300 0,300 0,400 100,400 100,500 0,500 0,600\r\n";
    text += "_.QSAVE\x81\x40\r\n";                                          // a full-width space at the end
    text += "_.CLOSE\r\n";
    return text;
}

class ScriptEditorControl : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "TEditorPaintHost";
        RegisterClassA(&wc);
        // The script editor's client area is 692 x 468; the control sits at 0, 3, 692 x 408.
        host_ = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "host", WS_POPUP | WS_VISIBLE, 0, 0, 692, 468,
                                nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(host_);
        configureAsScriptEditor(edit_);
        hwnd_ = edit_.Create(host_, 0, 3, 692, 408);
        ASSERT_TRUE(hwnd_);
        SetForegroundWindow(host_);
        SetFocus(hwnd_);
        pump();
    }
    void TearDown() override {
        DestroyWindow(host_);
        pump();
    }
    // The whole control as the screen shows it: border, text, scroll bars.
    void capture(painttest::DibPicture& into) {
        UpdateWindow(hwnd_);
        GdiFlush();
        HDC dc = GetWindowDC(hwnd_);
        BitBlt(into.dc(), 0, 0, into.width(), into.height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(hwnd_, dc);
    }
    POINT clientToWindow(int x, int y) {
        RECT w, c;
        GetWindowRect(hwnd_, &w);
        POINT p{0, 0};
        ClientToScreen(hwnd_, &p);
        GetClientRect(hwnd_, &c);
        return {x + p.x - w.left, y + p.y - w.top};
    }

    HWND host_ = nullptr;
    TEditor edit_;
    HWND hwnd_ = nullptr;
};

}  // namespace

TEST_F(ScriptEditorControl, EveryPropertyTheScriptEditorSetsTakesEffect) {
    editor::EditorCore& core = edit_.Core();
    const editor::EditorLayout& l = core.Layout();
    // Font 16 pixels high on the fixed grid; Margin.Left 10, Margin.Top 6; a bar of 1 + 4 digits + 2 + edge.
    EXPECT_EQ(l.rowHeight, l.rowTextHeight) << "Margin.Line 0, no underline";
    EXPECT_EQ(l.textTop, 6);
    EXPECT_EQ(l.leftbarWidth, 1 + 4 * l.charWidth + 2 + 2);
    EXPECT_EQ(l.textLeft, 10 + l.leftbarWidth);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");  // ＭＳ ゴシック
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(lf.lfHeight, -16);
    // ScrollBars ssBoth: both bars, whatever the text.
    const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    EXPECT_TRUE((style & WS_VSCROLL) && (style & WS_HSCROLL));
    // WantTabs and WantReturns: the dialog manager leaves both keys to the control; a Tab types a tab.
    EXPECT_EQ(SendMessageA(hwnd_, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS);
    SetWindowTextA(hwnd_, "abc\r\n");
    SendMessageA(hwnd_, WM_CHAR, '\t', 1);
    pump();
    EXPECT_EQ(edit_.Lines().Text(), "\tabc\r\n") << "SoftTab off: a tab character";
    // Caret.Cursors.LeftMarginCursor over the bar (cursor 1958), DefaultCursor over the text.
    auto cursorAt = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(hwnd_, &p);
        SetCursorPos(p.x, p.y);
        SendMessageA(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorAt(5, 30), TEditor::CursorOf(crEditorRightArrow));
    EXPECT_EQ(cursorAt(l.textLeft + 20, 30), TEditor::CursorOf(crIBeam));
    // Speed.PageVerticalRange 2: PgDn moves by twice half a page.
    std::string many;
    for (int i = 0; i < 200; ++i) many += "row\r\n";
    SetWindowTextA(hwnd_, many.c_str());
    SendMessageA(hwnd_, WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_EQ(core.CaretRow(), (l.visibleRows - 1) / 2 * 2);
    EXPECT_EQ(core.TopRow(), core.CaretRow());
    // UndoListMax 64: of 65 typed characters the first stays.
    SetWindowTextA(hwnd_, "");
    for (int i = 0; i < 65; ++i) SendMessageA(hwnd_, WM_CHAR, 'a' + i % 26, 1);
    for (int i = 0; i < 70; ++i) SendMessageA(hwnd_, EM_UNDO, 0, 0);
    EXPECT_EQ(edit_.Lines().Text(), "a");
}

// The reference picture of the control: taken with the script editor's configuration, looked at, and kept;
// later runs must match it within a small tolerance (the test PaintTEditorPicture compares them).
TEST_F(ScriptEditorControl, PaintsTheScriptEditorsPicture) {
    SetWindowTextA(hwnd_, scriptText().c_str());
    // A selection from inside the LAYER row into the CHPROP row.
    const LRESULT layer = SendMessageA(hwnd_, EM_LINEINDEX, 4, 0), chprop = SendMessageA(hwnd_, EM_LINEINDEX, 5, 0);
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(layer + 3), chprop + 12);
    SetFocus(host_);  // no blinking caret in the picture
    pump();
    RECT w;
    GetWindowRect(hwnd_, &w);
    painttest::DibPicture shot(w.right - w.left, w.bottom - w.top);
    ASSERT_TRUE(shot.valid());
    capture(shot);
    const editor::EditorLayout& l = edit_.Core().Layout();
    auto at = [&](int row, int col) {
        const POINT p = clientToWindow(l.textLeft + col * l.charWidth, l.textTop + row * l.rowHeight);
        return p;
    };
    auto countIn = [&](int row, int fromCol, int toCol, COLORREF colour) {
        int n = 0;
        const POINT a = at(row, fromCol), b = at(row + 1, toCol);
        for (int y = a.y; y < b.y; ++y)
            for (int x = a.x; x < b.x; ++x) n += shot.at(x, y) == colour;
        return n;
    };
    EXPECT_GT(countIn(0, 0, 53, RGB(0, 187, 187)), 50) << "a comment in the comment colour";
    EXPECT_GT(countIn(3, 8, 20, RGB(255, 70, 70)), 30) << "the tag in its colour";
    EXPECT_GT(countIn(5, 0, 8, RGB(0, 0, 128)), 60) << "the selection on navy";
    EXPECT_GT(countIn(9, 7, 8, RGB(0, 0, 255)), 8) << "the blue line-end arrow";
    EXPECT_GT(countIn(10, 0, 5, RGB(0, 0, 255)), 20) << "\"[EOF]\" on the phantom row";
    const POINT bar = clientToWindow(2, l.textTop + 15 * l.rowHeight);
    EXPECT_EQ(shot.at(bar.x, bar.y), RGB(0, 0, 128)) << "the left bar is navy down to the bottom";
    ASSERT_TRUE(shot.writeBmp(CANOPIA_TEDITOR_PICTURE)) << CANOPIA_TEDITOR_PICTURE;
}

// What the real window repaints: one row for a typed character, one row for a scroll by one row.
TEST_F(ScriptEditorControl, ATypedCharacterAndAScrollByOneRowPaintOneRow) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += (i % 3 ? "_.LINE 0,0 10,10 " : ";comment ") + std::to_string(i) + "\r\n";
    SetWindowTextA(hwnd_, text.c_str());
    pump();
    edit_.Core().SetCaretPos(5, 4);
    pump();
    SendMessageA(hwnd_, WM_CHAR, 'x', 1);
    UpdateWindow(hwnd_);
    EXPECT_EQ(edit_.RowsPainted(), 1);
    SendMessageA(hwnd_, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(hwnd_);
    EXPECT_EQ(edit_.RowsPainted(), 1);
    SendMessageA(hwnd_, WM_VSCROLL, SB_LINEUP, 0);
    UpdateWindow(hwnd_);
    EXPECT_EQ(edit_.RowsPainted(), 1);
}

// The thumb of a 100,000-row text dragged to the bottom: WM_VSCROLL carries 16 bits of the position, the
// scroll bar's tracking position all of them; the phantom row after the last line break reaches the top.
TEST_F(ScriptEditorControl, AHundredThousandRowsScrollToTheEndByTheThumb) {
    std::string text;
    text.reserve(100000 * 8);
    for (int i = 0; i < 100000; ++i) text += "_.LINE\r\n";
    SetWindowTextA(hwnd_, text.c_str());
    pump();
    SCROLLBARINFO sb{};
    sb.cbSize = sizeof sb;
    ASSERT_TRUE(GetScrollBarInfo(hwnd_, OBJID_VSCROLL, &sb));
    // A user's drag: press on the thumb, move it below the bar's end, release; the input comes from a thread of
    // its own while this one runs the scroll bar's tracking loop.
    struct Drag {
        POINT from, to;
        static DWORD WINAPI run(void* p) {
            const Drag& d = *static_cast<const Drag*>(p);
            auto send = [](DWORD flags, POINT at) {
                INPUT in{};
                in.type = INPUT_MOUSE;
                in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
                in.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
                in.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
                SendInput(1, &in, sizeof in);
                Sleep(150);
            };
            send(0, d.from);
            send(MOUSEEVENTF_LEFTDOWN, d.from);
            send(0, {d.from.x, d.from.y + 10});
            send(0, d.to);
            send(MOUSEEVENTF_LEFTUP, d.to);
            return 0;
        }
    } drag{{(sb.rcScrollBar.left + sb.rcScrollBar.right) / 2, sb.rcScrollBar.top + (sb.xyThumbTop + sb.xyThumbBottom) / 2},
           {(sb.rcScrollBar.left + sb.rcScrollBar.right) / 2, sb.rcScrollBar.bottom + 20}};
    HANDLE thread = CreateThread(nullptr, 0, &Drag::run, &drag, 0, nullptr);
    ASSERT_TRUE(thread);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) pump();
    CloseHandle(thread);
    pump();
    EXPECT_EQ(edit_.TopRow(), 100000) << "the thumb's 32-bit position, not its low 16 bits (34464)";
    EXPECT_EQ(edit_.Core().Layout().leftbarDigits, 6);
    // A program's own message with a small position still scrolls there.
    SendMessageA(hwnd_, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1234), 0);
    EXPECT_EQ(edit_.TopRow(), 1234);
}
