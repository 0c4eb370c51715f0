// A running AutoCAD stand-in and the command strings it received, behind a header free of handle wrappers
// (the stand-in's and the windows' own would meet in one file otherwise).
#pragma once

#include <memory>
#include <string>
#include <vector>

class AcadStandin;

class StandinRecording {
public:
    StandinRecording();
    ~StandinRecording();
    StandinRecording(const StandinRecording&) = delete;
    StandinRecording& operator=(const StandinRecording&) = delete;

    // The WM_COPYDATA bytes received so far, each with its closing NUL, in order.
    std::vector<std::string> received();

private:
    std::unique_ptr<AcadStandin> acad_;
};
