// Script files as text: the streaming line reader, the combined-script writer of a batch run and the
// texts of input and output errors. Files are reached through two tiny interfaces so tests need no disk.
#pragma once

#include "core/AppError.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace runner {

// The text the error box shows for a failed file operation, by the platform's error code.
std::string ioErrorText(int code);

// An input or output failure; the application-wide error box shows its text.
class IoError : public AppError {
public:
    explicit IoError(int code) : AppError(ioErrorText(code)), code_(code) {}
    int code() const noexcept { return code_; }

private:
    int code_;
};

// Error codes the texts know; the Win32 files map the platform's own codes onto them.
constexpr int kIoFileNotFound = 2;
constexpr int kIoPathNotFound = 3;
constexpr int kIoTooManyOpenFiles = 4;
constexpr int kIoAccessDenied = 5;
constexpr int kIoDiskFull = 101;

// A file being read. read() returns the bytes it put into `buffer`, 0 at the end; failures throw IoError.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

// A file being written. write() takes all bytes or throws IoError.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, std::size_t size) = 0;
};

// Reads a script line by line in a fixed buffer, whatever the length of the file or of its lines.
// A line ends at LF or CR LF (the ending is not part of it); a CR not followed by LF is dropped;
// a byte 26 (Ctrl+Z) ends the file. A last line without an ending is still a line; an empty file has none.
class ScriptLineReader {
public:
    explicit ScriptLineReader(ByteSource& source) : source_(source) {}
    ScriptLineReader(const ScriptLineReader&) = delete;
    ScriptLineReader& operator=(const ScriptLineReader&) = delete;

    // The next line into `line`; false at the end of the text.
    bool next(std::string& line);
    // The same as a view, valid until the next call; saves a copy for lines that lie whole in the buffer.
    bool next(std::string_view& line);

private:
    bool fill();  // false at the end of the file

    static constexpr std::size_t kBufferSize = 64 * 1024;
    ByteSource& source_;
    std::unique_ptr<char[]> buffer_{new char[kBufferSize]};  // not zeroed: filled before use
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool finished_ = false;  // end of file or Ctrl+Z seen
    std::string assembled_;  // a line that had to be put together, for the view
};

// Collects small writes into a fixed buffer and hands them on in large blocks.
class BufferedSink {
public:
    explicit BufferedSink(ByteSink& sink) : sink_(sink) {}
    BufferedSink(const BufferedSink&) = delete;
    BufferedSink& operator=(const BufferedSink&) = delete;

    void write(const char* data, std::size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    void flush();

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;
    ByteSink& sink_;
    std::unique_ptr<char[]> buffer_{new char[kBufferSize]};  // not zeroed: filled before use
    std::size_t used_ = 0;
};

// A script of at most this many bytes (before a Ctrl+Z) is read once per batch and held; a larger one is read
// again for every file, no more than a line of it held at a time.
constexpr std::size_t kScriptHeldLimit = 256 * 1024;

// Writes the combined script of a batch run: for every file in order, every line of the script with the
// tags replaced for that file, each line ended by CR LF. A script within `heldLimit` bytes is opened once,
// a larger one once per file (the first reading carries on for the first file); no script is opened for no
// files. Memory does not grow with the number of files. Everything is flushed to `out` before it returns;
// an IoError of the script or of `out` passes on. [%NUMBER%] counts from `firstNumber` (a resumed run goes on
// with the numbers it had).
using ScriptOpener = std::function<std::unique_ptr<ByteSource>()>;
void combinedScriptWrite(const ScriptOpener& openScript, const std::vector<std::string>& files, ByteSink& out,
                         int firstNumber = 1, std::size_t heldLimit = kScriptHeldLimit);

}  // namespace runner
