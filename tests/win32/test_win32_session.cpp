// End to end on Windows: one long session with the real arrowbench.exe
// under Wine. COMMANDS rounds, each one command (the eight calculator
// commands and Redraw in turn) followed by a drag with a share of the
// MOTIONS motion messages. Every command's fields are checked, and at
// each tenth of the session the view's last frame must show the camera
// the drags so far give; the process's memory is read from outside at
// the same points and must not grow after the first tenth.
//
// Usage: test_win32_session.exe PATH\arrowbench.exe COMMANDS MOTIONS TRACE_FILE
// TRACE_FILE gets the glTranslated lines of Wine's OpenGL trace (one per
// frame: gluLookAt ends with the move to the eye); the test command
// filters this program's standard error into it.

#include <windows.h>
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/win32/app_process.h"
#include "tests/win32/wine_trace.h"
#include "view/view.h"

namespace {

constexpr int V1 = 1001, V2 = 1002, S1 = 1003, V3 = 1004, S2 = 1005, REDRAW = 2014;

const AppProcess* app;

std::string field(int id) {
    std::string t;
    if (!app->get(id, t)) return "<no answer>";
    return t;
}

// An integer as the fields write it: "0" for a zero of either sign.
std::string num(long long n) { return std::to_string(n); }

std::string vec(long long x, long long y, long long z) { return num(x) + " " + num(y) + " " + num(z); }

struct Round {
    int button;
    std::string v1, v2, s1;  // inputs ("" leaves the field as it is)
    std::string v1_after, v2_after;
    int result_field;
    std::string result;
};

// Round r's command, its inputs and what the fields must show after it.
// Values are integers below 10^6, so the results are exact and their
// texts plain decimals.
Round round_for(int r) {
    long long k = r % 1000;
    std::string pad = r % 10 == 0 ? std::string(10000, ' ') + "9" : "";  // beyond the 255 read
    switch (r % 9) {
        case 0: return {1006, " " + vec(k, 2, 3) + pad, vec(1, k, -1), "", vec(k, 2, 3), vec(1, k, -1), V3, vec(k + 1, k + 2, 2)};
        case 1: return {1007, vec(k, 2, 3), vec(1, k, -1) + pad, "", vec(k, 2, 3), vec(1, k, -1), V3, vec(k - 1, 2 - k, 4)};
        case 2: return {1008, vec(k, 1, 0), vec(0, 1, k), "", vec(k, 1, 0), vec(0, 1, k), V3, vec(k, -k * k, k)};
        case 3: return {1009, vec(k, 2, 3), vec(k, 1, 1), "", vec(k, 2, 3), vec(k, 1, 1), S2, num(k * k + 5)};
        case 4: return {1010, "  " + num(k) + "   " + num(-k) + " 1" + pad, "", "  3 apples", vec(k, -k, 1), "", V3, vec(3 * k, -3 * k, 3)};
        case 5: return {1011, vec(4 * k, 2 * k, 0), "", "2" + pad, vec(4 * k, 2 * k, 0), "", V3, vec(2 * k, k, 0)};
        case 6: return {1012, vec(3 * (k + 1), 0, 4 * (k + 1)), "", "", vec(3 * (k + 1), 0, 4 * (k + 1)), "", V3, "0.6 0 0.8"};
        case 7: return {1013, num(3 * k) + " " + num(4 * k) + pad, "", "", vec(3 * k, 4 * k, 0), "", S2, num(5 * k)};
        default: return {REDRAW, "", "", "", "", "", 0, ""};
    }
}

void run_round(int r) {
    Round c = round_for(r);
    check_context("round " + num(r));
    if (c.button == REDRAW) {
        long long k = r % 1000;
        std::string pad = r % 10 == 0 ? std::string(10000, ' ') : "";
        for (int row = 0; row < 3; ++row) {
            int id = 2001 + 4 * row;
            CHECK(app->put(id, num(k) + " " + num(row) + pad));
            CHECK(app->put(id + 1, " " + num(k) + ","));
            CHECK(app->put(id + 2, num(k + 100 * row) + " 7"));
        }
        CHECK(app->press(REDRAW));
        for (int row = 0; row < 3; ++row) {
            int id = 2001 + 4 * row;
            CHECK_STR(field(id), vec(k, row, 0));
            CHECK_STR(field(id + 1), vec(k, 0, 0));
            long long red = k + 100 * row;
            CHECK_STR(field(id + 2), num(red > 255 ? 255 : red) + " 7 0");
        }
        return;
    }
    if (!c.v1.empty()) CHECK(app->put(V1, c.v1));
    if (!c.v2.empty()) CHECK(app->put(V2, c.v2));
    if (!c.s1.empty()) CHECK(app->put(S1, c.s1));
    CHECK(app->press(c.button));
    CHECK_STR(field(V1), c.v1_after);
    if (!c.v2.empty()) CHECK_STR(field(V2), c.v2_after);
    if (!c.s1.empty()) CHECK_STR(field(S1), c.s1);  // never rewritten
    CHECK_STR(field(c.result_field), c.result);
}

// A small fixed-sequence generator, so that every run drags the same way.
uint32_t seed = 12345;
int next_in(int lo, int hi) {
    seed = seed * 1103515245u + 12345u;
    return lo + int((seed >> 8) % uint32_t(hi - lo + 1));
}

ViewState camera;  // what the program's camera must be
HWND view;
long long motions_sent = 0;

// Round r's drag, `motions` moves long: even rounds orbit (now and then
// to coordinates at the ends of the 16-bit range), odd rounds zoom.
void drag(int r, int motions) {
    bool orbit = r % 2 == 0;
    int x0 = next_in(0, 545), y0 = next_in(0, 362);
    uint32_t press = pack_position(x0, y0);
    if (orbit) {
        CHECK(send_within(view, WM_LBUTTONDOWN, MK_LBUTTON, LPARAM(press)));
        view_pointer_press(camera, ViewButton::left, press);
    } else {
        CHECK(send_within(view, WM_RBUTTONDOWN, MK_RBUTTON, LPARAM(press)));
        view_pointer_press(camera, ViewButton::right, press);
    }
    for (int i = 0; i < motions; ++i) {
        int x = x0 + next_in(-300, 300), y = y0 + next_in(-20, 20);
        if (orbit && next_in(0, 96) == 0) {
            x = next_in(0, 1) ? 32767 : -32768;
            y = next_in(0, 1) ? 32767 : -32768;
        }
        uint32_t at = pack_position(x, y);
        CHECK(send_within(view, WM_MOUSEMOVE, orbit ? MK_LBUTTON : MK_RBUTTON, LPARAM(at)));
        view_pointer_motion(camera, at);
        ++motions_sent;
    }
    CHECK(send_within(view, orbit ? WM_LBUTTONUP : WM_RBUTTONUP, 0, 0));
    view_pointer_cancel(camera);
}

WineTrace* trace;
long long frames_seen = 0;
std::string last_move;

void read_frames() {
    for (const std::string& l : trace->new_lines()) {
        if (!has(l, "trace:opengl:glTranslated")) continue;
        ++frames_seen;
        last_move = l;
    }
}

// Waits until the program has drawn its pending paints: no new frame for
// a while.
void settle_frames() {
    Sleep(100);
    wait_until([&] {
        long long before = frames_seen;
        Sleep(50);
        read_frames();
        return frames_seen == before;
    });
}

// The last frame's eye against the camera the drags give.
void check_last_eye(const std::string& what) {
    check_context(what);
    double x = 0, y = 0, z = 0;
    size_t at = last_move.find("glTranslated x ");
    CHECK(at != std::string::npos &&
          std::sscanf(last_move.c_str() + at, "glTranslated x %lf, y %lf, z %lf", &x, &y, &z) == 3);
    double d = camera.eye_distance;
    double want[3] = {camera.eye_dir.x * d, camera.eye_dir.y * d, camera.eye_dir.z * d};
    double got[3] = {-x, -y, -z};
    for (int i = 0; i < 3; ++i) CHECK(std::fabs(got[i] - want[i]) <= 2e-5 + 1e-6 * std::fabs(want[i]));
    check_context("");
}

struct Memory {
    SIZE_T private_bytes;  // committed memory of the process's own, as Windows counts it
    SIZE_T working_set;    // resident memory (under Wine: the Unix process's RSS)
};

Memory memory_of(HANDLE process) {
    Memory m{0, 0};
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) m.private_bytes += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(process, &counters, sizeof counters);
    m.working_set = counters.WorkingSetSize;
    return m;
}

