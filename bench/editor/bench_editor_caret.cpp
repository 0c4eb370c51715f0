// Benchmarks of the editor core's key path: typing 10,000 characters at the end of a text (normalisation,
// ReplaceRows, the undo record, the caret event) and the caret moving Down through every row with KeepCaret,
// each at 10,000 and at 1,000,000 rows. Prints the mean per character or step and the ratio of the large text
// to the small one, measured in the same run, and checks where the text and the caret end up.
#include <chrono>
#include <cstdio>
#include <string>

#include "BenchSupport.h"
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

// Microseconds per typed character; `right` is cleared when the text does not end as typed.
double typingMicros(int rows, int chars, bool& right) {
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
    std::string expected = script(rows);
    for (int i = 0; i < chars; ++i) expected += i % 80 == 79 ? std::string("\r\n") : std::string(1, letters[i % 10]);
    const int count = core.Store().Count();
    const bool lineEnd = core.Store().RowAttribute(count - 1) == raLineEnd;
    right = right && core.Store().Text() == expected && core.CaretRow() == (lineEnd ? count : count - 1);
    return us / chars;
}

double downMicros(int rows, bool& right) {
    editor::EditorCore core;
    prepare(core, rows);
    core.SetCaretPos(0, 14);
    const auto start = Clock::now();
    for (int i = 0; i < rows; ++i) core.KeyDown(editor::key::kDown, {});
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    right = right && core.CaretRow() == rows;
    return us / rows;
}

}  // namespace

int main() {
    bench::Report report;
    const int chars = 10000;
    bool typed = true, moved = true;
    bench::Samples type10k, type1m, down10k, down1m;
    for (int round = 0; round < 3; ++round) {  // alternated; the best of each
        type10k.add(typingMicros(10000, chars, typed));
        type1m.add(typingMicros(1000000, chars, typed));
        down10k.add(downMicros(10000, moved));
        down1m.add(downMicros(1000000, moved));
    }
    report.check(typed, "typing: the text ends with the rows typed, the caret on the last");
    report.check(moved, "Down: the caret went through every row to the end");
    report.figure("typing at the end of 1M rows, us per character", type1m.best(), 20,
                  bench::format("%d characters, Enter after every 79 (best of %zu)", chars, type1m.size()));
    report.figure("typing at the end, 1M rows / 10k rows", type1m.best() / type10k.best(), 1.5,
                  bench::format("10k rows %.2f us, 1M rows %.2f us per character", type10k.best(), type1m.best()));
    report.figure("Down with KeepCaret through 1M rows, us per step", down1m.best(), 2,
                  bench::format("best of %zu", down1m.size()));
    report.figure("Down with KeepCaret, 1M rows / 10k rows", down1m.best() / down10k.best(), 1.5,
                  bench::format("10k rows %.3f us, 1M rows %.3f us per step", down10k.best(), down1m.best()));
    return report.finish();
}
