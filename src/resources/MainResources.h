// Resource identifiers of the main window and the common resources (range 100-999).
#pragma once

#define IDI_CANOPIA 100      // the window icon (16 and 32 pixels)
#define IDB_IMGICON 300      // imgIcon: a strip of 16 x 16 pictures, magenta (255, 0, 255) is transparent

// Pictures of imgIcon, by index.
#define IMG_FORGROUND 0     // always on top: a pin
#define IMG_CONFIG 1        // settings: a gear
#define IMG_EXIT 2          // end: a door with an arrow
#define IMG_EDIT 3          // edit in the editor (maintenance pop-ups): a page with a pencil
#define IMG_SAVEFILE 4      // save to a file (maintenance pop-ups): a floppy disk
#define IMG_DELETE 5        // delete (maintenance pop-ups): a red cross
#define IMG_ACADACTIVE 6    // AutoCAD to the front: two windows
#define IMG_RESTORE 7       // back from the notification area: a window with an upward arrow
#define IMG_ACADTEST 8      // send test: a command prompt
#define IMG_HELP 9          // help: a question mark
#define IMG_WEBSITE 10      // home page: a globe
#define IMG_SDI 11          // SDI notice: a single page
#define IMG_ABOUT 12        // version: an "i"
#define IMG_GROUPCONFIG 13  // groups: a folder
#define IMG_SCRIPTCONFIG 14 // scripts: a page with lines
#define IMG_SCRIPTGO 15     // run: a green triangle
#define IMG_COUNT 16
