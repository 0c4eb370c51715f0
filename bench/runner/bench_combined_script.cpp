// The combined script for 10,000 files of a 100-line script, written through the files a batch run uses,
// against a plain buffered loop (the C runtime's fwrite) that writes the same bytes, measured in the same run.
// Also the writer's peak heap for 1,000 and for 10,000 files, which must not grow with the batch. The bytes
// written are checked against an obvious reference: small scripts with every tag and every line ending, held in
// memory and read again per file, and the large batch itself.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ScriptFiles.h"
#include "runner/ScriptText.h"
#include "runner/TagReplace.h"

namespace {

// Bytes on the heap now and at most, counted by the operators below: the same on either build, exactly.
struct HeapCount {
    std::size_t live = 0;
    std::size_t peak = 0;
};
HeapCount heap;  // the program's one heap, so one count for it

}  // namespace

// Every block carries its size in front, so that a delete knows what it gives back.
namespace {
constexpr std::size_t kHeader = 16;  // keeps the blocks as aligned as malloc's

void* counted(std::size_t size) {
    void* p = std::malloc(size + kHeader);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    heap.live += size;
    heap.peak = std::max(heap.peak, heap.live);
    return static_cast<char*>(p) + kHeader;
}

void uncounted(void* p) noexcept {
    if (!p) return;
    char* block = static_cast<char*>(p) - kHeader;
    heap.live -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::format;
using bench::secondsSince;

// A script as an operator writes it: opening, editing and saving each drawing, with tags on a few lines.
std::string scriptText() {
    std::ostringstream s;
    s << "open [%FILEPATH%]\r\n";
    for (int i = 1; i < 99; ++i) {
        switch (i % 10) {
            case 0: s << "-layer s \x8C\x9A\x95\xA8" << i << " \r\n"; break;  // 建物
            case 3: s << "-insert \"[%FOLDER%]blocks\\title.dwg\" 0,0 1 1 0\r\n"; break;
            case 7: s << "-text 10," << i * 5 << " 2.5 0 [%FILENAME%] ([%NUMBER%])\r\n"; break;
            default: s << "line " << i << ",0 " << i << ",100 \r\n"; break;
        }
    }
    s << "saveas 2000 [%FOLDER%]out\\[%FILENAME%][%FILEEXT%]\r\n";
    return s.str();
}

std::vector<std::string> filesOf(int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        // C:\図面\現場A\site.old.NNNN.DWG
        files.push_back("C:\\\x90\x7D\x96\xCA\\\x8C\xBB\x8F\xEA" "A\\site.old." + std::to_string(i) + ".DWG");
    }
    return files;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The combined script the obvious way: the whole script split into lines (LF or CR LF ends one, a lone CR is
// dropped, Ctrl+Z ends the text, a last line without an ending counts), each line's tags replaced per file.
std::string referenceCombined(const std::string& script, const std::vector<std::string>& files) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (const char c : script) {
        if (c == '\x1A') break;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            if (c != '\r') line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    std::string out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (const std::string& l : lines) {
            out += runner::scriptTagReplace(l, files[i], static_cast<int>(i + 1)) + "\r\n";
        }
    }
    return out;
}

void combinedRun(const std::string& script, const std::vector<std::string>& files, const std::string& out,
                 std::size_t heldLimit = runner::kScriptHeldLimit) {
    const std::unique_ptr<runner::ByteSink> sink = benchfiles::createOutput(out);
    runner::combinedScriptWrite([&] { return benchfiles::openScript(script); }, files, *sink, 1, heldLimit);
}

void plainRun(const std::vector<std::string>& lines, const std::string& out) {
    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) return;
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fwrite("\r\n", 1, 2, f);
    }
    std::fclose(f);
}

