// The Windows host's part of the session (tests/desktop/session.cpp):
// arrowbench.exe under Wine, its camera read from Wine's OpenGL trace, one
// frame for every motion and every Redraw, and its memory read from
// outside, which must not grow after the first tenth.
//
// --trace FILE names the file that gets the glTranslated lines of the
// trace (one per frame: gluLookAt ends with the move to the eye); the test
// command filters this program's standard error into it.

#include <algorithm>

#include "tests/desktop/session.h"
#include "tests/win32/wine_trace.h"

namespace {

std::unique_ptr<TracedFrames> trace;  // a frame a glTranslated line
size_t start_frames = 0;

}  // namespace

std::unique_ptr<DesktopDriver> start_session(const SessionOptions& o) {
    CHECK(o.commands >= 10 && !o.trace.empty());
    auto app = std::make_unique<Win32Driver>(o.command[0].c_str(), "trace+opengl");
    if (!app->dialog) return nullptr;
    trace = std::make_unique<TracedFrames>(o.trace.c_str(), app->gui_thread, "trace:opengl:glTranslated");
    trace->after(1);
    start_frames = trace->settle();
    return app;
}

// The last frame's eye against the camera the drags give.
void check_view(DesktopDriver&, const ViewState& camera, const std::string& what) {
    trace->settle();
    trace->check_eye(camera, what, 1e-6);
}

void end_session(DesktopDriver&, const SessionOptions& o, const std::vector<Memory>& rounds, long redraws) {
    // Every motion drew one frame, and each Redraw's repaint at most one:
    // Windows merges the paints of Redraws that come before the program
    // has painted (a loaded machine), so fewer is no fault, more would be.
    trace->after(start_frames + size_t(o.motions));
    size_t frames = trace->settle() - start_frames;
    CHECK(frames >= size_t(o.motions) && frames <= size_t(o.motions + redraws));
    std::printf("%zu frames\n", frames);
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
