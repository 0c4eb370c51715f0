// Word-wrap options of the editor (TEditorWrapOption): the row width and the Japanese line-breaking sets.
#pragma once

#include <functional>
#include <string>

class TEditorWrapOption {
public:
    TEditorWrapOption();

    int WrapByte() const noexcept { return wrapByte_; }
    void SetWrapByte(int value);  // clamped to 20..250
    const std::string& FollowStr() const noexcept { return followStr_; }
    void SetFollowStr(const std::string& value);
    const std::string& LeadStr() const noexcept { return leadStr_; }
    void SetLeadStr(const std::string& value);
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

    std::function<void()> OnChange;  // after every property change

private:
    void changed();

    int wrapByte_ = 80;
    std::string followStr_;
    std::string leadStr_;
    std::string punctuationStr_;
    bool followRetMark_ = false;
    bool followPunctuation_ = false;
    bool leading_ = false;
    bool wordBreak_ = false;
};
