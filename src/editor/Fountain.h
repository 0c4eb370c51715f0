// Colour scheme of the editor control: option objects that report their changes, token colours, bracket
// pairs, reserved words, and the fountain that names the tokeniser which splits rows into tokens.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Windows colour value 0x00BBGGRR; clNone stands for the control's own colour.
using TColor = std::uint32_t;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNavy = 0x800000;

// Font style set, one bit per style.
using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

class TFountainParser;

// Base of every option object: calls OnChange after each property change that altered a value.
// BeginUpdate/EndUpdate pairs nest; changes inside them are reported once, at the outermost EndUpdate.
class TNotifyPersistent {
public:
    TNotifyPersistent() = default;
    virtual ~TNotifyPersistent() = default;
    TNotifyPersistent(const TNotifyPersistent&) = delete;
    TNotifyPersistent& operator=(const TNotifyPersistent&) = delete;

    std::function<void()> OnChange;

    void BeginUpdate() noexcept { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const noexcept { return updateCount_; }

protected:
    void Changed();
    template <class T>
    void setField(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }

private:
    int updateCount_ = 0;
    bool changedInUpdate_ = false;
};

// The change handlers of a fountain, one per attached owner (an editor or a view).
class TNotifyEventList {
public:
    using Handler = std::function<void()>;
    void Add(const void* owner, Handler handler);  // an owner added again gets its handler replaced
    void Remove(const void* owner);
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    void ChangedProc() const;  // calls every handler; a handler may add or remove handlers meanwhile

private:
    struct Item {
        const void* owner;
        Handler handler;
    };
    std::vector<Item> items_;
};

class TFountainColor : public TNotifyPersistent {
public:
    TColor BkColor() const noexcept { return bkColor_; }
    TColor Color() const noexcept { return color_; }
    TFontStyles Style() const noexcept { return style_; }
    void SetBkColor(TColor value) { setField(bkColor_, value); }
    void SetColor(TColor value) { setField(color_, value); }
    void SetStyle(TFontStyles value) { setField(style_, value); }
    void Assign(const TFountainColor& source);  // one change report for all three values
    bool operator==(const TFountainColor& other) const noexcept {
        return bkColor_ == other.bkColor_ && color_ == other.color_ && style_ == other.style_;
    }

private:
    TColor bkColor_ = clNone;
    TColor color_ = clNone;
    TFontStyles style_ = 0;
};

// An item of a colour collection; a change of its colour is a change of the collection.
class TFountainColorItem {
public:
    explicit TFountainColorItem(std::function<void()> changed);
    virtual ~TFountainColorItem() = default;
    TFountainColorItem(const TFountainColorItem&) = delete;
    TFountainColorItem& operator=(const TFountainColorItem&) = delete;

    TFountainColor& ItemColor() noexcept { return itemColor_; }
    const TFountainColor& ItemColor() const noexcept { return itemColor_; }

protected:
    std::function<void()> changed_;

private:
    TFountainColor itemColor_;
};

class TFountainBracketItem : public TFountainColorItem {
public:
    using TFountainColorItem::TFountainColorItem;
    const std::string& LeftBracket() const noexcept { return leftBracket_; }
    const std::string& RightBracket() const noexcept { return rightBracket_; }
    void SetLeftBracket(const std::string& value);
    void SetRightBracket(const std::string& value);

private:
    std::string leftBracket_;
    std::string rightBracket_;
};

// The bracket pairs of a fountain. A pair's index is the element index that the row states store,
// so there are at most 14 pairs.
class TFountainBracketCollection : public TNotifyPersistent {
public:
    static constexpr int kMaxCount = 14;

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    TFountainBracketItem& Add();  // throws AppError beyond kMaxCount pairs
    TFountainBracketItem& Items(int index);  // an index out of range throws the list error (EListError)
    const TFountainBracketItem& Items(int index) const;
    TFountainBracketItem& operator[](int index) { return Items(index); }
    const TFountainBracketItem& operator[](int index) const { return Items(index); }
    void Delete(int index);
    void Clear();

private:
    std::vector<std::unique_ptr<TFountainBracketItem>> items_;
};

// The built-in scheme's pairs: its colour setters apply to every pair at once.
class TEditorBracketCollection : public TFountainBracketCollection {
public:
    void SetBkColor(TColor value);
    void SetColor(TColor value);
    void SetStyle(TFontStyles value);
};

// Component base of a fountain: the file extensions the scheme is meant for (the control does not use them).
class TFileExtComponent {
public:
    virtual ~TFileExtComponent() = default;
    std::vector<std::string>& FileExtList() noexcept { return fileExtList_; }

private:
    std::vector<std::string> fileExtList_;
};

// A colour scheme. Every attached editor registers a handler in NotifyEventList and is told when any colour,
// bracket pair or reserved word changes.
class TFountain : public TFileExtComponent {
public:
    TFountain();
    explicit TFountain(std::unique_ptr<TFountainBracketCollection> brackets);
    ~TFountain() override;
    TFountain(const TFountain&) = delete;
    TFountain& operator=(const TFountain&) = delete;

    TFountainBracketCollection& Brackets() noexcept { return *brackets_; }
    const TFountainBracketCollection& Brackets() const noexcept { return *brackets_; }
    TFountainColor& Reserve() noexcept { return reserve_; }
    const TFountainColor& Reserve() const noexcept { return reserve_; }

    // Reserved words, found without regard to the case of ASCII letters.
    const std::vector<std::string>& ReserveWordList() const noexcept { return reserveWords_; }
    void SetReserveWordList(std::vector<std::string> words);
    void ReserveWordAdd(const std::string& word);
    bool IsReserveWord(std::string_view word) const;

