// The Windows host's part of the session (tests/desktop/session.cpp):
// arrowbench.exe under Wine, its camera read from Wine's OpenGL trace, one
// frame for every motion and every Redraw, and its memory read from
// outside, which must not grow after the first tenth.
//
// --trace FILE names the file that gets the glTranslated lines of the
// trace (one per frame: gluLookAt ends with the move to the eye); the test
// command filters this program's standard error into it.

#include <algorithm>
#include <cmath>

#include "tests/desktop/session.h"
#include "tests/win32/wine_trace.h"
#include "tests/win32/win32_driver.h"

namespace {

std::unique_ptr<WineTrace> trace;
long long frames_seen = 0, start_frames = 0;
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

}  // namespace

std::unique_ptr<DesktopDriver> start_session(const SessionOptions& o) {
    CHECK(o.commands >= 10 && !o.trace.empty());
    auto app = std::make_unique<Win32Driver>(o.command[0].c_str(), "trace+opengl");
    if (!app->app.dialog) return nullptr;
    trace = std::make_unique<WineTrace>(o.trace.c_str(), app->app.gui_thread);
    wait_until([&] {
        read_frames();
        return frames_seen > 0;
    });
    settle_frames();
    start_frames = frames_seen;
    return app;
}

// The last frame's eye against the camera the drags give.
void check_view(DesktopDriver&, const ViewState& camera, const std::string& what) {
    settle_frames();
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

void end_session(DesktopDriver&, const SessionOptions& o, const std::vector<Memory>& rounds, long redraws) {
    // Every motion drew one frame, and so did the repaint after each Redraw.
    settle_frames();
    CHECK_INT(frames_seen - start_frames, o.motions + redraws);
    std::printf("%lld frames\n", frames_seen - start_frames);
    // After the first tenth (warm-up) the memory stays put: at every later
    // sample, the private bytes are at most one heap growth step (64 KiB)
    // above the warm-up sample, and the resident memory, which also holds
    // what the GL and X libraries allocate, at most 512 KiB above it (a
    // 64-bit Wine process's resident set moves up and down in steps of
    // about 516 KiB while its private bytes stay flat: there four steps).
    CHECK(rounds.size() >= 2);
    if (rounds.size() < 2) return;
    const Memory warm = rounds.front();
    CHECK(warm.held > 0 && warm.resident > 0);
    for (size_t i = 1; i < rounds.size(); ++i) {
        check_context("memory after round " + std::to_string(i));
        CHECK(rounds[i].held <= warm.held + 64);
        CHECK(rounds[i].resident <= warm.resident + (sizeof(void*) == 8 ? 2100 : 512));
    }
    check_context("");
}
