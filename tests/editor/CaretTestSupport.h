// Test helpers for the editor core: a core holding a text, a view that records what it was asked, a clipboard
// that can refuse, and key presses by name.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/EditorCore.h"
#include "editor/EditorScreenStrings.h"

namespace caret_test {

using editor::ClipText;
using editor::EditorCore;
using editor::KeyState;

// A view that records the rows it was asked to repaint and the scrolls.
class RecordingView : public EditorView {
public:
    void InvalidateRows(int first, int last) override { rows.emplace_back(first, last); }
    void InvalidateAll() override { ++all; }
    void ViewScrolled(int r, int c) override { scrolls.emplace_back(r, c); }
    void TextChanged(const ChangeRecord& change) override { changes.push_back(change); }
    void LayoutChanged(const editor::EditorLayout&, const editor::GridOrigin&) override { ++layouts; }
    void CaretChanged() override { ++caret; }
    void ScrollBarsChanged() override { ++bars; }
    std::vector<std::pair<int, int>> rows;
    std::vector<std::pair<int, int>> scrolls;
    std::vector<ChangeRecord> changes;
    int all = 0, caret = 0, bars = 0, layouts = 0;
};

class FakeClipboard : public editor::ClipboardPort {
public:
    bool Put(const ClipText& clip) override {
        if (refuse) return false;
        held = clip;
        return true;
    }
    std::optional<ClipText> Get() override { return held; }
    std::optional<ClipText> held;
    bool refuse = false;
};

// A core sized like the script editor's control (16-pixel rows, 8-pixel characters, 20 rows and 80 columns).
inline void sizeLikeHost(EditorCore& core, int width = 700, int height = 340) {
    editor::LayoutOptions o;
    o.marginLeft = 10;
    o.marginTop = 6;
    o.leftbarVisible = true;
    o.leftbarLeftMargin = 1;
    o.leftbarRightMargin = 2;
    core.SetLayoutOptions(o);
    core.SetFontMetrics({16, 0, 8});
    core.SetClientArea({width, height, 0, 0});
}

inline void press(EditorCore& core, int vk, bool shift = false, bool ctrl = false, bool repeat = false) {
    core.KeyDown(vk, KeyState{shift, ctrl, repeat});
}

inline std::string text(EditorCore& core) { return core.Store().Text(); }

}  // namespace caret_test
