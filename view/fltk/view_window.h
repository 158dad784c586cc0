// view/fltk: the view control on Linux, an FLTK GL window (single-buffered
// RGB with depth) that routes creation, size changes, paints, button
// presses and releases, pointer motion, the wheel and, once a click has
// given it the focus, the view's keys to the view's core operations.
#pragma once

class Fl_Widget;
class Fl_Gl_Window;

// The control as the dialog places it: a sunken frame `edge` pixels wide
// (the client edge) around the GL window, which fills the rest. Lines are
// drawn at the display's `scale`.
Fl_Widget* create_view_control(int x, int y, int w, int h, int edge, double scale);

// The GL window inside the control, or nullptr before it exists.
Fl_Gl_Window* view_gl_window();

// Who shows the view's menu when it asks (a right click without motion,
// Shift+F10 or the Menu key), at a position on the screen.
void on_view_menu(void (*open)(int root_x, int root_y));
// Makes the view's GL context current, once its window is shown: the
// dialog does before every call into the core, some of which draw at once.
void make_view_current();
