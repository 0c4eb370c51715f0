// The notification-area icon's rules without Win32: property limits, the process-wide instance list,
// the notification record, the seven shell operations with their retries, the callback-message table and
// single-click detection. TTrayIcon (TTrayIcon.h) puts windows, icons and menus under it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/AppError.h"

// Raised by the tray icon component with one of three fixed Shift-JIS messages.
class ENotifyIconError : public AppError {
public:
    explicit ENotifyIconError(const std::string& message) : AppError(message) {}
};

extern const char* const kTrayRegisterError;  // "タスクトレイにアイコンを登録できません。"
extern const char* const kTrayShowHideError;  // "タスクトレイアイコンの表示が切り替えられません。"
extern const char* const kTrayBalloonError;   // "タスクトレイアイコンのバルーンメッセージ表示が切り替えられません。"

enum TBalloonInfoIconFlag : std::uint32_t { biifNone = 0, biifInfo = 1, biifWarning = 2, biifError = 3 };

namespace tray {

// Values the shell defines; the Win32 layer checks them against <shellapi.h>.
constexpr std::uint32_t kCallbackMessage = 1224;  // WM_USER + 200, sent by the shell to the callback window
constexpr std::size_t kMaxInstances = 100;
constexpr std::size_t kTipMaxBytes = 63;
constexpr std::size_t kBalloonTitleMaxBytes = 63;
constexpr std::size_t kBalloonTextMaxBytes = 255;
constexpr int kAnimateRateMin = 10;
constexpr int kBalloonTimeoutDefault = 10;  // seconds
constexpr unsigned kAddRetries = 5;         // NIM_ADD retries after ERROR_TIMEOUT
constexpr unsigned kRetryWaitMs = 100;
constexpr unsigned kClickWaitExtraMs = 50;  // added to the double-click time before a click counts as single

constexpr std::uint32_t kNifMessage = 0x01, kNifIcon = 0x02, kNifTip = 0x04, kNifState = 0x08, kNifInfo = 0x10;
constexpr std::uint32_t kNisHidden = 0x01, kStateMask = 0x03;
constexpr unsigned long kErrorTimeout = 1460;  // ERROR_TIMEOUT

constexpr std::uint32_t kWmMouseMove = 0x0200, kWmLButtonDown = 0x0201, kWmLButtonUp = 0x0202,
                        kWmLButtonDblClk = 0x0203, kWmRButtonDown = 0x0204, kWmRButtonUp = 0x0205,
                        kWmMButtonDown = 0x0207, kWmMButtonUp = 0x0208;
constexpr std::uint32_t kNinBalloonShow = 0x0402, kNinBalloonHide = 0x0403, kNinBalloonTimeout = 0x0404,
                        kNinBalloonUserClick = 0x0405;

// Size of the notification record the shell is told: the first layout for shells below version 5,
// the layout with state and balloon fields from version 5 on.
constexpr std::uint32_t kRecordSizeOld = 88, kRecordSizeV5 = 488;
constexpr std::uint32_t recordSize(unsigned shellMajorVersion) {
    return shellMajorVersion < 5 ? kRecordSizeOld : kRecordSizeV5;
}

int animateRateClamp(int ms);

enum class NotifyCommand : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };  // NIM_ADD, NIM_MODIFY, NIM_DELETE

// The fields of NOTIFYICONDATA the component fills. Handles are carried as integers; texts are
// already cut to their limits.
struct NotifyRecord {
    std::uint32_t cbSize = 0;
    std::uintptr_t window = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    std::uintptr_t icon = 0;
    std::string tip;
    std::uint32_t state = 0;
    std::uint32_t stateMask = 0;
    std::string infoTitle;
    std::string info;
    std::uint32_t timeoutMs = 0;
    std::uint32_t infoFlags = 0;
};

// The shell's notification area and the facts about the shell the component needs. The real one calls
// Shell_NotifyIcon; tests use a recording fake.
class NotifyShell {
public:
    virtual ~NotifyShell() = default;
    virtual bool notify(NotifyCommand command, const NotifyRecord& record) = 0;
    virtual unsigned long lastError() = 0;  // the error of the last failed notify
    virtual void sleep(unsigned ms) = 0;
    virtual unsigned shellMajorVersion() = 0;  // of the system directory's shell32.dll; 0 when unreadable
    virtual bool windowsXpOrLater() = 0;       // system version 5.1 or higher
};

}  // namespace tray

// One notification-area icon. Everything here runs on the user-interface thread.
class TrayIconCore {
public:
    enum class TMouseButton { mbLeft, mbRight, mbMiddle };
    using TShiftState = unsigned;
    static constexpr TShiftState ssShift = 0x01, ssAlt = 0x02, ssCtrl = 0x04, ssLeft = 0x08, ssRight = 0x10,
                                 ssMiddle = 0x20, ssDouble = 0x40;

    using TNotifyEvent = std::function<void(TrayIconCore& sender)>;
    using TMouseEvent = std::function<void(TrayIconCore& sender, TMouseButton button, TShiftState shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TrayIconCore& sender, TShiftState shift, int x, int y)>;

    // Registers the instance in the process list (ENotifyIconError when 100 exist) and reads the shell's
    // version. The shell must outlive the instance.
    explicit TrayIconCore(tray::NotifyShell& shell);
    virtual ~TrayIconCore();  // deletes the icon when it is added and leaves the process list
    TrayIconCore(const TrayIconCore&) = delete;
    TrayIconCore& operator=(const TrayIconCore&) = delete;

