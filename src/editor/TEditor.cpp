// The TEditor window: message dispatch onto the editor core, the display's plans carried out, painting, the
// caret, the input method, the clipboard, the cursors and the default pop-up menu.
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

RECT rectOf(const editor::PixelRect& r) noexcept { return RECT{r.left, r.top, r.right, r.bottom}; }

// An update region of more pieces than this is painted as its bounding box.
constexpr DWORD kMaxPaintPieces = 16;

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
    core_.SetClipboard(this);
    gdi_.SetFont(display_.Options().Font);
    buildDefaultMenu();
}

TEditor::~TEditor() {
    core_.SetClipboard(nullptr);
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        if (!ownedByWindow_) ::DestroyWindow(hwnd_);
    }
}

HWND TEditor::Create(HWND parent, int x, int y, int width, int height, int id) {
    RegisterClass();
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) style |= WS_HSCROLL;
    return ::CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", style, x, y, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), this);
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

void TEditor::SetScrollBars(TScrollStyle bars) {
    scrollBars_ = bars;
    if (!hwnd_) return;
    ::ShowScrollBar(hwnd_, SB_VERT, bars == ssVertical || bars == ssBoth);
    ::ShowScrollBar(hwnd_, SB_HORZ, bars == ssHorizontal || bars == ssBoth);
    sizeChanged();
}

void TEditor::created() {
    display_.FontMeasured(measureFont());  // the layout values waited for the window
    SetScrollBars(scrollBars_);
}

editor::FontMetrics TEditor::measureFont() {
    win::WindowDC dc(hwnd_);
    caretCreated_ = false;  // a new font makes a new caret
    return gdi_.Metrics(dc.get());
}

void TEditor::setFontFrom(const LOGFONTA& lf) {
    EditorFont& font = display_.Options().Font;
    font.BeginUpdate();  // one change, one new layout
    font.SetName(std::string(lf.lfFaceName, ::strnlen(lf.lfFaceName, LF_FACESIZE)));
    font.SetHeight(lf.lfHeight);
    font.SetCharset(lf.lfCharSet);
    font.SetStyle((lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
                  (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0));
    font.EndUpdate();
}

void TEditor::sizeChanged() {
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    // The client area already leaves out the scroll bars.
    core_.SetClientArea({rc.right - rc.left, rc.bottom - rc.top, 0, 0});
}

// ---- the display's window ----------------------------------------------------------------------------------------

bool TEditor::Showing() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

editor::FontMetrics TEditor::FontChanged(const EditorFont& font) {
    gdi_.SetFont(font);
    if (!hwnd_) return display_.Metrics();  // measured when the window comes
    return measureFont();
}

void TEditor::Repaint(const editor::PixelRepaint& plan) {
    if (!hwnd_) return;
    if (plan.scroll) {
        // SW_INVALIDATE: the uncovered part only (without it Wine invalidates the whole window); the update
        // region inside the rectangle moves with the pixels.
        const RECT r = rectOf(plan.scrollRect);
        ::ScrollWindowEx(hwnd_, plan.dx, plan.dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
    }
    for (const editor::PixelRect& p : plan.invalid) {
        const RECT r = rectOf(p);
        ::InvalidateRect(hwnd_, &r, FALSE);
    }
}

void TEditor::ScrollBarsChanged() {
    if (!hwnd_) return;
    auto set = [this](int bar, const editor::ScrollRange& r, int pos) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;  // shown as ScrollBars says
        si.nMin = r.min;
        si.nMax = r.max;
        si.nPage = static_cast<UINT>(r.page);
        si.nPos = pos;
        ::SetScrollInfo(hwnd_, bar, &si, TRUE);
    };
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) set(SB_VERT, core_.VScrollRange(), core_.TopRow());
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) set(SB_HORZ, core_.HScrollRange(), core_.TopCol());
}

void TEditor::CaretChanged() { placeCaret(); }

void TEditor::MoveComposition(int, int) { moveCompositionWindow(); }

