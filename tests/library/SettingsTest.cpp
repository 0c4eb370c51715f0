// The settings file through the real private-profile API: defaults, value kinds, option texts, the order
// keys are written in, and refused writes. Each test starts and ends without the test program's ini.
#include "library/Settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "LibraryTestFiles.h"
#include "core/AppError.h"

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";  // 表示, trail byte 0x5C
const std::string kA = "\x82\xA0";              // あ

class Settings : public ::testing::Test {
protected:
    void SetUp() override { testIniRemove(); }
    void TearDown() override { testIniRemove(); }
};

// The keys of one section as they stand in the file, in file order.
std::vector<std::string> sectionKeys(const std::string& file, const std::string& section) {
    std::vector<std::string> keys;
    bool inSection = false;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find('\n', start);
        if (end == std::string::npos) end = file.size();
        std::string line = file.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            inSection = line == "[" + section + "]";
        } else if (inSection && line.find('=') != std::string::npos) {
            keys.push_back(line.substr(0, line.find('=')));
        }
    }
    return keys;
}

TEST_F(Settings, FileLivesBesideTheExecutable) {
    char exe[MAX_PATH];
    std::string exePath(exe, ::GetModuleFileNameA(nullptr, exe, sizeof exe));
    ASSERT_GT(exePath.size(), 4u);
    EXPECT_EQ(iniFilePath(), exePath.substr(0, exePath.size() - 4) + ".ini");
    EXPECT_EQ(programFolder(), exePath.substr(0, exePath.rfind('\\')));
    EXPECT_EQ(saveFolderDefault(1), programFolder() + "\\single_script");
    EXPECT_EQ(saveFolderDefault(2), programFolder() + "\\batch_script");
    EXPECT_EQ(saveFolderDefault(3), programFolder() + "\\batch_script");
}

TEST_F(Settings, NoFileReadsAsEveryDefaultAndStaysAbsent) {
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainSelectGroup, kMainSelectGroupDefault), 0);
    const WindowStatus status = windowStatusRead();
    EXPECT_EQ(status.mainWidth, 290);
    EXPECT_EQ(status.mainHeight, 300);
    EXPECT_EQ(status.mainTop, 100);
    EXPECT_EQ(status.mainLeft, 100);
    EXPECT_EQ(status.editerWidth, 700);
    EXPECT_EQ(status.editerHeight, 530);
    EXPECT_EQ(status.editerTop, 50);
    EXPECT_EQ(status.editerLeft, 50);
    EXPECT_TRUE(status.mainSetForground);
    EXPECT_EQ(status.mainZumenStatus, 1);
    const ConfigOptions options = configOptionsRead();
    EXPECT_TRUE(options.acadActiveO);
    EXPECT_TRUE(options.acadActiveF);
    EXPECT_TRUE(options.acadEndMessage);
    EXPECT_FALSE(options.trayIcon);
    EXPECT_EQ(options.saveFolder1, programFolder() + "\\single_script");
    EXPECT_EQ(options.saveFolder2, programFolder() + "\\batch_script");
    EXPECT_EQ(profileTextRead(kConfigSection, kConfigSaveFolder1), std::nullopt);
    EXPECT_EQ(configValueRead(kConfigSaveFolder2), "");
    EXPECT_FALSE(configOptionOff(kConfigAcadActiveO));
    EXPECT_FALSE(configOptionOff(kConfigAcadActiveF));
    EXPECT_FALSE(configOptionOff(kConfigAcadEndMessage));
    EXPECT_FALSE(trayIconOptionOn());
    EXPECT_FALSE(pathExists(iniFilePath())) << "reading must not create the file";
}

