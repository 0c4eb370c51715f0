// The painter's option objects of the editor control (Leftbar, Margin, Marks, Ruler, Imagebar, and the font as
// the painter reads it): their defaults, their clamping setters, and the layout values each of them decides.
// Every object reports a change through OnChange; nested BeginUpdate/EndUpdate pairs postpone the report.
#pragma once

#include <string>

#include "editor/EditorLayout.h"
#include "editor/Fountain.h"

class TEditorStringList;

namespace editor {
// Colours the painter's defaults use, 0x00BBGGRR.
constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kGray = 0x808080;
constexpr TColor kBlue = 0xFF0000;
}  // namespace editor

// nmRow numbers every row (and the phantom row after a final line break); nmLine only the first row of each
// logical line, with the line's index.
enum TShowNumberMode { nmRow, nmLine };

// The line-number bar left of the text.
class TEditorLeftbar : public TNotifyPersistent {
public:
    static constexpr int kMinColumn = 1;
    static constexpr int kMaxColumn = 8;
    static constexpr int kMaxMargin = 100;

    TColor BkColor() const noexcept { return bkColor_; }
    TColor Color() const noexcept { return color_; }
    int Column() const noexcept { return column_; }
    bool Edge() const noexcept { return edge_; }
    int LeftMargin() const noexcept { return leftMargin_; }
    int RightMargin() const noexcept { return rightMargin_; }
    bool ShowNumber() const noexcept { return showNumber_; }
    TShowNumberMode ShowNumberMode() const noexcept { return showNumberMode_; }
    bool Visible() const noexcept { return visible_; }
    bool ZeroBase() const noexcept { return zeroBase_; }
    bool ZeroLead() const noexcept { return zeroLead_; }

    void SetBkColor(TColor value) { setField(bkColor_, value); }
    void SetColor(TColor value) { setField(color_, value); }
    void SetColumn(int value);  // clamped to 1..8
    void SetEdge(bool value) { setField(edge_, value); }
    void SetLeftMargin(int value);   // clamped to 0..100 pixels
    void SetRightMargin(int value);  // clamped to 0..100 pixels
    void SetShowNumber(bool value) { setField(showNumber_, value); }
    void SetShowNumberMode(TShowNumberMode value);  // a value outside the two modes is taken as nmRow
    void SetVisible(bool value) { setField(visible_, value); }
    void SetZeroBase(bool value) { setField(zeroBase_, value); }
    void SetZeroLead(bool value) { setField(zeroLead_, value); }

    void ApplyTo(editor::LayoutOptions& options) const noexcept;

    // The largest number the bar shows for these rows (it decides the digit columns); 0 when no number is
    // shown. The phantom row after a final line break (or of an empty text) is numbered too.
    long long LargestNumber(const TEditorStringList& rows) const;
    // The number shown on row `row` (0..rows.Count()), or -1 for a row without a number.
    long long NumberOfRow(const TEditorStringList& rows, int row) const;
    // `number` right-aligned in `digits` columns, the leading blanks "0" with ZeroLead.
    std::string NumberText(long long number, int digits) const;

private:
    TColor bkColor_ = editor::kSilver;
    TColor color_ = clBlack;
    int column_ = 4;
    bool edge_ = true;
    int leftMargin_ = 8;
    int rightMargin_ = 4;
    bool showNumber_ = true;
    TShowNumberMode showNumberMode_ = nmRow;
    bool visible_ = false;
    bool zeroBase_ = false;
    bool zeroLead_ = false;
};

// Blank space around the text: left of it (right of the left bar), above it, between rows and between characters.
class TEditorMargin : public TNotifyPersistent {
public:
    static constexpr int kMax = 100;

    int Character() const noexcept { return character_; }
    int Left() const noexcept { return left_; }
    int Line() const noexcept { return line_; }
    int Top() const noexcept { return top_; }
    // Each clamped to 0..100 pixels.
    void SetCharacter(int value);
    void SetLeft(int value);
    void SetLine(int value);
    void SetTop(int value);

    void ApplyTo(editor::LayoutOptions& options) const noexcept;

private:
    int character_ = 0;
    int left_ = 19;
    int line_ = 0;
    int top_ = 2;
};

// One mark: its colour (clNone: the font colour) and whether it is drawn.
class TEditorMark : public TNotifyPersistent {
public:
    TEditorMark(TColor color, bool visible) noexcept : color_(color), visible_(visible) {}
    TColor Color() const noexcept { return color_; }
    bool Visible() const noexcept { return visible_; }
    void SetColor(TColor value) { setField(color_, value); }
    void SetVisible(bool value) { setField(visible_, value); }

private:
    TColor color_;
    bool visible_;
};

// The end-of-file, line-end, wrap and hidden-text marks and the caret-row underline; a change of any of them
// is a change of Marks. TrailingBlanks (off by default) marks the blanks that end a line (spaces, full-width
// spaces, tabs) faintly in RetMark's colour: AutoCAD takes each of them as an Enter, and they are otherwise
// invisible. The text is never changed for it.
class TEditorMarks : public TNotifyPersistent {
public:
    TEditorMarks();

    bool TrailingBlanks() const noexcept { return trailingBlanks_; }
    void SetTrailingBlanks(bool value) { setField(trailingBlanks_, value); }