    TNotifyEventList& NotifyEventList() noexcept { return notifyEventList_; }

    // Nested; the handlers hear of the changes made inside once, at the outermost EndUpdate.
    void BeginUpdate() noexcept { ++updateCount_; }
    void EndUpdate();

    // The tokeniser of this scheme, made afresh for each painting pass, state update or word operation.
    virtual std::unique_ptr<TFountainParser> CreateParser() const;

protected:
    void Changed() const;
    void hookChange(TNotifyPersistent& part);  // a change of `part` is a change of the fountain

private:
    void reserveWordsIndex();

    std::unique_ptr<TFountainBracketCollection> brackets_;
    TFountainColor reserve_;
    std::vector<std::string> reserveWords_;
    std::unordered_set<std::string> reserveIndex_;  // upper-cased words
    std::size_t reserveMaxLength_ = 0;
    TNotifyEventList notifyEventList_;
    int updateCount_ = 0;
    mutable bool changedInUpdate_ = false;
};

// The colours of the built-in scheme, one per token class. Reserve is the fountain's own Reserve.
class TEditorColors {
public:
    explicit TEditorColors(TFountainColor& reserve);
    TEditorColors(const TEditorColors&) = delete;
    TEditorColors& operator=(const TEditorColors&) = delete;

    TFountainColor& Ank() noexcept { return ank_; }
    TFountainColor& Comment() noexcept { return comment_; }
    TFountainColor& DBCS() noexcept { return dbcs_; }
    TFountainColor& Hit() noexcept { return hit_; }
    TFountainColor& Int() noexcept { return int_; }
    TFountainColor& Mail() noexcept { return mail_; }
    TFountainColor& Reserve() noexcept { return reserve_; }
    TFountainColor& Select() noexcept { return select_; }
    TFountainColor& Str() noexcept { return str_; }
    TFountainColor& Symbol() noexcept { return symbol_; }
    TFountainColor& Url() noexcept { return url_; }
    const TFountainColor& Ank() const noexcept { return ank_; }
    const TFountainColor& Comment() const noexcept { return comment_; }
    const TFountainColor& DBCS() const noexcept { return dbcs_; }
    const TFountainColor& Hit() const noexcept { return hit_; }
    const TFountainColor& Int() const noexcept { return int_; }
    const TFountainColor& Mail() const noexcept { return mail_; }
    const TFountainColor& Reserve() const noexcept { return reserve_; }
    const TFountainColor& Select() const noexcept { return select_; }
    const TFountainColor& Str() const noexcept { return str_; }
    const TFountainColor& Symbol() const noexcept { return symbol_; }
    const TFountainColor& Url() const noexcept { return url_; }

    // Every colour but the shared Reserve, for wiring change reports.
    std::vector<TFountainColor*> own();

private:
    TFountainColor ank_, comment_, dbcs_, hit_, int_, mail_, select_, str_, symbol_, url_;
    TFountainColor& reserve_;
};

// The control's built-in scheme.
class TEditorFountain : public TFountain {
public:
    TEditorFountain();

    TEditorColors& Colors() noexcept { return colors_; }
    const TEditorColors& Colors() const noexcept { return colors_; }
    TEditorBracketCollection& EditorBrackets() noexcept;

    const std::string& Commenter() const noexcept { return commenter_; }
    bool ControlCode() const noexcept { return controlCode_; }
    const std::string& HexPrefix() const noexcept { return hexPrefix_; }
    bool Mail() const noexcept { return mail_; }
    const std::string& Quotation() const noexcept { return quotation_; }
    bool Url() const noexcept { return url_; }
    void SetCommenter(const std::string& value);
    void SetControlCode(bool value);
    void SetHexPrefix(const std::string& value);
    void SetMail(bool value);
    void SetQuotation(const std::string& value);  // keeps only the first character of a longer text
    void SetUrl(bool value);

    std::unique_ptr<TFountainParser> CreateParser() const override;

private:
    template <class T>
    void setOption(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }

    TEditorColors colors_;
    std::string commenter_;
    bool controlCode_ = false;
    std::string hexPrefix_;
    bool mail_ = false;
    std::string quotation_;
    bool url_ = false;
};

// The control's View: forwards the scheme properties to its own fountain, and reports every change of that
// fountain through its OnChange.
class TEditorViewInfo : public TNotifyPersistent {
public:
    TEditorViewInfo();
    ~TEditorViewInfo() override;

    TEditorFountain& Fountain() noexcept { return fountain_; }
    const TEditorFountain& Fountain() const noexcept { return fountain_; }

    TEditorBracketCollection& Brackets() noexcept { return fountain_.EditorBrackets(); }
    TEditorColors& Colors() noexcept { return fountain_.Colors(); }
    const std::string& Commenter() const noexcept { return fountain_.Commenter(); }
    bool ControlCode() const noexcept { return fountain_.ControlCode(); }
    const std::string& HexPrefix() const noexcept { return fountain_.HexPrefix(); }
    bool Mail() const noexcept { return fountain_.Mail(); }
    const std::string& Quotation() const noexcept { return fountain_.Quotation(); }
    bool Url() const noexcept { return fountain_.Url(); }
    void SetCommenter(const std::string& value) { fountain_.SetCommenter(value); }
    void SetControlCode(bool value) { fountain_.SetControlCode(value); }
    void SetHexPrefix(const std::string& value) { fountain_.SetHexPrefix(value); }
    void SetMail(bool value) { fountain_.SetMail(value); }
    void SetQuotation(const std::string& value) { fountain_.SetQuotation(value); }
    void SetUrl(bool value) { fountain_.SetUrl(value); }

private:
    TEditorFountain fountain_;
};
