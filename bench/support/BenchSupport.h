// What every benchmark shares: the figure lines scripts/bench pairs up across the two builds, checks of the
// outputs, samples with their spread, and the few measurements each platform makes its own way (thread time,
// process memory, a file read with the kernel's calls, the program started again as a fresh process).
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// "native" or "win32": the build that prints the figures.
const char* buildName();

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start);

// Processor time of the calling thread. Under Wine it moves in steps of 10 ms: time spans of a second or more.
double threadCpuSeconds();

// Bytes of the process: resident (working set) and private (anonymous pages; commit charge on Windows).
struct ProcessMemory {
    double resident = 0;
    double privateBytes = 0;
};
ProcessMemory processMemory();

// Reads the file through the kernel's own calls (read, ReadFile) into one buffer of `bufferSize` bytes, again
// and again, and counts its LF bytes with memchr. Returns the count, or -1 when the file cannot be read.
long long readAndCountLines(const std::string& path, std::size_t bufferSize);

// Starts this program again with `args` and returns what it wrote to standard output; an empty result with
// `ok` false when it could not be started or did not end with 0.
std::string runSelf(const std::vector<std::string>& args, bool& ok);

// Measured values of one quantity, several rounds.
class Samples {
public:
    void add(double v) { values_.push_back(v); }
    std::size_t size() const { return values_.size(); }
    double best() const;    // the smallest
    double median() const;
    double worst() const;   // the largest
    double last() const { return values_.empty() ? 0 : values_.back(); }
private:
    std::vector<double> values_;
};

// The figures and checks of one benchmark program.
class Report {
public:
    // One figure line: "[build] name ....... value (target <= limit) ok   details". scripts/bench prints the
    // lines of both builds in pairs, so a program prints the same figures in the same order on either build.
    // A value above the limit is marked OVER and counted.
    void figure(const std::string& name, double value, double limit, const std::string& details);
    // A line under the figures, for what explains them (not paired).
    void note(const std::string& text);
    // A check of an output: a wrong result is marked and makes finish() return 1, whatever the timings.
    bool check(bool ok, const std::string& what);
    // Prints the closing line (figures, how many over their target, checks failed) and returns the exit code: 1
    // when a check failed, else 0. A missed target alone does not fail the program: timings on a shared
    // machine stray, and the closing lines and scripts/bench's summary say which figures are over.
    int finish() const;

private:
    int figures_ = 0;
    int over_ = 0;
    int failed_ = 0;
};

// printf into a std::string (C99 conversions on both builds).
std::string format(const char* fmt, ...) __attribute__((format(gnu_printf, 1, 2)));

}  // namespace bench
