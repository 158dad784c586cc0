// End to end on Windows: the real arrowbench.exe's 3D view under Wine, at
// the dpi of the Wine prefix it runs in.
//
// Two views of every frame. Wine's OpenGL trace gives the calls that reach
// opengl32: how many frames, what each draws, the viewport, and the camera
// each one sets up (gluLookAt ends in glTranslated(-eye)). And the pixels:
// Wine's X11 driver renders a child window with a pixel format into an X
// window of its own, off screen (its id is in the +wgl trace, "created
// child"), and that window holds the frame as drawn; only Wine's copy of it
// to the screen is lost. The test command (view_frames.sh) reads that
// window for us, and the frames are checked with the Linux host's pixel
// checks. Redraw's field rewrites, one frame per motion message, orbit and
// zoom, and the pointer capture of a real drag released outside the view
// are checked too, then the wheel, the view's keys and Home; the view's
// size, the viewport and the frames' size follow the dialog units at the
// prefix's dpi, and the line width its scale.
//
// Usage: test_win32_view.exe PATH/arrowbench.exe TRACE_FILE DPI [screenshot.bmp]
// with this program's standard error going to TRACE_FILE: the program
// inherits it, and Wine writes its trace there. DPI is the prefix's
// LogPixels. The screenshot is the dialog as the screen shows it with the
// view's frame put in place.

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/view_pixels.h"
#include "tests/win32/app_process.h"
#include "tests/win32/dialog_units.h"
#include "view/view.h"

