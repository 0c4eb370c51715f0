// The program's windows: one instance of each window class, created at start-up in a fixed order and kept
// until the process ends, and the one place that hands each window what it needs of the others.
#pragma once

#include <array>
#include <cstddef>

class Form;
enum class ModalResult : int;
class TdspMain;
class TdspAbout;
class TdspConfig;
class TdspGroupConfig;
class TdspScriptConfig;
class TdspGroupAdd;
class TdspAcadTest;
class TdspSDIExp;
class TdspScriptAdd;
class TdspScriptEditer;

namespace app {

// The windows in their creation order.
enum class AppWindow { Main, About, Config, GroupConfig, ScriptConfig, GroupAdd, AcadTest, SDIExp, ScriptAdd, ScriptEditer };

// The window registry: one object for the whole program, reached through windows().
class AppWindows {
public:
    AppWindows() = default;
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    // Creates every window once, in the order above, all hidden; the first becomes the main form. The windows
    // are never destroyed: the process's end takes them.
    void create();

    // A created window as a form (nullptr when that window is not part of the program yet). Lets a window open
    // another without knowing its class.
    Form* form(AppWindow window) const { return forms_[static_cast<std::size_t>(window)]; }
    // Shows a window modally when it exists; ModalResult::None otherwise.
    ModalResult showModal(AppWindow window);

    // One reference per window: null until create() has made it.
    TdspMain* dspMain = nullptr;
    TdspAbout* dspAbout = nullptr;
    TdspConfig* dspConfig = nullptr;
    TdspGroupConfig* dspGroupConfig = nullptr;
    TdspScriptConfig* dspScriptConfig = nullptr;
    TdspGroupAdd* dspGroupAdd = nullptr;
    TdspAcadTest* dspAcadTest = nullptr;
    TdspSDIExp* dspSDIExp = nullptr;
    TdspScriptAdd* dspScriptAdd = nullptr;
    TdspScriptEditer* dspScriptEditer = nullptr;

private:
    static constexpr std::size_t kWindowCount = static_cast<std::size_t>(AppWindow::ScriptEditer) + 1;

    // Makes the window `reference` names: constructed, handed what it needs by `handOver`, created hidden.
    template <class T, class HandOver>
    void windowCreate(T*& reference, AppWindow which, HandOver handOver);
    template <class T>
    void windowCreate(T*& reference, AppWindow which) {
        windowCreate(reference, which, [](T&) {});
    }

    // What a maintenance window's "the library changed" does to the main window.
    void mainRefresh();

    std::array<Form*, kWindowCount> forms_{};
};

// The program's window registry; lives as long as the program.
AppWindows& windows();

}  // namespace app
