// Resources of the editor control: the cursor names and the commands of its own pop-up menu (4000-4999).
#pragma once

// Cursors, by name: the left bar's arrow (cursor 1958), dragging selected text (the standard drag cursor) and
// dragging with Ctrl to copy (cursor 1959).
#define EDITOR_CURSOR_RIGHTARROW "RightArrow"
#define EDITOR_CURSOR_DRAGSEL "DragSel"
#define EDITOR_CURSOR_DRAGSELCOPY "DragSelCopy"

// The default pop-up menu.
#define IDM_EDITOR_UNDO 4001
#define IDM_EDITOR_REDO 4002
#define IDM_EDITOR_CUT 4003
#define IDM_EDITOR_COPY 4004
#define IDM_EDITOR_PASTE 4005
#define IDM_EDITOR_BOXPASTE 4006
#define IDM_EDITOR_DELETE 4007
#define IDM_EDITOR_SELECTALL 4008
#define IDM_EDITOR_BOXMODE 4009
#define IDM_EDITOR_MARKSET 4010   // 4010..4019: set mark 0..9
#define IDM_EDITOR_MARKJUMP 4020  // 4020..4029: jump to mark 0..9