TEST_F(Settings, KeysStandInTheOrderTheyWereFirstWritten) {
    // What closing the main window writes, twice: the second save rewrites the keys in place.
    WindowStatus status;
    status.mainZumenStatus = 3;
    for (int pass = 0; pass < 2; ++pass) {
        profileIntegerWrite(kStatusSection, kMainSelectGroup, -1);
        status.mainWidth = 310 + pass;
        windowStatusWrite(status);
    }
    std::string file = testIniRead();
    EXPECT_EQ(sectionKeys(file, kStatusSection),
              (std::vector<std::string>{"MAIN-SELECTGROUP", "MAIN-WIDTH", "MAIN-HEIGHT", "MAIN-TOP", "MAIN-LEFT",
                                        "EDHITER-WIDTH", "EDHITER-HEIGHT", "EDHITER-TOP", "EDHITER-LEFT",
                                        "MAIN-SETFORGROUND", "MAIN-ZUMENSTATUS"}));
    EXPECT_EQ(sectionKeys(file, kConfigSection), std::vector<std::string>());
    EXPECT_NE(file.find("MAIN-SELECTGROUP=-1"), std::string::npos) << file;
    EXPECT_NE(file.find("MAIN-WIDTH=311"), std::string::npos) << file;
    EXPECT_NE(file.find("MAIN-SETFORGROUND=1"), std::string::npos) << file;
    EXPECT_NE(file.find("MAIN-ZUMENSTATUS=3"), std::string::npos) << file;
    EXPECT_EQ(windowStatusRead().mainZumenStatus, 3);

    ConfigOptions options;
    options.saveFolder1 = "";
    options.saveFolder2 = "D:\\batch";
    configOptionsWrite(options);
    file = testIniRead();
    EXPECT_EQ(sectionKeys(file, kConfigSection),
              (std::vector<std::string>{kConfigAcadActiveO, kConfigAcadActiveF, kConfigAcadEndMessage, kConfigTrayIcon,
                                        kConfigSaveFolder1, kConfigSaveFolder2}));
    // An empty save folder stays empty for the dialog while the library falls back to the default.
    EXPECT_EQ(configOptionsRead().saveFolder1, "");
    EXPECT_EQ(configOptionsRead().saveFolder2, "D:\\batch");
}

TEST_F(Settings, ValuesComeBackAsWritten) {
    profileIntegerWrite(kStatusSection, kMainLeft, -1200);
    profileIntegerWrite(kStatusSection, kMainTop, INT_MIN);
    profileBooleanWrite(kConfigSection, kConfigTrayIcon, true);
    profileBooleanWrite(kConfigSection, kConfigAcadActiveO, false);
    profileTextWrite(kConfigSection, kConfigSaveFolder1, "C:\\" + kHyoji + "\\" + kA + " lib");
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainLeft, 100), -1200);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainTop, 100), INT_MIN);
    EXPECT_TRUE(profileBooleanRead(kConfigSection, kConfigTrayIcon, false));
    EXPECT_FALSE(profileBooleanRead(kConfigSection, kConfigAcadActiveO, true));
    EXPECT_EQ(configValueRead(kConfigSaveFolder1), "C:\\" + kHyoji + "\\" + kA + " lib");
    const std::string file = testIniRead();
    EXPECT_NE(file.find("CONFIG-TRAYICON=1"), std::string::npos) << file;
    EXPECT_NE(file.find("CONFIG-ACADACTIVE-O=0"), std::string::npos) << file;
    // The run options and the tray option read back as the dialog meant them.
    EXPECT_TRUE(configOptionOff(kConfigAcadActiveO));
    EXPECT_TRUE(trayIconOptionOn());
}

TEST_F(Settings, HandEditedNumbersAreReadOrFallBack) {
    testIniWrite(
        "[APP-STATUS]\r\n"
        "MAIN-WIDTH=0x200\r\n"
        "MAIN-HEIGHT=200\r\n"
        "MAIN-TOP=0X1f\r\n"
        "MAIN-LEFT=0x\r\n"
        "EDHITER-WIDTH=wide\r\n"
        "EDHITER-HEIGHT=\r\n"
        "EDHITER-TOP=99999999999\r\n"
        "EDHITER-LEFT=-5\r\n"
        "MAIN-SETFORGROUND=0\r\n"
        "MAIN-ZUMENSTATUS=+7\r\n");
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainWidth, 290), 512);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainHeight, 300), 200);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainTop, 100), 31);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainLeft, 100), 100);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kEditerWidth, 700), 700);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kEditerHeight, 530), 530);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kEditerTop, 50), 50);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kEditerLeft, 50), -5);
    EXPECT_FALSE(profileBooleanRead(kStatusSection, kMainSetForground, true));
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainZumenStatus, 1), 7);
}

