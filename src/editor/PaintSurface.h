// The surface the editor's painter draws on: a few drawing calls in pixels, so that the painting decisions stay
// portable and can be recorded in tests. The window's surface is GDI (GdiSurface.h).
#pragma once

#include <algorithm>
#include <string_view>

#include "editor/Fountain.h"

namespace editor {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint& o) const noexcept { return x == o.x && y == o.y; }
};

// Left and top inside, right and bottom outside.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const noexcept { return right <= left || bottom <= top; }
    int width() const noexcept { return right - left; }
    int height() const noexcept { return bottom - top; }
    PixelRect intersect(const PixelRect& o) const noexcept {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
    bool intersects(const PixelRect& o) const noexcept { return !intersect(o).empty(); }
    bool operator==(const PixelRect& o) const noexcept {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

class PaintSurface {
public:
    virtual ~PaintSurface() = default;

    virtual void FillRect(const PixelRect& rect, TColor color) = 0;
    // Draws `text` (CP932) with its first cell's top left at (x, y), every byte advancing `advance` pixels (a
    // double-byte character two advances), in the control's font with `style` added (underline excepted: the
    // painter draws its own), clipped to `clip`. With `back` not clNone the clip rectangle is first filled with
    // it (opaque); with clNone the text is drawn on what is there.
    virtual void DrawText(int x, int y, const PixelRect& clip, std::string_view text, int advance, TColor color,
                          TColor back, TFontStyles style) = 0;
    // A line through the points, one pixel wide, the last point included.
    virtual void DrawPolyline(const PixelPoint* points, int count, TColor color) = 0;
    // The pixels left, left + 2, left + 4 ... below `right` on pixel row y.
    virtual void DrawDottedLine(int left, int right, int y, TColor color) = 0;
    // Copies the prepared background (margins, ruler strip, left bar and its edge) into `rect`.
    virtual void CopyBackground(const PixelRect& rect) = 0;
};

}  // namespace editor
