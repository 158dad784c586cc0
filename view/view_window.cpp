// The view window's life as every host sees it: what its creation and its
// size changes do to the view state and the GL context.

#include "view/gl.h"
#include "view/host.h"
#include "view/internal.h"

void view_window_created(ViewState& view, void* window) {
    view.window = window;
    set_start_camera(view);
    end_drag(view);
}

void view_window_resized(ViewState& view, int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    end_drag(view);  // the anchor no longer means the same place
}
