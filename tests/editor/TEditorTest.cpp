// The TEditor window under Wine, in a small host window: typing through real WM_CHAR pairs and an IME result,
// clipboard round trips (stream and box, and data without a terminating NUL), dragging selected text to move
// and to copy it, WM_GETDLGCODE inside a dialog, and the edit messages with hostile arguments.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "editor/EditorScreenStrings.h"
#include "editor/TEditor.h"

namespace {

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string windowText(HWND hwnd) {
    const auto n = static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const auto got = SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(s.size()), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(got));
    return s;
}

std::string clipboardText() {
    std::string out;
    if (!OpenClipboard(nullptr)) return "<closed>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            out = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

// Puts raw bytes on the clipboard as CF_TEXT, exactly as given (no NUL added).
void putRawClipboard(const std::string& bytes) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
    GlobalUnlock(g);
    SetClipboardData(CF_TEXT, g);
    CloseClipboard();
}

class TEditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TEditorTestHost";
        RegisterClassA(&wc);
        host_ = CreateWindowExA(0, "TEditorTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 720, 480,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(host_);
        edit_.Font().SetName("\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");  // ＭＳ ゴシック
        edit_.Font().SetHeight(-16);
        hwnd_ = edit_.Create(host_, 0, 3, 692, 408);
        ASSERT_TRUE(hwnd_);
        SetFocus(hwnd_);
        pump();
    }
    void TearDown() override {
        DestroyWindow(host_);
        pump();
    }
    // Client pixel of a row and column.
    POINT at(int row, int col) {
        const editor::EditorLayout& l = edit_.Core().Layout();
        return {l.textLeft + col * l.charWidth + 1, l.textTop + row * l.rowHeight + l.rowHeight / 2};
    }
    void mouse(UINT msg, POINT p, WPARAM keys) { SendMessageA(hwnd_, msg, keys, MAKELPARAM(p.x, p.y)); }

    HWND host_ = nullptr;
    TEditor edit_;
    HWND hwnd_ = nullptr;
};

TEST_F(TEditorWindow, IsReachableFromItsHandleWithTheConstructionDefaults) {
    EXPECT_EQ(TEditor::FromHandle(hwnd_), &edit_);
    EXPECT_EQ(TEditor::FromHandle(host_), nullptr);
    EXPECT_TRUE(edit_.Core().WantReturns());
    EXPECT_TRUE(edit_.Core().WantTabs());
    EXPECT_GT(edit_.Core().Layout().visibleRows, 10);
    EXPECT_NE(TEditor::BoxFormat(), 0u);
    EXPECT_NE(TEditor::CursorOf(crEditorRightArrow), LoadCursorA(nullptr, IDC_ARROW)) << "cursor 1958 loaded";
    EXPECT_NE(TEditor::CursorOf(crEditorDragSelCopy), LoadCursorA(nullptr, IDC_ARROW)) << "cursor 1959 loaded";
    HMENU menu = edit_.DefaultPopupMenu();
    ASSERT_TRUE(menu);
    char first[64] = {};
    GetMenuStringA(menu, 0, first, sizeof first, MF_BYPOSITION);
    EXPECT_STREQ(first, "\x8C\xB3\x82\xC9\x96\xDF\x82\xB7(&U)");  // 元に戻す(&U)
}

TEST_F(TEditorWindow, TypesDoubleByteCharactersFromWmCharPairs) {
    PostMessageA(hwnd_, WM_CHAR, 0x95, 1);  // 表, trail 0x5C
    PostMessageA(hwnd_, WM_CHAR, 0x5C, 1);
    PostMessageA(hwnd_, WM_CHAR, 'a', 1);
    pump();
    EXPECT_EQ(windowText(hwnd_), "\x95\x5C" "a");
    SendMessageA(hwnd_, EM_UNDO, 0, 0);
    EXPECT_EQ(windowText(hwnd_), "\x95\x5C") << "the pair was one undo step";
    EXPECT_TRUE(SendMessageA(hwnd_, EM_GETMODIFY, 0, 0));
    // The pair as two calls of the window procedure (a character typed into the window from another process).
    SendMessageA(hwnd_, WM_CHAR, 0x90, 1);  // 図
    SendMessageA(hwnd_, WM_CHAR, 0x7D, 1);
    SendMessageA(hwnd_, WM_CHAR, 0x81, 1);  // a lead byte without its trail is dropped, the next byte kept
    SendMessageA(hwnd_, WM_CHAR, '\r', 1);
    EXPECT_EQ(windowText(hwnd_), "\x95\x5C" "\x90\x7D\r\n");
}

