// The editor painter on GDI.
#include "editor/GdiSurface.h"

#include <algorithm>
#include <cstring>

namespace editor {

namespace {
COLORREF ref(TColor color) noexcept { return static_cast<COLORREF>(color & 0x00FFFFFFu); }
RECT rectOf(const PixelRect& r) noexcept { return RECT{r.left, r.top, r.right, r.bottom}; }
int sign(int v) noexcept { return (v > 0) - (v < 0); }
}  // namespace

// ---- fonts -----------------------------------------------------------------------------------------------------

void GdiFonts::Set(const EditorFont& font) {
    for (auto& f : fonts_) f.reset();
    base_ = LOGFONTA{};
    base_.lfHeight = font.Height();
    base_.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
    base_.lfItalic = (font.Style() & fsItalic) ? TRUE : FALSE;
    base_.lfStrikeOut = (font.Style() & fsStrikeOut) ? TRUE : FALSE;
    base_.lfCharSet = static_cast<BYTE>(font.Charset());
    base_.lfOutPrecision = OUT_DEFAULT_PRECIS;
    base_.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    base_.lfQuality = DEFAULT_QUALITY;
    base_.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::string& name = font.Name();  // at most 31 bytes, cut on a character boundary
    std::memcpy(base_.lfFaceName, name.data(), std::min(name.size(), sizeof(base_.lfFaceName) - 1));
}

HFONT GdiFonts::Get(TFontStyles style) {
    const std::size_t index =
        ((style & fsBold) ? 1u : 0u) | ((style & fsItalic) ? 2u : 0u) | ((style & fsStrikeOut) ? 4u : 0u);
    win::UniqueFont& font = fonts_[index];
    if (!font) {
        LOGFONTA lf = base_;
        if (style & fsBold) lf.lfWeight = FW_BOLD;
        if (style & fsItalic) lf.lfItalic = TRUE;
        if (style & fsStrikeOut) lf.lfStrikeOut = TRUE;
        font.reset(::CreateFontIndirectA(&lf));
    }
    return font.get();
}

FontMetrics GdiFonts::Metrics(HDC dc) {
    FontMetrics metrics;
    HFONT font = Get(0);
    if (!dc || !font) return metrics;
    win::SelectGuard select(dc, font);
    TEXTMETRICA tm{};
    if (::GetTextMetricsA(dc, &tm)) {
        metrics.height = tm.tmHeight;
        metrics.externalLeading = tm.tmExternalLeading;
        metrics.aveCharWidth = tm.tmAveCharWidth;
    }
    return metrics;
}

// ---- the surface -----------------------------------------------------------------------------------------------

GdiSurface::GdiSurface(HDC dc, GdiFonts& fonts, HDC background)
    : dc_(dc), fonts_(fonts), background_(background), saved_(dc) {
    ::SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    // ETO_OPAQUE fills a piece's rectangle; the glyphs then need no background of their own.
    ::SetBkMode(dc_, TRANSPARENT);
}

void GdiSurface::textColor(TColor color) {
    if (color == textColor_) return;
    ::SetTextColor(dc_, ref(color));
    textColor_ = color;
}

void GdiSurface::backColor(TColor color) {
    if (color == backColor_) return;
    ::SetBkColor(dc_, ref(color));
    backColor_ = color;
}

void GdiSurface::selectFont(TFontStyles style) {
    style &= fsBold | fsItalic | fsStrikeOut;
    if (style == fontStyle_) return;
    HFONT font = fonts_.Get(style);
    font_.reset();
    if (font) font_.emplace(dc_, font);
    fontStyle_ = style;
}

void GdiSurface::selectPen(TColor color) {
    if (color == penColor_ && pen_) return;
    penSelect_.reset();
    pen_.reset(::CreatePen(PS_SOLID, 1, ref(color)));
    if (pen_) penSelect_.emplace(dc_, pen_.get());
    penColor_ = color;
}

void GdiSurface::FillRect(const PixelRect& rect, TColor color) {
    if (rect.empty()) return;
    backColor(color);
    const RECT r = rectOf(rect);
    ::ExtTextOutA(dc_, r.left, r.top, ETO_OPAQUE, &r, "", 0, nullptr);
}

void GdiSurface::DrawText(int x, int y, const PixelRect& clip, std::string_view text, int advance, TColor color,
                          TColor back, TFontStyles style) {
    if (clip.empty()) return;
    UINT options = ETO_CLIPPED;
    if (back != clNone) {
        backColor(back);
        options |= ETO_OPAQUE;
    }
    const RECT r = rectOf(clip);
    if (text.empty()) {
        if (options & ETO_OPAQUE) ::ExtTextOutA(dc_, r.left, r.top, ETO_OPAQUE, &r, "", 0, nullptr);
        return;
    }
    selectFont(style);
    textColor(color);
    // One advance per byte: ExtTextOutA adds the two of a double-byte character together.
    if (dx_.size() < text.size() || dxAdvance_ != advance) {
        dx_.assign(std::max(text.size(), dx_.size()), advance);
        dxAdvance_ = advance;
    }
    ::ExtTextOutA(dc_, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), dx_.data());
}

