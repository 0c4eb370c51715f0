// The settings file beside the executable. Nothing is cached: every call opens the file by name, so a value
// just written is what the next read sees. Writes throw AppError("<settings file> に書き込めません").
#pragma once

#include <optional>
#include <string>

#include "library/SettingsKeys.h"

// The executable's folder without a trailing backslash; a root keeps its backslash ("C:\").
std::string programFolder();

// The executable's path with its extension replaced by ".ini".
std::string iniFilePath();

// One APP-CONFIG value as stored, "" when the key is absent.
std::string configValueRead(const std::string& key);

// The run options (CONFIG-ACADACTIVE-O, CONFIG-ACADACTIVE-F, CONFIG-ACADENDMESSAGE) are off only when the
// stored text is exactly "0"; absent or any other text means on.
bool configOptionOff(const std::string& key);

// CONFIG-TRAYICON is on only when the stored text is exactly "1".
bool trayIconOptionOn();

// Integers and booleans: absent or unreadable text gives the default; reading never fails.
int profileIntegerRead(const char* section, const char* key, int defaultValue);
bool profileBooleanRead(const char* section, const char* key, bool defaultValue);

// At most 2047 bytes of the stored text; nullopt when the key is absent (a present empty value is "").
std::optional<std::string> profileTextRead(const char* section, const char* key);

// Integers are written in decimal, booleans as "1" or "0". A new key goes after the last key of its section.
void profileIntegerWrite(const char* section, const char* key, int value);
void profileBooleanWrite(const char* section, const char* key, bool value);
// A value holding a line break would break the file apart into other keys, so it is refused like a failed write.
void profileTextWrite(const char* section, const char* key, const std::string& value);

// The default save folder of a processing type (1: current drawing, any other: several files), computed
// from the program folder at each call and never written by itself.
std::string saveFolderDefault(int processingType);

// The ten values the main window applies when shown and stores when it closes (after MAIN-SELECTGROUP),
// each with its default.
struct WindowStatus {
    int mainWidth = kMainWidthDefault;
    int mainHeight = kMainHeightDefault;
    int mainTop = kMainTopDefault;
    int mainLeft = kMainLeftDefault;
    int editerWidth = kEditerWidthDefault;
    int editerHeight = kEditerHeightDefault;
    int editerTop = kEditerTopDefault;
    int editerLeft = kEditerLeftDefault;
    bool mainSetForground = kMainSetForgroundDefault;
    int mainZumenStatus = kMainZumenStatusDefault;
};
WindowStatus windowStatusRead();
// Writes the ten keys in the order above; a refused write throws and the rest are not attempted.
void windowStatusWrite(const WindowStatus& status);

// The six options as the settings dialog shows them: a save folder that is absent shows its default, one
// that is present but empty shows empty.
struct ConfigOptions {
    bool acadActiveO = kConfigAcadActiveODefault;
    bool acadActiveF = kConfigAcadActiveFDefault;
    bool acadEndMessage = kConfigAcadEndMessageDefault;
    bool trayIcon = kConfigTrayIconDefault;
    std::string saveFolder1;
    std::string saveFolder2;
};
ConfigOptions configOptionsRead();
// Writes all six in the order above, changed or not; a refused write throws and the rest are not attempted.
void configOptionsWrite(const ConfigOptions& options);