TEST_F(TEditorWindow, TypesAnImeResultOnceAsOneStep) {
    HIMC himc = ImmGetContext(hwnd_);
    if (!himc) GTEST_SKIP() << "no input context in this Wine";
    char text[] = "\x93\xFA\x96\x7B";  // 日本
    ImmSetOpenStatus(himc, TRUE);
    const BOOL set = ImmSetCompositionStringA(himc, SCS_SETSTR, text, 4, nullptr, 0);
    const BOOL done = ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(hwnd_, himc);
    pump();
    if (!set || !done || windowText(hwnd_).empty()) {
        // Without an IME that completes a composition, the result message is sent as the IME would send it.
        himc = ImmGetContext(hwnd_);
        ImmSetCompositionStringA(himc, SCS_SETSTR, text, 4, nullptr, 0);
        ImmReleaseContext(hwnd_, himc);
        SendMessageA(hwnd_, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
        pump();
    }
    if (windowText(hwnd_).empty()) GTEST_SKIP() << "this Wine keeps no composition string";
    // The characters the IME may echo for the same string are not typed again.
    PostMessageA(hwnd_, WM_CHAR, 0x93, 1);
    PostMessageA(hwnd_, WM_CHAR, 0xFA, 1);
    PostMessageA(hwnd_, WM_CHAR, 0x96, 1);
    PostMessageA(hwnd_, WM_CHAR, 0x7B, 1);
    pump();
    const std::string once = windowText(hwnd_);
    EXPECT_TRUE(once == "\x93\xFA\x96\x7B") << once;
    // A real key after it: nothing is swallowed any more.
    SendMessageA(hwnd_, WM_KEYDOWN, 'X', 1);
    PostMessageA(hwnd_, WM_CHAR, 'x', 1);
    pump();
    EXPECT_EQ(windowText(hwnd_), once + "x");
}

TEST_F(TEditorWindow, ClipboardRoundTripsStreamAndBox) {
    SetWindowTextA(hwnd_, "abcd\r\nef\r\nghij");
    SendMessageA(hwnd_, EM_SETSEL, 1, 8);  // bcd CR LF e
    SendMessageA(hwnd_, WM_COPY, 0, 0);
    EXPECT_EQ(clipboardText(), "bcd\r\nef");
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(hwnd_, EM_SETSEL, 14, 14);
    SendMessageA(hwnd_, WM_PASTE, 0, 0);
    EXPECT_EQ(windowText(hwnd_), "abcd\r\nef\r\nghijbcd\r\nef");
    EXPECT_FALSE(IsClipboardFormatAvailable(TEditor::BoxFormat()));

    // A box: columns 1-2 of the first three rows.
    SetWindowTextA(hwnd_, "abcd\r\nef\r\nghij");
    editor::EditorCore& core = edit_.Core();
    core.SetSelectionMode(smBox);
    core.SetCaretPos(0, 1);
    for (int vk : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT}) core.KeyDown(vk, {true, false, false});
    SendMessageA(hwnd_, WM_CUT, 0, 0);
    EXPECT_EQ(clipboardText(), "bc\r\nf\r\nhi");
    EXPECT_TRUE(IsClipboardFormatAvailable(TEditor::BoxFormat()));
    EXPECT_EQ(windowText(hwnd_), "ad\r\ne\r\ngj");
    core.SetCaretPos(0, 2);
    SendMessageA(hwnd_, WM_PASTE, 0, 0);
    EXPECT_EQ(windowText(hwnd_), "adbc\r\ne f\r\ngjhi") << "pasted back as a block";
}

TEST_F(TEditorWindow, ClipboardDataWithoutANulIsBoundedAndReadOnlyCutsNothing) {
    putRawClipboard("xyz");  // no terminating NUL
    SendMessageA(hwnd_, WM_PASTE, 0, 0);
    // Wine's own conversion of CF_TEXT may take the last byte for the terminator; nothing past the block is read.
    const std::string pasted = windowText(hwnd_);
    EXPECT_FALSE(pasted.empty());
    EXPECT_EQ(std::string("xyz").compare(0, pasted.size(), pasted), 0) << pasted;

    SetWindowTextA(hwnd_, "keep");
    SendMessageA(hwnd_, EM_SETREADONLY, TRUE, 0);
    SendMessageA(hwnd_, EM_SETSEL, 0, -1);
    SendMessageA(hwnd_, WM_CUT, 0, 0);
    EXPECT_EQ(windowText(hwnd_), "keep");
    EXPECT_EQ(clipboardText(), "") << "read-only: an empty text goes to the clipboard";
    SendMessageA(hwnd_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("x"));
    EXPECT_EQ(windowText(hwnd_), "keep");
}

