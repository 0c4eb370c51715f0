// Following a batch run by AutoCAD's title, and the question after AutoCAD went away.
#include "runner/BatchFollow.h"

#include <algorithm>
#include <utility>

#include "core/Cp932.h"
#include "runner/TagReplace.h"

namespace runner {

namespace {

// Full-width Latin letters: Ａ-Ｚ are 82 60-82 79, ａ-ｚ 82 81-82 9A.
constexpr unsigned char kFullWidthLead = 0x82;
constexpr unsigned char kFullWidthLowerA = 0x81, kFullWidthLowerZ = 0x9A;
constexpr unsigned char kFullWidthCaseStep = 0x81 - 0x60;

unsigned char upperAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 0x20) : c; }

// Two names of the same length compared character by character, letters without regard to case.
bool sameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t len = cp932::charLength(a, i);
        if (cp932::charLength(b, i) != len) return false;
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (len == 1) {
            if (upperAscii(x) != upperAscii(y)) return false;
        } else {
            auto fold = [](unsigned char lead, unsigned char trail) {
                return (lead == kFullWidthLead && trail >= kFullWidthLowerA && trail <= kFullWidthLowerZ)
                           ? static_cast<unsigned char>(trail - kFullWidthCaseStep)
                           : trail;
            };
            const auto xt = static_cast<unsigned char>(a[i + 1]), yt = static_cast<unsigned char>(b[i + 1]);
            if (x != y || fold(x, xt) != fold(y, yt)) return false;
        }
        i += len;
    }
    return true;
}

bool isNameStart(char c) { return c == '[' || c == '\\' || c == '/' || c == ':'; }

}  // namespace

bool titleNamesFile(std::string_view title, std::string_view filePath) {
    const std::string name = pathPartsSplit(filePath).fileName;
    if (name.empty()) return false;
    const std::size_t close = cp932::findLastChar(title, ']');
    if (close == cp932::npos || close < name.size() + 1) return false;
    const std::size_t start = close - name.size();
    if (!cp932::isCharBoundary(title, start)) return false;
    if (!sameNameNoCase(title.substr(start, name.size()), name)) return false;
    const std::size_t before = cp932::prevCharPos(title, start);
    return before == start - 1 && isNameStart(title[before]);
}

void BatchFollower::start(BatchRun run, std::string_view titleAtHandOver) {
    run_ = std::move(run);
    state_ = run_.files.empty() ? State::Idle : State::Following;
    k_ = run_.firstNumber - 1;
    leftK_ = false;
    staleTitle_ = std::string(titleAtHandOver);
    staleTitleGone_ = false;
}

void BatchFollower::forget() {
    state_ = State::Idle;
    run_ = BatchRun{};
    k_ = 0;
    leftK_ = false;
    staleTitle_.clear();
    staleTitleGone_ = true;
}

void BatchFollower::follow(std::string_view title) {
    if (!staleTitleGone_) {
        if (title == staleTitle_) return;
        staleTitleGone_ = true;
    }
    auto named = [&](int number) {
        return titleNamesFile(title, run_.files[static_cast<std::size_t>(number - run_.firstNumber)]);
    };
    // Still on the k-th: a later file of the same name counts only after the title has shown something else.
    const bool onK = seenAny() && named(k_);
    if (onK && !leftK_) return;
    for (int n = std::max(k_ + 1, run_.firstNumber); n <= run_.total(); ++n) {
        if (named(n)) {
            k_ = n;
            leftK_ = false;
            return;
        }
    }
    if (!seenAny() || onK) return;
    leftK_ = true;
    if (k_ == run_.total()) state_ = State::Finished;
}

bool BatchFollower::tick(const WatchView& view) {
    switch (state_) {
        case State::Idle:
        case State::Finished:
        case State::Asking:
            return false;
        case State::Following:
            if (view.alive) {
                follow(view.title);
                return false;
            }
            if (!seenAny()) {  // never matched: nothing to offer
                forget();
                return false;
            }
            state_ = State::Interrupted;
            break;
        case State::Interrupted:
            // The same window is AutoCAD's again (its title had changed for a moment): it did not go away.
            if (view.alive) {
                state_ = State::Following;
                follow(view.title);
                return false;
            }
            break;
    }
    if (!view.found || !view.canAsk) return false;
    state_ = State::Asking;
    return true;
}

void BatchFollower::questionDone() {
    if (state_ == State::Asking) forget();
}

std::string BatchFollower::progressText() const {
    if (state_ == State::Idle || !seenAny()) return {};
    return std::to_string(k_) + "/" + std::to_string(run_.total());
}

BatchRun BatchFollower::remaining() const {
    BatchRun rest;
    rest.script = run_.script;
    const int from = std::max(k_, run_.firstNumber);
    rest.firstNumber = from;
    const auto skip = static_cast<std::size_t>(from - run_.firstNumber);
    if (skip < run_.files.size())
        rest.files.assign(run_.files.begin() + static_cast<std::ptrdiff_t>(skip), run_.files.end());
    return rest;
}

std::string BatchFollower::resumeQuestion() const {
    const int n = run_.total();
    return "一括処理が " + std::to_string(k_) + " / " + std::to_string(n) + " 個目のファイルで中断しました。残りの " +
           std::to_string(n - k_ + 1) + " 個のファイルを処理しますか？";
}

}  // namespace runner
