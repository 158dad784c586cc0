// End to end on Linux: the real arrowbench program's 3D view, driven from
// outside with real pointer and key events (XTest) and checked on the
// pixels the X server shows: Redraw draws the row's vector where our own
// projection puts it, a left drag orbits, a right drag zooms, and a drag
// released outside the view is over.
//
// Usage: test_linux_view PATH/arrowbench [screenshot.ppm]

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/fltk/dialog_template.h"
#include "tests/check.h"
#include "tests/view_pixels.h"
#include "view/view.h"

extern char** environ;

namespace {

const Rgb MAGENTA{255, 0, 255};
Display* display;
Window app_window;
int origin_x, origin_y;  // the dialog's client area on the root window

// The GL window inside the view control: the control less its 2-px frame.
const int VIEW_X = du_to_px_x(130) + 2, VIEW_Y = du_to_px_y(64) + 2;
const int VIEW_W = du_to_px_x(314) - 4, VIEW_H = du_to_px_y(226) - 4;

void settle(int ms = 250) {
    XSync(display, False);
    usleep(useconds_t(ms) * 1000);
}

Shot shoot() {
    settle();
    XImage* img = XGetImage(display, DefaultRootWindow(display), origin_x + VIEW_X, origin_y + VIEW_Y,
                            unsigned(VIEW_W), unsigned(VIEW_H), AllPlanes, ZPixmap);
    Shot s;
    s.width = VIEW_W;
    s.height = VIEW_H;
    s.px.resize(size_t(VIEW_W) * size_t(VIEW_H));
    for (int y = 0; y < VIEW_H; ++y)
        for (int x = 0; x < VIEW_W; ++x) {
            unsigned long p = XGetPixel(img, x, y);
            s.px[size_t(y) * size_t(VIEW_W) + size_t(x)] = {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
        }
    XDestroyImage(img);
    return s;
}

// --- input, as a user's pointer and keyboard give it ---

void move_to(int x, int y) {  // dialog client coordinates
    XTestFakeMotionEvent(display, DefaultScreen(display), origin_x + x, origin_y + y, 0);
    settle(20);
}

void move_in_view(int x, int y) { move_to(VIEW_X + x, VIEW_Y + y); }

void button(unsigned b, bool down) {
    XTestFakeButtonEvent(display, b, down ? True : False, 0);
    settle(30);
}

void key(KeySym sym, KeySym modifier = 0) {
    if (modifier) XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), True, 0);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), True, 0);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), False, 0);
    if (modifier) XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), False, 0);
    settle(10);
}

void click_control(int x, int y, int w, int h) {
    move_to(du_to_px_x(x) + du_to_px_x(w) / 2, du_to_px_y(y) + du_to_px_y(h) / 2);
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

Window find_window(Window w, const char* name) {
    char* got = nullptr;
    if (XFetchName(display, w, &got) && got) {
        bool match = std::strcmp(got, name) == 0;
        XFree(got);
        if (match) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(display, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n && !found; ++i) found = find_window(children[i], name);
        if (children) XFree(children);
    }
    return found;
}

void write_ppm(const Shot& s, const char* path) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%d %d\n255\n", VIEW_W, VIEW_H);
    for (const Rgb& p : s.px) {
        unsigned char b[3] = {(unsigned char)p.r, (unsigned char)p.g, (unsigned char)p.b};
        std::fwrite(b, 1, 3, f);
    }
    std::fclose(f);
}

}  // namespace

// The test computes the expected cameras with the view's own camera code
// (tested on its own against known values); it draws nothing here.
void get_client_size(const ViewState&, int& w, int& h) {
    w = VIEW_W;
    h = VIEW_H;
}

int main(int argc, char** argv) {
    if (argc < 2 || !(display = XOpenDisplay(nullptr))) {
        std::printf("usage: test_linux_view PATH/arrowbench [shot.ppm], with DISPLAY set\n");
        return 2;
    }
    pid_t pid = 0;
    char* args[] = {argv[1], nullptr};
    CHECK(posix_spawn(&pid, argv[1], nullptr, nullptr, args, environ) == 0);
    for (int i = 0; i < 100 && !app_window; ++i) {
        app_window = find_window(DefaultRootWindow(display), "Arrowbench");
        if (!app_window) usleep(100000);
    }
    CHECK(app_window != 0);
    if (!app_window) return check_exit();
    settle(500);
    Window child;
    XTranslateCoordinates(display, app_window, DefaultRootWindow(display), 0, 0, &origin_x, &origin_y, &child);

    ViewState camera;
    set_start_camera(camera, nullptr);

    // Before any Redraw: axes and board only, from the start camera.
    Shot first = shoot();
    Picture start(camera, VIEW_W, VIEW_H);
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
    if (argc > 2) write_ppm(drawn, argv[2]);

    // Orbit: a left drag from (100, 100) to (180, 140), in steps.
    move_in_view(100, 100);
    button(1, true);
    for (int i = 1; i <= 8; ++i) move_in_view(100 + 10 * i, 100 + 5 * i);
    button(1, false);
    begin_rotate(camera, pack_position(100, 100));
    drag_camera(camera, pack_position(180, 140));
    end_drag(camera);
    Shot orbited = shoot();
    CHECK(differing(drawn, orbited) > 500);
    check_picture(orbited, camera, MAGENTA, "after the orbit");

    // Zoom: a right drag 40 px down takes the camera 20 units further out.
    move_in_view(200, 200);
    button(3, true);
    for (int i = 1; i <= 4; ++i) move_in_view(200, 200 + 10 * i);
    button(3, false);
    begin_zoom(camera, pack_position(200, 200));
    drag_camera(camera, pack_position(200, 240));
    end_drag(camera);
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
    begin_rotate(camera, pack_position(300, 150));
    drag_camera(camera, pack_position(-60, 150));
    end_drag(camera);
    Shot released = shoot();
    check_picture(released, camera, MAGENTA, "after release outside");
    for (int i = 0; i < 6; ++i) move_in_view(50 + 60 * i, 80 + 30 * i);
    Shot after = shoot();
    CHECK_INT(differing(released, after), 0);

    // Escape ends the program with exit code 0.
    move_in_view(250, 180);
    key(XK_Escape);
    int status = -1;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        usleep(50000);
        status = -1;
    }
    if (status == -1) kill(pid, SIGKILL);
    CHECK(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return check_exit();
}