double kib(SIZE_T b) { return double(b) / 1024.0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::printf("usage: test_win32_session.exe arrowbench.exe COMMANDS MOTIONS trace.txt\n");
        return 2;
    }
    const int commands = std::atoi(argv[2]);
    const long long motions = std::atoll(argv[3]);
    CHECK(commands >= 10);
    if (commands < 10) return check_exit();
    SetEnvironmentVariableA("WINEDEBUG", "trace+opengl");
    AppProcess process(argv[1]);
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    app = &process;
    CHECK(process.dialog != nullptr);
    if (!process.dialog) return check_exit();
    WineTrace wine_trace(argv[4], process.gui_thread);
    trace = &wine_trace;
    view = process.control(2013);
    set_start_camera(camera);
    wait_until([&] {
        read_frames();
        return frames_seen > 0;
    });
    settle_frames();
    const long long start_frames = frames_seen;

    std::vector<Memory> samples;
    std::vector<long long> motions_at, frames_at;
    DWORD start = GetTickCount();
    long long redraws = 0;
    for (int r = 0; r < commands; ++r) {
        run_round(r);
        redraws += round_for(r).button == REDRAW;
        drag(r, int(motions * (r + 1) / commands - motions * r / commands));
        if ((r + 1) % (commands / 10) == 0 || r + 1 == commands) {
            settle_frames();
            check_last_eye("eye after round " + num(r));
            samples.push_back(memory_of(process.info.hProcess));
            motions_at.push_back(motions_sent);
            frames_at.push_back(frames_seen);
        }
    }
    DWORD elapsed = GetTickCount() - start;
    check_context("");

    // Every motion drew one frame, and so did the repaint after each Redraw.
    CHECK_INT(motions_sent, motions);
    CHECK_INT(frames_seen - start_frames, motions + redraws);

    std::printf("%d commands, %lld motions, %lld frames in %.1f s\n", commands, motions_sent, frames_seen - start_frames,
                elapsed / 1000.0);
    for (size_t i = 0; i < samples.size(); ++i)
        std::printf("after %3zu%%: %7lld motions, private %9.0f KiB, working set %9.0f KiB\n", (i + 1) * 10,
                    motions_at[i], kib(samples[i].private_bytes), kib(samples[i].working_set));

    // After the first tenth (warm-up) the memory stays put: at every later
    // sample, the private bytes are at most one heap growth step (64 KiB)
    // above the warm-up sample, and the resident memory, which also holds
    // what the GL and X libraries allocate, at most 512 KiB above it (a
    // 64-bit Wine process's resident set moves up and down in steps of
    // about 516 KiB while its private bytes stay flat: there four steps).
    CHECK(samples.size() >= 2);
    if (samples.size() >= 2) {
        const Memory warm = samples.front();
        CHECK(warm.private_bytes > 0 && warm.working_set > 0);
        for (size_t i = 1; i < samples.size(); ++i) {
            check_context("memory at sample " + num((long long)i));
            CHECK(samples[i].private_bytes <= warm.private_bytes + 64 * 1024);
            CHECK(samples[i].working_set <= warm.working_set + (sizeof(void*) == 8 ? 2100 : 512) * 1024);
        }
        check_context("");
    }

    CHECK(process.alive());
    CHECK_INT(process.close_by_escape(), 0);
    return check_exit();
}