void TEditor::placeCaret() {
    if (!hwnd_ || ::GetFocus() != hwnd_) return;
    const editor::CaretPlacement c = display_.Caret();
    if (!caretCreated_ || c.width != caretWidth_ || c.height != caretHeight_) {
        ::DestroyCaret();
        ::CreateCaret(hwnd_, nullptr, c.width, c.height);
        caretCreated_ = true;
        caretWidth_ = c.width;
        caretHeight_ = c.height;
        caretVisible_ = false;  // a new caret starts hidden
    }
    ::SetCaretPos(c.x, c.y);
    // Windows counts HideCaret calls: the caret is shown or hidden only when that changes.
    if (display_.CaretVisible() != caretVisible_) {
        caretVisible_ = display_.CaretVisible();
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
    LOGFONTA lf = gdi_.LogFont();
    ::ImmSetCompositionFontA(ime.get(), &lf);
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
    display_.SetKeyRepeating(s.repeat);
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
    if (pendingLead_ != 0) {
        // The trail of a pair that came as two calls (as Windows and Wine hand a double-byte character typed
        // into another process's window to a code page 932 window procedure).
        const char pair[2] = {static_cast<char>(pendingLead_), static_cast<char>(b)};
        pendingLead_ = 0;
        if (b >= 0x40 && b != 0x7F && b <= 0xFC) {
            core_.Char(std::string_view(pair, 2), keyState());
            return;
        }
        // a lead byte without its trail is dropped; this byte counts on its own
    }
    if (cp932::isLeadByte(b)) {
        // The trail byte is the next WM_CHAR in the queue, or the next call: the pair is typed as one character.
        MSG next;
        if (::PeekMessageA(&next, hwnd_, WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
            static_cast<unsigned char>(next.wParam & 0xFF) >= 0x40) {
            ::PeekMessageA(&next, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE);
            const char pair[2] = {static_cast<char>(b), static_cast<char>(next.wParam & 0xFF)};
            core_.Char(std::string_view(pair, 2), keyState());
            return;
        }
        pendingLead_ = b;
        return;
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
        if (display_.Options().Imagebar.Visible()) display_.InvalidateAll();  // marks show in the image bar only
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

// The update region is painted piece by piece: its bounding box (rcPaint) may span rows that need nothing.
void TEditor::paint() {
    std::vector<RECT> pieces;
    win::UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    if (region && ::GetUpdateRgn(hwnd_, region.get(), FALSE) > NULLREGION) {
        const DWORD size = ::GetRegionData(region.get(), 0, nullptr);
        std::vector<char> data(size);
        auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
        if (size >= sizeof(RGNDATAHEADER) && ::GetRegionData(region.get(), size, rgn) == size &&
            rgn->rdh.nCount <= kMaxPaintPieces) {
            const RECT* r = reinterpret_cast<const RECT*>(rgn->Buffer);
            pieces.assign(r, r + rgn->rdh.nCount);
        }
    }
    win::PaintScope scope(hwnd_);
    if (!scope.dc()) return;
    if (pieces.empty()) pieces.push_back(scope.info().rcPaint);
    rowsPainted_ = 0;
    for (const RECT& r : pieces) {
        gdi_.Paint(scope.dc(), display_.Input({r.left, r.top, r.right, r.bottom}));
        rowsPainted_ += gdi_.Painter().RowsPainted();
    }
}

// WM_VSCROLL and WM_HSCROLL: the message holds 16 bits of the thumb's position; the scroll bar's tracking
// position holds all 32 (texts of more than 65,535 rows). A message sent by a program with no thumb dragged
// keeps its own position.
void TEditor::scrolled(UINT msg, WPARAM wp) {
    const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
    const int code = LOWORD(wp);
    int thumb = HIWORD(wp);
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (::GetScrollInfo(hwnd_, bar, &si) && (si.nTrackPos & 0xFFFF) == thumb) thumb = si.nTrackPos;
    }
    if (msg == WM_VSCROLL) {
        core_.VScroll(code, thumb);
    } else {
        core_.HScroll(code, thumb);
    }
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
        case WM_PAINT:
            paint();
            return 0;
        case WM_SETFOCUS:
            caretCreated_ = false;
            core_.SetFocused(true);
            placeCaret();
            return 0;
        case WM_KILLFOCUS:
            pendingLead_ = 0;
            core_.SetFocused(false);
            if (caretCreated_) ::DestroyCaret();
            caretCreated_ = false;
            return 0;
        case WM_SETFONT: {
            LOGFONTA lf{};
            if (wp && ::GetObjectA(reinterpret_cast<HFONT>(wp), sizeof lf, &lf)) setFontFrom(lf);
            return 0;
        }
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(gdi_.PlainFont());
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
            display_.SetKeyRepeating(false);
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
                // Without AutoCursor the control shows its own cursor, except while text is dragged.
                const bool own = !core_.Caret().AutoCursor() && core_.Drag() != editor::DragState::Dragging;
                ::SetCursor(CursorOf(own ? cursor_ : core_.CursorAt(p.x, p.y, ::GetKeyState(VK_CONTROL) < 0)));
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
        case WM_HSCROLL:
            scrolled(msg, wp);
            return 0;
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
            display_.InvalidateAll();
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
