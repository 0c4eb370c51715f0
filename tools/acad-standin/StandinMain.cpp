// acad-standin.exe: a stand-in for a running AutoCAD with exactly what Canopia relies on. A top-level
// window titled "AutoCAD ..." with an "Afx:" class takes WM_COPYDATA as typed command-line text; its
// descendants "MountTam" and "Headlands" hold the command line, "Headlands" answering WM_GETTEXT with
// the last prompt lines while its window-manager name stays "Headlands". Everything received is
// written to a transcript; windows, variables and sync count to a state file. OPEN sets the title to the
// drawing it names, CLOSE puts the first title back.
//
//   acad-standin.exe [--title=T] [--class=C] [--sdi=0..3] [--filedia=0..1] [--osnapcoord=0..2]
//                    [--no-mounttam] [--second-window[=T]] [--text-window]
//                    [--hang=SECONDS | --hang-ms=MS] [--hang-from=K] [--transcript=PATH] [--state=PATH]
//                    [--script-pace=MS] [--crash-at=K] [--elevated]
//
//   --script-pace  a script read by SCRIPT is typed a line every MS milliseconds instead of all at once
//   --crash-at     the process ends at once, as in a crash, at the K-th drawing opened; with a pace, one pace
//                  after it opened (its title named the drawing meanwhile)
//   --elevated     the main windows bear the mark that makes Canopia's UIPI emulation refuse to send to them
//                  (see CommandChannel.h); what still arrives is taken as usual
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "StandinConsole.h"
#include "StandinOptions.h"
#include "Transcript.h"
#include "acad/CommandChannel.h"
#include "win/WinHandles.h"

using namespace standin;
using win::SelectGuard;
using win::UniqueBrush;
using win::UniqueFont;
using win::UniqueHandle;

