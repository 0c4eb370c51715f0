// Finding AutoCAD's main window and handing it command text as if typed at its command line.
#pragma once

#include <windows.h>

#include <string>

#include "acad/AcadRules.h"

using acad::SendOutcome;

// The desktop's AutoCAD main window, looked up afresh: every top-level window is examined and the
// last one that matches wins. 0 when none matches; then the stored title is left as it was.
HWND acadWindowFind();

// Title of the window that the last successful lookup matched (Shift-JIS, at most 254 bytes).
const std::string& acadWindowTitle();

// Hands `command` (a trailing CR plays Enter) to `window` as one WM_COPYDATA, then posts one WM_NULL
// to the same window. The wait is bounded: Taken only when the window has handled the message.
SendOutcome acadCommandDeliver(const std::string& command, HWND window);
// The same as a yes or no: true when taken.
bool acadCommandSend(const std::string& command, HWND window);

// The cancel: two ETX characters, sent like any command.
bool acadCancelSend(HWND window);

// How the last send ended (Taken before the first). A run whose chain of sends stopped, through the
// probes and setters too, reads here why: nothing is sent after the send that failed.
SendOutcome acadLastSendOutcome();

// The seam at the one call that hands a WM_COPYDATA over: SendMessageTimeoutA unless replaced. A
// replacement answers as that call does: 0 when the message was not handled, with the reason in the
// thread's last error (ERROR_ACCESS_DENIED for a refusal). nullptr puts the real call back.
using CopyDataSender = decltype(&::SendMessageTimeoutA);
void acadCopyDataSenderSet(CopyDataSender sender);

// Windows refuses messages from a program to an AutoCAD that runs elevated (User Interface Privilege
// Isolation); Wine has no such isolation. This sender refuses, with ERROR_ACCESS_DENIED, every window that
// bears the property kElevatedMark (the AutoCAD stand-in sets it when started with --elevated) and hands
// everything else to the real call. canopia.exe puts it in place when the environment variable
// kElevationEmulationVariable is "1"; without that the program never looks at the mark.
constexpr const char* kElevatedMark = "CanopiaElevated";
constexpr const char* kElevationEmulationVariable = "CANOPIA_EMULATE_UIPI";
LRESULT WINAPI acadElevationEmulatingSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                          UINT timeout, PDWORD_PTR result);
// True when the environment asks for that emulation.
bool acadElevationEmulationAsked();

// How long a send (or a read of a command-line window) may wait for AutoCAD, in milliseconds.
// 10000 unless changed; tests shorten it.
unsigned acadSendTimeout();
void acadSendTimeoutSet(unsigned milliseconds);
