// End to end on Linux: the real arrowbench program's 3D view, driven from
// outside with real pointer and key events (XTest) and checked on the
// pixels the X server shows: Redraw draws the row's vector where our own
// projection puts it, a left drag orbits, a right drag zooms, a drag
// released outside the view is over, and the wheel and the view's keys
// move the camera as the core does for the same input.
//
// With --scale, on an X server whose Xft.dpi asks for that display scale:
// the window and the view's client area grow by the scale, the view draws
// at its full size, and drags still count the view's own pixels.
//
// Usage: test_linux_view [--scale S] PATH/arrowbench [view.ppm [window.ppm]]

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/expected_dialog.h"
#include "tests/fltk/app_driver.h"
#include "tests/view_pixels.h"
#include "view/view.h"

namespace {

const Rgb MAGENTA{255, 0, 255};
AppDriver app;

void settle(int ms = 250) {
    XSync(app.display, False);
    usleep(useconds_t(ms) * 1000);
}

Shot shoot() {
    settle();
    return shoot_view(app);
}

// --- input, as a user's pointer and keyboard give it, paced ---

void move_in_view(int x, int y) {
    move_in_view(app, x, y);
    settle(20);
}

void move_to(int x, int y) {
    move_to(app, x, y);
    settle(20);
}

void button(unsigned b, bool down) {
    button(app, b, down);
    settle(30);
}

void key(KeySym sym, KeySym modifier = 0) {
    key(app, sym, modifier);
    settle(10);
}

void click_control(int x, int y, int w, int h) {
    move_to(px_x(x) + px_x(w) / 2, px_y(y) + px_y(h) / 2);
    button(1, true);
    button(1, false);
}

void type_into(int x, int y, int w, int h, const char* text) {
    click_control(x, y, w, h);
    key(XK_a, XK_Control_L);
    key(XK_BackSpace);
    for (const char* c = text; *c; ++c) {
        std::string name(1, *c);
        KeySym sym = *c == ' ' ? XK_space : *c == '-' ? XK_minus : *c == '.' ? XK_period : XStringToKeysym(name.c_str());
        key(sym);
    }
}

void write_ppm(const Shot& s, const char* path) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%d %d\n255\n", s.width, s.height);
    for (const Rgb& p : s.px) {
        unsigned char b[3] = {(unsigned char)p.r, (unsigned char)p.g, (unsigned char)p.b};
        std::fwrite(b, 1, 3, f);
    }
    std::fclose(f);
}

