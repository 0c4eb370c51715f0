// The TEditor window: message dispatch onto the editor core, the caret, the input method, the clipboard, the
// cursors, the default pop-up menu and plain painting of the rows.
#include "editor/TEditor.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/Cp932.h"
#include "editor/ClipboardText.h"
#include "editor/EditMessages.h"
#include "editor/EditorScreenStrings.h"
#include "editor/Fountain.h"
#include "resources/editor/EditorResources.h"
#include "win/ErrorFence.h"

namespace key = editor::key;

// The core's key codes are the virtual keys.
static_assert(key::kBack == VK_BACK && key::kTab == VK_TAB && key::kReturn == VK_RETURN && key::kEscape == VK_ESCAPE);
static_assert(key::kPrior == VK_PRIOR && key::kNext == VK_NEXT && key::kEnd == VK_END && key::kHome == VK_HOME);
static_assert(key::kLeft == VK_LEFT && key::kUp == VK_UP && key::kRight == VK_RIGHT && key::kDown == VK_DOWN);
static_assert(key::kDelete == VK_DELETE);
static_assert(static_cast<int>(editor::ScrollCode::Bottom) == SB_BOTTOM &&
              static_cast<int>(editor::ScrollCode::ThumbTrack) == SB_THUMBTRACK);

namespace {

// Process-wide: the class, the clipboard format and the cursor table are set up once for all instances.
struct EditorClass {
    bool registered = false;
    UINT boxFormat = 0;
    HCURSOR rightArrow = nullptr;
    HCURSOR dragSel = nullptr;
    HCURSOR dragSelCopy = nullptr;
};

EditorClass& editorClass() {
    static EditorClass c;
    return c;
}

HCURSOR programCursor(const char* name) {
    // A host built without the editor's resources gets the arrow.
    HCURSOR c = ::LoadCursorA(::GetModuleHandleA(nullptr), name);
    return c ? c : ::LoadCursorA(nullptr, IDC_ARROW);
}

// clNone stands for the control's own colour.
COLORREF colourOr(TColor c, COLORREF own) { return c == clNone ? own : static_cast<COLORREF>(c & 0xFFFFFF); }

}  // namespace

bool TEditor::RegisterClass() {
    EditorClass& c = editorClass();
    if (c.registered) return true;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TEditor::staticProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = nullptr;  // set on WM_SETCURSOR by the AutoCursor rule
    wc.lpszClassName = kClassName;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    c.boxFormat = ::RegisterClipboardFormatA("TEditor Box Type");
    c.rightArrow = programCursor(EDITOR_CURSOR_RIGHTARROW);
    c.dragSel = programCursor(EDITOR_CURSOR_DRAGSEL);
    c.dragSelCopy = programCursor(EDITOR_CURSOR_DRAGSELCOPY);
    c.registered = true;
    return true;
}

UINT TEditor::BoxFormat() noexcept { return editorClass().boxFormat; }

HCURSOR TEditor::CursorOf(TCursor cursor) noexcept {
    const EditorClass& c = editorClass();
    switch (cursor) {
        case crEditorRightArrow: return c.rightArrow;
        case crEditorDragSelCopy: return c.dragSelCopy;
        case crDrag: return c.dragSel;
        case crIBeam: return ::LoadCursorA(nullptr, IDC_IBEAM);
        default: return ::LoadCursorA(nullptr, IDC_ARROW);
    }
}

TEditor* TEditor::FromHandle(HWND hwnd) noexcept {
    char name[16];
    if (!hwnd || !::GetClassNameA(hwnd, name, sizeof name) || std::strcmp(name, kClassName) != 0) return nullptr;
    return reinterpret_cast<TEditor*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

TEditor::TEditor() {
    core_.SetView(this);
    core_.SetClipboard(this);
    std::memset(&logFont_, 0, sizeof logFont_);
    std::strcpy(logFont_.lfFaceName, "FixedSys");
    logFont_.lfHeight = -12;
    logFont_.lfCharSet = SHIFTJIS_CHARSET;
    buildDefaultMenu();
}

TEditor::~TEditor() {
    core_.SetView(nullptr);
    core_.SetClipboard(nullptr);
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        if (!ownedByWindow_) ::DestroyWindow(hwnd_);
    }
}

HWND TEditor::Create(HWND parent, int x, int y, int width, int height, int id) {
    RegisterClass();
    return ::CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
                             x, y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), this);
}

