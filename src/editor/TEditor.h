// The TEditor window: a child window of class "TEditor" around the portable editor core. It turns messages into
// calls on the core and back, owns the caret while focused, the clipboard formats, the input method, the cursors
// and the default pop-up menu, and paints the rows plainly (the full painter replaces paintArea).
#pragma once

#include <windows.h>

#include <string>

#include "editor/EditorCore.h"
#include "win/WinHandles.h"

class TEditor : private EditorView, private editor::ClipboardPort {
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

    // Properties the host sets besides those of the core.
    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color);
    COLORREF FontColor() const noexcept { return fontColor_; }
    void SetFontColor(COLORREF color);
    // Font face, height in pixels (positive: cell height; as LOGFONT's lfHeight), character set and style.
    void SetFont(const std::string& face, int height, BYTE charset = SHIFTJIS_CHARSET, bool bold = false,
                 bool italic = false);
    enum class ScrollBars { None, Horizontal, Vertical, Both };
    void SetScrollBars(ScrollBars bars);
    // The host's pop-up menu (not owned; its commands go to the parent window); null: the control's own.
    void SetPopupMenu(HMENU menu) noexcept { popup_ = menu; }
    HMENU DefaultPopupMenu() const noexcept { return defaultMenu_.get(); }

    // Clipboard operations as the host calls them.
    void CutToClipboard() { core_.CutToClipboard(); }
    void CopyToClipboard() { core_.CopyToClipboard(); }
    void PasteFromClipboard() { core_.PasteFromClipboard(); }

private:
    static LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT textMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

    // EditorView
    void InvalidateRows(int first, int last) override;
    void InvalidateAll() override;
    void ViewScrolled(int rows, int cols) override;
    void CaretChanged() override;
    void ScrollBarsChanged() override;
    // ClipboardPort
    bool Put(const editor::ClipText& clip) override;
    std::optional<editor::ClipText> Get() override;

    void created();
    void measureFont();
    void sizeChanged();
    void paintArea(HDC dc, const RECT& area);
    void paintRow(HDC dc, int row, int y, const RECT& textArea);
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

    HWND hwnd_ = nullptr;
    bool ownedByWindow_ = false;  // made by a window created without an object: deleted with it
    editor::EditorCore core_;
    win::UniqueFont font_;
    LOGFONTA logFont_{};
    COLORREF color_ = RGB(255, 255, 255);
    COLORREF fontColor_ = RGB(0, 0, 0);
    ScrollBars scrollBars_ = ScrollBars::Both;
    HMENU popup_ = nullptr;
    win::UniqueMenu defaultMenu_;
    bool caretCreated_ = false;
    bool caretVisible_ = false;
    int caretWidth_ = 0;
    int caretHeight_ = 0;
};
