// The form framework: one top-level window of the program per class, its controls created from one table per
// unit at 96-DPI layout pixels, with fonts, anchors, size limits, tab order, named handlers, modal showing and
// the exception fence. Every window exists once, from start-up to the end of the program; closing hides it.
//
// A new window, in short:
//     const ControlLayout kControls[] = {
//         {edtName, ControlKind::Edit, "", 8, 8, 200, 20, Anchor::LeftTop, 0, 0, 0, btnOk},  // Enter runs btnOk
//         {btnOk, ControlKind::DefaultButton, "OK", 130, 36, 75, 23, Anchor::Right | Anchor::Bottom, 1},
//     };
//     class TdspThing : public Form {
//     public:
//         TdspThing() : Form(FormLayout{"caption", 216, 66}, kControls) {}
//     protected:
//         void FormCreate() override { onClick(btnOk, [this] { btnOkClick(); }); }
//         void btnOkClick() { setModalResult(ModalResult::Ok); }
//     };
// and one creation line in AppWindows.cpp. Control identifiers are 100 or more (1 and 2 are IDOK and
// IDCANCEL, which Enter and Esc send when no control takes them: onClick(IDCANCEL, ...) handles Esc).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Which edges of a control follow the form's edges when it is resized; edges combine with |.
enum class Anchor : unsigned {
    Left = 1,
    Top = 2,
    Right = 4,
    Bottom = 8,
    LeftTop = Left | Top,
    All = Left | Top | Right | Bottom,
};
constexpr Anchor operator|(Anchor a, Anchor b) {
    return static_cast<Anchor>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
// True when every edge of `edges` is in `set`.
constexpr bool has(Anchor set, Anchor edges) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(edges)) == static_cast<unsigned>(edges);
}

enum class ControlKind {
    Label,          // static text; widens to its caption when the font needs more room
    Bevel,          // an etched line along the top of its bounds
    Button,         // push button
    DefaultButton,  // push button that Enter presses where the focused control does not take Enter itself
    CheckBox,       // check box (the framework toggles it)
    RadioButton,    // radio button; the framework checks it and unchecks the others of its group
    Edit,           // single-line edit field
    ListBox,        // list box with notifications and a vertical scroll bar
    ComboList,      // drop-down list without free text
    GroupBox,       // frame with a caption
    StatusBar,      // one-part status bar along the bottom edge (bounds are ignored but the height)
    Custom,         // a control of the window class named in `className`
};

// Extra behaviour of a control; flags combine with |.
enum class ControlFlag : unsigned {
    None = 0,
    AutoDropDown = 1,  // combo box: typing a character drops the list down first
    GroupStart = 2,    // radio button: starts a new group (the first radio button of a form always does)
    Disabled = 4,      // created disabled
    Hidden = 8,        // created hidden
};
constexpr ControlFlag operator|(ControlFlag a, ControlFlag b) {
    return static_cast<ControlFlag>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool has(ControlFlag set, ControlFlag flag) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(flag)) == static_cast<unsigned>(flag);
}

// One row of a unit's control table. Bounds are in 96-DPI pixels of the design client area.
struct ControlLayout {
    int id;
    ControlKind kind;
    const char* caption;
    int left, top, width, height;
    Anchor anchors = Anchor::LeftTop;
    int tabOrder = -1;       // position in the tab order, -1 for no tab stop
    DWORD style = 0;         // extra window styles (LBS_SORT, CBS_SORT, ES_PASSWORD...)
    int fontPixels = 0;      // 0: the form's font
    int enterClicks = 0;     // edit: Enter runs this button's click and is swallowed
    ControlFlag flags = ControlFlag::None;
    int itemHeight = 0;      // list and combo boxes: item height in 96-DPI pixels, 0 for the font's
    const char* className = nullptr;  // Custom only
    DWORD exStyle = 0;
};

// Where a form appears when it is shown modally.
enum class FormPosition {
    Designed,     // wherever its bounds were last set (the main form, the script editor)
    OwnerCenter,  // centred on the window that owns it, at every showing
};

// The window itself.
struct FormLayout {
    const char* caption;      // may be null: set when shown
    int clientWidth, clientHeight;  // design client area, 96-DPI pixels
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    DWORD exStyle = WS_EX_DLGMODALFRAME;
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;  // window size limits; 0 = none
    int fontPixels = 12;
    FormPosition position = FormPosition::OwnerCenter;
};

