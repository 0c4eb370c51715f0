// Random key sequences with a fixed seed: the caret never stands on the second half of a double-byte character
// or inside a tab's blanks, and undoing every step gives the original text back exactly.
#include <gtest/gtest.h>

#include <random>

#include "CaretTestSupport.h"
#include "editor/ColumnMap.h"

using namespace caret_test;
namespace key = editor::key;

namespace {

TEST(EditorProperty, RandomKeysKeepTheCaretOnCharacterStartsAndUndoRestoresTheText) {
    const std::vector<std::string> pieces = {"a", "b", " ", "\t", "\x82\xA0", "\x95\x5C", "\x83\x5C", "  ", ";",
                                             "\x81\x40"};  // あ 表 ソ full-width space
    const int navKeys[] = {key::kLeft, key::kRight, key::kUp, key::kDown, key::kHome, key::kEnd, key::kPrior,
                           key::kNext};
    std::mt19937 rng(20240611);
    for (int round = 0; round < 40; ++round) {
        EditorCore core;
        FakeClipboard clip;
        core.SetClipboard(&clip);
        sizeLikeHost(core, 300, 120);
        core.SetFocused(true);
        core.SetUndoListMax(100000);
        std::string original;
        const int rows = static_cast<int>(rng() % 6);
        for (int r = 0; r < rows; ++r) {
            for (int k = static_cast<int>(rng() % 8); k > 0; --k) original += pieces[rng() % pieces.size()];
            if (r + 1 < rows || rng() % 2) original += "\r\n";
        }
        core.Store().SetText(original);
        int changes = 0;
        for (int step = 0; step < 150; ++step) {
            const std::string before = text(core);
            const bool shift = rng() % 3 == 0;
            switch (rng() % 12) {
                case 0: case 1: case 2: case 3:
                    press(core, navKeys[rng() % 8], shift, rng() % 4 == 0, rng() % 4 == 0);
                    break;
                case 4: case 5: core.Char(pieces[rng() % pieces.size()], {}); break;
                case 6: core.Char("\r", {shift, false, false}); break;
                case 7: core.Char("\b", {}); break;
                case 8: press(core, key::kDelete); break;
                case 9: core.Char("\t", {}); break;
                case 10:
                    if (rng() % 2) {
                        core.CopyToClipboard();
                    } else {
                        core.PasteFromClipboard();
                    }
                    break;
                default:
                    core.SetSelectionMode(rng() % 2 ? smBox : smStream);
                    break;
            }
            if (text(core) != before) ++changes;
            const int row = core.CaretRow();
            const int col = core.CaretCol();
            ASSERT_LE(row, core.Store().Count());
            if (row < core.Store().Count()) {
                const std::string map = ColumnMap(core.Store().RowView(row));
                if (col < static_cast<int>(map.size())) {
                    ASSERT_NE(map[static_cast<std::size_t>(col)], columncode::kTrail) << "round " << round << " step " << step;
                    ASSERT_NE(map[static_cast<std::size_t>(col)], columncode::kTabBlank) << "round " << round << " step " << step;
                }
            }
        }
        while (core.CanUndo()) core.Undo();
        EXPECT_EQ(text(core), original) << "round " << round << " after " << changes << " changes";
    }
}

}  // namespace
