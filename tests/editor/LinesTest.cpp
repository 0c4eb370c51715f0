// Lines: loading and saving files, setting the text, logical lines with word wrap, and the edit messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "StoreTestSupport.h"
#include "core/AppError.h"
#include "editor/EditMessages.h"
#include "editor/EditorStrings.h"
#include "editor/TextFile.h"

namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("canopia-store-" + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct Fixture {
    TEditorScreenStrings store;
    RecordingEditor editor;
    TEditorStrings lines{store, &editor};
    Fixture() { store.Attach(&editor); }
    ~Fixture() { store.Detach(&editor); }
};

}  // namespace

TEST(Load, LoneCrAndLoneLfBreakRowsAndSaveWritesCrLfWithoutAFinalBreak) {
    TempDir dir;
    Fixture f;
    writeFile(dir.file("in.scr"), "a\rb\nc");
    f.lines.LoadFromFile(dir.file("in.scr"));
    EXPECT_EQ(dumpRows(f.store), "a|L b|L c|T");
    f.lines.SaveToFile(dir.file("out.scr"));
    EXPECT_EQ(readFile(dir.file("out.scr")), "a\r\nb\r\nc");
}

TEST(Load, NothingAfterAnEofByteIsLoaded) {
    TempDir dir;
    Fixture f;
    writeFile(dir.file("in.scr"), std::string("line\r\nrest\x1A" "after\r\nmore\r\n"));
    f.lines.LoadFromFile(dir.file("in.scr"));
    EXPECT_EQ(dumpRows(f.store), "line|L rest|T");
    f.lines.SetText(std::string("x\r\n\x1Ay\r\n"));
    EXPECT_EQ(dumpRows(f.store), "x|L");
}

TEST(Load, CrAtTheEndOfOneReadAndLfAtTheStartOfTheNextAreOneBreak) {
    TempDir dir;
    for (const std::size_t chunk : {1, 2, 3, 7, 8192}) {
        std::string bytes = std::string(8191, 'a') + "\r\nb\r\rc\n\r\nd";
        writeFile(dir.file("in.scr"), bytes);
        TEditorStringList rows;
        std::FILE* file = std::fopen(dir.file("in.scr").c_str(), "rb");
        ASSERT_TRUE(textfile::ReadRows(file, rows, chunk));
        std::fclose(file);
        ASSERT_EQ(rows.Count(), 6) << "chunk " << chunk;
        EXPECT_EQ(rows.RowLength(0), 8191);
        EXPECT_EQ(rows.Get(1), "b");
        EXPECT_EQ(rows.Get(2), "");
        EXPECT_EQ(rows.Get(3), "c");
        EXPECT_EQ(rows.Get(4), "");
        EXPECT_EQ(rows.Get(5), "d");
        EXPECT_EQ(rows.RowAttribute(5), raTextEnd);
    }
}

TEST(Load, LoadingAndSettingTheTextFireNoOnChangeAndLeaveModified) {
    TempDir dir;
    Fixture f;
    writeFile(dir.file("in.scr"), "abc\r\n");
    f.lines.LoadFromFile(dir.file("in.scr"));
    f.lines.SetText("x\r\ny");
    EXPECT_EQ(f.editor.changes, 0);
    EXPECT_FALSE(f.editor.Modified());
    f.editor.SetCaretPos(0, 1);
    f.store.ReplaceRows(0, 1, "xz\r\n");  // one typed character
    EXPECT_EQ(f.editor.changes, 1);
    EXPECT_TRUE(f.editor.Modified());
    f.lines.SetText("again");
    EXPECT_TRUE(f.editor.Modified());  // only the host clears it
}

TEST(Load, AFileThatCannotBeOpenedLeavesAnEmptyStoreAndReachesTheCaller) {
    TempDir dir;
    Fixture f;
    f.lines.SetText("old\r\n");
    f.store.ReplaceRows(0, 1, "older\r\n");
    EXPECT_THROW(f.lines.LoadFromFile(dir.file("missing.scr")), AppError);
    EXPECT_EQ(f.store.Count(), 0);
    EXPECT_FALSE(f.store.UndoObj().CanUndo());
    EXPECT_FALSE(f.store.UndoObj().CanRedo());
}

TEST(Load, TheCaretIsClampedToTheNewText) {
    Fixture f;
    f.lines.SetText("a\r\nb\r\nc\r\n");
    f.editor.SetCaretPos(3, 0);
    f.lines.SetText("only");
    EXPECT_EQ(f.editor.CaretRow(), 0);
    f.lines.SetText("");
    EXPECT_EQ(f.editor.CaretRow(), 0);
}