namespace {

std::string trace_path;
std::string app_thread;  // Wine's trace lines start with the thread id

// The GL calls of every frame so far, one string of trace lines a frame.
std::vector<std::string> frames() {
    std::vector<std::string> out;
    HANDLE f = CreateFileA(windows_path(trace_path.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    std::string all;
    char buf[65536];
    DWORD n;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) all.append(buf, n);
    CloseHandle(f);
    std::string current;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        if (end == std::string::npos) break;  // a line still being written
        std::string line = all.substr(pos, end - pos);
        pos = end + 1;
        size_t at = line.find("trace:opengl:");
        if (at == std::string::npos || line.compare(0, app_thread.size(), app_thread) != 0) continue;
        current += line.substr(at + 13) + "\n";
        if (line.find("trace:opengl:glFinish") != std::string::npos) {
            out.push_back(current);
            current.clear();
        }
    }
    return out;
}

// Waits until at least `count` frames have been drawn, then a little more
// so that any extra ones would show.
std::vector<std::string> frames_after(size_t count) {
    wait_until([&] { return frames().size() >= count; }, 5000);
    Sleep(200);
    return frames();
}

// The eye position a frame's camera was set up with.
bool frame_eye(const std::string& frame, double eye[3]) {
    size_t at = frame.find("glTranslated x ");
    if (at == std::string::npos) return false;
    double x, y, z;
    if (std::sscanf(frame.c_str() + at, "glTranslated x %lf, y %lf, z %lf", &x, &y, &z) != 3) return false;
    eye[0] = -x;
    eye[1] = -y;
    eye[2] = -z;
    return true;
}

void check_eye(const std::string& frame, const ViewState& camera, const std::string& what) {
    double eye[3] = {0, 0, 0};
    check_context(what);
    CHECK(frame_eye(frame, eye));
    double want[3] = {camera.eye_dir.x * double(camera.eye_distance), camera.eye_dir.y * double(camera.eye_distance),
                      camera.eye_dir.z * double(camera.eye_distance)};
    for (int i = 0; i < 3; ++i) CHECK(std::fabs(eye[i] - want[i]) < 2e-5);
    check_context("");
}

bool draws(const std::string& frame, const char* call) { return frame.find(call) != std::string::npos; }

LPARAM at(int x, int y) { return LPARAM(pack_position(x, y)); }

POINT view_origin;

// Real pointer input, as the mouse gives it, in view client coordinates.
void pointer_to(int x, int y) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG((view_origin.x + x) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG((view_origin.y + y) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    Sleep(60);
}

void pointer_button(DWORD flag, int wheel = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    in.mi.mouseData = DWORD(wheel);
    SendInput(1, &in, sizeof in);
    Sleep(100);
}

void key_event(WORD vk, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    Sleep(50);
}

// The view's top-left corner on the screen, where its focus ring goes.
COLORREF edge_colour(const RECT& outer) {
    Sleep(300);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, outer.left, outer.top);
    ReleaseDC(nullptr, screen);
    return c;
}

HWND capture_of(const AppProcess& app) {
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    GetGUIThreadInfo(app.gui_thread, &gti);
    return gti.hwndCapture;
}

const Rgb MAGENTA{255, 0, 255};

std::string whole_file(const std::string& path) {
    std::string all;
    HANDLE f = CreateFileA(windows_path(path.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return all;
    char buf[65536];
    DWORD n;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) all.append(buf, n);
    CloseHandle(f);
    return all;
}

// The X window Wine renders the view into, from the +wgl trace: the last
// "create_gl_drawable <hwnd> created child <id>" of our view.
std::string gl_child_window(HWND view) {
    char key[64];
    std::snprintf(key, sizeof key, "create_gl_drawable 0x%lx created child ",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(view)));
    std::string all = whole_file(trace_path);
    size_t at = all.rfind(key);
    if (at == std::string::npos) return "";
    at += std::strlen(key);
    size_t end = all.find_first_not_of("0123456789abcdef", at);
    return end == std::string::npos || end == at ? "" : "0x" + all.substr(at, end - at);
}

// A request to the test command, which answers "ok" when it is done.
bool ask(const std::string& request) {
    std::printf("%s\n", request.c_str());
    std::fflush(stdout);
    char answer[64] = {};
    return std::fgets(answer, sizeof answer, stdin) && std::strncmp(answer, "ok", 2) == 0;
}

// A binary PPM as ImageMagick writes it: P6, width, height, 255, pixels.
Shot read_ppm(const std::string& path) {
    Shot s;
    std::string all = whole_file(path);
    int w = 0, h = 0, max = 0, used = 0;
    if (std::sscanf(all.c_str(), "P6 %d %d %d%n", &w, &h, &max, &used) != 3 || max != 255) return s;
    size_t at = size_t(used) + 1;
    if (w <= 0 || h <= 0 || all.size() < at + size_t(w) * size_t(h) * 3) return s;
    s.width = w;
    s.height = h;
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i, at += 3)
        s.px.push_back({BYTE(all[at]), BYTE(all[at + 1]), BYTE(all[at + 2])});
    return s;
}

// The view's frame as drawn, read from Wine's X window, at the client size.
Shot real_frame(HWND view, int width, int height, const char* label) {
    std::string id = gl_child_window(view);
    std::string path = trace_path + "-" + label + ".ppm";
    check_context(std::string("frame ") + label);
    CHECK(!id.empty());
    CHECK(!id.empty() && ask("frame " + id + " " + path));
    Shot s = read_ppm(path);
    CHECK_INT(s.width, width);
    CHECK_INT(s.height, height);
    check_context("");
    if (s.width != width || s.height != height) s.px.assign(size_t(width) * size_t(height), Rgb{0, 0, 0});
    s.width = width;
    s.height = height;
    return s;
}

