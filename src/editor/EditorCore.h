// The portable core of the editor control: caret, selection, typing and the edit keys, mouse selection and drag,
// clipboard texts, the edit messages' answers and the view origin with its scrolling. It shares a row store (it is
// one of the store's editors) and reaches the screen only through EditorView; the Win32 window turns messages
// into calls on it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "editor/ColumnMap.h"
#include "editor/EditorClient.h"
#include "editor/EditorLayout.h"
#include "editor/EditorOptions.h"
#include "editor/EditorView.h"
#include "editor/SelectionRange.h"
#include "editor/WordMotion.h"

class TEditorScreenStrings;
class TEditorStrings;
class TEditorViewInfo;
class RowStates;

namespace editor {

// Virtual-key codes the core acts on (the Win32 layer checks them against <windows.h>).
namespace key {
constexpr int kBack = 0x08;
constexpr int kTab = 0x09;
constexpr int kReturn = 0x0D;
constexpr int kEscape = 0x1B;
constexpr int kPrior = 0x21;
constexpr int kNext = 0x22;
constexpr int kEnd = 0x23;
constexpr int kHome = 0x24;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kDelete = 0x2E;
}  // namespace key

struct KeyState {
    bool shift = false;
    bool ctrl = false;
    bool repeat = false;  // the key auto-repeats (bit 30 of the key data)
};

// What the clipboard holds for the editor: text, and whether it was copied from a box selection.
struct ClipText {
    std::string text;
    bool box = false;
};

// The clipboard as the core sees it. Put answers whether the text reached the clipboard.
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    virtual bool Put(const ClipText& clip) = 0;
    virtual std::optional<ClipText> Get() = 0;
};

enum class DragState { Idle, Pending, Dragging };

class EditorCore : public EditorClient {
public:
    // A null store: the core makes its own. The core attaches to the store and detaches when it goes.
    explicit EditorCore(std::shared_ptr<TEditorScreenStrings> store = nullptr);
    ~EditorCore() override;
    EditorCore(const EditorCore&) = delete;
    EditorCore& operator=(const EditorCore&) = delete;

    void SetView(EditorView* view) noexcept;           // null: nothing is shown; not owned
    void SetClipboard(ClipboardPort* port) noexcept;   // null: no clipboard; not owned

