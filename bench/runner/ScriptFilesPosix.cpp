// Script files for the native benchmark: read(2) and write(2), failures as the runner's IoError.
#include <fcntl.h>
#include <unistd.h>

#include "ScriptFiles.h"

namespace benchfiles {

namespace {

class PosixSource : public runner::ByteSource {
public:
    explicit PosixSource(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY)) {
        if (fd_ < 0) throw runner::IoError(runner::kIoFileNotFound);
    }
    ~PosixSource() override { ::close(fd_); }
    PosixSource(const PosixSource&) = delete;
    PosixSource& operator=(const PosixSource&) = delete;
    std::size_t read(char* buffer, std::size_t size) override {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n < 0) throw runner::IoError(runner::kIoAccessDenied);
        return static_cast<std::size_t>(n);
    }

private:
    int fd_;
};

class PosixSink : public runner::ByteSink {
public:
    explicit PosixSink(const std::string& path) : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {
        if (fd_ < 0) throw runner::IoError(runner::kIoAccessDenied);
    }
    ~PosixSink() override { ::close(fd_); }
    PosixSink(const PosixSink&) = delete;
    PosixSink& operator=(const PosixSink&) = delete;
    void write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n <= 0) throw runner::IoError(runner::kIoDiskFull);
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<runner::ByteSource> openScript(const std::string& path) { return std::make_unique<PosixSource>(path); }

std::unique_ptr<runner::ByteSink> createOutput(const std::string& path) { return std::make_unique<PosixSink>(path); }

}  // namespace benchfiles
