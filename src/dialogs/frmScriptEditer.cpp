// TdspScriptEditer: the script editor window around the TEditor control edtScript.
#include "dialogs/frmScriptEditer.h"

#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

#include "editor/InvisibleFaults.h"
#include "editor/ScriptEditorSetup.h"
#include "editor/ScriptScheme.h"
#include "editor/TEditor.h"
#include "forms/Application.h"
#include "forms/Fonts.h"
#include "forms/MenuPictures.h"
#include "forms/StatusParts.h"
#include "library/ScriptLibrary.h"
#include "resources/editer/EditerResources.h"
#include "runner/TagReplace.h"
#include "win/ErrorFence.h"

namespace {

const FormLayout kForm = {
    nullptr,  // set at every show
    692,
    468,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
    0,
    400,
    400,
    0,
    0,
    12,
    FormPosition::Designed,
};

const ControlLayout kControls[] = {
    {IDC_SE_BEVEL1, ControlKind::Bevel, "", 0, 0, 692, 9, Anchor::Left | Anchor::Top | Anchor::Right},
    {IDC_SE_SCRIPT, ControlKind::Custom, "", 0, 3, 692, 408, Anchor::All, 0, WS_CLIPSIBLINGS, 0, 0,
     ControlFlag::None, 0, "TEditor"},
    {IDC_SE_SAVE, ControlKind::Button, "保存", 538, 416, 70, 24, Anchor::Right | Anchor::Bottom, -1, BS_FLAT, 0, 0,
     ControlFlag::Disabled},
    {IDC_SE_QUIT, ControlKind::Button, "閉じる", 614, 416, 70, 24, Anchor::Right | Anchor::Bottom, -1, BS_FLAT},
    {IDC_SE_STATUS, ControlKind::StatusBar, "", 0, 449, 692, 19},
};

constexpr const char* kModeCurrent = "「現在の図面」：スクリプト編集モード";
constexpr const char* kModeSeveral = "「複数ファイル」：スクリプト編集モード";
constexpr const char* kUnsavedQuestion = "データが保存されていません　保存しますか？";
constexpr int kTagMenuPosition = 2;       // "オリジナルタグの挿入(&T)" in the menu bar
constexpr int kWheelLines = 2;            // every wheel message scrolls this many lines

// One item of a menu: a separator when caption is null.
struct MenuItem {
    int id;
    const char* caption;
    bool enabled;
};

const MenuItem kScriptMenu[] = {
    {IDM_SE_SAVE, "保存(&S)\tCtrl+S", false},
    {IDM_SE_QUIT, "閉じる(&X)\tCtrl+W", true},
};
const MenuItem kEditMenu[] = {
    {IDM_SE_UNDO, "元に戻す(&U)\tCtrl+Z", true},     {0, nullptr, true},
    {IDM_SE_CUT, "切り取り(&T)\tCtrl+X", false},     {IDM_SE_COPY, "コピー(&C)\tCtrl+C", false},
    {IDM_SE_PASTE, "貼り付け(&P)\tCtrl+V", true},    {IDM_SE_DELETE, "削除(&D)\tCtrl+D", true},
    {0, nullptr, true},                               {IDM_SE_SELECTALL, "全てを選択(&A)\tCtrl+A", true},
};
const MenuItem kTagMenu[] = {
    {IDM_SE_TAGFULLPATH, "フルパス(&P)", true}, {IDM_SE_TAGFOLDER, "フォルダー(&F)", true},
    {IDM_SE_TAGFILENAME, "ファイル名(&N)", true}, {IDM_SE_TAGEXT, "拡張子(&E)", true},
    {IDM_SE_TAGNUMBER, "処理番号(&B)", true},
};
const MenuItem kPopupMenu[] = {
    {IDM_SE_PUNDO, "元に戻す(&U)", true},  {0, nullptr, true},
    {IDM_SE_PCUT, "切り取り(&T)", false},  {IDM_SE_PCOPY, "コピー(&C)", false},
    {IDM_SE_PPASTE, "貼り付け(&P)", true}, {IDM_SE_PDELETE, "削除(&D)", true},
};

const ACCEL kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'S', IDM_SE_SAVE},  {FVIRTKEY | FCONTROL, 'W', IDM_SE_QUIT},
    {FVIRTKEY | FCONTROL, 'Z', IDM_SE_UNDO},  {FVIRTKEY | FCONTROL, 'X', IDM_SE_CUT},
    {FVIRTKEY | FCONTROL, 'C', IDM_SE_COPY},  {FVIRTKEY | FCONTROL, 'V', IDM_SE_PASTE},
    {FVIRTKEY | FCONTROL, 'D', IDM_SE_DELETE}, {FVIRTKEY | FCONTROL, 'A', IDM_SE_SELECTALL},
};

