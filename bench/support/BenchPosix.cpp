// The platform's part of the benchmarks on Linux: thread time, /proc memory, read(2), fork and exec of itself.
#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "BenchSupport.h"

namespace bench {

const char* buildName() { return "native"; }

double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

ProcessMemory processMemory() {
    ProcessMemory m;
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return m;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        unsigned long kib = 0;
        if (std::sscanf(line, "VmRSS: %lu", &kib) == 1) m.resident = static_cast<double>(kib) * 1024;
        if (std::sscanf(line, "RssAnon: %lu", &kib) == 1) m.privateBytes = static_cast<double>(kib) * 1024;
    }
    std::fclose(f);
    return m;
}

long long readAndCountLines(const std::string& path, std::size_t bufferSize) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return -1;
    std::unique_ptr<char[]> buffer(new char[bufferSize]);
    long long lines = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get(), bufferSize);
        if (got < 0) lines = -1;
        if (got <= 0) break;
        const char* p = buffer.get();
        const char* end = p + got;
        while (const void* q = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(q) + 1;
        }
    }
    ::close(fd);
    return lines;
}

std::string runSelf(const std::vector<std::string>& args, bool& ok) {
    ok = false;
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    self[n] = '\0';
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    std::vector<char*> argv{self};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::execv(self, argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeFds[0]);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return {};
    ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ok ? out : std::string();
}

}  // namespace bench
