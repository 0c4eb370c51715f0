// Reading scripts, writing the combined script, and the texts of file errors.
#include "runner/ScriptText.h"

#include "runner/TagReplace.h"

#include <algorithm>
#include <cstring>

namespace runner {

std::string ioErrorText(int code) {
    switch (code) {
        case kIoFileNotFound: return "ファイルが見つかりません";
        case kIoPathNotFound: return "不正なファイル名です";
        case kIoTooManyOpenFiles: return "オープンしたファイルが多すぎます";
        case kIoAccessDenied: return "ファイルへのアクセスが拒否されました";
        case kIoDiskFull: return "ディスクがいっぱいです";
        default: return "I/O エラー (" + std::to_string(code) + ")";
    }
}

namespace {

std::size_t firstOf(const char* data, std::size_t from, std::size_t to, char c) noexcept {
    const void* hit = std::memchr(data + from, c, to - from);
    return hit == nullptr ? to : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
}

// The first LF, CR or Ctrl+Z in [from, to), or `to`.
std::size_t stopFind(const char* data, std::size_t from, std::size_t to) noexcept {
    std::size_t stop = firstOf(data, from, to, '\n');
    stop = firstOf(data, from, stop, '\r');
    return firstOf(data, from, stop, '\x1A');
}

}  // namespace

bool ScriptLineReader::fill() {
    if (finished_) return false;
    pos_ = 0;
    end_ = source_.read(buffer_.get(), kBufferSize);
    if (end_ == 0) finished_ = true;
    return end_ > 0;
}

bool ScriptLineReader::next(std::string_view& line) {
    line = {};
    if (pos_ == end_ && !fill()) return false;
    // Most lines lie whole in the buffer, end with LF or CR LF and hold no other CR: hand out a view of them.
    const char* data = buffer_.get();
    std::size_t lf = firstOf(data, pos_, end_, '\n');
    if (lf < end_) {
        std::size_t stop = stopFind(data, pos_, lf);
        if (stop == lf || (stop == lf - 1 && data[stop] == '\r')) {
            line = std::string_view(data + pos_, stop - pos_);
            pos_ = lf + 1;
            return true;
        }
    }
    if (!next(assembled_)) return false;
    line = assembled_;
    return true;
}

bool ScriptLineReader::next(std::string& line) {
    line.clear();
    bool any = false;  // text was taken for this line, so it counts even when the file ends after it
    for (;;) {
        if (pos_ == end_ && !fill()) return any;
        const char* data = buffer_.get();
        // Take the run of ordinary bytes in one go. None of LF, CR and 26 is ever a trail byte.
        std::size_t stop = stopFind(data, pos_, end_);
        if (stop > pos_) {
            line.append(data + pos_, stop - pos_);
            any = true;
            pos_ = stop;
            continue;
        }
        char c = data[pos_];
        if (c == '\x1A') {
            finished_ = true;
            pos_ = end_ = 0;
            return any;
        }
        ++pos_;
        if (c == '\n') return true;
        // A CR never stays in a line: before LF it belongs to the line ending, alone it is dropped.
    }
}

void BufferedSink::write(const char* data, std::size_t size) {
    if (size > kBufferSize - used_) {
        flush();
        if (size >= kBufferSize) {
            sink_.write(data, size);
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, data, size);
    used_ += size;
}

void BufferedSink::flush() {
    if (used_ == 0) return;
    std::size_t n = used_;
    used_ = 0;
    sink_.write(buffer_.get(), n);
}

namespace {

constexpr std::size_t kReadStep = 64 * 1024;

// Bytes in memory, then the rest of a source (when there is one).
class ContinuedSource : public ByteSource {
public:
    ContinuedSource(std::string_view head, ByteSource* rest) : head_(head), rest_(rest) {}
    std::size_t read(char* buffer, std::size_t size) override {
        if (head_.empty()) return rest_ ? rest_->read(buffer, size) : 0;
        const std::size_t n = std::min(size, head_.size());
        std::memcpy(buffer, head_.data(), n);
        head_.remove_prefix(n);
        return n;
    }

private:
    std::string_view head_;
    ByteSource* rest_;
};

// Reads the script from `source` until its end, its Ctrl+Z or more than `limit` bytes; true when the whole
// text (up to a Ctrl+Z) is in `bytes`.
bool readWithin(ByteSource& source, std::size_t limit, std::string& bytes) {
    for (;;) {
        const std::size_t at = bytes.size();
        bytes.resize(at + kReadStep);
        const std::size_t got = source.read(&bytes[at], kReadStep);
        bytes.resize(at + got);
        if (got == 0) return true;
        const std::size_t eof = bytes.find('\x1A', at);
        if (eof != std::string::npos && eof <= limit) {
            bytes.resize(eof);
            return true;
        }
        if (bytes.size() > limit) return false;
    }
}

// A script read once, as the combined script wants it: every line followed by CR LF in one buffer, cut into
// stretches of lines that hold no tag, written as they are, and single lines with tags, replaced per file.
// A line with "[" but no tag is written as it is: only a tag found in the line starts any replacing.
class HeldScript {
public:
    explicit HeldScript(std::string_view bytes) {
        ContinuedSource source(bytes, nullptr);
        ScriptLineReader reader(source);
        std::string_view line;
        const TagValues none;
        while (reader.next(line)) {
            const bool tagged = lineMayHoldTag(line) && scriptTagReplace(std::string(line), none) != line;
            const std::size_t at = lines_.size();
            lines_.append(line.data(), line.size());
            lines_.append("\r\n", 2);
            if (!tagged && !pieces_.empty() && !pieces_.back().tagged) {
                pieces_.back().length += line.size() + 2;
            } else {
                pieces_.push_back({at, line.size() + (tagged ? 0 : 2), tagged});
            }
        }
    }

    void write(BufferedSink& sink, const TagValues& values, std::string& replaced) const {
        for (const Piece& p : pieces_) {
            if (!p.tagged) {
                sink.write(lines_.data() + p.offset, p.length);
                continue;
            }
            replaced.assign(lines_, p.offset, p.length);
            scriptTagReplaceInPlace(replaced, values);
            sink.write(replaced);
            sink.write("\r\n", 2);
        }
    }

private:
    struct Piece {
        std::size_t offset;
        std::size_t length;  // with the CR LFs of untagged lines; without it for a tagged line
        bool tagged;
    };
    std::string lines_;
    std::vector<Piece> pieces_;
};

// One copy of the script, read line by line from `script`, with its tags replaced.
void streamCopy(ByteSource& script, BufferedSink& sink, const TagValues& values, std::string& replaced) {
    ScriptLineReader reader(script);
    std::string_view line;
    while (reader.next(line)) {
        if (lineMayHoldTag(line)) {
            replaced.assign(line);
            scriptTagReplaceInPlace(replaced, values);
            sink.write(replaced);
        } else {
            sink.write(line.data(), line.size());
        }
        sink.write("\r\n", 2);
    }
}

}  // namespace

void combinedScriptWrite(const ScriptOpener& openScript, const std::vector<std::string>& files, ByteSink& out,
                         int firstNumber, std::size_t heldLimit) {
    if (files.empty()) return;
    BufferedSink sink(out);
    std::string replaced;
    std::unique_ptr<ByteSource> script = openScript();
    std::string head;
    if (readWithin(*script, heldLimit, head)) {
        script.reset();
        const HeldScript held(head);
        head = std::string();
        for (std::size_t i = 0; i < files.size(); ++i) {
            held.write(sink, tagValuesFor(files[i], firstNumber + static_cast<int>(i)), replaced);
        }
    } else {
        // Too large to hold: the first copy goes on from the bytes read, every other one reads the file again.
        for (std::size_t i = 0; i < files.size(); ++i) {
            const TagValues values = tagValuesFor(files[i], firstNumber + static_cast<int>(i));
            if (i == 0) {
                ContinuedSource first(head, script.get());
                streamCopy(first, sink, values, replaced);
                script.reset();
                head = std::string();
            } else {
                std::unique_ptr<ByteSource> again = openScript();
                streamCopy(*again, sink, values, replaced);
            }
        }
    }
    sink.flush();
}

}  // namespace runner