// The dialog from the screen with the view's frame pasted where the view's
// client area is, as a BMP, and a PNG of it beside.
void save_dialog_with_view(HWND dialog, HWND view, const Shot& frame, const char* path) {
    WindowImage img = capture_window(dialog);
    RECT outer;
    GetWindowRect(dialog, &outer);
    POINT at{0, 0};
    ClientToScreen(view, &at);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            int ix = at.x - outer.left + x, iy = at.y - outer.top + y;
            if (ix < 0 || iy < 0 || ix >= img.width || iy >= img.height) continue;
            BYTE* p = img.row(iy) + 3 * ix;
            Rgb c = frame.at(x, y);
            p[0] = BYTE(c.b);
            p[1] = BYTE(c.g);
            p[2] = BYTE(c.r);
        }
    CHECK(write_bmp(img, path));
    CHECK(ask(std::string("png ") + path));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: test_win32_view.exe arrowbench.exe trace.txt dpi [screenshot.bmp]\n");
        return 2;
    }
    trace_path = argv[2];
    int dpi = std::atoi(argv[3]);
    const char* screenshot = argc > 4 ? argv[4] : nullptr;
    // Our own measurements in real pixels, as the program's are.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    CHECK_INT(GetDeviceCaps(screen, LOGPIXELSY), dpi);
    ReleaseDC(nullptr, screen);
    UnitMapper units;

    SetEnvironmentVariableA("WINEDEBUG", "trace+opengl,trace+wgl");
    AppProcess app(argv[1]);
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    CHECK(app.dialog != nullptr);
    if (!app.dialog) return check_exit();
    char id[16];
    std::snprintf(id, sizeof id, "%04lx:", static_cast<unsigned long>(app.gui_thread));
    app_thread = id;
    HWND view = app.control(2013);
    // The control is 314 x 226 dialog units; its client area is that less
    // the client edge, and every frame is drawn at that size.
    RECT outer, want = units.map(130, 64, 314, 226), client, dialog_client;
    GetWindowRect(view, &outer);
    CHECK_INT(outer.right - outer.left, want.right - want.left);
    CHECK_INT(outer.bottom - outer.top, want.bottom - want.top);
    GetClientRect(view, &client);
    GetClientRect(app.dialog, &dialog_client);
    const int W = client.right, H = client.bottom;
    CHECK(W > 0 && H > 0 && W < outer.right - outer.left && H < outer.bottom - outer.top);
    std::printf("at %d dpi: dialog client %ld x %ld, view %ld x %ld, its client %d x %d\n", dpi,
                dialog_client.right, dialog_client.bottom, outer.right - outer.left, outer.bottom - outer.top, W, H);
    ClientToScreen(view, &view_origin);
    char viewport[80];
    std::snprintf(viewport, sizeof viewport, "glViewport x 0, y 0, width %d, height %d", W, H);

    ViewState camera;
    set_start_camera(camera);

    // The first paint: a whole frame from the start camera, viewport set
    // to the client area, no slots yet.
    std::vector<std::string> f = frames_after(1);
    CHECK(!f.empty());
    if (f.empty()) return check_exit();
    CHECK(draws(f[0], "glClearColor red 1.000000, green 1.000000, blue 1.000000, alpha 1.000000"));
    CHECK(draws(f[0], "glVertex3f x 5.000000, y 0.000000, z 0.000000"));
    CHECK(!draws(f[0], "glPointSize"));
    CHECK(draws(f[0], viewport));
    check_eye(f.back(), camera, "start camera");
    // As drawn: white, the axes and the board, no vector yet.
    Shot first = real_frame(view, W, H, "start");
    Picture start(camera, W, H);
    CHECK(close_to(first.at(3, 3), {255, 255, 255}));
    CHECK(colour_near(first, start.at(3.5, 0, 0), {255, 0, 0}));
    CHECK(colour_near(first, start.at(0, 3.5, 0), {0, 255, 0}));
    CHECK(colour_near(first, start.at(0, 0, 3.5), {0, 0, 255}));
    CHECK(!colour_near(first, start.at(1, -1, 1.5), MAGENTA));
    check_board(first, camera, "start");
    const double scale = dpi / 96.0;  // lines 1 px wide at 96 dpi, 2 at 144
    CHECK_INT(line_thickness(first, start.at(0, 0, 2), start.at(0, 0, 4), {0, 0, 255}), int(line_width_at(scale)));

    // Redraw writes every row back in canonical text.
    app.set_text(2001, "1,2,3");
    app.set_text(2002, "  2  3 ");
    app.set_text(2003, "300 20");
    app.set_text(2005, "0.1234567 x");
    app.set_text(2007, "red");
    app.set_text(2011, "-1 0 0");
    app.click(2014);
    CHECK_STR(app.text(2001), "1 0 0");
    CHECK_STR(app.text(2002), "2 3 0");
    CHECK_STR(app.text(2003), "255 20 0");
    CHECK_STR(app.text(2005), "0.123457 0 0");
    CHECK_STR(app.text(2006), "0 0 0");
    CHECK_STR(app.text(2007), "0 0 0");
    CHECK_STR(app.text(2011), "0 0 0");

    // The first row's magenta vector: editing draws nothing, Redraw one
    // frame with the vector's point and segment in magenta.
    size_t before = frames_after(0).size();
    app.set_text(2001, "0 0 3");
    app.set_text(2002, "1 -1 0");
    app.set_text(2003, "255 0 255");
    app.set_text(2005, "0 0 0");
    CHECK_INT(frames_after(0).size(), before);
    app.click(2014);
    f = frames_after(before + 1);
    CHECK_INT(f.size(), before + 1);  // three rows, one repaint
    const std::string& drawn = f.back();
    size_t red = drawn.find("glColor3ub red 255, green 0, blue 255");
    CHECK(red != std::string::npos);
    char point_size[48];
    std::snprintf(point_size, sizeof point_size, "glPointSize size %f", double(point_size_at(scale)));
    CHECK(draws(drawn, point_size));
    size_t tip = drawn.find("glVertex3f x 1.000000, y -1.000000, z 3.000000", red);
    size_t from = drawn.find("glVertex3f x 1.000000, y -1.000000, z 0.000000", tip);
    CHECK(red != std::string::npos && tip != std::string::npos && from != std::string::npos);
    // Rows 2 and 3 are zero vectors: no colour is set for them.
    CHECK(drawn.find("glColor3ub", red + 1) == std::string::npos);
    Shot redrawn = real_frame(view, W, H, "redraw");
    check_picture(redrawn, camera, MAGENTA, "after Redraw");
    check_board(redrawn, camera, "after Redraw");
    if (screenshot) save_dialog_with_view(app.dialog, view, redrawn, screenshot);

    // Orbit with button and motion messages straight to the view: each
    // motion draws exactly one frame.
    before = frames_after(0).size();
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
    for (int i = 1; i <= 8; ++i) PostMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, at(100 + 10 * i, 100 + 5 * i));
    PostMessageA(view, WM_LBUTTONUP, 0, at(180, 140));
    f = frames_after(before + 8);
    CHECK_INT(f.size(), before + 8);
    view_pointer_press(camera, ViewButton::left, pack_position(100, 100));
    view_pointer_motion(camera, pack_position(180, 140));
    view_pointer_cancel(camera);
    check_eye(f.back(), camera, "after the orbit");
    CHECK(draws(f.back(), "glColor3ub red 255, green 0, blue 255"));
    Shot orbited = real_frame(view, W, H, "orbit");
    CHECK(differing(redrawn, orbited) > 500);
    check_picture(orbited, camera, MAGENTA, "after the orbit");

    // A motion with no drag draws nothing.
    before = f.size();
    PostMessageA(view, WM_MOUSEMOVE, 0, at(10, 10));
    CHECK_INT(frames_after(0).size(), before);

    // Zoom: a right drag 40 px down, 20 units further out.
    PostMessageA(view, WM_RBUTTONDOWN, MK_RBUTTON, at(200, 200));
    for (int i = 1; i <= 4; ++i) PostMessageA(view, WM_MOUSEMOVE, MK_RBUTTON, at(200, 200 + 10 * i));
    PostMessageA(view, WM_RBUTTONUP, 0, at(200, 240));
    f = frames_after(before + 4);
    CHECK_INT(f.size(), before + 4);
    view_pointer_press(camera, ViewButton::right, pack_position(200, 200));
    view_pointer_motion(camera, pack_position(200, 240));
    view_pointer_cancel(camera);
    CHECK(camera.eye_distance == 30.0f);
    check_eye(f.back(), camera, "after the zoom");
    check_picture(real_frame(view, W, H, "zoom"), camera, MAGENTA, "after the zoom");

    // With the real pointer: the press takes the capture, so the drag
    // follows the pointer out of the view; the release out there ends it
    // and gives the capture back; moving over the view afterwards with no
    // button held draws nothing.
    pointer_to(300, 150);
    pointer_button(MOUSEEVENTF_LEFTDOWN);
    CHECK(capture_of(app) == view);
    pointer_to(260, 150);
    pointer_to(-60, 150);  // over the calculator buttons
    pointer_button(MOUSEEVENTF_LEFTUP);
    CHECK(capture_of(app) == nullptr);
    view_pointer_press(camera, ViewButton::left, pack_position(300, 150));
    view_pointer_motion(camera, pack_position(-60, 150));
    view_pointer_cancel(camera);
    f = frames_after(0);
    check_eye(f.back(), camera, "after release outside");
    before = f.size();
    for (int i = 0; i < 6; ++i) pointer_to(50 + 60 * i, 80 + 30 * i);
    CHECK_INT(frames_after(0).size(), before);

    // The wheel over the view zooms while V1 keeps the focus: a notch in
    // as Wine delivers it (under the pointer), one out in thirds as Windows
    // may (to the focus); the first third moves nothing.
    app.focus_control(1001);
    pointer_to(200, 150);
    pointer_button(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    for (int i = 0; i < 3; ++i)
        PostMessageA(app.focus(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA / 3)),
                     MAKELPARAM(view_origin.x + 200, view_origin.y + 150));
    zoom_camera(camera, 1.0);
    for (int i = 0; i < 3; ++i) zoom_camera(camera, -(WHEEL_DELTA / 3) / double(WHEEL_DELTA));
    check_eye(frames_after(0).back(), camera, "after the wheel");
    CHECK(app.focus() == app.control(1001) && edge_colour(outer) != GetSysColor(COLOR_HIGHLIGHT));

    // A click gives the view the keys and its focus ring: arrows orbit
    // (Shift: the fine step), keypad + and Page Down zoom, as the core's.
    pointer_button(MOUSEEVENTF_LEFTDOWN);
    pointer_button(MOUSEEVENTF_LEFTUP);
    CHECK(app.focus() == view && edge_colour(outer) == GetSysColor(COLOR_HIGHLIGHT));
    // Each key as the keyboard gives it, and the same key to the core.
    auto press = [&](WORD vk, ViewKey key, bool fine) {
        if (fine) key_event(VK_SHIFT, 0);
        key_event(vk, 0);
        key_event(vk, KEYEVENTF_KEYUP);
        if (fine) key_event(VK_SHIFT, KEYEVENTF_KEYUP);
        view_key(camera, key, fine);
    };
    press(VK_LEFT, ViewKey::left, false);
    press(VK_UP, ViewKey::up, true);
    press(VK_DOWN, ViewKey::down, false);
    press(VK_ADD, ViewKey::zoom_in, false);
    press(VK_NEXT, ViewKey::zoom_out, false);
    check_eye(frames_after(0).back(), camera, "after the keys");
    check_picture(real_frame(view, W, H, "keys"), camera, MAGENTA, "after the keys");
    // Home: Redraw's picture at the start camera, pixel for pixel. Tab
    // still leaves the view.
    press(VK_HOME, ViewKey::reset, false);
    frames_after(0);
    CHECK_INT(differing(real_frame(view, W, H, "home"), redrawn), 0);
    app.key(VK_TAB);
    CHECK(app.focus() == app.control(1001));
    app.key(VK_ESCAPE);
    CHECK(app.wait_exit(10000));
    CHECK_INT(app.exit_code(), 0);
    return check_exit();
}
