// The main window TdspMain.
#include "app/frmMain.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "acad/AcadRules.h"
#include "acad/CommandChannel.h"
#include "app/AppWindows.h"
#include "app/frmMainTray.h"
#include "core/Cp932.h"
#include "forms/Application.h"
#include "forms/Fonts.h"
#include "forms/MenuPictures.h"
#include "forms/StatusParts.h"
#include "library/ScriptLibrary.h"
#include "library/Settings.h"
#include "resources/MainResources.h"
#include "runner/ScriptRun.h"
#include "win/ErrorFence.h"

namespace {

constexpr UINT_PTR kAcadWatchTimer = 1;
constexpr UINT kAcadWatchInterval = 200;  // ms
constexpr int kAutoCADMenuPosition = 2;   // "AutoCAD(&A)" in the menu bar

// The status line.
constexpr const char* kStatusPrefix = "対象AutoCAD：  ";
constexpr const char* kStatusNotFound = "対象AutoCAD：  見つかりません";
// The caption, with its trailing blank.
constexpr const char* kMainCaption = "カノピア ";
// The progress part is at least as wide as this text needs.
constexpr const char* kProgressWidest = "000/000";

// True while alive: a run (or the question before one) is under way.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

const ControlLayout kControls[] = {
    {TdspMain::Bevel1, ControlKind::Bevel, "", 0, 1, 299, 8, Anchor::Left | Anchor::Top | Anchor::Right},
    {TdspMain::Label3, ControlKind::Label, "処理タイプ：", 35, 12, 60, 12},
    {TdspMain::rdoFileActive, ControlKind::RadioButton, "現在の図面", 105, 9, 89, 17, Anchor::LeftTop, 2},
    {TdspMain::rdoFileSelect, ControlKind::RadioButton, "複数ファイル", 193, 9, 89, 17, Anchor::LeftTop, 3},
    {TdspMain::Label2, ControlKind::Label, "グループを選択：", 9, 34, 86, 12},
    {TdspMain::cmbGroup, ControlKind::ComboList, "", 104, 30, 193, 21, Anchor::Left | Anchor::Top | Anchor::Right, 0,
     CBS_SORT, 13, 0, ControlFlag::AutoDropDown},
    {TdspMain::lstScript, ControlKind::ListBox, "", 3, 58, 294, 120, Anchor::All, 1, LBS_SORT, 13, 0, ControlFlag::None,
     13},
    {TdspMain::Label1, ControlKind::Label, "実行スクリプトを選択：", 8, 189, 113, 12, Anchor::Left | Anchor::Bottom},
    {TdspMain::btnScriptGo, ControlKind::Button, "実行", 221, 186, 75, 23, Anchor::Right | Anchor::Bottom, 4},
    {TdspMain::barMain, ControlKind::StatusBar, "", 0, 221, 302, 19},
};

const FormLayout kFormSpec{
    nullptr,  // the caption is set by mainStatusCheck
    302,
    240,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
    // Created in the topmost band, where it is by default: Wine puts a window below the hidden windows it
    // owns when it is moved into the band later, so it would never get there. checkTopMost at showing takes
    // it out when the stored state says so.
    WS_EX_TOPMOST,
    310,
    250,
    550,
    800,
    12,
    FormPosition::Designed,
};

// One item of the main menu: a separator when caption is null.
struct MenuItem {
    int id;
    const char* caption;
    int picture;  // index in imgIcon, -1 for none
};

const MenuItem kFileMenu[] = {
    {TdspMain::mForGround, "常に手前に表示", IMG_FORGROUND},
    {TdspMain::mConfig, "動作環境設定(&C)", IMG_CONFIG},
    {0, nullptr, -1},
    {TdspMain::mExit, "アプリケーションの終了(&X)\tCtrl+Q", IMG_EXIT},
};
const MenuItem kScriptMenu[] = {
    {TdspMain::mGroupConfig, "グループのメンテナンス(&M)\tCtrl+G", IMG_GROUPCONFIG},
    {TdspMain::mScriptConfig, "スクリプトのメンテナンス(&S)\tCtrl+S", IMG_SCRIPTCONFIG},
    {0, nullptr, -1},
    {TdspMain::mScriptGo, "選択中のスクリプトを実行(&G)\tCtrl+D", IMG_SCRIPTGO},
};
const MenuItem kAutoCADMenu[] = {
    {TdspMain::mAcadActive, "手前に表示(&A)", IMG_ACADACTIVE},
    {TdspMain::mAcadTest, "コマンドの送信テスト(&C)", IMG_ACADTEST},
};
const MenuItem kHelpMenu[] = {
    {TdspMain::mHelpOpen, "ヘルプ(&H)\tF1", IMG_HELP},
    {TdspMain::mWebSite, "ホームページ...", IMG_WEBSITE},
    {TdspMain::mSDIOpen, "SDIモードへの変更について(&S)", IMG_SDI},
    {0, nullptr, -1},
    {TdspMain::mAbout, "バージョン情報(&A)", IMG_ABOUT},
};

const ACCEL kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'Q', TdspMain::mExit},
    {FVIRTKEY | FCONTROL, 'G', TdspMain::mGroupConfig},
    {FVIRTKEY | FCONTROL, 'S', TdspMain::mScriptConfig},
    {FVIRTKEY | FCONTROL, 'D', TdspMain::mScriptGo},
    {FVIRTKEY, VK_F1, TdspMain::mHelpOpen},
};

