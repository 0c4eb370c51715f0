// Starting and stopping the AutoCAD stand-in from a test, and reading what it received.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "StandinOptions.h"
#include "Transcript.h"
#include "win/WinHandles.h"

// One running stand-in. The constructor returns once its windows exist (throws std::runtime_error
// when it cannot start); the destructor ends it.
class AcadStandin {
public:
    explicit AcadStandin(StandinOptions options = {});
    ~AcadStandin();
    AcadStandin(const AcadStandin&) = delete;
    AcadStandin& operator=(const AcadStandin&) = delete;

    // Ends the stand-in (closes its window, waits, kills it if it does not go). Idempotent.
    void stop();
    // Waits up to `timeoutMs` for the stand-in to end by itself (--crash-at); true when it has.
    bool waitExit(unsigned timeoutMs);

    HWND window() const { return window_; }
    HWND secondWindow() const { return second_; }
    HWND textWindow() const { return text_; }
    DWORD processId() const { return processId_; }
    const std::string& transcriptPath() const { return transcriptPath_; }

    // Waits until the stand-in has handled everything posted or sent to it so far (at most
    // `timeoutMs`); false when it did not get there in time.
    bool sync(unsigned timeoutMs = 20000);

    // sync(), then the transcript so far.
    std::vector<TranscriptEvent> transcript();

    // sync(), then the current value of SDI, FILEDIA or OSNAPCOORD as the stand-in holds it ("" unknown).
    std::string variable(const std::string& name);

    // sync(), then the text its "Headlands" window shows.
    std::string commandLineText();

private:
    std::string stateRead() const;
    void removeFiles();

    StandinOptions options_;
    std::string transcriptPath_;
    std::string statePath_;
    bool ownTranscript_ = false;  // made here, so removed here
    bool ownState_ = false;
    win::UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    HWND second_ = nullptr;
    HWND text_ = nullptr;
    unsigned syncCookie_ = 0;
};

// The events of a transcript file, in order.
std::vector<TranscriptEvent> transcriptRead(const std::string& path);
