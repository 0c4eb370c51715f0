// Reading scripts, writing the combined script, and the texts of file errors.
#include "runner/ScriptText.h"

#include "runner/TagReplace.h"

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

void combinedScriptWrite(const ScriptOpener& openScript, const std::vector<std::string>& files, ByteSink& out,
                         int firstNumber) {
    BufferedSink sink(out);
    std::string_view line;
    std::string replaced;
    for (std::size_t i = 0; i < files.size(); ++i) {
        TagValues values = tagValuesFor(files[i], firstNumber + static_cast<int>(i));
        std::unique_ptr<ByteSource> script = openScript();
        ScriptLineReader reader(*script);
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
    sink.flush();
}

}  // namespace runner
