// Starting the AutoCAD stand-in from a test, waiting for it, and reading its transcript and state.
#include "StandinClient.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

using win::UniqueHandle;

namespace {

std::string fileText(const std::string& path) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    return text;
}

std::string tempFile(const char* prefix) {
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    if (!::GetTempPathA(MAX_PATH, folder) || !::GetTempFileNameA(folder, prefix, 0, path)) {
        throw std::runtime_error("AcadStandin: no temporary file");
    }
    return path;
}

// The value after "<key> " on its own line of the state text, or "".
std::string stateField(const std::string& state, const std::string& key) {
    const std::string head = key + " ";
    std::size_t pos = 0;
    while (pos < state.size()) {
        std::size_t end = state.find('\n', pos);
        if (end == std::string::npos) end = state.size();
        if (state.compare(pos, head.size(), head) == 0) return state.substr(pos + head.size(), end - pos - head.size());
        pos = end + 1;
    }
    return {};
}

bool complete(const std::string& state) {
    return state.size() >= 4 && state.compare(state.size() - 4, 4, "END\n") == 0;
}

HWND handleFrom(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text.c_str(), nullptr, 10)));
}

}  // namespace

AcadStandin::AcadStandin(StandinOptions options) : options_(std::move(options)) {
    if (options_.transcriptPath.empty()) {
        options_.transcriptPath = tempFile("trn");
        ownTranscript_ = true;
    }
    transcriptPath_ = options_.transcriptPath;
    ownState_ = options_.statePath.empty();
    statePath_ = ownState_ ? tempFile("stt") : options_.statePath;
    options_.statePath = statePath_;
    ::DeleteFileA(statePath_.c_str());  // a state file appears only when the stand-in is up

    std::string commandLine = standin::quoteArgument(CANOPIA_STANDIN_EXE) + " " + standin::argumentsFor(options_);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        removeFiles();
        throw std::runtime_error("AcadStandin: cannot start " + std::string(CANOPIA_STANDIN_EXE));
    }
    process_.reset(pi.hProcess);
    processId_ = pi.dwProcessId;
    UniqueHandle thread(pi.hThread);  // not needed
    for (int i = 0; i < 1000; ++i) {  // up to 20 s: the first start of a Wine prefix is slow
        const std::string state = stateRead();
        if (complete(state)) {
            const std::string windows = stateField(state, "WINDOWS");
            const std::size_t a = windows.find(' ');
            const std::size_t b = windows.find(' ', a + 1);
            window_ = handleFrom(windows.substr(0, a));
            if (a != std::string::npos) second_ = handleFrom(windows.substr(a + 1, b - a - 1));
            if (b != std::string::npos) text_ = handleFrom(windows.substr(b + 1));
            if (window_) return;
        }
        if (::WaitForSingleObject(process_.get(), 20) == WAIT_OBJECT_0) break;
    }
    stop();
    removeFiles();
    throw std::runtime_error("AcadStandin: the stand-in did not come up");
}

AcadStandin::~AcadStandin() {
    stop();
    removeFiles();
}

void AcadStandin::removeFiles() {
    if (ownTranscript_) ::DeleteFileA(transcriptPath_.c_str());
    if (ownState_) ::DeleteFileA(statePath_.c_str());
}

void AcadStandin::stop() {
    if (!process_) return;
    if (window_) ::PostMessageA(window_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
    process_.reset();
}

bool AcadStandin::waitExit(unsigned timeoutMs) {
    return !process_ || ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

std::string AcadStandin::stateRead() const {
    for (int i = 0; i < 50; ++i) {  // the stand-in may be halfway through rewriting it
        std::string state = fileText(statePath_);
        if (complete(state)) return state;
        ::Sleep(2);
    }
    return {};
}

bool AcadStandin::sync(unsigned timeoutMs) {
    if (!process_ || !window_) return false;
    const unsigned cookie = ++syncCookie_;
    if (!::PostMessageA(window_, standin::kSyncMessage, 0, static_cast<LPARAM>(cookie))) return false;
    const DWORD start = ::GetTickCount();
    for (;;) {
        const std::string count = stateField(stateRead(), "SYNC");
        if (!count.empty() && std::strtoul(count.c_str(), nullptr, 10) >= cookie) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        if (::WaitForSingleObject(process_.get(), 10) == WAIT_OBJECT_0) return false;
    }
}

std::vector<TranscriptEvent> AcadStandin::transcript() {
    sync();
    return transcriptRead(transcriptPath_);
}

std::string AcadStandin::variable(const std::string& name) {
    sync();
    return stateField(stateRead(), name);
}

std::string AcadStandin::commandLineText() {
    sync();
    std::string text;
    transcript::fromHex(stateField(stateRead(), "CMDLINE"), text);
    return text;
}

std::vector<TranscriptEvent> transcriptRead(const std::string& path) { return transcript::parse(fileText(path)); }
