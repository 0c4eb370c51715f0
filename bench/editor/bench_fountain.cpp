// Row colouring states under load, with ratios against baselines measured in the same run:
// 1. A full rebuild (Speed.InitBracketsFull True) of a 100 MB script, against one pass that classifies every
//    byte of the same text through a 256-entry table. Target: at most 4 times the pass. Measured in the
//    thread's processor time, so that other work on a shared machine does not count; each measurement runs
//    long enough for the 10 ms steps of that time under Wine.
// 2. The state update after a typed character below an unclosed tag, in texts of 10,000 and 1,000,000 rows:
//    the rows it stores (at most two screens) and its cost at 1,000,000 rows against 10,000. Target: at most 1.5.
//    Each update is timed on its own with the steady clock (cheap to read), best round of several.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "editor/EditorScreenStrings.h"
#include "editor/Fountain.h"
#include "editor/FountainParser.h"
#include "editor/ScriptScheme.h"
#include "editor/RowStates.h"

namespace {

using bench::format;

// Processor time of one run of `f`: as many runs as make up `atLeast` seconds, divided among them.
template <class F>
double cpuPerRun(double atLeast, F&& f) {
    const double t0 = bench::threadCpuSeconds();
    int runs = 0;
    double spent = 0;
    do {
        f();
        ++runs;
        spent = bench::threadCpuSeconds() - t0;
    } while (spent < atLeast);
    return spent / runs;
}

// Lines as an operator writes them: commands, coordinates, comments in Japanese, tags of several-files scripts.
const char* const kLines[] = {
    "; \x90\x7D\x96\xCA\x82\xF0\x8A\x4A\x82\xA2\x82\xC4\x90\x6F\x96\x40\x82\xF0\x95\xCF\x82\xA6\x82\xE9",
    "_.OPEN \"[%FILEPATH%]\"",
    "LINE 100.5,200.25 300,400 ",
    "CIRCLE 0,0 50",
    "-LAYER S \x90\x6F\x96\x40\x90\xFC ",
    "TEXT 10,10 2.5 0 \x83\x4A\x83\x6D\x83\x73\x83\x41\x95\x5C\x8E\xA6",
    "ZOOM E ;fit",
    "",
    "_.SAVEAS  [%FOLDER%]\\[%FILENAME%]_new.dwg",
    "_.QSAVE",
};

struct Scheme {
    TEditorViewInfo view;
    Scheme() { editor::ApplyScriptScheme(view, true); }
};

void rebuildBenchmark(bench::Report& report) {
    std::string text;
    const std::size_t target = 100u << 20;
    text.reserve(target + 256);
    for (std::size_t i = 0; text.size() < target; ++i) {
        text += kLines[i % (sizeof kLines / sizeof kLines[0])];
        text += "\r\n";
    }
    Scheme scheme;
    TEditorScreenStrings store;
    store.SetText(text);  // no updater yet: loading does not colour

    RowStates states;
    states.SetInitBracketsFull(true);
    states.SetView(&scheme.view);
    store.SetRowStateUpdater(&states);

    // Baseline: one pass over the same bytes, each classified through a 256-entry table.
    std::array<std::uint8_t, 256> classes{};
    for (int b = 0; b < 256; ++b) classes[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>((b * 7 + 3) & 15);
    bench::Samples baseline, rebuild, everyToken;
    std::uint64_t sink = 0, tokens = 0;
    for (int round = 0; round < 5; ++round) {
        baseline.add(cpuPerRun(0.3, [&] {
            std::uint64_t sum = 0;
            for (unsigned char c : text) sum += classes[c];
            sink += sum;
        }));
        rebuild.add(cpuPerRun(0.3, [&] { states.RebuildStates(store); }));
        // Every token of every row from its stored state, as painting the whole text would see them.
        everyToken.add(cpuPerRun(0.3, [&] {
            const auto parser = scheme.view.Fountain().CreateParser();
            tokens = 0;
            for (int r = 0; r < store.Count(); ++r) {
                const TRowAttributeData d = store.RowAttributeData(r);
                parser->Start(store.RowView(r), {d.ElementIndex, d.WrappedKind, d.WrappedRemain});
                while (parser->Next() != tkEnd) ++tokens;
            }
        }));
    }
    // Every tag of the text closes on its row: a right rebuild leaves every row outside the brackets.
    int outside = 0;
    for (int r = 0; r < store.Count(); ++r) outside += store.ElementIndex(r) == rowbits::kElementOutside ? 1 : 0;
    report.check(outside == store.Count(), format("rebuild: %d of %d rows outside the brackets", outside,
                                                  store.Count()));
    report.check(store.StatesComputedBefore() == store.Count(), "rebuild: every row's state computed");
    report.figure("full tokenise (RebuildStates) / table pass", rebuild.best() / baseline.best(), 4.0,
                  format("%d rows, %.0f MB: %.3f s, table pass %.3f s (best of %zu; processor time)", store.Count(),
                         static_cast<double>(text.size()) / 1e6, rebuild.best(), baseline.best(), rebuild.size()));
    report.note(format("every token of every row, as painting all of it: %.3f s, ratio %.2f to the table pass "
                       "(%llu tokens; table sums %llu)",
                       everyToken.best(), everyToken.best() / baseline.best(),
                       static_cast<unsigned long long>(tokens), static_cast<unsigned long long>(sink)));
}

// Times the state update the store asks for, and keeps the most rows one update stored.
class TimedUpdater : public RowStateUpdater {
public:
    explicit TimedUpdater(RowStates& inner) : inner_(inner) {}
    void UpdateStatesFrom(TEditorStringList& rows, int row, ChangeRecord& change) override {
        const auto t0 = std::chrono::steady_clock::now();
        inner_.UpdateStatesFrom(rows, row, change);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++calls;
        maxStored = std::max(maxStored, change.ChangedStates);
    }
    void RebuildStates(TEditorStringList& rows) override { inner_.RebuildStates(rows); }
    double seconds = 0;
    int calls = 0;
    int maxStored = 0;

private:
    RowStates& inner_;
};

// A text of `rows` rows below a tag left open, coloured, with the state update timed.
class TypingText {
public:
    TypingText(int rows, int screenRows) : rows_(rows), timed_(states_) {
        states_.SetScreenRows(screenRows);
        states_.SetInitBracketsFull(true);
        states_.SetView(&scheme_.view);
        store_.SetRowStateUpdater(&timed_);
        std::string text = "OPEN [%FOLDER\r\n";  // every row below lies inside the tag
        for (int i = 0; i < rows; ++i) text += "LINE 0,0 10,10\r\n";
        store_.SetText(text);
    }
    // Types `keys` characters at rows spread over the middle of the text, each its own ReplaceRows; returns the
    // mean cost of one state update.
    double type(int keys) {
        timed_.seconds = 0;
        timed_.calls = 0;
        for (int k = 0; k < keys; ++k) {
            const int row = rows_ / 2 + (next_++ * 7919) % 1000 - 500;
            std::string line = store_.Get(row);
            line += 'x';
            line += "\r\n";
            store_.ReplaceRows(row, 1, line);
        }
        return timed_.seconds / timed_.calls;
    }
    // Closes and reopens the tag on the middle row, key by key: every update changes the state of all rows
    // below, so each walks its full two screens and leaves the rest for painting.
    double toggle(int keys) {
        timed_.seconds = 0;
        timed_.calls = 0;
        timed_.maxStored = 0;
        for (int k = 0; k < keys; ++k) store_.ReplaceRows(rows_ / 2, 1, k % 2 ? "LINE 0,0 10,10\r\n" : "LINE %]\r\n");
        return timed_.seconds / timed_.calls;
    }
    int maxStored() const { return timed_.maxStored; }
    bool stillInside() const { return store_.ElementIndex(store_.Count() - 1) == 0; }

private:
    int rows_;
    int next_ = 0;
    Scheme scheme_;
    RowStates states_;
    TimedUpdater timed_;
    TEditorScreenStrings store_;
};

void typingBenchmark(bench::Report& report) {
    const int screenRows = 40;  // a full-height editor window of 16-pixel rows
    TypingText small(10000, screenRows);
    TypingText large(1000000, screenRows);
    small.type(2000);  // warm up both
    large.type(2000);
    bench::Samples smallTimes, largeTimes;
    for (int round = 0; round < 9; ++round) {
        smallTimes.add(small.type(2000));
        largeTimes.add(large.type(2000));
    }
    report.check(small.stillInside() && large.stillInside(), "typing: the rows below the open tag stay inside it");
    report.check(std::max(small.maxStored(), large.maxStored()) <= 2 * screenRows,
                 format("typing: at most two screens of rows stored per update (%d, %d)", small.maxStored(),
                        large.maxStored()));
    report.figure("state update, typing below an open tag, 1M/10k", largeTimes.best() / smallTimes.best(), 1.5,
                  format("10k rows %.3f us, 1M rows %.3f us per update (best of 9 rounds of 2,000 keys)",
                         smallTimes.best() * 1e6, largeTimes.best() * 1e6));

    // Worst case: every key changes the state of every row below it.
    smallTimes = bench::Samples();
    largeTimes = bench::Samples();
    for (int round = 0; round < 9; ++round) {
        smallTimes.add(small.toggle(400));
        largeTimes.add(large.toggle(400));
    }
    // Stored: the row above the edit (where the walk starts), the edited row, and two screens below it.
    const int worstStored = std::max(small.maxStored(), large.maxStored());
    report.check(worstStored - 2 <= 2 * screenRows,
                 format("closing and reopening a tag: %d rows stored below the edit, at most two screens",
                        worstStored - 2));
    report.figure("state update, tag closed and reopened, 1M/10k", largeTimes.best() / smallTimes.best(), 1.5,
                  format("10k rows %.3f us, 1M rows %.3f us per update; %d rows stored below the edit",
                         smallTimes.best() * 1e6, largeTimes.best() * 1e6, worstStored - 2));
}

}  // namespace

int main() {
    bench::Report report;
    rebuildBenchmark(report);
    typingBenchmark(report);
    return report.finish();
}
