// The TEditor window: a child window of class "TEditor" around the portable editor core and its display. It turns
// messages into calls on the core, carries the display's repaint plans out (ScrollWindowEx, InvalidateRect),
// paints through the GDI painter, and owns the caret while focused, the clipboard formats, the input method,
// the cursors and the default pop-up menu.
#pragma once

#include <windows.h>

#include <string>

#include "editor/EditorCore.h"
#include "editor/EditorDisplay.h"
#include "editor/EditorScreenStrings.h"
#include "editor/EditorStrings.h"
#include "editor/GdiSurface.h"
#include "win/WinHandles.h"

// Which scroll bars the control shows.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TEditor : private editor::DisplayWindow, private editor::ClipboardPort {
public:
    static constexpr const char* kClassName = "TEditor";
    static constexpr int kDefaultWidth = 185;
    static constexpr int kDefaultHeight = 89;

    // Registers the window class and the "TEditor Box Type" clipboard format and loads the cursors, once for
    // every instance of the process. Creating a window does it too.
    static bool RegisterClass();
    // The object behind a TEditor window (null for any other window).
    static TEditor* FromHandle(HWND hwnd) noexcept;
    static UINT BoxFormat() noexcept;
    // The cursor of a cursor number from the cursor table (1958, 1959 and the standard ones).
    static HCURSOR CursorOf(TCursor cursor) noexcept;

    TEditor();
    ~TEditor() override;
    TEditor(const TEditor&) = delete;
    TEditor& operator=(const TEditor&) = delete;

    // Creates the window as a child of `parent`. A window created with CreateWindowExA and this object as
    // lpParam is the same; without an object (a dialog template) the window makes one of its own.
    HWND Create(HWND parent, int x, int y, int width = kDefaultWidth, int height = kDefaultHeight, int id = 0);
    HWND Handle() const noexcept { return hwnd_; }
    editor::EditorCore& Core() noexcept { return core_; }
    editor::EditorDisplay& Display() noexcept { return display_; }

    // ---- published properties: each option object repaints and relays out the control on every change --------
    TEditorCaret& Caret() noexcept { return core_.Caret(); }
    TColor Color() const noexcept { return display_.Color(); }
    void SetColor(TColor color) { display_.SetColor(color); }
    EditorFont& Font() noexcept { return display_.Options().Font; }
    TEditorLeftbar& Leftbar() noexcept { return display_.Options().Leftbar; }
    TEditorMargin& Margin() noexcept { return display_.Options().Margin; }
    TEditorMarks& Marks() noexcept { return display_.Options().Marks; }
    TEditorRuler& Ruler() noexcept { return display_.Options().Ruler; }
    TEditorImagebar& Imagebar() noexcept { return display_.Options().Imagebar; }
    TEditorSpeed& Speed() noexcept { return core_.Speed(); }
    TEditorViewInfo& View() noexcept { return core_.View(); }
    TEditorWrapOption& WrapOption() noexcept { return core_.Store().WrapOption(); }
    TEditorStrings& Lines() noexcept { return core_.Lines(); }
    TScrollStyle ScrollBars() const noexcept { return scrollBars_; }
    void SetScrollBars(TScrollStyle bars);
    // The control's own cursor, shown while Caret.AutoCursor is off.
    TCursor Cursor() const noexcept { return cursor_; }
    void SetCursor(TCursor cursor) noexcept { cursor_ = cursor; }
    bool ReadOnly() const noexcept { return core_.ReadOnly(); }
    void SetReadOnly(bool value) noexcept { core_.SetReadOnly(value); }
    THitStyle HitStyle() const noexcept { return core_.HitStyle(); }
    void SetHitStyle(THitStyle value) noexcept { core_.SetHitStyle(value); }
    int UndoListMax() const noexcept { return core_.UndoListMax(); }
    void SetUndoListMax(int value) noexcept { core_.SetUndoListMax(value); }
    bool WantReturns() const noexcept { return core_.WantReturns(); }
    void SetWantReturns(bool value) noexcept { core_.SetWantReturns(value); }
    bool WantTabs() const noexcept { return core_.WantTabs(); }
    void SetWantTabs(bool value) noexcept { core_.SetWantTabs(value); }
    bool WordWrap() const noexcept { return core_.WordWrap(); }
    void SetWordWrap(bool on) { core_.SetWordWrap(on); }
    int TopRow() const noexcept { return core_.TopRow(); }
    void SetTopRow(int row) { core_.SetTopRow(row); }
    int TopCol() const noexcept { return core_.TopCol(); }
    void SetTopCol(int col) { core_.SetTopCol(col); }
    // The host's pop-up menu (not owned; its commands go to the parent window); null: the control's own.
    void SetPopupMenu(HMENU menu) noexcept { popup_ = menu; }
    HMENU DefaultPopupMenu() const noexcept { return defaultMenu_.get(); }

    // Clipboard operations as the host calls them.
    void CutToClipboard() { core_.CutToClipboard(); }
    void CopyToClipboard() { core_.CopyToClipboard(); }
    void PasteFromClipboard() { core_.PasteFromClipboard(); }

    // Text rows the last WM_PAINT drew (for measuring what a repaint costs).
    int RowsPainted() const noexcept { return rowsPainted_; }

private:
    static LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT textMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

    // DisplayWindow
    bool Showing() const override;
    editor::FontMetrics FontChanged(const EditorFont& font) override;
    void Repaint(const editor::PixelRepaint& plan) override;
    void CaretChanged() override;
    void ScrollBarsChanged() override;
    void MoveComposition(int x, int y) override;
    // ClipboardPort
    bool Put(const editor::ClipText& clip) override;
    std::optional<editor::ClipText> Get() override;

    void created();
    editor::FontMetrics measureFont();
    void setFontFrom(const LOGFONTA& lf);
    void sizeChanged();
    void paint();
    void scrolled(UINT msg, WPARAM wp);
    void placeCaret();
    void moveCompositionWindow();
    void keyDown(WPARAM vk, LPARAM data);
    void charTyped(WPARAM code);
    void imeComposition(LPARAM flags);
    void showPopup(int x, int y);
    void command(int id);
    void buildDefaultMenu();
    void putEmptyText();
    editor::KeyState keyState(LPARAM data = 0) const noexcept;

    // hwnd_ comes first: the display asks whether the window shows while it is being made.
    HWND hwnd_ = nullptr;
    bool ownedByWindow_ = false;  // made by a window created without an object: deleted with it
    editor::EditorCore core_;
    editor::GdiPainter gdi_;
    editor::EditorDisplay display_{core_, *this};
    TScrollStyle scrollBars_ = ssBoth;
    TCursor cursor_ = crIBeam;
    HMENU popup_ = nullptr;
    win::UniqueMenu defaultMenu_;
    bool caretCreated_ = false;
    bool caretVisible_ = false;
    int caretWidth_ = 0;
    int caretHeight_ = 0;
    int rowsPainted_ = 0;
    unsigned char pendingLead_ = 0;  // a lead byte whose trail has not come yet
};
