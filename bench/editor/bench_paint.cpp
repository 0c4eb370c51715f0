// Painting benchmark (Win32, run under Wine): a full screen of 50 rows x 120 columns of coloured script text
// painted through the painter with GDI, against the same visible characters drawn as plain ExtTextOutA calls,
// one per row, in the same run, on a window and on a memory bitmap; the same for the real TEditor window (a
// full repaint through its WM_PAINT); and the rows a scroll by one row and a typed character repaint, by the
// plans and by the real window. Run: cmake --build --preset win32 --target bench_paint_run
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "PaintTestSupport.h"
#include "editor/GdiSurface.h"
#include "editor/ScriptScheme.h"
#include "editor/TEditor.h"
#include "gdi/DibPicture.h"
#include "win/WinHandles.h"

using namespace editor;

namespace {

constexpr int kRows = 50;
constexpr int kColumns = 120;

// Script rows of exactly 120 columns: comment lines, tags, commands with a comment after them, Japanese names.
std::string scriptText() {
    const char* shapes[] = {
        ";",
        "_.OPEN \"[%FILEPATH%]\" ",
        "_.LAYER _M \x8A\x4F\x8D\x5C _C 3 ",                        // 外構
        "_.CHPROP _ALL  _C 1 ; \x90\x46\x82\xF0\x90\xD4\x82\xC9 ",  // 色を赤に
        "_.PLINE 0,0 100,0 100,100 ",
        "_.-INSERT [%FOLDER%]\\[%FILENAME%].dwg 0,0 1 1 0 ; ",
    };
    std::string text;
    for (int r = 0; r < kRows + 10; ++r) {
        std::string row = shapes[r % 6];
        for (int i = 0; row.size() < static_cast<std::size_t>(kColumns); ++i) row += std::to_string(r * 7 + i) + ",";
        row.resize(kColumns);
        text += row + "\r\n";
    }
    return text;
}

struct Clock {
    LARGE_INTEGER frequency{};
    Clock() { QueryPerformanceFrequency(&frequency); }
    double now() const {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
};

struct Timing {
    std::vector<double> samples;
    double median() {
        std::sort(samples.begin(), samples.end());
        return samples.empty() ? 0 : samples[samples.size() / 2];
    }
};

LRESULT CALLBACK quietProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_PAINT) {
        win::PaintScope paint(hwnd);  // validated only: the benchmark draws by itself
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The real TEditor window, configured as the script editor configures it, sized to 50 whole rows of 120
// columns: a full repaint through its WM_PAINT against plain ExtTextOutA of the same characters on its client
// area, and the rows its WM_PAINT draws after a scroll by one row and after a typed character.
int benchTEditor(int rounds, const std::string& text) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CanopiaPaintBenchHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 1000,
                                nullptr, nullptr, wc.hInstance, nullptr);
    TEditor edit;
    painttest::configureScriptEditor(edit.Display().Options());
    edit.SetColor(clBlack);
    editor::ApplyScriptScheme(edit.View(), true);
    HWND hwnd = edit.Create(host, 0, 0, 800, 600);
    const EditorLayout& l = edit.Core().Layout();
    // Client area of exactly 50 rows and 120 columns: the window adds its border and scroll bars.
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const int extraW = (window.right - window.left) - client.right, extraH = (window.bottom - window.top) - client.bottom;
    const int width = l.textLeft + kColumns * l.charWidth + l.charWidth / 2, height = l.textTop + kRows * l.rowHeight + 5;
    SetWindowPos(hwnd, nullptr, 0, 0, width + extraW, height + extraH, SWP_NOZORDER | SWP_NOMOVE);
    SetWindowTextA(hwnd, text.c_str());
    UpdateWindow(hwnd);
    for (int i = 0; i < 20; ++i) {
        pump();
        Sleep(10);
    }
    if (l.visibleRows != kRows || l.visibleCols != kColumns) {
        std::printf("TEditor layout is %d rows x %d columns, not %d x %d\n", l.visibleRows, l.visibleCols, kRows,
                    kColumns);
        return 1;
    }

    std::vector<std::string> rows;
    for (int r = 0; r < kRows; ++r) rows.emplace_back(edit.Core().Store().RowView(r));
    const std::vector<INT> dx(kColumns + 1, l.charWidth);
    GdiFonts plainFont;
    plainFont.Set(edit.Font());
    auto plain = [&] {
        win::WindowDC dc(hwnd);
        win::SelectGuard font(dc.get(), plainFont.Get(0));
        SetTextColor(dc.get(), RGB(255, 255, 255));
        SetBkColor(dc.get(), RGB(0, 0, 0));
        for (int r = 0; r < kRows; ++r) {
            const RECT rect{l.textLeft, l.textTop + r * l.rowHeight, width, l.textTop + (r + 1) * l.rowHeight};
            ExtTextOutA(dc.get(), rect.left, rect.top, ETO_OPAQUE | ETO_CLIPPED, &rect, rows[r].data(),
                        static_cast<UINT>(rows[r].size()), dx.data());
        }
        GdiFlush();
    };
    auto repaint = [&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        GdiFlush();
    };
    const Clock clock;
    repaint();
    plain();
    Timing mine, theirs;
    for (int i = 0; i < rounds; ++i) {
        double t = clock.now();
        repaint();
        mine.samples.push_back(clock.now() - t);
        t = clock.now();
        plain();
        theirs.samples.push_back(clock.now() - t);
    }
    const double a = mine.median() * 1000, b = theirs.median() * 1000;
    std::printf("%-16s WM_PAINT %7.3f ms   plain ExtTextOutA %7.3f ms   ratio %.2f (target at most 2.0)\n", "TEditor window",
                a, b, b > 0 ? a / b : 0.0);
    const int screen = edit.RowsPainted();

