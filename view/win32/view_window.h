// view/win32: the view control's window procedure (class OpenGLView).
#pragma once

#include <windows.h>

LRESULT CALLBACK view_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
