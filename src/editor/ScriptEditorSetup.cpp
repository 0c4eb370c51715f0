// The script editor's settings of the editor control.
#include "editor/ScriptEditorSetup.h"

#include "editor/ScriptScheme.h"
#include "editor/TEditor.h"

namespace editor {

void ConfigureAsScriptEditor(TEditor& e, int fontPixels) {
    TEditorCaret& c = e.Caret();
    c.BeginUpdate();
    c.SetAutoCursor(true);
    c.SetAutoIndent(true);
    c.SetBackSpaceUnIndent(true);
    c.SetFreeCaret(false);
    c.SetFreeRow(false);
    c.SetInTab(false);
    c.SetKeepCaret(true);
    c.SetLockScroll(false);
    c.SetNextLine(true);
    c.SetPrevSpaceIndent(false);
    c.SetRowSelect(true);
    c.SetSelDragMode(dmAutomatic);
    c.SetSelMove(true);
    c.SetSoftTab(false);
    c.SetStyle(csDefault);
    c.SetTabIndent(false);
    c.SetTabSpaceCount(8);
    c.Cursors().SetDefaultCursor(crIBeam);
    c.Cursors().SetDragSelCursor(crDrag);
    c.Cursors().SetDragSelCopyCursor(crEditorDragSelCopy);
    c.Cursors().SetInSelCursor(crDefault);
    c.Cursors().SetLeftMarginCursor(crEditorRightArrow);
    c.Cursors().SetTopMarginCursor(crDefault);
    c.EndUpdate();
    e.SetCursor(crIBeam);
    e.SetColor(clBlack);

    EditorFont& f = e.Font();
    f.SetName("ＭＳ ゴシック");
    f.SetHeight(-fontPixels);
    f.SetColor(clWhite);
    f.SetCharset(EditorFont::kShiftJisCharset);
    f.SetStyle(0);
    e.SetHitStyle(hsSelect);

    TEditorImagebar& ib = e.Imagebar();
    ib.SetDigitWidth(4);
    ib.SetLeftMargin(2);
    ib.SetMarkWidth(0);
    ib.SetRightMargin(2);
    ib.SetVisible(false);

    TEditorLeftbar& lb = e.Leftbar();
    lb.SetBkColor(clNavy);
    lb.SetColor(editor::kSilver);
    lb.SetColumn(4);
    lb.SetEdge(true);
    lb.SetLeftMargin(1);
    lb.SetRightMargin(2);
    lb.SetShowNumber(true);
    lb.SetShowNumberMode(nmRow);
    lb.SetVisible(true);
    lb.SetZeroBase(false);
    lb.SetZeroLead(false);

    TEditorMarks& m = e.Marks();
    m.EofMark().SetColor(editor::kBlue);
    m.EofMark().SetVisible(true);
    m.RetMark().SetColor(editor::kBlue);
    m.RetMark().SetVisible(true);
    for (TEditorMark* hidden : {&m.WrapMark(), &m.HideMark(), &m.Underline()}) {
        hidden->SetColor(editor::kGray);
        hidden->SetVisible(false);
    }
    // Blanks at the end of a line are Enters to AutoCAD: marked faintly, the text unchanged.
    m.SetTrailingBlanks(true);

    TEditorMargin& mg = e.Margin();
    mg.SetCharacter(0);
    mg.SetLeft(10);
    mg.SetLine(0);
    mg.SetTop(6);
    e.SetReadOnly(false);

    TEditorRuler& r = e.Ruler();
    r.SetBkColor(editor::kSilver);
    r.SetColor(clBlack);
    r.SetEdge(true);
    r.SetGaugeRange(10);
    r.SetMarkColor(clBlack);
    r.SetVisible(false);
    e.SetScrollBars(ssBoth);

    TEditorSpeed& s = e.Speed();
    s.SetCaretVerticalAc(2);
    s.SetInitBracketsFull(false);
    s.SetPageVerticalRange(2);
    s.SetPageVerticalRangeAc(2);
    e.SetUndoListMax(64);

    // View.Colors (comments, selection), Commenter ";", ControlCode, Mail and Url off, no brackets yet: the window
    // sets them by processing type at every show.
    ApplyScriptScheme(e.View(), false);
    e.SetWantReturns(true);
    e.SetWantTabs(true);
    e.SetWordWrap(false);

    TEditorWrapOption& w = e.WrapOption();
    w.SetFollowRetMark(false);
    w.SetFollowPunctuation(false);
    w.SetFollowStr("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ");
    w.SetLeading(false);
    w.SetLeadStr("（［｛「『([{｢");
    w.SetPunctuationStr("、。，．,.｡､");
    w.SetWordBreak(false);
    w.SetWrapByte(80);
}

}  // namespace editor
