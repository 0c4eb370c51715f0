// Script files on Windows for the combined-script writer: reading a script, writing tmp.scr.
#pragma once

#include <windows.h>

#include <string>

#include "runner/ScriptText.h"
#include "win/WinHandles.h"

namespace runner {

// The code the error texts know for a Windows error: the disk-full errors become 101, others stay.
int ioErrorCode(DWORD lastError) noexcept;

// A file opened for reading; the constructor throws IoError when it cannot be opened.
class Win32FileSource : public ByteSource {
public:
    explicit Win32FileSource(const std::string& path);
    std::size_t read(char* buffer, std::size_t size) override;

private:
    win::UniqueHandle file_;
};

// A file created, or emptied when it exists, for writing; the constructor throws IoError when it cannot be.
// A write the disk cannot take whole is a disk-full error.
class Win32FileSink : public ByteSink {
public:
    explicit Win32FileSink(const std::string& path);
    void write(const char* data, std::size_t size) override;

private:
    win::UniqueHandle file_;
};

}  // namespace runner
