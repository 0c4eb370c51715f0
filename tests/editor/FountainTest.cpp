// Colour scheme objects: change reports, bracket pairs, defaults, the view's forwarding.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/AppError.h"
#include "editor/EditorParser.h"
#include "editor/Fountain.h"
#include "editor/RowBaseList.h"
#include "editor/ScriptScheme.h"

TEST(NotifyPersistent, ReportsChangesOnceAfterTheOutermostEndUpdate) {
    TFountainColor color;
    int calls = 0;
    color.OnChange = [&] { ++calls; };
    color.SetColor(0x123456);
    EXPECT_EQ(calls, 1);
    color.SetColor(0x123456);  // the same value is no change
    EXPECT_EQ(calls, 1);

    color.BeginUpdate();
    color.BeginUpdate();
    color.SetBkColor(1);
    color.SetStyle(fsBold | fsUnderline);
    color.EndUpdate();
    EXPECT_EQ(calls, 1);
    color.EndUpdate();
    EXPECT_EQ(calls, 2);
    color.BeginUpdate();
    color.EndUpdate();  // nothing changed inside
    EXPECT_EQ(calls, 2);
    color.EndUpdate();  // unmatched: ignored
    color.SetColor(7);
    EXPECT_EQ(calls, 3);
}

TEST(NotifyEventList, EveryOwnerIsToldAndMayDetachWhileBeingTold) {
    TNotifyEventList list;
    int a = 0, b = 0;
    int ownerA = 0, ownerB = 0;
    list.Add(&ownerA, [&] {
        ++a;
        list.Remove(&ownerB);
    });
    list.Add(&ownerB, [&] { ++b; });
    list.Add(&ownerA, [&] { a += 10; });  // the same owner replaces its handler
    EXPECT_EQ(list.Count(), 2);
    list.ChangedProc();
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 1);
    list.Remove(&ownerB);
    list.ChangedProc();
    EXPECT_EQ(b, 1);
}

TEST(FountainBracketCollection, HoldsFourteenPairsAndRefusesTheFifteenth) {
    TFountain fountain;
    for (int i = 0; i < 14; ++i) fountain.Brackets().Add();
    try {
        fountain.Brackets().Add();
        FAIL() << "a fifteenth pair was added";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "TFountainBracketCollection\r\nYou can not add item over 14");
    }
    EXPECT_EQ(fountain.Brackets().Count(), 14);
    EXPECT_THROW(fountain.Brackets().Items(14), EListError);
    EXPECT_THROW(fountain.Brackets().Delete(-1), EListError);
}

TEST(Fountain, EveryPartOfTheSchemeTellsTheAttachedEditors) {
    TEditorFountain fountain;
    int changes = 0;
    int editor = 0;
    fountain.NotifyEventList().Add(&editor, [&] { ++changes; });
    auto& pair = fountain.Brackets().Add();
    EXPECT_EQ(changes, 1);
    pair.SetLeftBracket("[%");
    pair.SetRightBracket("%]");
    pair.ItemColor().SetColor(0x4646FF);
    EXPECT_EQ(changes, 4);
    fountain.Colors().Comment().SetColor(0xBBBB00);
    fountain.Reserve().SetStyle(fsBold);
    fountain.ReserveWordAdd("LINE");
    fountain.SetCommenter(";");
    fountain.SetCommenter(";");  // unchanged
    fountain.SetUrl(true);
    EXPECT_EQ(changes, 9);
    fountain.EditorBrackets().SetColor(0x0000FF);  // one report for all pairs
    EXPECT_EQ(changes, 10);
    fountain.Brackets().Clear();
    EXPECT_EQ(changes, 11);
    fountain.NotifyEventList().Remove(&editor);
    fountain.SetMail(true);
    EXPECT_EQ(changes, 11);
}

TEST(Fountain, DefaultsOfTheBuiltInScheme) {
    TEditorViewInfo view;
    TEditorColors& c = view.Colors();
    EXPECT_EQ(c.Select().Color(), clWhite);
    EXPECT_EQ(c.Select().BkColor(), 0x800000u);
    for (const TFountainColor* other : {&c.Ank(), &c.Comment(), &c.DBCS(), &c.Hit(), &c.Int(), &c.Mail(),
                                        &c.Reserve(), &c.Str(), &c.Symbol(), &c.Url()}) {
        EXPECT_EQ(other->Color(), clNone);
        EXPECT_EQ(other->BkColor(), clNone);
        EXPECT_EQ(other->Style(), 0u);
    }
    EXPECT_EQ(&c.Reserve(), &view.Fountain().Reserve());  // shared, not a copy
    EXPECT_TRUE(view.Commenter().empty());
    EXPECT_FALSE(view.Mail() || view.Url() || view.ControlCode());
    EXPECT_EQ(view.Brackets().Count(), 0);
}

