// Word-wrap options of the editor (TEditorWrapOption): the row width and the Japanese line-breaking sets.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A set of characters tested one character at a time: a double-byte member matches only that whole
// double-byte character, a single-byte member only that byte as a character of its own (never the trail byte
// of a double-byte character). A lead byte at the end of the set's text is a single-byte member.
class WrapCharSet {
public:
    WrapCharSet() = default;
    explicit WrapCharSet(std::string_view chars);
    // `ch` is one character: one byte, or a lead byte and its trail byte.
    bool Contains(std::string_view ch) const noexcept;

private:
    std::bitset<256> single_;
    std::vector<std::uint16_t> doubles_;  // lead byte << 8 | trail byte, sorted
};

class TEditorWrapOption {
public:
    TEditorWrapOption();

    int WrapByte() const noexcept { return wrapByte_; }
    void SetWrapByte(int value);  // clamped to 20..250
    // May not start a row.
    const std::string& FollowStr() const noexcept { return followStr_; }
    void SetFollowStr(const std::string& value);
    // May not end a row.
    const std::string& LeadStr() const noexcept { return leadStr_; }
    void SetLeadStr(const std::string& value);
    // May hang past the margin.
    const std::string& PunctuationStr() const noexcept { return punctuationStr_; }
    void SetPunctuationStr(const std::string& value);
    bool FollowRetMark() const noexcept { return followRetMark_; }
    void SetFollowRetMark(bool value);
    bool FollowPunctuation() const noexcept { return followPunctuation_; }
    void SetFollowPunctuation(bool value);
    bool Leading() const noexcept { return leading_; }
    void SetLeading(bool value);
    bool WordBreak() const noexcept { return wordBreak_; }
    void SetWordBreak(bool value);

    // The three sets as characters, kept in step with their texts.
    const WrapCharSet& FollowSet() const noexcept { return followSet_; }
    const WrapCharSet& LeadSet() const noexcept { return leadSet_; }
    const WrapCharSet& PunctuationSet() const noexcept { return punctuationSet_; }

    std::function<void()> OnChange;  // after every property change

private:
    void changed();
    void setSet(std::string& text, WrapCharSet& set, const std::string& value);

    int wrapByte_ = 80;
    std::string followStr_;
    std::string leadStr_;
    std::string punctuationStr_;
    WrapCharSet followSet_;
    WrapCharSet leadSet_;
    WrapCharSet punctuationSet_;
    bool followRetMark_ = false;
    bool followPunctuation_ = false;
    bool leading_ = false;
    bool wordBreak_ = false;
};