    // ---- text and options ---------------------------------------------------------------------------------
    TEditorScreenStrings& Store() noexcept { return *store_; }
    const TEditorScreenStrings& Store() const noexcept { return *store_; }
    const std::shared_ptr<TEditorScreenStrings>& SharedStore() const noexcept { return store_; }
    TEditorStrings& Lines() noexcept { return *lines_; }
    TEditorViewInfo& View() noexcept { return *viewInfo_; }
    RowStates& States() noexcept { return *states_; }
    TEditorCaret& Caret() noexcept { return caretOptions_; }
    const TEditorCaret& Caret() const noexcept { return caretOptions_; }
    TEditorSpeed& Speed() noexcept { return speed_; }

    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool value) noexcept { readOnly_ = value; }
    bool WantReturns() const noexcept { return wantReturns_; }
    void SetWantReturns(bool value) noexcept { wantReturns_ = value; }
    bool WantTabs() const noexcept { return wantTabs_; }
    void SetWantTabs(bool value) noexcept { wantTabs_ = value; }
    THitStyle HitStyle() const noexcept { return hitStyle_; }
    void SetHitStyle(THitStyle value) noexcept { hitStyle_ = value; }
    bool Overwrite() const noexcept { return overwrite_; }
    void SetOverwrite(bool value);
    bool Modified() const noexcept { return modified_; }
    void SetModified(bool value) noexcept { modified_ = value; }
    bool WordWrap() const noexcept;
    void SetWordWrap(bool on);
    int UndoListMax() const noexcept;
    void SetUndoListMax(int value) noexcept;
    // The delimiter set of the column map, kept by the store for every editor of it.
    const DelimiterSet& Delimiters() const noexcept;
    void SetDelimiters(const DelimiterSet& set);

    // ---- caret ----------------------------------------------------------------------------------------------
    int CaretRow() const override { return caret_.row; }
    int CaretCol() const override { return caretCol_; }
    RowPos CaretPos() const noexcept { return caret_; }  // byte position; past the row end by the padding
    // Moves the caret to a row and display column, normalised towards the left.
    void SetCaretPos(int row, int col) override;
    void SetCaretRow(int row);
    void SetCaretCol(int col);  // normalised in the direction of the move
    bool Focused() const override { return focused_; }
    void SetFocused(bool focused);
    // Nested hiding: the caret shows while the count is 0.
    void HideCaret();
    void ShowCaret();
    bool CaretShown() const noexcept { return caretHide_ == 0; }
    // The caret's pixel position (top left of its row cell).
    int CaretX() const noexcept;
    int CaretY() const noexcept;

    // ---- selection -------------------------------------------------------------------------------------------
    TSelectionMode SelectionMode() const noexcept { return mode_; }
    void SetSelectionMode(TSelectionMode mode);  // ignored while text is dragged
    TSelectionState SelectionState() const noexcept { return state_; }
    const SelectionRange& Selection() const noexcept { return range_; }
    bool Selected() const noexcept { return HasSelection(state_); }
    // Hit mode: a selection made now shows a search hit (sstHitSelected).
    bool HitMode() const noexcept { return hitMode_; }
    void SetHitMode(bool on) noexcept { hitMode_ = on; }
    void SetAnchor();
    void ExtendSelection();
    void CancelSelection();
    // Whether the display column `col` of `row` lies in the selection.
    bool InSelection(int row, int col) const;

    std::int64_t SelStart() const;
    void SetSelStart(std::int64_t offset);
    std::int64_t SelLength() const;
    void SetSelLength(std::int64_t length);
    std::string SelText() const;
    void SelectAll();
    void DeleteSelection();
    void ReplaceSelection(std::string_view text);
    void InsertBlock(std::string_view text);
    void SelectWordAtCaret();
    void Undo();
    void Redo();
    bool CanUndo() const noexcept;
    bool CanRedo() const noexcept;

    // EM_GETSEL / EM_SETSEL: byte offsets; SetSel(0, -1) selects all, a start of -1 cancels the selection, an end
    // of -1 means the end of the text. Offsets are clamped into the text and snapped to a character start.
    std::pair<std::int64_t, std::int64_t> GetSel() const;
    void SetSel(std::int64_t start, std::int64_t end);

    // ---- clipboard -------------------------------------------------------------------------------------------
    // The selection as the clipboard gets it (box rows joined with CR LF, marked as box text).
    ClipText SelectionClip() const;
    bool CopyToClipboard();           // false when nothing was selected or the clipboard refused
    bool CutToClipboard();            // deletes only once the copy reached the clipboard
    void PasteFromClipboard();
    void Paste(const ClipText& clip);  // box text as a block, else stream-wise

    // ---- keyboard --------------------------------------------------------------------------------------------
    // WM_KEYDOWN: navigation keys, Delete, Esc (ends a drag). Returns whether the key was used.
    bool KeyDown(int vk, KeyState state);
    // One typed character from WM_CHAR: a single byte, or a lead byte with its trail. Codes 8, 9, 13 are
    // Back-space, Tab and Enter; other control codes are ignored.
    void Char(std::string_view ch, KeyState state);
    // An IME result string: typed as one text (one undo step); the WM_CHAR echoes that follow are dropped.
    void ImeResult(std::string_view text);
    int ImeEcho() const noexcept { return imeEcho_; }
    // A real key, or a new composition: echoes still awaited will not come, so none is swallowed later.
    void ResetImeEcho() noexcept { imeEcho_ = 0; }
    void TypeText(std::string_view text);
    void Enter(bool shift);
    void BackSpace();
    void Tab(KeyState state);
    void Delete();

    // ---- mouse (client pixels) -------------------------------------------------------------------------------
    void MouseDown(int x, int y, KeyState state);
    void MouseMove(int x, int y, bool leftDown, bool ctrl);
    // `inClient`: released inside the client area.
    void MouseUp(int x, int y, bool ctrl, bool inClient);
    void CancelDrag();
    DragState Drag() const noexcept { return drag_; }
    // The cursor for the mouse at this point, by the AutoCursor rule.
    TCursor CursorAt(int x, int y, bool ctrl) const;
    // The row and (normalised) display column at a pixel.
    std::pair<int, int> PositionAt(int x, int y) const;

    // ---- layout and view origin ------------------------------------------------------------------------------
    void SetFontMetrics(const FontMetrics& font);
    void SetLayoutOptions(const LayoutOptions& options);
    const LayoutOptions& GetLayoutOptions() const noexcept { return layoutOptions_; }
    // Both at once, with one new layout (a font change changes the ruler's height too).
    void SetLayoutInputs(const FontMetrics& font, const LayoutOptions& options);
    const FontMetrics& GetFontMetrics() const noexcept { return font_; }
    void SetClientArea(const ClientArea& client);
    const ClientArea& Client() const noexcept { return client_; }
    const EditorLayout& Layout() const noexcept { return layout_; }
    int TopRow() const noexcept { return topRow_; }
    int TopCol() const noexcept { return topCol_; }
    void SetTopRow(int row);
    void SetTopCol(int col);
    // The last row that can be at the top: the phantom row after a final line break, else the last row.
    int LastTopRow() const;
    void VScroll(int code, int thumb);
    void HScroll(int code, int thumb);
    void ScrollCaret();  // EM_SCROLLCARET
    ScrollRange VScrollRange() const { return VerticalRange(layout_, LastTopRow()); }
    ScrollRange HScrollRange() const { return HorizontalRange(layout_); }

    // ---- offsets (Lines' text: CR LF after raLineEnd rows) -------------------------------------------------------
    std::int64_t OffsetOf(RowPos p) const;
    // Clamped into the text, off the inside of a CR LF and off a trail byte.
    RowPos PosOfOffset(std::int64_t offset) const;
    // EM_POSFROMCHAR: the pixel of an offset. EM_CHARFROMPOS: offset and row at a client pixel, nullopt outside.
    std::pair<int, int> PosFromChar(std::int64_t offset) const;
    std::optional<std::pair<std::int64_t, int>> CharFromPos(int x, int y) const;

    // ---- events ------------------------------------------------------------------------------------------------
    std::function<void()> OnChange;
    std::function<void(bool selected)> OnSelectionChange;
    std::function<void()> OnCaretMoved;
    std::function<void()> OnSelectionModeChange;
    std::function<void()> OnDblClick;
    std::function<void()> OnTopRowChange;
    std::function<void()> OnTopColChange;

    // ---- the store's notifications -------------------------------------------------------------------------------
    void StoreTextChanged(const ChangeRecord& change) override;
    void StoreUpdateEnded(const TEditorScreenStrings& store) override;
    void LinesUpdateBegin() override;
    void LinesUpdateEnd() override;