// A file in the program folder: the folder and the name joined by one backslash, also for a drive root
// ("C:\"), whose folder already ends in one.
std::string programFile(const char* name) {
    std::string folder = programFolder();
    const std::size_t last = folder.empty() ? cp932::npos : cp932::prevCharPos(folder, folder.size());
    if (last == cp932::npos || folder[last] != '\\' || cp932::charLength(folder, last) != 1) folder += '\\';
    return folder + name;
}

std::string listText(HWND list, UINT lenMsg, UINT textMsg, LRESULT index) {
    const LRESULT len = ::SendMessageA(list, lenMsg, static_cast<WPARAM>(index), 0);
    if (len < 0) return {};
    std::string s(static_cast<std::size_t>(len) + 1, '\0');
    const LRESULT got = ::SendMessageA(list, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return s;
}

}  // namespace

TdspMain::TdspMain() : Form(kFormSpec, kControls) {}

TdspMain::~TdspMain() { tray_.reset(); }

void TdspMain::FormCreate() {
    auto& app = forms::Application::instance();
    imgIcon_.reset(::ImageList_LoadImageA(app.hinstance(), MAKEINTRESOURCEA(IDB_IMGICON), 16, 0, RGB(255, 0, 255),
                                          IMAGE_BITMAP, LR_CREATEDIBSECTION));
    menuCreate();
    if (imgIcon_) {
        buttonIcon_.reset(::ImageList_GetIcon(imgIcon_.get(), IMG_SCRIPTGO, ILD_TRANSPARENT));
        ::SendMessageA(control(btnScriptGo), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(buttonIcon_.get()));
    }

    onClick(rdoFileActive, [this] { rdoFileActiveClick(); });
    onClick(rdoFileSelect, [this] { rdoFileSelectClick(); });
    onChange(cmbGroup, [this] { cmbGroupChange(); });
    onDblClick(lstScript, [this] { lstScriptDblClick(); });
    onClick(btnScriptGo, [this] { btnScriptGoClick(); });
    onClick(mForGround, [this] { mForGroundClick(); });
    onClick(mConfig, [this] { mConfigClick(); });
    onClick(mExit, [this] { mExitClick(); });
    onClick(mGroupConfig, [this] { mGroupConfigClick(); });
    onClick(mScriptConfig, [this] { mScriptConfigClick(); });
    onClick(mScriptGo, [this] { mScriptGoClick(); });
    onClick(mAcadActive, [this] { mAcadActiveClick(); });
    onClick(mAcadTest, [this] { mAcadTestClick(); });
    onClick(mHelpOpen, [this] { mHelpOpenClick(); });
    onClick(mWebSite, [this] { mWebSiteClick(); });
    onClick(mSDIOpen, [this] { mSDIOpenClick(); });
    onClick(mAbout, [this] { mAboutClick(); });

    // The run reads the selection through the library.
    scriptSelectionSourceSet([this] {
        ScriptSelection s;
        HWND group = control(cmbGroup), script = control(lstScript);
        s.groupCount = static_cast<int>(::SendMessageA(group, CB_GETCOUNT, 0, 0));
        s.groupText = text(cmbGroup);
        s.scriptCount = static_cast<int>(::SendMessageA(script, LB_GETCOUNT, 0, 0));
        const LRESULT sel = ::SendMessageA(script, LB_GETCURSEL, 0, 0);
        if (sel != LB_ERR) s.scriptText = listText(script, LB_GETTEXTLEN, LB_GETTEXT, sel);
        return s;
    });

    // The runs tell this window what AutoCAD took, so that a batch can be followed.
    runPrompts().handedOver = [this](const RunHandOver& h) { runHandedOver(h); };
    // Under Wine, an elevated AutoCAD is played by the stand-in and refused here (see CommandChannel.h).
    if (acadElevationEmulationAsked()) acadCopyDataSenderSet(acadElevationEmulatingSend);

    // Minimising into the notification area.
    HICON icon = ::LoadIconA(app.hinstance(), MAKEINTRESOURCEA(IDI_CANOPIA));
    tray_ = std::make_unique<MainTray>(handle(), app.handle(), icon, imgIcon_.get(), [&app] { app.restore(); });
    app.onMinimize = [this] { tray_->AppMinimize(); };
    app.onRestore = [this] { tray_->AppRestore(); };
    app.onExit = [this] { tray_.reset(); };  // the icon leaves the notification area with the program

    // The watch runs from the window's creation to the end of the program. Being a window timer, its tick is
    // dispatched by whichever message loop runs, the modal loops and message boxes included.
    ::SetTimer(hwnd_, kAcadWatchTimer, kAcadWatchInterval, nullptr);
}