// Small scripts that hold every tag, in lower case too, lone CRs, LF-only lines, a Ctrl+Z and a last line
// without an ending, each written from memory and read again per file, against the reference.
void checkSmallCases(bench::Report& report, const fs::path& dir) {
    const std::string scripts[] = {
        "open [%FILEPATH%]\r\n[%folder%]|[%FileName%]|[%FILEEXT%]|[%NUMBER%]\nzoom\re\r\n[x] no tag\r\nlast",
        "\x95\x5C[%NUMBER%]\r\n\x83[%NUMBER%]\r\n\r\n\x1A" "after the end\r\n",  // 表, then a lead byte before "["
        "",
    };
    const std::vector<std::string> files = {"C:\\work\\site.old.DWG", "D:\\\x95\x5C\\a", "noext", "C:\\x.dxf"};
    const std::string script = (dir / "small.scr").string();
    const std::string out = (dir / "small-tmp.scr").string();
    int k = 0;
    for (const std::string& text : scripts) {
        std::ofstream(script, std::ios::binary) << text;
        const std::string expected = referenceCombined(text, files);
        for (const std::size_t limit : {runner::kScriptHeldLimit, std::size_t{0}}) {
            combinedRun(script, files, out, limit);
            report.check(fileBytes(out) == expected,
                         format("small script %d, %s: the bytes of the reference", k,
                                limit ? "held" : "read per file"));
        }
        ++k;
    }
    fs::remove(script);
    fs::remove(out);
}

}  // namespace

int main() {
    bench::Report report;
    const fs::path dir = fs::temp_directory_path() / ("canopia-bench-combined-" + std::string(bench::buildName()));
    fs::create_directories(dir);
    checkSmallCases(report, dir);

    const std::string script = (dir / "script.scr").string();
    const std::string combined = (dir / "tmp.scr").string();
    const std::string plain = (dir / "plain.scr").string();
    const std::string text = scriptText();
    std::ofstream(script, std::ios::binary) << text;

    // The writer's peak heap alone, for a small and a large batch (the file lists made before).
    const std::vector<std::string> small = filesOf(1000);
    const std::vector<std::string> files = filesOf(10000);
    std::size_t growth[2];
    for (int k = 0; k < 2; ++k) {
        heap.peak = heap.live;
        const std::size_t before = heap.live;
        combinedRun(script, k == 0 ? small : files, combined);
        growth[k] = heap.peak - before;
    }
    const std::string expected = referenceCombined(text, files);
    report.check(fileBytes(combined) == expected, "the large batch: the bytes of the reference");

    // The baseline writes the very bytes of the combined script, line by line, from memory.
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < expected.size();) {
        const std::size_t end = expected.find("\r\n", at);
        lines.push_back(expected.substr(at, end - at));
        at = end + 2;
    }

    // Alternated, so that both see the same machine; the best of each counts.
    const int rounds = 11;
    bench::Samples writer, baseline, pairs;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = Clock::now();
        combinedRun(script, files, combined);
        writer.add(secondsSince(t0));
        t0 = Clock::now();
        plainRun(lines, plain);
        baseline.add(secondsSince(t0));
        pairs.add(writer.last() / baseline.last());
    }
    report.check(fs::file_size(plain) == expected.size(), "the baseline wrote the same number of bytes");
    report.figure("combined script / plain buffered writes", writer.best() / baseline.best(), 1.5,
                  format("%zu files x 100 lines, %.1f MB: writer %.1f ms, fwrite %.1f ms (best of %d; round ratios "
                         "%.2f-%.2f, median %.2f)",
                         files.size(), static_cast<double>(expected.size()) / 1e6, writer.best() * 1e3,
                         baseline.best() * 1e3, rounds, pairs.best(), pairs.worst(), pairs.median()));
    report.figure("combined script: heap peak 10,000 / 1,000 files", static_cast<double>(growth[1]) / growth[0], 1.0,
                  format("%zu bytes for 1,000 files, %zu bytes for 10,000", growth[0], growth[1]));
    fs::remove_all(dir);
    return report.finish();
}