TEST_F(TEditorWindow, DraggingSelectedTextMovesItAndWithCtrlCopiesIt) {
    SetWindowTextA(hwnd_, "abcdef\r\nxyz");
    SendMessageA(hwnd_, EM_SETSEL, 0, 2);  // ab
    mouse(WM_LBUTTONDOWN, at(0, 1), MK_LBUTTON);
    mouse(WM_MOUSEMOVE, at(0, 3), MK_LBUTTON);
    mouse(WM_MOUSEMOVE, at(1, 1), MK_LBUTTON);
    mouse(WM_LBUTTONUP, at(1, 1), 0);
    EXPECT_EQ(windowText(hwnd_), "cdef\r\nxabyz");
    SendMessageA(hwnd_, EM_UNDO, 0, 0);
    EXPECT_EQ(windowText(hwnd_), "abcdef\r\nxyz") << "a move is one step";

    SendMessageA(hwnd_, EM_SETSEL, 0, 2);
    mouse(WM_LBUTTONDOWN, at(0, 1), MK_LBUTTON);
    mouse(WM_MOUSEMOVE, at(0, 5), MK_LBUTTON | MK_CONTROL);
    mouse(WM_LBUTTONUP, at(0, 5), MK_CONTROL);
    EXPECT_EQ(windowText(hwnd_), "abcdeabf\r\nxyz");
}

TEST_F(TEditorWindow, EditMessagesRefuseNullPointersAndClampOffsets) {
    SetWindowTextA(hwnd_, "a\x95\x5C\r\nbc");
    EXPECT_EQ(SendMessageA(hwnd_, WM_GETTEXT, 10, 0), 0);
    EXPECT_EQ(SendMessageA(hwnd_, EM_GETLINE, 0, 0), 0);
    SendMessageA(hwnd_, EM_REPLACESEL, 0, 0);
    char small[3] = {'?', '?', '?'};
    EXPECT_EQ(SendMessageA(hwnd_, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 1)
        << "a double-byte character is not cut in half";
    EXPECT_STREQ(small, "a");
    SendMessageA(hwnd_, EM_SETSEL, 2, 0x7FFFFFFF);
    DWORD s = 0, e = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    EXPECT_EQ(s, 1u);
    EXPECT_EQ(e, 7u);
    EXPECT_EQ(SendMessageA(hwnd_, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(hwnd_, EM_LINEINDEX, 1, 0), 5);
    EXPECT_EQ(SendMessageA(hwnd_, EM_CHARFROMPOS, 0, MAKELPARAM(30000, 30000)), -1);
    SendMessageA(hwnd_, WM_SETTEXT, 0, 0);
    EXPECT_EQ(windowText(hwnd_), "");
}

INT_PTR CALLBACK plainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog holding a TEditor and a button, from a template.
std::vector<WORD> dialogTemplate() {
    std::vector<WORD> t(64, 0);
    auto* dlg = reinterpret_cast<DLGTEMPLATE*>(t.data());
    dlg->style = WS_POPUP | WS_CAPTION | DS_SETFONT | WS_VISIBLE;
    dlg->cdit = 2;
    dlg->cx = 200;
    dlg->cy = 120;
    std::vector<WORD> out(reinterpret_cast<WORD*>(dlg), reinterpret_cast<WORD*>(dlg) + sizeof(DLGTEMPLATE) / 2);
    auto str = [&out](const char* s) {
        for (; *s; ++s) out.push_back(static_cast<WORD>(static_cast<unsigned char>(*s)));
        out.push_back(0);
    };
    out.push_back(0);  // no menu
    out.push_back(0);  // default class
    out.push_back(0);  // no title
    out.push_back(8);  // font size
    str("MS Shell Dlg");
    auto item = [&](DWORD style, short x, short y, short cx, short cy, WORD id, const char* cls) {
        while (out.size() % 2) out.push_back(0);  // DWORD alignment
        DLGITEMTEMPLATE it{};
        it.style = style | WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        it.x = x;
        it.y = y;
        it.cx = cx;
        it.cy = cy;
        it.id = id;
        const WORD* w = reinterpret_cast<const WORD*>(&it);
        out.insert(out.end(), w, w + sizeof it / 2);
        str(cls);
        out.push_back(0);  // no text
        out.push_back(0);  // no creation data
    };
    item(0, 5, 5, 150, 80, 101, "TEditor");
    item(BS_PUSHBUTTON, 5, 90, 50, 14, 102, "BUTTON");
    return out;
}

TEST_F(TEditorWindow, AsksForTabsAndEnterInsideADialog) {
    const std::vector<WORD> t = dialogTemplate();
    HWND dlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()),
                                          host_, plainDialog, 0);
    ASSERT_TRUE(dlg);
    HWND inner = GetDlgItem(dlg, 101);
    TEditor* editor = TEditor::FromHandle(inner);
    ASSERT_TRUE(editor) << "a template control makes its own editor";
    EXPECT_EQ(SendMessageA(inner, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS);
    editor->Core().SetWantReturns(false);
    EXPECT_EQ(SendMessageA(inner, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);

    // The dialog manager leaves Tab to the editor while it wants tabs, and moves the focus when it does not.
    SetFocus(inner);
    MSG tab{inner, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    IsDialogMessageA(dlg, &tab);
    EXPECT_EQ(GetFocus(), inner);
    editor->Core().SetWantTabs(false);
    EXPECT_EQ(SendMessageA(inner, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
    IsDialogMessageA(dlg, &tab);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 102));
    DestroyWindow(dlg);
}

}  // namespace
