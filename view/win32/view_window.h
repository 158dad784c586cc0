// view/win32: the view control on Windows, window class OpenGLView: its
// window procedure, and the life of its WGL context from the window's
// creation to its destruction.
#pragma once

#include <windows.h>

// Makes the class OpenGLView known; the entry point calls it before it
// creates the dialog, whose template holds the view control.
void register_view_class(HINSTANCE instance);

// The view asks its parent for its menu with WM_CONTEXTMENU (wParam the
// view, lParam the screen position).

LRESULT CALLBACK view_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
