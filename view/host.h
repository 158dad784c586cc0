// view/host.h: what a host's view window owes the core, and what the core
// does for it. A host (view/win32, view/fltk, ...) owns one child window
// with a GL context current on the GUI thread, and:
// - calls view_window_created once that window exists (with or without a
//   context), and view_window_resized at every size change of its client
//   area, before anything is drawn at that size;
// - draws a paint with render_view;
// - hands left and right presses, releases and motions to begin_rotate,
//   begin_zoom, end_drag and drag_camera, positions packed with
//   pack_position in client pixels, y growing downward;
// - answers get_client_size, which render_view asks once per frame.
#pragma once

#include "view/view.h"

// Start camera, window handle, no drag.
void view_window_created(ViewState& view, void* window);

// Viewport to the new client size, projection reset, and any drag ends.
// Draws nothing; the current context must be the view's.
void view_window_resized(ViewState& view, int width, int height);

// Answered by the host: the client size of view.window in pixels.
void get_client_size(const ViewState& view, int& width, int& height);
