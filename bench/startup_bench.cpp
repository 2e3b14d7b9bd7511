// startup_bench.exe: how long zelto.exe takes from its start to a painted
// main window, as the median of several starts after a warm-up start (so a
// cold wineserver is not counted).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "program_driver.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One start: until the main window shows its background picture. Negative
// when the window never came.
double TimeOneStart(const std::string& program) {
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    test_support::Program zelto(program, "");
    HWND main = zelto.WaitForWindowOfClass("OrvantaZqControlCenter", 20000);
    if (!main) return -1;
    // Painted means the background picture is on the screen: a point near the
    // home view's top left shows its deep blue, not the plain dialog colour
    // nor the empty screen.
    HWND view = GetDlgItem(main, 0xE900);
    POINT probe = {100, 12};
    if (view) ClientToScreen(view, &probe);
    for (int tries = 0; view && tries < 5000; ++tries) {
        // The screen, not the window: another process's window surface is
        // its own.
        HDC dc = GetDC(nullptr);
        COLORREF colour = GetPixel(dc, probe.x, probe.y);
        ReleaseDC(nullptr, dc);
        if (colour != CLR_INVALID && GetBValue(colour) > GetRValue(colour) + 40) break;
        Sleep(1);
    }
    QueryPerformanceCounter(&shown);
    PostMessageA(main, WM_CLOSE, 0, 0);
    zelto.WaitForExit(10000);
    return Milliseconds(start, shown);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--starts")) runs = std::max(1, std::atoi(argv[i + 1]));
    }
    std::string program = test_support::ProgramFolder() + "\\zelto.exe";
    if (TimeOneStart(program) < 0) {
        std::fprintf(stderr, "startup_bench: zelto.exe showed no main window\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double time = TimeOneStart(program);
        if (time < 0) {
            std::fprintf(stderr, "startup_bench: zelto.exe showed no main window\n");
            return 1;
        }
        times.push_back(time);
    }
    std::sort(times.begin(), times.end());
    std::printf("| start-up to the painted main window | %d starts | median %.0f ms | min %.0f ms | max %.0f ms |\n",
                runs, times[times.size() / 2], times.front(), times.back());
    return 0;
}
