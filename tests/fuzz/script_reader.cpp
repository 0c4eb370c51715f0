// Fuzz target: the script reader over arbitrary bytes (line ends of every kind, byte 26, lead bytes, NULs),
// repeated so that lines cross the reader's 64 KiB buffer, handed out in reads of fuzzed sizes. Both ways of
// reading must give exactly the lines of the plain reference, and no line may hold a CR or an LF.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "runner/ScriptText.h"

namespace {

// The text repeated `times` times, handed out in reads whose sizes cycle through `steps`.
class RepeatingSource : public runner::ByteSource {
public:
    RepeatingSource(std::string_view text, std::size_t times, const std::size_t (&steps)[4])
        : text_(text), total_(text.size() * times), steps_(steps) {}
    std::size_t read(char* buffer, std::size_t size) override {
        std::size_t n = std::min({size, steps_[reads_++ % 4], total_ - pos_});
        for (std::size_t done = 0; done < n;) {
            const std::size_t at = (pos_ + done) % text_.size();
            const std::size_t piece = std::min(n - done, text_.size() - at);
            std::memcpy(buffer + done, text_.data() + at, piece);
            done += piece;
        }
        pos_ += n;
        return n;
    }

private:
    std::string_view text_;
    std::size_t total_;
    const std::size_t (&steps_)[4];
    std::size_t pos_ = 0;
    std::size_t reads_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in{data, size};
    // Most runs read a short text once; some repeat it past the buffer's size.
    const std::uint8_t shape = in.byte();
    const std::size_t times = shape < 224 ? 1 + shape % 3 : 1 + (shape - 224) * 8;
    std::size_t steps[4];
    for (std::size_t& step : steps) {
        const std::uint8_t b = in.byte();
        step = b < 128 ? 1 + b % 9 : std::size_t{1} << (b % 18);
    }
    const std::string text = in.rest();
    if (text.empty()) return 0;

    std::string stream;
    for (std::size_t i = 0; i < times; ++i) stream += text;
    const std::vector<std::string> expected = fuzz::scriptLines(stream);

    {
        RepeatingSource source(text, times, steps);
        runner::ScriptLineReader reader(source);
        std::string line;
        std::size_t count = 0;
        while (reader.next(line)) {
            FUZZ_CHECK(count < expected.size() && line == expected[count]);
            ++count;
        }
        FUZZ_CHECK(count == expected.size());
        FUZZ_CHECK(!reader.next(line) && line.empty());  // the end stays the end
    }
    {
        RepeatingSource source(text, times, steps);
        runner::ScriptLineReader reader(source);
        std::string_view line;
        std::size_t count = 0;
        while (reader.next(line)) {
            FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
            FUZZ_CHECK(count < expected.size() && line == expected[count]);
            ++count;
        }
        FUZZ_CHECK(count == expected.size());
    }
    return 0;
}
