// view/fltk: the view control on Linux, an FLTK GL window (single-buffered
// RGB with depth) that routes creation, size changes, paints, button
// presses and releases and pointer motion to the view's core operations.
#pragma once

class Fl_Widget;
class Fl_Gl_Window;

// The control as the dialog places it: a sunken frame `edge` pixels wide
// (the client edge) around the GL window, which fills the rest.
Fl_Widget* create_view_control(int x, int y, int w, int h, int edge);

// The GL window inside the control, or nullptr before it exists.
Fl_Gl_Window* view_gl_window();