LRESULT CALLBACK TEditor::staticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* self = static_cast<TEditor*>(cs->lpCreateParams);
        bool own = false;
        if (!self) {
            // A dialog template or a plain CreateWindowEx: the window keeps an editor of its own.
            self = new (std::nothrow) TEditor();
            if (!self) return FALSE;
            own = true;
        }
        self->hwnd_ = hwnd;
        self->ownedByWindow_ = own;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TEditor*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->caretCreated_ = false;
        if (self->ownedByWindow_) delete self;
        return ::DefWindowProcA(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (!win::fenced([&] { result = self->handle(msg, wp, lp); })) return 0;
    return result;
}

// ---- properties ------------------------------------------------------------------------------------------------

void TEditor::SetColor(COLORREF color) {
    color_ = color;
    InvalidateAll();
}

void TEditor::SetFontColor(COLORREF color) {
    fontColor_ = color;
    InvalidateAll();
}

void TEditor::SetFont(const std::string& face, int height, BYTE charset, bool bold, bool italic) {
    std::memset(&logFont_, 0, sizeof logFont_);
    std::strncpy(logFont_.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    logFont_.lfHeight = height;
    logFont_.lfCharSet = charset;
    logFont_.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    logFont_.lfItalic = italic ? TRUE : FALSE;
    if (hwnd_) measureFont();
}

void TEditor::SetScrollBars(ScrollBars bars) {
    scrollBars_ = bars;
    if (!hwnd_) return;
    ::ShowScrollBar(hwnd_, SB_VERT, bars == ScrollBars::Vertical || bars == ScrollBars::Both);
    ::ShowScrollBar(hwnd_, SB_HORZ, bars == ScrollBars::Horizontal || bars == ScrollBars::Both);
    sizeChanged();
}

void TEditor::created() {
    measureFont();
    SetScrollBars(scrollBars_);
}

void TEditor::measureFont() {
    font_.reset(::CreateFontIndirectA(&logFont_));
    win::WindowDC dc(hwnd_);
    TEXTMETRICA tm{};
    {
        win::SelectGuard select(dc.get(), font_.get());
        ::GetTextMetricsA(dc.get(), &tm);
    }
    core_.SetFontMetrics({static_cast<int>(tm.tmHeight), static_cast<int>(tm.tmExternalLeading),
                          static_cast<int>(tm.tmAveCharWidth)});
    caretCreated_ = false;  // a new shape
    placeCaret();
}

void TEditor::sizeChanged() {
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    // The client area already leaves out the scroll bars.
    core_.SetClientArea({rc.right - rc.left, rc.bottom - rc.top, 0, 0});
}

// ---- EditorView --------------------------------------------------------------------------------------------------

void TEditor::InvalidateRows(int first, int last) {
    if (!hwnd_) return;
    const editor::EditorLayout& l = core_.Layout();
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    const long long top = l.textTop + static_cast<long long>(first - core_.TopRow()) * l.rowHeight;
    const long long bottom = last == kToBottom ? rc.bottom
                                               : l.textTop + static_cast<long long>(last + 1 - core_.TopRow()) * l.rowHeight;
    if (bottom <= 0 || top >= rc.bottom) return;
    rc.top = static_cast<LONG>(std::max<long long>(0, top));
    rc.bottom = static_cast<LONG>(std::min<long long>(rc.bottom, bottom));
    ::InvalidateRect(hwnd_, &rc, FALSE);
}

void TEditor::InvalidateAll() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void TEditor::ViewScrolled(int rows, int cols) {
    if (!hwnd_) return;
    const editor::EditorLayout& l = core_.Layout();
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    if (std::abs(rows) >= l.visibleRows || std::abs(cols) >= l.visibleCols) {
        InvalidateAll();
    } else {
        // Rows move with the left bar; columns only right of it.
        RECT area = rc;
        if (rows != 0) {
            area.top = l.textTop;
        } else {
            area.left = l.textLeft;
        }
        ::ScrollWindowEx(hwnd_, -cols * l.charWidth, -rows * l.rowHeight, &area, &area, nullptr, nullptr,
                         SW_INVALIDATE);
    }
    moveCompositionWindow();
}

void TEditor::ScrollBarsChanged() {
    if (!hwnd_) return;
    auto set = [this](int bar, const editor::ScrollRange& r, int pos) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = r.min;
        si.nMax = r.max;
        si.nPage = static_cast<UINT>(r.page);
        si.nPos = pos;
        ::SetScrollInfo(hwnd_, bar, &si, TRUE);
    };
    if (scrollBars_ == ScrollBars::Vertical || scrollBars_ == ScrollBars::Both) {
        set(SB_VERT, core_.VScrollRange(), core_.TopRow());
    }
    if (scrollBars_ == ScrollBars::Horizontal || scrollBars_ == ScrollBars::Both) {
        set(SB_HORZ, core_.HScrollRange(), core_.TopCol());
    }
}

