// The byte rules of the AutoCAD link: which window is AutoCAD's, the command strings, the markers.
#include "acad/AcadRules.h"

#include <gtest/gtest.h>

namespace {

const std::string kAfx = "Afx:400000:8:10011:0:0";
const std::string kFullWidthTextWindow =
    "\x83\x65\x83\x4C\x83\x58\x83\x67\x20\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45";  // テキスト ウィンドウ
const std::string kHalfWidthTextWindow = "\xC3\xB7\xBD\xC4\x20\xB3\xA8\xDD\xC4\xDE\xB3";  // ﾃｷｽﾄ ｳｨﾝﾄﾞｳ

struct WindowCase {
    const char* what;
    std::string title;
    std::string className;
    bool matches;
};

TEST(AcadRules, MainWindowIsRecognisedByTitleAndClass) {
    const WindowCase cases[] = {
        {"version and drawing", "AutoCAD 2004 - [Drawing1.dwg]", kAfx, true},
        {"title is just the word", "AutoCAD", "Afx:", true},
        {"Japanese drawing name", "AutoCAD 2004 - [\x95\x5C.dwg]", kAfx, true},  // 表, trail byte 0x5C
        {"class without Afx:", "AutoCAD 2004 - [Drawing1.dwg]", "AfxFrameOrView42", false},
        {"class Afx: not at the start", "AutoCAD 2004", "MyAfx:400000", false},
        {"class in other case", "AutoCAD 2004", "afx:400000", false},
        {"word later in the title", "Drawing1.dwg - AutoCAD", kAfx, false},
        {"leading blank", " AutoCAD 2004", kAfx, false},
        {"upper case", "AUTOCAD 2004", kAfx, false},
        {"lower case", "autocad 2004", kAfx, false},
        {"text window, full width", "AutoCAD " + kFullWidthTextWindow + " - Drawing1.dwg", kAfx, false},
        {"text window, half width", "AutoCAD " + kHalfWidthTextWindow + " - Drawing1.dwg", kAfx, false},
        {"text window phrase at the end", "AutoCAD 2004 - [" + kFullWidthTextWindow + "]", kAfx, false},
        {"half a phrase is no text window", "AutoCAD " + kFullWidthTextWindow.substr(0, 8), kAfx, true},
        {"empty title", "", kAfx, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(acad::isAcadMainWindow(c.title, c.className), c.matches) << c.what;
    }
}

TEST(AcadRules, TextWindowPhraseIsSoughtOnCharacterBoundaries) {
    // 0x83 as the trail byte of a double-byte character followed by "eL..." is not the phrase: the
    // title reads as other characters. The same bytes on a boundary are the phrase.
    const std::string straddling = std::string("AutoCAD \x81") + kFullWidthTextWindow;  // 0x81 0x83 is one character
    EXPECT_TRUE(acad::isAcadMainWindow(straddling, kAfx));
    const std::string aligned = std::string("AutoCAD \x81\x40") + kFullWidthTextWindow;  // 　 then the phrase
    EXPECT_FALSE(acad::isAcadMainWindow(aligned, kAfx));
}

TEST(AcadRules, SendOutcomeIsToldByWhatThePlatformAnswered) {
    using acad::SendOutcome;
    const struct {
        bool handled;
        unsigned long error;
        bool windowExists;
        SendOutcome outcome;
    } cases[] = {
        {true, 0, true, SendOutcome::Taken},
        {true, acad::kErrorAccessDenied, true, SendOutcome::Taken},  // an error left from before
        {true, 0, false, SendOutcome::Taken},                        // handled, then the window went
        {false, acad::kErrorAccessDenied, true, SendOutcome::Refused},
        {false, acad::kErrorAccessDenied, false, SendOutcome::Refused},
        {false, acad::kErrorInvalidWindowHandle, true, SendOutcome::NoWindow},
        {false, 0, false, SendOutcome::NoWindow},
        {false, 1460, false, SendOutcome::NoWindow},  // timed out because the window went away
        {false, 1460, true, SendOutcome::NotAnswered},  // ERROR_TIMEOUT
        {false, 0, true, SendOutcome::NotAnswered},     // hung: given up at once, no reason given
        {false, 87, true, SendOutcome::NotAnswered},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(acad::sendOutcomeOf(c.handled, c.error, c.windowExists), c.outcome)
            << c.handled << " " << c.error << " " << c.windowExists;
    }
}

TEST(AcadRules, CopyDataBufferIsTheStringAndOneNul) {
    auto zoom = acad::copyDataBuffer("zoom e\r");
    ASSERT_EQ(zoom.size(), 8u);  // cbData
    EXPECT_EQ(std::string(zoom.data(), 7), "zoom e\r");
    EXPECT_EQ(zoom.back(), '\0');

    auto empty = acad::copyDataBuffer("");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0], '\0');

    auto cancel = acad::copyDataBuffer(acad::cancelString());
    EXPECT_EQ(std::string(cancel.begin(), cancel.end()), std::string("\x03\x03\x00", 3));

    // A NUL inside the command is handed over as it is, in the one message.
    auto inner = acad::copyDataBuffer(std::string("a\0b", 3));
    EXPECT_EQ(inner.size(), 4u);
}

struct ReplyCase {
    const char* reply;
    const char* sdi;
    const char* osnapcoord;
    const char* filedia;
};

TEST(AcadRules, FirstMarkerOfTheListDecides) {
    const ReplyCase cases[] = {
        {"SDI \x82\xCC\x90\x56\x82\xB5\x82\xA2\x92\x6C\x82\xF0\x93\xFC\x97\xCD <1>: ", "1", "1", "1"},  // の新しい値を入力
        {"<0>", "0", "0", "0"},
        {"<2>", "0", "2", "0"},  // SDI 2 is not single-document mode
        {"<3>", "0", "0", "0"},
        {"<1> ... <2>", "1", "2", "1"},  // both markers: OSNAPCOORD takes "<2>" first
        {"<2>\r\n<1>", "1", "2", "1"},
        {"", "0", "0", "0"},
        {"1", "0", "0", "0"},
        {"< 1 >", "0", "0", "0"},
        {"[<1>] earlier text, then a new prompt <0>:", "1", "1", "1"},  // anywhere in the text
    };
    for (const auto& c : cases) {
        EXPECT_EQ(acad::sdiFromReply(c.reply), c.sdi) << c.reply;
        EXPECT_EQ(acad::osnapcoordFromReply(c.reply), c.osnapcoord) << c.reply;
        EXPECT_EQ(acad::filediaFromReply(c.reply), c.filedia) << c.reply;
    }
}

TEST(AcadRules, BeginsWithIsCaseSensitiveBytes) {
    EXPECT_TRUE(acad::beginsWith("Headlands", "Headlands"));
    EXPECT_TRUE(acad::beginsWith("Headlands2", "Headlands"));
    EXPECT_FALSE(acad::beginsWith("headlands", "Headlands"));
    EXPECT_FALSE(acad::beginsWith("Headland", "Headlands"));
    EXPECT_FALSE(acad::beginsWith(" MountTam", "MountTam"));
}

}  // namespace
