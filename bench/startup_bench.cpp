// startup_bench.exe: how long zelto.exe takes from its start to a painted
// main window, beside bare_window.exe, the least program that shows a painted
// window with the same picture, and bare_window_loaded.exe, which does the
// same after the system work the control center's start-up has to do (its
// system libraries, its configuration load's calls). Each gets a warm-up
// start (so a cold wineserver or file cache is not counted), then they start
// in turns, the first of each round changing every round. Each start is
// timed to two points: its main window on the screen, and its picture
// painted there.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "program_driver.h"
#include "timing.h"

namespace {

struct Subject {
    const char* name;
    std::string path;
    const char* windowClass;
    // The child window that shows the picture; 0 for the main window itself.
    int pictureItem;
    std::string arguments;
};

struct Start {
    double shown = 0;
    double painted = 0;
};

// The subject's visible top-level window of its class, if there is one yet.
HWND FindMainWindow(const Subject& subject, DWORD processId) {
    for (HWND window = FindWindowExA(nullptr, nullptr, subject.windowClass, nullptr); window;
         window = FindWindowExA(nullptr, window, subject.windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Painted means the picture is on the screen: a point near its top left
// shows its deep blue, not the plain window colour nor the empty screen.
bool PicturePainted(HWND main, int pictureItem) {
    HWND picture = pictureItem ? GetDlgItem(main, pictureItem) : main;
    if (!picture) return false;
    POINT probe = {100, 12};
    ClientToScreen(picture, &probe);
    // The screen, not the window: another process's window surface is its own.
    HDC dc = GetDC(nullptr);
    COLORREF colour = GetPixel(dc, probe.x, probe.y);
    ReleaseDC(nullptr, dc);
    return colour != CLR_INVALID && GetBValue(colour) > GetRValue(colour) + 40;
}

// One start, polled every millisecond; false when the window or its picture
// never came. The program is closed again before this returns.
bool TimeOneStart(const Subject& subject, Start& start, RECT* outer = nullptr) {
    std::string commandLine = "\"" + subject.path + "\"";
    if (!subject.arguments.empty()) commandLine += " " + subject.arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    bench::Stopwatch watch;
    if (!CreateProcessA(subject.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    HWND main = nullptr;
    bool painted = false;
    while (watch.Milliseconds() < 20000 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        if (!main) {
            main = FindMainWindow(subject, process.dwProcessId);
            if (main) start.shown = watch.Milliseconds();
        }
        if (main && PicturePainted(main, subject.pictureItem)) {
            start.painted = watch.Milliseconds();
            painted = true;
            break;
        }
        Sleep(1);
    }
    if (main && outer) GetWindowRect(main, outer);
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return painted;
}

[[noreturn]] void Fail(const Subject& subject) {
    std::fprintf(stderr, "startup_bench: %s showed no painted main window\n", subject.name);
    std::exit(1);
}

void PrintRow(const char* name, int starts, const bench::Spread& shown, const bench::Spread& painted,
              const char* ratio) {
    std::printf("| %s | %d | %.0f (%.0f..%.0f) | %.0f | %.0f..%.0f | %s |\n", name, starts, shown.median, shown.min,
                shown.max, painted.median, painted.min, painted.max, ratio);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--starts")) runs = std::max(1, std::atoi(argv[i + 1]));
    }
    const std::string folder = test_support::ProgramFolder();
    std::vector<Subject> subjects = {
        {"`zelto.exe`", folder + "\\zelto.exe", "OrvantaZqControlCenter", 0xE900, ""},
        {"`bare_window.exe`", folder + "\\bare_window.exe", "BareWindow", 0, ""},
        {"`bare_window_loaded.exe`", folder + "\\bare_window_loaded.exe", "BareWindow", 0, ""},
    };

    // The warm-up starts; the bare windows take the control center's size,
    // so all paint about as much of the screen.
    Start start;
    RECT outer = {};
    if (!TimeOneStart(subjects[0], start, &outer)) Fail(subjects[0]);
    for (size_t i = 1; i < subjects.size(); ++i) {
        subjects[i].arguments =
            "--size " + std::to_string(outer.right - outer.left) + " " + std::to_string(outer.bottom - outer.top);
        if (!TimeOneStart(subjects[i], start)) Fail(subjects[i]);
    }

    // In turns, the first of each round moving on by one.
    std::vector<std::vector<double>> shown(subjects.size()), painted(subjects.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t turn = 0; turn < subjects.size(); ++turn) {
            const size_t which = (turn + run) % subjects.size();
            if (!TimeOneStart(subjects[which], start)) Fail(subjects[which]);
            shown[which].push_back(start.shown);
            painted[which].push_back(start.painted);
        }
    }

    std::printf(
        "| program | starts | window shown, ms: median (min..max) | painted, ms: median | min..max | "
        "zelto/program |\n|---|---:|---:|---:|---|---:|\n");
    const double zelto = bench::SpreadOf(painted[0]).median;
    for (size_t i = 0; i < subjects.size(); ++i) {
        const bench::Spread spread = bench::SpreadOf(painted[i]);
        char ratio[16] = "";
        if (i > 0) std::snprintf(ratio, sizeof ratio, "%.2f", zelto / spread.median);
        PrintRow(subjects[i].name, runs, bench::SpreadOf(shown[i]), spread, ratio);
    }
    std::printf("\n(window %ldx%ld)\n", outer.right - outer.left, outer.bottom - outer.top);
    return 0;
}
