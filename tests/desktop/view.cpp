// End to end on a desktop host: the real program's 3D view, driven from
// outside with pointer and key input and judged on the frames it draws,
// against our own projection of the camera the core must have for the
// same input. The first picture shows the axes and the board; Redraw
// writes the rows back in canonical text and draws the row's vector where
// the projection puts it, typing draws nothing; a left drag orbits, a right
// drag zooms, a drag released outside the view is over, the wheel zooms
// whichever control has the focus, a click gives the view the keys, which
// orbit and zoom as the core's, Home brings back the first picture to the
// pixel and Tab takes the keys away again. Lines are as wide as the
// display's scale asks. The view's menu opens on a right click without
// motion, Shift+F10 or the Menu key, and not after a right drag; "Show
// calculation", from it or from F9 in a field, writes the rows the core's
// table gives and draws them in their three colours; "Reset view" brings
// back the start camera. The axes' names stand beside the axes' ends in
// every frame, whole and crisp at every scale. What only one host can see (Wine's GL trace, the
// capture, the focus ring, the window's sizes) is its own part, after
// each step.

#include <string>

#include "tests/camera_cases.h"
#include "tests/show_cases.h"
#include "tests/desktop/host.h"

namespace {

const Rgb MAGENTA{255, 0, 255}, RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255};

DesktopDriver* app;
ViewState camera;

void step(const char* name, const Shot& shot = Shot()) { view_step(*app, name, camera, shot); }

// A drag through `points`, pressed at the first and released at the last,
// and the same drag to the core.
void drag(int button, std::initializer_list<Point2> points, bool leaves = false) {
    const Point2* p = points.begin();
    CHECK(app->drag_begin(button, int(p->x), int(p->y), leaves));
    uint32_t anchor = pack_position(int(p->x), int(p->y));
    view_pointer_press(camera, button == LEFT_BUTTON ? ViewButton::left : ViewButton::right, anchor);
    for (++p; p != points.end(); ++p) {
        CHECK(app->drag_move(int(p->x), int(p->y)));
        view_pointer_motion(camera, pack_position(int(p->x), int(p->y)));
    }
    --p;
    CHECK(app->drag_end(int(p->x), int(p->y)));
    view_pointer_cancel(camera);
}

// Keys to an open menu, which the camera never sees.
void menu_keys(std::initializer_list<const char*> names) {
    for (const char* name : names) app->key(name);
}

// Keys and wheel notches named as the camera cases name them, over the
// view at (x, y), and the same inputs to the core.
void inputs(const std::string& names, int x, int y) {
    bool pinching = false;
    size_t at = 0;
    while (at < names.size()) {
        size_t end = names.find(' ', at);
        std::string name = names.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? names.size() : end + 1;
        if (name.rfind("wheel:", 0) == 0) app->wheel(x, y, std::strtod(name.c_str() + 6, nullptr));
        else app->key(name);
        apply_camera_input(camera, name, pinching);
    }
}

const ShowCase& show_case(unsigned command) {
    for (const ShowCase& c : SHOW_CASES)
        if (c.command == command) return c;
    return SHOW_CASES[0];
}