// Modal results (the value showModal returns).
enum class ModalResult : int { None = 0, Ok = IDOK, Cancel = IDCANCEL, Yes = IDYES, No = IDNO };

class Form {
public:
    template <std::size_t N>
    Form(const FormLayout& layout, const ControlLayout (&controls)[N]) : Form(layout, controls, N) {}
    Form(const FormLayout& layout, const ControlLayout* controls, std::size_t count);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window (hidden) and its controls, then FormCreate. Forms are owned by the main form,
    // the main form by the application window.
    void create();

    HWND handle() const { return hwnd_; }
    HWND control(int id) const;
    bool visible() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

    // Disables the program's other windows, shows this one (FormShow first) and runs a message loop until it
    // is closed; then hides it (never destroys it) and enables the others again. Returns the modal result.
    // A FormShow that sets a modal result refuses the showing: the window never appears, FormClose still runs.
    ModalResult showModal();
    bool isModal() const { return modal_; }
    // Shows without a modal loop (the main form).
    void show();
    // Asks FormCloseQuery, then FormClose, then hides; a modal loop ends with the modal result (Cancel when none
    // was set), the main form's closing ends the program.
    void close();
    // Setting a result other than ModalResult::None closes a modally shown form with that result.
    void setModalResult(ModalResult result);
    ModalResult modalResult() const { return modalResult_; }

    // Window bounds in device pixels; setBounds goes through the size limits.
    RECT bounds() const;
    void setBounds(int left, int top, int width, int height);
    // The size limits in device pixels (scaled from the layout).
    SIZE minSize() const;
    SIZE maxSize() const;

    void setCaption(const std::string& text);

    // Control helpers.
    std::string text(int id) const;
    void setText(int id, const std::string& text);
    bool enabled(int id) const;
    void setEnabled(int id, bool on);
    bool checked(int id) const;
    void setChecked(int id, bool on);  // no click handler runs
    void focus(int id);

    // Keyboard accelerators active while the focus is anywhere in this form.
    void setAccelerators(HACCEL accel) { accel_ = accel; }
    HACCEL accelerators() const { return accel_; }

    // Keyboard handling before the dialog navigation: Enter in fields with a confirming button, keyPreview.
    // Returns true when the message was handled and must not be dispatched.
    bool preTranslate(MSG& msg);

protected:
    virtual void FormCreate() {}
    virtual void FormShow() {}
    // Right after the window became visible (FormShow runs before).
    virtual void FormShown() {}
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    virtual void FormResize() {}
    // Places the window in the middle of the screen (the dialogs that are not placed on their owner).
    void centerOnScreen();
    // A key going to a control of this form (WM_KEYDOWN or WM_CHAR); true swallows it.
    virtual bool keyPreview(int /*controlId*/, UINT /*msg*/, WPARAM /*key*/) { return false; }
    // Everything not handled by the framework; the default is DefWindowProc.
    virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    // WM_COMMAND from a control, a menu item or an accelerator; the default runs the registered handler.
    virtual void command(int id, int code, HWND control);

    // Named handlers: a click of a button, radio button, check box, menu item or accelerator; a change of a
    // list, combo or edit; a double click in a list.
    void onClick(int id, std::function<void()> handler);
    void onChange(int id, std::function<void()> handler);
    void onDblClick(int id, std::function<void()> handler);

    // Menu items: a disabled item's command (from an accelerator or a stray message) runs nothing.
    void setMenu(HMENU menu);
    HMENU menu() const { return menu_; }
    bool menuItemEnabled(int id) const;

    HWND hwnd_ = nullptr;

private:
    struct ControlState {
        const ControlLayout* layout;
        HWND hwnd;
        RECT design;  // device pixels at the design client size
    };
    enum class Event { Click, Change, DblClick };

    static LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void createControl(const ControlLayout& layout);
    void applyTabOrder();
    void applyAnchors();
    void radioClicked(const ControlState& radio);
    const ControlState* find(int id) const;
    const ControlState* findByHandle(HWND hwnd) const;
    void runHandler(int id, Event event);

    FormLayout layout_;
    std::vector<ControlLayout> controlLayouts_;
    std::vector<ControlState> controls_;
    std::map<std::pair<int, Event>, std::function<void()>> handlers_;
    HMENU menu_ = nullptr;
    HACCEL accel_ = nullptr;
    SIZE designClient_{};  // device pixels
    bool modal_ = false;
    ModalResult modalResult_ = ModalResult::None;
    HWND lastFocus_ = nullptr;  // the control that had the focus when the form was deactivated
};
