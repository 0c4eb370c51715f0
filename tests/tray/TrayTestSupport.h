// What the notification area shows under Wine: without a virtual desktop, Wine's X11 driver puts every
// shown tray icon into a "Wine System Tray" window as a child window of its own.
#pragma once

#include <windows.h>

#include <cstring>

inline BOOL CALLBACK trayWineIconCountChild(HWND hwnd, LPARAM param) {
    char name[64];
    if (GetClassNameA(hwnd, name, sizeof name) && std::strcmp(name, "__winex11_tray_icon") == 0 &&
        IsWindowVisible(hwnd))
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

inline BOOL CALLBACK trayWineIconCountTop(HWND hwnd, LPARAM param) {
    char name[64];
    if (GetClassNameA(hwnd, name, sizeof name) && std::strcmp(name, "__winex11_standalone_tray") == 0)
        EnumChildWindows(hwnd, trayWineIconCountChild, param);
    return TRUE;
}

// The number of tray icons on show in the whole Wine desktop.
inline int trayWineIconCount() {
    int count = 0;
    EnumWindows(trayWineIconCountTop, reinterpret_cast<LPARAM>(&count));
    return count;
}
