// The view control's window procedure and its GL context. The pointer
// messages, the wheel and the view's keys go to the orbit camera, the paint
// message draws one frame.

#include "view/win32/view_window.h"

#include <windowsx.h>

#include "view/host.h"

namespace {

PAINTSTRUCT paint;

HWND window_of(const ViewState& view) { return static_cast<HWND>(view.window); }

uint32_t packed(LPARAM lparam) { return uint32_t(lparam); }

// A press that begins a drag takes the pointer capture, so that a release
// outside the view still ends the drag. Without it the camera would go on
// following the pointer with no button held.
void press(HWND window, ViewButton button, LPARAM lparam) {
    SetFocus(window);
    if (view_pointer_press(view_state, button, packed(lparam))) SetCapture(window);
}

// The view's menu is the dialog's to show: it holds the dialog's commands.
// The dialog is asked as a child asks its parent, with a screen position:
// the pointer's, or the view's centre when the keyboard asked.
void ask_for_menu(HWND window, POINT at, bool from_keyboard) {
    if (from_keyboard) {
        RECT r;
        GetClientRect(window, &r);
        at = {r.right / 2, r.bottom / 2};
    }
    ClientToScreen(window, &at);
    SendMessageA(GetParent(window), WM_CONTEXTMENU, WPARAM(window), MAKELPARAM(at.x, at.y));
}

void release(HWND window, ViewButton button, LPARAM lparam) {
    ViewRelease was = view_pointer_release(view_state, button, packed(lparam));
    if (GetCapture() == window) ReleaseCapture();
    if (was == ViewRelease::menu) ask_for_menu(window, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}, false);
}

void key(HWND window, ViewKey k, bool fine) {
    if (view_key(view_state, k, fine)) ask_for_menu(window, {0, 0}, true);
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

// Lines and tips scale with the dpi the dialog is laid out at: the
// window's own where Windows knows one (10 and later, per monitor), else
// the screen's. 96 dpi is scale 1 exactly.
void update_display_scale(ViewState& view, HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    auto dpi_for = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT dpi = dpi_for ? dpi_for(window) : 0;
    if (dpi == 0) {
        HDC dc = GetDC(window);
        dpi = UINT(GetDeviceCaps(dc, LOGPIXELSY));
        ReleaseDC(window, dc);
    }
    set_display_scale(view, dpi > 0 ? dpi / 96.0 : 1.0);
}

void view_create(ViewState& view, HWND window) {
    create_gl_context(window);
    view_window_created(view, window);
    view.names_axes = true;
    update_display_scale(view, window);
}

// The view's keys. Characters come as WM_CHAR, so the keypad's + and -
// arrive there too, and auto-repeat repeats the step.
// Shift+F10 comes as a system key; the Menu key as a plain one.
bool view_keydown(HWND window, WPARAM vk) {
    bool fine = GetKeyState(VK_SHIFT) < 0;
    switch (vk) {
        case VK_LEFT: key(window, ViewKey::left, fine); break;
        case VK_RIGHT: key(window, ViewKey::right, fine); break;
        case VK_UP: key(window, ViewKey::up, fine); break;
        case VK_DOWN: key(window, ViewKey::down, fine); break;
        case VK_PRIOR: key(window, ViewKey::zoom_in, false); break;
        case VK_NEXT: key(window, ViewKey::zoom_out, false); break;
        case VK_HOME: key(window, ViewKey::reset, false); break;
        case VK_APPS: key(window, ViewKey::menu, false); break;
        case VK_F10:
            if (!fine) return false;
            key(window, ViewKey::menu, false);
            break;
        default: return false;
    }
    return true;
}

void view_char(HWND window, WPARAM c) {
    if (c == '+') key(window, ViewKey::zoom_in, false);
    if (c == '-') key(window, ViewKey::zoom_out, false);
}

// The focus shows as a highlight-coloured ring in the client edge, outside
// the GL frame.
bool focused = false;

void paint_focus_ring(HWND window) {
    if (!focused) return;
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetWindowDC(window);
    HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
    FrameRect(dc, &r, brush);
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, brush);
    ReleaseDC(window, dc);
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

void register_view_class(HINSTANCE instance) {
    WNDCLASSA view_class = {};
    view_class.style = 0;
    view_class.lpfnWndProc = view_window_proc;
    view_class.hInstance = instance;
    view_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    view_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    view_class.lpszClassName = "OpenGLView";
    RegisterClassA(&view_class);
}

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
        case WM_MOUSEMOVE: view_pointer_motion(view_state, packed(lparam)); break;
        case WM_LBUTTONDOWN: press(window, ViewButton::left, lparam); break;
        case WM_RBUTTONDOWN: press(window, ViewButton::right, lparam); break;
        case WM_LBUTTONUP: release(window, ViewButton::left, lparam); break;
        case WM_RBUTTONUP: release(window, ViewButton::right, lparam); break;
        case WM_CAPTURECHANGED:
            // Capture taken away mid-drag (another window, a menu): the
            // button's release will not reach us, so the drag ends now.
            if (reinterpret_cast<HWND>(lparam) != window) view_pointer_cancel(view_state);
            break;
        case WM_MOUSEWHEEL:
            // Not to DefWindowProc, which would hand it on to the dialog.
            zoom_camera(view_state, GET_WHEEL_DELTA_WPARAM(wparam) / double(WHEEL_DELTA));
            return 0;
        case WM_GETDLGCODE:
            // Arrows and characters are ours; Tab, Enter and Escape stay
            // the dialog's.
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN: view_keydown(window, wparam); return 0;
        case WM_SYSKEYDOWN:
            if (view_keydown(window, wparam)) return 0;
            break;
        case WM_CHAR: view_char(window, wparam); return 0;
        case WM_CONTEXTMENU:
            // The default one, from the right button's release even after a
            // drag, stops here; the view asks for its own.
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            focused = message == WM_SETFOCUS;
            SendMessageA(window, WM_NCPAINT, 1, 0);
            break;
        case WM_NCPAINT:
            DefWindowProcA(window, message, wparam, lparam);
            paint_focus_ring(window);
            return 0;
        case WM_DPICHANGED_AFTERPARENT:
            update_display_scale(view_state, window);
            InvalidateRect(window, nullptr, FALSE);
            break;
        default: break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
