// End to end on Windows: the real arrowbench.exe when its GL context
// cannot be created, and the same run with one as the control.
//
// On an X server without GLX, Wine finds no pixel format, SetPixelFormat
// fails and wglCreateContext gives no context. The dialog must work all
// the same: commands and Redraw run, paints and drags still call the
// frame code (its GL calls reach opengl32 and do nothing), a size change
// still sets the viewport, the view shows its class background, and
// Escape ends the program with exit code 0. Nothing is made current and,
// at the end, nothing is released. Wine's OpenGL and WGL trace shows
// which calls the program made.
//
// Usage: test_win32_no_gl.exe PATH\arrowbench.exe TRACE_FILE no-gl|gl
// with this program's standard error going to TRACE_FILE.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/command_cases.h"
#include "tests/win32/win32_driver.h"
#include "tests/win32/wine_trace.h"

namespace {

bool with_gl;

// clang-format off
const CommandCase COMMANDS[] = {
    {ID_ADD, "1 2 3", "4 5 6", "0", nullptr, nullptr, "5 7 9", nullptr},
    {ID_SUB, "1 2 3", "4 5 6", "0", nullptr, nullptr, "-3 -3 -3", nullptr},
    {ID_CROSS_PRODUCT, "0 1 0", "1 0 0", "0", nullptr, nullptr, "0 0 -1", nullptr},
    {ID_DOT_PRODUCT, "1 2 3", "4 5 6", "0", nullptr, nullptr, nullptr, "32"},
    {ID_MUL_SCALAR, " 1 2 3 ", "", "2 x", nullptr, nullptr, "2 4 6", nullptr},
    {ID_DIV_SCALAR, "1 -2 0", "", "0", nullptr, nullptr, "Infinity -Infinity NaN", nullptr},
    {ID_NORMALIZE, "0 0 0", "", "0", nullptr, nullptr, "0 0 1", nullptr},
    {ID_LENGTH, "3 0 4", "", "0", nullptr, nullptr, nullptr, "5"},
};
// clang-format on

void check_commands(Win32Driver& app) {
    for (const CommandCase& c : COMMANDS) {
        check_context("command " + std::to_string(c.id));
        CHECK(app.set(ID_V1, c.v1));
        CHECK(app.set(ID_V2, c.v2));
        CHECK(app.set(ID_S1, c.s1));
        CHECK(app.press(int(c.id)));
        const std::string got = app.get(c.v3 ? ID_V3 : ID_S2);  // the command's result
        CHECK(got != "<no answer>");
        CHECK_STR(got, c.v3 ? c.v3 : c.s2);
    }
    check_context("");
}

// The view's own background where the frame draws nothing: the class
// brush, light grey, in the middle of the view as the screen shows it.
bool view_shows_class_background(HWND view) {
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    Sleep(500);
    RECT r;
    GetWindowRect(view, &r);
    HDC screen = GetDC(nullptr);
    int grey = 0, total = 0;
    for (int y = r.top + 20; y < r.bottom - 20; y += 37)
        for (int x = r.left + 20; x < r.right - 20; x += 41) {
            grey += GetPixel(screen, x, y) == RGB(192, 192, 192);
            ++total;
        }
    ReleaseDC(nullptr, screen);
    return total > 0 && grey == total;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || (std::string(argv[3]) != "gl" && std::string(argv[3]) != "no-gl")) {
        std::printf("usage: test_win32_no_gl.exe arrowbench.exe trace.txt no-gl|gl\n");
        return 2;
    }
    with_gl = std::string(argv[3]) == "gl";
    Win32Driver app(argv[1], "trace+opengl,trace+wgl");
    CHECK(app.dialog != nullptr);
    if (!app.dialog) return check_exit();
    TracedFrames trace(argv[2], app.gui_thread);

    // The view window exists whatever became of its context.
    HWND view = app.control(ID_VIEW);
    CHECK(IsWindow(view) && IsWindowVisible(view));
    char cls[32] = {};
    GetClassNameA(view, cls, sizeof cls);
    CHECK_STR(cls, "OpenGLView");

    // The first paint runs the frame code.
    CHECK(trace.after(1) >= 1);

