// Group name rules: the proposed default name, and names that would not give a plain group folder.
#include "dialogs/GroupNameRules.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using group_names::UnsafeName;

const std::string kStem = "\x90\x56\x82\xB5\x82\xA2\x83\x4F\x83\x8B\x81\x5B\x83\x76";  // 新しいグループ
std::string numbered(int n) { return kStem + std::to_string(n); }

std::string proposeWith(const std::set<std::string>& folders) {
    return group_names::proposeDefault([&](const std::string& c) { return folders.count(c) != 0; });
}

TEST(GroupNameProposal, TakesTheFirstFreeNumber) {
    EXPECT_EQ(proposeWith({}), numbered(1));
    EXPECT_EQ(proposeWith({numbered(1), numbered(2)}), numbered(3));
    EXPECT_EQ(proposeWith({numbered(2)}), numbered(1));
    EXPECT_EQ(proposeWith({numbered(1), numbered(3)}), numbered(2));
}

TEST(GroupNameProposal, NumbersAreUnpaddedAndGoPastNine) {
    std::set<std::string> folders;
    for (int n = 1; n <= 10; ++n) folders.insert(numbered(n));
    folders.insert(kStem + "011");  // padded look-alike does not block 11
    EXPECT_EQ(proposeWith(folders), numbered(11));
}

struct NameCase {
    const char* name;
    UnsafeName kind;
};

class UnsafeNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(UnsafeNames, Classified) {
    EXPECT_EQ(group_names::unsafeNameKind(GetParam().name), GetParam().kind) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnsafeNames,
    ::testing::Values(
        // usable names, the empty one included (the dialog refuses it with its own message)
        NameCase{"", UnsafeName::None}, NameCase{"\x90\x7D\x96\xCA", UnsafeName::None}  /* 図面 */, NameCase{"a.b", UnsafeName::None},
        NameCase{".hidden", UnsafeName::None}, NameCase{" lead", UnsafeName::None},
        NameCase{"...x", UnsafeName::None}, NameCase{"CONSOLE", UnsafeName::None},
        NameCase{"COM", UnsafeName::None}, NameCase{"COM0", UnsafeName::None}, NameCase{"COM10", UnsafeName::None},
        NameCase{"LPT", UnsafeName::None}, NameCase{"xcon", UnsafeName::None}, NameCase{"con-1", UnsafeName::None},
        NameCase{"\x95\x5C", UnsafeName::None},      // 表, trail byte 0x5C
        NameCase{"\x83\x5C\x81\x5B\x83\x58", UnsafeName::None},  // ソース
        NameCase{"\x81\x40", UnsafeName::None},     // ideographic space: kept by the file system
        NameCase{"\x81\x44", UnsafeName::None},     // full-width period
        // the save folder itself and the folder above it
        NameCase{".", UnsafeName::DotName}, NameCase{"..", UnsafeName::DotName},
        // names the file system would shorten
        NameCase{"group.", UnsafeName::TrailingDotOrBlank}, NameCase{"group ", UnsafeName::TrailingDotOrBlank},
        NameCase{"...", UnsafeName::TrailingDotOrBlank}, NameCase{" ", UnsafeName::TrailingDotOrBlank},
        NameCase{"\x95\x5C ", UnsafeName::TrailingDotOrBlank} /* 表 */, NameCase{"a. .", UnsafeName::TrailingDotOrBlank},
        // devices, in any case and with an extension
        NameCase{"CON", UnsafeName::DeviceName}, NameCase{"con", UnsafeName::DeviceName},
        NameCase{"Prn", UnsafeName::DeviceName}, NameCase{"AUX", UnsafeName::DeviceName},
        NameCase{"nul", UnsafeName::DeviceName}, NameCase{"COM1", UnsafeName::DeviceName},
        NameCase{"com9", UnsafeName::DeviceName}, NameCase{"LPT1", UnsafeName::DeviceName},
        NameCase{"lpt9", UnsafeName::DeviceName}, NameCase{"con.txt", UnsafeName::DeviceName},
        NameCase{"NUL.tar.gz", UnsafeName::DeviceName}, NameCase{"nul .txt", UnsafeName::DeviceName},
        NameCase{"aux.\x90\x7D\x96\xCA", UnsafeName::DeviceName} /* aux.図面 */));

TEST(UnsafeNameMessages, EveryRefusalHasItsOwnPlainText) {
    EXPECT_STREQ(group_names::unsafeNameMessage(UnsafeName::None), "");
    const std::set<std::string> texts = {group_names::unsafeNameMessage(UnsafeName::DotName),
                                         group_names::unsafeNameMessage(UnsafeName::TrailingDotOrBlank),
                                         group_names::unsafeNameMessage(UnsafeName::DeviceName)};
    EXPECT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.count(""), 0u);
}

}  // namespace
