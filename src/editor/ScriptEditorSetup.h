// The editor control as the script editor window has it: every property value of its edtScript, in one place
// for the window and for the tests that draw what the window shows.
#pragma once

class TEditor;

namespace editor {

// Sets every property of `e` as the script editor does, the font "ＭＳ ゴシック" `fontPixels` high; the
// script colour scheme without tag brackets (the window adds them in the several-files mode).
void ConfigureAsScriptEditor(TEditor& e, int fontPixels);

}  // namespace editor
