// Resource identifiers of the run dialogs: command test, SDI notice and version window (range 1000-1999).
#pragma once

#define IDB_SDI_OPTIONS 1000    // 450 x 300: AutoCAD's options dialog at its system tab, call-outs 1 and 2
#define IDB_ABOUT_BANNER 1001   // 300 x 64: the product name under a canopy, on white
#define IDB_ABOUT_PROGRAM 1002  // 40 x 40: the program picture, on white
