// SPDX-License-Identifier: GPL-3.0-or-later
// Measures what the player feels on Windows (here: under Wine), side by side
// with a bare Win32 window of the same inner size with a menu bar of six
// entries. One kind per process, so that start-up is measured from the start:
//
//   win32_bench bare | game
//
// prints "<kind> <start-up ms> <peak working set kB> <pointer move us>":
//  1. start-up: from the process's creation to the end of the first painting
//     of the whole window (RedrawWindow with RDW_UPDATENOW, children too);
//  2. the process's peak working set after that;
//  3. a pointer move with the left button held: WM_MOUSEMOVE sent to the
//     inner area and the repaint it asks for done at once, the median of 20
//     batches of 360 moves round the vertex. The bare window repaints its
//     whole inner area on every move.
// bench/win32_bench.sh runs both kinds in turn and prints the medians.
#include "programs/Win32Game.h"
#include "platform/Design.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

constexpr int side = zirkulon::design::innerWidth / zirkulon::design::twipsPerPixel;

double millisecondsSinceStart() {
    FILETIME creation, exit, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](FILETIME time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(creation)) / 10000.0; // 100 ns ticks
}

LRESULT CALLBACK bareProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The bare window: 548 x 548 inner pixels under a six-entry menu bar.
HWND bareWindow(HINSTANCE instance) {
    WNDCLASSEXW bareClass{};
    bareClass.cbSize = sizeof bareClass;
    bareClass.lpfnWndProc = &bareProcedure;
    bareClass.hInstance = instance;
    bareClass.lpszClassName = L"BareWindow";
    RegisterClassExW(&bareClass);
    const HMENU bar = CreateMenu();
    for (const wchar_t* caption : {L"Neu", L"Genauigkeit", L"prüfen", L"Hilfe", L"Info", L"Ende"}) {
        AppendMenuW(bar, MF_STRING, 1, caption);
    }
    RECT frame{0, 0, side, side};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    const HWND hwnd = CreateWindowExW(0, L"BareWindow", L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, frame.right - frame.left,
                                      frame.bottom - frame.top, nullptr, bar, instance, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    return hwnd;
}

// Median microseconds of a pointer move with its repaint, over `area`.
double pointerMove(HWND area) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> batches;
    for (int batch = 0; batch < 20; ++batch) {
        QueryPerformanceCounter(&start);
        for (int degree = 0; degree < 360; ++degree) {
            const double angle = degree * std::numbers::pi / 180;
            const int x = side / 2 + static_cast<int>(std::lround(150 * std::cos(angle)));
            const int y = side / 2 - static_cast<int>(std::lround(150 * std::sin(angle)));
            SendMessageW(area, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
            UpdateWindow(area);
        }
        QueryPerformanceCounter(&end);
        batches.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                          static_cast<double>(frequency.QuadPart) / 360);
    }
    std::nth_element(batches.begin(), batches.begin() + 10, batches.end());
    return batches[10];
}

void report(const char* kind, double startup, HWND area) {
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    const double move = pointerMove(area);
    std::printf("%s %.1f %zu %.1f\n", kind, startup, memory.PeakWorkingSetSize / 1024, move);
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (argc > 1 && std::wcscmp(argv[1], L"bare") == 0) {
        const HWND hwnd = bareWindow(instance);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        report("bare", millisecondsSinceStart(), hwnd);
        return 0;
    }
    if (argc > 1 && std::wcscmp(argv[1], L"game") == 0) {
        zirkulon::Win32Game game(instance);
        game.start(SW_SHOWNORMAL);
        const HWND hwnd = game.form().handle();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        report("game", millisecondsSinceStart(), GetWindow(hwnd, GW_CHILD));
        return 0;
    }
    std::fputs("usage: win32_bench bare | game\n", stderr);
    return 2;
}