template <std::size_t N>
void menuFill(HMENU menu, const MenuItem (&items)[N]) {
    for (const MenuItem& it : items) {
        if (!it.caption) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        ::AppendMenuA(menu, MF_STRING | (it.enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(it.id),
                      it.caption);
    }
}

void itemEnable(HMENU menu, int id, bool on) {
    ::EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void itemPicture(HMENU menu, int id, HBITMAP picture) {
    if (!picture) return;
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_BITMAP;
    mii.hbmpItem = picture;
    ::SetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &mii);
}

}  // namespace

TdspScriptEditer::TdspScriptEditer() : Form(kForm, kControls) {
    TEditor::RegisterClass();  // before create() makes edtScript
    onClick(IDC_SE_SAVE, [this] { mSaveClick(); });
    onClick(IDM_SE_SAVE, [this] { mSaveClick(); });
    onClick(IDC_SE_QUIT, [this] { btnQuitClick(); });
    onClick(IDM_SE_QUIT, [this] { btnQuitClick(); });
    onClick(IDM_SE_UNDO, [this] { mUndoClick(); });
    onClick(IDM_SE_PUNDO, [this] { mUndoClick(); });
    onClick(IDM_SE_CUT, [this] { mCutClick(); });
    onClick(IDM_SE_PCUT, [this] { mCutClick(); });
    onClick(IDM_SE_COPY, [this] { mCopyClick(); });
    onClick(IDM_SE_PCOPY, [this] { mCopyClick(); });
    onClick(IDM_SE_PASTE, [this] { mPasteClick(); });
    onClick(IDM_SE_PPASTE, [this] { mPasteClick(); });
    onClick(IDM_SE_DELETE, [this] { mDeleteClick(); });
    onClick(IDM_SE_PDELETE, [this] { mDeleteClick(); });
    onClick(IDM_SE_SELECTALL, [this] { mSelectAllClick(); });
    onClick(IDM_SE_TAGFULLPATH, [this] { mTagFullpathClick(); });
    onClick(IDM_SE_TAGFOLDER, [this] { mTagFolderClick(); });
    onClick(IDM_SE_TAGFILENAME, [this] { mTagFilenameClick(); });
    onClick(IDM_SE_TAGEXT, [this] { mTagExtClick(); });
    onClick(IDM_SE_TAGNUMBER, [this] { mTagNumberClick(); });
}

TEditor& TdspScriptEditer::edtScript() const {
    TEditor* e = TEditor::FromHandle(control(IDC_SE_SCRIPT));
    if (!e) throw std::logic_error("edtScript was not created");
    return *e;
}

