// Reading AutoCAD's system variables SDI, FILEDIA and OSNAPCOORD from its command-line window, and
// putting FILEDIA and OSNAPCOORD back.
#pragma once

#include <windows.h>

#include <string>

// A window's current text as the window itself answers WM_GETTEXT (bounded wait; "" when it does not).
std::string acadWindowTextGet(HWND window);

// The text of AutoCAD's "Headlands" command-line window when `which` is 1, else of its "MountTam"
// window; "" unless both windows are among the descendants of `window`.
std::string acadCommandLineRead(int which, HWND window);

// Each probe looks AutoCAD up and sends cancel, the variable's name, cancel, reading the command line
// after the name. It stores "0" when no value could be read. False as soon as one send was not
// handed over; nothing is sent after it.
bool acadSdiCheck();
bool acadOsnapcoordCheck();
bool acadFilediaCheck();

// Each setter looks AutoCAD up and sends cancel, then the variable's name and its stored value.
// False as soon as one send was not handed over; nothing is sent after it.
bool acadOsnapcoordRestore();
bool acadFilediaRestore();

// Values stored by the last probe: SDI "1" or "0", OSNAPCOORD "2", "1" or "0", FILEDIA "1" or "0";
// empty before the first probe.
const std::string& acadSdiValue();
const std::string& acadOsnapcoordValue();
const std::string& acadFilediaValue();