    SendMessageA(hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(hwnd);
    const int scrolled = edit.RowsPainted();
    SendMessageA(hwnd, WM_VSCROLL, SB_LINEUP, 0);
    UpdateWindow(hwnd);
    SetFocus(hwnd);
    edit.Core().SetCaretPos(20, 10);
    pump();
    UpdateWindow(hwnd);
    SendMessageA(hwnd, WM_CHAR, 'X', 1);
    UpdateWindow(hwnd);
    const int typed = edit.RowsPainted();
    std::printf("rows painted by the TEditor window: full screen %d, scroll by one row %d (target 1), a typed "
                "character %d (target 1)\n",
                screen, scrolled, typed);
    DestroyWindow(host);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 200;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
    }

    painttest::Scene scene(scriptText());
    GdiPainter painter;
    painter.SetFont(scene.options.Font);
    {
        win::WindowDC screen(nullptr);
        scene.metrics = painter.Metrics(screen.get());
    }
    // A client area of exactly 50 whole rows of 120 columns.
    const EditorLayout probe = scene.layout();
    scene.client.width = probe.textLeft + kColumns * probe.charWidth + probe.charWidth / 2;
    scene.client.height = probe.textTop + kRows * probe.rowHeight + 5;
    const PaintInput input = scene.input();
    const EditorLayout& l = input.layout;
    if (l.visibleRows != kRows || l.visibleCols != kColumns) {
        std::printf("layout is %d rows x %d columns, not %d x %d\n", l.visibleRows, l.visibleCols, kRows, kColumns);
        return 1;
    }
    const int width = scene.client.width, height = scene.client.height;

    WNDCLASSA wc{};
    wc.lpfnWndProc = quietProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CanopiaPaintBench";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "bench", WS_POPUP, 0, 0, width, height, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }

    // The plain way: every row's visible characters in one ExtTextOutA call, white on black, fixed advances.
    std::vector<std::string> rows;
    for (int r = 0; r < kRows; ++r) rows.emplace_back(scene.store.RowView(r));
    const std::vector<INT> dx(kColumns + 1, l.charWidth);
    GdiFonts plainFont;
    plainFont.Set(scene.options.Font);
    auto plain = [&](HDC dc) {
        win::SelectGuard font(dc, plainFont.Get(0));
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        for (int r = 0; r < kRows; ++r) {
            const RECT rect{l.textLeft, l.textTop + r * l.rowHeight, width, l.textTop + (r + 1) * l.rowHeight};
            ExtTextOutA(dc, rect.left, rect.top, ETO_OPAQUE | ETO_CLIPPED, &rect, rows[r].data(),
                        static_cast<UINT>(rows[r].size()), dx.data());
        }
        GdiFlush();
    };
    auto painted = [&](HDC dc) {
        painter.Paint(dc, input);
        GdiFlush();
    };

    const Clock clock;
    auto compare = [&](const char* where, HDC dc) {
        painted(dc);  // the first paint prepares the background bitmap and the fonts
        plain(dc);
        Timing mine, theirs;
        for (int i = 0; i < rounds; ++i) {  // alternated, so that both see the same machine
            double t = clock.now();
            painted(dc);
            mine.samples.push_back(clock.now() - t);
            t = clock.now();
            plain(dc);
            theirs.samples.push_back(clock.now() - t);
        }
        const double a = mine.median() * 1000, b = theirs.median() * 1000;
        std::printf("%-16s painter %7.3f ms   plain ExtTextOutA %7.3f ms   ratio %.2f (target at most 2.0)\n", where, a,
                    b, b > 0 ? a / b : 0.0);
    };
    std::printf("full screen of %d rows x %d columns of coloured script text, median of %d paints\n", kRows, kColumns,
                rounds);
    {
        win::WindowDC dc(hwnd);
        compare("on a window", dc.get());
    }
    {
        painttest::DibPicture dib(width, height);
        compare("in a DIB", dib.dc());
    }

    // Rows painted: a scroll by one row, and a typed character.
    EditorPainter counter;
    painttest::RecordingSurface ignored;
    PaintInput scrolled = input;
    scrolled.origin.topRow = 1;
    const PixelRepaint scroll = PlanTopRowChange(0, ViewGeometryOf(scrolled));
    int scrollRows = 0;
    for (const PixelRect& r : scroll.invalid) {
        scrolled.update = r;
        counter.Paint(ignored, scrolled);
        scrollRows += counter.RowsPainted();
    }
    counter.Paint(ignored, input);
    const int screenRows = counter.RowsPainted();
    struct Recorder : BasicEditorClient {
        ChangeRecord last;
        void StoreTextChanged(const ChangeRecord& change) override { last = change; }
    } editor;
    scene.store.Attach(&editor);
    std::string row(scene.store.RowView(20));
    row.insert(10, "X");
    scene.store.ReplaceRows(20, 1, row + "\r\n");
    PaintInput typed = scene.input();
    const EditRepaint plan = PlanEditRepaint(editor.last, scene.store.Count(), 0, l.visibleRows, nmRow);
    int typedRows = 0;
    for (const PixelRect& r : EditRepaintPixels(plan, ViewGeometryOf(typed)).invalid) {
        typed.update = r;
        counter.Paint(ignored, typed);
        typedRows += counter.RowsPainted();
    }
    scene.store.Detach(&editor);
    std::printf("rows painted by the plans: full screen %d, scroll by one row %d (target 1), a typed character %d "
                "(target 1)\n",
                screenRows, scrollRows, typedRows);
    DestroyWindow(hwnd);
    return benchTEditor(rounds, scriptText());
}
