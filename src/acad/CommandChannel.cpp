// Finding AutoCAD's main window among the desktop's top-level windows and handing it command text
// with WM_COPYDATA.
#include "acad/CommandChannel.h"

#include <vector>

#include "acad/AcadRules.h"

namespace {

std::string acadTitle;                  // title of the window the last successful lookup matched
unsigned sendTimeoutMs = 10000;         // a hung AutoCAD holds the program at most this long per send
CopyDataSender copyDataSender = ::SendMessageTimeoutA;
SendOutcome lastOutcome = SendOutcome::Taken;

static_assert(acad::kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(acad::kErrorInvalidWindowHandle == ERROR_INVALID_WINDOW_HANDLE);

struct LookupState {
    HWND found = nullptr;
};

BOOL CALLBACK lookupVisit(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<LookupState*>(param);
    // GetWindowTextA on another process's window reads the window manager's name without asking it,
    // so a hung window cannot hold the lookup up.
    char title[256] = {};
    char className[256] = {};
    ::GetWindowTextA(window, title, acad::kWindowTextCount);
    ::GetClassNameA(window, className, acad::kWindowTextCount);
    if (acad::isAcadMainWindow(title, className)) {
        state->found = window;
        acadTitle = title;
    }
    return TRUE;  // every window is examined: the last match wins
}

}  // namespace

HWND acadWindowFind() {
    LookupState state;
    ::EnumWindows(lookupVisit, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

const std::string& acadWindowTitle() { return acadTitle; }

SendOutcome acadCommandDeliver(const std::string& command, HWND window) {
    std::vector<char> buffer = acad::copyDataBuffer(command);
    COPYDATASTRUCT record{};
    record.dwData = 1;
    record.cbData = static_cast<DWORD>(buffer.size());
    record.lpData = buffer.data();
    // wParam is AutoCAD's own window. SendMessageTimeoutA returns 0 when the window is gone, hung, did
    // not finish handling the message in time, or the system refused the message (access denied).
    DWORD_PTR result = 0;
    ::SetLastError(0);
    const bool handled = copyDataSender(window, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                                        reinterpret_cast<LPARAM>(&record), SMTO_ABORTIFHUNG, sendTimeoutMs,
                                        &result) != 0;
    const DWORD error = handled ? 0 : ::GetLastError();
    lastOutcome = acad::sendOutcomeOf(handled, error, window != nullptr && ::IsWindow(window));
    ::PostMessageA(window, WM_NULL, 0, 0);
    return lastOutcome;
}

bool acadCommandSend(const std::string& command, HWND window) {
    return acadCommandDeliver(command, window) == SendOutcome::Taken;
}

bool acadCancelSend(HWND window) { return acadCommandSend(acad::cancelString(), window); }

SendOutcome acadLastSendOutcome() { return lastOutcome; }

void acadCopyDataSenderSet(CopyDataSender sender) { copyDataSender = sender ? sender : ::SendMessageTimeoutA; }

LRESULT WINAPI acadElevationEmulatingSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                          UINT timeout, PDWORD_PTR result) {
    if (window != nullptr && ::GetPropA(window, kElevatedMark) != nullptr) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return ::SendMessageTimeoutA(window, message, wParam, lParam, flags, timeout, result);
}

bool acadElevationEmulationAsked() {
    char value[4] = {};
    const DWORD n = ::GetEnvironmentVariableA(kElevationEmulationVariable, value, sizeof value);
    return n == 1 && value[0] == '1';
}

unsigned acadSendTimeout() { return sendTimeoutMs; }

void acadSendTimeoutSet(unsigned milliseconds) { sendTimeoutMs = milliseconds; }