void TdspMain::menuCreate() {
    mnuMain_ = ::CreateMenu();
    auto popup = [this](const char* caption, const MenuItem* items, std::size_t n) {
        HMENU menu = ::CreatePopupMenu();
        for (std::size_t i = 0; i < n; ++i) {
            const MenuItem& it = items[i];
            if (!it.caption) {
                ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(it.id), it.caption);
            if (it.picture >= 0) {
                if (HBITMAP bmp = menuPicture(it.picture)) {
                    MENUITEMINFOA mii{};
                    mii.cbSize = sizeof mii;
                    mii.fMask = MIIM_BITMAP;
                    mii.hbmpItem = bmp;
                    ::SetMenuItemInfoA(menu, static_cast<UINT>(it.id), FALSE, &mii);
                }
            }
        }
        ::AppendMenuA(mnuMain_, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), caption);
        return menu;
    };
    popup("ファイル(&F)", kFileMenu, std::size(kFileMenu));
    popup("スクリプト(&S)", kScriptMenu, std::size(kScriptMenu));
    mAutoCAD_ = popup("AutoCAD(&A)", kAutoCADMenu, std::size(kAutoCADMenu));
    popup("ヘルプ(&H)", kHelpMenu, std::size(kHelpMenu));
    // The AutoCAD menu is disabled until the first tick finds AutoCAD.
    ::EnableMenuItem(mnuMain_, kAutoCADMenuPosition, MF_BYPOSITION | MF_GRAYED);
    acadMenuEnabled_ = false;
    setMenu(mnuMain_);
    accelerators_.reset(
        ::CreateAcceleratorTableA(const_cast<ACCEL*>(kAccelerators), static_cast<int>(std::size(kAccelerators))));
    setAccelerators(accelerators_.get());
}

HBITMAP TdspMain::menuPicture(int index) {
    auto found = pictures_.find(index);
    if (found != pictures_.end()) return found->second.get();
    win::UniqueBitmap bmp = forms::menuPictureFrom(imgIcon_.get(), index);
    HBITMAP picture = bmp.get();
    if (picture) pictures_[index] = std::move(bmp);
    return picture;
}

LRESULT TdspMain::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kAcadWatchTimer) {
        acadWatchTimerTimer();
        return 0;
    }
    return Form::handle(msg, wp, lp);
}

void TdspMain::FormShow() {
    windowStatusLoadSave(true);
    checkTopMost();
    zumenCheckBoxSet();
    groupListSetup();
    selectGroupLoadSave(true);
    scriptListSetup();
    mainStatusCheck();
}

// Wine ignores a z-order change of a window that is not visible yet, so the band is applied once more when
// the window has appeared.
void TdspMain::FormShown() { checkTopMost(); }