    unsigned id() const noexcept { return id_; }
    unsigned shellMajorVersion() const noexcept { return shellMajor_; }
    bool added() const noexcept { return added_; }

    const std::string& TipHelp() const noexcept { return tipHelp_; }
    void setTipHelp(const std::string& text);  // cut to 63 bytes on a character boundary; Modify when added
    bool Visible() const noexcept { return visible_; }
    void setVisible(bool value);
    bool Enabled() const noexcept { return enabled_; }
    void setEnabled(bool value);  // False also drops a pending single click
    bool AutoPopup() const noexcept { return autoPopup_; }
    void setAutoPopup(bool value) noexcept { autoPopup_ = value; }
    bool FormActiveByMouseup() const noexcept { return formActiveByMouseup_; }
    void setFormActiveByMouseup(bool value) noexcept { formActiveByMouseup_ = value; }
    int AnimateRate() const noexcept { return animateRate_; }
    void setAnimateRate(int ms);  // at least 10

    const std::string& BalloonTitle() const noexcept { return balloonTitle_; }
    void setBalloonTitle(const std::string& text);  // cut to 63 bytes
    const std::string& BalloonText() const noexcept { return balloonText_; }
    void setBalloonText(const std::string& text);  // cut to 255 bytes
    TBalloonInfoIconFlag BalloonIcon() const noexcept { return balloonIcon_; }
    void setBalloonIcon(TBalloonInfoIconFlag value) noexcept { balloonIcon_ = value; }
    int BalloonTimeout() const noexcept { return balloonTimeout_; }
    void setBalloonTimeout(int seconds) noexcept { balloonTimeout_ = seconds < 0 ? 0 : seconds; }

    // Balloons need shell version 5 or later; on older shells both do nothing. Showing makes the icon visible.
    void ShowBalloon();
    void HideBalloon();

    bool Animating() const noexcept { return animating_; }

    TNotifyEvent OnClick, OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnBalloonShow, OnBalloonHide, OnBalloonTimeout, OnBalloonClick;

    // The callback message's parameters: the instance's identifier and the mouse or balloon message.
    static void callbackMessage(std::uintptr_t identifier, std::uint32_t message);
    // The single-click wait with this token has ended (delivered on the user-interface thread).
    static void clickWaitEnded(std::uintptr_t identifier, unsigned token);
    // The shell has made a new notification area (after a restart of the shell) and knows no icon any more:
    // visible icons are added again, hidden ones will be added when they are shown.
    static void notificationAreaRecreated();

    // The live instances in creation order (identifiers ascending). Icons still added when the program
    // ends are deleted then, so none is left behind in the notification area by windows never destroyed.
    static const std::vector<TrayIconCore*>& instances() noexcept;
    static TrayIconCore* instanceFind(std::uintptr_t identifier) noexcept;

protected:
    // What the platform layer supplies.
    virtual std::uintptr_t callbackWindowHandle() = 0;
    virtual std::uintptr_t iconHandle() = 0;  // animation image, Icon, owner form's, application's; 0 when none
    virtual bool popupMenuAssigned(TMouseButton button) const = 0;
    virtual void popupMenuShow(TMouseButton button, int x, int y) = 0;  // foreground rule, then the menu
    virtual void cursorPosRead(int& x, int& y) = 0;
    virtual void activeFormToForeground() = 0;
    virtual unsigned doubleClickTime() = 0;
    virtual void clickWaitStart(unsigned delayMs, unsigned token) = 0;  // calls clickWaitEnded after delayMs

    // Animation switches: while it runs, Icon and TipHelp changes send nothing.
    void setAnimating(bool value) noexcept { animating_ = value; }
    // Sends Modify when the icon is added: after a change of the icon or of the animation image.
    void iconChanged();
    // Deletes the icon from the notification area when it is added; never fails.
    void remove() noexcept;

private:
    friend struct TrayInstanceList;
    void recordFill();
    void add();
    void modify(const char* failureMessage);
    void balloon(bool show);
    void showHide(bool show);
    void mouseMessage(std::uint32_t message);
    void leftButtonUp();
    void clickWaitDone(unsigned token);
    void mouseDownFire(TMouseButton button, TShiftState shift, int x, int y);
    void mouseUpFire(TMouseButton button, TShiftState shift, int x, int y);

    tray::NotifyShell& shell_;
    unsigned id_ = 0;
    unsigned shellMajor_ = 0;
    bool xpOrLater_ = false;
    bool added_ = false;
    tray::NotifyRecord record_;

    std::string tipHelp_ = "TipHelp";
    bool visible_ = false;
    bool enabled_ = true;
    bool autoPopup_ = true;
    bool formActiveByMouseup_ = false;
    int animateRate_ = 500;
    bool animating_ = false;
    std::string balloonTitle_;
    std::string balloonText_;
    TBalloonInfoIconFlag balloonIcon_ = biifNone;
    int balloonTimeout_ = tray::kBalloonTimeoutDefault;

    bool clickPending_ = false;   // a left release waits to be taken for a single click
    bool doubleClicked_ = false;  // a double click came while the click was pending
    unsigned clickToken_ = 0;     // the newest wait; an older one that ends late is ignored
};
