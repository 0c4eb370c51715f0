// The editor painter on GDI: a surface over a device context (ExtTextOutA with fixed advances, opaque and
// clipped), the control's font and its styled variants, and the background bitmap of margins and left bar,
// prepared again whenever what it shows changes. Every GDI object is held by the shared guards.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "editor/EditorPainter.h"
#include "win/WinHandles.h"

namespace editor {

// The control's font and the variants the painter asks for (bold, italic, strike-out; an underline is drawn
// by the painter as a dotted line, never by the font).
class GdiFonts {
public:
    void Set(const EditorFont& font);  // forgets the fonts made so far
    // The font for the control's font with `style` added; made on first use. Null only when GDI refuses.
    HFONT Get(TFontStyles style);
    // Text metrics of the plain font on `dc`.
    FontMetrics Metrics(HDC dc);
    // The plain font as the platform describes it (for WM_GETFONT's callers and the input method).
    const LOGFONTA& LogFont() const noexcept { return base_; }

private:
    LOGFONTA base_{};
    std::array<win::UniqueFont, 8> fonts_;  // by bold | italic << 1 | strike-out << 2
};

class GdiSurface : public PaintSurface {
public:
    // `background` is the DC holding the prepared background bitmap (null: CopyBackground draws nothing).
    GdiSurface(HDC dc, GdiFonts& fonts, HDC background);
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    void FillRect(const PixelRect& rect, TColor color) override;
    void DrawText(int x, int y, const PixelRect& clip, std::string_view text, int advance, TColor color, TColor back,
                  TFontStyles style) override;
    void DrawPolyline(const PixelPoint* points, int count, TColor color) override;
    void DrawDottedLine(int left, int right, int y, TColor color) override;
    void CopyBackground(const PixelRect& rect) override;

    HDC dc() const noexcept { return dc_; }

private:
    void selectFont(TFontStyles style);
    void selectPen(TColor color);
    void textColor(TColor color);
    void backColor(TColor color);

    HDC dc_;
    GdiFonts& fonts_;
    HDC background_;
    win::SavedDCState saved_;  // text colour, background, alignment and mode come back at the end
    std::optional<win::SelectGuard> font_;
    TFontStyles fontStyle_ = ~TFontStyles{0};
    win::UniquePen pen_;
    std::optional<win::SelectGuard> penSelect_;  // after pen_: the pen is deselected before it is deleted
    TColor penColor_ = clNone;
    TColor textColor_ = clNone;
    TColor backColor_ = clNone;
    std::vector<INT> dx_;  // the advance of every byte
    int dxAdvance_ = 0;
    std::vector<POINT> line_;
};

// What a window keeps for painting: the painter, the fonts, and the background bitmap.
class GdiPainter {
public:
    void SetFont(const EditorFont& font) { fonts_.Set(font); }
    FontMetrics Metrics(HDC dc) { return fonts_.Metrics(dc); }
    HFONT PlainFont() { return fonts_.Get(0); }
    const LOGFONTA& LogFont() const noexcept { return fonts_.LogFont(); }
    // Paints input.update on `dc` (a paint DC, a window DC or a memory DC); nothing while not showing.
    void Paint(HDC dc, const PaintInput& input);
    const EditorPainter& Painter() const noexcept { return painter_; }

private:
    struct Background {
        win::UniqueBitmap bitmap;
        win::MemoryDC dc;
        std::optional<win::SelectGuard> select;  // last: the bitmap leaves the DC before either goes
        BackgroundKey key;
    };
    void prepareBackground(HDC like, const PaintInput& input);

    EditorPainter painter_;
    GdiFonts fonts_;
    std::unique_ptr<Background> background_;
};

}  // namespace editor
