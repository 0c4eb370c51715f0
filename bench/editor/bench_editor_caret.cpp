// Benchmarks of the editor core's key path: typing 10,000 characters at the end of a text (normalisation,
// ReplaceRows, the undo record, the caret event) and the caret moving Down through every row with KeepCaret,
// each at 10,000 and at 1,000,000 rows. Prints the mean per character or step and the ratio of the large text
// to the small one, measured in the same run.
#include <chrono>
#include <cstdio>
#include <string>

#include "editor/EditorCore.h"
#include "editor/EditorScreenStrings.h"
#include "editor/RowStates.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string script(int rows) {
    std::string text;
    text.reserve(static_cast<std::size_t>(rows) * 24);
    for (int i = 0; i < rows; ++i) {
        // Rows of different lengths, so that KeepCaret has columns to remember.
        switch (i % 4) {
            case 0: text += "CIRCLE 10,20 " + std::to_string(i); break;
            case 1: text += ";"; break;
            case 2: text += "\t\x83\x52\x83\x81\x83\x93\x83\x67"; break;  // コメント
            default: text += "LINE 0,0 100,100"; break;
        }
        text += "\r\n";
    }
    return text;
}

void prepare(editor::EditorCore& core, int rows) {
    editor::LayoutOptions o;
    o.marginLeft = 10;
    o.marginTop = 6;
    o.leftbarVisible = true;
    core.SetLayoutOptions(o);
    core.SetFontMetrics({16, 0, 8});
    core.SetClientArea({692, 408, 17, 17});
    core.Store().SetText(script(rows));
    core.SetFocused(true);
    core.OnCaretMoved = [] {};
}

double typingMicros(int rows, int chars) {
    editor::EditorCore core;
    prepare(core, rows);
    core.SetCaretPos(rows, 0);  // the phantom row at the end
    // The view shows the end of the text: painting it has computed the colouring states down there, as the
    // first paint after scrolling to the end does (a load computes them only for the first screens).
    core.States().UpdateStatesFrom(core.Store(), rows - 1);
    const char* letters = "abcdefghij";
    const auto start = Clock::now();
    for (int i = 0; i < chars; ++i) {
        if (i % 80 == 79) {
            core.Char("\r", {});
        } else {
            core.Char(std::string_view(letters + i % 10, 1), {});
        }
    }
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    return us / chars;
}

double downMicros(int rows) {
    editor::EditorCore core;
    prepare(core, rows);
    core.SetCaretPos(0, 14);
    const auto start = Clock::now();
    for (int i = 0; i < rows; ++i) core.KeyDown(editor::key::kDown, {});
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (core.CaretRow() != rows) std::fprintf(stderr, "caret stopped at row %d\n", core.CaretRow());
    return us / rows;
}

}  // namespace

int main() {
    const int chars = 10000;
    const double type10k = typingMicros(10000, chars);
    const double type1m = typingMicros(1000000, chars);
    std::printf("typing %d characters at the end: 10k rows %.2f us/char, 1M rows %.2f us/char, ratio %.2f "
                "(target: at most 20 us, ratio at most 1.5)\n",
                chars, type10k, type1m, type1m / type10k);
    const double down10k = downMicros(10000);
    const double down1m = downMicros(1000000);
    std::printf("Down with KeepCaret: 10k rows %.3f us/step, 1M rows %.3f us/step, ratio %.2f "
                "(target: at most 2 us, flat)\n",
                down10k, down1m, down1m / down10k);
    return 0;
}
