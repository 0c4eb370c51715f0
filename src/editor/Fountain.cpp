// Colour scheme objects of the editor control.
#include "editor/Fountain.h"

#include <algorithm>

#include "core/AppError.h"
#include "core/Cp932.h"
#include "editor/EditorParser.h"
#include "editor/RowBaseList.h"

void TNotifyPersistent::Changed() {
    if (updateCount_ > 0) {
        changedInUpdate_ = true;
        return;
    }
    if (OnChange) OnChange();
}

void TNotifyPersistent::EndUpdate() {
    if (updateCount_ == 0) return;  // an unmatched end is ignored rather than driving the count negative
    if (--updateCount_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        Changed();
    }
}

void TNotifyEventList::Add(const void* owner, Handler handler) {
    for (auto& item : items_) {
        if (item.owner == owner) {
            item.handler = std::move(handler);
            return;
        }
    }
    items_.push_back({owner, std::move(handler)});
}

void TNotifyEventList::Remove(const void* owner) {
    items_.erase(std::remove_if(items_.begin(), items_.end(), [owner](const Item& i) { return i.owner == owner; }),
                 items_.end());
}

void TNotifyEventList::ChangedProc() const {
    // A handler may detach an editor (and so change the list) while it runs: call from a copy.
    const std::vector<Item> items = items_;
    for (const auto& item : items) {
        if (item.handler) item.handler();
    }
}

void TFountainColor::Assign(const TFountainColor& source) {
    BeginUpdate();
    SetBkColor(source.bkColor_);
    SetColor(source.color_);
    SetStyle(source.style_);
    EndUpdate();
}

TFountainColorItem::TFountainColorItem(std::function<void()> changed) : changed_(std::move(changed)) {
    itemColor_.OnChange = [this] {
        if (changed_) changed_();
    };
}

void TFountainBracketItem::SetLeftBracket(const std::string& value) {
    if (leftBracket_ == value) return;
    leftBracket_ = value;
    if (changed_) changed_();
}

void TFountainBracketItem::SetRightBracket(const std::string& value) {
    if (rightBracket_ == value) return;
    rightBracket_ = value;
    if (changed_) changed_();
}

TFountainBracketItem& TFountainBracketCollection::Add() {
    if (Count() >= kMaxCount) {
        throw AppError("TFountainBracketCollection\r\nYou can not add item over " + std::to_string(kMaxCount));
    }
    items_.push_back(std::make_unique<TFountainBracketItem>([this] { Changed(); }));
    Changed();
    return *items_.back();
}

TFountainBracketItem& TFountainBracketCollection::Items(int index) {
    if (index < 0 || index >= Count()) throw EListError();
    return *items_[static_cast<std::size_t>(index)];
}

const TFountainBracketItem& TFountainBracketCollection::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError();
    return *items_[static_cast<std::size_t>(index)];
}

void TFountainBracketCollection::Delete(int index) {
    Items(index);  // range check
    items_.erase(items_.begin() + index);
    Changed();
}

void TFountainBracketCollection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TEditorBracketCollection::SetBkColor(TColor value) {
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) Items(i).ItemColor().SetBkColor(value);
    EndUpdate();
}

void TEditorBracketCollection::SetColor(TColor value) {
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) Items(i).ItemColor().SetColor(value);
    EndUpdate();
}

void TEditorBracketCollection::SetStyle(TFontStyles value) {
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) Items(i).ItemColor().SetStyle(value);
    EndUpdate();
}

TFountain::TFountain() : TFountain(std::make_unique<TFountainBracketCollection>()) {}

TFountain::TFountain(std::unique_ptr<TFountainBracketCollection> brackets) : brackets_(std::move(brackets)) {
    hookChange(*brackets_);
    hookChange(reserve_);
}

TFountain::~TFountain() = default;

void TFountain::Changed() const {
    if (updateCount_ > 0) {
        changedInUpdate_ = true;
        return;
    }
    notifyEventList_.ChangedProc();
}

void TFountain::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        Changed();
    }
}

void TFountain::hookChange(TNotifyPersistent& part) {
    part.OnChange = [this] { Changed(); };
}

void TFountain::SetReserveWordList(std::vector<std::string> words) {
    reserveWords_ = std::move(words);
    reserveWordsIndex();
    Changed();
}

void TFountain::ReserveWordAdd(const std::string& word) {
    reserveWords_.push_back(word);
    reserveWordsIndex();
    Changed();
}

void TFountain::reserveWordsIndex() {
    reserveIndex_.clear();
    reserveMaxLength_ = 0;
    for (const auto& w : reserveWords_) {
        if (w.empty()) continue;
        reserveIndex_.insert(cp932::toUpperAscii(w));
        reserveMaxLength_ = std::max(reserveMaxLength_, w.size());
    }
}

bool TFountain::IsReserveWord(std::string_view word) const {
    if (reserveIndex_.empty() || word.empty() || word.size() > reserveMaxLength_) return false;
    return reserveIndex_.count(cp932::toUpperAscii(word)) != 0;
}

std::unique_ptr<TFountainParser> TFountain::CreateParser() const { return std::make_unique<TFountainParser>(this); }

TEditorColors::TEditorColors(TFountainColor& reserve) : reserve_(reserve) {
    select_.SetColor(clWhite);
    select_.SetBkColor(clNavy);
}

std::vector<TFountainColor*> TEditorColors::own() {
    return {&ank_, &comment_, &dbcs_, &hit_, &int_, &mail_, &select_, &str_, &symbol_, &url_};
}

TEditorFountain::TEditorFountain() : TFountain(std::make_unique<TEditorBracketCollection>()), colors_(Reserve()) {
    for (TFountainColor* c : colors_.own()) hookChange(*c);
}

TEditorBracketCollection& TEditorFountain::EditorBrackets() noexcept {
    return static_cast<TEditorBracketCollection&>(Brackets());
}

void TEditorFountain::SetCommenter(const std::string& value) { setOption(commenter_, value); }
void TEditorFountain::SetControlCode(bool value) { setOption(controlCode_, value); }
void TEditorFountain::SetHexPrefix(const std::string& value) { setOption(hexPrefix_, value); }
void TEditorFountain::SetMail(bool value) { setOption(mail_, value); }
void TEditorFountain::SetUrl(bool value) { setOption(url_, value); }

void TEditorFountain::SetQuotation(const std::string& value) {
    // One character: a double-byte character stays whole.
    const std::string first = value.empty() ? std::string() : value.substr(0, cp932::charLength(value, 0));
    setOption(quotation_, first);
}

std::unique_ptr<TFountainParser> TEditorFountain::CreateParser() const {
    return std::make_unique<TEditorParser>(this);
}

TEditorViewInfo::TEditorViewInfo() {
    fountain_.NotifyEventList().Add(this, [this] { Changed(); });
}

TEditorViewInfo::~TEditorViewInfo() { fountain_.NotifyEventList().Remove(this); }