void TEditor::CaretChanged() { placeCaret(); }

void TEditor::placeCaret() {
    if (!hwnd_ || ::GetFocus() != hwnd_) return;
    const editor::EditorLayout& l = core_.Layout();
    int width = 2;
    int height = l.rowTextHeight;
    int y = core_.CaretY();
    const bool overLead = [&] {
        const int row = core_.CaretRow();
        if (row >= core_.Store().Count()) return false;
        const std::string_view text = core_.Store().RowView(row);
        const auto pos = static_cast<std::size_t>(core_.CaretPos().pos);
        return pos < text.size() && cp932::isLeadByte(text[pos]) && pos + 1 < text.size();
    }();
    if (core_.Overwrite()) {
        width = l.charWidth * (overLead ? 2 : 1);
    } else if (core_.Caret().Style() == csBrief) {
        width = l.charWidth * (overLead ? 2 : 1);
        height = 2;
        y += l.rowHeight - 2;
    }
    if (!caretCreated_ || width != caretWidth_ || height != caretHeight_) {
        ::DestroyCaret();
        ::CreateCaret(hwnd_, nullptr, width, height);
        caretCreated_ = true;
        caretWidth_ = width;
        caretHeight_ = height;
        caretVisible_ = false;  // a new caret starts hidden
    }
    ::SetCaretPos(core_.CaretX(), y);
    // Windows counts HideCaret calls: the caret is shown or hidden only when that changes.
    if (core_.CaretShown() != caretVisible_) {
        caretVisible_ = core_.CaretShown();
        if (caretVisible_) {
            ::ShowCaret(hwnd_);
        } else {
            ::HideCaret(hwnd_);
        }
    }
    moveCompositionWindow();
}

void TEditor::moveCompositionWindow() {
    if (!hwnd_ || ::GetFocus() != hwnd_) return;
    win::ImeContext ime(hwnd_);
    if (!ime) return;
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = {core_.CaretX(), core_.CaretY()};
    ::ImmSetCompositionWindow(ime.get(), &form);
    ::ImmSetCompositionFontA(ime.get(), &logFont_);
}

// ---- clipboard ---------------------------------------------------------------------------------------------------

bool TEditor::Put(const editor::ClipText& clip) {
    win::ClipboardScope clipboard(hwnd_);
    if (!clipboard.opened() || !::EmptyClipboard()) return false;
    const std::string block = editor::ClipboardBlockOf(clip.text);
    auto put = [&block](UINT format) {
        win::UniqueGlobal memory = win::UniqueGlobal::allocate(block.size());
        if (!memory) return false;
        {
            win::GlobalLockGuard<char> lock(memory.get());
            if (!lock) return false;
            std::memcpy(lock.get(), block.data(), block.size());
        }
        if (!::SetClipboardData(format, memory.get())) return false;
        memory.release();  // the clipboard owns it now
        return true;
    };
    if (!put(CF_TEXT)) return false;
    if (clip.box && BoxFormat()) put(BoxFormat());
    return true;
}

std::optional<editor::ClipText> TEditor::Get() {
    win::ClipboardScope clipboard(hwnd_);
    if (!clipboard.opened() || !::IsClipboardFormatAvailable(CF_TEXT)) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (!data) return std::nullopt;
    win::GlobalLockGuard<char> lock(data);
    if (!lock) return std::nullopt;
    editor::ClipText clip;
    clip.text = std::string(editor::ClipboardTextOf(lock.get(), lock.size()));
    clip.box = BoxFormat() && ::IsClipboardFormatAvailable(BoxFormat());
    return clip;
}

void TEditor::putEmptyText() { Put({}); }

// ---- input -------------------------------------------------------------------------------------------------------

