// Linux entry: show the dialog and run until it is closed. Exit code 0.

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>

#include "app/fltk/dialog.h"

int main() {
    MainDialog& dialog = create_main_dialog();
    dialog.window->show();
    Fl::run();
    return 0;
}
