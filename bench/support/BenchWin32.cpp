// The platform's part of the benchmarks on Windows (and Wine): thread times, the process's memory counters,
// ReadFile, and CreateProcess of itself with its standard output on a pipe.
#include <windows.h>
#include <psapi.h>

#include <cstring>
#include <memory>

#include "BenchSupport.h"
#include "win/WinHandles.h"

namespace bench {

namespace {

double fileTimeSeconds(const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
}

}  // namespace

const char* buildName() { return "win32"; }

double threadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    return fileTimeSeconds(kernel) + fileTimeSeconds(user);
}

ProcessMemory processMemory() {
    ProcessMemory m;
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &c, sizeof c)) return m;
    m.resident = static_cast<double>(c.WorkingSetSize);
    // The commit charge of the process: its private bytes. Wine fills this field (from the process's anonymous
    // pages) but leaves PROCESS_MEMORY_COUNTERS_EX::PrivateUsage at 0.
    m.privateBytes = static_cast<double>(c.PagefileUsage);
    return m;
}

long long readAndCountLines(const std::string& path, std::size_t bufferSize) {
    win::UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return -1;
    std::unique_ptr<char[]> buffer(new char[bufferSize]);
    long long lines = 0;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer.get(), static_cast<DWORD>(bufferSize), &got, nullptr)) return -1;
        if (got == 0) break;
        const char* p = buffer.get();
        const char* end = p + got;
        while (const void* q = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(q) + 1;
        }
    }
    return lines;
}

std::string runSelf(const std::vector<std::string>& args, bool& ok) {
    ok = false;
    char self[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::string command = std::string("\"") + self + "\"";
    for (const std::string& a : args) command += " \"" + a + "\"";

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
    win::UniqueHandle reader(readEnd), writer(writeEnd);
    ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);  // only the child's end is inherited

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writer.get();
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        return {};
    }
    win::UniqueHandle process(started.hProcess), thread(started.hThread);
    writer.reset();  // the pipe ends when the child's end closes
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.get(), &code);
    ok = code == 0;
    return ok ? out : std::string();
}

}  // namespace bench
