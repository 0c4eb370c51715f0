// Entry point of canopia.exe: the single-instance guard, the application title, the windows, the loop.
#include <windows.h>

#include "app/AppWindows.h"
#include "app/SingleInstance.h"
#include "forms/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    auto& app = forms::Application::instance();
    app.initialize(instance);

    // A copy already running: say so and end; the running copy is left alone.
    if (app::singleInstanceClaim() == app::InstanceClaim::AnotherCopyRuns) {
        ::MessageBoxA(app.handle(), "カノピアはすでに起動しています", "注意", MB_TOPMOST | MB_ICONWARNING);
        return 0;
    }

    app.setTitle(forms::kAppTitle);
    app::windows().create();
    return app.run();
}
