// The view control's window procedure and its GL context. The pointer
// messages go to the orbit camera, the paint message draws one frame.

#include "view/win32/view_window.h"

#include "view/host.h"

namespace {

PAINTSTRUCT paint;

HWND window_of(const ViewState& view) { return static_cast<HWND>(view.window); }

uint32_t packed(LPARAM lparam) { return uint32_t(lparam); }

// A press that begins a drag takes the pointer capture, so that a release
// outside the view still ends the drag. Without it the camera would go on
// following the pointer with no button held.
void capture_if_dragging(HWND window) {
    if (view_state.drag_mode != DRAG_NONE) SetCapture(window);
}

void end_drag_and_release(HWND window) {
    end_drag(view_state);
    if (GetCapture() == window) ReleaseCapture();
}

// Pixel format and GL context on the window's own device context, which
// stays taken until release_gl_context. No result is examined: with no
// context the window still works and draws nothing.
void create_gl_context(HWND window) {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;  // single-buffered
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    HDC dc = GetDC(window);
    int format = ChoosePixelFormat(dc, &pfd);
    SetPixelFormat(dc, format, &pfd);
    HGLRC context = wglCreateContext(dc);
    if (context) wglMakeCurrent(dc, context);
}

void view_create(ViewState& view, HWND window) {
    create_gl_context(window);
    view_window_created(view, window);
}

void view_resize(ViewState& view) {
    int width, height;
    get_client_size(view, width, height);
    view_window_resized(view, width, height);
}

void release_gl_context(ViewState& view) {
    HGLRC context = wglGetCurrentContext();
    if (!context) return;
    HDC dc = wglGetCurrentDC();
    wglMakeCurrent(nullptr, nullptr);
    ReleaseDC(window_of(view), dc);
    wglDeleteContext(context);
}

}  // namespace

void get_client_size(const ViewState& view, int& width, int& height) {
    RECT r{0, 0, 0, 0};
    GetClientRect(window_of(view), &r);
    width = r.right;
    height = r.bottom;
}

LRESULT CALLBACK view_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: view_create(view_state, window); break;
        case WM_DESTROY: release_gl_context(view_state); break;
        case WM_SIZE: view_resize(view_state); break;
        case WM_PAINT:
            BeginPaint(window, &paint);
            render_view(view_state);
            EndPaint(window, &paint);
            return 0;
        case WM_MOUSEMOVE: drag_camera(view_state, packed(lparam)); break;
        case WM_LBUTTONDOWN:
            begin_rotate(view_state, packed(lparam));
            capture_if_dragging(window);
            break;
        case WM_RBUTTONDOWN:
            begin_zoom(view_state, packed(lparam));
            capture_if_dragging(window);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: end_drag_and_release(window); break;
        case WM_CAPTURECHANGED:
            // Capture taken away mid-drag (another window, a menu): the
            // button's release will not reach us, so the drag ends now.
            if (reinterpret_cast<HWND>(lparam) != window) end_drag(view_state);
            break;
        default: break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