private:
    enum class Move { Left, Right, Vertical };
    // A row as the caret sees it.
    struct RowInfo {
        std::string_view text;   // the row's bytes; empty on the phantom row
        std::string map;         // its column map (cut at the view limit)
        int length = 0;          // bytes
        int displayLength = 0;   // columns; above the limit when the map does not cover the whole row
        TRowAttribute attribute = raTextEnd;
        char code(int col) const noexcept {
            return col >= 0 && col < static_cast<int>(map.size()) ? map[static_cast<std::size_t>(col)] : '\0';
        }
    };

    RowInfo rowInfo(int row) const;
    ColumnMapOptions mapOptions() const noexcept;
    int maxCaretRow() const;
    bool hasPhantomRow() const;
    int normalise(int row, int col, Move move);
    void moveCaret(int row, int col, Move move);
    void placeCaret(RowPos p);  // a byte position, as the column of the row
    void placeCaretAfterText(RowPos start, std::string_view inserted);
    void caretMoved();
    int posOfCol(int row, int col) const;
    int colOfPos(int row, int pos) const;
    SelectionRange rangeFor(RowPos a, int aCol, RowPos b, int bCol) const;
    std::pair<int, int> boxSlice(int row, int firstCol, int lastCol) const;
    void repaintRange(const SelectionRange& r);
    void setSelection(RowPos anchor, RowPos caret);

    void replaceRow(int row, std::string_view newText);
    void deleteSelectionInto(class RowBlockEdit& edit, RowPos& at) const;
    void insertBlockInto(class RowBlockEdit& edit, int startRow, int startCol, std::string_view text,
                         RowPos& end) const;
    bool unindent(const RowInfo& info);
    void drop(RowPos at, bool copy);
    void navigate(int vk, KeyState state);
    void pageMove(int vk, KeyState state);
    void cancelHitSelection();
    EditorLayout layoutNow() const;
    void updateLayout();
    void applyOrigin(GridOrigin origin);
    void scrollCaretIntoView();
    bool inLeftBar(int x) const noexcept;
    bool inDraggableSelection(int x, int y) const;
    void selectRows(int from, int to);
    struct LinePos {
        int line = 0;
        int offset = 0;  // bytes from the start of the logical line
    };
    LinePos toLinePos(RowPos p) const;
    RowPos fromLinePos(LinePos p) const;
    static LinePos advance(LinePos p, std::string_view inserted);
    void caretOptionsChanged();

    std::shared_ptr<TEditorScreenStrings> store_;
    std::unique_ptr<TEditorStrings> lines_;
    std::unique_ptr<TEditorViewInfo> viewInfo_;
    std::unique_ptr<RowStates> states_;
    TEditorCaret caretOptions_;
    TEditorSpeed speed_;
    NullEditorView nullView_;
    EditorView* view_ = &nullView_;
    ClipboardPort* clipboard_ = nullptr;

    RowPos caret_;
    int caretCol_ = 0;           // display column, never on the second half of a double-byte character
    int rememberedCol_ = -1;     // KeepCaret: the column a vertical move started from; -1 none
    int caretHide_ = 0;
    int caretSuspend_ = 0;       // Lines updates: caret notifications wait until the end
    bool focused_ = false;
    bool readOnly_ = false;
    bool wantReturns_ = true;
    bool wantTabs_ = true;
    bool overwrite_ = false;
    bool modified_ = false;
    THitStyle hitStyle_ = hsSelect;

    TSelectionMode mode_ = smStream;
    TSelectionState state_ = sstNone;
    bool hitMode_ = false;
    RowPos anchor_;
    int anchorCol_ = 0;
    SelectionRange range_;

    DragState drag_ = DragState::Idle;
    bool selecting_ = false;     // the left button is down and moves extend the selection
    bool rowSelecting_ = false;  // ... by whole rows (the press was in the left bar)
    int rowSelectOrigin_ = 0;    // the row pressed in the left bar
    bool caretPending_ = false;  // a caret move happened while notifications were suspended
    bool moved_ = false;         // the mouse has moved half a character from the press point
    int pressX_ = 0;
    int pressY_ = 0;
    int imeEcho_ = 0;

    FontMetrics font_;
    LayoutOptions layoutOptions_;
    ClientArea client_;
    EditorLayout layout_;
    int topRow_ = 0;
    int topCol_ = 0;
};

}  // namespace editor
