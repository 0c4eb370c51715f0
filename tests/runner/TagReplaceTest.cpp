// Path parts and tag substitution of the batch run.
#include "runner/TagReplace.h"

#include <gtest/gtest.h>

using runner::pathPartsSplit;
using runner::scriptTagReplace;

namespace {

struct PathCase {
    const char* path;
    const char* folder;  // [%FOLDER%]
    const char* name;    // [%FILENAME%]
    const char* ext;     // [%FILEEXT%]
};

const PathCase kPaths[] = {
    {"C:\\work\\a.dwg", "C:\\work\\", "a", ".dwg"},
    {"C:\\work\\site.old.DWG", "C:\\work\\", "site.old", ".DWG"},
    {"C:\\a.dwg", "C:\\\\", "a", ".dwg"},                     // drive root keeps its backslash
    {"C:\\work\\README", "C:\\work\\", "README", ""},         // no dot
    {"C:\\work.v2\\README", "C:\\work.v2\\", "README", ""},   // a dot in the folder is not the extension's
    {"C:\\work\\.dwg", "C:\\work\\", "", ".dwg"},
    {"C:\\work\\a.", "C:\\work\\", "a", "."},
    {"\\\\server\\share\\a.dxf", "\\\\server\\share\\", "a", ".dxf"},
    {"\\a.dwg", "\\\\", "a", ".dwg"},                         // backslash as first character stays
    {"C:a.dwg", "C:\\", "a", ".dwg"},                         // a colon separates too
    {"a.dwg", "\\", "a", ".dwg"},
    {"C:\\work\\", "C:\\work\\", "", ""},
    // 表 (95 5C) ends the folder name: its trail byte is no separator.
    {"C:\\\x95\x5C\\a.dwg", "C:\\\x95\x5C\\", "a", ".dwg"},
    // ソ (83 5C) inside a name, and a folder of 表 alone under a root.
    {"D:\\\x83\x5C\x83t\x83g\\\x95\x5C.dwg", "D:\\\x83\x5C\x83t\x83g\\", "\x95\x5C", ".dwg"},
    {"C:\\\x95\x5C", "C:\\\\", "\x95\x5C", ""},
    // A folder ending in 表 directly before the last backslash: that backslash is a folder's, so it goes.
    {"\x95\x5C\\a", "\x95\x5C\\", "a", ""},
};

}  // namespace

TEST(TagReplace, PathPartsFollowTheLastSeparatorAndTheLastDot) {
    for (const PathCase& c : kPaths) {
        runner::TagValues v = runner::tagValuesFor(c.path, 1);
        EXPECT_EQ(v.filePath, c.path);
        EXPECT_EQ(v.folder, c.folder) << c.path;
        EXPECT_EQ(v.fileName, c.name) << c.path;
        EXPECT_EQ(v.fileExt, c.ext) << c.path;
    }
}

TEST(TagReplace, DirectoryPartDropsOnlyAFolderBackslash) {
    EXPECT_EQ(pathPartsSplit("C:\\work\\a.dwg").directory, "C:\\work");
    EXPECT_EQ(pathPartsSplit("C:\\a.dwg").directory, "C:\\");
    EXPECT_EQ(pathPartsSplit("\\\\srv\\a").directory, "\\\\srv");
    EXPECT_EQ(pathPartsSplit("\\\\a").directory, "\\\\");
    EXPECT_EQ(pathPartsSplit("a.dwg").directory, "");
}

TEST(TagReplace, EveryTagForOneFile) {
    EXPECT_EQ(scriptTagReplace("[%FILEPATH%]|[%FOLDER%]|[%FILENAME%]|[%FILEEXT%]|[%NUMBER%]",
                               "C:\\work\\site.old.DWG", 12),
              "C:\\work\\site.old.DWG|C:\\work\\|site.old|.DWG|12");
}

TEST(TagReplace, TagsInAnyCaseAndEveryOccurrence) {
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"open [%filepath%]", "open C:\\w\\a.dwg"},
        {"open [%FilePath%]", "open C:\\w\\a.dwg"},
        {"[%number%]-[%NUMBER%]-[%Number%]", "7-7-7"},
        {"saveas [%FOLDER%][%FILENAME%]_new[%fileext%]", "saveas C:\\w\\a_new.dwg"},
        {"[%FILENAME%][%FILENAME%]", "aa"},
        {"no tags here", "no tags here"},
        {"[% FILEPATH%] [FILEPATH] %FILEPATH%", "[% FILEPATH%] [FILEPATH] %FILEPATH%"},
        {"[%FILEPATH", "[%FILEPATH"},
        {"", ""},
        {"[[%NUMBER%]]", "[7]"},
    };
    for (const Case& c : cases) EXPECT_EQ(scriptTagReplace(c.line, "C:\\w\\a.dwg", 7), c.expected) << c.line;
}

TEST(TagReplace, InsertedValueIsNotSearchedForTheSameTagButForLaterOnes) {
    // A file path that itself holds tags: FILEPATH does not expand again, the later tags do.
    const std::string path = "C:\\[%FILEPATH%]\\[%NUMBER%].dwg";
    EXPECT_EQ(scriptTagReplace("[%FILEPATH%]", path, 3), "C:\\[%FILEPATH%]\\3.dwg");
    // FOLDER inserts "[%FILENAME%]" text, which the later FILENAME step replaces.
    EXPECT_EQ(scriptTagReplace("[%FOLDER%]", "C:\\[%FILENAME%]\\x.dwg", 1), "C:\\x\\");
    // NUMBER is the last step, so a FILENAME value that holds "[%FOLDER%]" keeps it.
    EXPECT_EQ(scriptTagReplace("[%FILENAME%]", "C:\\d\\[%FOLDER%].dwg", 1), "[%FOLDER%]");
}

TEST(TagReplace, TrailByteBracketDoesNotStartATag) {
    // ゼ is 83 5B: its trail byte is '[' but it starts no tag; the real tag after it is replaced.
    EXPECT_EQ(scriptTagReplace("\x83[%NUMBER%]", "C:\\a.dwg", 5), "\x83[%NUMBER%]");
    EXPECT_EQ(scriptTagReplace("\x83[[%NUMBER%]", "C:\\a.dwg", 5), "\x83[5");
    // Shift-JIS text around the tags is kept byte for byte.
    EXPECT_EQ(scriptTagReplace("\x95\x5C[%FILENAME%]\x95\x5C", "C:\\\x95\x5C\\\x95\x5C.dwg", 1),
              "\x95\x5C\x95\x5C\x95\x5C");
}

TEST(TagReplace, NumberHasNoPaddingNorSign) {
    EXPECT_EQ(scriptTagReplace("[%NUMBER%]", "a", 1), "1");
    EXPECT_EQ(scriptTagReplace("[%NUMBER%]", "a", 10000), "10000");
}
