// The Linux host's part of the view script (tests/desktop/view.cpp): real
// pointer and key events through XTest, the pixels the X server shows, the
// window's sizes, the view's focus ring, and the worksheet window from the
// keyboard.
//
// With --scale, on an X server whose Xft.dpi asks for that display scale:
// the window and the view's client area grow by the scale, the view draws
// at its full size, and drags still count the view's own pixels.
//
// Usage: test_linux_view [--scale S] PATH/arrowbench [view.ppm [window.ppm]]

#include <cstring>

#include "app/worksheet.h"
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

// The worksheet window from the keyboard, opened by the menu's sixth item,
// its list holding the keys. Enter recalls the selected row; a command
// made meanwhile adds a row, seen once the menu brings the window forward
// again; Tab reaches Copy as LaTeX and Clear, which Space presses.
// Escape closes it, leaving the keys to the dialog.
void check_worksheet(AppDriver& app) {
    auto open = [&] {
        app.click_view(250, 180, RIGHT_BUTTON);
        CHECK(app.menu_becomes(true));
        for (int i = 0; i < 6; ++i) app.key("ArrowDown");
        app.key("Enter");
        app.pause(300);
        CHECK(app.worksheet_shown());
    };
    open();
    std::vector<std::string> rows = app.worksheet_lines();  // leaves the first row selected
    const char* sub_row = "2. Sub of V1 = 1 2 3, V2 = 4 5 6: V3 = -3 -3 -3 \u2014 V1 \u2212 V2 = (1 \u2212 4";
    CHECK(rows.size() >= 2 && rows[1].rfind(sub_row, 0) == 0);
    app.key("ArrowDown");
    app.key("Enter");
    CHECK_STR(app.get(ID_V3), "-3 -3 -3");
    CHECK(app.press(ID_ADD));
    open();
    CHECK(app.worksheet_lines().size() == rows.size() + 1);
    for (int i = 0; i < 3; ++i) app.key("Tab");
    std::string latex = app.copied_by([&] { app.key(XK_space); });
    CHECK(latex.rfind("\\begin{enumerate}\n\\item CrossProduct of $V_1$", 0) == 0);
    app.key("Tab");
    app.key(XK_space);
    CHECK(app.press(ID_SUB));
    open();
    rows = app.worksheet_lines();
    CHECK(rows.size() == 1 && rows[0].rfind("1. Sub of V1 = 1 2 3, V2 = 4 5 6: V3 = -3 -3 -3", 0) == 0);
    app.key("Escape");
    // A field's typing undone, the next Ctrl+Z undoes the last step.
    std::string s1 = app.get(ID_S1);
    app.type(ID_S1, "5");
    app.key("Ctrl+Z");
    app.key("Ctrl+Z");
    CHECK_STR(app.get(ID_S1), s1);
    CHECK_STR(app.get(ID_V3), "5 7 9");
    // Past the cap the oldest rows go, and the others keep their numbers:
    // the newest chosen, Home the oldest kept.
    int pace = app.pace_ms;
    app.pace_ms = 0;  // a thousand clicks, as fast as they go
    for (size_t i = 0; i <= WORKSHEET_CAP; ++i) CHECK(app.press(ID_SUB));
    app.pace_ms = pace;
    open();
    auto chosen = [&] { return app.copied_by([&] { app.key(XK_c, XK_Control_L); }); };
    CHECK(chosen().rfind("1002. Sub of", 0) == 0);
    app.key(XK_Home);
    CHECK(chosen().rfind("3. Sub of", 0) == 0);
    app.key("Escape");
}

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
    if (step == "worksheet") check_worksheet(app);
}
