// Shared steps of the maintenance and settings tests: the real canopia.exe in a fresh folder, its windows found
// by caption, its message boxes answered, and text put into another process's browse window.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "app/frmMainIds.h"
#include "resources/maintenance/MaintenanceResources.h"
#include "win/WinHandles.h"

namespace maintenance_test {

constexpr const char* kFormClass = "CanopiaForm";
constexpr const char* kGroupConfigCaption = "グループのメンテナンス";
constexpr const char* kGroupAddCaption = "グループの新規作成";
constexpr const char* kScriptConfigCaption = "スクリプトのメンテナンス";
constexpr const char* kScriptAddCaption = "スクリプトの新規作成";
constexpr const char* kConfigCaption = "動作環境設定";
constexpr const char* kBrowseCaption = "スクリプト保管先フォルダを選択してください";

inline std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

// The program with its window up; every test starts a fresh one.
class Program {
public:
    explicit Program(const driver::ProgramFiles& files = {}) : canopia_(files) {
        main_ = canopia_.startAndWaitMain();
    }
    driver::Canopia& canopia() { return canopia_; }
    DWORD pid() const { return canopia_.processId(); }
    HWND main() const { return main_; }

    // Opens a window through the main window's menu and waits for it.
    HWND open(int menuId, const char* caption) {
        driver::menuCommand(main_, menuId);
        return driver::waitTopLevel(pid(), kFormClass, caption);
    }
    HWND openGroupConfig() { return open(MainWindowIds::mGroupConfig, kGroupConfigCaption); }
    HWND openScriptConfig() { return open(MainWindowIds::mScriptConfig, kScriptConfigCaption); }
    HWND openConfig() { return open(MainWindowIds::mConfig, kConfigCaption); }

    // True once the window is hidden again (closed).
    bool waitClosed(HWND window) {
        return driver::waitFor([&] { return !driver::isVisible(window); });
    }
    // No message box within a short while.
    bool noMessageBox(int ms = 700) { return !driver::waitMessageBox(pid(), ms); }

    // The message box with this caption: its caption, text and owner; it is answered with `button` and gone.
    driver::MessageBoxInfo answerBox(const std::string& caption, int button = IDOK) {
        auto box = driver::waitMessageBoxWith(
            pid(), [&](const driver::MessageBoxInfo& b) { return b.caption == caption && !b.text.empty(); });
        if (!box) return {nullptr, "<no " + caption + " box>", "<no message>"};
        driver::answerMessageBox(box->hwnd, button);
        driver::waitFor([&] { return !driver::isVisible(box->hwnd); });
        return *box;
    }
    // The text of the plain message window of a refused name (captioned with the application title), answered.
    std::string plainMessageText() { return answerBox("カノピア").text; }

private:
    driver::Canopia canopia_;
    HWND main_ = nullptr;
};

// Text into a control of another process (WM_SETTEXT is carried between processes).
inline void setText(HWND control, const std::string& text) {
    ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A real mouse click into a control (its window brought to the front first), as a user puts the focus there;
// at its middle, or `dy` pixels below its top edge.
inline void clickInto(HWND control, int dy = -1) {
    HWND top = ::GetAncestor(control, GA_ROOT);
    ::SetForegroundWindow(top);
    driver::waitFor([&] { return ::GetForegroundWindow() == top; }, 2000);
    const RECT r = driver::windowRect(control);
    const int x = (r.left + r.right) / 2, y = dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy;
    INPUT in[3] = {};
    for (auto& i : in) i.type = INPUT_MOUSE;
    const int w = ::GetSystemMetrics(SM_CXSCREEN) - 1, h = ::GetSystemMetrics(SM_CYSCREEN) - 1;
    in[0].mi.dx = x * 65535 / w;
    in[0].mi.dy = y * 65535 / h;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(3, in, sizeof(INPUT));
    ::Sleep(200);
}

// Enter in a field of the program: the focus put there by a click, then the key.
inline void pressEnterIn(HWND field) {
    clickInto(field);
    driver::pressKey(::GetAncestor(field, GA_ROOT), VK_RETURN);
}

// Selects a list entry as a click does and waits until the window has taken the change.
inline void selectEntry(HWND list, int index, HWND follower) {
    driver::selectListEntry(list, index);
    driver::waitFor([&] {
        std::vector<std::string> items = driver::listItems(list);
        return index < static_cast<int>(items.size()) && driver::windowText(follower) == items[index];
    });
}

inline bool checked(HWND button) { return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A block of memory in the program's process, for messages whose pointers the window manager does not carry.
class RemoteMemory {
public:
    RemoteMemory(DWORD pid, std::size_t size)
        : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)), size_(size) {
        if (process_) address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* address() const { return address_; }
    bool write(const void* data, std::size_t n, std::size_t offset = 0) {
        return address_ && n + offset <= size_ &&
               ::WriteProcessMemory(process_.get(), static_cast<char*>(address_) + offset, data, n, nullptr);
    }
    bool read(void* data, std::size_t n, std::size_t offset = 0) const {
        return address_ && n + offset <= size_ &&
               ::ReadProcessMemory(process_.get(), static_cast<char*>(address_) + offset, data, n, nullptr);
    }

private:
    win::UniqueHandle process_;
    void* address_ = nullptr;
    std::size_t size_;
};

// Highlights a folder in the program's browse window, as a click in its tree does.
inline void browseHighlight(DWORD pid, HWND browse, const std::string& path) {
    RemoteMemory text(pid, path.size() + 1);
    text.write(path.c_str(), path.size() + 1);
    ::SendMessageA(browse, WM_USER + 102 /* BFFM_SETSELECTIONA */, TRUE, reinterpret_cast<LPARAM>(text.address()));
}

// A fresh folder outside every program folder, removed with its contents at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char tmp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, tmp);
        char longTmp[MAX_PATH] = {};
        const DWORD n = ::GetLongPathNameA(tmp, longTmp, MAX_PATH);
        std::string base = (n > 0 && n < MAX_PATH) ? longTmp : tmp;
        if (!base.empty() && base.back() == '\\') base.pop_back();
        path_ = base + "\\canopia-" + name + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount());
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { driver::removeTree(path_); }
    const std::string& path() const { return path_; }
    std::string sub(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

inline bool folderExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace maintenance_test
