// What the group and script maintenance windows share: list box access with selection by exact name, their
// pictures (kept as whole .ico files in the resources), the pop-up menu of their list, and the plain message
// for a name that gives no plain folder or file of its own.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "library/NameRules.h"
#include "win/WinHandles.h"

namespace maintenance {

// List box entries. listText is empty for an index without an entry.
int listCount(HWND list);
int listSelection(HWND list);  // -1 without a selection
std::string listText(HWND list, int index);
// Updates suspended, every entry equal to `name` byte for byte (so letter case counts, unlike the list's own
// search) is selected. True when one was; otherwise the selection stays.
bool listSelectExact(HWND list, const std::string& name);

// The entry of `size` pixels of an .ico file stored as RCDATA `id`, else its first entry; null when missing.
HICON iconLoad(int id, int size);

// A window's icon in both sizes and the pictures of its buttons, kept as long as the window.
class WindowPictures {
public:
    void apply(HWND window, int windowIconId, std::initializer_list<std::pair<HWND, int>> buttonIcons);

private:
    win::UniqueIcon big_;
    win::UniqueIcon small_;
    std::vector<win::UniqueIcon> buttons_;
};

// Appends a pop-up item with a picture (owned by the giver, which outlives the menu; null for none).
void popupItemAppend(HMENU menu, int id, const char* caption, HBITMAP picture);
// Shows a list's pop-up menu at the mouse, or below the selected entry when the keyboard asked (-1).
void listPopupShow(HWND list, HMENU menu, HWND owner, LPARAM screenPoint);

// For WM_PARENTNOTIFY of a form: true when it reports a left button pressed on `list` while it is enabled. A
// click on the entry already selected changes no selection, so the form learns of it this way.
bool listPressed(HWND form, HWND list, WPARAM wp, LPARAM lp);

// A name that passes the name rule but gives no plain folder or file of its own (a dot name, for groups a
// trailing period or blank, a device name): beeps and shows its plain message, then true.
bool nameHazardRefused(const std::string& name, NameKind kind);

}  // namespace maintenance
