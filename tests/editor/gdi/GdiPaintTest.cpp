// The painter on GDI under Wine: the script editor's look checked pixel by pixel in a memory bitmap, the same
// picture painted by a window and kept as the reference picture, and repaint plans carried out on a real window
// giving exactly what a full repaint gives.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "DibPicture.h"
#include "PaintTestSupport.h"
#include "editor/GdiSurface.h"
#include "win/WinHandles.h"

using namespace editor;
using painttest::DibPicture;

namespace {

// A script run over several files, as the script editor shows it: the new-script template's comment lines, a tag,
// a comment after a command, a tab, a long line past the right edge.
std::string scriptText() {
    const std::string rule = ";" + std::string(52, '=');
    std::string heavy = ";";
    for (int i = 0; i < 26; ++i) heavy += "\x84\xAA";  // ━
    const std::string lines[] = {
        rule,
        ";\x81\x40" + std::string("AutoCAD\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67"),  // ;　AutoCADスクリプト
        rule,
        heavy,
        "_.OPEN \"[%FILEPATH%]\"",
        "_.LAYER _M \x8A\x4F\x8D\x5C _C 3 \x8A\x4F\x8D\x5C",       // 外構, trail byte 0x5C
        "_.CHPROP _ALL  _C 1 ; \x90\x46\x82\xF0\x90\xD4\x82\xC9",  // 色を赤に
        "_.ZOOM\t_E",
        "_.PLINE 0,0 100,0 100,100 0,100 0,200 100,200 100,300 0,300 0,400 100,400 100,500 0,500 0,600 100,600 "
        "100,700 0,700 C",
        "_.QSAVE",
        "_.CLOSE",
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}
const std::string kScript = scriptText();

constexpr int kWidth = 672;  // the script editor's control less its border and scroll bars
constexpr int kHeight = 388;

// The scene measured with the real font: its metrics decide the grid.
struct GdiScene : painttest::Scene {
    GdiPainter painter;
    explicit GdiScene(const std::string& text) : Scene(text) {
        client = ClientArea{kWidth, kHeight, 0, 0};
        painter.SetFont(options.Font);
        win::WindowDC screen(nullptr);
        metrics = painter.Metrics(screen.get());
    }
    PaintInput selected() {
        PaintInput in = input();
        in.selectionState = sstSelected;
        in.selection = SelectionRange{6, 8, 8, 7, 4, 4};  // from "_ALL" on the CHPROP row to "_.ZO|OM"
        return in;
    }
};

int count(const DibPicture& p, const PixelRect& r, const std::function<bool(COLORREF)>& pred) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += pred(p.at(x, y)) ? 1 : 0;
    return n;
}
bool is(COLORREF c, TColor want) { return c == static_cast<COLORREF>(want); }

PixelRect cells(const EditorLayout& l, int row, int fromCol, int toCol) {
    return {l.textLeft + fromCol * l.charWidth, l.textTop + row * l.rowHeight, l.textLeft + toCol * l.charWidth,
            l.textTop + (row + 1) * l.rowHeight};
}

// The pixels of the line-end arrow of a row whose mark stands in column `col`.
std::vector<POINT> arrowPixels(const EditorLayout& l, int row, int col) {
    const int h = l.rowHeight, top = l.textTop + row * h;
    const int d = std::max(1, h / 8), f = std::max(d, 3);
    const int x = l.textLeft + col * l.charWidth + l.charWidth / 2, bottom = top + h - 2 * d;
    std::vector<POINT> out;
    for (int y = top + 2 * d; y <= bottom; ++y) out.push_back({x, y});
    for (int i = 1; i < f; ++i) {
        out.push_back({x - i, bottom - i});
        out.push_back({x + i, bottom - i});
    }
    return out;
}

}  // namespace

