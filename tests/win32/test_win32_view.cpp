// The Windows host's part of the view script (tests/desktop/view.cpp):
// arrowbench.exe under Wine, at the dpi of the Wine prefix it runs in.
//
// Besides the pixels (Wine's X11 driver renders a child window with a
// pixel format into an X window of its own, off screen, and that window
// holds the frame as drawn; view_frames.sh reads it for us), Wine's OpenGL
// trace gives the calls that reach opengl32: how many frames, what each
// draws, the viewport, and the camera each one sets up (gluLookAt ends in
// glTranslated(-eye)). One frame per motion message, the pointer capture
// of a real drag released outside the view, the focus and its ring are
// checked here; the view's size, the viewport and the frames' size follow
// the dialog units at the prefix's dpi, the point size its scale.
//
// Usage: test_win32_view.exe PATH/arrowbench.exe TRACE_FILE DPI [screenshot.bmp]
// with this program's standard error going to TRACE_FILE: the program
// inherits it, and Wine writes its trace there. DPI is the prefix's
// LogPixels. The screenshot is the dialog as the screen shows it with the
// view's frame put in place.

#include "app/dialog_template.h"
#include "app/worksheet.h"
#include "res/worksheet_dlg.h"
#include "tests/desktop/host.h"
#include "tests/win32/dialog_units.h"
#include "tests/win32/wine_trace.h"

namespace {

int dpi = 96;
const char* screenshot = nullptr;
std::unique_ptr<TracedFrames> traced;
std::string viewport;
RECT outer;  // the view control on the screen
size_t count = 0;  // frames drawn by the last step

// The view's top-left corner on the screen, where its focus ring goes.
bool focus_ring() {
    Sleep(300);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, outer.left, outer.top);
    ReleaseDC(nullptr, screen);
    return c == GetSysColor(COLOR_HIGHLIGHT);
}

// The dialog from the screen with the view's frame pasted where the view's
// client area is, as a BMP, and a PNG of it beside.
void save_dialog_with_view(const Win32Driver& d, const Shot& frame, const char* path) {
    WindowImage img = capture_window(d.dialog);
    RECT dialog;
    GetWindowRect(d.dialog, &dialog);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            int ix = d.view_origin.x - dialog.left + x, iy = d.view_origin.y - dialog.top + y;
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

std::unique_ptr<DesktopDriver> start_app(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: test_win32_view.exe arrowbench.exe trace.txt dpi [screenshot.bmp]\n");
        std::exit(2);
    }
    dpi = std::atoi(argv[3]);
    screenshot = argc > 4 ? argv[4] : nullptr;
    // Our own measurements in real pixels, as the program's are.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    CHECK_INT(GetDeviceCaps(screen, LOGPIXELSY), dpi);
    ReleaseDC(nullptr, screen);
    UnitMapper units;
    auto d = std::make_unique<Win32Driver>(argv[1], "trace+opengl,trace+wgl", argv[2]);
    if (!d->dialog) return nullptr;
    traced = std::make_unique<TracedFrames>(argv[2], d->gui_thread);
    // The control's client area is its template size less the client
    // edge, and every frame is drawn at that size.
    const TemplateControl* v = template_control(ID_VIEW);
    RECT want = units.map(v->x, v->y, v->width, v->height), dialog_client;
    GetWindowRect(d->view, &outer);
    CHECK_INT(outer.right - outer.left, want.right - want.left);
    CHECK_INT(outer.bottom - outer.top, want.bottom - want.top);
    GetClientRect(d->dialog, &dialog_client);
    const int W = d->view_width, H = d->view_height;
    CHECK(W > 0 && H > 0 && W < outer.right - outer.left && H < outer.bottom - outer.top);
    std::printf("at %d dpi: dialog client %ld x %ld, view %ld x %ld, its client %d x %d\n", dpi, dialog_client.right,
                dialog_client.bottom, outer.right - outer.left, outer.bottom - outer.top, W, H);
    char vp[80];
    std::snprintf(vp, sizeof vp, "glViewport x 0, y 0, width %d, height %d", W, H);
    viewport = vp;
    return d;
}

double view_scale() { return dpi / 96.0; }  // lines 1 px wide at 96 dpi, 2 at 144

