// Script reading, the combined script and the file error texts.
#include "runner/ScriptText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using runner::ByteSink;
using runner::ByteSource;
using runner::IoError;
using runner::ScriptLineReader;

namespace {

// Hands out `text` in pieces of at most `step` bytes, so line endings fall across reads.
class MemorySource : public ByteSource {
public:
    MemorySource(std::string text, std::size_t step) : text_(std::move(text)), step_(step) {}
    std::size_t read(char* buffer, std::size_t size) override {
        std::size_t n = std::min({size, step_, text_.size() - pos_});
        std::memcpy(buffer, text_.data() + pos_, n);
        pos_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t step_;
    std::size_t pos_ = 0;
};

class FailingSource : public ByteSource {
public:
    std::size_t read(char*, std::size_t) override { throw IoError(5); }
};

class MemorySink : public ByteSink {
public:
    void write(const char* data, std::size_t size) override {
        text.append(data, size);
        ++writes;
    }
    std::string text;
    int writes = 0;
};

class FullDiskSink : public ByteSink {
public:
    void write(const char*, std::size_t) override { throw IoError(runner::kIoDiskFull); }
};

std::vector<std::string> linesOf(const std::string& text, std::size_t step) {
    MemorySource source(text, step);
    ScriptLineReader reader(source);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) lines.push_back(line);
    return lines;
}

// The same through the view, which takes a shortcut for lines that lie whole in the buffer.
std::vector<std::string> viewLinesOf(const std::string& text, std::size_t step) {
    MemorySource source(text, step);
    ScriptLineReader reader(source);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) lines.emplace_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(ScriptLineReader, LineEndingsCtrlZAndTheLastLine) {
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\n", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\rb\n", {"ab"}},           // a lone CR is dropped
        {"a\r\r\nb", {"a", "b"}},     // CR CR LF: the first CR alone, the second ends the line
        {"a\r", {"a"}},
        {"\r", {}},
        {"a\n\r", {"a"}},
        {"a\x1A" "b\n", {"a"}},       // Ctrl+Z ends the file
        {"a\n\x1A" "b\n", {"a"}},
        {"\x1A" "a\n", {}},
        {"\x95\x5C\r\n\x83\x5C", {"\x95\x5C", "\x83\x5C"}},  // 表, ソ
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    for (const Case& c : cases) {
        for (std::size_t step : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1 << 20}}) {
            EXPECT_EQ(linesOf(c.text, step), c.lines) << "step " << step << " text " << c.text;
            EXPECT_EQ(viewLinesOf(c.text, step), c.lines) << "view, step " << step << " text " << c.text;
        }
    }
}

TEST(ScriptLineReader, LinesLongerThanTheBuffer) {
    std::string longLine(200 * 1024, 'x');
    std::string text = longLine + "\r\n" + longLine;
    for (const Lines& lines : {linesOf(text, 1 << 20), viewLinesOf(text, 1 << 20)}) {
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], longLine);
        EXPECT_EQ(lines[1], longLine);
    }
}

TEST(ScriptLineReader, ReadFailurePassesOn) {
    FailingSource source;
    ScriptLineReader reader(source);
    std::string line;
    EXPECT_THROW(reader.next(line), IoError);
}

TEST(CombinedScript, OneCopyPerFileWithItsTagsHeldOrReadAgain) {
    const std::string script = "open [%FILEPATH%] [%NUMBER%]\nzoom e\r\n[x] qsave";  // "[x]" is no tag
    struct Case {
        std::size_t heldLimit;
        int opens;
    };
    // Within the limit the script is read once; beyond it once per file, the first reading carrying on.
    const Case cases[] = {{runner::kScriptHeldLimit, 1}, {script.size(), 1}, {script.size() - 1, 3}, {0, 3}};
    for (const Case& c : cases) {
        int opens = 0;
        runner::ScriptOpener open = [&] {
            ++opens;
            return std::make_unique<MemorySource>(script, 4);
        };
        MemorySink out;
        runner::combinedScriptWrite(open, {"C:\\work\\a.dwg", "C:\\work\\b.dwg", "C:\\work\\c.dwg"}, out, 4,
                                    c.heldLimit);  // a resumed run numbering on from 4
        EXPECT_EQ(opens, c.opens) << "limit " << c.heldLimit;
        EXPECT_EQ(out.text,
                  "open C:\\work\\a.dwg 4\r\nzoom e\r\n[x] qsave\r\n"
                  "open C:\\work\\b.dwg 5\r\nzoom e\r\n[x] qsave\r\n"
                  "open C:\\work\\c.dwg 6\r\nzoom e\r\n[x] qsave\r\n")
            << "limit " << c.heldLimit;
    }
}

