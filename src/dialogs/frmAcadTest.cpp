// The command test window: one command typed and handed to AutoCAD, to try whether the channel reaches it.
#include "dialogs/frmAcadTest.h"

#include "acad/CommandChannel.h"

namespace {

const FormLayout kForm{"AutoCADコマンド送信テスト", 312, 88};

const ControlLayout kControls[] = {
    {TdspAcadTest::kLabel1, ControlKind::Label, "送信するコマンドを入力してください：", 8, 8, 296, 14},
    // Enter runs the send and is swallowed, so the field never sees it.
    {TdspAcadTest::kEdtSendCommand, ControlKind::Edit, "", 8, 24, 296, 21, Anchor::LeftTop, 0, 0, 0,
     TdspAcadTest::kBtnSendCommand},
    {TdspAcadTest::kBtnSendCommand, ControlKind::Button, "コマンド送信", 8, 56, 96, 25, Anchor::LeftTop, 1},
    {TdspAcadTest::kBtnClose, ControlKind::Button, "閉じる", 216, 56, 88, 25, Anchor::LeftTop, 2},
    {TdspAcadTest::kBtnSendCancel, ControlKind::Button, "キャンセル送信", 112, 56, 96, 25, Anchor::LeftTop, 3},
};

}  // namespace

TdspAcadTest::TdspAcadTest() : Form(kForm, kControls) {}

void TdspAcadTest::FormCreate() {
    onClick(kBtnSendCommand, [this] { btnSendCommandClick(); });
    onClick(kBtnSendCancel, [this] { btnSendCancelClick(); });
    onClick(kBtnClose, [this] { btnCloseClick(); });
    onClick(IDCANCEL, [this] { btnCloseClick(); });  // Esc
}

void TdspAcadTest::FormShow() { setText(kEdtSendCommand, "zoom e"); }

void TdspAcadTest::btnSendCommandClick() {
    // Looked up at every send, so an AutoCAD started after the window opened is reached. Sent as typed,
    // untrimmed; an empty field sends the carriage return alone.
    HWND window = acadWindowFind();
    acadCommandSend(text(kEdtSendCommand) + "\r", window);
    setText(kEdtSendCommand, "");
}

void TdspAcadTest::btnSendCancelClick() { acadCancelSend(acadWindowFind()); }

void TdspAcadTest::btnCloseClick() { close(); }
