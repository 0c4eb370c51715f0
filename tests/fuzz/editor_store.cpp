// Fuzz target for the editor's text store: load + random edits, undo and redo, word wrap with every option
// varied, with the store's invariants checked after every step.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/ColumnMap.h"
#include "editor/EditorScreenStrings.h"
#include "editor/EditorStrings.h"

namespace {

#define CHECK(cond)                                                    \
    do {                                                               \
        if (!(cond)) {                                                 \
            __builtin_trap();                                          \
        }                                                              \
    } while (0)

struct Input {
    const std::uint8_t* p;
    std::size_t n;
    std::uint8_t byte() {
        if (!n) return 0;
        --n;
        return *p++;
    }
    int number(int limit) { return limit <= 0 ? 0 : static_cast<int>((byte() | (byte() << 8)) % limit); }
    std::string text(std::size_t max) {
        const std::size_t len = std::min<std::size_t>(byte() % (max + 1), n);
        std::string s(reinterpret_cast<const char*>(p), len);
        p += len;
        n -= len;
        return s;
    }
};

// The text as the store must hold it: up to the first 0x1A, every break (CR LF, lone CR, lone LF) as CR LF.
std::string normalised(const std::string& raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == 0x1A) break;
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

void checkRows(const TEditorScreenStrings& s) {
    const int count = s.Count();
    TRowAttribute prev = raLineEnd;
    std::int64_t offset = 0;
    std::string joined;
    for (int i = 0; i < count; ++i) {
        const std::string_view row = s.RowView(i);
        CHECK(row.find('\r') == std::string_view::npos && row.find('\n') == std::string_view::npos);
        const TRowAttribute a = s.RowAttribute(i);
        CHECK(a != raNone);
        CHECK(s.PrevRowAttribute(i) == prev);
        CHECK(a != raTextEnd || i == count - 1);
        CHECK(a != raWrapped || s.WordWrap());
        CHECK(s.RowOffset(i) == offset);
        joined.append(row);
        if (a == raLineEnd) joined += "\r\n";
        offset = static_cast<std::int64_t>(joined.size());
        prev = a;
    }
    if (count > 0) CHECK(s.RowAttribute(count - 1) != raWrapped);
    CHECK(s.TextLength() == offset);
    CHECK(s.Text() == joined);
}

// With word wrap on, the rows are what wrapping the text afresh with the same options gives (an edit re-cuts
// only its block, so the rows around it must agree with a fresh cut); no wrapped row is empty, and none is
// wider than the width plus the punctuation that may hang past it.
void checkWrap(const TEditorScreenStrings& s) {
    if (!s.WordWrap()) return;
    const int wrap = s.WrapOption().WrapByte();
    for (int i = 0; i < s.Count(); ++i) {
        if (s.RowAttribute(i) != raWrapped) continue;
        CHECK(s.RowLength(i) > 0);
        CHECK(static_cast<int>(ColumnMap(s.RowView(i), s.ColumnOptions()).size()) <= wrap + 3);
    }
    TEditorScreenStrings fresh;
    const TEditorWrapOption& o = s.WrapOption();
    TEditorWrapOption& f = fresh.WrapOption();
    f.SetWrapByte(wrap);
    f.SetWordBreak(o.WordBreak());
    f.SetFollowPunctuation(o.FollowPunctuation());
    f.SetFollowRetMark(o.FollowRetMark());
    f.SetLeading(o.Leading());
    f.SetFollowStr(o.FollowStr());
    f.SetLeadStr(o.LeadStr());
    f.SetPunctuationStr(o.PunctuationStr());
    fresh.SetTabSpaceCount(s.TabSpaceCount());
    fresh.SetWordWrap(true);
    fresh.ReplaceRows(0, 0, s.Text());  // not SetText, which stops at a 0x1A an edit may have typed
    CHECK(fresh.Count() == s.Count());
    for (int i = 0; i < s.Count(); ++i) {
        CHECK(fresh.RowView(i) == s.RowView(i));
        CHECK(fresh.RowAttribute(i) == s.RowAttribute(i));
    }
}

// One change of the wrap options or of the tab width, as fuzzed bytes say. The text must not change.
void changeWrapOption(TEditorScreenStrings& s, Input& in) {
    const std::string before = s.Text();
    TEditorWrapOption& o = s.WrapOption();
    switch (in.byte() % 9) {
        case 0: o.SetWrapByte(in.byte() % 64); break;  // clamped to 20 and above
        case 1: o.SetWordBreak(!o.WordBreak()); break;
        case 2: o.SetFollowPunctuation(!o.FollowPunctuation()); break;
        case 3: o.SetFollowRetMark(!o.FollowRetMark()); break;
        case 4: o.SetLeading(!o.Leading()); break;
        case 5: o.SetFollowStr(in.text(8)); break;
        case 6: o.SetLeadStr(in.text(8)); break;
        case 7: o.SetPunctuationStr(in.text(8)); break;
        default: s.SetTabSpaceCount(in.byte() % 10); break;
    }
    CHECK(s.Text() == before);
}

struct Snapshot {
    std::string text;
    std::vector<std::uint32_t> words;
    bool operator==(const Snapshot& o) const { return text == o.text && words == o.words; }
};

Snapshot snapshot(const TEditorScreenStrings& s) {
    Snapshot snap{s.Text(), {}};
    for (int i = 0; i < s.Count(); ++i) {
        snap.words.push_back(s.Attribute(i));
        snap.words.push_back(s.Attribute2(i));
    }
    return snap;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    // Load the first part in reads of fuzzed sizes; it must equal the same text set at once.
    const std::string raw = in.text(255) + in.text(255);
    TEditorScreenStrings s;
    s.UndoObj().SetUndoListMax(100000);
    std::size_t at = 0;
    s.LoadRows(
        [&](char* buffer, std::size_t room) -> long {
            const std::size_t n = std::min({room, raw.size() - at, static_cast<std::size_t>(1 + in.byte() % 17)});
            std::memcpy(buffer, raw.data() + at, n);
            at += n;
            return static_cast<long>(n);
        },
        1 + in.byte() % 32);
    CHECK(s.Text() == normalised(raw));
    checkRows(s);
    TEditorScreenStrings whole;
    whole.SetText(raw);
    CHECK(whole.Text() == s.Text() && whole.Count() == s.Count());

    TEditorStrings lines(s, nullptr);
    Snapshot base = snapshot(s);  // what undoing everything must give back
    while (in.n > 0) {
        const int op = in.byte() % 13;
        const int count = s.Count();
        if (op <= 5) {
            const int first = in.number(count + 2) - 1;
            const int rows = in.number(4);
            s.ReplaceRows(first, rows, in.text(40));
        } else if (op == 6) {
            s.UndoObj().Undo();
        } else if (op == 7) {
            s.UndoObj().Redo();
        } else if (op == 8) {
            s.SetWordWrap(!s.WordWrap());
            base = snapshot(s);
        } else if (op == 12) {
            changeWrapOption(s, in);
            // A change that re-wrapped cleared the undo lists: undoing everything comes back to here.
            if (!s.UndoObj().CanUndo()) base = snapshot(s);
        } else if (op == 9 && lines.Count() > 0) {
            const int line = in.number(lines.Count());
            if (in.byte() & 1) {
                lines.Put(line, in.text(30));
            } else {
                lines.Delete(line);
            }
        } else if (op == 10) {
            lines.Insert(in.number(lines.Count() + 1), in.text(30));
        } else {
            lines.Add(in.text(30));
        }
        checkRows(s);
        checkWrap(s);
    }
    const Snapshot edited = snapshot(s);
    int undone = 0;
    for (; s.UndoObj().CanUndo(); ++undone) s.UndoObj().Undo();
    CHECK(snapshot(s) == base);
    for (int i = 0; i < undone; ++i) s.UndoObj().Redo();
    CHECK(snapshot(s) == edited);
    return 0;
}
