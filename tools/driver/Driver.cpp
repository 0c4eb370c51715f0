// GUI driver for end-to-end tests.
#include "Driver.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

namespace driver {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (static_cast<int>(::GetTickCount() - start) >= timeoutMs) return condition();
        ::Sleep(20);
    }
}

namespace {

struct EnumState {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<EnumState*>(p);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid == s->pid && (!s->visibleOnly || ::IsWindowVisible(h))) s->found.push_back(h);
    return TRUE;
}

struct ChildSearch {
    const char* cls;
    int index;
    HWND found = nullptr;
};

BOOL CALLBACK findChildByClass(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<ChildSearch*>(p);
    if (className(h) == s->cls && s->index-- == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId, bool visibleOnly) {
    EnumState s{processId, visibleOnly, {}};
    ::EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND findTopLevel(DWORD processId, const char* cls, const char* title) {
    for (HWND h : topLevelWindows(processId))
        if ((!cls || className(h) == cls) && (!title || windowText(h) == title)) return h;
    return nullptr;
}

HWND waitTopLevel(DWORD processId, const char* cls, const char* title, int timeoutMs) {
    HWND found = nullptr;
    waitFor([&] { return (found = findTopLevel(processId, cls, title)) != nullptr; }, timeoutMs);
    return found;
}

HWND controlById(HWND parent, int id) { return ::GetDlgItem(parent, id); }

HWND controlByClass(HWND parent, const char* cls, int index) {
    ChildSearch s{cls, index};
    ::EnumChildWindows(parent, findChildByClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::string className(HWND hwnd) {
    char buf[256] = {};
    ::GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

std::string windowText(HWND hwnd) {
    DWORD_PTR len = 0;
    if (!::SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len)) return {};
    std::string s(len + 1, '\0');
    DWORD_PTR got = 0;
    if (!::SendMessageTimeoutA(hwnd, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(s.data()), SMTO_ABORTIFHUNG, 5000,
                               &got))
        return {};
    s.resize(got);
    return s;
}

std::string statusText(HWND window) {
    HWND bar = controlByClass(window, STATUSCLASSNAMEA);
    return bar ? windowText(bar) : std::string();
}

namespace {

// Memory in another process, released with it.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : process_(process),
          address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    void* get() const { return address_; }

private:
    HANDLE process_;
    void* address_;
};

}  // namespace

std::vector<std::string> statusParts(HWND window) {
    HWND bar = controlByClass(window, STATUSCLASSNAMEA);
    if (!bar) return {};
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutA(bar, SB_GETPARTS, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return {};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(bar, &pid);
    win::UniqueHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process) return {};
    std::vector<std::string> parts;
    for (WPARAM i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!::SendMessageTimeoutA(bar, SB_GETTEXTLENGTHA, i, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
        // The length may count characters rather than bytes: room for two bytes each, the text ends at its NUL.
        const std::size_t size = 2 * static_cast<std::size_t>(LOWORD(length)) + 2;
        RemoteBuffer remote(process.get(), size);
        std::string text(size, '\0');
        DWORD_PTR got = 0;
        SIZE_T read = 0;
        if (!remote.get() ||
            !::SendMessageTimeoutA(bar, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(remote.get()), SMTO_ABORTIFHUNG, 5000,
                                   &got) ||
            !::ReadProcessMemory(process.get(), remote.get(), text.data(), size, &read)) {
            return {};
        }
        text.resize(std::min<std::size_t>(text.find('\0'), read));
        parts.push_back(std::move(text));
    }
    return parts;
}

bool isEnabled(HWND hwnd) { return hwnd && ::IsWindowEnabled(hwnd); }
bool isVisible(HWND hwnd) { return hwnd && ::IsWindowVisible(hwnd); }

RECT windowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

bool isTopmost(HWND hwnd) { return (::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::vector<std::string> listItems(HWND list) {
    // The wide messages: the window manager carries them between processes unchanged; the texts are then
    // turned into the program's ANSI code page (Shift-JIS).
    const bool combo = className(list) == "ComboBox";
    const UINT countMsg = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT lenMsg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMsg = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<std::string> items;
    const LRESULT n = ::SendMessageW(list, countMsg, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT len = ::SendMessageW(list, lenMsg, i, 0);
        std::wstring w(static_cast<std::size_t>(len < 0 ? 0 : len) + 1, L'\0');
        const LRESULT got = ::SendMessageW(list, textMsg, i, reinterpret_cast<LPARAM>(w.data()));
        w.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
        const int bytes = ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<std::size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), bytes, nullptr, nullptr);
        items.push_back(s);
    }
    return items;
}

int listSelection(HWND list) {
    const bool combo = className(list) == "ComboBox";
    return static_cast<int>(::SendMessageA(list, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

bool selectListEntry(HWND list, int index) {
    const bool combo = className(list) == "ComboBox";
    const LRESULT r = ::SendMessageA(list, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    if (r == (combo ? CB_ERR : LB_ERR) && index >= 0) return false;
    const int id = ::GetDlgCtrlID(list);
    ::PostMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    return true;
}

void doubleClickList(HWND list) {
    ::PostMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list));
}

void clickButton(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }

void menuCommand(HWND window, int id) { ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void closeWindow(HWND window) { ::PostMessageA(window, WM_CLOSE, 0, 0); }

void pressKey(HWND window, WORD vk, std::initializer_list<WORD> modifiers) {
    ::SetForegroundWindow(window);
    waitFor([&] { return ::GetForegroundWindow() == window; }, 2000);
    std::vector<INPUT> in;
    auto key = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    for (WORD m : modifiers) key(m, false);
    key(vk, false);
    key(vk, true);
    for (auto it = modifiers.end(); it != modifiers.begin();) key(*--it, true);
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

namespace {

MessageBoxInfo messageBoxInfo(HWND box) {
    MessageBoxInfo info;
    info.hwnd = box;
    info.caption = windowText(box);
    // The message text is the static control 0xFFFF of the box.
    if (HWND text = ::GetDlgItem(box, 0xFFFF)) info.text = windowText(text);
    info.topmost = isTopmost(box);
    info.owner = ::GetWindow(box, GW_OWNER);
    return info;
}

}  // namespace

std::optional<MessageBoxInfo> waitMessageBox(DWORD processId, int timeoutMs) {
    HWND box = waitTopLevel(processId, "#32770", nullptr, timeoutMs);
    if (!box) return std::nullopt;
    return messageBoxInfo(box);
}

std::optional<MessageBoxInfo> waitMessageBoxWith(DWORD processId,
                                                 const std::function<bool(const MessageBoxInfo&)>& wanted,
                                                 int timeoutMs) {
    std::optional<MessageBoxInfo> found;
    waitFor(
        [&] {
            for (HWND h : topLevelWindows(processId)) {
                if (className(h) != "#32770") continue;
                MessageBoxInfo info = messageBoxInfo(h);
                if (!wanted(info)) continue;
                found = std::move(info);
                return true;
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool answerMessageBox(HWND box, int buttonId) {
    HWND button = ::GetDlgItem(box, buttonId);
    if (!button) return false;
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return waitFor([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 5000);
}

HWND fileDialogNameField(HWND dialog) {
    if (HWND edit = controlById(dialog, 0x480)) return edit;  // edt1
    HWND combo = controlById(dialog, 0x47C);                  // cmb13, an editable combo box
    return combo ? controlByClass(combo, "Edit") : nullptr;
}

bool fileDialogChoose(HWND dialog, const std::string& path) {
    HWND field = fileDialogNameField(dialog);
    if (!field) return false;
    ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    clickButton(controlById(dialog, IDOK));
    return true;
}

bool writeWholeFile(const std::string& path, const std::string& contents) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return static_cast<bool>(f);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool removeTree(const std::string& folder) {
    win::FileSearch search((folder + "\\*").c_str());
    if (search.valid()) {
        do {
            const WIN32_FIND_DATAA& fd = search.entry();
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = folder + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(full);
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (search.next());
    }
    return ::RemoveDirectoryA(folder.c_str()) != 0;
}

namespace {

std::string freshFolder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (;;) {
        std::string folder = base + "\\canopia-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(counter++) + "-" + std::to_string(::GetTickCount());
        if (::CreateDirectoryA(folder.c_str(), nullptr)) return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return folder;
    }
}

}  // namespace

Canopia::Canopia(const ProgramFiles& files, const std::string& exePath) : folder_(freshFolder()) {
    exe_ = path("canopia.exe");
    ::CopyFileA(exePath.c_str(), exe_.c_str(), FALSE);
    for (const auto& f : files.folders) ::CreateDirectoryA(path(f).c_str(), nullptr);
    for (const auto& [name, contents] : files.files) writeFile(name, contents);
    if (files.ini) writeFile("canopia.ini", *files.ini);
}

Canopia::~Canopia() {
    if (running()) {
        if (HWND main = mainWindow()) closeWindow(main);
        // Answer anything the closing asks, then end it the hard way if it still runs.
        if (!waitExit(3000)) kill();
    }
    process_.reset();
    waitFor([&] { return removeTree(folder_); }, 3000);
}

bool Canopia::start() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe_ + "\"";
    if (!::CreateProcessA(exe_.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &pi))
        return false;
    win::UniqueHandle thread(pi.hThread);  // not needed
    process_.reset(pi.hProcess);
    processId_ = pi.dwProcessId;
    return true;
}

HWND Canopia::startAndWaitMain(int timeoutMs) {
    if (!start()) return nullptr;
    HWND main = nullptr;
    waitFor([&] { return (main = mainWindow()) != nullptr; }, timeoutMs);
    return main;
}

HWND Canopia::mainWindow() const {
    if (!processId_) return nullptr;
    // The main window is the program's visible form with a menu bar.
    for (HWND h : topLevelWindows(processId_))
        if (className(h) == "CanopiaForm" && ::GetMenu(h)) return h;
    return nullptr;
}

bool Canopia::running() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Canopia::waitExit(int timeoutMs) {
    if (!process_) return std::nullopt;
    if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::optional<DWORD> Canopia::close(int timeoutMs) {
    if (HWND main = mainWindow()) closeWindow(main);
    return waitExit(timeoutMs);
}

void Canopia::kill() {
    if (running()) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<std::string> Canopia::readFile(const std::string& relative) const { return readWholeFile(path(relative)); }

void Canopia::writeFile(const std::string& relative, const std::string& contents) const {
    writeWholeFile(path(relative), contents);
}

}  // namespace driver