namespace {

constexpr int kLineHeight = 16;
constexpr int kFrameLines = 9;      // history lines shown in the command-line frame
constexpr int kHeadlandsLines = 3;  // of which the "Headlands" window shows the last ones

const char kFrameClass[] = "CanopiaStandinCommandBar";
const char kLineClass[] = "CanopiaStandinCommandLine";
const char kTextWindowClass[] = "Afx:400000:0:10011:10:0";
constexpr UINT_PTR kPaceTimer = 1;

struct Instance {
    int index = 0;  // 0 the main window, 1 the second match, 2 the text window
    HWND main = nullptr;
    HWND frame = nullptr;
    HWND line = nullptr;
    std::unique_ptr<StandinConsole> console;
};

StandinOptions options;
Instance instances[3];
UniqueFont font;
unsigned copyDataCount = 0;
unsigned syncCount = 0;
unsigned drawingsOpened = 0;
bool crashDue = false;  // paced: the crash comes with the next tick

UniqueHandle openShared(const std::string& path) {
    return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueHandle transcriptFile;

// Each event goes to the file at once: a test may read it while the stand-in runs.
void transcriptWrite(const std::string& line) {
    if (!transcriptFile) return;
    DWORD written = 0;
    ::WriteFile(transcriptFile.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string handleText(HWND window) { return std::to_string(reinterpret_cast<uintptr_t>(window)); }

// Rewritten whole after every change; the closing "END" tells a reader it saw all of it.
void stateWrite() {
    if (options.statePath.empty()) return;
    const Instance& first = instances[0];
    std::string text = "WINDOWS " + handleText(instances[0].main) + " " + handleText(instances[1].main) + " " +
                       handleText(instances[2].main) + "\n";
    text += "SYNC " + std::to_string(syncCount) + "\n";
    if (first.console) {
        for (const char* name : {"SDI", "FILEDIA", "OSNAPCOORD"}) {
            text += std::string(name) + " " + std::to_string(first.console->variable(name)) + "\n";
        }
        text += "CMDLINE " + transcript::toHex(first.console->commandLineText(kHeadlandsLines)) + "\n";
    }
    text += "END\n";
    UniqueHandle file = openShared(options.statePath);
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool fileRead(const std::string& path, std::string& content) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    content.clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
        content.append(buffer, got);
    }
    return ok;
}

Instance* instanceOf(HWND window) {
    for (Instance& in : instances) {
        if (in.main == window || (in.main && (in.frame == window || in.line == window))) return &in;
    }
    return nullptr;
}

void paintLines(HDC dc, const RECT& area, const std::vector<std::string>& lines, COLORREF back, COLORREF fore) {
    UniqueBrush brush(::CreateSolidBrush(back));
    ::FillRect(dc, &area, brush.get());
    SelectGuard selected(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, fore);
    int y = area.bottom - 2 - kLineHeight * static_cast<int>(lines.size());
    for (const std::string& line : lines) {
        ::TextOutA(dc, area.left + 4, y, line.data(), static_cast<int>(line.size()));
        y += kLineHeight;
    }
}

// The last `count` lines of the history plus the line being typed, `skip` newest ones left out.
std::vector<std::string> shownLines(const StandinConsole& console, std::size_t count, std::size_t skip) {
    std::vector<std::string> all = console.history();
    all.push_back(console.currentLine());
    const std::size_t end = all.size() > skip ? all.size() - skip : 0;
    const std::size_t begin = end > count ? end - count : 0;
    return std::vector<std::string>(all.begin() + begin, all.begin() + end);
}

LRESULT CALLBACK lineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Instance* in = instanceOf(window);
    switch (message) {
    // The content is answered here; DefWindowProc would answer with the window-manager name.
    case WM_GETTEXTLENGTH:
        return in && in->console ? static_cast<LRESULT>(in->console->commandLineText(kHeadlandsLines).size()) : 0;
    case WM_GETTEXT: {
        if (!in || !in->console || wParam == 0) return 0;
        const std::string text = in->console->commandLineText(kHeadlandsLines);
        const std::size_t n = text.size() < wParam - 1 ? text.size() : wParam - 1;
        char* out = reinterpret_cast<char*>(lParam);
        memcpy(out, text.data(), n);
        out[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETTEXT:
        return TRUE;  // the name stays "Headlands"
    case WM_PAINT: {
        win::PaintScope paint(window);
        RECT r;
        ::GetClientRect(window, &r);
        if (in && in->console) {
            paintLines(paint.dc(), r, shownLines(*in->console, kHeadlandsLines, 0), RGB(255, 255, 255), RGB(0, 0, 0));
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Instance* in = instanceOf(window);
    switch (message) {
    case WM_PAINT: {
        win::PaintScope paint(window);
        RECT r;
        ::GetClientRect(window, &r);
        r.bottom -= kHeadlandsLines * kLineHeight + 10;
        if (in && in->console) {
            paintLines(paint.dc(), r, shownLines(*in->console, kFrameLines - kHeadlandsLines, kHeadlandsLines),
                       RGB(236, 236, 236), RGB(64, 64, 64));
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        if (in && in->line) {
            const int w = LOWORD(lParam), h = HIWORD(lParam);
            const int lineHeight = kHeadlandsLines * kLineHeight + 8;  // lines, margin and sunken edge
            ::MoveWindow(in->line, 2, h - lineHeight - 2, w - 4, lineHeight, TRUE);
        }
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void repaint(Instance& in) {
    if (in.frame) ::InvalidateRect(in.frame, nullptr, FALSE);
    if (in.line) ::InvalidateRect(in.line, nullptr, FALSE);
}

void recordNull(const MSG& msg) {
    if (msg.message != WM_NULL || msg.hwnd == nullptr) return;
    if (Instance* in = instanceOf(msg.hwnd)) transcriptWrite(transcript::nullLine(in->index));
}

// A sent message is handled before anything posted, so the WM_NULL posted after the previous send may
// still wait in the queue. Taking the posted messages first keeps the transcript in the sender's order.
void takePosted() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        recordNull(msg);
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

LRESULT onCopyData(Instance& in, HWND window, WPARAM wParam, const COPYDATASTRUCT* record) {
    takePosted();
    ++copyDataCount;
    std::string bytes;
    if (record && record->lpData && record->cbData > 0) {
        bytes.assign(static_cast<const char*>(record->lpData), record->cbData);
    }
    transcriptWrite(transcript::copyDataLine(in.index, record ? static_cast<unsigned>(record->dwData) : 0,
                                             record ? record->cbData : 0,
                                             reinterpret_cast<HWND>(wParam) == window, bytes));
    if (options.hangMilliseconds > 0 && copyDataCount >= options.hangFrom) ::Sleep(options.hangMilliseconds);
    if (record && record->dwData == 1 && in.console) {
        in.console->type(bytes);  // stops at the NUL
        repaint(in);
    }
    stateWrite();
    return TRUE;
}

[[noreturn]] void crash() {
    // No clean-up at all: the windows vanish with the process, as when AutoCAD fails.
    ::TerminateProcess(::GetCurrentProcess(), 3);
    ::ExitProcess(3);
}

void drawingChange(Instance& in, const std::string& path) {
    const std::string title = path.empty() ? (in.index == 1 ? options.secondTitle : options.title)
                                           : standin::titleWithDrawing(options.title, path);
    ::SetWindowTextA(in.main, title.c_str());
    if (path.empty() || in.index != 0) return;
    ++drawingsOpened;
    if (options.crashAt == 0 || drawingsOpened != options.crashAt) return;
    if (options.scriptPaceMs == 0) crash();
    crashDue = true;
}

// A paced script: one line per tick.
void paceTick(Instance& in) {
    if (crashDue) crash();
    if (in.console && in.console->typeNextScriptLine()) {
        repaint(in);
        stateWrite();
    }
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Instance* in = instanceOf(window);
    if (!in) return ::DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_COPYDATA:
        return onCopyData(*in, window, wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_TIMER:
        if (wParam == kPaceTimer) paceTick(*in);
        return 0;
    case standin::kSyncMessage:
        if (static_cast<unsigned>(lParam) > syncCount) syncCount = static_cast<unsigned>(lParam);
        stateWrite();
        return 0;
    case WM_SIZE:
        if (in->frame) {
            const int w = LOWORD(lParam), h = HIWORD(lParam);
            const int frameHeight = kFrameLines * kLineHeight + 16;
            ::MoveWindow(in->frame, 0, h - frameHeight, w, frameHeight, TRUE);
        }
        return 0;
    case WM_PAINT: {
        win::PaintScope paint(window);
        RECT r;
        ::GetClientRect(window, &r);
        UniqueBrush brush(::CreateSolidBrush(RGB(33, 40, 48)));  // the drawing area
        ::FillRect(paint.dc(), &r, brush.get());
        return 0;
    }
    case WM_CLOSE:
        if (in->index != 0) break;
        // Destroying the windows first costs two seconds under Wine; the transcript is complete, so
        // the process simply ends and the system takes its windows away.
        transcriptFile.reset();
        ::ExitProcess(0);
    case WM_DESTROY:
        if (in->index == 0) ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

bool registerClass(const char* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool createInstance(Instance& in, int index, const std::string& className, const std::string& title, int x, int y) {
    in.index = index;
    in.console = std::make_unique<StandinConsole>(options.sdi, options.filedia, options.osnapcoord);
    in.console->setFileReader(fileRead);
    in.console->setScriptObserver([](const std::string& path, const std::string& content) {
        transcriptWrite(transcript::scriptLine(path, content));
    });
    in.console->setVariableObserver([index](const std::string& name, int value) {
        if (index == 0) transcriptWrite(transcript::setLine(name, std::to_string(value)));
    });
    in.console->setDrawingObserver([&in](const std::string& path) { drawingChange(in, path); });
    in.console->setScriptPaced(options.scriptPaceMs > 0);
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    in.main = ::CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, 720,
                                460, nullptr, nullptr, module, nullptr);
    if (!in.main) return false;
    in.frame = ::CreateWindowExA(0, kFrameClass, options.mountTam ? "MountTam" : "CommandBar",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10, 10, in.main, nullptr, module, nullptr);
    in.line = ::CreateWindowExA(WS_EX_CLIENTEDGE, kLineClass, "Headlands", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, in.frame,
                                nullptr, module, nullptr);
    if (!in.frame || !in.line) return false;
    if (options.elevated) ::SetPropA(in.main, kElevatedMark, reinterpret_cast<HANDLE>(1));
    if (options.scriptPaceMs > 0) ::SetTimer(in.main, kPaceTimer, options.scriptPaceMs, nullptr);
    RECT r;
    ::GetClientRect(in.main, &r);
    ::SendMessageA(in.main, WM_SIZE, 0, MAKELPARAM(r.right, r.bottom));
    ::ShowWindow(in.main, SW_SHOWNOACTIVATE);
    return true;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "acad-standin: %s\n", message.c_str());
    return 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<std::string> args = standin::splitCommandLine(::GetCommandLineA());
    if (!args.empty()) args.erase(args.begin());
    std::string error;
    if (!standin::parseArguments(args, options, error)) return fail(error);

    if (!options.transcriptPath.empty()) {
        transcriptFile = openShared(options.transcriptPath);
        if (!transcriptFile) return fail("cannot write " + options.transcriptPath);
    }
    font.reset(::CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック"));

    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    if (!registerClass(options.className.c_str(), mainProc, nullptr) || !registerClass(kFrameClass, frameProc, white) ||
        !registerClass(kLineClass, lineProc, white) || !registerClass(kTextWindowClass, mainProc, white)) {
        return fail("cannot register the window classes");
    }
    if (!createInstance(instances[0], 0, options.className, options.title, 40, 40)) return fail("cannot create windows");
    if (options.secondWindow &&
        !createInstance(instances[1], 1, options.className, options.secondTitle, 80, 80)) {
        return fail("cannot create the second window");
    }
    if (options.textWindow) {
        // AutoCAD's text window: same kind of title and class, but never the one to drive.
        Instance& t = instances[2];
        t.index = 2;
        t.main = ::CreateWindowExA(0, kTextWindowClass, "AutoCAD テキスト ウィンドウ - Drawing1.dwg",
                                   WS_OVERLAPPEDWINDOW, 120, 120, 480, 300, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        if (!t.main) return fail("cannot create the text window");
        ::ShowWindow(t.main, SW_SHOWNOACTIVATE);
    }
    stateWrite();

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Posted WM_NULLs are recorded here: a window procedure cannot tell them from sent ones.
        recordNull(msg);
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
