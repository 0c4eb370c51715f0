// The folder chooser under Wine: the browse window is driven from a second thread as a user would (highlight
// a folder, press the confirm button or cancel) while Execute runs its modal loop on the test thread.
#include "dialogs/SelectFolderDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "win/ShellHandles.h"

namespace {

const std::string kCaption = "\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xF0\x91\x49\x91\xF0";  // フォルダを選択
const std::string kOkCaption = "\x91\x49\x91\xF0";  // 選択

std::string lower(std::string s) {
    ::CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::string longPath(const std::string& p) {
    char buf[MAX_PATH] = {};
    DWORD n = ::GetLongPathNameA(p.c_str(), buf, MAX_PATH);
    std::string r = (n > 0 && n < MAX_PATH) ? std::string(buf, n) : p;
    while (r.size() > 3 && r.back() == '\\') r.pop_back();
    return r;
}

bool samePath(const std::string& a, const std::string& b) { return lower(longPath(a)) == lower(longPath(b)); }

// A fresh folder under the temporary folder, removed at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& name) {
        char tmp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, tmp);
        path_ = longPath(std::string(tmp)) + "\\canopia-folder-" + name + "-" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { ::RemoveDirectoryA(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A visible top-level window of the test's own, standing for the program's windows.
class PlainWindow {
public:
    PlainWindow() {
        hwnd_ = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    ~PlainWindow() { ::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

std::string windowText(HWND w) {
    char buf[512] = {};
    ::GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

// The text of the highlighted item of the browse window's folder tree.
std::string highlightedItem(HWND browse) {
    HWND tree = ::FindWindowExA(browse, nullptr, WC_TREEVIEWA, nullptr);
    if (!tree) return "<no tree>";
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return "<no highlight>";
    char buf[MAX_PATH] = {};
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = MAX_PATH;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return buf;
}

// Runs `user` on a second thread once the browse window (titled `caption`) is up, while Execute runs here.
bool executeWith(TSelectFolderDialog& dialog, const std::string& caption, const std::function<void(HWND)>& user,
                 bool* found = nullptr) {
    std::atomic<bool> done{false};
    std::atomic<bool> seen{false};
    std::thread driver([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done && std::chrono::steady_clock::now() < until) {
            HWND browse = ::FindWindowA("#32770", caption.c_str());
            if (browse && ::IsWindowVisible(browse)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));  // let the tree fill
                seen = true;
                user(browse);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    struct Join {  // also when Execute throws
        std::thread& t;
        std::atomic<bool>& done;
        ~Join() {
            done = true;
            t.join();
        }
    } join{driver, done};
    const bool result = dialog.Execute();
    if (found) *found = seen;
    return result;
}

// Highlights a folder as a click in the tree does, until the tree shows it.
void highlight(HWND browse, const std::string& path) {
    const std::string leaf = lower(path.substr(path.rfind('\\') + 1));
    for (int i = 0; i < 50; ++i) {
        ::SendMessageA(browse, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        if (lower(highlightedItem(browse)) == leaf) return;
        ::Sleep(100);
    }
}

void press(HWND browse, int id) { ::PostMessageA(browse, WM_COMMAND, id, 0); }

TEST(SelectFolderDialog, DefaultsAreTheDesktopRootAndFileSystemFoldersOnly) {
    TSelectFolderDialog d;
    EXPECT_EQ(d.SelectSpecialFolder, TSelectFolderDialog::kNoSpecialFolder);
    EXPECT_EQ(d.RootSpecialFolder, CSIDL_DESKTOP);
    EXPECT_EQ(d.Options, static_cast<UINT>(BIF_RETURNONLYFSDIRS));
    EXPECT_TRUE(d.Title.empty());
    EXPECT_TRUE(d.StatusText.empty());
    EXPECT_TRUE(d.SelectedPath().empty());  // nothing held before the first use
}

TEST(SelectFolderDialog, ShowsBothCaptionsAndYieldsTheConfirmedFolder) {
    TempFolder folder("confirm");
    PlainWindow owner;
    TSelectFolderDialog d;
    d.Caption = kCaption;
    d.OKButtonCaption = kOkCaption;
    d.setOwner(owner.hwnd());
    std::string okText;
    bool found = false;
    const bool ok = executeWith(
        d, kCaption,
        [&](HWND browse) {
            okText = windowText(::GetDlgItem(browse, IDOK));
            highlight(browse, folder.path());
            press(browse, IDOK);
        },
        &found);
    ASSERT_TRUE(found) << "browse window titled with Caption not seen";
    EXPECT_EQ(okText, kOkCaption);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(samePath(d.SelectedPath(), folder.path())) << d.SelectedPath();
}

TEST(SelectFolderDialog, NextBrowseStartsAtTheHeldFolder) {
    TempFolder folder("held");
    TSelectFolderDialog d;
    d.Caption = kCaption;
    executeWith(d, kCaption, [&](HWND browse) {
        highlight(browse, folder.path());
        press(browse, IDOK);
    });
    std::string shown;
    const bool ok = executeWith(d, kCaption, [&](HWND browse) {
        const std::string leaf = lower(folder.path().substr(folder.path().rfind('\\') + 1));
        for (int i = 0; i < 100 && lower(shown = highlightedItem(browse)) != leaf; ++i) ::Sleep(50);
        press(browse, IDCANCEL);
    });
    EXPECT_FALSE(ok);
    const std::string leaf = folder.path().substr(folder.path().rfind('\\') + 1);
    EXPECT_EQ(lower(shown), lower(leaf));
    EXPECT_TRUE(samePath(d.SelectedPath(), folder.path()));  // a cancel keeps it
}

TEST(SelectFolderDialog, ACancelledBrowseStillHoldsTheLastHighlight) {
    TempFolder first("first");
    TempFolder second("second");
    TSelectFolderDialog d;
    d.Caption = kCaption;
    executeWith(d, kCaption, [&](HWND browse) {
        highlight(browse, first.path());
        press(browse, IDOK);
    });
    const bool ok = executeWith(d, kCaption, [&](HWND browse) {
        highlight(browse, second.path());
        press(browse, IDCANCEL);
    });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(samePath(d.SelectedPath(), second.path())) << d.SelectedPath();
}

TEST(SelectFolderDialog, AVirtualItemHasNoPath) {
    TSelectFolderDialog d;
    d.Caption = kCaption;
    executeWith(d, kCaption, [&](HWND browse) {
        ITEMIDLIST* found = nullptr;
        ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &found);  // "My Computer": no file-system path
        const win::UniquePidl drives(found);
        ::SendMessageA(browse, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(drives.get()));
        press(browse, IDCANCEL);
    });
    EXPECT_EQ(d.SelectedPath(), "");
}

TEST(SelectFolderDialog, OtherWindowsAreDisabledWhileBrowsingAndEnabledAfter) {
    PlainWindow owner;
    PlainWindow other;
    ::SetActiveWindow(owner.hwnd());
    TSelectFolderDialog d;
    d.Caption = kCaption;
    d.setOwner(owner.hwnd());
    bool ownerEnabled = true;
    bool otherEnabled = true;
    executeWith(d, kCaption, [&](HWND browse) {
        ownerEnabled = ::IsWindowEnabled(owner.hwnd());
        otherEnabled = ::IsWindowEnabled(other.hwnd());
        press(browse, IDCANCEL);
    });
    EXPECT_FALSE(ownerEnabled);
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(other.hwnd()));
    EXPECT_EQ(::GetActiveWindow(), owner.hwnd());
}

TEST(SelectFolderDialog, CanCloseCanRefuseTheConfirmButton) {
    TempFolder folder("refuse");
    TSelectFolderDialog d;
    d.Caption = kCaption;
    int asked = 0;
    d.OnCanClose = [&](const std::string&, bool& canClose) { canClose = ++asked > 1; };
    const bool ok = executeWith(d, kCaption, [&](HWND browse) {
        highlight(browse, folder.path());
        ::SendMessageA(browse, WM_COMMAND, IDOK, 0);  // refused: the window stays
        const bool stillThere = ::IsWindow(browse) && ::IsWindowVisible(browse);
        if (stillThere) ::SendMessageA(browse, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(ok);
}

TEST(SelectFolderDialog, AnErrorInAnEventEndsTheBrowseAndReachesTheCaller) {
    TSelectFolderDialog d;
    d.Caption = kCaption;
    d.OnShow = [] { throw std::runtime_error("event failed"); };
    EXPECT_THROW(executeWith(d, kCaption, [](HWND) {}), std::runtime_error);
}

}  // namespace
