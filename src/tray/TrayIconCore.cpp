// The notification-area icon's rules: instance list, record, shell operations, callback table, clicks.
#include "tray/TrayIconCore.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "core/Cp932.h"

const char* const kTrayRegisterError = "タスクトレイにアイコンを登録できません。";
const char* const kTrayShowHideError = "タスクトレイアイコンの表示が切り替えられません。";
const char* const kTrayBalloonError = "タスクトレイアイコンのバルーンメッセージ表示が切り替えられません。";

namespace tray {

int animateRateClamp(int ms) { return ms < kAnimateRateMin ? kAnimateRateMin : ms; }

}  // namespace tray

using namespace tray;

// The live instances in creation order. The identifier of a new one is the last one's + 1, so the
// identifiers stay ascending and unique among the live instances.
struct TrayInstanceList {
    std::vector<TrayIconCore*> items;
    // Runs when the program ends. The shells the instances use were made before this list, so they are
    // still there.
    ~TrayInstanceList() {
        for (TrayIconCore* instance : items) instance->remove();
    }
};

namespace {

std::vector<TrayIconCore*>& instanceList() {
    static TrayInstanceList list;
    return list.items;
}

// Calls an event through a copy: a handler that destroys the icon does not destroy the running handler.
template <class Event, class... Args>
void fire(const Event& event, Args&&... args) {
    if (!event) return;
    Event handler = event;
    handler(std::forward<Args>(args)...);
}

// Cut on a character boundary: a text never ends in the first half of a double-byte character.
std::string cut(const std::string& text, std::size_t maxBytes) {
    return std::string(cp932::truncate(text, maxBytes));
}

}  // namespace

TrayIconCore::TrayIconCore(NotifyShell& shell) : shell_(shell) {
    auto& list = instanceList();
    if (list.size() >= kMaxInstances) throw ENotifyIconError(kTrayRegisterError);
    shellMajor_ = shell_.shellMajorVersion();
    xpOrLater_ = shell_.windowsXpOrLater();
    id_ = list.empty() ? 1 : list.back()->id_ + 1;
    list.push_back(this);
}