TEST_F(Settings, OptionsCompareTheStoredText) {
    testIniWrite(
        "[APP-CONFIG]\r\n"
        "CONFIG-ACADACTIVE-O=0\r\n"
        "CONFIG-ACADACTIVE-F=00\r\n"
        "CONFIG-ACADENDMESSAGE=false\r\n"
        "CONFIG-TRAYICON=2\r\n");
    EXPECT_TRUE(configOptionOff(kConfigAcadActiveO));
    EXPECT_FALSE(configOptionOff(kConfigAcadActiveF));     // "00" is not "0"
    EXPECT_FALSE(configOptionOff(kConfigAcadEndMessage));  // "false" is not "0"
    EXPECT_FALSE(trayIconOptionOn());                      // only "1" hides in the notification area
    // The settings dialog reads the same texts as integers.
    EXPECT_FALSE(profileBooleanRead(kConfigSection, kConfigAcadActiveF, true));
    EXPECT_TRUE(profileBooleanRead(kConfigSection, kConfigAcadEndMessage, true));
    EXPECT_TRUE(profileBooleanRead(kConfigSection, kConfigTrayIcon, false));

    testIniWrite("[APP-CONFIG]\r\nCONFIG-TRAYICON=1\r\n");
    EXPECT_TRUE(trayIconOptionOn());
    testIniWrite("[APP-CONFIG]\r\nCONFIG-TRAYICON=\r\n");
    EXPECT_FALSE(trayIconOptionOn());
}

TEST_F(Settings, PresentEmptyTextIsNotAbsent) {
    testIniWrite("[APP-CONFIG]\r\nCONFIG-SAVEFOLDER1=\r\n");
    EXPECT_EQ(profileTextRead(kConfigSection, kConfigSaveFolder1), std::optional<std::string>(""));
    EXPECT_EQ(profileTextRead(kConfigSection, kConfigSaveFolder2), std::nullopt);
    EXPECT_EQ(profileTextRead(kStatusSection, kConfigSaveFolder1), std::nullopt);
}

TEST_F(Settings, LongTextIsCutAtACharacterBoundary) {
    // 2047 bytes are seen: 1023 characters あ and the lead byte of the 1024th, which is dropped.
    std::string value;
    for (int i = 0; i < 1500; ++i) value += kA;
    testIniWrite("[APP-CONFIG]\r\nCONFIG-SAVEFOLDER2=" + value + "\r\n");
    std::optional<std::string> read = profileTextRead(kConfigSection, kConfigSaveFolder2);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(*read == value.substr(0, 2046)) << read->size() << " bytes";
    // With one byte in front the 2047 bytes end on a whole character.
    testIniWrite("[APP-CONFIG]\r\nCONFIG-SAVEFOLDER2=x" + value + "\r\n");
    read = profileTextRead(kConfigSection, kConfigSaveFolder2);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(*read == ("x" + value).substr(0, 2047)) << read->size() << " bytes";
}

TEST_F(Settings, BrokenFilesReadAsDefaults) {
    const std::string broken[] = {
        "[APP-STATUS",                                   // truncated section line
        "[APP-STATUS]\r\nMAIN-WIDTH",                    // truncated key line
        "MAIN-WIDTH=512\r\n",                            // key outside any section
        std::string("\0\0\0\xFF\xFE garbage \x82", 14),  // binary bytes, a lead byte at the end
        "[APP-STATUS]\r\nMAIN-WIDTH=5\x82",              // a lead byte at the very end
    };
    for (const std::string& bytes : broken) {
        testIniWrite(bytes);
        EXPECT_EQ(profileIntegerRead(kStatusSection, kMainWidth, 290), 290) << bytes;
        EXPECT_TRUE(profileBooleanRead(kStatusSection, kMainSetForground, true)) << bytes;
        EXPECT_EQ(configValueRead(kConfigTrayIcon), "") << bytes;
    }
}

