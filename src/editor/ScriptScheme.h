// The colours of an AutoCAD script in the editor: ";" comments, the selection and, for scripts of the
// several-files run, the "[%" ... "%]" tags. Shared by the script editor window, the tests and the benchmarks.
#pragma once

#include "editor/Fountain.h"

namespace editor {

constexpr TColor kScriptCommentColor = 0xBBBB00;  // red 0, green 187, blue 187
constexpr TColor kScriptTagColor = 0x4646FF;      // red 255, green 70, blue 70

// Sets the view to the script scheme: commenter ";" with comments in kScriptCommentColor on black, the
// selection white on navy, every other colour, switch, prefix and quotation unset; the bracket pairs emptied,
// and with `tags` one pair "[%" "%]" in kScriptTagColor with no style. Whoever listens to the view's fountain hears of it once.
void ApplyScriptScheme(TEditorViewInfo& view, bool tags);

}  // namespace editor
