// The folder chooser component: SHBrowseForFolderA driven through its callback.
#include "dialogs/SelectFolderDialog.h"

#include <exception>
#include <utility>

#include "win/WinHandles.h"

namespace {

constexpr char kSelfProp[] = "CanopiaSelectFolderDialog";

// COM for the shell's namespace while a browse runs; balanced only when this call initialised it.
// ole32 is reached through the module the shell has already loaded, so the program links shell32 alone.
class ComScope {
public:
    ComScope() noexcept {
        win::UniqueModule ole(::LoadLibraryA("ole32.dll"));
        if (!ole) return;
        using Init = HRESULT(WINAPI*)(void*, DWORD);
        auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(::GetProcAddress(ole.get(), "CoInitializeEx")));
        uninit_ = reinterpret_cast<Uninit>(reinterpret_cast<void*>(::GetProcAddress(ole.get(), "CoUninitialize")));
        if (init && uninit_ && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED)))
            ole_ = std::move(ole);  // keeps the module loaded until the balancing call
    }
    ~ComScope() {
        if (ole_) uninit_();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    using Uninit = void(WINAPI*)();
    win::UniqueModule ole_;
    Uninit uninit_ = nullptr;
};

}  // namespace

TSelectFolderDialog::TSelectFolderDialog() = default;
TSelectFolderDialog::~TSelectFolderDialog() = default;

std::string TSelectFolderDialog::pathOf(const ITEMIDLIST* pidl) {
    if (!pidl) return {};
    char path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(pidl, path)) return {};
    return path;
}

std::string TSelectFolderDialog::SelectedPath() const { return pathOf(held_.get()); }

bool TSelectFolderDialog::Execute() {
    ComScope com;
    win::UniquePidl root;
    if (RootSpecialFolder != CSIDL_DESKTOP) {
        ITEMIDLIST* p = nullptr;
        if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, RootSpecialFolder, &p))) root.reset(p);
    }

    HWND owner = owner_ ? owner_ : ::GetActiveWindow();
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = Title.empty() ? nullptr : Title.c_str();
    info.ulFlags = Options;
    info.lpfn = &TSelectFolderDialog::browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    error_ = nullptr;
    win::UniquePidl chosen;
    {
        // The browse runs its own loop: the program's windows are disabled for it, and the activation and the
        // focus are given back afterwards.
        const HWND active = ::GetActiveWindow(), focus = ::GetFocus();
        {
            win::ThreadWindowsDisabled disabled;
            chosen.reset(::SHBrowseForFolderA(&info));
        }
        if (active && ::IsWindow(active)) ::SetActiveWindow(active);
        if (focus && ::IsWindow(focus)) ::SetFocus(focus);
    }
    browse_ = nullptr;
    const bool confirmed = chosen != nullptr;
    if (confirmed) held_ = std::move(chosen);
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    if (OnClose) OnClose();
    return confirmed;
}

int CALLBACK TSelectFolderDialog::browseCallback(HWND hwnd, UINT msg, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<TSelectFolderDialog*>(data);
    // An error in an event handler must not unwind through the shell: it ends the browse as a cancel and
    // is raised again from Execute, in the caller's handler.
    try {
        return self->browseEvent(hwnd, msg, lParam);
    } catch (...) {
        if (!self->error_) self->error_ = std::current_exception();
        ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
}

int TSelectFolderDialog::browseEvent(HWND hwnd, UINT msg, LPARAM lParam) {
    switch (msg) {
        case BFFM_INITIALIZED: {
            browse_ = hwnd;
            if (!Caption.empty()) ::SetWindowTextA(hwnd, Caption.c_str());
            if (!OKButtonCaption.empty()) ::SetDlgItemTextA(hwnd, IDOK, OKButtonCaption.c_str());
            if (!StatusText.empty()) ::SendMessageA(hwnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(StatusText.c_str()));
            if (held_) {
                // By path where there is one: the shell finds a folder by its path more reliably than by an
                // item list kept from an earlier browse. Sent now and once more after the window has settled:
                // Wine's tree may take its first item when it gets the focus and so replace the selection.
                preselectPath_ = SelectedPath();
                if (!preselectPath_.empty()) {
                    const auto path = reinterpret_cast<LPARAM>(preselectPath_.c_str());
                    ::SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, path);
                    ::PostMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, path);
                } else {
                    ::SendMessageA(hwnd, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(held_.get()));
                }
            } else if (SelectSpecialFolder != kNoSpecialFolder) {
                ITEMIDLIST* p = nullptr;
                if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, SelectSpecialFolder, &p))) {
                    win::UniquePidl special(p);
                    ::SendMessageA(hwnd, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(special.get()));
                }
            }
            if (OnCanClose) {
                ::SetPropA(hwnd, kSelfProp, this);
                browseProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
                    hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSelectFolderDialog::browseSubclassProc)));
            }
            if (OnShow) OnShow();
            return 0;
        }
        case BFFM_SELCHANGED: {
            // Every highlight replaces the held folder, also in a browse that is then cancelled.
            const auto* pidl = reinterpret_cast<const ITEMIDLIST*>(lParam);
            held_.reset(pidl ? static_cast<ITEMIDLIST*>(::ILClone(pidl)) : nullptr);
            if (OnFolderChange) OnFolderChange(SelectedPath());
            return 0;
        }
        case BFFM_VALIDATEFAILEDA: {
            bool canClose = false;
            if (OnValidateFailed) OnValidateFailed(reinterpret_cast<const char*>(lParam), canClose);
            return canClose ? 0 : 1;  // non-zero keeps the browse window open
        }
        default:
            return 0;
    }
}

LRESULT CALLBACK TSelectFolderDialog::browseSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<TSelectFolderDialog*>(::GetPropA(hwnd, kSelfProp));
    const WNDPROC own = self->browseProc_;
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK && self->OnCanClose) {
        bool canClose = true;
        try {
            self->OnCanClose(self->SelectedPath(), canClose);
        } catch (...) {
            if (!self->error_) self->error_ = std::current_exception();
            return ::CallWindowProcA(own, hwnd, WM_COMMAND, IDCANCEL, 0);
        }
        if (!canClose) return 0;
    } else if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        ::RemovePropA(hwnd, kSelfProp);
        self->browseProc_ = nullptr;
    }
    return ::CallWindowProcA(own, hwnd, msg, wp, lp);
}
