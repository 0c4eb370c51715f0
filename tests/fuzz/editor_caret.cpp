// Fuzz target for the editor core: the message arguments (EM_SETSEL offsets, EM_CHARFROMPOS points, scroll
// positions), clipboard blocks of any bytes and size, typed bytes, keys and mouse gestures, in any order, shown
// through the display with its options changing. The caret stays on a character start, the offsets it reports
// lie in the text, every repaint plan stays inside the client area, and undoing everything restores the text.
#include <cstdint>
#include <string>

#include "editor/ClipboardText.h"
#include "editor/ColumnMap.h"
#include "editor/EditorCore.h"
#include "editor/EditorDisplay.h"
#include "editor/EditorScreenStrings.h"

namespace {

#define CHECK(cond)                \
    do {                           \
        if (!(cond)) __builtin_trap(); \
    } while (0)

struct Input {
    const std::uint8_t* p;
    std::size_t n;
    std::uint8_t byte() {
        if (!n) return 0;
        --n;
        return *p++;
    }
    std::int32_t word() { return static_cast<std::int32_t>(byte() | byte() << 8 | byte() << 16 | static_cast<std::uint32_t>(byte()) << 24); }
    std::string bytes(std::size_t max) {
        std::string s;
        for (std::size_t k = byte() % (max + 1); k > 0 && n; --k) s.push_back(static_cast<char>(byte()));
        return s;
    }
};

class Clipboard : public editor::ClipboardPort {
public:
    bool Put(const editor::ClipText& c) override {
        held = c;
        return refuse == false;
    }
    std::optional<editor::ClipText> Get() override { return held; }
    std::optional<editor::ClipText> held;
    bool refuse = false;
};

// A window that checks every plan it is asked to carry out.
class CheckingWindow : public editor::DisplayWindow {
public:
    int width = 0, height = 0;
    bool Showing() const override { return true; }
    editor::FontMetrics FontChanged(const EditorFont&) override { return {16, 0, 8}; }
    void Repaint(const editor::PixelRepaint& plan) override {
        const editor::PixelRect client{0, 0, width, height};
        if (plan.scroll) {
            CHECK(plan.scrollRect.intersect(client) == plan.scrollRect && !plan.scrollRect.empty());
            CHECK(plan.dx == 0 || plan.dy == 0);
        }
        for (const editor::PixelRect& r : plan.invalid) CHECK(r.intersect(client) == r && !r.empty());
    }
    void CaretChanged() override {}
    void ScrollBarsChanged() override {}
    void MoveComposition(int, int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    editor::EditorCore core;
    CheckingWindow window;
    window.width = 400;
    window.height = 200;
    editor::EditorDisplay display(core, window);
    Clipboard clip;
    core.SetClipboard(&clip);
    display.Options().Leftbar.SetVisible(true);
    display.FontMeasured({16, 0, 8});
    core.SetClientArea({400, 200, 0, 0});
    core.SetFocused(true);
    core.SetUndoListMax(1 << 20);
    const std::string original = in.bytes(200);
    core.Store().SetText(original);
    std::string baseline = core.Store().Text();  // what undoing everything gives back
    core.Caret().SetFreeCaret(in.byte() % 4 == 0);
    core.Caret().SetTabSpaceCount(in.byte());
    while (in.n) {
        switch (in.byte() % 15) {
            case 0: core.SetSel(in.word(), in.word()); break;
            case 1: core.SetSelStart(in.word()); core.SetSelLength(in.word()); break;
            case 2: core.CharFromPos(in.word() % 2000, in.word() % 2000); core.PosFromChar(in.word()); break;
            case 3: {
                // A clipboard block of any bytes, with or without a NUL, read bounded by its size.
                const std::string block = in.bytes(40);
                clip.held = editor::ClipText{std::string(editor::ClipboardTextOf(block.data(), block.size())), in.byte() % 2 == 0};
                core.PasteFromClipboard();
                break;
            }
            case 4: {
                const std::string ch = in.bytes(2);
                core.Char(ch, {in.byte() % 2 == 0, false, false});
                break;
            }
            case 5: core.KeyDown(0x21 + in.byte() % 8, {in.byte() % 2 == 0, in.byte() % 2 == 0, in.byte() % 2 == 0}); break;
            case 6: core.KeyDown(0x2E, {}); break;
            case 7: clip.refuse = in.byte() % 2; core.CutToClipboard(); break;
            case 8: core.SetSelectionMode(in.byte() % 2 ? smBox : smStream); break;
            case 9: core.MouseDown(in.word() % 500, in.word() % 300, {in.byte() % 2 == 0, false, false}); break;
            case 10: core.MouseMove(in.word() % 500, in.word() % 300, true, in.byte() % 2 == 0); break;
            case 11: core.MouseUp(in.word() % 500, in.word() % 300, in.byte() % 2 == 0, in.byte() % 2 == 0); break;
            case 12: core.VScroll(in.byte() % 9, in.word()); core.HScroll(in.byte() % 9, in.word()); break;
            case 13: {
                // The display's options, each relaying out and repainting the control.
                const std::uint8_t what = in.byte();
                editor::PaintOptionSet& po = display.Options();
                if (what & 1) po.Leftbar.SetColumn(in.byte() % 10);
                if (what & 2) po.Leftbar.SetShowNumberMode(in.byte() % 2 ? nmLine : nmRow);
                if (what & 4) po.Imagebar.SetVisible(!po.Imagebar.Visible());
                if (what & 8) po.Ruler.SetVisible(!po.Ruler.Visible());
                if (what & 16) po.Marks.Underline().SetVisible(!po.Marks.Underline().Visible());
                if (what & 32) po.Margin.SetLine(in.byte() % 8);
                if (what & 64) {
                    core.SetWordWrap(!core.WordWrap());  // clears the undo lists
                    baseline = core.Store().Text();
                }
                break;
            }
            default: core.InsertBlock(in.bytes(20)); break;
        }
        const auto [s, e] = core.GetSel();
        CHECK(s >= 0 && e >= s && e <= core.Store().TextLength());
        const int row = core.CaretRow();
        CHECK(row >= 0 && row <= core.Store().Count());
        if (row < core.Store().Count()) {
            ColumnMapOptions mo;
            mo.tabSpaceCount = core.Caret().TabSpaceCount();
            const std::string map = ColumnMap(core.Store().RowView(row), mo);
            const int col = core.CaretCol();
            if (col < static_cast<int>(map.size())) {
                CHECK(map[static_cast<std::size_t>(col)] != columncode::kTrail);
                CHECK(map[static_cast<std::size_t>(col)] != columncode::kTabBlank);
            }
        }
    }
    while (core.CanUndo()) core.Undo();
    CHECK(core.Store().Text() == baseline);
    return 0;
}
