// End to end on Windows: the real arrowbench.exe's 3D view under Wine on
// the X server. Redraw rewrites the view rows; the first row's red vector
// shows where our own projection of the camera puts it; button and motion
// messages orbit and zoom the view; a drag released outside the view
// (real pointer input, through the pointer capture) is over.
//
// Usage: test_win32_view.exe PATH\arrowbench.exe [screenshot.bmp]

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/view_pixels.h"
#include "tests/win32/app_process.h"
#include "view/view.h"

namespace {

const Rgb RED{255, 0, 0};
int view_w, view_h;
POINT view_origin;  // the view's client area on the screen

Shot shoot() {
    Sleep(300);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, view_w, view_h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, view_w, view_h, screen, view_origin.x, view_origin.y, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = view_w;
    bi.biHeight = -view_h;  // top-down
    bi.biPlanes = 1;
    bi.biBitCount = 32;
    std::vector<unsigned char> raw(size_t(view_w) * size_t(view_h) * 4);
    GetDIBits(mem, bmp, 0, UINT(view_h), raw.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    Shot s;
    s.width = view_w;
    s.height = view_h;
    s.px.resize(size_t(view_w) * size_t(view_h));
    for (size_t i = 0; i < s.px.size(); ++i) s.px[i] = {raw[i * 4 + 2], raw[i * 4 + 1], raw[i * 4]};
    return s;
}

LPARAM at(int x, int y) { return LPARAM(pack_position(x, y)); }

// Real pointer input, as the mouse gives it, in view client coordinates.
void pointer_to(int x, int y) {
    SetCursorPos(view_origin.x + x, view_origin.y + y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG((view_origin.x + x) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG((view_origin.y + y) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    Sleep(40);
}

void pointer_button(DWORD flag) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
    Sleep(60);
}

}  // namespace

// The expected cameras come from the view's own camera code (tested on its
// own against known values); nothing is drawn in this process.
void get_client_size(const ViewState&, int& w, int& h) {
    w = view_w;
    h = view_h;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: test_win32_view.exe arrowbench.exe [screenshot.bmp]\n");
        return 2;
    }
    AppProcess app(argv[1]);
    CHECK(app.dialog != nullptr);
    if (!app.dialog) return check_exit();
    HWND view = app.control(2013);
    RECT client;
    GetClientRect(view, &client);
    view_w = client.right;
    view_h = client.bottom;
    view_origin = {0, 0};
    ClientToScreen(view, &view_origin);
    CHECK_INT(view_w, 546);  // 314 x 226 dialog units less the client edge
    CHECK_INT(view_h, 363);

    ViewState camera;
    set_start_camera(camera, nullptr);

    // The first frame: white, with the axes, from the start camera.
    Shot first = shoot();
    Picture start(camera, view_w, view_h);
    CHECK(close_to(first.at(3, 3), {255, 255, 255}));
    CHECK(colour_near(first, start.at(3.5, 0, 0), {255, 0, 0}));
    CHECK(colour_near(first, start.at(0, 3.5, 0), {0, 255, 0}));

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

    // The first row's red vector, where the camera must show it.
    app.set_text(2001, "0 0 3");
    app.set_text(2002, "1 -1 0");
    app.set_text(2003, "255 0 0");
    app.set_text(2005, "0 0 0");
    Shot before = shoot();
    CHECK(!colour_near(before, start.at(1, -1, 1.5), {255, 0, 0}));  // nothing until Redraw
    app.click(2014);
    Shot drawn = shoot();
    check_picture(drawn, camera, RED, "after Redraw");
    if (argc > 2) save_screenshot(app.dialog, argv[2]);

    // Orbit with button and motion messages straight to the view.
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
    for (int i = 1; i <= 8; ++i) PostMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, at(100 + 10 * i, 100 + 5 * i));
    PostMessageA(view, WM_LBUTTONUP, 0, at(180, 140));
    begin_rotate(camera, pack_position(100, 100));
    drag_camera(camera, pack_position(180, 140));
    end_drag(camera);
    Shot orbited = shoot();
    CHECK(differing(drawn, orbited) > 500);
    check_picture(orbited, camera, RED, "after the orbit");

    // Zoom: a right drag 40 px down, 20 units further out.
    PostMessageA(view, WM_RBUTTONDOWN, MK_RBUTTON, at(200, 200));
    for (int i = 1; i <= 4; ++i) PostMessageA(view, WM_MOUSEMOVE, MK_RBUTTON, at(200, 200 + 10 * i));
    PostMessageA(view, WM_RBUTTONUP, 0, at(200, 240));
    begin_zoom(camera, pack_position(200, 200));
    drag_camera(camera, pack_position(200, 240));
    end_drag(camera);
    Shot zoomed = shoot();
    check_picture(zoomed, camera, RED, "after the zoom");

    // With the real pointer: a drag that leaves the view follows it out and
    // ends where the button is released; moving over the view afterwards,
    // no button held, changes nothing.
    pointer_to(300, 150);
    pointer_button(MOUSEEVENTF_LEFTDOWN);
    pointer_to(260, 150);
    pointer_to(-60, 150);  // over the calculator buttons
    pointer_button(MOUSEEVENTF_LEFTUP);
    begin_rotate(camera, pack_position(300, 150));
    drag_camera(camera, pack_position(-60, 150));
    end_drag(camera);
    Shot released = shoot();
    check_picture(released, camera, RED, "after release outside");
    for (int i = 0; i < 6; ++i) pointer_to(50 + 60 * i, 80 + 30 * i);
    Shot after = shoot();
    CHECK_INT(differing(released, after), 0);

    app.focus_control(1001);
    app.key(VK_ESCAPE);
    CHECK(app.wait_exit(10000));
    CHECK_INT(app.exit_code(), 0);
    return check_exit();
}