    // Creation: the format asked for, chosen and set, a context asked
    // for; made current only when there is one.
    CHECK(trace.count("trace:opengl:wglChoosePixelFormat") >= 1);
    CHECK_INT(trace.count("flags 36 type 0 color 24 0,0,0,0 accum 0 depth 32"), 1);
    CHECK_INT(trace.count("trace:opengl:wglSetPixelFormat"), 1);
    CHECK_INT(trace.count("trace:opengl:wglCreateContext"), 1);
    CHECK_INT(trace.count("trace:opengl:wglChoosePixelFormat returning"), with_gl ? 1 : 0);
    CHECK_INT(trace.count("err:wgl:set_pixel_format Invalid format 0"), with_gl ? 0 : 1);
    CHECK_INT(trace.count("trace:opengl:wglMakeCurrent"), with_gl ? 1 : 0);

    check_commands(app);

    // Redraw: the rows are rewritten and one repaint runs the frame code.
    size_t before = trace.after(0);
    CHECK(app.set(ID_ROW_VECTOR, "1,2,3"));
    CHECK(app.set(ID_ROW_COLOR, "300 20"));
    CHECK(app.press(ID_REDRAW));
    std::string got = app.get(ID_ROW_VECTOR);
    CHECK(got != "<no answer>");
    CHECK_STR(got, "1 0 0");
    got = app.get(ID_ROW_COLOR);
    CHECK(got != "<no answer>");
    CHECK_STR(got, "255 20 0");
    CHECK_INT(trace.after(before + 1), before + 1);

    // Drags: one frame per motion, orbit and zoom alike.
    before = trace.after(0);
    CHECK(app.drag_begin(LEFT_BUTTON, 100, 100, false));
    for (int i = 1; i <= 5; ++i) CHECK(app.drag_move(100 + 9 * i, 100 - 4 * i));
    CHECK(app.drag_end(145, 80));
    CHECK(app.drag_begin(RIGHT_BUTTON, 200, 200, false));
    for (int i = 1; i <= 3; ++i) CHECK(app.drag_move(200, 200 + 7 * i));
    CHECK(app.drag_end(200, 221));
    CHECK_INT(trace.after(before + 8), before + 8);

    // A size change mid-drag sets the viewport from the new client area
    // and ends the drag: the motions after it draw nothing.
    RECT frame;
    GetWindowRect(view, &frame);
    int w = frame.right - frame.left, h = frame.bottom - frame.top;
    CHECK(app.drag_begin(LEFT_BUTTON, 50, 50, false));
    CHECK(app.drag_move(60, 50));
    before = trace.after(0);
    SetWindowPos(view, nullptr, 0, 0, w - 20, h - 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CHECK(wait_until([&] {
        trace.read();
        return trace.count("glViewport x 0, y 0, width 526, height 353") == 1;
    }));
    before = trace.after(0);
    for (int i = 1; i <= 4; ++i) CHECK(app.drag_move(60 + 10 * i, 50));
    CHECK(app.drag_end(100, 50));
    CHECK_INT(trace.after(0), before);
    SetWindowPos(view, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CHECK(wait_until([&] {
        trace.read();
        return trace.count("glViewport x 0, y 0, width 546, height 363") == 2;
    }));

    // With no context nothing draws over the class background. (With one,
    // Wine 8 does not show a GL child window at all, so there is nothing
    // to compare.)
    if (!with_gl) CHECK(view_shows_class_background(view));

    CHECK(app.running());
    CHECK_INT(app.close_by_escape(), 0);

    // The release: with a context, unbound and deleted; without one it
    // stops at once, so neither call is made.
    wait_until([&] {
        trace.read();
        return !with_gl || trace.count("trace:opengl:wglDeleteContext") > 0;
    });
    const std::string null_handle(2 * sizeof(void*), '0');  // as Wine's trace prints a pointer
    const std::string unbind = "trace:opengl:wglMakeCurrent hDc " + null_handle + ", newContext " + null_handle;
    CHECK_INT(trace.count(unbind.c_str()), with_gl ? 1 : 0);
    CHECK_INT(trace.count("trace:opengl:wglDeleteContext"), with_gl ? 1 : 0);
    CHECK_INT(trace.count("trace:opengl:wglMakeCurrent"), with_gl ? 2 : 0);
    return check_exit();
}