    TEditorMark& EofMark() noexcept { return eofMark_; }
    TEditorMark& RetMark() noexcept { return retMark_; }
    TEditorMark& WrapMark() noexcept { return wrapMark_; }
    TEditorMark& HideMark() noexcept { return hideMark_; }
    TEditorMark& Underline() noexcept { return underline_; }
    const TEditorMark& EofMark() const noexcept { return eofMark_; }
    const TEditorMark& RetMark() const noexcept { return retMark_; }
    const TEditorMark& WrapMark() const noexcept { return wrapMark_; }
    const TEditorMark& HideMark() const noexcept { return hideMark_; }
    const TEditorMark& Underline() const noexcept { return underline_; }

    void ApplyTo(editor::LayoutOptions& options) const noexcept;

private:
    TEditorMark eofMark_{editor::kGray, true};
    TEditorMark retMark_{editor::kGray, true};
    TEditorMark wrapMark_{editor::kGray, false};
    TEditorMark hideMark_{editor::kGray, false};
    TEditorMark underline_{editor::kGray, false};
    bool trailingBlanks_ = false;
};

// A column gauge above the text: a tick per column, a longer one every half gauge, the column number every
// gauge, and the caret's column marked.
class TEditorRuler : public TNotifyPersistent {
public:
    TColor BkColor() const noexcept { return bkColor_; }
    TColor Color() const noexcept { return color_; }
    bool Edge() const noexcept { return edge_; }
    int GaugeRange() const noexcept { return gaugeRange_; }
    TColor MarkColor() const noexcept { return markColor_; }
    bool Visible() const noexcept { return visible_; }
    void SetBkColor(TColor value) { setField(bkColor_, value); }
    void SetColor(TColor value) { setField(color_, value); }
    void SetEdge(bool value) { setField(edge_, value); }
    void SetGaugeRange(int value);  // 8 or 10: 8 and below give 8, anything else 10
    void SetMarkColor(TColor value) { setField(markColor_, value); }
    void SetVisible(bool value) { setField(visible_, value); }

    // Height of the ruler for a font of this row text height: a row of numbers, the ticks and the edge line.
    static int HeightFor(int rowTextHeight) noexcept { return rowTextHeight + kTickBand + 1; }
    static constexpr int kTickBand = 5;  // pixels below the numbers that hold the ticks and the caret mark

    void ApplyTo(editor::LayoutOptions& options, const editor::FontMetrics& font) const noexcept;

private:
    TColor bkColor_ = editor::kSilver;
    TColor color_ = clBlack;
    bool edge_ = true;
    int gaugeRange_ = 10;
    TColor markColor_ = clBlack;
    bool visible_ = false;
};

// A strip left of the line numbers that shows which rows carry row marks: a box in the digit column for the
// marks 0 to 9, and one in the mark column for the others.
class TEditorImagebar : public TNotifyPersistent {
public:
    static constexpr int kMax = 100;

    int DigitWidth() const noexcept { return digitWidth_; }
    int LeftMargin() const noexcept { return leftMargin_; }
    int MarkWidth() const noexcept { return markWidth_; }
    int RightMargin() const noexcept { return rightMargin_; }
    bool Visible() const noexcept { return visible_; }
    // Each clamped to 0..100 pixels.
    void SetDigitWidth(int value);
    void SetLeftMargin(int value);
    void SetMarkWidth(int value);
    void SetRightMargin(int value);
    void SetVisible(bool value) { setField(visible_, value); }

    int Width() const noexcept { return leftMargin_ + digitWidth_ + markWidth_ + rightMargin_; }
    void ApplyTo(editor::LayoutOptions& options) const noexcept;

private:
    int digitWidth_ = 4;
    int leftMargin_ = 2;
    int markWidth_ = 0;
    int rightMargin_ = 2;
    bool visible_ = false;
};

// The control's font as the painter reads it. Height is the platform's: negative for the character height in
// pixels, positive for the cell height, 0 for the face's default.
class EditorFont : public TNotifyPersistent {
public:
    static constexpr int kDefaultCharset = 1;
    static constexpr int kShiftJisCharset = 128;
    static constexpr std::size_t kMaxNameBytes = 31;  // the platform's face names hold 31 bytes and a NUL

    const std::string& Name() const noexcept { return name_; }
    int Height() const noexcept { return height_; }
    TColor Color() const noexcept { return color_; }
    int Charset() const noexcept { return charset_; }
    TFontStyles Style() const noexcept { return style_; }
    void SetName(const std::string& value);  // cut to 31 bytes, never inside a double-byte character
    void SetHeight(int value) { setField(height_, value); }
    void SetColor(TColor value) { setField(color_, value); }
    void SetCharset(int value);        // clamped to 0..255
    void SetStyle(TFontStyles value);  // only the four style bits are kept

private:
    std::string name_ = "FixedSys";
    int height_ = -12;
    TColor color_ = clBlack;
    int charset_ = kDefaultCharset;
    TFontStyles style_ = 0;
};

namespace editor {
// The layout options the painter's option objects decide, for ComputeLayout.
LayoutOptions PaintLayoutOptions(const TEditorMargin& margin, const TEditorLeftbar& leftbar, const TEditorMarks& marks,
                                 const TEditorRuler& ruler, const TEditorImagebar& imagebar, const FontMetrics& font);
}  // namespace editor