TEST(GdiPaint, TheScriptEditorsColoursPixelByPixel) {
    GdiScene scene(kScript);
    ASSERT_GT(scene.metrics.aveCharWidth, 0);
    DibPicture picture(kWidth, kHeight);
    ASSERT_TRUE(picture.valid());
    const PaintInput in = scene.selected();
    scene.painter.Paint(picture.dc(), in);
    const EditorLayout& l = in.layout;

    // A comment row: the comment colour on black, and nothing left of the white the row was first drawn in.
    const PixelRect comment = cells(l, 0, 0, 53);
    EXPECT_GT(count(picture, comment, [](COLORREF c) { return is(c, painttest::kCommentColor); }), 50);
    EXPECT_EQ(count(picture, comment, [](COLORREF c) { return GetRValue(c) > 0 || GetGValue(c) > 187; }), 0);
    // The tag in red 255, green 70, blue 70; the command before it in white.
    const PixelRect tag = cells(l, 4, 8, 20);
    EXPECT_GT(count(picture, tag, [](COLORREF c) { return is(c, painttest::kTagColor); }), 30);
    EXPECT_EQ(count(picture, tag, [](COLORREF c) { return GetGValue(c) > 70 || GetBValue(c) > 70; }), 0);
    EXPECT_GT(count(picture, cells(l, 4, 0, 6), [](COLORREF c) { return is(c, clWhite); }), 20);

    // The selection: white on navy, the selected comment not in the comment colour, the selected line break's
    // arrow white; the arrow of an unselected row blue.
    const int chprop = static_cast<int>(scene.store.RowView(6).size());  // columns of the CHPROP row (no tabs)
    const PixelRect sel = cells(l, 6, 8, chprop + 1);
    EXPECT_GT(count(picture, sel, [](COLORREF c) { return is(c, clNavy); }), sel.width() * sel.height() / 2);
    EXPECT_GT(count(picture, sel, [](COLORREF c) { return is(c, clWhite); }), 30);
    EXPECT_EQ(count(picture, sel, [](COLORREF c) { return is(c, painttest::kCommentColor); }), 0);
    for (const POINT& p : arrowPixels(l, 6, chprop)) EXPECT_EQ(picture.at(p.x, p.y), clWhite) << p.x << "," << p.y;
    const int layer = static_cast<int>(scene.store.RowView(5).size());
    for (const POINT& p : arrowPixels(l, 5, layer)) EXPECT_EQ(picture.at(p.x, p.y), kBlue) << p.x << "," << p.y;
    EXPECT_TRUE(is(picture.at(cells(l, 6, 7, 8).left, cells(l, 6, 7, 8).top), clBlack));

    // "[EOF]" in blue on the phantom row, which is numbered 12.
    EXPECT_GT(count(picture, cells(l, 11, 0, 5), [](COLORREF c) { return is(c, kBlue); }), 20);
    // The left bar: navy, silver digits, its edge a white and a grey column down the whole height.
    const int barRight = l.leftbarWidth;
    EXPECT_TRUE(is(picture.at(0, kHeight - 1), clNavy));
    EXPECT_GT(count(picture, {0, l.textTop + 11 * l.rowHeight, barRight - 2, l.textTop + 12 * l.rowHeight},
                    [](COLORREF c) { return is(c, kSilver); }),
              10);
    EXPECT_EQ(count(picture, {barRight - 2, 0, barRight - 1, kHeight}, [](COLORREF c) { return !is(c, clWhite); }), 0);
    EXPECT_EQ(count(picture, {barRight - 1, 0, barRight, kHeight}, [](COLORREF c) { return !is(c, kGray); }), 0);
    // Margin and rows past the text are black.
    EXPECT_EQ(count(picture, {barRight, 0, l.textLeft, kHeight}, [](COLORREF c) { return !is(c, clBlack); }), 0);
    EXPECT_EQ(count(picture, cells(l, 12, 0, 70), [](COLORREF c) { return !is(c, clBlack); }), 0);
}

namespace {

// A plain window whose WM_PAINT goes through the painter.
struct PaintWindow {
    GdiScene& scene;
    std::function<PaintInput()> makeInput;
    HWND hwnd = nullptr;
    int paints = 0;
    int rowsPainted = 0;

    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<PaintWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == WM_ERASEBKGND) return 1;
        if (msg == WM_PAINT && self) {
            win::PaintScope paint(hwnd);
            PaintInput in = self->makeInput();
            in.update = PixelRect{paint.info().rcPaint.left, paint.info().rcPaint.top, paint.info().rcPaint.right,
                                  paint.info().rcPaint.bottom};
            self->scene.painter.Paint(paint.dc(), in);
            ++self->paints;
            self->rowsPainted = self->scene.painter.Painter().RowsPainted();
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    PaintWindow(GdiScene& s, std::function<PaintInput()> input) : scene(s), makeInput(std::move(input)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CanopiaPaintTestWindow";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "paint", WS_POPUP, 0, 0, kWidth, kHeight, nullptr,
                               nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        settle();
    }
    ~PaintWindow() { DestroyWindow(hwnd); }
    PaintWindow(const PaintWindow&) = delete;
    PaintWindow& operator=(const PaintWindow&) = delete;

    // Runs the messages until no paint is pending.
    void settle() {
        for (int i = 0; i < 50; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            if (!GetUpdateRect(hwnd, nullptr, FALSE) && i > 4) break;
            Sleep(10);
        }
    }
    // Carries a plan out as the editor window will: scroll, invalidate the plan's rectangles, paint. Wine
    // invalidates the whole window after a ScrollWindowEx without SW_INVALIDATE; with it, only what was
    // uncovered, which the plan invalidates too.
    void carryOut(const PixelRepaint& plan) {
        rowsPainted = 0;
        if (plan.scroll) {
            const RECT r{plan.scrollRect.left, plan.scrollRect.top, plan.scrollRect.right, plan.scrollRect.bottom};
            ScrollWindowEx(hwnd, plan.dx, plan.dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
        }
        for (const PixelRect& p : plan.invalid) {
            const RECT r{p.left, p.top, p.right, p.bottom};
            InvalidateRect(hwnd, &r, FALSE);
        }
        UpdateWindow(hwnd);
        settle();
    }
    void capture(DibPicture& into) const {
        win::WindowDC dc(hwnd);
        BitBlt(into.dc(), 0, 0, kWidth, kHeight, dc.get(), 0, 0, SRCCOPY);
    }
};

// "" when the pictures are equal, else how many pixels differ and where.
std::string differences(const DibPicture& a, const DibPicture& b) {
    int n = 0;
    RECT box{a.width(), a.height(), -1, -1};
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.at(x, y) == b.at(x, y)) continue;
            ++n;
            box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                       std::max<LONG>(box.bottom, y)};
        }
    }
    if (n == 0) return "";
    return std::to_string(n) + " pixels differ within " + std::to_string(box.left) + "," + std::to_string(box.top) +
           " .. " + std::to_string(box.right) + "," + std::to_string(box.bottom);
}

}  // namespace

