// Reading SDI, FILEDIA and OSNAPCOORD from AutoCAD's command-line window, and putting FILEDIA and
// OSNAPCOORD back.
#include "acad/VariableProbes.h"

#include <vector>

#include "acad/AcadRules.h"
#include "acad/CommandChannel.h"

namespace {

std::string sdiValue;
std::string osnapcoordValue;
std::string filediaValue;

// A command line longer than this is read cut short rather than allocated whole.
constexpr LRESULT kTextReadLimit = 16 * 1024 * 1024;

struct CommandLineWindows {
    HWND headlands = nullptr;
    HWND mountTam = nullptr;
};

BOOL CALLBACK commandLineVisit(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<CommandLineWindows*>(param);
    // The window manager's name identifies the window; its content is read with WM_GETTEXT.
    char title[256] = {};
    ::GetWindowTextA(window, title, acad::kWindowTextCount);
    if (acad::beginsWith(title, "Headlands")) found->headlands = window;
    if (acad::beginsWith(title, "MountTam")) found->mountTam = window;
    return TRUE;
}

bool sendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    return ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, acadSendTimeout(),
                                 &result) != 0;
}

// cancel, query, read, cancel; the value is "0" unless the reply was read and shows a marker.
bool probe(const std::string& query, std::string (*fromReply)(std::string_view), std::string& value) {
    value = "0";
    const HWND window = acadWindowFind();
    if (!acadCancelSend(window)) return false;
    if (!acadCommandSend(query, window)) return false;
    value = fromReply(acadCommandLineRead(1, window));
    return acadCancelSend(window);
}

bool restore(const std::string& text) {
    const HWND window = acadWindowFind();
    if (!acadCancelSend(window)) return false;
    return acadCommandSend(text, window);
}

}  // namespace

std::string acadWindowTextGet(HWND window) {
    DWORD_PTR length = 0;
    if (!sendBounded(window, WM_GETTEXTLENGTH, 0, 0, length)) return {};
    const LRESULT n = static_cast<LRESULT>(length);
    if (n <= 0) return {};
    const LRESULT size = (n < kTextReadLimit ? n : kTextReadLimit) + 1;
    std::vector<char> buffer(static_cast<size_t>(size), '\0');
    DWORD_PTR copied = 0;
    if (!sendBounded(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer.data()),
                     copied)) {
        return {};
    }
    buffer.back() = '\0';  // whatever the window wrote, the text ends inside the buffer
    return std::string(buffer.data());
}

std::string acadCommandLineRead(int which, HWND window) {
    // With no AutoCAD there is nothing to read; EnumChildWindows would walk the whole desktop instead.
    if (window == nullptr) return {};
    CommandLineWindows found;
    ::EnumChildWindows(window, commandLineVisit, reinterpret_cast<LPARAM>(&found));
    std::string headlandsText;
    std::string mountTamText;
    if (found.headlands != nullptr && found.mountTam != nullptr) {
        headlandsText = acadWindowTextGet(found.headlands);
        mountTamText = acadWindowTextGet(found.mountTam);
    }
    return which == 1 ? headlandsText : mountTamText;
}

bool acadSdiCheck() { return probe(acad::sdiQuery(), acad::sdiFromReply, sdiValue); }

bool acadOsnapcoordCheck() { return probe(acad::osnapcoordQuery(), acad::osnapcoordFromReply, osnapcoordValue); }

bool acadFilediaCheck() { return probe(acad::filediaQuery(), acad::filediaFromReply, filediaValue); }

bool acadOsnapcoordRestore() { return restore(acad::osnapcoordSetText(osnapcoordValue)); }

bool acadFilediaRestore() { return restore(acad::filediaSetText(filediaValue)); }

const std::string& acadSdiValue() { return sdiValue; }

const std::string& acadOsnapcoordValue() { return osnapcoordValue; }

const std::string& acadFilediaValue() { return filediaValue; }