TEST(CombinedScript, AllTagsNumberedInListOrder) {
    runner::ScriptOpener open = [] {
        return std::make_unique<MemorySource>("[%NUMBER%] [%FOLDER%] [%FILENAME%] [%FILEEXT%] [%FILEPATH%]", 100);
    };
    MemorySink out;
    runner::combinedScriptWrite(open, {"D:\\z.DXF", "D:\\\x95\x5C\\a", "D:\\z.DXF"}, out);
    EXPECT_EQ(out.text,
              "1 D:\\\\ z .DXF D:\\z.DXF\r\n"
              "2 D:\\\x95\x5C\\ a  D:\\\x95\x5C\\a\r\n"
              "3 D:\\\\ z .DXF D:\\z.DXF\r\n");
}

TEST(CombinedScript, EmptyScriptOrNoFilesWriteNothing) {
    MemorySink out;
    runner::combinedScriptWrite([] { return std::make_unique<MemorySource>("", 1); }, {"C:\\a.dwg"}, out);
    runner::combinedScriptWrite([] { return std::make_unique<MemorySource>("x\n", 1); }, {}, out);
    EXPECT_EQ(out.text, "");
    EXPECT_EQ(out.writes, 0);
}

TEST(CombinedScript, WritesInLargeBlocks) {
    MemorySink out;
    std::vector<std::string> files(10000, "C:\\work\\a.dwg");
    runner::combinedScriptWrite([] { return std::make_unique<MemorySource>("zoom e\nopen [%FILEPATH%]\n", 64); },
                                files, out);
    EXPECT_EQ(out.text.size(), 10000u * (8 + 20));
    EXPECT_LE(out.writes, 5);  // 280,000 bytes in blocks of 64 KiB
}

TEST(CombinedScript, FailuresEndTheWriteWithTheirCode) {
    MemorySink out;
    try {
        runner::combinedScriptWrite([]() -> std::unique_ptr<ByteSource> { throw IoError(2); }, {"a"}, out);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), 2);
        EXPECT_STREQ(e.what(), "ファイルが見つかりません");
    }
    FullDiskSink full;
    EXPECT_THROW(runner::combinedScriptWrite([] { return std::make_unique<MemorySource>("x\n", 1); }, {"a"}, full),
                 IoError);

    // A script read again per file that cannot be opened the second time; and one whose read fails part-way,
    // held or not.
    for (const std::size_t limit : {std::size_t{0}, runner::kScriptHeldLimit}) {
        int opens = 0;
        MemorySink partial;
        auto secondFails = [&opens]() -> std::unique_ptr<ByteSource> {
            if (++opens == 2) throw IoError(4);
            return std::make_unique<MemorySource>("zoom e\n", 3);
        };
        if (limit == 0) {
            EXPECT_THROW(runner::combinedScriptWrite(secondFails, {"a", "b"}, partial, 1, limit), IoError);
        } else {
            runner::combinedScriptWrite(secondFails, {"a", "b"}, partial, 1, limit);  // held: opened once
            EXPECT_EQ(partial.text, "zoom e\r\nzoom e\r\n");
        }
        EXPECT_THROW(runner::combinedScriptWrite([] { return std::make_unique<FailingSource>(); }, {"a"}, partial, 1,
                                                 limit),
                     IoError);
    }
}

TEST(IoErrorText, TextsByCode) {
    EXPECT_EQ(runner::ioErrorText(2), "ファイルが見つかりません");
    EXPECT_EQ(runner::ioErrorText(3), "不正なファイル名です");
    EXPECT_EQ(runner::ioErrorText(4), "オープンしたファイルが多すぎます");
    EXPECT_EQ(runner::ioErrorText(5), "ファイルへのアクセスが拒否されました");
    EXPECT_EQ(runner::ioErrorText(101), "ディスクがいっぱいです");
    EXPECT_EQ(runner::ioErrorText(32), "I/O エラー (32)");
    EXPECT_EQ(runner::ioErrorText(0), "I/O エラー (0)");
}