void TdspMain::FormClose() {
    // A state that cannot be written is reported once; the program still ends, as the user asked.
    if (win::fenced([this] { selectGroupLoadSave(false); })) win::fenced([this] { windowStatusLoadSave(false); });
    ::KillTimer(hwnd_, kAcadWatchTimer);
}

void TdspMain::acadWatchTimerTimer() {
    const bool found = acadWindowFind() != nullptr;
    statusTimer(found);
    followStep(found);
}

void TdspMain::statusTimer(bool found) {
    const bool run = found && ::SendMessageA(control(lstScript), LB_GETCOUNT, 0, 0) > 0;
    ::EnableMenuItem(mnuMain_, mScriptGo, MF_BYCOMMAND | (run ? MF_ENABLED : MF_GRAYED));
    setEnabled(btnScriptGo, run);
    ::EnableMenuItem(mnuMain_, kAutoCADMenuPosition, MF_BYPOSITION | (found ? MF_ENABLED : MF_GRAYED));
    if (found != acadMenuEnabled_) {  // the menu bar is redrawn only when the AutoCAD menu changed
        acadMenuEnabled_ = found;
        ::DrawMenuBar(hwnd_);
    }
    const std::string status = found ? kStatusPrefix + acadWindowTitle() : std::string(kStatusNotFound);
    ::SetWindowTextA(control(barMain), status.c_str());
}

void TdspMain::followStep(bool found) {
    runner::WatchView view;
    char title[256] = {};
    if (followedWindow_ && ::IsWindow(followedWindow_)) {
        // The run's own window, read like the lookup reads it; a handle taken over by another window is no AutoCAD.
        char className[256] = {};
        ::GetWindowTextA(followedWindow_, title, acad::kWindowTextCount);
        ::GetClassNameA(followedWindow_, className, acad::kWindowTextCount);
        view.alive = acad::isAcadMainWindow(title, className);
    }
    view.title = title;
    view.found = found;
    view.canAsk = !running_ && ::IsWindowEnabled(hwnd_);  // not over a run, a modal window or a message box
    if (follower_.tick(view)) resumeOffer();
    progressShow(follower_.progressText());
}

void TdspMain::runHandedOver(const RunHandOver& handOver) {
    // A new run replaces the followed one; a current-drawing run has nothing to follow.
    if (handOver.batch.files.empty()) {
        follower_.forget();
        followedWindow_ = nullptr;
    } else {
        follower_.start(handOver.batch, handOver.title);
        followedWindow_ = handOver.window;
    }
    progressShow(follower_.progressText());
}

void TdspMain::resumeOffer() {
    const runner::BatchRun rest = follower_.remaining();
    const std::string question = follower_.resumeQuestion();
    // Asked once: whatever the answer, and also when the resumed run fails, this run is over.
    struct Answered {
        runner::BatchFollower& follower;
        ~Answered() { follower.questionDone(); }
    } answered{follower_};
    RunningFlag running(running_);
    batchResume(rest, question, hwnd_);
}

void TdspMain::progressShow(const std::string& text) {
    if (text == progress_) return;
    progress_ = text;
    statusPartsSet();
}

void TdspMain::statusPartsSet() { forms::statusNoticeSet(control(barMain), progress_, kProgressWidest); }

void TdspMain::FormResize() {
    if (!progress_.empty()) statusPartsSet();
}

void TdspMain::groupListSetup() {
    HWND box = control(cmbGroup);
    win::RedrawSuspender suspend(box);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> names;
    groupNamesRead(names);
    for (const auto& n : names) ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
    if (!names.empty()) ::SendMessageA(box, CB_SETCURSEL, 0, 0);
}

