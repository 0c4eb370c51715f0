// The painter's option objects: clamping setters, line numbers, and the layout values they decide.
#include "editor/PaintOptions.h"

#include <algorithm>

#include "core/Cp932.h"
#include "editor/EditorStringList.h"

namespace {
int clampTo(int value, int low, int high) noexcept { return std::min(std::max(value, low), high); }

// The phantom row (where the caret stands after a final line break, or in an empty text) exists when the text
// is empty or its last row is not the end of the text.
bool hasPhantomRow(const TEditorStringList& rows) {
    const int count = rows.Count();
    return count == 0 || rows.RowAttribute(count - 1) != raTextEnd;
}
}  // namespace

// ---- Leftbar ---------------------------------------------------------------------------------------------------

void TEditorLeftbar::SetColumn(int value) { setField(column_, clampTo(value, kMinColumn, kMaxColumn)); }
void TEditorLeftbar::SetLeftMargin(int value) { setField(leftMargin_, clampTo(value, 0, kMaxMargin)); }
void TEditorLeftbar::SetRightMargin(int value) { setField(rightMargin_, clampTo(value, 0, kMaxMargin)); }
void TEditorLeftbar::SetShowNumberMode(TShowNumberMode value) {
    setField(showNumberMode_, value == nmLine ? nmLine : nmRow);
}

void TEditorLeftbar::ApplyTo(editor::LayoutOptions& options) const noexcept {
    options.leftbarVisible = visible_;
    options.leftbarColumn = column_;
    options.leftbarLeftMargin = leftMargin_;
    options.leftbarRightMargin = rightMargin_;
    options.leftbarShowNumber = showNumber_;
    options.leftbarByLine = showNumberMode_ == nmLine;
    options.leftbarZeroBase = zeroBase_;
}

long long TEditorLeftbar::LargestNumber(const TEditorStringList& rows) const {
    editor::LayoutOptions options;
    ApplyTo(options);
    return editor::LargestLeftbarNumber(rows, options);
}

long long TEditorLeftbar::NumberOfRow(const TEditorStringList& rows, int row) const {
    const int count = rows.Count();
    if (!showNumber_ || row < 0 || row > count || (row == count && !hasPhantomRow(rows))) return -1;
    const long long base = zeroBase_ ? 0 : 1;
    if (showNumberMode_ == nmRow) return row + base;
    if (row > 0 && rows.RowAttribute(row - 1) == raWrapped) return -1;  // continues the line above
    return rows.LineEndsBefore(row) + base;
}

std::string TEditorLeftbar::NumberText(long long number, int digits) const {
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < digits) {
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), zeroLead_ ? '0' : ' ');
    }
    return text;
}

// ---- Margin ----------------------------------------------------------------------------------------------------

void TEditorMargin::SetCharacter(int value) { setField(character_, clampTo(value, 0, kMax)); }
void TEditorMargin::SetLeft(int value) { setField(left_, clampTo(value, 0, kMax)); }
void TEditorMargin::SetLine(int value) { setField(line_, clampTo(value, 0, kMax)); }
void TEditorMargin::SetTop(int value) { setField(top_, clampTo(value, 0, kMax)); }

void TEditorMargin::ApplyTo(editor::LayoutOptions& options) const noexcept {
    options.marginLeft = left_;
    options.marginTop = top_;
    options.marginLine = line_;
    options.marginCharacter = character_;
}

// ---- Marks -----------------------------------------------------------------------------------------------------

TEditorMarks::TEditorMarks() {
    for (TEditorMark* mark : {&eofMark_, &retMark_, &wrapMark_, &hideMark_, &underline_}) {
        mark->OnChange = [this] { Changed(); };
    }
}

void TEditorMarks::ApplyTo(editor::LayoutOptions& options) const noexcept {
    options.underlineVisible = underline_.Visible();
}

// ---- Ruler -----------------------------------------------------------------------------------------------------

void TEditorRuler::SetGaugeRange(int value) { setField(gaugeRange_, value <= 8 ? 8 : 10); }

void TEditorRuler::ApplyTo(editor::LayoutOptions& options, const editor::FontMetrics& font) const noexcept {
    options.rulerVisible = visible_;
    options.rulerHeight = HeightFor(std::max(1, font.height + font.externalLeading));
}

// ---- Imagebar --------------------------------------------------------------------------------------------------

void TEditorImagebar::SetDigitWidth(int value) { setField(digitWidth_, clampTo(value, 0, kMax)); }
void TEditorImagebar::SetLeftMargin(int value) { setField(leftMargin_, clampTo(value, 0, kMax)); }
void TEditorImagebar::SetMarkWidth(int value) { setField(markWidth_, clampTo(value, 0, kMax)); }
void TEditorImagebar::SetRightMargin(int value) { setField(rightMargin_, clampTo(value, 0, kMax)); }

void TEditorImagebar::ApplyTo(editor::LayoutOptions& options) const noexcept {
    options.imagebarVisible = visible_;
    options.imagebarWidth = Width();
}

// ---- Font ------------------------------------------------------------------------------------------------------

void EditorFont::SetName(const std::string& value) {
    setField(name_, std::string(cp932::truncate(value, kMaxNameBytes)));
}
void EditorFont::SetCharset(int value) { setField(charset_, clampTo(value, 0, 255)); }
void EditorFont::SetStyle(TFontStyles value) {
    setField(style_, value & (fsBold | fsItalic | fsUnderline | fsStrikeOut));
}

namespace editor {
LayoutOptions PaintLayoutOptions(const TEditorMargin& margin, const TEditorLeftbar& leftbar, const TEditorMarks& marks,
                                 const TEditorRuler& ruler, const TEditorImagebar& imagebar, const FontMetrics& font) {
    LayoutOptions options;
    margin.ApplyTo(options);
    leftbar.ApplyTo(options);
    marks.ApplyTo(options);
    ruler.ApplyTo(options, font);
    imagebar.ApplyTo(options);
    return options;
}
}  // namespace editor
