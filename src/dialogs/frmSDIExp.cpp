// The SDI notice window: a picture of AutoCAD's options dialog and four lines of explanation.
#include "dialogs/frmSDIExp.h"

#include "forms/Application.h"
#include "forms/Fonts.h"
#include "resources/run_dialogs/RunDialogResources.h"
#include "runner/ScriptRun.h"

namespace {

const FormLayout kForm{"SDIモードへの変更について", 531, 464, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                     WS_EX_DLGMODALFRAME, 0, 0, 0, 0, 12, FormPosition::Designed};

// The picture area: a lowered frame, a white outline inside it, the 450 x 300 picture in the middle.
constexpr RECT kFrame{32, 10, 499, 320};
constexpr int kPictureLeft = 40, kPictureTop = 15;

const ControlLayout kControls[] = {
    {TdspSDIExp::kImgOptions, ControlKind::Custom, "", kPictureLeft, kPictureTop, 450, 300, Anchor::LeftTop, -1,
     SS_BITMAP},
    {TdspSDIExp::kLabel1, ControlKind::Label,
     "本システムでは複数ファイル処理時には単一互換図面モード（SDIモード）で正しく動作するように設計", 8, 332, 515, 14},
    {TdspSDIExp::kLabel2, ControlKind::Label,
     "されています。「options」コマンドにて設定画面を開き「システム」タブを選択後「単一互換図面モード」", 8, 348, 515,
     14},
    {TdspSDIExp::kLabel3, ControlKind::Label,
     "をにチェックを入れてください。また設定時に複数のファイルを開いている場合はチェックできません。", 8, 364, 515, 14},
    {TdspSDIExp::kLabel4, ControlKind::Label, "その時には一度AutoCADを再起動後、再設定してください。", 8, 380, 515, 14},
    {TdspSDIExp::kBevel, ControlKind::Bevel, "", 8, 408, 515, 2},
    {TdspSDIExp::kBtnClose, ControlKind::Button, "閉じる", 228, 424, 75, 25, Anchor::LeftTop, 0},
};

RECT scaledRect(const RECT& r) {
    return {forms::scaled(r.left), forms::scaled(r.top), forms::scaled(r.right), forms::scaled(r.bottom)};
}

}  // namespace

TdspSDIExp::TdspSDIExp() : Form(kForm, kControls) {}

void TdspSDIExp::FormCreate() {
    onClick(kBtnClose, [this] { btnCloseClick(); });
    onClick(IDCANCEL, [this] { btnCloseClick(); });  // Esc
    picture_.reset(static_cast<HBITMAP>(::LoadImageA(forms::Application::instance().hinstance(),
                                                     MAKEINTRESOURCEA(IDB_SDI_OPTIONS), IMAGE_BITMAP, 0, 0,
                                                     LR_DEFAULTCOLOR)));
    if (picture_) {
        ::SendMessageA(control(kImgOptions), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));
    }
    runPrompts().sdiNotice = [this](HWND) { showModal(); };
}

void TdspSDIExp::FormShow() {
    RECT work{}, w{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hwnd_, &w);
    const int width = w.right - w.left, height = w.bottom - w.top;
    ::SetWindowPos(hwnd_, nullptr, work.left + ((work.right - work.left) - width) / 2,
                   work.top + ((work.bottom - work.top) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TdspSDIExp::btnCloseClick() { close(); }

LRESULT TdspSDIExp::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        win::PaintScope paint(hwnd_);
        RECT frame = scaledRect(kFrame);
        ::DrawEdge(paint.dc(), &frame, BDR_SUNKENOUTER, BF_RECT);
        RECT inner{frame.left + 3, frame.top + 3, frame.right - 3, frame.bottom - 3};
        ::FrameRect(paint.dc(), &inner, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return 0;
    }
    return Form::handle(msg, wp, lp);
}
