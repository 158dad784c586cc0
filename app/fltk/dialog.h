// The Linux main dialog: one FLTK window with the 45 controls of the
// template, in template order, which is also the Tab order.
#pragma once

#include "app/dialog_template.h"

class Fl_Double_Window;
class Fl_Widget;

struct MainDialog {
    Fl_Double_Window* window;
    Fl_Widget* controls[CONTROL_COUNT];  // in template order
};

// Builds the dialog (not yet shown). There is one per process.
MainDialog& create_main_dialog();

// The control with identifier `id`, or nullptr.
Fl_Widget* dialog_control(const MainDialog& dialog, int id);