TrayIconCore::~TrayIconCore() {
    remove();
    auto& list = instanceList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

const std::vector<TrayIconCore*>& TrayIconCore::instances() noexcept { return instanceList(); }

TrayIconCore* TrayIconCore::instanceFind(std::uintptr_t identifier) noexcept {
    for (TrayIconCore* instance : instanceList())
        if (instance->id_ == identifier) return instance;
    return nullptr;
}

// ---- properties ----

void TrayIconCore::setTipHelp(const std::string& text) {
    tipHelp_ = cut(text, kTipMaxBytes);
    if (added_ && !animating_) modify(kTrayRegisterError);
}

void TrayIconCore::setBalloonTitle(const std::string& text) { balloonTitle_ = cut(text, kBalloonTitleMaxBytes); }

void TrayIconCore::setBalloonText(const std::string& text) { balloonText_ = cut(text, kBalloonTextMaxBytes); }

void TrayIconCore::setAnimateRate(int ms) { animateRate_ = animateRateClamp(ms); }

void TrayIconCore::setEnabled(bool value) {
    enabled_ = value;
    if (!value) clickPending_ = false;
}

void TrayIconCore::iconChanged() {
    if (added_) modify(kTrayRegisterError);
}

// Visible follows what the notification area shows: when the operation fails, the old value stays.
void TrayIconCore::setVisible(bool value) {
    if (value == visible_) return;
    if (value) {
        if (iconHandle() == 0) return;  // nothing to show: stays False
        visible_ = true;
        try {
            if (added_ && shellMajor_ >= 5)
                showHide(true);
            else
                add();
        } catch (...) {
            visible_ = false;
            throw;
        }
    } else {
        if (added_) {
            if (shellMajor_ >= 5)
                showHide(false);  // stays added, hidden
            else
                remove();
        }
        visible_ = false;
    }
}

void TrayIconCore::ShowBalloon() {
    if (shellMajor_ < 5) return;
    if (!visible_) setVisible(true);
    balloon(true);
}

void TrayIconCore::HideBalloon() {
    if (shellMajor_ < 5) return;
    balloon(false);
}

// ---- the shell operations ----

void TrayIconCore::recordFill() {
    record_ = NotifyRecord{};
    record_.cbSize = recordSize(shellMajor_);
    record_.window = callbackWindowHandle();
    record_.id = id_;
    record_.callbackMessage = kCallbackMessage;
    record_.icon = iconHandle();
    record_.flags = kNifMessage | kNifIcon;
    if (!tipHelp_.empty()) {
        record_.flags |= kNifTip;
        record_.tip = tipHelp_;
    }
}

void TrayIconCore::add() {
    if (!visible_) return;
    recordFill();
    if (shell_.notify(NotifyCommand::Add, record_)) {
        added_ = true;
        return;
    }
    unsigned long error = shell_.lastError();
    // On XP and later a timed-out add may still have been completed by the shell: one modify tells.
    if (error == kErrorTimeout && xpOrLater_) {
        shell_.sleep(kRetryWaitMs);
        if (shell_.notify(NotifyCommand::Modify, record_)) {
            added_ = true;
            return;
        }
    } else if (error == kErrorTimeout) {
        shell_.sleep(kRetryWaitMs);
    }
    for (unsigned retry = 1;; ++retry) {
        if (error != kErrorTimeout) throw ENotifyIconError(kTrayRegisterError);
        if (shell_.notify(NotifyCommand::Add, record_)) {
            added_ = true;
            return;
        }
        error = shell_.lastError();
        if (retry == kAddRetries) throw ENotifyIconError(kTrayRegisterError);
        if (error == kErrorTimeout) shell_.sleep(kRetryWaitMs);
    }
}

void TrayIconCore::modify(const char* failureMessage) {
    recordFill();
    if (!shell_.notify(NotifyCommand::Modify, record_)) throw ENotifyIconError(failureMessage);
}

void TrayIconCore::remove() noexcept {
    if (!added_) return;
    // The shell knows the icon by window and identifier: the record of the last operation names both.
    NotifyRecord record;
    record.cbSize = recordSize(shellMajor_);
    record.window = record_.window;
    record.id = id_;
    shell_.notify(NotifyCommand::Delete, record);
    added_ = false;
}

void TrayIconCore::showHide(bool show) {
    recordFill();
    record_.flags = kNifState;
    record_.state = show ? 0 : kNisHidden;
    record_.stateMask = kStateMask;
    if (!shell_.notify(NotifyCommand::Modify, record_)) throw ENotifyIconError(kTrayShowHideError);
}

void TrayIconCore::balloon(bool show) {
    recordFill();
    record_.flags = kNifInfo | kNifMessage;
    record_.timeoutMs = static_cast<std::uint32_t>(balloonTimeout_) * 1000u;
    if (show) {
        record_.infoTitle = balloonTitle_;
        record_.info = balloonText_.empty() ? std::string(" ") : balloonText_;
        record_.infoFlags = balloonIcon_;
    }
    if (!shell_.notify(NotifyCommand::Modify, record_)) throw ENotifyIconError(kTrayBalloonError);
}

// ---- the callback message ----

void TrayIconCore::callbackMessage(std::uintptr_t identifier, std::uint32_t message) {
    TrayIconCore* instance = instanceFind(identifier);
    if (instance == nullptr || !instance->enabled_) return;
    instance->mouseMessage(message);
}

void TrayIconCore::mouseDownFire(TMouseButton button, TShiftState shift, int x, int y) {
    fire(OnMouseDown, *this, button, shift, x, y);
}

void TrayIconCore::mouseUpFire(TMouseButton button, TShiftState shift, int x, int y) {
    if (formActiveByMouseup_) activeFormToForeground();
    fire(OnMouseUp, *this, button, shift, x, y);
}

void TrayIconCore::mouseMessage(std::uint32_t message) {
    int x = 0, y = 0;
    cursorPosRead(x, y);
    switch (message) {
        case kWmMouseMove:
            fire(OnMouseMove, *this, 0, x, y);
            break;
        case kWmLButtonDown:
            if (autoPopup_ && popupMenuAssigned(TMouseButton::mbLeft))
                popupMenuShow(TMouseButton::mbLeft, x, y);
            else
                mouseDownFire(TMouseButton::mbLeft, ssLeft, x, y);
            break;
        case kWmLButtonUp:
            if (formActiveByMouseup_) activeFormToForeground();
            if (OnMouseUp)
                fire(OnMouseUp, *this, TMouseButton::mbLeft, ssLeft, x, y);
            else
                leftButtonUp();
            break;
        case kWmLButtonDblClk:
            if (clickPending_) doubleClicked_ = true;
            fire(OnDblClick, *this);
            break;
        case kWmRButtonDown:
            if (autoPopup_ && popupMenuAssigned(TMouseButton::mbRight))
                popupMenuShow(TMouseButton::mbRight, x, y);
            else
                mouseDownFire(TMouseButton::mbRight, ssRight, x, y);
            break;
        case kWmRButtonUp:
            mouseUpFire(TMouseButton::mbRight, ssRight, x, y);
            break;
        case kWmMButtonDown:
            mouseDownFire(TMouseButton::mbMiddle, ssMiddle, x, y);
            break;
        case kWmMButtonUp:
            mouseUpFire(TMouseButton::mbMiddle, ssMiddle, x, y);
            break;
        case kNinBalloonShow:
            fire(OnBalloonShow, *this);
            break;
        case kNinBalloonHide:
            fire(OnBalloonHide, *this);
            break;
        case kNinBalloonTimeout:
            fire(OnBalloonTimeout, *this);
            break;
        case kNinBalloonUserClick:
            fire(OnBalloonClick, *this);
            break;
        default:
            break;
    }
}

// A left release without OnMouseUp: the first release of a pair starts the wait, the second (the end of a
// double click) clears it, so a double click gives OnDblClick and no OnClick.
void TrayIconCore::leftButtonUp() {
    if (!OnClick) return;
    if (clickPending_) {
        clickPending_ = false;
        return;
    }
    // Tokens are unique in the process, so a late notice never passes for another icon's wait.
    static unsigned lastToken = 0;
    clickPending_ = true;
    doubleClicked_ = false;
    clickToken_ = ++lastToken;
    clickWaitStart(doubleClickTime() + kClickWaitExtraMs, clickToken_);
}

void TrayIconCore::notificationAreaRecreated() {
    // By identifier: an error box shown meanwhile may let an icon go.
    std::vector<unsigned> ids;
    for (const TrayIconCore* icon : instanceList()) ids.push_back(icon->id_);
    std::exception_ptr firstError;
    for (unsigned id : ids) {
        TrayIconCore* icon = instanceFind(id);
        if (icon == nullptr) continue;
        icon->added_ = false;
        try {
            icon->add();  // only when Visible
        } catch (...) {
            icon->visible_ = false;  // not shown: the next Visible True tries again
            if (!firstError) firstError = std::current_exception();
        }
    }
    if (firstError) std::rethrow_exception(firstError);
}

void TrayIconCore::clickWaitEnded(std::uintptr_t identifier, unsigned token) {
    if (TrayIconCore* instance = instanceFind(identifier)) instance->clickWaitDone(token);
}

void TrayIconCore::clickWaitDone(unsigned token) {
    if (token != clickToken_) return;  // a newer click has started its own wait
    const bool due = clickPending_ && !doubleClicked_ && enabled_;
    clickPending_ = false;
    doubleClicked_ = false;
    if (due) fire(OnClick, *this);
}
