// Test helpers for the tray icon under Wine: counting the icons on show, and answering a pop-up menu.
#pragma once

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

// Lets the thread's messages run for `ms` milliseconds.
inline void pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// Without a virtual desktop, Wine's X11 driver puts every shown tray icon into a "Wine System Tray"
// window as a child window of its own.

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

// Keys for the next pop-up menu of this thread, posted to it once it is open (from inside its own loop).
inline std::vector<WPARAM>& menuKeysPending() {
    static std::vector<WPARAM> keys;
    return keys;
}

inline void CALLBACK menuKeysTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu)) return;  // not open yet: the next tick
    KillTimer(nullptr, timer);
    for (WPARAM key : menuKeysPending()) PostMessageA(menu, WM_KEYDOWN, key, 0);
}

inline void menuKeysWhenOpen(std::vector<WPARAM> keys) {
    menuKeysPending() = std::move(keys);
    SetTimer(nullptr, 0, 50, menuKeysTimer);
}
