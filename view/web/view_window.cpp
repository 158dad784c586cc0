// The view window in the browser is the page's canvas; its client size is
// the canvas's backing store, in device pixels. view.js turns the canvas's
// events into the calls below and nothing else: what a button, a key or a
// finger does is the core's to say.

#include <emscripten.h>

#include "view/host.h"

namespace {

int the_canvas;  // the view window's handle: the page has one canvas

// Pointer Events number the buttons 0 left, 1 middle, 2 right.
ViewButton button_of(int button) {
    return button == 0 ? ViewButton::left : button == 2 ? ViewButton::right : ViewButton::middle;
}

}  // namespace

EM_JS(int, canvas_width, (), { return Module['canvas'] ? Module['canvas'].width : 0; });
EM_JS(int, canvas_height, (), { return Module['canvas'] ? Module['canvas'].height : 0; });

void get_client_size(const ViewState&, int& width, int& height) {
    width = canvas_width();
    height = canvas_height();
}

extern "C" {

EMSCRIPTEN_KEEPALIVE void arrowbench_start() { view_window_created(view_state, &the_canvas); }

EMSCRIPTEN_KEEPALIVE void arrowbench_paint() { render_view(view_state); }

EMSCRIPTEN_KEEPALIVE void arrowbench_resized(int width, int height) { view_window_resized(view_state, width, height); }

// 1 when the press began a drag, which the page then keeps the pointer for.
EMSCRIPTEN_KEEPALIVE int arrowbench_press(int button, int x, int y) {
    return view_pointer_press(view_state, button_of(button), pack_position(x, y)) ? 1 : 0;
}

// What the release was, as ViewRelease numbers it.
EMSCRIPTEN_KEEPALIVE int arrowbench_release(int button, int x, int y) {
    return int(view_pointer_release(view_state, button_of(button), pack_position(x, y)));
}

EMSCRIPTEN_KEEPALIVE void arrowbench_cancel() { view_pointer_cancel(view_state); }

EMSCRIPTEN_KEEPALIVE void arrowbench_motion(int x, int y) { view_pointer_motion(view_state, pack_position(x, y)); }

// The view's keys and on-view buttons, numbered as ViewKey.
EMSCRIPTEN_KEEPALIVE void arrowbench_key(int key, int fine) {
    if (key >= 0 && key <= int(ViewKey::reset)) view_key(view_state, ViewKey(key), fine != 0);
}

// Wheel notches, forward (nearer) positive, fractions kept by the core.
EMSCRIPTEN_KEEPALIVE void arrowbench_wheel(double notches) { zoom_camera(view_state, notches); }

// Two fingers: the start, then each spread over the spread at the start.
// A finger lifting ends it as a release does.
EMSCRIPTEN_KEEPALIVE void arrowbench_pinch_begin() { begin_pinch(view_state); }

EMSCRIPTEN_KEEPALIVE void arrowbench_pinch(double ratio) { pinch_camera(view_state, ratio); }

// Device pixels per CSS pixel, before the frame at the new backing store.
EMSCRIPTEN_KEEPALIVE void arrowbench_pixel_scale(double scale) { set_display_scale(view_state, scale); }

// The camera, for tools and tests: eye_dir x, y, z, then eye_distance,
// then drag_mode.
EMSCRIPTEN_KEEPALIVE double arrowbench_camera(int i) {
    switch (i) {
        case 0: return view_state.eye_dir.x;
        case 1: return view_state.eye_dir.y;
        case 2: return view_state.eye_dir.z;
        case 3: return view_state.eye_distance;
        default: return view_state.drag_mode;
    }
}
}