TEST(Fountain, QuotationKeepsOneCharacter) {
    TEditorViewInfo view;
    view.SetQuotation("\"'");
    EXPECT_EQ(view.Quotation(), "\"");
    view.SetQuotation("\x81\x68x");  // ” then x: the double-byte character stays whole
    EXPECT_EQ(view.Quotation(), "\x81\x68");
    view.SetQuotation("");
    EXPECT_EQ(view.Quotation(), "");
}

TEST(EditorViewInfo, ForwardsToItsFountainAndReportsEveryChange) {
    TEditorViewInfo view;
    int changes = 0;
    view.OnChange = [&] { ++changes; };
    view.SetCommenter(";");
    EXPECT_EQ(view.Fountain().Commenter(), ";");
    view.Colors().Comment().SetBkColor(clBlack);
    auto& pair = view.Brackets().Add();
    pair.SetLeftBracket("[%");
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(&view.Brackets(), &view.Fountain().Brackets());

    // The scheme's tokeniser class is the editor tokeniser.
    auto parser = view.Fountain().CreateParser();
    EXPECT_NE(dynamic_cast<TEditorParser*>(parser.get()), nullptr);
}

TEST(Fountain, ReservedWordLookup) {
    TFountain fountain;
    fountain.SetReserveWordList({"Line", "", "\x95\x5C"});  // 表
    EXPECT_TRUE(fountain.IsReserveWord("LINE"));
    EXPECT_TRUE(fountain.IsReserveWord("line"));
    EXPECT_FALSE(fountain.IsReserveWord("LINES"));
    EXPECT_FALSE(fountain.IsReserveWord(""));
    EXPECT_TRUE(fountain.IsReserveWord("\x95\x5C"));
    EXPECT_FALSE(fountain.IsReserveWord("\x95\x7C"));  // the trail byte is not a letter to fold
}

// The script editor applies the scheme to a view that may hold anything: what it leaves must be exactly the
// script scheme, told to the fountain's listeners (the row states, which rebuild) once.
TEST(ScriptScheme, ReplacesWhateverTheViewHeldAndReportsOnce) {
    TEditorViewInfo view;
    view.SetCommenter("#");
    view.SetQuotation("\"");
    view.SetUrl(true);
    view.SetHexPrefix("0x");
    view.Colors().Symbol().SetColor(0x00FF00);
    view.Colors().Select().SetStyle(fsBold);
    view.Fountain().ReserveWordAdd("LINE");
    for (int i = 0; i < 3; ++i) view.Brackets().Add().SetLeftBracket("<");
    int reports = 0;
    view.Fountain().NotifyEventList().Add(&reports, [&] { ++reports; });

    editor::ApplyScriptScheme(view, true);
    EXPECT_EQ(reports, 1);
    TEditorParser p(&view.Fountain());
    struct Token {
        TTokenKind kind;
        TColor color, bkColor;
    };
    std::vector<Token> tokens;
    p.Start("LINE \"q\" http://x 0x1F [%FOLDER%] ;c [%A%]");
    for (TTokenKind k; (k = p.Next()) != tkEnd;) {
        const TFountainColor* c = p.ColorOf();
        tokens.push_back({k, c ? c->Color() : clNone, c ? c->BkColor() : clNone});
    }
    const TColor none = clNone;
    const std::vector<std::tuple<TTokenKind, TColor, TColor>> expected = {
        {tkAnk, none, none},   {tkSymbol, none, none}, {tkAnk, none, none},   {tkSymbol, none, none},
        {tkAnk, none, none},   {tkSymbol, none, none}, {tkSymbol, none, none}, {tkSymbol, none, none},
        {tkAnk, none, none},   {tkInteger, none, none}, {tkAnk, none, none},
        {tkBracket, editor::kScriptTagColor, none},     {tkComment, editor::kScriptCommentColor, clBlack}};
    ASSERT_EQ(tokens.size(), expected.size());
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tokens[i].kind, std::get<0>(expected[i]));
        EXPECT_EQ(tokens[i].color, std::get<1>(expected[i]));
        EXPECT_EQ(tokens[i].bkColor, std::get<2>(expected[i]));
    }
    EXPECT_EQ(view.Colors().Select().Color(), clWhite);
    EXPECT_EQ(view.Colors().Select().BkColor(), clNavy);
    EXPECT_EQ(view.Colors().Select().Style(), 0u);

    editor::ApplyScriptScheme(view, false);  // a current-drawing script: no tags
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(view.Brackets().Count(), 0);
    editor::ApplyScriptScheme(view, false);  // nothing left to change
    EXPECT_EQ(reports, 2);
}
