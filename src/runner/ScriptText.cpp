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

bool ScriptLineReader::fill() {
    if (finished_) return false;
    pos_ = 0;
    end_ = source_.read(buffer_.get(), kBufferSize);
    if (end_ == 0) finished_ = true;
    return end_ > 0;
}

bool ScriptLineReader::next(std::string& line) {
    line.clear();
    bool any = false;  // text was taken for this line, so it counts even when the file ends after it
    for (;;) {
        if (pos_ == end_ && !fill()) return any;
        const char* data = buffer_.get();
        // Take the run of ordinary bytes in one go. None of LF, CR and 26 is ever a trail byte.
        std::size_t stop = pos_;
        while (stop < end_ && data[stop] != '\n' && data[stop] != '\r' && data[stop] != '\x1A') ++stop;
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

void combinedScriptWrite(const ScriptOpener& openScript, const std::vector<std::string>& files, ByteSink& out) {
    BufferedSink sink(out);
    std::string line;
    for (std::size_t i = 0; i < files.size(); ++i) {
        TagValues values = tagValuesFor(files[i], static_cast<int>(i + 1));
        std::unique_ptr<ByteSource> script = openScript();
        ScriptLineReader reader(*script);
        while (reader.next(line)) {
            if (lineMayHoldTag(line)) {
                sink.write(scriptTagReplace(line, values));
            } else {
                sink.write(line);
            }
            sink.write("\r\n", 2);
        }
    }
    sink.flush();
}

}  // namespace runner
