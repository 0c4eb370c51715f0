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