editor::KeyState TEditor::keyState(LPARAM data) const noexcept {
    return {::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0, (data & (1 << 30)) != 0};
}

void TEditor::keyDown(WPARAM vk, LPARAM data) {
    if (vk != VK_PROCESSKEY) core_.ResetImeEcho();  // a real key: IME echoes still awaited will not come
    const editor::KeyState s = keyState(data);
    if (s.ctrl && !s.shift) {
        switch (vk) {
            case 'Z': core_.Undo(); return;
            case 'Y': core_.Redo(); return;
            case 'X': core_.CutToClipboard(); return;
            case 'C':
            case VK_INSERT: core_.CopyToClipboard(); return;
            case 'V': core_.PasteFromClipboard(); return;
            case 'A': core_.SelectAll(); return;
            default: break;
        }
        if (vk >= '0' && vk <= '9') {
            command(IDM_EDITOR_MARKJUMP + static_cast<int>(vk - '0'));
            return;
        }
    }
    if (s.ctrl && s.shift && vk >= '0' && vk <= '9') {
        command(IDM_EDITOR_MARKSET + static_cast<int>(vk - '0'));
        return;
    }
    if (s.shift && !s.ctrl && vk == VK_DELETE) {
        core_.CutToClipboard();
        return;
    }
    if (s.shift && !s.ctrl && vk == VK_INSERT) {
        core_.PasteFromClipboard();
        return;
    }
    if (vk == VK_ESCAPE && core_.Drag() != editor::DragState::Idle) {
        core_.CancelDrag();
        ::ReleaseCapture();
        return;
    }
    core_.KeyDown(static_cast<int>(vk), s);
}

void TEditor::charTyped(WPARAM code) {
    const auto b = static_cast<unsigned char>(code & 0xFF);
    moveCompositionWindow();
    if (cp932::isLeadByte(b)) {
        // The trail byte is the next WM_CHAR in the queue: the pair is typed as one character.
        MSG next;
        if (::PeekMessageA(&next, hwnd_, WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
            static_cast<unsigned char>(next.wParam & 0xFF) >= 0x40) {
            ::PeekMessageA(&next, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE);
            const char pair[2] = {static_cast<char>(b), static_cast<char>(next.wParam & 0xFF)};
            core_.Char(std::string_view(pair, 2), keyState());
        }
        return;  // without a trail byte the lead byte is dropped
    }
    const char single = static_cast<char>(b);
    core_.Char(std::string_view(&single, 1), keyState());
}

void TEditor::imeComposition(LPARAM flags) {
    if (!(flags & GCS_RESULTSTR)) return;
    win::ImeContext ime(hwnd_);
    if (!ime) return;
    const LONG bytes = ::ImmGetCompositionStringA(ime.get(), GCS_RESULTSTR, nullptr, 0);
    if (bytes <= 0) return;
    std::string text(static_cast<std::size_t>(bytes), '\0');
    const LONG got = ::ImmGetCompositionStringA(ime.get(), GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
    if (got <= 0) return;
    text.resize(std::min<std::size_t>(text.size(), static_cast<std::size_t>(got)));
    core_.ImeResult(text);
}

// ---- menu ----------------------------------------------------------------------------------------------------------

void TEditor::buildDefaultMenu() {
    HMENU menu = ::CreatePopupMenu();
    defaultMenu_.reset(menu);
    auto item = [](HMENU m, UINT id, const char* text) { ::AppendMenuA(m, MF_STRING, id, text); };
    item(menu, IDM_EDITOR_UNDO, "元に戻す(&U)");
    item(menu, IDM_EDITOR_REDO, "やり直し(&R)");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    item(menu, IDM_EDITOR_CUT, "切り取り(&T)");
    item(menu, IDM_EDITOR_COPY, "コピー(&C)");
    item(menu, IDM_EDITOR_PASTE, "貼り付け(&P)");
    item(menu, IDM_EDITOR_BOXPASTE, "Box貼り付け(&B)");
    item(menu, IDM_EDITOR_DELETE, "削除(&D)");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    item(menu, IDM_EDITOR_SELECTALL, "すべて選択(&A)");
    item(menu, IDM_EDITOR_BOXMODE, "Box選択モード(&K)");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    HMENU set = ::CreatePopupMenu();
    HMENU jump = ::CreatePopupMenu();
    for (int k = 0; k < 10; ++k) {
        char text[32];
        std::snprintf(text, sizeof text, "マーク%d\tShift+Ctrl+%d", k, k);
        item(set, static_cast<UINT>(IDM_EDITOR_MARKSET + k), text);
        std::snprintf(text, sizeof text, "マーク%d\tCtrl+%d", k, k);
        item(jump, static_cast<UINT>(IDM_EDITOR_MARKJUMP + k), text);
    }
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(set), "マーク設定");  // owned by the menu from here
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(jump), "マークジャンプ");
}

