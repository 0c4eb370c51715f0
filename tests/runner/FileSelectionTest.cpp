// The file dialog's multi-selection result and path joining.
#include "runner/FileSelection.h"

#include <gtest/gtest.h>

using Files = std::vector<std::string>;

namespace {
Files split(const std::string& buffer) { return runner::selectedFilesSplit(buffer.data(), buffer.size()); }
}  // namespace

TEST(FileSelection, SingleAndMultipleSelections) {
    using namespace std::string_literals;
    EXPECT_EQ(split("C:\\work\\a.dwg\0\0"s), (Files{"C:\\work\\a.dwg"}));
    EXPECT_EQ(split("C:\\work\0b.dwg\0a.dwg\0c.dwg\0\0"s),
              (Files{"C:\\work\\b.dwg", "C:\\work\\a.dwg", "C:\\work\\c.dwg"}));
    EXPECT_EQ(split("C:\\\0a.dwg\0b.dwg\0\0"s), (Files{"C:\\a.dwg", "C:\\b.dwg"}));
    // A folder ending in 表 (95 5C) still needs its separator.
    EXPECT_EQ(split("C:\\\x95\x5C\0a.dwg\0b.dwg\0\0"s), (Files{"C:\\\x95\x5C\\a.dwg", "C:\\\x95\x5C\\b.dwg"}));
    EXPECT_EQ(split("\0\0"s), Files{});
    EXPECT_EQ(split(""s), Files{});
    // A buffer whose final NUL is missing ends at its size.
    EXPECT_EQ(split("C:\\w\0a"s), (Files{"C:\\w\\a"}));
}

TEST(FileSelection, PathJoin) {
    EXPECT_EQ(runner::pathJoin("C:\\Tools", "tmp.scr"), "C:\\Tools\\tmp.scr");
    EXPECT_EQ(runner::pathJoin("C:\\", "tmp.scr"), "C:\\tmp.scr");
    EXPECT_EQ(runner::pathJoin("C:\\My Tools", "tmp.scr"), "C:\\My Tools\\tmp.scr");
    EXPECT_EQ(runner::pathJoin("C:\\\x83\x5C", "tmp.scr"), "C:\\\x83\x5C\\tmp.scr");  // ソ
}