// The dialog's size, and the GL window's place and size inside it.
void check_sizes() {
    Display* d = app.display;
    XWindowAttributes wa{};
    XGetWindowAttributes(d, app.app, &wa);
    CHECK_INT(wa.width, px_x(expected::DIALOG_W));
    CHECK_INT(wa.height, px_y(expected::DIALOG_H));
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    int views = 0;
    if (XQueryTree(d, app.app, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n; ++i) {
            XGetWindowAttributes(d, children[i], &wa);
            if (wa.map_state != IsViewable) continue;
            ++views;
            CHECK_INT(wa.x, view_x());
            CHECK_INT(wa.y, view_y());
            CHECK_INT(wa.width, view_w());
            CHECK_INT(wa.height, view_h());
        }
        if (children) XFree(children);
    }
    CHECK_INT(views, 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--scale") == 0) {
        dialog_scale = std::atof(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc < 2) {
        std::printf("usage: test_linux_view [--scale S] PATH/arrowbench [view.ppm [window.ppm]], with DISPLAY set\n");
        return 2;
    }
    CHECK(launch(app, {argv[1]}));
    if (!app.app) return check_exit();
    settle(200);
    check_sizes();

    ViewState camera;
    set_start_camera(camera);

    // Before any Redraw: axes and board only, from the start camera.
    Shot first = shoot();
    Picture start(camera, view_w(), view_h());
    CHECK(close_to(first.at(3, 3), {255, 255, 255}));
    CHECK(colour_near(first, start.at(3.5, 0, 0), {255, 0, 0}));
    CHECK(!colour_near(first, start.at(1, -1, 1.5), {255, 0, 255}));

    // The first row, then Redraw.
    type_into(132, 20, 88, 13, "0 0 3");
    type_into(220, 20, 88, 13, "1 -1 0");
    type_into(308, 20, 44, 13, "255 0 255");
    Shot typed = shoot();
    CHECK(!colour_near(typed, start.at(1, -1, 1.5), {255, 0, 255}));  // nothing until Redraw
    click_control(404, 25, 32, 33);
    Shot drawn = shoot();
    check_picture(drawn, camera, MAGENTA, "after Redraw");
    // Lines grow with the display scale: 1 pixel at 1, 2 at 2.
    CHECK_INT(line_thickness(drawn, start.at(2, 0, 0), start.at(4, 0, 0), {255, 0, 0}), int(dialog_scale));
    if (argc > 2) write_ppm(drawn, argv[2]);
    if (argc > 3) write_ppm(shoot(app, 0, 0, px_x(expected::DIALOG_W), px_y(expected::DIALOG_H)), argv[3]);

    // Orbit: a left drag from (100, 100) to (180, 140), in steps.
    move_in_view(100, 100);
    button(1, true);
    for (int i = 1; i <= 8; ++i) move_in_view(100 + 10 * i, 100 + 5 * i);
    button(1, false);
    view_pointer_press(camera, ViewButton::left, pack_position(100, 100));
    view_pointer_motion(camera, pack_position(180, 140));
    view_pointer_cancel(camera);
    Shot orbited = shoot();
    CHECK(differing(drawn, orbited) > 500);
    check_picture(orbited, camera, MAGENTA, "after the orbit");

    // Zoom: a right drag 40 px down takes the camera 20 units further out.
    move_in_view(200, 200);
    button(3, true);
    for (int i = 1; i <= 4; ++i) move_in_view(200, 200 + 10 * i);
    button(3, false);
    view_pointer_press(camera, ViewButton::right, pack_position(200, 200));
    view_pointer_motion(camera, pack_position(200, 240));
    view_pointer_cancel(camera);
    CHECK(camera.eye_distance == 30.0f);
    Shot zoomed = shoot();
    check_picture(zoomed, camera, MAGENTA, "after the zoom");

    // A drag that leaves the view and is released outside it is over: the
    // camera followed the pointer out, and moving over the view afterwards
    // with no button held changes nothing.
    move_in_view(300, 150);
    button(1, true);
    move_in_view(260, 150);
    move_in_view(-60, 150);  // over the calculator buttons
    button(1, false);
    view_pointer_press(camera, ViewButton::left, pack_position(300, 150));
    view_pointer_motion(camera, pack_position(-60, 150));
    view_pointer_cancel(camera);
    Shot released = shoot();
    check_picture(released, camera, MAGENTA, "after release outside");
    for (int i = 0; i < 6; ++i) move_in_view(50 + 60 * i, 80 + 30 * i);
    Shot after = shoot();
    CHECK_INT(differing(released, after), 0);

    // The wheel over the view zooms, whichever control has the focus.
    click_control(132, 20, 88, 13);
    move_in_view(200, 150);
    for (unsigned b : {4, 4, 4, 5}) {
        button(b, true);
        button(b, false);
        zoom_camera(camera, b == 4 ? 1 : -1);
    }
    check_picture(shoot(), camera, MAGENTA, "after the wheel");

    // A click gives the view the keys: arrows orbit (Shift finely), + and
    // Page Down zoom, Home brings back the first picture to the pixel, and
    // Tab takes the keys away again.
    move_in_view(250, 180);
    button(1, true);
    button(1, false);
    key(XK_Left);
    key(XK_Up, XK_Shift_L);
    key(XK_KP_Add);
    key(XK_Page_Down);
    key(XK_Page_Down);
    view_key(camera, ViewKey::left, false);
    view_key(camera, ViewKey::up, true);
    view_key(camera, ViewKey::zoom_in, false);
    view_key(camera, ViewKey::zoom_out, false);
    view_key(camera, ViewKey::zoom_out, false);
    check_picture(shoot(), camera, MAGENTA, "after the keys");
    auto edge = [] { return shoot(app, view_x() - 1, view_y() - 1, 1, 1).at(0, 0); };
    CHECK(close_to(edge(), {0, 0, 128}));  // the edge says the view has the keys
    key(XK_Home);
    CHECK_INT(differing(shoot(), drawn), 0);
    key(XK_Tab);
    key(XK_Right);
    CHECK_INT(differing(shoot(), drawn), 0);
    CHECK(!close_to(edge(), {0, 0, 128}));

    // Escape ends the program with exit code 0.
    move_in_view(250, 180);
    key(XK_Escape);
    CHECK(wait_exit(app, 5));
    CHECK(exited_with(app, 0));
    return check_exit();
}