void view_step(DesktopDriver& driver, const std::string& step, const ViewState& camera, const Shot& frame) {
    auto& d = static_cast<Win32Driver&>(driver);
    size_t n = traced->after(0);
    if (step == "start") {
        // The first paint: a whole frame from the start camera, viewport set
        // to the client area, no slots yet.
        n = traced->after(1);
        CHECK(n > 0);
        if (n == 0) return;
        std::string first = traced->frame(0);
        CHECK(has(first, "glClearColor red 1.000000, green 1.000000, blue 1.000000, alpha 1.000000"));
        CHECK(has(first, "glVertex3f x 5.000000, y 0.000000, z 0.000000"));
        CHECK(!has(first, "glPointSize"));
        CHECK(has(first, viewport.c_str()));
        traced->check_eye(camera, "start camera");
    } else if (step == "typed" || step == "hover") {
        CHECK_INT(n, count);  // editing, or a pointer with no button, draws nothing
    } else if (step == "redraw") {
        // One frame for three rows, with the vector's point and segment in
        // magenta; rows 2 and 3 are zero vectors: no colour is set for them.
        n = traced->after(count + 1);
        CHECK_INT(n, count + 1);
        const std::string drawn = traced->frame(n - 1);
        size_t red = drawn.find("glColor3ub red 255, green 0, blue 255");
        CHECK(red != std::string::npos);
        char point_size[48];
        std::snprintf(point_size, sizeof point_size, "glPointSize size %f", double(point_size_at(view_scale())));
        CHECK(has(drawn, point_size));
        size_t tip = drawn.find("glVertex3f x 1.000000, y -1.000000, z 3.000000", red);
        size_t from = drawn.find("glVertex3f x 1.000000, y -1.000000, z 0.000000", tip);
        CHECK(red != std::string::npos && tip != std::string::npos && from != std::string::npos);
        CHECK(drawn.find("glColor3ub", red + 1) == std::string::npos);
    } else if (step == "shown") {
        if (screenshot) save_dialog_with_view(d, frame, screenshot);
    } else if (step == "orbit" || step == "zoom") {
        // Each motion message draws exactly one frame.
        size_t motions = step == "orbit" ? 8 : 4;
        n = traced->after(count + motions);
        CHECK_INT(n, count + motions);
        traced->check_eye(camera, "after the " + step);
        if (step == "orbit") {
            CHECK(n > 0 && has(traced->frame(n - 1), "glColor3ub red 255, green 0, blue 255"));
            // A motion with no drag draws nothing.
            PostMessageA(d.view, WM_MOUSEMOVE, 0, LPARAM(pack_position(10, 10)));
            CHECK_INT(traced->after(0), n);
        }
    } else if (step == "outside") {
        // The press took the capture, so the drag followed the pointer out
        // of the view; the release out there ended it and gave it back.
        CHECK(d.capture_pressed == d.view);
        CHECK(d.capture_released == nullptr);
        traced->check_eye(camera, "after release outside");
    } else if (step == "wheel") {
        traced->check_eye(camera, "after the wheel");
        CHECK(d.focused() == d.control(ID_V1) && !focus_ring());
    } else if (step == "keys") {
        // The click gave the view the keys and its focus ring.
        CHECK(d.focused() == d.view && focus_ring());
        traced->check_eye(camera, "after the keys");
    } else if (step == "tab") {
        CHECK(d.focused() == d.control(ID_V1));
    } else if (step == "worksheet") {
        // Opened again, the dialog's own window comes forward with the keys
        // on its list, the newest row chosen: Up and Enter recall the Add
        // before it, and Ctrl+Z there undoes the recall.
        PostMessageA(d.dialog, WM_COMMAND, ID_WORKSHEET, 0);
        CHECK(wait_until([&] { return d.worksheet_shown(); }));
        HWND sheet = d.top_level("Arrowbench worksheet");
        CHECK(sheet && GetWindow(sheet, GW_OWNER) == d.dialog);
        CHECK(wait_until([&] { return GetForegroundWindow() == sheet && d.focused() == GetDlgItem(sheet, IDW_LIST); }));
        size_t rows = d.worksheet_lines().size();
        d.key("ArrowUp");
        d.key("Enter");
        CHECK(wait_until([&] { return d.get(ID_V3) == "5 7 9"; }));
        d.key("Ctrl+Z");
        CHECK(wait_until([&] { return d.get(ID_V3) == "-3 6 -3"; }));
        CHECK_INT(d.worksheet_lines().size(), rows);  // a recall adds no entry
        // Its buttons: LaTeX, then Clear, after which a new entry is the
        // first again.
        std::string latex = d.copied_by([&] { send_within(GetDlgItem(sheet, IDW_COPY_LATEX), BM_CLICK, 0, 0); });
        CHECK(latex.rfind("\\begin{enumerate}\n", 0) == 0 && has(latex, "\\item Add of $V_1$ = \\texttt{1 2 3}"));
        CHECK(send_within(GetDlgItem(sheet, IDW_CLEAR), BM_CLICK, 0, 0) && d.worksheet_lines().empty());
        CHECK(d.press(ID_ADD));
        std::vector<std::string> lines = d.worksheet_lines();
        CHECK(lines.size() == 1 && lines[0].rfind("1. Add of V1 = 1 2 3, V2 = 4 5 6: V3 = 5 7 9 \u2014 V1 + V2", 0) == 0);
        // Past the cap the oldest rows go, and the others keep their numbers.
        for (size_t i = 0; i <= WORKSHEET_CAP; ++i) CHECK(d.press(ID_ADD));
        lines = d.worksheet_lines();
        CHECK(lines.size() == WORKSHEET_CAP && lines.front().rfind("3. Add of", 0) == 0 &&
              lines.back().rfind("1002. Add of", 0) == 0);
        // The click on Add took the keys back to the dialog; opening the
        // window again brings it forward, for Escape.
        PostMessageA(d.dialog, WM_COMMAND, ID_WORKSHEET, 0);
        CHECK(wait_until([&] { return GetForegroundWindow() == sheet && IsChild(sheet, d.focused()); }));
        d.key("Escape");
        CHECK(wait_until([&] { return !d.worksheet_shown(); }) && d.running());
    }
    count = traced->after(0);
}
