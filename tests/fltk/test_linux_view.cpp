// The Linux host's part of the view script (tests/desktop/view.cpp): real
// pointer and key events through XTest, the pixels the X server shows, the
// window's sizes, and the view's focus ring.
//
// With --scale, on an X server whose Xft.dpi asks for that display scale:
// the window and the view's client area grow by the scale, the view draws
// at its full size, and drags still count the view's own pixels.
//
// Usage: test_linux_view [--scale S] PATH/arrowbench [view.ppm [window.ppm]]

#include <cstring>

#include "tests/desktop/host.h"
#include "tests/expected_dialog.h"
#include "tests/fltk/app_driver.h"

namespace {

const char *view_ppm = nullptr, *window_ppm = nullptr;

// The dialog's size, and the GL window's place and size inside it.
void check_sizes(AppDriver& app) {
    Display* d = app.display;
    XWindowAttributes wa{};
    XGetWindowAttributes(d, app.app, &wa);
    CHECK_INT(wa.width, px_x(expected::DIALOG_W));
    CHECK_INT(wa.height, px_y(expected::DIALOG_H));
    int views = 0;
    for (Window child : children_of(d, app.app)) {
        if (!viewable(d, child, wa)) continue;
        ++views;
        CHECK_INT(wa.x, view_x());
        CHECK_INT(wa.y, view_y());
        CHECK_INT(wa.width, view_w());
        CHECK_INT(wa.height, view_h());
    }
    CHECK_INT(views, 1);
}

// The edge round the view says whether it has the keys.
bool focus_ring(AppDriver& app) { return close_to(app.shoot(view_x() - 1, view_y() - 1, 1, 1).at(0, 0), {0, 0, 128}); }

}  // namespace

std::unique_ptr<DesktopDriver> start_app(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--scale") == 0) {
        dialog_scale = std::atof(argv[2]);
        argv += 2;
        argc -= 2;
    }
    view_ppm = argc > 2 ? argv[2] : nullptr;
    window_ppm = argc > 3 ? argv[3] : nullptr;
    auto app = start_or_usage(argc, argv, "test_linux_view [--scale S] PATH/arrowbench [view.ppm [window.ppm]]");
    if (!app) return nullptr;
    app->pace_ms = 30;  // paced as a hand would
    app->settle(200);
    check_sizes(*app);
    return app;
}

double view_scale() { return dialog_scale; }

void view_step(DesktopDriver& driver, const std::string& step, const ViewState&, const Shot& frame) {
    auto& app = static_cast<AppDriver&>(driver);
    if (step == "redraw" && view_ppm) write_ppm(frame, view_ppm);
    if (step == "shown" && window_ppm)
        write_ppm(app.shoot(0, 0, px_x(expected::DIALOG_W), px_y(expected::DIALOG_H)), window_ppm);
    if (step == "keys") CHECK(focus_ring(app));
    if (step == "tab") CHECK(!focus_ring(app));
}
