// Shared by the painter's tests and its benchmark: a surface that records every call, and a scene holding a
// store, a colour scheme and the option objects set as the script editor window sets them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorPainter.h"
#include "editor/EditorScreenStrings.h"
#include "editor/Fountain.h"
#include "editor/RowStates.h"

namespace painttest {

constexpr TColor kCommentColor = 0xBBBB00;  // red 0, green 187, blue 187
constexpr TColor kTagColor = 0x4646FF;      // red 255, green 70, blue 70

struct Op {
    enum Kind { Fill, Text, Line, Dots, Background };
    Op(Kind k, const editor::PixelRect& r) : kind(k), rect(r) {}
    Kind kind;
    editor::PixelRect rect;  // fill, clip of a text, copied background
    int x = 0, y = 0;        // text origin; dotted line: left and row
    int right = 0;           // dotted line
    std::string text;
    int advance = 0;
    TColor color = 0, back = 0;
    TFontStyles style = 0;
    std::vector<editor::PixelPoint> points;
};

class RecordingSurface : public editor::PaintSurface {
public:
    std::vector<Op> ops;

    void FillRect(const editor::PixelRect& rect, TColor color) override {
        Op op{Op::Fill, rect};
        op.color = color;
        ops.push_back(op);
    }
    void DrawText(int x, int y, const editor::PixelRect& clip, std::string_view text, int advance, TColor color,
                  TColor back, TFontStyles style) override {
        Op op{Op::Text, clip};
        op.x = x;
        op.y = y;
        op.text.assign(text);
        op.advance = advance;
        op.color = color;
        op.back = back;
        op.style = style;
        ops.push_back(op);
    }
    void DrawPolyline(const editor::PixelPoint* points, int count, TColor color) override {
        Op op{Op::Line, {}};
        op.points.assign(points, points + count);
        op.color = color;
        ops.push_back(op);
    }
    void DrawDottedLine(int left, int right, int y, TColor color) override {
        Op op{Op::Dots, {}};
        op.x = left;
        op.right = right;
        op.y = y;
        op.color = color;
        ops.push_back(op);
    }
    void CopyBackground(const editor::PixelRect& rect) override { ops.push_back(Op{Op::Background, rect}); }

    // Text calls whose clip lies in the pixel rows [top, top + height).
    std::vector<const Op*> textsIn(int top, int height) const {
        std::vector<const Op*> out;
        for (const Op& op : ops) {
            if (op.kind == Op::Text && op.rect.top >= top && op.rect.bottom <= top + height) out.push_back(&op);
        }
        return out;
    }
    std::vector<const Op*> linesIn(int top, int height) const {
        std::vector<const Op*> out;
        for (const Op& op : ops) {
            if (op.kind != Op::Line) continue;
            bool inside = true;
            for (const auto& p : op.points) inside = inside && p.y >= top && p.y < top + height;
            if (inside) out.push_back(&op);
        }
        return out;
    }
};

// The script editor's look: black background, "ＭＳ ゴシック" 16 pixels in white, navy line-number bar with
// silver digits, blue line-end and end-of-file marks, ";" comments, white-on-navy selection and, for scripts
// run over several files, tags in red 255, green 70, blue 70.
inline void configureScriptEditor(editor::PaintOptionSet& o) {
    o.Font.SetName("ＭＳ ゴシック");
    o.Font.SetHeight(-16);
    o.Font.SetColor(clWhite);
    o.Font.SetCharset(EditorFont::kShiftJisCharset);
    o.Font.SetStyle(0);
    o.Leftbar.SetBkColor(clNavy);
    o.Leftbar.SetColor(editor::kSilver);
    o.Leftbar.SetColumn(4);
    o.Leftbar.SetEdge(true);
    o.Leftbar.SetLeftMargin(1);
    o.Leftbar.SetRightMargin(2);
    o.Leftbar.SetShowNumber(true);
    o.Leftbar.SetShowNumberMode(nmRow);
    o.Leftbar.SetVisible(true);
    o.Leftbar.SetZeroBase(false);
    o.Leftbar.SetZeroLead(false);
    o.Margin.SetCharacter(0);
    o.Margin.SetLeft(10);
    o.Margin.SetLine(0);
    o.Margin.SetTop(6);
    o.Marks.EofMark().SetColor(editor::kBlue);
    o.Marks.EofMark().SetVisible(true);
    o.Marks.RetMark().SetColor(editor::kBlue);
    o.Marks.RetMark().SetVisible(true);
    for (TEditorMark* m : {&o.Marks.WrapMark(), &o.Marks.HideMark(), &o.Marks.Underline()}) {
        m->SetColor(editor::kGray);
        m->SetVisible(false);
    }
    o.Ruler.SetVisible(false);
    o.Imagebar.SetDigitWidth(4);
    o.Imagebar.SetLeftMargin(2);
    o.Imagebar.SetMarkWidth(0);
    o.Imagebar.SetRightMargin(2);
    o.Imagebar.SetVisible(false);
}

inline void configureScriptScheme(TEditorViewInfo& view, bool tags) {
    view.SetCommenter(";");
    view.Colors().Comment().SetColor(kCommentColor);
    view.Colors().Comment().SetBkColor(clBlack);
    view.Colors().Select().SetColor(clWhite);
    view.Colors().Select().SetBkColor(clNavy);
    view.Brackets().Clear();
    if (tags) {
        TFountainBracketItem& tag = view.Brackets().Add();
        tag.SetLeftBracket("[%");
        tag.SetRightBracket("%]");
        tag.ItemColor().SetColor(kTagColor);
    }
}

// A store with its colouring, the script editor's options, a layout for a 16-pixel font 8 pixels wide, and a
// paint input over the whole client area.
struct Scene {
    TEditorScreenStrings store;
    TEditorViewInfo view;
    RowStates states;
    editor::PaintOptionSet options;
    editor::FontMetrics metrics{16, 0, 8};
    editor::ClientArea client{692, 408, 0, 0};
    TColor color = clBlack;

    explicit Scene(std::string_view text, bool tags = true) {
        configureScriptScheme(view, tags);
        states.SetView(&view);
        states.Watch(&store);
        store.SetRowStateUpdater(&states);
        configureScriptEditor(options);
        store.SetText(text);
    }

    editor::EditorLayout layout() const {
        return editor::ComputeLayout(metrics, options.Layout(metrics), client, options.Leftbar.LargestNumber(store));
    }
    editor::PaintInput input() {
        editor::PaintInput in(store, options);
        in.states = &states;
        in.fountain = states.ActiveFountain();
        in.viewColors = &view.Colors();
        in.color = color;
        in.layout = layout();
        in.clientWidth = client.width;
        in.clientHeight = client.height;
        in.update = {0, 0, client.width, client.height};
        return in;
    }
};

}  // namespace painttest
