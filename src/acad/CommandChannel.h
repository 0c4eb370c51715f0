// Finding AutoCAD's main window and handing it command text as if typed at its command line.
#pragma once

#include <windows.h>

#include <string>

// The desktop's AutoCAD main window, looked up afresh: every top-level window is examined and the
// last one that matches wins. 0 when none matches; then the stored title is left as it was.
HWND acadWindowFind();

// Title of the window that the last successful lookup matched (Shift-JIS, at most 254 bytes).
const std::string& acadWindowTitle();

// Hands `command` (a trailing CR plays Enter) to `window` as one WM_COPYDATA, then posts one WM_NULL
// to the same window. The wait is bounded: true only when the window has handled the message.
bool acadCommandSend(const std::string& command, HWND window);

// The cancel: two ETX characters, sent like any command.
bool acadCancelSend(HWND window);

// How long a send (or a read of a command-line window) may wait for AutoCAD, in milliseconds.
// 10000 unless changed; tests shorten it.
unsigned acadSendTimeout();
void acadSendTimeoutSet(unsigned milliseconds);
