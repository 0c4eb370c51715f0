// The application-wide error box's full stop rule.
#include "forms/ErrorText.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* message;
    const char* shown;
};

TEST(ErrorText, FullStopFollowsOnlyCharactersThatSortAfterTheDot) {
    const Case cases[] = {
        {"", ""},
        {"disk full", "disk full."},
        {"code 7", "code 7."},
        {"already.", "already."},
        {"wait...", "wait..."},
        {"stop!", "stop!"},
        {"(x)", "(x)"},
        {"a-", "a-"},
        {"a,", "a,"},
        {"path/", "path/."},       // "/" is 0x2F, just after "."
        {"\x82\xf1", "\x82\xf1."},  // ん: a double-byte character sorts after "."
        {"\xb1", "\xb1."},          // ｱ: half-width katakana
        {"\x81\x42", "\x81\x42."},  // 。: the ideographic full stop is a double-byte character too
    };
    for (const auto& c : cases) EXPECT_EQ(forms::errorBoxText(c.message), c.shown) << c.message;
}

TEST(ErrorText, TrailByteOfTheLastCharacterIsNotJudgedAlone) {
    // 表 is 0x95 0x5C; its trail byte alone would be a backslash. The character as a whole sorts after ".".
    EXPECT_EQ(forms::errorBoxText("\x95\x5c"), "\x95\x5c.");
    // ソ is 0x83 0x5C; a message ending in "ソ!" ends in "!" and gets no stop.
    EXPECT_EQ(forms::errorBoxText("\x83\x5c!"), "\x83\x5c!");
    // A double-byte character whose trail byte is 0x2E-like low bytes: ー is 0x81 0x5B.
    EXPECT_EQ(forms::errorBoxText("\x81\x5b"), "\x81\x5b.");
}

TEST(ErrorText, SettingsWriteFailureReadsAsAFullSentence) {
    const std::string message = "C:\\canopia\\canopia.ini \x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";
    EXPECT_EQ(forms::errorBoxText(message), message + ".");
}

}  // namespace
