// Entry point of canopia.exe: the single-instance guard, the application title, the windows, the loop.
#include <windows.h>

#include "app/AppWindows.h"
#include "forms/Application.h"
#include "win/WinHandles.h"

namespace {

constexpr const char* kMutexName = "Canopia_Mutex";  // no namespace prefix: one instance per logon

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    auto& app = forms::Application::instance();
    app.initialize(instance);

    // A copy already running: say so and end; the running copy is left alone.
    if (win::UniqueHandle existing{::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName)}) {
        existing.reset();
        ::MessageBoxA(app.handle(), "カノピアはすでに起動しています", "注意", MB_TOPMOST | MB_ICONWARNING);
        return 0;
    }
    // Held for the program's life and released by its end. A failure leaves the program without the guard.
    ::CreateMutexA(nullptr, FALSE, kMutexName);

    app.setTitle(forms::kAppTitle);
    app::windows().create();
    return app.run();
}
