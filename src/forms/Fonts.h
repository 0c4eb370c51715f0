// Screen scaling and the program's fonts.
// The layouts are designed at 96 DPI. The process is system-DPI aware (see the manifest), so on a high-DPI
// screen every layout pixel is scaled by dpi / 96 here instead of being stretched as a bitmap by Windows.
#pragma once

#include <windows.h>

namespace forms {

// The screen's logical DPI (96 on a normal screen).
int screenDpi();

// A 96-DPI layout length in device pixels on this screen.
int scaled(int designPixels);

// The inverse: device pixels as 96-DPI layout pixels.
int unscaled(int devicePixels);

// "ＭＳ Ｐゴシック" with the Shift-JIS character set, `designPixels` high (character height, 96-DPI pixels).
// Fonts are created once per size and live until the program ends; callers never delete them.
HFONT formFont(int designPixels = 12);

// A font of another face, also cached for the program's life.
HFONT namedFont(const char* face, int designPixels, int weight = FW_NORMAL);

}  // namespace forms
