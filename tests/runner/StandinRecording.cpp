// The stand-in for the window tests.
#include "StandinRecording.h"

#include "StandinClient.h"

StandinRecording::StandinRecording() : acad_(std::make_unique<AcadStandin>()) {}

StandinRecording::~StandinRecording() = default;

std::vector<std::string> StandinRecording::received() {
    std::vector<std::string> strings;
    for (const TranscriptEvent& e : acad_->transcript()) {
        if (e.kind == TranscriptEvent::Kind::CopyData) strings.push_back(e.bytes);
    }
    return strings;
}