TEST_F(Settings, RefusedWriteRaisesTheErrorWithTheFilePath) {
    // A folder in the place of the file: no write can succeed, whatever the account may do.
    folderCreate(iniFilePath());
    const std::string expected = iniFilePath() + " \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1";  // に書き込めません
    try {
        profileIntegerWrite(kStatusSection, kMainWidth, 400);
        FAIL() << "write reported success";
    } catch (const AppError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
    EXPECT_THROW(profileBooleanWrite(kConfigSection, kConfigTrayIcon, true), AppError);
    EXPECT_THROW(profileTextWrite(kConfigSection, kConfigSaveFolder1, "C:\\lib"), AppError);
}

TEST_F(Settings, ReadOnlyFileRefusesTheWriteAndKeepsItsBytes) {
    const std::string original = "[APP-STATUS]\r\nMAIN-WIDTH=500\r\n";
    testIniWrite(original);
    ASSERT_TRUE(::SetFileAttributesA(iniFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = ::CreateFileA(iniFilePath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        GTEST_SKIP() << "this account may write read-only files (Wine run as root)";
    }
    EXPECT_THROW(profileIntegerWrite(kStatusSection, kMainWidth, 600), AppError);
    EXPECT_THROW(profileIntegerWrite(kStatusSection, kMainHeight, 600), AppError);
    EXPECT_EQ(testIniRead(), original);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainWidth, 290), 500);
}

TEST_F(Settings, LineBreakInTextIsRefusedBeforeItSplitsTheFile) {
    profileIntegerWrite(kStatusSection, kMainWidth, 500);
    const std::string before = testIniRead();
    EXPECT_THROW(profileTextWrite(kConfigSection, kConfigSaveFolder1, "C:\\lib\r\n[APP-STATUS]\r\nMAIN-WIDTH=1"),
                 AppError);
    EXPECT_THROW(profileTextWrite(kConfigSection, kConfigSaveFolder1, "C:\\lib\nx"), AppError);
    EXPECT_THROW(profileTextWrite(kConfigSection, kConfigSaveFolder1, std::string("C:\\lib\0x", 8)), AppError);
    EXPECT_EQ(testIniRead(), before);
    EXPECT_EQ(profileIntegerRead(kStatusSection, kMainWidth, 290), 500);
}

TEST_F(Settings, BothRecordsWriteExactlyTheseBytes) {
    // A fresh file as closing the main window and then the settings dialog's OK leave it; the second round
    // rewrites every key in place.
    const std::string expected =
        "[APP-STATUS]\r\n"
        "MAIN-SELECTGROUP=2\r\n"
        "MAIN-WIDTH=310\r\n"
        "MAIN-HEIGHT=300\r\n"
        "MAIN-TOP=100\r\n"
        "MAIN-LEFT=-8\r\n"
        "EDHITER-WIDTH=700\r\n"
        "EDHITER-HEIGHT=530\r\n"
        "EDHITER-TOP=50\r\n"
        "EDHITER-LEFT=50\r\n"
        "MAIN-SETFORGROUND=0\r\n"
        "MAIN-ZUMENSTATUS=3\r\n"
        "[APP-CONFIG]\r\n"
        "CONFIG-ACADACTIVE-O=1\r\n"
        "CONFIG-ACADACTIVE-F=0\r\n"
        "CONFIG-ACADENDMESSAGE=1\r\n"
        "CONFIG-TRAYICON=1\r\n"
        "CONFIG-SAVEFOLDER1=C:\\" + kHyoji + "\r\n"
        "CONFIG-SAVEFOLDER2=\r\n";
    WindowStatus status;
    status.mainWidth = 310;
    status.mainLeft = -8;
    status.mainSetForground = false;
    status.mainZumenStatus = 3;
    ConfigOptions options;
    options.acadActiveF = false;
    options.trayIcon = true;
    options.saveFolder1 = "C:\\" + kHyoji;
    options.saveFolder2 = "";
    for (int round = 0; round < 2; ++round) {
        profileIntegerWrite(kStatusSection, kMainSelectGroup, 2);
        windowStatusWrite(status);
        configOptionsWrite(options);
        EXPECT_EQ(testIniRead(), expected) << "round " << round;
    }
    const WindowStatus back = windowStatusRead();
    EXPECT_EQ(back.mainLeft, -8);
    EXPECT_EQ(back.mainZumenStatus, 3);
    EXPECT_FALSE(back.mainSetForground);
    const ConfigOptions again = configOptionsRead();
    EXPECT_FALSE(again.acadActiveF);
    EXPECT_TRUE(again.trayIcon);
    EXPECT_EQ(again.saveFolder1, "C:\\" + kHyoji);
    EXPECT_EQ(again.saveFolder2, "");
}

}  // namespace