// The rows as Show calculation leaves them after the case's command, and
// its three colours in the frame.
void check_shown(const ShowCase& c, const Shot& shown) {
    check_context("shown after " + std::to_string(c.command));
    // Framed: each whole, apart (40 pixels or more) and clear of the outer
    // band, 3% of the smaller side (the framing keeps 5%).
    int band = std::min(shown.width, shown.height) * 3 / 100;
    for (Rgb colour : {Rgb{230, 120, 0}, Rgb{130, 0, 200}, Rgb{0, 150, 150}})
        CHECK(pixels_of(shown, colour) >= 40 && pixels_of(shown, colour, band) == 0);
    const int fields[] = {ID_ROW_VECTOR, ID_ROW_OFFSET, ID_ROW_COLOR};
    for (int i = 0; i < 9; ++i) CHECK_STR(app->get(fields[i % 3] + i / 3 * ROW_STRIDE), c.rows[i]);
    check_context("");
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<DesktopDriver> driver = started(argc, argv);
    if (!driver) return check_exit();
    app = driver.get();
    const int W = app->view_width, H = app->view_height;
    const double scale = view_scale();
    set_start_camera(camera);
    set_display_scale(camera, scale);

    // Before any Redraw: white, the axes and the board, no vector yet.
    Shot first = app->frame();
    Picture start(camera, W, H);
    CHECK(close_to(first.at(3, 3), {255, 255, 255}));
    CHECK(colour_near(first, start.at(3.5, 0, 0), RED));
    CHECK(colour_near(first, start.at(0, 3.5, 0), GREEN));
    CHECK(colour_near(first, start.at(0, 0, 3.5), BLUE));
    CHECK(!colour_near(first, start.at(1, -1, 1.5), MAGENTA));
    check_board(first, camera, "start");
    CHECK(check_axis_names(first, camera, "start") >= 2);
    // Lines grow with the display scale: 1 pixel at 1, 2 at 2.
    CHECK_INT(line_thickness(first, start.at(0, 0, 2), start.at(0, 0, 4), BLUE), int(line_width_at(scale)));
    step("start", first);

    // Redraw writes every row back in canonical text.
    set_all(*app, {{ID_ROW_VECTOR, "1,2,3"},
                   {ID_ROW_OFFSET, "  2  3 "},
                   {ID_ROW_COLOR, "300 20"},
                   {ID_ROW_VECTOR + ROW_STRIDE, "0.1234567 x"},
                   {ID_ROW_COLOR + ROW_STRIDE, "red"},
                   {ID_ROW_COLOR + 2 * ROW_STRIDE, "-1 0 0"}});
    CHECK(app->press(ID_REDRAW));
    CHECK_STR(app->get(ID_ROW_VECTOR), "1 0 0");
    CHECK_STR(app->get(ID_ROW_OFFSET), "2 3 0");
    CHECK_STR(app->get(ID_ROW_COLOR), "255 20 0");
    CHECK_STR(app->get(ID_ROW_VECTOR + ROW_STRIDE), "0.123457 0 0");
    CHECK_STR(app->get(ID_ROW_OFFSET + ROW_STRIDE), "0 0 0");
    CHECK_STR(app->get(ID_ROW_COLOR + ROW_STRIDE), "0 0 0");
    CHECK_STR(app->get(ID_ROW_COLOR + 2 * ROW_STRIDE), "0 0 0");
    step("rows");

    // The first row's magenta vector, typed: nothing is drawn until Redraw.
    app->type(ID_ROW_VECTOR, "0 0 3");
    app->type(ID_ROW_OFFSET, "1 -1 0");
    app->type(ID_ROW_COLOR, "255 0 255");
    app->type(ID_ROW_VECTOR + ROW_STRIDE, "0 0 0");
    CHECK(!colour_near(app->frame(), start.at(1, -1, 1.5), MAGENTA));
    step("typed");
    CHECK(app->press(ID_REDRAW));
    Shot drawn = app->frame();
    check_picture(drawn, camera, MAGENTA, "after Redraw");
    check_board(drawn, camera, "after Redraw");
    CHECK_INT(line_thickness(drawn, start.at(2, 0, 0), start.at(4, 0, 0), RED), int(line_width_at(scale)));
    step("redraw", drawn);

    // Orbit: a left drag from (100, 100) to (180, 140), in steps.
    drag(LEFT_BUTTON, {{100, 100}, {110, 105}, {120, 110}, {130, 115}, {140, 120}, {150, 125}, {160, 130},
                       {170, 135}, {180, 140}});
    Shot orbited = app->frame();
    CHECK(differing(drawn, orbited) > 500);
    check_picture(orbited, camera, MAGENTA, "after the orbit");
    CHECK(check_axis_names(orbited, camera, "after the orbit") > 0);
    step("orbit");

    // Zoom: a right drag 40 px down takes the camera 20 units further out.
    drag(RIGHT_BUTTON, {{200, 200}, {200, 210}, {200, 220}, {200, 230}, {200, 240}});
    CHECK(camera.eye_distance == 30.0f);
    Shot zoomed = app->frame();
    check_picture(zoomed, camera, MAGENTA, "after the zoom");
    CHECK(check_axis_names(zoomed, camera, "after the zoom") > 0);
    step("zoom");

    // A drag that leaves the view and is released outside it is over: the
    // camera followed the pointer out, and moving over the view afterwards
    // with no button held changes nothing.
    drag(LEFT_BUTTON, {{300, 150}, {260, 150}, {-60, 150}}, true);  // over the calculator buttons
    Shot released = app->frame();
    check_picture(released, camera, MAGENTA, "after release outside");
    step("outside");
    for (int i = 0; i < 6; ++i) app->hover(50 + 60 * i, 80 + 30 * i);
    CHECK_INT(differing(released, app->frame()), 0);
    step("hover");

    // The wheel over the view zooms while V1 keeps the focus. A Windows
    // wheel may also turn by parts of a notch (the first third moves
    // nothing); an X wheel only by whole ones.
    app->focus(ID_V1);
    inputs("wheel:1 wheel:1 wheel:1 wheel:-1", 200, 150);
    if (THIS_HOST == ON_WIN32) inputs("wheel:-0.33333333333333333 wheel:-0.33333333333333333 wheel:-0.33333333333333333", 200, 150);
    check_picture(app->frame(), camera, MAGENTA, "after the wheel");
    step("wheel");

    // A click gives the view the keys: arrows orbit (Shift finely), keypad
    // + and Page Down zoom, as the core's.
    app->click_view(250, 180);
    inputs("ArrowLeft Shift+ArrowUp ArrowDown + PageDown PageDown", 250, 180);
    check_picture(app->frame(), camera, MAGENTA, "after the keys");
    step("keys");
    // Home: Redraw's picture at the start camera, pixel for pixel. Tab
    // takes the keys away: an arrow then moves nothing.
    inputs("Home", 250, 180);
    CHECK_INT(differing(app->frame(), drawn), 0);
    inputs("Tab", 250, 180);
    app->key("ArrowRight");
    CHECK_INT(differing(app->frame(), drawn), 0);
    step("tab");

    // The menu, by a right click without motion: Down and Enter take "Show
    // calculation", which runs the last command again (V1 back in canonical
    // text) and draws it framed, from the start camera, which looks along
    // V2 − V1: the camera turns until the two are seen apart.
    const ShowCase& cross = show_case(ID_CROSS_PRODUCT);
    set_all(*app, {{ID_V1, cross.v1}, {ID_V2, cross.v2}});
    CHECK(app->press(ID_CROSS_PRODUCT));
    CHECK(app->set(ID_V1, "1 2 3.0"));
    app->click_view(250, 180);
    inputs("Home", 250, 180);
    app->click_view(250, 180, RIGHT_BUTTON);
    CHECK(app->menu_becomes(true));
    menu_keys({"ArrowDown", "Enter"});
    CHECK(app->menu_becomes(false));
    const Shot shown = app->frame();
    step("shown", shown);
    check_shown(cross, shown);
    CHECK_STR(app->get(ID_V1), "1 2 3");
    CHECK_STR(app->get(ID_V3), "-3 6 -3");
    // "Copy working", the second item, puts the core's working on the
    // clipboard; F8 from a field takes the result into V1 and runs nothing.
    app->click_view(250, 180, RIGHT_BUTTON);
    CHECK(app->menu_becomes(true));
    CHECK_STR(app->copied_by([] { menu_keys({"ArrowDown", "ArrowDown", "Enter"}); }), cross.working);
    CHECK(app->menu_becomes(false));
    app->focus(ID_V2);
    app->key("F8");
    CHECK_STR(app->get(ID_V1), "-3 6 -3");
    CHECK_STR(app->get(ID_V2), "4 5 6");

    // A right drag zooms and opens nothing. Shift+F10 in the view opens the
    // menu and Escape closes it, leaving the program running; the Menu key
    // opens it and "Reset view", the last item, does what Home does.
    drag(RIGHT_BUTTON, {{250, 180}, {250, 190}});
    CHECK(app->menu_becomes(false));
    CHECK(differing(shown, app->frame()) > 100);
    app->click_view(250, 180);
    app->key("Shift+F10");
    CHECK(app->menu_becomes(true));
    app->key("Escape");
    CHECK(app->menu_becomes(false));
    CHECK(app->running());
    app->key("ContextMenu");
    CHECK(app->menu_becomes(true));
    menu_keys({"ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown",
               "Enter"});
    Shot reset = app->frame();
    CHECK(differing(reset, shown) > 100);
    inputs("ArrowLeft Home", 250, 180);
    CHECK_INT(differing(app->frame(), reset), 0);
    step("menu");

    // F9 from a field runs Show calculation too: here after Sub, whose
    // result starts at V2's tip.
    inputs("ArrowLeft ArrowLeft ArrowUp", 250, 180);
    const ShowCase& sub = show_case(ID_SUB);
    set_all(*app, {{ID_V1, sub.v1}, {ID_V2, sub.v2}});
    CHECK(app->press(ID_SUB));
    app->focus(ID_V2);
    app->key("F9");
    check_shown(sub, app->frame());
    step("shortcut");

    // Undo and Redo from any control: Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z; a
    // field with typing of its own undoes that first.
    set_all(*app, {{ID_V1, "1 2 3"}, {ID_V2, "4 5 6"}});
    CHECK(app->press(ID_ADD));
    CHECK(app->press(ID_CROSS_PRODUCT));
    app->focus(ID_V2);
    app->key("Ctrl+Z");
    CHECK_STR(app->get(ID_V3), "5 7 9");
    app->key("Ctrl+Y");
    CHECK_STR(app->get(ID_V3), "-3 6 -3");
    app->key("Ctrl+Z");
    app->key("Ctrl+Shift+Z");
    CHECK_STR(app->get(ID_V3), "-3 6 -3");
    app->type(ID_V1, "7");
    app->key("Ctrl+Z");
    CHECK_STR(app->get(ID_V1), "1 2 3");
    CHECK_STR(app->get(ID_V3), "-3 6 -3");
    // "Copy worksheet", the menu's seventh item: every entry's line and its
    // working, a blank line between; "Worksheet", the sixth, opens its
    // window with them, which Escape closes, and not the program.
    const std::string add_entry = "Add of V1 = 1 2 3, V2 = 4 5 6: V3 = 5 7 9\nV1 + V2 = (1 + 4, 2 + 5, 3 + 6) = (5, 7, 9)\n\n";
    const std::string cross_entry = "CrossProduct of V1 = 1 2 3, V2 = 4 5 6: V3 = -3 6 -3\n" + std::string(cross.working) + "\n";
    app->click_view(250, 180, RIGHT_BUTTON);
    CHECK(app->menu_becomes(true));
    std::string sheet = app->copied_by([] {
        menu_keys({"ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "Enter"});
    });
    CHECK(sheet.find(add_entry) != std::string::npos);
    CHECK(sheet.size() > cross_entry.size() && sheet.compare(sheet.size() - cross_entry.size(), std::string::npos, cross_entry) == 0);
    CHECK(app->menu_becomes(false));
    app->click_view(250, 180, RIGHT_BUTTON);
    CHECK(app->menu_becomes(true));
    menu_keys({"ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "Enter"});
    app->pause(300);
    CHECK(app->worksheet_shown());
    std::vector<std::string> lines = app->worksheet_lines();
    CHECK(!lines.empty() && lines.back().find("CrossProduct of V1 = 1 2 3, V2 = 4 5 6: V3 = -3 6 -3") != std::string::npos);
    app->key("Escape");
    app->pause(300);
    CHECK(!app->worksheet_shown() && app->running());
    step("worksheet");

    // Escape ends the program with exit code 0.
    CHECK(app->quit());
    CHECK(!app->running());
    return check_exit();
}
