// Motion to frame on Windows, from another process: a left drag on the
// view of a running program (found by its caption), with each motion
// message sent rather than posted, so that SendMessage returns only when
// the view's handler has drawn its frame and glFinish has returned. Prints
// the median and the 99th percentile of those round trips, in
// microseconds. Usage: bench_win32_motion.exe CAPTION COUNT

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/control_ids.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    // The dialog exists, hidden, before its controls do: wait for the view.
    HWND dialog = nullptr, view = nullptr;
    for (int i = 0; i < 400 && !view; ++i) {
        dialog = FindWindowA(nullptr, argv[1]);
        view = dialog ? GetDlgItem(dialog, ID_VIEW) : nullptr;
        if (!view) Sleep(50);
    }
    if (!view) return 1;
    Sleep(300);
    int count = std::atoi(argv[2]);
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    std::vector<double> us;
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
    for (int i = 1; i <= count; ++i) {
        int step = i % 400, dx = step < 200 ? step : 400 - step;
        QueryPerformanceCounter(&t0);
        SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60 + dx, 60 + i % 50));
        QueryPerformanceCounter(&t1);
        us.push_back(double(t1.QuadPart - t0.QuadPart) * 1e6 / double(freq.QuadPart));
    }
    SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(60, 60));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    std::sort(us.begin(), us.end());
    std::printf("median %.1f p99 %.1f\n", us[us.size() / 2], us[std::min(us.size() - 1, us.size() * 99 / 100)]);
    return 0;
}
