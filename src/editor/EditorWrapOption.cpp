// Word-wrap options with their defaults; setters clamp instead of failing and report every change.
#include "editor/EditorWrapOption.h"

#include <algorithm>

TEditorWrapOption::TEditorWrapOption()
    : followStr_("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"),
      leadStr_("（［｛「『([{｢"),
      punctuationStr_("、。，．,.｡､") {}

void TEditorWrapOption::changed() {
    if (OnChange) OnChange();
}

void TEditorWrapOption::SetWrapByte(int value) {
    value = std::clamp(value, 20, 250);
    if (value == wrapByte_) return;
    wrapByte_ = value;
    changed();
}

#define CANOPIA_WRAP_SETTER(Name, field, Type) \
    void TEditorWrapOption::Set##Name(Type value) { \
        if (field == value) return;              \
        field = value;                           \
        changed();                               \
    }
CANOPIA_WRAP_SETTER(FollowStr, followStr_, const std::string&)
CANOPIA_WRAP_SETTER(LeadStr, leadStr_, const std::string&)
CANOPIA_WRAP_SETTER(PunctuationStr, punctuationStr_, const std::string&)
CANOPIA_WRAP_SETTER(FollowRetMark, followRetMark_, bool)
CANOPIA_WRAP_SETTER(FollowPunctuation, followPunctuation_, bool)
CANOPIA_WRAP_SETTER(Leading, leading_, bool)
CANOPIA_WRAP_SETTER(WordBreak, wordBreak_, bool)
#undef CANOPIA_WRAP_SETTER
