// Word-wrap options with their defaults; setters clamp instead of failing and report every change.
#include "editor/EditorWrapOption.h"

#include <algorithm>

#include "core/Cp932.h"

namespace {

// Shift-JIS bytes, written out: the fuzz build's compiler keeps string literals in UTF-8.
// 、 。 ， ． ・ ？ ！ ゛ ゜ ヽ ヾ ゝ ゞ 々 ー ） ］ ｝ 」 』, then ! ) , . : ; ? ] }, then half-width ｡ ｣ ､ ･ ｰ ﾞ ﾟ
constexpr char kFollowStr[] =
    "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52"
    "\x81\x53\x81\x54\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78"
    "!),.:;?]}"
    "\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
// （ ［ ｛ 「 『, then ( [ {, then half-width ｢
constexpr char kLeadStr[] = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77" "([{" "\xA2";
// 、 。 ， ．, then , ., then half-width ｡ ､
constexpr char kPunctuationStr[] = "\x81\x41\x81\x42\x81\x43\x81\x44" ",." "\xA1\xA4";

}  // namespace

WrapCharSet::WrapCharSet(std::string_view chars) {
    for (std::size_t i = 0; i < chars.size(); i += cp932::charLength(chars, i)) {
        if (cp932::charLength(chars, i) == 2) {
            doubles_.push_back(static_cast<std::uint16_t>(static_cast<unsigned char>(chars[i]) << 8 |
                                                          static_cast<unsigned char>(chars[i + 1])));
        } else {
            single_.set(static_cast<unsigned char>(chars[i]));
        }
    }
    std::sort(doubles_.begin(), doubles_.end());
}

bool WrapCharSet::Contains(std::string_view ch) const noexcept {
    if (ch.size() == 1) return single_.test(static_cast<unsigned char>(ch[0]));
    if (ch.size() != 2) return false;
    const auto code =
        static_cast<std::uint16_t>(static_cast<unsigned char>(ch[0]) << 8 | static_cast<unsigned char>(ch[1]));
    return std::binary_search(doubles_.begin(), doubles_.end(), code);
}

TEditorWrapOption::TEditorWrapOption()
    : followStr_(kFollowStr),
      leadStr_(kLeadStr),
      punctuationStr_(kPunctuationStr),
      followSet_(followStr_),
      leadSet_(leadStr_),
      punctuationSet_(punctuationStr_) {}

void TEditorWrapOption::changed() {
    if (OnChange) OnChange();
}

void TEditorWrapOption::SetWrapByte(int value) {
    value = std::clamp(value, 20, 250);
    if (value == wrapByte_) return;
    wrapByte_ = value;
    changed();
}

void TEditorWrapOption::setSet(std::string& text, WrapCharSet& set, const std::string& value) {
    if (text == value) return;
    text = value;
    set = WrapCharSet(text);
    changed();
}

void TEditorWrapOption::SetFollowStr(const std::string& value) { setSet(followStr_, followSet_, value); }
void TEditorWrapOption::SetLeadStr(const std::string& value) { setSet(leadStr_, leadSet_, value); }
void TEditorWrapOption::SetPunctuationStr(const std::string& value) {
    setSet(punctuationStr_, punctuationSet_, value);
}

#define CANOPIA_WRAP_SETTER(Name, field)      \
    void TEditorWrapOption::Set##Name(bool value) { \
        if (field == value) return;           \
        field = value;                        \
        changed();                            \
    }
CANOPIA_WRAP_SETTER(FollowRetMark, followRetMark_)
CANOPIA_WRAP_SETTER(FollowPunctuation, followPunctuation_)
CANOPIA_WRAP_SETTER(Leading, leading_)
CANOPIA_WRAP_SETTER(WordBreak, wordBreak_)
#undef CANOPIA_WRAP_SETTER
