// Reading scripts and writing tmp.scr with the kernel's file calls, failures as IoError by error code.
#include "runner/Win32Files.h"

namespace runner {

int ioErrorCode(DWORD lastError) noexcept {
    if (lastError == ERROR_DISK_FULL || lastError == ERROR_HANDLE_DISK_FULL) return kIoDiskFull;
    return static_cast<int>(lastError);
}

namespace {

[[noreturn]] void throwLastError() { throw IoError(ioErrorCode(::GetLastError())); }

}  // namespace

Win32FileSource::Win32FileSource(const std::string& path)
    : file_(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    if (!file_) throwLastError();
}

std::size_t Win32FileSource::read(char* buffer, std::size_t size) {
    DWORD got = 0;
    if (!::ReadFile(file_.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) throwLastError();
    return got;
}

Win32FileSink::Win32FileSink(const std::string& path)
    : file_(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_) throwLastError();
}

void Win32FileSink::write(const char* data, std::size_t size) {
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file_.get(), data, chunk, &written, nullptr)) throwLastError();
        if (written == 0) throw IoError(kIoDiskFull);
        data += written;
        size -= written;
    }
}

}  // namespace runner
