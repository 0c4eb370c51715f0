// A status bar's second part: a short notice at the right of the status line, which keeps the rest.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

// Lays `bar` out in one part when `text` is empty, else in two, the second just wide enough for `text` (and
// never narrower than `widest` needs, when given) and showing it.
void statusNoticeSet(HWND bar, const std::string& text, const char* widest = nullptr);

}  // namespace forms
