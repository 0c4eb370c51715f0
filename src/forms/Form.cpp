// The form framework: window class, control tables, layout, keyboard handling and modal showing.
#include "forms/Form.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/Application.h"
#include "forms/Fonts.h"
#include "win/ErrorFence.h"
#include "win/WinHandles.h"

namespace {

constexpr const char* kFormClass = "CanopiaForm";
constexpr int kComboDropHeight = 200;  // design pixels of a combo box's dropped list
constexpr int kAppIconId = 100;        // the window icon in the resources

void registerFormClass(HINSTANCE instance, WNDPROC proc) {
    static bool done = false;
    if (done) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(kAppIconId));
    wc.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(kAppIconId), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    ::RegisterClassExA(&wc);
    done = true;
}

bool isRadio(const ControlLayout& s) { return s.kind == ControlKind::RadioButton; }

}  // namespace

Form::Form(const FormLayout& layout, const ControlLayout* controls, std::size_t count)
    : layout_(layout), controlLayouts_(controls, controls + count) {}

Form::~Form() {
    if (hwnd_ && ::IsWindow(hwnd_)) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Form::create() {
    if (hwnd_) return;
    auto& app = forms::Application::instance();
    registerFormClass(app.hinstance(), staticProc);
    designClient_ = {forms::scaled(layout_.clientWidth), forms::scaled(layout_.clientHeight)};
    RECT r{0, 0, designClient_.cx, designClient_.cy};
    ::AdjustWindowRectEx(&r, layout_.style, FALSE, layout_.exStyle);
    HWND owner = app.mainForm() && app.mainForm()->handle() ? app.mainForm()->handle() : app.handle();
    // The default position is for overlapped windows only; pop-ups start at 0, 0 until placed.
    const int xy = (layout_.style & WS_POPUP) ? 0 : CW_USEDEFAULT;
    hwnd_ = ::CreateWindowExA(layout_.exStyle, kFormClass, layout_.caption ? layout_.caption : "",
                              layout_.style & ~WS_VISIBLE, xy, xy, r.right - r.left, r.bottom - r.top, owner, nullptr,
                              app.hinstance(), this);
    if (!hwnd_) return;
    app.formCreated(this);
    for (const auto& s : controlLayouts_) createControl(s);
    applyTabOrder();
    applyAnchors();
    win::fenced([this] { FormCreate(); });
}

void Form::createControl(const ControlLayout& s) {
    const char* cls = "STATIC";
    DWORD style = WS_CHILD | s.style;
    DWORD ex = s.exStyle;
    int height = s.height;
    switch (s.kind) {
        case ControlKind::Label: style |= SS_LEFT; break;
        case ControlKind::Bevel: style |= SS_ETCHEDHORZ; height = 2; break;
        case ControlKind::Button: cls = "BUTTON"; style |= BS_PUSHBUTTON; break;
        case ControlKind::DefaultButton: cls = "BUTTON"; style |= BS_DEFPUSHBUTTON; break;
        case ControlKind::CheckBox: cls = "BUTTON"; style |= BS_AUTOCHECKBOX; break;
        case ControlKind::RadioButton: cls = "BUTTON"; style |= BS_RADIOBUTTON; break;
        case ControlKind::GroupBox: cls = "BUTTON"; style |= BS_GROUPBOX; break;
        case ControlKind::Edit:
            cls = "EDIT";
            style |= ES_AUTOHSCROLL;
            ex |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::ListBox:
            cls = "LISTBOX";
            style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
            ex |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::ComboList:
            cls = "COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL;
            break;
        case ControlKind::StatusBar: cls = STATUSCLASSNAMEA; break;
        case ControlKind::Custom: cls = s.className ? s.className : "STATIC"; break;
    }
    if (s.kind == ControlKind::StatusBar && (layout_.style & WS_THICKFRAME)) style |= SBARS_SIZEGRIP;
    if (s.tabOrder >= 0) style |= WS_TABSTOP;
    if (isRadio(s)) {
        const bool first = std::none_of(controls_.begin(), controls_.end(),
                                        [](const ControlState& c) { return isRadio(*c.layout); });
        if (first || has(s.flags, ControlFlag::GroupStart)) style |= WS_GROUP;
    } else if (s.tabOrder >= 0) {
        style |= WS_GROUP;  // ends a group of radio buttons before it in the tab order
    }
    if (has(s.flags, ControlFlag::Disabled)) style |= WS_DISABLED;
    if (!has(s.flags, ControlFlag::Hidden)) style |= WS_VISIBLE;

    RECT design{forms::scaled(s.left), forms::scaled(s.top), forms::scaled(s.left + s.width),
                forms::scaled(s.top + height)};
    const int createHeight =
        s.kind == ControlKind::ComboList ? forms::scaled(kComboDropHeight) : design.bottom - design.top;
    HWND h = ::CreateWindowExA(ex, cls, s.caption ? s.caption : "", style, design.left, design.top,
                               design.right - design.left, createHeight, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                               forms::Application::instance().hinstance(), nullptr);
    if (!h) return;
    HFONT font = forms::formFont(s.fontPixels ? s.fontPixels : layout_.fontPixels);
    ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (s.kind == ControlKind::Label && s.caption && *s.caption && !has(s.anchors, Anchor::Right)) {
        // Labels size themselves to their text, so a font wider than the design's never clips a caption.
        win::WindowDC dc(h);
        win::SelectGuard select(dc.get(), font);
        RECT ext{0, 0, 0, 0};
        ::DrawTextA(dc.get(), s.caption, -1, &ext, DT_CALCRECT | DT_SINGLELINE);
        if (ext.right > design.right - design.left) {
            design.right = design.left + ext.right;
            ::SetWindowPos(h, nullptr, 0, 0, ext.right, design.bottom - design.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (s.kind == ControlKind::ListBox && s.itemHeight > 0)
        ::SendMessageA(h, LB_SETITEMHEIGHT, 0, forms::scaled(s.itemHeight));
    if (s.kind == ControlKind::ComboList) {
        // The closed box is as high as the layout says: its selection field is that height less the frame.
        const int frame = ::GetSystemMetrics(SM_CYEDGE) * 2 + 2;
        const int field = design.bottom - design.top - frame;
        if (field > 0) ::SendMessageA(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        if (s.itemHeight > 0) ::SendMessageA(h, CB_SETITEMHEIGHT, 0, forms::scaled(s.itemHeight));
    }
    if (s.kind == ControlKind::StatusBar) {
        int parts[1] = {-1};
        ::SendMessageA(h, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
        ::SendMessageA(h, SB_SETMINHEIGHT, forms::scaled(s.height) - 2 * ::GetSystemMetrics(SM_CYBORDER), 0);
        ::SendMessageA(h, WM_SIZE, 0, 0);
    }
    controls_.push_back({&s, h, design});
}

void Form::applyTabOrder() {
    std::vector<const ControlState*> order;
    for (const auto& c : controls_)
        if (c.layout->tabOrder >= 0) order.push_back(&c);
    std::stable_sort(order.begin(), order.end(), [](const ControlState* a, const ControlState* b) {
        return a->layout->tabOrder < b->layout->tabOrder;
    });
    HWND after = HWND_TOP;
    for (const auto* c : order) {
        ::SetWindowPos(c->hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = c->hwnd;
    }
}

void Form::centerOnScreen() {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ::SetWindowPos(hwnd_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                   0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::applyAnchors() {
    if (!hwnd_) return;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int dx = client.right - designClient_.cx;
    const int dy = client.bottom - designClient_.cy;
    HDWP dwp = ::BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const auto& c : controls_) {
        if (c.layout->kind == ControlKind::StatusBar) {
            ::SendMessageA(c.hwnd, WM_SIZE, 0, 0);
            continue;
        }
        const Anchor a = c.layout->anchors;
        RECT r = c.design;
        auto follow = [](LONG& lo, LONG& hi, bool low, bool high, int delta) {
            if (low && high) {
                hi += delta;
            } else if (high) {
                lo += delta;
                hi += delta;
            } else if (!low) {
                lo += delta / 2;
                hi += delta / 2;
            }
        };
        follow(r.left, r.right, has(a, Anchor::Left), has(a, Anchor::Right), dx);
        follow(r.top, r.bottom, has(a, Anchor::Top), has(a, Anchor::Bottom), dy);
        int h = r.bottom - r.top;
        if (c.layout->kind == ControlKind::ComboList) h = forms::scaled(kComboDropHeight);
        if (dwp)
            dwp = ::DeferWindowPos(dwp, c.hwnd, nullptr, r.left, r.top, r.right - r.left, h,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (dwp) ::EndDeferWindowPos(dwp);
}

const Form::ControlState* Form::find(int id) const {
    for (const auto& c : controls_)
        if (c.layout->id == id) return &c;
    return nullptr;
}

const Form::ControlState* Form::findByHandle(HWND hwnd) const {
    for (const auto& c : controls_)
        if (c.hwnd == hwnd) return &c;
    return nullptr;
}

HWND Form::control(int id) const {
    const ControlState* c = find(id);
    return c ? c->hwnd : nullptr;
}

LRESULT CALLBACK Form::staticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (self) {
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        }
    } else {
        self = reinterpret_cast<Form*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    LRESULT result = 0;
    if (win::fenced([&] { result = self->dispatch(msg, wp, lp); })) return result;
    // The failing handler has ended; never let the default processing destroy the window.
    return msg == WM_CLOSE ? 0 : ::DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT Form::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    auto& app = forms::Application::instance();
    switch (msg) {
        case WM_GETMINMAXINFO: {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
            const SIZE mn = minSize(), mx = maxSize();
            if (mn.cx) mmi->ptMinTrackSize.x = mn.cx;
            if (mn.cy) mmi->ptMinTrackSize.y = mn.cy;
            if (mx.cx) mmi->ptMaxTrackSize.x = mx.cx;
            if (mx.cy) mmi->ptMaxTrackSize.y = mx.cy;
            return 0;
        }
        case WM_SIZE:
            if (wp != SIZE_MINIMIZED) {
                applyAnchors();
                FormResize();
            }
            return 0;
        case WM_COMMAND:
            command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_CLOSE:
            close();
            return 0;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == SC_MINIMIZE && app.mainForm() == this) {
                app.minimize();
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND f = ::GetFocus();
                if (f && ::IsChild(hwnd_, f)) lastFocus_ = f;
            } else if (!HIWORD(wp)) {
                app.formActivated(hwnd_);
                HWND target = lastFocus_ && ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_)
                                  ? lastFocus_
                                  : ::GetNextDlgTabItem(hwnd_, nullptr, FALSE);
                if (target) ::SetFocus(target);
                return 0;
            }
            break;
        case DM_GETDEFID:
            for (const auto& c : controls_)
                if (c.layout->kind == ControlKind::DefaultButton) return MAKELRESULT(c.layout->id, DC_HASDEFID);
            return 0;
        default: break;
    }
    return handle(msg, wp, lp);
}

LRESULT Form::handle(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(hwnd_, msg, wp, lp); }

void Form::command(int id, int code, HWND ctl) {
    if (ctl) {
        const ControlState* c = findByHandle(ctl);
        if (!c) {
            runHandler(id, Event::Click);  // IDOK/IDCANCEL from the dialog navigation
            return;
        }
        switch (c->layout->kind) {
            case ControlKind::Button:
            case ControlKind::DefaultButton:
            case ControlKind::CheckBox:
                if (code == BN_CLICKED) runHandler(id, Event::Click);
                break;
            case ControlKind::RadioButton:
                if (code == BN_CLICKED) radioClicked(*c);
                break;
            case ControlKind::ListBox:
                if (code == LBN_SELCHANGE) runHandler(id, Event::Change);
                if (code == LBN_DBLCLK) runHandler(id, Event::DblClick);
                break;
            case ControlKind::ComboList:
                if (code == CBN_SELCHANGE) runHandler(id, Event::Change);
                break;
            case ControlKind::Edit:
                if (code == EN_CHANGE) runHandler(id, Event::Change);
                break;
            default: break;
        }
        return;
    }
    // A menu item or an accelerator: a disabled item runs nothing.
    if (menu_ && !menuItemEnabled(id)) return;
    runHandler(id, Event::Click);
}

void Form::radioClicked(const ControlState& radio) {
    // A click on the radio button already checked changes nothing and runs no handler.
    if (::SendMessageA(radio.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) return;
    // The group: radio buttons from the group's start (WS_GROUP) up to the next start, in table order.
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [&](const ControlState& c) { return c.hwnd == radio.hwnd; });
    auto groupStart = [](const ControlState& c) {
        return (::GetWindowLongPtrA(c.hwnd, GWL_STYLE) & WS_GROUP) != 0;
    };
    auto first = it;
    while (first != controls_.begin() && !(isRadio(*first->layout) && groupStart(*first))) --first;
    for (auto c = first; c != controls_.end(); ++c) {
        if (!isRadio(*c->layout)) continue;
        if (c != first && groupStart(*c)) break;
        ::SendMessageA(c->hwnd, BM_SETCHECK, c->hwnd == radio.hwnd ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    runHandler(radio.layout->id, Event::Click);
}

void Form::runHandler(int id, Event event) {
    auto it = handlers_.find({id, event});
    if (it != handlers_.end() && it->second) it->second();
}

void Form::onClick(int id, std::function<void()> handler) { handlers_[{id, Event::Click}] = std::move(handler); }
void Form::onChange(int id, std::function<void()> handler) { handlers_[{id, Event::Change}] = std::move(handler); }
void Form::onDblClick(int id, std::function<void()> handler) {
    handlers_[{id, Event::DblClick}] = std::move(handler);
}

void Form::setMenu(HMENU menu) {
    menu_ = menu;
    if (!hwnd_) return;
    // The layout's client area stays the design size: the window grows by the menu bar.
    RECT r{0, 0, designClient_.cx, designClient_.cy};
    ::AdjustWindowRectEx(&r, layout_.style, menu != nullptr, layout_.exStyle);
    ::SetMenu(hwnd_, menu);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form::menuItemEnabled(int id) const {
    if (!menu_) return true;
    const UINT state = ::GetMenuState(menu_, static_cast<UINT>(id), MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) return true;  // not a menu item
    return !(state & (MF_DISABLED | MF_GRAYED));
}

bool Form::preTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR) return false;
    const ControlState* c = findByHandle(msg.hwnd);
    if (!c) {
        // The edit field inside a combo box and the like: their parent is the control.
        HWND parent = ::GetParent(msg.hwnd);
        if (parent && parent != hwnd_) c = findByHandle(parent);
    }
    if (!c) return false;
    if (c->layout->enterClicks && msg.wParam == VK_RETURN) {
        if (msg.message == WM_KEYDOWN) {
            HWND button = control(c->layout->enterClicks);
            if (!button || ::IsWindowEnabled(button))
                win::fenced([&] { runHandler(c->layout->enterClicks, Event::Click); });
        }
        return true;
    }
    if (has(c->layout->flags, ControlFlag::AutoDropDown) && msg.message == WM_CHAR && msg.wParam >= 0x20 &&
        !::SendMessageA(c->hwnd, CB_GETDROPPEDSTATE, 0, 0)) {
        ::SendMessageA(c->hwnd, CB_SHOWDROPDOWN, TRUE, 0);
    }
    bool swallow = false;
    win::fenced([&] { swallow = keyPreview(c->layout->id, msg.message, msg.wParam); });
    return swallow;
}

ModalResult Form::showModal() {
    create();
    if (!hwnd_ || modal_) return ModalResult::None;
    auto& app = forms::Application::instance();
    HWND previous = ::GetActiveWindow();
    // Every other enabled, visible window of the program is disabled while this one is open.
    win::ThreadWindowsDisabled others(hwnd_);

    modal_ = true;
    modalResult_ = ModalResult::None;
    lastFocus_ = nullptr;
    win::fenced([this] { FormShow(); });
    if (layout_.position == FormPosition::OwnerCenter) {
        HWND owner = ::GetWindow(hwnd_, GW_OWNER);
        RECT o{}, w{};
        if (!owner || !::IsWindowVisible(owner) || !::GetWindowRect(owner, &o)) {
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
        }
        ::GetWindowRect(hwnd_, &w);
        const int ww = w.right - w.left, wh = w.bottom - w.top;
        ::SetWindowPos(hwnd_, nullptr, o.left + ((o.right - o.left) - ww) / 2, o.top + ((o.bottom - o.top) - wh) / 2,
                       0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A FormShow that set a result (it could not prepare the window) ends the showing before the window appears.
    const bool refused = modalResult_ != ModalResult::None;
    if (!refused) {
        ::ShowWindow(hwnd_, SW_SHOW);
        ::SetForegroundWindow(hwnd_);
        win::fenced([this] { FormShown(); });
    }

    MSG msg;
    for (; !refused;) {
        while (modalResult_ == ModalResult::None) {
            const BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
            if (r == 0) {  // the program is ending: pass the quit on to the outer loop
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                modalResult_ = ModalResult::Cancel;
                break;
            }
            if (r == -1) {
                modalResult_ = ModalResult::Cancel;
                break;
            }
            app.processMessage(msg);
        }
        bool mayClose = false;
        win::fenced([&] { mayClose = FormCloseQuery(); });
        if (mayClose) break;
        modalResult_ = ModalResult::None;
    }
    win::fenced([this] { FormClose(); });
    const ModalResult result = modalResult_;
    // The others first, so that activation passes to them and not to another program.
    others.restore();
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    modal_ = false;
    if (previous && ::IsWindow(previous) && ::IsWindowVisible(previous)) ::SetActiveWindow(previous);
    return result;
}

void Form::show() {
    create();
    if (!hwnd_) return;
    win::fenced([this] { FormShow(); });
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    win::fenced([this] { FormShown(); });
}

void Form::setModalResult(ModalResult result) { modalResult_ = result; }

void Form::close() {
    if (!hwnd_) return;
    if (modal_) {
        // The modal loop asks FormCloseQuery.
        if (modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
        return;
    }
    if (!FormCloseQuery()) return;
    FormClose();
    auto& app = forms::Application::instance();
    ::ShowWindow(hwnd_, SW_HIDE);
    if (app.mainForm() == this) ::PostQuitMessage(0);
}

RECT Form::bounds() const {
    RECT r{};
    if (hwnd_) ::GetWindowRect(hwnd_, &r);
    return r;
}

SIZE Form::minSize() const { return {forms::scaled(layout_.minWidth), forms::scaled(layout_.minHeight)}; }
SIZE Form::maxSize() const { return {forms::scaled(layout_.maxWidth), forms::scaled(layout_.maxHeight)}; }

void Form::setBounds(int left, int top, int width, int height) {
    const SIZE mn = minSize(), mx = maxSize();
    if (mn.cx) width = std::max<int>(width, mn.cx);
    if (mn.cy) height = std::max<int>(height, mn.cy);
    if (mx.cx) width = std::min<int>(width, mx.cx);
    if (mx.cy) height = std::min<int>(height, mx.cy);
    if (hwnd_) ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::setCaption(const std::string& text) {
    if (hwnd_) ::SetWindowTextA(hwnd_, text.c_str());
}

std::string Form::text(int id) const {
    HWND h = control(id);
    if (!h) return {};
    const int n = ::GetWindowTextLengthA(h);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const int got = ::GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(std::max(got, 0)));
    return s;
}

void Form::setText(int id, const std::string& text) {
    if (HWND h = control(id)) ::SetWindowTextA(h, text.c_str());
}

bool Form::enabled(int id) const {
    HWND h = control(id);
    return h && ::IsWindowEnabled(h);
}

void Form::setEnabled(int id, bool on) {
    if (HWND h = control(id)) ::EnableWindow(h, on);
}

bool Form::checked(int id) const {
    HWND h = control(id);
    return h && ::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::setChecked(int id, bool on) {
    if (HWND h = control(id)) ::SendMessageA(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::focus(int id) {
    HWND h = control(id);
    if (!h) return;
    lastFocus_ = h;
    if (::IsWindowVisible(hwnd_)) ::SetFocus(h);
}
