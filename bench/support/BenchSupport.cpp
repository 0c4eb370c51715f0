// The figure lines, checks and sample statistics every benchmark prints with, the same on both builds.
#include "BenchSupport.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace bench {

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Samples::best() const { return values_.empty() ? 0 : *std::min_element(values_.begin(), values_.end()); }

double Samples::worst() const { return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end()); }

double Samples::median() const {
    if (values_.empty()) return 0;
    std::vector<double> v = values_;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string s(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(&s[0], s.size() + 1, fmt, again);
    va_end(again);
    return s;
}

void Report::figure(const std::string& name, double value, double limit, const std::string& details) {
    ++figures_;
    const bool ok = value <= limit;
    if (!ok) ++over_;
    const std::string target = format("(target <= %g)", limit);
    std::printf("[%-6s] %-48s %7.2f %-15s %-4s  %s\n", buildName(), name.c_str(), value, target.c_str(),
                ok ? "ok" : "OVER", details.c_str());
    std::fflush(stdout);
}

void Report::note(const std::string& text) {
    std::printf("  %s\n", text.c_str());
    std::fflush(stdout);
}

bool Report::check(bool ok, const std::string& what) {
    if (!ok) {
        ++failed_;
        std::printf("[%-6s] CHECK FAILED: %s\n", buildName(), what.c_str());
        std::fflush(stdout);
    }
    return ok;
}

int Report::finish() const {
    std::printf("[%-6s] %d figures, %d over target, %d checks failed\n", buildName(), figures_, over_, failed_);
    std::fflush(stdout);
    return failed_ ? 1 : 0;
}

}  // namespace bench
