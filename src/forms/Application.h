// The application object: title, the hidden top-level window that carries the taskbar button, the main form,
// minimise and restore of the whole application, and the message loop that every modal loop shares.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class Form;

namespace forms {

// Application title; the text of the taskbar button.
inline constexpr const char* kAppTitle = "カノピア";

class Application {
public:
    static Application& instance();

    // Creates the hidden application window (zero size, owner of the main form, titled with the title) and
    // points the exception fence (win::fenced) at the application-wide error box.
    void initialize(HINSTANCE instance);
    HINSTANCE hinstance() const { return hinstance_; }
    HWND handle() const { return hwnd_; }

    const std::string& title() const { return title_; }
    void setTitle(const std::string& title);

    // The first form created becomes the main form; closing it ends the message loop.
    Form* mainForm() const { return mainForm_; }
    void formCreated(Form* form);

    // Shows the main form and runs the message loop until the main form closes. Returns the exit code.
    int run();

    // One message through accelerators, keyboard handling of the forms, and dispatch. Modal loops use it too,
    // so a timer's WM_TIMER and everything else is dispatched whichever loop is running.
    void processMessage(MSG& msg);

    // Minimise and restore of the whole application (the main form's minimise button, the taskbar button).
    // The hooks run after the change; they are where the notification-area behaviour plugs in.
    void minimize();
    void restore();
    bool minimized() const;
    std::function<void()> onMinimize;
    std::function<void()> onRestore;
    // Runs once when the message loop has ended, before the process exits (e.g. to take an icon out of the
    // notification area: the windows themselves are never destroyed).
    std::function<void()> onExit;

    // A form became active (WM_ACTIVATE).
    void formActivated(HWND form);
    // The form that last had the focus, for message box owners and for re-activation after a restore.
    HWND activeFormHandle() const;

private:
    Application() = default;
    static LRESULT CALLBACK appProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

    HINSTANCE hinstance_ = nullptr;
    HWND hwnd_ = nullptr;
    std::string title_ = kAppTitle;
    Form* mainForm_ = nullptr;
    std::vector<Form*> forms_;               // every form created, in creation order
    HWND lastActiveForm_ = nullptr;          // the form that was active last
    std::vector<HWND> hiddenByMinimize_;     // forms hidden when the application was minimised
};

}  // namespace forms
