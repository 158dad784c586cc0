// The Linux host's part of the session (tests/desktop/session.cpp): the
// program under the XTest and clipboard driver, its view judged on the X
// server's pixels, no second window, and its memory from /proc:
//   - long runs (--memory): VmRSS after each round of the last tenth of
//     the run stays within a tolerance of VmRSS after the first tenth (the
//     warm-up), and VmHWM does not grow past the same bound;
//   - no GL (--no-gl): on a server without GLX the view shows only its
//     plain frame.

#include <algorithm>

#include "tests/desktop/session.h"
#include "tests/fltk/app_driver.h"

namespace {

bool no_gl = false;

// Without GL the view draws nothing: inside its frame only one colour.
void check_plain_view(AppDriver& app, const std::string& what) {
    Shot s = app.frame();
    CHECK(!s.px.empty());
    if (s.px.empty()) return;
    int other = 0;
    for (const Rgb& p : s.px) other += !close_to(p, s.px[0], 0);
    check_context(what);
    CHECK_INT(other, 0);
    CHECK(!close_to(s.px[0], {255, 255, 255}, 10));  // not the view's white
    check_context("");
}

// No error box or other window came up beside the dialog: the only
// viewable top-level window is the dialog's.
void check_one_window(AppDriver& app, const std::string& what) {
    int viewable_windows = 0;
    bool dialog_seen = false;
    for (Window w : children_of(app.display, DefaultRootWindow(app.display))) {
        XWindowAttributes wa{};
        if (!viewable(app.display, w, wa)) continue;
        ++viewable_windows;
        dialog_seen |= w == app.app;
    }
    check_context(what);
    CHECK(dialog_seen);
    CHECK_INT(viewable_windows, 1);
    check_context("");
}

}  // namespace

std::unique_ptr<DesktopDriver> start_session(const SessionOptions& o) {
    if (o.memory) {
        // glibc's malloc raises its mmap threshold after a large block is
        // freed, and Mesa's large per-frame blocks then land on the heap
        // and fragment it: some 9 MiB over the first ~40,000 frames, then
        // flat. A fixed threshold keeps that layout out of the figures, so
        // that VmRSS shows what the program holds.
        setenv("MALLOC_MMAP_THRESHOLD_", "131072", 0);
    }
    no_gl = o.no_gl;
    auto app = std::make_unique<AppDriver>();
    app->patience = o.patience;
    if (!app->launch(o.command)) return nullptr;
    if (no_gl) check_plain_view(*app, "at start");
    check_one_window(*app, "at start");
    return app;
}

void check_view(DesktopDriver& app, const ViewState& camera, const std::string& what) {
    if (no_gl) return check_plain_view(static_cast<AppDriver&>(app), what);
    check_picture(app.frame(), camera, {255, 0, 255}, what);
}

void end_session(DesktopDriver& driver, const SessionOptions& o, const std::vector<Memory>& rounds, long) {
    auto& app = static_cast<AppDriver&>(driver);
    check_one_window(app, "at the end");
    if (!o.memory) return;
    // No growth after the warm-up (the first tenth of the rounds): after
    // each round of the last tenth, VmRSS is within 512 KiB of VmRSS
    // after the warm-up, and VmHWM within 1 MiB of VmHWM then.
    const long rss_slack = 512, hwm_slack = 1024, tenth = (o.rounds + 9) / 10;
    Memory warm = rounds.size() >= size_t(tenth) ? rounds[size_t(tenth) - 1] : Memory{}, worst;
    for (size_t i = rounds.size() >= size_t(tenth) ? rounds.size() - size_t(tenth) : 0; i < rounds.size(); ++i) {
        worst.resident = std::max(worst.resident, rounds[i].resident);
        worst.held = std::max(worst.held, rounds[i].held);
    }
    std::printf("memory: after warm-up VmRSS %ld KiB, VmHWM %ld KiB; last tenth at most VmRSS %ld KiB, "
                "VmHWM %ld KiB\n",
                warm.resident, warm.held, worst.resident, worst.held);
    CHECK(warm.resident > 0 && worst.resident > 0);
    CHECK(worst.resident <= warm.resident + rss_slack);
    CHECK(worst.held <= warm.held + hwm_slack);
}
