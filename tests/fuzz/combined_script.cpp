// Fuzz target: the combined script of a batch run, written from a script held in memory or read again per
// file, that may fail to open or fail part-way through a read, into a file that may fail part-way through a
// write. Without a failure the output is exactly the reference (every line of the script per file, tags
// replaced, CR LF after each) and holds no lone CR or LF; with one, the failure comes out as that IoError and
// what was written is the start of the complete output.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "runner/ScriptText.h"
#include "runner/TagReplace.h"

namespace {

constexpr int kReadFailure = 5;   // access denied
constexpr int kWriteFailure = runner::kIoDiskFull;
constexpr int kOpenFailure = 2;   // file not found

// What fails and where; a position past the end means no failure.
struct Plan {
    std::size_t failingOpen;      // the script fails to open on this opening (0-based)
    std::size_t readFailsOn;      // which opening's reads fail
    std::size_t readFailsAfter;   // bytes that opening hands out before its read fails
    std::size_t writeFailsAfter;  // bytes the output takes before a write fails
    std::size_t step;             // largest read
    std::size_t heldLimit;        // scripts up to this size are read once
};

class ScriptSource : public runner::ByteSource {
public:
    ScriptSource(const std::string& text, std::size_t step, std::size_t failAfter)
        : text_(text), step_(step), failAfter_(failAfter) {}
    std::size_t read(char* buffer, std::size_t size) override {
        if (pos_ >= failAfter_) throw runner::IoError(kReadFailure);
        const std::size_t n = std::min({size, step_, text_.size() - pos_, failAfter_ - pos_});
        std::memcpy(buffer, text_.data() + pos_, n);
        pos_ += n;
        return n;
    }

private:
    const std::string& text_;
    std::size_t step_;
    std::size_t failAfter_;
    std::size_t pos_ = 0;
};

class Output : public runner::ByteSink {
public:
    explicit Output(std::size_t failAfter) : failAfter_(failAfter) {}
    void write(const char* data, std::size_t size) override {
        // A refused write may have taken part of the block, as a full disk does.
        const std::size_t room = failAfter_ - std::min(failAfter_, text.size());
        text.append(data, std::min(size, room));
        if (size > room) throw runner::IoError(kWriteFailure);
    }
    std::string text;

private:
    std::size_t failAfter_;
};

bool lineEndsArePairs(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return false;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in{data, size};
    Plan plan;
    const std::uint8_t failure = in.byte();
    plan.failingOpen = failure % 4 == 1 ? in.byte() % 4 : SIZE_MAX;
    plan.readFailsOn = failure % 4 == 2 ? in.byte() % 4 : SIZE_MAX;
    plan.readFailsAfter = failure % 4 == 2 ? in.number(300) : SIZE_MAX;
    plan.writeFailsAfter = failure % 4 == 3 ? in.number(2000) : SIZE_MAX;
    plan.step = 1 + in.byte() % 64;
    plan.heldLimit = in.byte() % 2 ? runner::kScriptHeldLimit : in.number(80);

    // File paths never hold a line break or a NUL; everything else goes.
    std::vector<std::string> files(in.byte() % 4);
    for (std::string& file : files) {
        file = fuzz::pieceText(in, 12, false);
        file.erase(std::remove_if(file.begin(), file.end(), [](char c) { return c == '\r' || c == '\n' || c == 0; }),
                   file.end());
    }
    const std::string script = fuzz::pieceText(in, 60, true);

    std::string expected;
    const std::vector<std::string> lines = fuzz::scriptLines(script);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const runner::TagValues values = runner::tagValuesFor(files[i], static_cast<int>(i + 1));
        for (const std::string& line : lines) expected += runner::scriptTagReplace(line, values) + "\r\n";
    }

    std::size_t opened = 0;
    bool failed = false;
    Output out(plan.writeFailsAfter);
    try {
        runner::combinedScriptWrite(
            [&]() -> std::unique_ptr<runner::ByteSource> {
                const std::size_t n = opened++;
                if (n == plan.failingOpen) throw runner::IoError(kOpenFailure);
                return std::make_unique<ScriptSource>(script, plan.step,
                                                      n == plan.readFailsOn ? plan.readFailsAfter : SIZE_MAX);
            },
            files, out, 1, plan.heldLimit);
    } catch (const runner::IoError& e) {
        failed = true;
        const int code = e.code();
        FUZZ_CHECK(code == kOpenFailure || code == kReadFailure || code == kWriteFailure);
        FUZZ_CHECK(code != kOpenFailure || plan.failingOpen < files.size());
        FUZZ_CHECK(code != kWriteFailure || plan.writeFailsAfter < expected.size());
        FUZZ_CHECK(out.text.size() <= expected.size() && expected.compare(0, out.text.size(), out.text) == 0);
    }
    FUZZ_CHECK(opened <= files.size());
    if (!failed) {
        // Held (its bytes before a Ctrl+Z within the limit), the script is opened once; else once per file.
        const bool held = std::min(script.size(), script.find('\x1A')) <= plan.heldLimit;
        FUZZ_CHECK(opened == (files.empty() ? 0 : held ? 1 : files.size()));
        FUZZ_CHECK(out.text == expected);
        FUZZ_CHECK(lineEndsArePairs(out.text));
    }
    return 0;
}
