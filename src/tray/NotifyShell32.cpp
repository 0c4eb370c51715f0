// The real notification area: the record copied into NOTIFYICONDATAA and handed to Shell_NotifyIconA.
#include "tray/NotifyShell32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

namespace tray {

static_assert(kCallbackMessage == WM_USER + 200);
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP && kNifState == NIF_STATE &&
              kNifInfo == NIF_INFO);
static_assert(kNisHidden == NIS_HIDDEN && kStateMask == (NIS_HIDDEN | NIS_SHAREDICON));
static_assert(kErrorTimeout == ERROR_TIMEOUT);
static_assert(kWmMouseMove == WM_MOUSEMOVE && kWmLButtonDown == WM_LBUTTONDOWN && kWmLButtonUp == WM_LBUTTONUP &&
              kWmLButtonDblClk == WM_LBUTTONDBLCLK && kWmRButtonDown == WM_RBUTTONDOWN &&
              kWmRButtonUp == WM_RBUTTONUP && kWmMButtonDown == WM_MBUTTONDOWN && kWmMButtonUp == WM_MBUTTONUP);
static_assert(kNinBalloonShow == NIN_BALLOONSHOW && kNinBalloonHide == NIN_BALLOONHIDE &&
              kNinBalloonTimeout == NIN_BALLOONTIMEOUT && kNinBalloonUserClick == NIN_BALLOONUSERCLICK);
static_assert(kRecordSizeOld == NOTIFYICONDATAA_V1_SIZE && kRecordSizeV5 == NOTIFYICONDATAA_V2_SIZE);
static_assert(NIM_ADD == 0 && NIM_MODIFY == 1 && NIM_DELETE == 2);

namespace {

// Copies at most size - 1 bytes and always ends with a NUL; the component has already cut the text.
template <std::size_t N>
void textCopy(char (&field)[N], const std::string& text, std::size_t size = N) {
    const std::size_t room = (size < N ? size : N) - 1;
    const std::size_t n = text.copy(field, text.size() < room ? text.size() : room);
    field[n] = '\0';
}

}  // namespace

bool SystemNotifyShell::notify(NotifyCommand command, const NotifyRecord& record) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = record.cbSize;
    data.hWnd = reinterpret_cast<HWND>(record.window);
    data.uID = record.id;
    data.uFlags = record.flags;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.icon);
    // The first record layout has room for 64 tip bytes; the tip never needs more.
    textCopy(data.szTip, record.tip, 64);
    data.dwState = record.state;
    data.dwStateMask = record.stateMask;
    textCopy(data.szInfo, record.info);
    data.uTimeout = record.timeoutMs;
    textCopy(data.szInfoTitle, record.infoTitle);
    data.dwInfoFlags = record.infoFlags;
    SetLastError(0);
    BOOL ok = Shell_NotifyIconA(static_cast<DWORD>(command), &data);
    lastError_ = ok ? 0 : GetLastError();
    return ok != FALSE;
}

void SystemNotifyShell::sleep(unsigned ms) { Sleep(ms); }

unsigned SystemNotifyShell::shellMajorVersion() { return shell32MajorVersionRead(); }

bool SystemNotifyShell::windowsXpOrLater() { return windowsXpOrLaterRead(); }

unsigned shell32MajorVersionRead() {
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 0;
    std::string path(folder, length);
    // The system folder's name never ends in a double-byte character, so a final byte 0x5C is a backslash.
    if (path.back() != '\\') path += '\\';
    path += "shell32.dll";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return 0;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) || info == nullptr ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return HIWORD(info->dwFileVersionMS);
}

bool windowsXpOrLaterRead() {
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    return version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
}

NotifyShell& systemNotifyShell() {
    static SystemNotifyShell shell;
    return shell;
}

}  // namespace tray
