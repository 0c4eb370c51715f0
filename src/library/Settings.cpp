// The settings file beside the executable, read and written through the platform's private-profile API.
#include "library/Settings.h"

#include <windows.h>

#include <cstring>
#include <string_view>
#include <utility>
#include <variant>
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

namespace {

// Which member of which record a key fills. MAIN-SELECTGROUP belongs to no record: the main window reads and
// writes it by itself, just before the window state.
using SettingMember = std::variant<std::monostate, int WindowStatus::*, bool WindowStatus::*, bool ConfigOptions::*,
                                   std::string ConfigOptions::*>;

struct SettingField {
    const char* section;
    const char* key;
    SettingMember member;
};

// Every key of the file; within a section the keys stand in the order they are written, which is the order
// they have in a new file.
const SettingField kSettingFields[] = {
    {kStatusSection, kMainSelectGroup, std::monostate{}},
    {kStatusSection, kMainWidth, &WindowStatus::mainWidth},
    {kStatusSection, kMainHeight, &WindowStatus::mainHeight},
    {kStatusSection, kMainTop, &WindowStatus::mainTop},
    {kStatusSection, kMainLeft, &WindowStatus::mainLeft},
    {kStatusSection, kEditerWidth, &WindowStatus::editerWidth},
    {kStatusSection, kEditerHeight, &WindowStatus::editerHeight},
    {kStatusSection, kEditerTop, &WindowStatus::editerTop},
    {kStatusSection, kEditerLeft, &WindowStatus::editerLeft},
    {kStatusSection, kMainSetForground, &WindowStatus::mainSetForground},
    {kStatusSection, kMainZumenStatus, &WindowStatus::mainZumenStatus},
    {kConfigSection, kConfigAcadActiveO, &ConfigOptions::acadActiveO},
    {kConfigSection, kConfigAcadActiveF, &ConfigOptions::acadActiveF},
    {kConfigSection, kConfigAcadEndMessage, &ConfigOptions::acadEndMessage},
    {kConfigSection, kConfigTrayIcon, &ConfigOptions::trayIcon},
    {kConfigSection, kConfigSaveFolder1, &ConfigOptions::saveFolder1},
    {kConfigSection, kConfigSaveFolder2, &ConfigOptions::saveFolder2},
};

// One field of `record`, its current value standing for the default. Fields of the other record, and the
// key of no record, match the last overload and are skipped.
template <class Record>
void fieldRead(Record& record, const SettingField& f, int Record::*member) {
    record.*member = profileIntegerRead(f.section, f.key, record.*member);
}
template <class Record>
void fieldRead(Record& record, const SettingField& f, bool Record::*member) {
    record.*member = profileBooleanRead(f.section, f.key, record.*member);
}
template <class Record>
void fieldRead(Record& record, const SettingField& f, std::string Record::*member) {
    if (std::optional<std::string> text = profileTextRead(f.section, f.key)) record.*member = std::move(*text);
}
template <class Record, class Other>
void fieldRead(Record&, const SettingField&, Other) {}

template <class Record>
void fieldWrite(const Record& record, const SettingField& f, int Record::*member) {
    profileIntegerWrite(f.section, f.key, record.*member);
}
template <class Record>
void fieldWrite(const Record& record, const SettingField& f, bool Record::*member) {
    profileBooleanWrite(f.section, f.key, record.*member);
}
template <class Record>
void fieldWrite(const Record& record, const SettingField& f, std::string Record::*member) {
    profileTextWrite(f.section, f.key, record.*member);
}
template <class Record, class Other>
void fieldWrite(const Record&, const SettingField&, Other) {}

// `record` comes in holding the defaults and goes out holding what the file says.
template <class Record>
Record recordRead(Record record) {
    for (const SettingField& f : kSettingFields) {
        std::visit([&](auto member) { fieldRead(record, f, member); }, f.member);
    }
    return record;
}

// A refused write throws out of the loop, so the keys after it are not attempted.
template <class Record>
void recordWrite(const Record& record) {
    for (const SettingField& f : kSettingFields) {
        std::visit([&](auto member) { fieldWrite(record, f, member); }, f.member);
    }
}

}  // namespace

WindowStatus windowStatusRead() { return recordRead(WindowStatus{}); }

void windowStatusWrite(const WindowStatus& status) { recordWrite(status); }

ConfigOptions configOptionsRead() {
    ConfigOptions defaults;
    defaults.saveFolder1 = saveFolderDefault(1);
    defaults.saveFolder2 = saveFolderDefault(2);
    return recordRead(std::move(defaults));
}

void configOptionsWrite(const ConfigOptions& options) { recordWrite(options); }
