// The script colour scheme applied to an editor's view.
#include "editor/ScriptScheme.h"

namespace editor {

namespace {

void setColor(TFountainColor& c, TColor color, TColor bkColor) {
    c.BeginUpdate();
    c.SetColor(color);
    c.SetBkColor(bkColor);
    c.SetStyle(0);
    c.EndUpdate();
}

// Holds the fountain's change reports back until the scope ends, whichever way it ends.
class FountainUpdate {
public:
    explicit FountainUpdate(TFountain& f) noexcept : f_(f) { f_.BeginUpdate(); }
    ~FountainUpdate() { f_.EndUpdate(); }
    FountainUpdate(const FountainUpdate&) = delete;
    FountainUpdate& operator=(const FountainUpdate&) = delete;

private:
    TFountain& f_;
};

}  // namespace

void ApplyScriptScheme(TEditorViewInfo& view, bool tags) {
    TEditorFountain& fountain = view.Fountain();
    const FountainUpdate update(fountain);
    view.SetCommenter(";");
    view.SetControlCode(false);
    view.SetMail(false);
    view.SetUrl(false);
    view.SetHexPrefix("");
    view.SetQuotation("");
    if (!fountain.ReserveWordList().empty()) fountain.SetReserveWordList({});
    TEditorColors& colors = view.Colors();
    for (TFountainColor* c : {&colors.Ank(), &colors.DBCS(), &colors.Hit(), &colors.Int(), &colors.Mail(),
                              &colors.Reserve(), &colors.Str(), &colors.Symbol(), &colors.Url()}) {
        setColor(*c, clNone, clNone);
    }
    setColor(colors.Comment(), kScriptCommentColor, clBlack);
    setColor(colors.Select(), clWhite, clNavy);
    TEditorBracketCollection& brackets = view.Brackets();
    brackets.Clear();
    if (tags) {
        TFountainBracketItem& tag = brackets.Add();
        tag.SetLeftBracket("[%");
        tag.SetRightBracket("%]");
        setColor(tag.ItemColor(), kScriptTagColor, clNone);
    }
}

}  // namespace editor
