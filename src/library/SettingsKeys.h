// Sections, keys and defaults of the settings file. The save-folder defaults depend on the program folder,
// so they are computed by saveFolderDefault (Settings.h) at each read.
#pragma once

// Window state, read when the main window is shown and written when it closes.
inline constexpr char kStatusSection[] = "APP-STATUS";
// The user's options, edited in the settings dialog.
inline constexpr char kConfigSection[] = "APP-CONFIG";

// APP-STATUS: integers unless marked boolean.
inline constexpr char kMainSelectGroup[] = "MAIN-SELECTGROUP";  // group box index, -1 without a selection
inline constexpr char kMainWidth[] = "MAIN-WIDTH";
inline constexpr char kMainHeight[] = "MAIN-HEIGHT";
inline constexpr char kMainTop[] = "MAIN-TOP";
inline constexpr char kMainLeft[] = "MAIN-LEFT";
inline constexpr char kEditerWidth[] = "EDHITER-WIDTH";
inline constexpr char kEditerHeight[] = "EDHITER-HEIGHT";
inline constexpr char kEditerTop[] = "EDHITER-TOP";
inline constexpr char kEditerLeft[] = "EDHITER-LEFT";
inline constexpr char kMainSetForground[] = "MAIN-SETFORGROUND";  // boolean: main window always on top
inline constexpr char kMainZumenStatus[] = "MAIN-ZUMENSTATUS";    // processing type

inline constexpr int kMainSelectGroupDefault = 0;
inline constexpr int kMainWidthDefault = 290;
inline constexpr int kMainHeightDefault = 300;
inline constexpr int kMainTopDefault = 100;
inline constexpr int kMainLeftDefault = 100;
inline constexpr int kEditerWidthDefault = 700;
inline constexpr int kEditerHeightDefault = 530;
inline constexpr int kEditerTopDefault = 50;
inline constexpr int kEditerLeftDefault = 50;
inline constexpr bool kMainSetForgroundDefault = true;
inline constexpr int kMainZumenStatusDefault = 1;

// APP-CONFIG, in the order the settings dialog writes them. The first four are booleans.
inline constexpr char kConfigAcadActiveO[] = "CONFIG-ACADACTIVE-O";       // AutoCAD to the front, current drawing
inline constexpr char kConfigAcadActiveF[] = "CONFIG-ACADACTIVE-F";       // AutoCAD to the front, several files
inline constexpr char kConfigAcadEndMessage[] = "CONFIG-ACADENDMESSAGE";  // end message after a several-files run
inline constexpr char kConfigTrayIcon[] = "CONFIG-TRAYICON";              // hide in the notification area
inline constexpr char kConfigSaveFolder1[] = "CONFIG-SAVEFOLDER1";        // text: save folder, current drawing
inline constexpr char kConfigSaveFolder2[] = "CONFIG-SAVEFOLDER2";        // text: save folder, several files

inline constexpr bool kConfigAcadActiveODefault = true;
inline constexpr bool kConfigAcadActiveFDefault = true;
inline constexpr bool kConfigAcadEndMessageDefault = true;
inline constexpr bool kConfigTrayIconDefault = false;

// Folder names of the default save folders inside the program folder.
inline constexpr char kSaveFolder1Name[] = "single_script";
inline constexpr char kSaveFolder2Name[] = "batch_script";

// A text value is read into a buffer of this size, so at most kProfileTextMaxBytes bytes of it are seen.
inline constexpr unsigned kProfileTextBufferSize = 2048;
inline constexpr unsigned kProfileTextMaxBytes = kProfileTextBufferSize - 1;
