// The Windows floor for the start-up figure: a modeless dialog of the main
// dialog's size and font with one child window where the view is, which
// gets the view's WGL context and paints the least frame there is (clear
// colour and depth, glFinish), also for every motion of a left drag, as
// the view does. Escape closes it.
// With the argument "picture" the child draws the view's picture instead
// (bench/same_picture.h); with "dialog" it does that inside the program's
// own dialog template, all 45 controls, so only our code is missing.

#include <windows.h>

#include <GL/gl.h>
#include <cstring>

#include "app/control_ids.h"
#include "app/dialog_template.h"
#include "bench/same_picture.h"

namespace {

bool draw_picture;

void least_frame() { floor_frame(draw_picture, double(view_client_width()) / view_client_height()); }

LRESULT CALLBACK floor_view_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    static PAINTSTRUCT ps;
    static bool dragging;
    switch (m) {
        case WM_LBUTTONDOWN: dragging = true; break;
        case WM_LBUTTONUP: dragging = false; break;
        case WM_MOUSEMOVE:
            if (dragging) least_frame();
            break;
        case WM_CREATE: {
            PIXELFORMATDESCRIPTOR pfd = {};
            pfd.nSize = sizeof pfd;
            pfd.nVersion = 1;
            pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
            pfd.cColorBits = 24;
            pfd.cDepthBits = 32;
            HDC dc = GetDC(w);
            SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
            wglMakeCurrent(dc, wglCreateContext(dc));
            break;
        }
        case WM_PAINT:
            BeginPaint(w, &ps);
            least_frame();
            EndPaint(w, &ps);
            return 0;
        default: break;
    }
    return DefWindowProcA(w, m, wp, lp);
}

INT_PTR CALLBACK floor_dialog_proc(HWND d, UINT m, WPARAM wp, LPARAM) {
    if (m == WM_COMMAND && LOWORD(wp) == IDCANCEL) DestroyWindow(d);
    if (m == WM_DESTROY) PostQuitMessage(0);
    return m == WM_INITDIALOG;
}

// An extended dialog template in memory: header, then one control.
WORD* put_string(WORD* p, const char* s) {
    while (*s) *p++ = WORD(*s++);
    *p++ = 0;
    return p;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    bool own_dialog = std::strstr(command_line, "dialog") != nullptr;
    draw_picture = own_dialog || std::strstr(command_line, "picture") != nullptr;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = floor_view_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = own_dialog ? "OpenGLView" : "FloorView";
    RegisterClassA(&wc);

    alignas(4) WORD t[256] = {};
    WORD* p = t;
    *p++ = 1;       // dlgVer
    *p++ = 0xFFFF;  // signature
    p += 2;         // helpID
    p += 2;         // exStyle
    DWORD style = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT;
    *p++ = LOWORD(style);
    *p++ = HIWORD(style);
    *p++ = 1;  // one control
    *p++ = 6;
    *p++ = 5;
    *p++ = 449;
    *p++ = 294;
    *p++ = 0;  // menu
    *p++ = 0;  // class
    p = put_string(p, "Floor");
    *p++ = 8;  // points
    *p++ = 0;  // weight
    *p++ = 0;  // italic, charset
    p = put_string(p, "MS Sans Serif");
    p = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
    p += 2;  // helpID
    *p++ = LOWORD(WS_EX_CLIENTEDGE);
    *p++ = HIWORD(WS_EX_CLIENTEDGE);
    DWORD cstyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    *p++ = LOWORD(cstyle);
    *p++ = HIWORD(cstyle);
    const TemplateControl& view = *template_control(ID_VIEW);
    *p++ = WORD(view.x);
    *p++ = WORD(view.y);
    *p++ = WORD(view.width);
    *p++ = WORD(view.height);
    *p++ = ID_VIEW;  // id (DWORD)
    *p++ = 0;
    p = put_string(p, "FloorView");
    *p++ = 0;  // title
    *p++ = 0;  // no creation data

    HWND dialog = own_dialog ? CreateDialogParamA(instance, "main_dlg", nullptr, floor_dialog_proc, 0)
                             : CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(t), nullptr,
                                                          floor_dialog_proc, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