void TdspMain::scriptListSetup() {
    HWND list = control(lstScript);
    win::RedrawSuspender suspend(list);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    std::vector<std::string> names;
    scriptNamesRead(names, text(cmbGroup));
    for (const auto& n : names) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
    if (!names.empty()) ::SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void TdspMain::mainStatusCheck() {
    setCaption(kMainCaption);
    setEnabled(lstScript, ::SendMessageA(control(lstScript), LB_GETCOUNT, 0, 0) > 0);
}

void TdspMain::zumenCheckBoxSet() {
    focus(cmbGroup);
    setChecked(rdoFileActive, zumenStatus == 1);
    setChecked(rdoFileSelect, zumenStatus != 1);
}

void TdspMain::zumenStatusSet(int value) {
    zumenStatus = value;
    groupListSetup();
    scriptListSetup();
    mainStatusCheck();
}

bool TdspMain::topMost() const {
    return (::GetMenuState(mnuMain_, mForGround, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void TdspMain::checkTopMost() {
    ::SetWindowPos(hwnd_, topMost() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TdspMain::windowStatusLoadSave(bool load) {
    Form* editer = app::windows().form(app::AppWindow::ScriptEditer);
    if (load) {
        const WindowStatus s = windowStatusRead();
        setBounds(s.mainLeft, s.mainTop, s.mainWidth, s.mainHeight);
        // Through the editor's own size limits, long before it is first opened.
        if (editer) editer->setBounds(s.editerLeft, s.editerTop, s.editerWidth, s.editerHeight);
        ::CheckMenuItem(mnuMain_, mForGround, MF_BYCOMMAND | (s.mainSetForground ? MF_CHECKED : MF_UNCHECKED));
        zumenStatus = s.mainZumenStatus;
        return;
    }
    WindowStatus s;
    const RECT m = bounds();
    s.mainWidth = m.right - m.left;
    s.mainHeight = m.bottom - m.top;
    s.mainTop = m.top;
    s.mainLeft = m.left;
    // Wherever the user left the editor, whether or not it was opened.
    const RECT e = editer ? editer->bounds() : RECT{};
    s.editerWidth = e.right - e.left;
    s.editerHeight = e.bottom - e.top;
    s.editerTop = e.top;
    s.editerLeft = e.left;
    s.mainSetForground = topMost();
    s.mainZumenStatus = zumenStatus;
    windowStatusWrite(s);
}

void TdspMain::selectGroupLoadSave(bool load) {
    HWND box = control(cmbGroup);
    if (load) {
        const int index = profileIntegerRead(kStatusSection, kMainSelectGroup, kMainSelectGroupDefault);
        const LRESULT count = ::SendMessageA(box, CB_GETCOUNT, 0, 0);
        // An index outside the entries leaves the box without a selection.
        ::SendMessageA(box, CB_SETCURSEL, (index >= 0 && index < count) ? index : -1, 0);
        return;
    }
    profileIntegerWrite(kStatusSection, kMainSelectGroup, static_cast<int>(::SendMessageA(box, CB_GETCURSEL, 0, 0)));
}

void TdspMain::rdoFileActiveClick() { zumenStatusSet(1); }
void TdspMain::rdoFileSelectClick() { zumenStatusSet(2); }

void TdspMain::cmbGroupChange() {
    scriptListSetup();
    mainStatusCheck();
}

void TdspMain::lstScriptDblClick() {
    if (enabled(btnScriptGo)) btnScriptGoClick();
}

void TdspMain::btnScriptGoClick() {
    RunningFlag running(running_);
    scriptGo(hwnd_);
}

void TdspMain::mForGroundClick() {
    ::CheckMenuItem(mnuMain_, mForGround, MF_BYCOMMAND | (topMost() ? MF_UNCHECKED : MF_CHECKED));
    checkTopMost();
}

void TdspMain::mConfigClick() { app::windows().showModal(app::AppWindow::Config); }
void TdspMain::mExitClick() { close(); }
void TdspMain::mGroupConfigClick() { app::windows().showModal(app::AppWindow::GroupConfig); }
void TdspMain::mScriptConfigClick() { app::windows().showModal(app::AppWindow::ScriptConfig); }

void TdspMain::mScriptGoClick() {
    if (enabled(btnScriptGo)) btnScriptGoClick();
}

void TdspMain::mAcadActiveClick() { ::SetForegroundWindow(acadWindowFind()); }
void TdspMain::mAcadTestClick() { app::windows().showModal(app::AppWindow::AcadTest); }

void TdspMain::mHelpOpenClick() {
    ::ShellExecuteA(hwnd_, "open", programFile(kHelpFile).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TdspMain::mWebSiteClick() { ::ShellExecuteA(hwnd_, "open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL); }
void TdspMain::mSDIOpenClick() { app::windows().showModal(app::AppWindow::SDIExp); }
void TdspMain::mAboutClick() { app::windows().showModal(app::AppWindow::About); }
