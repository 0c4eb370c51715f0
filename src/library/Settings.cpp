// The settings file beside the executable, read and written through the platform's private-profile API.
#include "library/Settings.h"

#include <windows.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "core/AppError.h"
#include "library/SettingsRules.h"

namespace {

// What a read returns for an absent key. A stored value never holds a line break, so it cannot be this.
constexpr char kAbsentMarker[] = "\n<absent>";

std::string exePath() {
    // Long paths are allowed to exceed MAX_PATH; the buffer grows until the name fits.
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size() - 1 || buffer.size() >= 65536) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

[[noreturn]] void writeRefused(const std::string& path) { throw AppError(path + " に書き込めません"); }

void textWrite(const char* section, const char* key, const char* value) {
    const std::string path = iniFilePath();
    if (!::WritePrivateProfileStringA(section, key, value, path.c_str())) writeRefused(path);
}

}  // namespace

std::string programFolder() { return folderFromExePath(exePath()); }

std::string iniFilePath() { return iniPathFromExePath(exePath()); }

std::string configValueRead(const std::string& key) {
    return profileTextRead(kConfigSection, key.c_str()).value_or(std::string());
}

bool configOptionOff(const std::string& key) { return configValueRead(key) == "0"; }

bool trayIconOptionOn() { return configValueRead(kConfigTrayIcon) == "1"; }

std::optional<std::string> profileTextRead(const char* section, const char* key) {
    const std::string path = iniFilePath();
    char buffer[kProfileTextBufferSize];
    DWORD length = ::GetPrivateProfileStringA(section, key, kAbsentMarker, buffer, sizeof buffer, path.c_str());
    // A cut read may report one byte more than it kept before the zero (seen under Wine); the zero decides.
    std::string_view text(buffer, ::strnlen(buffer, length < sizeof buffer ? length : sizeof buffer - 1));
    if (text == kAbsentMarker) return std::nullopt;
    return std::string(profileTextCut(text, sizeof buffer));
}

int profileIntegerRead(const char* section, const char* key, int defaultValue) {
    std::optional<std::string> text = profileTextRead(section, key);
    if (!text) return defaultValue;
    return profileIntegerParse(*text).value_or(defaultValue);
}

bool profileBooleanRead(const char* section, const char* key, bool defaultValue) {
    std::optional<std::string> text = profileTextRead(section, key);
    if (!text) return defaultValue;
    return profileBooleanParse(*text).value_or(defaultValue);
}

void profileIntegerWrite(const char* section, const char* key, int value) {
    textWrite(section, key, std::to_string(value).c_str());
}

void profileBooleanWrite(const char* section, const char* key, bool value) {
    textWrite(section, key, value ? "1" : "0");
}

void profileTextWrite(const char* section, const char* key, const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos || value.find('\0') != std::string::npos) {
        writeRefused(iniFilePath());
    }
    textWrite(section, key, value.c_str());
}

std::string saveFolderDefault(int processingType) {
    return programFolder() + "\\" + (processingType == 1 ? kSaveFolder1Name : kSaveFolder2Name);
}

WindowStatus windowStatusRead() {
    WindowStatus s;
    s.mainWidth = profileIntegerRead(kStatusSection, kMainWidth, kMainWidthDefault);
    s.mainHeight = profileIntegerRead(kStatusSection, kMainHeight, kMainHeightDefault);
    s.mainTop = profileIntegerRead(kStatusSection, kMainTop, kMainTopDefault);
    s.mainLeft = profileIntegerRead(kStatusSection, kMainLeft, kMainLeftDefault);
    s.editerWidth = profileIntegerRead(kStatusSection, kEditerWidth, kEditerWidthDefault);
    s.editerHeight = profileIntegerRead(kStatusSection, kEditerHeight, kEditerHeightDefault);
    s.editerTop = profileIntegerRead(kStatusSection, kEditerTop, kEditerTopDefault);
    s.editerLeft = profileIntegerRead(kStatusSection, kEditerLeft, kEditerLeftDefault);
    s.mainSetForground = profileBooleanRead(kStatusSection, kMainSetForground, kMainSetForgroundDefault);
    s.mainZumenStatus = profileIntegerRead(kStatusSection, kMainZumenStatus, kMainZumenStatusDefault);
    return s;
}

void windowStatusWrite(const WindowStatus& s) {
    profileIntegerWrite(kStatusSection, kMainWidth, s.mainWidth);
    profileIntegerWrite(kStatusSection, kMainHeight, s.mainHeight);
    profileIntegerWrite(kStatusSection, kMainTop, s.mainTop);
    profileIntegerWrite(kStatusSection, kMainLeft, s.mainLeft);
    profileIntegerWrite(kStatusSection, kEditerWidth, s.editerWidth);
    profileIntegerWrite(kStatusSection, kEditerHeight, s.editerHeight);
    profileIntegerWrite(kStatusSection, kEditerTop, s.editerTop);
    profileIntegerWrite(kStatusSection, kEditerLeft, s.editerLeft);
    profileBooleanWrite(kStatusSection, kMainSetForground, s.mainSetForground);
    profileIntegerWrite(kStatusSection, kMainZumenStatus, s.mainZumenStatus);
}

ConfigOptions configOptionsRead() {
    ConfigOptions o;
    o.acadActiveO = profileBooleanRead(kConfigSection, kConfigAcadActiveO, kConfigAcadActiveODefault);
    o.acadActiveF = profileBooleanRead(kConfigSection, kConfigAcadActiveF, kConfigAcadActiveFDefault);
    o.acadEndMessage = profileBooleanRead(kConfigSection, kConfigAcadEndMessage, kConfigAcadEndMessageDefault);
    o.trayIcon = profileBooleanRead(kConfigSection, kConfigTrayIcon, kConfigTrayIconDefault);
    o.saveFolder1 = profileTextRead(kConfigSection, kConfigSaveFolder1).value_or(saveFolderDefault(1));
    o.saveFolder2 = profileTextRead(kConfigSection, kConfigSaveFolder2).value_or(saveFolderDefault(2));
    return o;
}

void configOptionsWrite(const ConfigOptions& o) {
    profileBooleanWrite(kConfigSection, kConfigAcadActiveO, o.acadActiveO);
    profileBooleanWrite(kConfigSection, kConfigAcadActiveF, o.acadActiveF);
    profileBooleanWrite(kConfigSection, kConfigAcadEndMessage, o.acadEndMessage);
    profileBooleanWrite(kConfigSection, kConfigTrayIcon, o.trayIcon);
    profileTextWrite(kConfigSection, kConfigSaveFolder1, o.saveFolder1);
    profileTextWrite(kConfigSection, kConfigSaveFolder2, o.saveFolder2);
}