void TdspScriptEditer::FormCreate() {
    auto& app = forms::Application::instance();
    mImageList_.reset(::ImageList_LoadImageA(app.hinstance(), MAKEINTRESOURCEA(IDB_EDITER_IMAGES), 16, 0,
                                             RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (mImageList_) {
        saveIcon_.reset(::ImageList_GetIcon(mImageList_.get(), IMG_EDITER_SAVE, ILD_TRANSPARENT));
        quitIcon_.reset(::ImageList_GetIcon(mImageList_.get(), IMG_EDITER_CLOSE, ILD_TRANSPARENT));
        ::SendMessageA(control(IDC_SE_SAVE), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(saveIcon_.get()));
        ::SendMessageA(control(IDC_SE_QUIT), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(quitIcon_.get()));
    }
    menuCreate();
    edtScriptConfigure();
}

void TdspScriptEditer::menuCreate() {
    mnuMain_ = ::CreateMenu();
    auto popup = [this](const char* caption, auto& items) {
        HMENU menu = ::CreatePopupMenu();
        menuFill(menu, items);
        ::AppendMenuA(mnuMain_, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), caption);
        return menu;
    };
    HMENU script = popup("スクリプト(&A)", kScriptMenu);
    popup("編集(&E)", kEditMenu);
    mTag_ = popup("オリジナルタグの挿入(&T)", kTagMenu);
    savePicture_ = forms::menuPictureFrom(mImageList_.get(), IMG_EDITER_SAVE);
    closePicture_ = forms::menuPictureFrom(mImageList_.get(), IMG_EDITER_CLOSE);
    itemPicture(script, IDM_SE_SAVE, savePicture_.get());
    itemPicture(script, IDM_SE_QUIT, closePicture_.get());
    setMenu(mnuMain_);
    accelerators_.reset(
        ::CreateAcceleratorTableA(const_cast<ACCEL*>(kAccelerators), static_cast<int>(std::size(kAccelerators))));
    setAccelerators(accelerators_.get());

    mnuPopup_.reset(::CreatePopupMenu());
    menuFill(mnuPopup_.get(), kPopupMenu);
}

// Every property value edtScript has in this window; then its pop-up menu and its events.
void TdspScriptEditer::edtScriptConfigure() {
    TEditor& e = edtScript();
    editor::ConfigureAsScriptEditor(e, forms::scaled(16));

    e.SetPopupMenu(mnuPopup_.get());
    editor::EditorCore& core = e.Core();
    core.OnChange = [this] { edtScriptChange(); };
    core.OnSelectionChange = [this](bool /*selected*/) { edtScriptSelectionChange(); };
    core.OnDblClick = [this] { edtScriptDblClick(); };
}

void TdspScriptEditer::FormShow() {
    TEditor& e = edtScript();
    // A file that cannot be read leaves no window that looks loaded: the previous script's text is gone too,
    // so nothing can be written over this file (the fence has shown the error box).
    if (!win::fenced([&] { e.Lines().LoadFromFile(scriptFilePath); })) {
        e.Lines().Clear();
        saveEnabledSet(false);
        scriptSaved = true;
        setModalResult(ModalResult::Cancel);
        return;
    }
    setCaption("「 " + runner::pathPartsSplit(scriptFilePath).baseName + " 」");
    saveEnabledSet(false);
    scriptSaved = true;
    e.Core().SetSelStart(0);
    ::SendMessageA(e.Handle(), WM_VSCROLL, SB_TOP, 0);
    edtScriptSelectionChange();
    const bool severalFiles = zumenStatus != 1;
    // Only the several-files run replaces tags, so only there are they offered and coloured.
    editor::ApplyScriptScheme(e.View(), severalFiles);
    ::EnableMenuItem(mnuMain_, kTagMenuPosition, MF_BYPOSITION | (severalFiles ? MF_ENABLED : MF_GRAYED));
    ::DrawMenuBar(hwnd_);
    setText(IDC_SE_STATUS, severalFiles ? kModeSeveral : kModeCurrent);
    faultTally_.Reset(e.Core().Store());
    notice_ = invisibleNotice();
    statusPartsSet();
    focus(IDC_SE_SCRIPT);
}

void TdspScriptEditer::saveEnabledSet(bool on) {
    setEnabled(IDC_SE_SAVE, on);
    itemEnable(mnuMain_, IDM_SE_SAVE, on);
}

void TdspScriptEditer::edtScriptChange() {
    scriptSaved = false;
    saveEnabledSet(true);
    const TEditorScreenStrings& rows = edtScript().Core().Store();
    faultTally_.Changed(rows, rows.Change());
    std::string notice = invisibleNotice();
    if (notice == notice_) return;
    notice_ = std::move(notice);
    statusPartsSet();
}

bool TdspScriptEditer::scriptWrite() {
    // The store writes beside the file and replaces it only when complete; a failure keeps the text unsaved.
    if (!win::fenced([this] { edtScript().Lines().SaveToFile(scriptFilePath); })) return false;
    scriptSaved = true;
    saveEnabledSet(false);
    return true;
}

void TdspScriptEditer::mSaveClick() {
    if (enabled(IDC_SE_SAVE)) scriptWrite();
}

void TdspScriptEditer::btnQuitClick() { close(); }

bool TdspScriptEditer::unsavedAsk() {
    if (scriptSaved) return true;
    const int answer =
        ::MessageBoxA(hwnd_, kUnsavedQuestion, "確認", MB_YESNOCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON1);
    if (answer == IDYES) return scriptWrite();  // a failed write keeps the window open with its text
    return answer == IDNO;
}

bool TdspScriptEditer::FormCloseQuery() { return unsavedAsk(); }

void TdspScriptEditer::edtScriptSelectionChange() {
    const TSelectionState state = edtScript().Core().SelectionState();
    const bool selected = state == sstSelected || state == sstHitSelected;
    itemEnable(mnuMain_, IDM_SE_COPY, selected);
    itemEnable(mnuPopup_.get(), IDM_SE_PCOPY, selected);
    itemEnable(mnuMain_, IDM_SE_CUT, selected);
    itemEnable(mnuPopup_.get(), IDM_SE_PCUT, selected);
}

void TdspScriptEditer::mUndoClick() { edtScript().Core().Undo(); }
void TdspScriptEditer::mCutClick() { edtScript().CutToClipboard(); }
void TdspScriptEditer::mCopyClick() { edtScript().CopyToClipboard(); }
void TdspScriptEditer::mPasteClick() { edtScript().PasteFromClipboard(); }
void TdspScriptEditer::mDeleteClick() { edtScript().Core().DeleteSelection(); }
void TdspScriptEditer::mSelectAllClick() { edtScript().Core().SelectAll(); }
void TdspScriptEditer::edtScriptDblClick() { edtScript().Core().SelectWordAtCaret(); }

void TdspScriptEditer::tagInsert(const char* tag) {
    // A command that reaches the window while the tag menu is disabled (current drawing) inserts nothing.
    if (::GetMenuState(mnuMain_, kTagMenuPosition, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) return;
    edtScript().Core().InsertBlock(tag);
}

void TdspScriptEditer::mTagFullpathClick() { tagInsert("[%FILEPATH%]"); }
void TdspScriptEditer::mTagFolderClick() { tagInsert("[%FOLDER%]"); }
void TdspScriptEditer::mTagFilenameClick() { tagInsert("[%FILENAME%]"); }
void TdspScriptEditer::mTagExtClick() { tagInsert("[%FILEEXT%]"); }
void TdspScriptEditer::mTagNumberClick() { tagInsert("[%NUMBER%]"); }

void TdspScriptEditer::WMMousewheel(WPARAM wp) {
    // Two lines a message, whatever distance it reports; the caret stays where it is.
    const WPARAM code = static_cast<std::int32_t>(wp) > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < kWheelLines; ++i) ::SendMessageA(edtScript().Handle(), WM_VSCROLL, code, 0);
}

std::string TdspScriptEditer::invisibleNotice() const {
    const editor::InvisibleFaults faults = faultTally_.Faults(edtScript().Core().Store());
    std::string notice;
    if (faults.trailingBlankLines > 0) notice = "行末の空白：" + std::to_string(faults.trailingBlankLines) + " 行";
    if (faults.missingFinalLineEnd) notice += (notice.empty() ? "" : "　／　") + std::string("最終行に改行がありません");
    return notice;
}

void TdspScriptEditer::statusPartsSet() { forms::statusNoticeSet(control(IDC_SE_STATUS), notice_); }

void TdspScriptEditer::FormResize() {
    if (!notice_.empty()) statusPartsSet();
}

LRESULT TdspScriptEditer::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_MOUSEWHEEL:
            WMMousewheel(wp);
            return 0;
        case WM_QUERYENDSESSION:
            // Ending the Windows session asks like closing does, so no edit is lost without a word.
            return visible() ? unsavedAsk() : TRUE;
        default:
            break;
    }
    return Form::handle(msg, wp, lp);
}
