// The caret and speed option objects of the editor (Caret with its Cursors, Speed): each reports every change
// to the control, and the setters clamp instead of failing.
#pragma once

#include "editor/Fountain.h"

// Cursor numbers of the application's cursor table: the standard ones are negative, 0 is the default arrow,
// positive numbers are loaded by the program (the editor loads 1958 and 1959).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crDrag = -12;
constexpr TCursor crEditorRightArrow = 1958;   // "RightArrow": the left bar
constexpr TCursor crEditorDragSelCopy = 1959;  // "DragSelCopy": dragging selected text with Ctrl

enum TSelDragMode { dmAutomatic, dmManual };
enum TCaretStyle { csDefault, csBrief };
enum THitStyle { hsSelect, hsDraw, hsCaret };

class TEditorCursors : public TNotifyPersistent {
public:
    TCursor DefaultCursor() const noexcept { return default_; }
    TCursor DragSelCursor() const noexcept { return dragSel_; }
    TCursor DragSelCopyCursor() const noexcept { return dragSelCopy_; }
    TCursor InSelCursor() const noexcept { return inSel_; }
    TCursor LeftMarginCursor() const noexcept { return leftMargin_; }
    TCursor TopMarginCursor() const noexcept { return topMargin_; }
    void SetDefaultCursor(TCursor v) { setField(default_, v); }
    void SetDragSelCursor(TCursor v) { setField(dragSel_, v); }
    void SetDragSelCopyCursor(TCursor v) { setField(dragSelCopy_, v); }
    void SetInSelCursor(TCursor v) { setField(inSel_, v); }
    void SetLeftMarginCursor(TCursor v) { setField(leftMargin_, v); }
    void SetTopMarginCursor(TCursor v) { setField(topMargin_, v); }

private:
    TCursor default_ = crIBeam;
    TCursor dragSel_ = crDrag;
    TCursor dragSelCopy_ = crEditorDragSelCopy;
    TCursor inSel_ = crDefault;
    TCursor leftMargin_ = crEditorRightArrow;
    TCursor topMargin_ = crDefault;
};

class TEditorCaret : public TNotifyPersistent {
public:
    TEditorCaret();

    TEditorCursors& Cursors() noexcept { return cursors_; }
    const TEditorCursors& Cursors() const noexcept { return cursors_; }

    bool AutoCursor() const noexcept { return autoCursor_; }
    bool AutoIndent() const noexcept { return autoIndent_; }
    bool BackSpaceUnIndent() const noexcept { return backSpaceUnIndent_; }
    bool FreeCaret() const noexcept { return freeCaret_; }
    bool FreeRow() const noexcept { return freeRow_; }
    bool InTab() const noexcept { return inTab_; }
    bool KeepCaret() const noexcept { return keepCaret_; }
    bool LockScroll() const noexcept { return lockScroll_; }
    bool NextLine() const noexcept { return nextLine_; }
    bool PrevSpaceIndent() const noexcept { return prevSpaceIndent_; }
    bool RowSelect() const noexcept { return rowSelect_; }
    TSelDragMode SelDragMode() const noexcept { return selDragMode_; }
    bool SelMove() const noexcept { return selMove_; }
    bool SoftTab() const noexcept { return softTab_; }
    TCaretStyle Style() const noexcept { return style_; }
    bool TabIndent() const noexcept { return tabIndent_; }
    int TabSpaceCount() const noexcept { return tabSpaceCount_; }

    void SetAutoCursor(bool v) { setField(autoCursor_, v); }
    void SetAutoIndent(bool v) { setField(autoIndent_, v); }
    void SetBackSpaceUnIndent(bool v) { setField(backSpaceUnIndent_, v); }
    void SetFreeCaret(bool v) { setField(freeCaret_, v); }
    void SetFreeRow(bool v) { setField(freeRow_, v); }
    void SetInTab(bool v) { setField(inTab_, v); }
    void SetKeepCaret(bool v) { setField(keepCaret_, v); }
    void SetLockScroll(bool v) { setField(lockScroll_, v); }
    void SetNextLine(bool v) { setField(nextLine_, v); }
    void SetPrevSpaceIndent(bool v) { setField(prevSpaceIndent_, v); }
    void SetRowSelect(bool v) { setField(rowSelect_, v); }
    void SetSelDragMode(TSelDragMode v) { setField(selDragMode_, v); }
    void SetSelMove(bool v) { setField(selMove_, v); }
    void SetSoftTab(bool v) { setField(softTab_, v); }
    void SetStyle(TCaretStyle v) { setField(style_, v); }
    void SetTabIndent(bool v) { setField(tabIndent_, v); }
    // Clamped to 2..8, then rounded down to an even number: 7 gives 6, 1 gives 2, 12 gives 8.
    void SetTabSpaceCount(int v);

private:
    TEditorCursors cursors_;
    bool autoCursor_ = true;
    bool autoIndent_ = true;
    bool backSpaceUnIndent_ = true;
    bool freeCaret_ = false;
    bool freeRow_ = false;
    bool inTab_ = false;
    bool keepCaret_ = true;
    bool lockScroll_ = false;
    bool nextLine_ = true;
    bool prevSpaceIndent_ = false;
    bool rowSelect_ = true;
    TSelDragMode selDragMode_ = dmAutomatic;
    bool selMove_ = true;
    bool softTab_ = false;
    TCaretStyle style_ = csDefault;
    bool tabIndent_ = false;
    int tabSpaceCount_ = 8;
};

// Caret and page acceleration while a key auto-repeats, and how far a rebuild computes the colouring states.
class TEditorSpeed : public TNotifyPersistent {
public:
    static constexpr int kMinRange = 1;
    static constexpr int kMaxRange = 10;

    int CaretVerticalAc() const noexcept { return caretVerticalAc_; }
    bool InitBracketsFull() const noexcept { return initBracketsFull_; }
    int PageVerticalRange() const noexcept { return pageVerticalRange_; }
    int PageVerticalRangeAc() const noexcept { return pageVerticalRangeAc_; }
    // Each clamped to 1..10.
    void SetCaretVerticalAc(int v) { setField(caretVerticalAc_, clamp(v)); }
    void SetInitBracketsFull(bool v) { setField(initBracketsFull_, v); }
    void SetPageVerticalRange(int v) { setField(pageVerticalRange_, clamp(v)); }
    void SetPageVerticalRangeAc(int v) { setField(pageVerticalRangeAc_, clamp(v)); }

private:
    static int clamp(int v) noexcept { return v < kMinRange ? kMinRange : v > kMaxRange ? kMaxRange : v; }

    int caretVerticalAc_ = 2;
    bool initBracketsFull_ = false;
    int pageVerticalRange_ = 2;
    int pageVerticalRangeAc_ = 2;
};
