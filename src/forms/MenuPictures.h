// Pictures of menu items: one picture of an image list as a bitmap a menu item can show.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "win/WinHandles.h"

namespace forms {

// The 16 x 16 picture `index` of `list` (drawn on magenta, which becomes transparent) as a 32-bit bitmap with
// alpha for MENUITEMINFO's hbmpItem; null when it cannot be made.
win::UniqueBitmap menuPictureFrom(HIMAGELIST list, int index);

}  // namespace forms