void TEditor::showPopup(int x, int y) {
    if (x == -1 && y == -1) {  // from the keyboard: at the caret
        POINT p{core_.CaretX(), core_.CaretY() + core_.Layout().rowHeight};
        ::ClientToScreen(hwnd_, &p);
        x = p.x;
        y = p.y;
    }
    if (popup_) {
        // The host's menu: its commands go to the host.
        ::TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, ::GetParent(hwnd_), nullptr);
        return;
    }
    HMENU m = defaultMenu_.get();
    const bool ro = core_.ReadOnly();
    const bool sel = core_.Selected();
    const bool text = ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    auto enable = [m](UINT id, bool on) { ::EnableMenuItem(m, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(IDM_EDITOR_UNDO, !ro && core_.CanUndo());
    enable(IDM_EDITOR_REDO, !ro && core_.CanRedo());
    enable(IDM_EDITOR_CUT, !ro && sel);
    enable(IDM_EDITOR_COPY, sel);
    enable(IDM_EDITOR_PASTE, !ro && text);
    enable(IDM_EDITOR_BOXPASTE, !ro && text);
    enable(IDM_EDITOR_DELETE, !ro && sel);
    ::CheckMenuItem(m, IDM_EDITOR_BOXMODE, MF_BYCOMMAND | (core_.SelectionMode() == smBox ? MF_CHECKED : MF_UNCHECKED));
    ::TrackPopupMenu(m, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, hwnd_, nullptr);
}

void TEditor::command(int id) {
    TEditorScreenStrings& store = core_.Store();
    if (id >= IDM_EDITOR_MARKSET && id < IDM_EDITOR_MARKSET + 10) {
        // A row mark: one bit per mark, toggled on the caret row.
        const int row = core_.CaretRow();
        if (row >= store.Count()) return;
        const auto bit = static_cast<std::uint16_t>(1u << (id - IDM_EDITOR_MARKSET));
        store.SetMarks(row, static_cast<std::uint16_t>(store.Marks(row) ^ bit));
        InvalidateRows(row, row);
        return;
    }
    if (id >= IDM_EDITOR_MARKJUMP && id < IDM_EDITOR_MARKJUMP + 10) {
        const auto bit = static_cast<std::uint16_t>(1u << (id - IDM_EDITOR_MARKJUMP));
        for (int r = 0; r < store.Count(); ++r) {
            if (store.Marks(r) & bit) {
                core_.CancelSelection();
                core_.SetCaretPos(r, 0);
                return;
            }
        }
        return;
    }
    switch (id) {
        case IDM_EDITOR_UNDO: core_.Undo(); break;
        case IDM_EDITOR_REDO: core_.Redo(); break;
        case IDM_EDITOR_CUT: core_.CutToClipboard(); break;
        case IDM_EDITOR_COPY: core_.CopyToClipboard(); break;
        case IDM_EDITOR_PASTE: core_.PasteFromClipboard(); break;
        case IDM_EDITOR_BOXPASTE:
            if (const std::optional<editor::ClipText> clip = Get()) core_.InsertBlock(clip->text);
            break;
        case IDM_EDITOR_DELETE: core_.DeleteSelection(); break;
        case IDM_EDITOR_SELECTALL: core_.SelectAll(); break;
        case IDM_EDITOR_BOXMODE: core_.SetSelectionMode(core_.SelectionMode() == smBox ? smStream : smBox); break;
        default: break;
    }
}

// ---- painting ------------------------------------------------------------------------------------------------------

// The one place that draws: every visible row of the update area as text on the fixed grid, the selection in
// the Select colours. Part four replaces it with the full painter.
void TEditor::paintArea(HDC dc, const RECT& area) {
    const editor::EditorLayout& l = core_.Layout();
    RECT client;
    ::GetClientRect(hwnd_, &client);
    win::UniqueBrush background(::CreateSolidBrush(color_));
    // Margins and the left bar.
    RECT top{client.left, client.top, client.right, l.textTop};
    ::FillRect(dc, &top, background.get());
    RECT left{client.left, l.textTop, l.textLeft, client.bottom};
    ::FillRect(dc, &left, background.get());
    if (l.leftbarWidth > 0) {
        win::UniqueBrush bar(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
        RECT leftbar{client.left, client.top, l.leftbarWidth, client.bottom};
        ::FillRect(dc, &leftbar, bar.get());
    }
    RECT textArea{l.textLeft, l.textTop, client.right, client.bottom};
    win::SelectGuard select(dc, font_.get());
    ::SetBkMode(dc, OPAQUE);
    const int first = core_.TopRow() + std::max(0, static_cast<int>((area.top - l.textTop) / l.rowHeight));
    for (int row = first;; ++row) {
        const int y = l.textTop + (row - core_.TopRow()) * l.rowHeight;
        if (y >= area.bottom || y >= client.bottom) break;
        paintRow(dc, row, y, textArea);
    }
}

void TEditor::paintRow(HDC dc, int row, int y, const RECT& textArea) {
    const editor::EditorLayout& l = core_.Layout();
    RECT cell{textArea.left, y, textArea.right, std::min<LONG>(y + l.rowHeight, textArea.bottom)};
    win::UniqueBrush background(::CreateSolidBrush(color_));
    ::FillRect(dc, &cell, background.get());
    if (row >= core_.Store().Count()) return;
    // The display text: tabs as spaces up to the next stop.
    const std::string_view text = core_.Store().RowView(row);
    const int tab = core_.Caret().TabSpaceCount();
    std::string shown;
    for (std::size_t i = 0; i < text.size() && shown.size() < static_cast<std::size_t>(kColumnMapLimit);) {
        if (text[i] == '\t') {
            shown.append(static_cast<std::size_t>(tab - static_cast<int>(shown.size()) % tab), ' ');
            ++i;
        } else {
            const std::size_t n = cp932::charLength(text, i);
            shown.append(text.substr(i, n));
            i += n;
        }
    }
    const int topCol = core_.TopCol();
    int from = std::min<int>(topCol, static_cast<int>(shown.size()));
    while (from > 0 && !cp932::isCharBoundary(shown, static_cast<std::size_t>(from))) --from;
    int to = std::min<int>(static_cast<int>(shown.size()), topCol + l.visibleCols + 2);
    if (to < static_cast<int>(shown.size()) && !cp932::isCharBoundary(shown, static_cast<std::size_t>(to))) ++to;
    const std::vector<INT> dx(static_cast<std::size_t>(std::max(1, to - from)), l.charWidth);
    auto draw = [&](int a, int b, COLORREF fg, COLORREF bg) {
        if (b <= a) return;
        RECT piece{textArea.left + (a - topCol) * l.charWidth, cell.top, textArea.left + (b - topCol) * l.charWidth,
                   cell.bottom};
        IntersectRect(&piece, &piece, &cell);
        ::SetTextColor(dc, fg);
        ::SetBkColor(dc, bg);
        const int x = textArea.left + (from - topCol) * l.charWidth;
        ::ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &piece, shown.data() + from,
                      static_cast<UINT>(std::max(0, to - from)), dx.data());
    };
    draw(from, std::max(to, from), fontColor_, color_);
    if (!core_.Selected()) return;
    // The selected columns of this row (a line break inside a stream selection shows as one column).
    const SelectionRange& s = core_.Selection();
    if (row < s.firstRow || row > s.lastRow) return;
    int a, b;
    if (core_.SelectionMode() == smBox) {
        a = s.firstCol;
        b = s.lastCol;
    } else {
        a = row == s.firstRow ? s.firstCol : 0;
        b = row == s.lastRow ? s.lastCol : static_cast<int>(shown.size()) + 1;
    }
    const TFountainColor& select = core_.View().Colors().Select();
    const COLORREF fg = colourOr(select.Color(), color_);
    const COLORREF bg = colourOr(select.BkColor(), fontColor_);
    RECT piece{textArea.left + (a - topCol) * l.charWidth, cell.top, textArea.left + (b - topCol) * l.charWidth,
               cell.bottom};
    IntersectRect(&piece, &piece, &cell);
    ::SetTextColor(dc, fg);
    ::SetBkColor(dc, bg);
    ::ExtTextOutA(dc, textArea.left + (from - topCol) * l.charWidth, y, ETO_OPAQUE | ETO_CLIPPED, &piece,
                  shown.data() + from, static_cast<UINT>(std::max(0, to - from)), dx.data());
}

// ---- messages ------------------------------------------------------------------------------------------------------

LRESULT TEditor::handle(UINT msg, WPARAM wp, LPARAM lp) {
    bool handled = true;
    const LRESULT text = textMessage(msg, wp, lp, handled);
    if (handled) return text;
    switch (msg) {
        case WM_CREATE:
            created();
            return 0;
        case WM_SIZE:
            sizeChanged();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills everything
        case WM_PAINT: {
            win::PaintScope paint(hwnd_);
            paintArea(paint.dc(), paint.info().rcPaint);
            return 0;
        }
        case WM_SETFOCUS:
            caretCreated_ = false;
            core_.SetFocused(true);
            placeCaret();
            return 0;
        case WM_KILLFOCUS:
            core_.SetFocused(false);
            if (caretCreated_) ::DestroyCaret();
            caretCreated_ = false;
            return 0;
        case WM_SETFONT: {
            LOGFONTA lf{};
            if (wp && ::GetObjectA(reinterpret_cast<HFONT>(wp), sizeof lf, &lf)) {
                logFont_ = lf;
                measureFont();
                if (LOWORD(lp)) InvalidateAll();
            }
            return 0;
        }
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_.get());
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
            if (core_.WantTabs()) code |= DLGC_WANTTAB;
            if (core_.WantReturns()) code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_KEYDOWN:
            keyDown(wp, lp);
            return 0;
        case WM_KEYUP:
            moveCompositionWindow();
            return 0;
        case WM_CHAR:
            charTyped(wp);
            return 0;
        case WM_IME_STARTCOMPOSITION:
            core_.ResetImeEcho();
            moveCompositionWindow();
            break;
        case WM_IME_COMPOSITION:
            if (lp & GCS_RESULTSTR) {
                imeComposition(lp);
                return 0;  // typed here, so the IME sends no characters of its own for it
            }
            break;
        case WM_IME_NOTIFY:
            if (wp == IMN_OPENCANDIDATE) core_.HideCaret();
            if (wp == IMN_CLOSECANDIDATE) core_.ShowCaret();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ::SetFocus(hwnd_);
            ::SetCapture(hwnd_);
            core_.MouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), {(wp & MK_SHIFT) != 0, (wp & MK_CONTROL) != 0, false});
            if (msg == WM_LBUTTONDBLCLK && core_.OnDblClick) core_.OnDblClick();
            return 0;
        case WM_MOUSEMOVE:
            core_.MouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), (wp & MK_LBUTTON) != 0, (wp & MK_CONTROL) != 0);
            if (core_.Drag() == editor::DragState::Dragging) {
                ::SetCursor(CursorOf(core_.CursorAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), (wp & MK_CONTROL) != 0)));
            }
            return 0;
        case WM_LBUTTONUP: {
            RECT rc;
            ::GetClientRect(hwnd_, &rc);
            const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            core_.MouseUp(p.x, p.y, (wp & MK_CONTROL) != 0, ::PtInRect(&rc, p) != FALSE);
            if (::GetCapture() == hwnd_) ::ReleaseCapture();
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != hwnd_) core_.CancelDrag();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                POINT p;
                ::GetCursorPos(&p);
                ::ScreenToClient(hwnd_, &p);
                ::SetCursor(CursorOf(core_.CursorAt(p.x, p.y, ::GetKeyState(VK_CONTROL) < 0)));
                return TRUE;
            }
            break;
        case WM_CONTEXTMENU:
            showPopup(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_COMMAND:
            if (lp == 0) command(LOWORD(wp));
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL: {
            const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
            int thumb = HIWORD(wp);
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS;
            if (::GetScrollInfo(hwnd_, bar, &si)) thumb = si.nTrackPos;  // 32-bit, where the message has 16
            if (msg == WM_VSCROLL) {
                core_.VScroll(LOWORD(wp), thumb);
            } else {
                core_.HScroll(LOWORD(wp), thumb);
            }
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

// The edit messages: text, lines, offsets, the selection, the clipboard. A null pointer is refused.
LRESULT TEditor::textMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    TEditorScreenStrings& store = core_.Store();
    const int currentRow = core_.Selected() ? core_.Selection().firstRow : core_.CaretRow();
    switch (msg) {
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<char*>(lp);
            if (!buffer || wp == 0) return 0;
            const std::string all = store.Text();
            const std::string_view cut = cp932::truncate(all, static_cast<std::size_t>(wp) - 1);
            std::memcpy(buffer, cut.data(), cut.size());
            buffer[cut.size()] = '\0';
            return static_cast<LRESULT>(cut.size());
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(store.TextLength());
        case WM_SETTEXT: {
            const char* t = reinterpret_cast<const char*>(lp);
            core_.CancelSelection();
            store.SetText(t ? std::string_view(t) : std::string_view());
            core_.SetCaretPos(0, 0);
            InvalidateAll();
            return TRUE;
        }
        case EM_GETMODIFY:
            return core_.Modified() ? TRUE : FALSE;
        case EM_SETMODIFY:
            if (!core_.ReadOnly()) core_.SetModified(wp != 0);
            return 0;
        case EM_CANUNDO:
            return !core_.ReadOnly() && core_.CanUndo() ? TRUE : FALSE;
        case EM_UNDO:
            if (core_.ReadOnly()) return FALSE;
            core_.Undo();
            return TRUE;
        case EM_EMPTYUNDOBUFFER:
            if (!core_.ReadOnly()) store.UndoObj().Clear();
            return 0;
        case EM_GETLINECOUNT:
            return editmsg::LineCount(store);
        case EM_GETLINE: {
            auto* buffer = reinterpret_cast<char*>(lp);
            if (!buffer) return 0;
            WORD size;
            std::memcpy(&size, buffer, sizeof size);  // the buffer's first word holds its size
            const std::string line = editmsg::LineText(store, static_cast<int>(wp));
            const std::string_view cut = cp932::truncate(line, size);
            std::memcpy(buffer, cut.data(), cut.size());
            return static_cast<LRESULT>(cut.size());
        }
        case EM_LINEINDEX: {
            const std::int64_t at = editmsg::LineIndex(store, static_cast<int>(wp), currentRow);
            return static_cast<LRESULT>(at);
        }
        case EM_LINELENGTH:
            return editmsg::LineLength(store, static_cast<int>(wp), currentRow);
        case EM_LINEFROMCHAR:
            return editmsg::LineFromChar(store, static_cast<int>(wp), currentRow);
        case EM_GETSEL: {
            const auto [s, e] = core_.GetSel();
            if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(s);
            if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(e);
            if (s > 0xFFFF || e > 0xFFFF) return -1;
            return MAKELRESULT(s, e);
        }
        case EM_SETSEL:
            core_.SetSel(static_cast<int>(wp), static_cast<int>(lp));
            return 0;
        case EM_REPLACESEL: {
            const char* t = reinterpret_cast<const char*>(lp);
            if (t && !core_.ReadOnly()) core_.ReplaceSelection(t);
            return 0;
        }
        case EM_SETREADONLY:
            core_.SetReadOnly(wp != 0);
            return TRUE;
        case EM_POSFROMCHAR: {
            const auto [x, y] = core_.PosFromChar(static_cast<int>(wp));
            return MAKELRESULT(x, y);
        }
        case EM_CHARFROMPOS: {
            const auto hit = core_.CharFromPos(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            if (!hit) return -1;
            return MAKELRESULT(static_cast<WORD>(hit->first), static_cast<WORD>(hit->second));
        }
        case EM_GETFIRSTVISIBLELINE:
            return core_.TopRow();
        case EM_SCROLLCARET:
            core_.ScrollCaret();
            return TRUE;
        case WM_CUT:
            if (core_.ReadOnly() || !core_.Selected()) {
                putEmptyText();
            } else {
                core_.CutToClipboard();
            }
            return 0;
        case WM_COPY:
            if (!core_.Selected()) {
                putEmptyText();
            } else {
                core_.CopyToClipboard();
            }
            return 0;
        case WM_PASTE:
            core_.PasteFromClipboard();
            return 0;
        case WM_CLEAR:
            core_.DeleteSelection();
            return 0;
        default:
            handled = false;
            return 0;
    }
}
