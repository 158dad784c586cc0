// view/host.h: how a host's view window attaches to the core. A host
// (view/win32, view/fltk, view/web) owns one child window with a GL context
// current on the GUI thread, and translates that window's events into the
// calls below and nothing else: what a button, key or wheel notch does is
// the core's to decide.
//
// The host calls:
// - view_window_created once the window exists (with or without a
//   context), then sets names_axes where the frame is to name the axes
//   (the desktop hosts; the page lays its own names over the view), then
//   set_display_scale with its device pixels per layout
//   pixel, again whenever that changes;
// - view_window_resized at every size change of its client area, before
//   anything is drawn at that size;
// - render_view for a paint;
// - view_pointer_press, view_pointer_motion and view_pointer_release for
//   every button press, pointer motion and release over the window, with
//   positions from pack_position in client pixels, y growing downward;
//   view_pointer_cancel when the window loses the pointer mid-drag. A press
//   that answers true wants the pointer kept (captured) until the release.
//   The core draws each drag motion at once, inside the call, and so do
//   the steps (keys, wheel, pinch) and the dialog's Reset view: the view's
//   GL context must be current before each call into the core. The Win32
//   and web hosts have one context, current from the view's creation on;
//   the FLTK host calls make_current() on the view before each;
// - view_key with its own key codes mapped to ViewKey while the window has
//   the focus, zoom_camera with wheel notches, begin_pinch and
//   pinch_camera with two fingers' spread.
//
// The host answers get_client_size, which render_view asks once per frame.
#pragma once

#include "view/view.h"

// Window handle, start camera, no drag.
void view_window_created(ViewState& view, void* window);

// Viewport to the new client size, projection reset, and any drag ends.
// Draws nothing; the current context must be the view's.
void view_window_resized(ViewState& view, int width, int height);

// Answered by the host: the client size of view.window in pixels.
void get_client_size(const ViewState& view, int& width, int& height);
