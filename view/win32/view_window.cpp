// The view control. For now it is an empty child window that leaves every
// message to the default handling, which paints it with the class brush.

#include "view/win32/view_window.h"

LRESULT CALLBACK view_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}