TEST(Save, AFailedWriteLeavesTheOldFileAsItWas) {
    TempDir dir;
    const std::string path = dir.file("keep.scr");
    writeFile(path, "precious\r\n");
    int written = 0;
    const bool ok = textfile::WriteReplacing(path, [&written](std::FILE* f) {
        written += static_cast<int>(std::fwrite("half", 1, 4, f));
        return false;  // the disk filled up half-way
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(written, 4);
    EXPECT_EQ(readFile(path), "precious\r\n");
    EXPECT_FALSE(std::ifstream(path + ".~cnp").good());  // the half-written file is gone
}

TEST(Save, AnUnwritableTargetIsReportedAndNothingIsReplaced) {
    TempDir dir;
    Fixture f;
    f.lines.SetText("text\r\n");
    EXPECT_THROW(f.lines.SaveToFile(dir.file("no-such-folder") + "/x.scr"), AppError);
    // A folder in the file's place cannot be replaced by a file.
    const std::string folder = dir.file("folder.scr");
    ASSERT_TRUE(fs::create_directory(folder));
    EXPECT_THROW(f.lines.SaveToFile(folder), AppError);
    EXPECT_FALSE(std::ifstream(folder + ".~cnp").good());
}

TEST(Save, ShiftJisTextRoundTripsByteForByte) {
    TempDir dir;
    Fixture f;
    const std::string bytes = "\x95\x5C\x8E\xA6\r\n\x83\x5C\x83\x74\x83\x67\r\n; comment\\";  // 表示, ソフト
    writeFile(dir.file("in.scr"), bytes);
    f.lines.LoadFromFile(dir.file("in.scr"));
    EXPECT_EQ(f.store.Count(), 3);
    f.lines.SaveToFile(dir.file("in.scr"));  // over the existing file
    EXPECT_EQ(readFile(dir.file("in.scr")), bytes);
    EXPECT_FALSE(fs::exists(dir.file("in.scr.~cnp")));
    EXPECT_FALSE(fs::exists(dir.file("in.scr.~cnp-old")));
}

TEST(Lines, AddInsertPutDeleteAreOneUndoStepEach) {
    Fixture f;
    f.lines.SetText("a");
    EXPECT_EQ(f.lines.Add("b"), 1);  // completes the last line first, in the same step
    EXPECT_EQ(f.lines.Text(), "a\r\nb\r\n");
    EXPECT_EQ(f.editor.CaretRow(), 1);
    EXPECT_EQ(f.editor.CaretCol(), 1);
    f.lines.Insert(0, "z");
    f.lines.Put(1, "A");
    f.lines.Delete(2);
    EXPECT_EQ(f.lines.Text(), "z\r\nA\r\n");
    EXPECT_EQ(f.lines.Count(), 2);
    EXPECT_EQ(f.editor.changes, 4);
    EXPECT_EQ(f.store.UndoObj().UndoList().Count(), 4);
    for (int i = 0; i < 4; ++i) f.store.UndoObj().Undo();
    EXPECT_EQ(f.lines.Text(), "a");
    EXPECT_THROW(f.lines.Get(5), EListError);
    EXPECT_THROW(f.lines.Delete(1), EListError);
}

TEST(Lines, WithWordWrapALineIsARunOfWrappedRows) {
    Fixture f;
    f.store.WrapOption().SetWrapByte(20);
    f.store.SetWordWrap(true);
    const std::string longLine(45, 'q');
    f.lines.SetText("first\r\n" + longLine + "\r\nlast");
    EXPECT_EQ(f.store.Count(), 5);
    EXPECT_EQ(f.lines.Count(), 3);
    EXPECT_EQ(f.lines.Get(1), longLine);
    EXPECT_EQ(f.lines.Get(2), "last");
    f.lines.Put(1, "short");
    EXPECT_EQ(dumpRows(f.store), "first|L short|L last|T");
    f.lines.Insert(1, longLine);
    EXPECT_EQ(f.lines.Get(1), longLine);
    f.lines.Delete(1);
    EXPECT_EQ(f.lines.Text(), "first\r\nshort\r\nlast");
}

TEST(Lines, UpdateNestingDefersOnChangeToTheEnd) {
    struct CountingEditor : RecordingEditor {
        int begins = 0, ends = 0;
        void LinesUpdateBegin() override { ++begins; }
        void LinesUpdateEnd() override { ++ends; }
    } editor;
    TEditorScreenStrings store;
    store.Attach(&editor);
    TEditorStrings lines(store, &editor);
    lines.BeginUpdate();
    lines.Add("a");
    lines.BeginUpdate();
    lines.Add("b");
    lines.EndUpdate();
    EXPECT_EQ(editor.changes, 0);
    lines.EndUpdate();
    lines.EndUpdate();  // one too many changes nothing
    EXPECT_EQ(editor.changes, 1);
    EXPECT_EQ(editor.begins, 1);  // the caret is hidden and repainting switched off once, for the outermost pair
    EXPECT_EQ(editor.ends, 1);
    EXPECT_EQ(lines.Text(), "a\r\nb\r\n");
    EXPECT_EQ(store.UndoObj().UndoList().Count(), 2);
    store.Detach(&editor);
}

TEST(EditMessages, OffsetsCountCrLfAfterLineEndRowsOnly) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    s.SetText("ab\r\n" + std::string(25, 'w') + "\r\nz");
    // rows: "ab"|L, 20 w|W, 5 w|L, "z"|T
    EXPECT_EQ(editmsg::LineCount(s), 4);
    EXPECT_EQ(editmsg::LineIndex(s, 1, 0), 4);
    EXPECT_EQ(editmsg::LineIndex(s, 2, 0), 24);  // nothing after a wrapped row
    EXPECT_EQ(editmsg::LineIndex(s, 3, 0), 31);
    EXPECT_EQ(editmsg::LineIndex(s, 4, 0), -1);
    EXPECT_EQ(editmsg::LineIndex(s, -1, 2), 24);
    EXPECT_EQ(editmsg::LineFromChar(s, 3, 0), 0);  // inside the break after "ab"
    EXPECT_EQ(editmsg::LineFromChar(s, 24, 0), 2);
    EXPECT_EQ(editmsg::LineFromChar(s, 99, 0), 3);
    EXPECT_EQ(editmsg::LineFromChar(s, -1, 1), 1);
    EXPECT_EQ(editmsg::LineLength(s, 25, 0), 5);
    EXPECT_EQ(editmsg::LineText(s, 3), "z");
    s.SetText("a\r\n");
    EXPECT_EQ(editmsg::LineCount(s), 2);  // the phantom row is a line the caret can stand on
    EXPECT_EQ(editmsg::LineIndex(s, 1, 0), 3);
    EXPECT_EQ(editmsg::LineFromChar(s, 3, 0), 1);
}
