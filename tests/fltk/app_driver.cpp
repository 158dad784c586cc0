// The end-to-end tests work out the pictures they expect with the view's
// own camera code; they draw nothing themselves. What that code asks of a
// host is the size of the view's GL window, which the dialog fixes.

#include "tests/fltk/app_driver.h"

void get_client_size(const ViewState&, int& w, int& h) {
    w = VIEW_W;
    h = VIEW_H;
}