void GdiSurface::DrawPolyline(const PixelPoint* points, int count, TColor color) {
    if (count <= 0) return;
    const PixelPoint last = points[count - 1];
    if (count == 1) {
        ::SetPixelV(dc_, last.x, last.y, ref(color));
        return;
    }
    selectPen(color);
    std::vector<POINT>& line = line_;
    line.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) line[static_cast<std::size_t>(i)] = POINT{points[i].x, points[i].y};
    // GDI leaves out a line's last pixel: a straight or diagonal segment is drawn one step further, any other
    // gets its end pixel set.
    const int dx = last.x - points[count - 2].x;
    const int dy = last.y - points[count - 2].y;
    const bool stepable = (dx != 0 || dy != 0) && (dx == 0 || dy == 0 || dx == dy || dx == -dy);
    if (stepable) {
        line.back().x += sign(dx);
        line.back().y += sign(dy);
    }
    ::Polyline(dc_, line.data(), count);
    if (!stepable) ::SetPixelV(dc_, last.x, last.y, ref(color));
}

void GdiSurface::DrawDottedLine(int left, int right, int y, TColor color) {
    for (int x = left; x < right; x += 2) ::SetPixelV(dc_, x, y, ref(color));
}

void GdiSurface::CopyBackground(const PixelRect& rect) {
    if (!background_ || rect.empty()) return;
    ::BitBlt(dc_, rect.left, rect.top, rect.width(), rect.height(), background_, rect.left, rect.top, SRCCOPY);
}

// ---- the painter on a window -----------------------------------------------------------------------------------

void GdiPainter::prepareBackground(HDC like, const PaintInput& input) {
    const BackgroundKey key = EditorPainter::BackgroundKeyOf(input);
    if (background_ && background_->key == key) return;
    background_.reset();
    auto b = std::make_unique<Background>();
    b->bitmap.reset(::CreateCompatibleBitmap(like, std::max(1, key.width), std::max(1, key.height)));
    b->dc = win::MemoryDC(like);
    if (!b->bitmap || !b->dc) return;  // painted directly instead
    b->select.emplace(b->dc.get(), b->bitmap.get());
    {
        GdiSurface surface(b->dc.get(), fonts_, nullptr);
        EditorPainter::PaintBackground(surface, input);
    }
    b->key = key;
    background_ = std::move(b);
}

void GdiPainter::Paint(HDC dc, const PaintInput& input) {
    if (!dc || !input.showing) return;
    prepareBackground(dc, input);
    GdiSurface surface(dc, fonts_, background_ ? background_->dc.get() : nullptr);
    if (!background_) EditorPainter::PaintBackground(surface, input);
    painter_.Paint(surface, input);
}

}  // namespace editor
