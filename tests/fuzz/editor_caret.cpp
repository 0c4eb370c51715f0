// Fuzz target for the editor core: the message arguments (EM_SETSEL offsets, EM_CHARFROMPOS points, scroll
// positions), clipboard blocks of any bytes and size, typed bytes, keys and mouse gestures, in any order. The caret
// stays on a character start, the offsets it reports lie in the text, and undoing everything restores the text.
#include <cstdint>
#include <string>

#include "editor/ClipboardText.h"
#include "editor/ColumnMap.h"
#include "editor/EditorCore.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    editor::EditorCore core;
    Clipboard clip;
    core.SetClipboard(&clip);
    editor::LayoutOptions o;
    o.leftbarVisible = true;
    core.SetLayoutOptions(o);
    core.SetFontMetrics({16, 0, 8});
    core.SetClientArea({400, 200, 0, 0});
    core.SetUndoListMax(1 << 20);
    const std::string original = in.bytes(200);
    core.Store().SetText(original);
    core.Caret().SetFreeCaret(in.byte() % 4 == 0);
    core.Caret().SetTabSpaceCount(in.byte());
    while (in.n) {
        switch (in.byte() % 14) {
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
    std::string expected = core.Store().Text();
    editor::EditorCore fresh;
    fresh.Store().SetText(original);
    CHECK(expected == fresh.Store().Text());
    return 0;
}