// The window's picture is the reference picture of the script editor; the memory bitmap painting must equal it.
TEST(GdiPaint, AWindowPaintsTheReferencePicture) {
    GdiScene scene(kScript);
    PaintWindow window(scene, [&] { return scene.selected(); });
    ASSERT_NE(window.hwnd, nullptr);
    ASSERT_GT(window.paints, 0);
    DibPicture shot(kWidth, kHeight), memory(kWidth, kHeight);
    window.capture(shot);
    scene.painter.Paint(memory.dc(), scene.selected());
    EXPECT_EQ(differences(shot, memory), "");
    ASSERT_TRUE(shot.writeBmp(CANOPIA_PAINT_PICTURE)) << CANOPIA_PAINT_PICTURE;
}

// Scrolling and edits carried out through their plans leave the window exactly as a full repaint would, and
// paint only what they must: one row for a scroll by one row, the plan's rows for an edit.
TEST(GdiPaint, PlansCarriedOutEqualAFullRepaint) {
    GdiScene scene(kScript);
    struct Recorder : BasicEditorClient {
        ChangeRecord last;
        void StoreTextChanged(const ChangeRecord& change) override { last = change; }
    } editor;
    scene.store.Attach(&editor);
    GridOrigin origin;
    auto input = [&] {
        PaintInput in = scene.input();
        in.origin = origin;
        return in;
    };
    PaintWindow window(scene, input);
    auto expectFullRepaintLook = [&](const char* what) {
        DibPicture shot(kWidth, kHeight), full(kWidth, kHeight);
        window.capture(shot);
        scene.painter.Paint(full.dc(), input());
        EXPECT_EQ(differences(shot, full), "") << what;
    };

    origin.topRow = 1;
    window.carryOut(PlanTopRowChange(0, ViewGeometryOf(input())));
    expectFullRepaintLook("scrolled down by one row");
    ASSERT_NE((kHeight - input().layout.textTop) % input().layout.rowHeight, 0) << "a row would be cut at the bottom";
    EXPECT_EQ(window.rowsPainted, 1);
    origin.topCol = 2;
    window.carryOut(PlanTopColChange(0, ViewGeometryOf(input())));
    expectFullRepaintLook("scrolled right by two columns");
    origin.topRow = 0;  // one change at a time, as the window sets TopRow and TopCol
    window.carryOut(PlanTopRowChange(1, ViewGeometryOf(input())));
    origin.topCol = 0;
    window.carryOut(PlanTopColChange(2, ViewGeometryOf(input())));
    expectFullRepaintLook("scrolled back");

    const int visible = input().layout.visibleRows;
    auto edit = [&](int first, int count, const std::string& text, const char* what) {
        scene.store.ReplaceRows(first, count, text);
        const EditRepaint plan = PlanEditRepaint(editor.last, scene.store.Count(), origin.topRow, visible, nmRow);
        window.carryOut(EditRepaintPixels(plan, ViewGeometryOf(input())));
        expectFullRepaintLook(what);
        return window.rowsPainted;
    };
    // A typed character repaints its row alone: the row the store's block takes in with it came out as it was.
    EXPECT_EQ(edit(7, 1, "_.ZOOMX\t_E\r\n", "a typed character"), 1);
    edit(7, 1, "_.ZO\r\nOM\t_E\r\n", "Enter inside a row");
    edit(7, 2, "_.ZOOM\t_E\r\n", "two rows joined");
    edit(4, 1, "", "a line deleted");
    edit(3, 0, "_.OPEN \"[%FILEPATH%\r\n", "a tag left open colours the rows below");
    edit(scene.store.Count() - 1, 1, "_.CLOSE", "the final line break removed");
}
