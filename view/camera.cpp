// The orbit camera. Every motion starts again from the values saved at the
// press and the whole displacement since, so rounding never builds up over
// a long drag. Keys, the wheel and a pinch are steps from the current
// camera, each the drag that would make the same move. Values passed
// through narrow() are rounded to float on purpose: the camera is defined
// by exactly these rounding points.

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "view/view.h"

namespace {

constexpr double HALF_PI = 1.5707963267948966;

int packed_x(uint32_t p) { return int16_t(uint16_t(p & 0xFFFF)); }
int packed_y(uint32_t p) { return int16_t(uint16_t(p >> 16)); }

float narrow(double d) { return static_cast<float>(d); }

// The unit horizontal direction of (x, y) and its length; (0, 0) for a
// camera straight above or below the origin.
void horizontal(float x, float y, float& h, float& u, float& v) {
    h = narrow(std::sqrt(double(x) * x + double(y) * y));
    if (h == 0.0f) {
        u = v = 0.0f;
    } else {
        u = narrow(x / double(h));
        v = narrow(y / double(h));
    }
}

void rotate(ViewState& view, Vector3 start, int dx, int dy) {
    float x = start.x, y = start.y, z = start.z;
    if (dy != 0) {
        float e = narrow(std::asin(double(z)));
        double p = e + dy * double(ORBIT_RADIANS_PER_PIXEL);
        if (p >= HALF_PI)
            p = PITCH_LIMIT;
        else if (p <= -HALF_PI)
            p = -PITCH_LIMIT;
        float s = narrow(std::sin(p));
        z = s;
        float h, u, v;
        horizontal(x, y, h, u, v);
        float w = narrow(std::sqrt(1.0 - double(s) * s));
        x = narrow(double(u) * w);
        y = narrow(double(v) * w);
    }
    if (dx != 0) {
        float h, u, v;
        horizontal(x, y, h, u, v);
        double a0 = std::acos(double(u));
        float a = narrow(v > 0.0f ? a0 : -a0);
        a = narrow(a - dx * double(ORBIT_RADIANS_PER_PIXEL));
        float c = narrow(std::cos(double(a)));
        float s = narrow(std::sin(double(a)));
        x = narrow(double(c) * h);
        y = narrow(double(s) * h);
    }
    if (dx != 0 || dy != 0) {
        float length = narrow(std::sqrt(double(x) * x + double(y) * y + double(z) * z));
        if (length == 0.0f) {
            x = 0.0f;
            y = 0.0f;
            z = 1.0f;
        } else {
            x = narrow(x / double(length));
            y = narrow(y / double(length));
            z = narrow(z / double(length));
        }
    }
    view.eye_dir = {x, y, z};
}

// Never below the floor, and never past the largest float, which a drag
// cannot reach but a pinch or a wheel could.
void set_distance(ViewState& view, double d) {
    view.eye_distance = d < MIN_EYE_DISTANCE ? MIN_EYE_DISTANCE : narrow(std::min(d, double(FLT_MAX)));
}

// After a step, a drag in progress goes on from the camera the step left:
// its start values become the current ones, measured from where it is now.
void reanchor(ViewState& view) {
    view.drag_anchor = view.drag_last;
    view.drag_start_dir = view.eye_dir;
    if (view.drag_mode == DRAG_PINCH)
        view.drag_start_distance = narrow(view.eye_distance * view.pinch_ratio);
    else
        view.drag_start_distance = view.eye_distance;
}

void step_done(ViewState& view) {
    reanchor(view);
    render_view(view);
}

}  // namespace

void begin_rotate(ViewState& view, uint32_t position) {
    if (view.drag_mode != DRAG_NONE) return;  // a second button is ignored
    view.drag_mode = DRAG_ROTATE;
    view.drag_anchor = view.drag_last = position;
    view.drag_start_dir = view.eye_dir;
}

void begin_zoom(ViewState& view, uint32_t position) {
    if (view.drag_mode != DRAG_NONE) return;
    view.drag_mode = DRAG_ZOOM;
    view.drag_anchor = view.drag_last = position;
    view.drag_start_distance = view.eye_distance;
}

void end_drag(ViewState& view) {
    view.drag_mode = DRAG_NONE;
    view.press_button = -1;
}

void drag_camera(ViewState& view, uint32_t position) {
    if (view.drag_mode != DRAG_ROTATE && view.drag_mode != DRAG_ZOOM) return;
    view.drag_last = position;
    int dx = packed_x(position) - packed_x(view.drag_anchor);
    int dy = packed_y(position) - packed_y(view.drag_anchor);
    if (view.drag_mode == DRAG_ROTATE)
        rotate(view, view.drag_start_dir, dx, dy);
    else
        set_distance(view, view.drag_start_distance + dy * double(ZOOM_PER_PIXEL));
    render_view(view);
}

bool view_pointer_press(ViewState& view, ViewButton button, uint32_t position) {
    if (view.drag_mode != DRAG_NONE) return false;  // a second button is ignored
    if (button == ViewButton::left)
        begin_rotate(view, position);
    else if (button == ViewButton::right)
        begin_zoom(view, position);
    else
        return false;
    view.press_button = int32_t(button);
    view.press_moved = false;
    return true;
}

void view_pointer_motion(ViewState& view, uint32_t position) {
    if (view.drag_mode == DRAG_NONE) return;
    // Only a move away counts: some systems repeat the press position as a
    // motion when a button goes down or the capture changes.
    if (position != view.drag_anchor) view.press_moved = true;
    drag_camera(view, position);
}

ViewRelease view_pointer_release(ViewState& view, ViewButton button, uint32_t position) {
    if (button == ViewButton::middle || view.drag_mode == DRAG_NONE) return ViewRelease::none;
    bool click = int32_t(button) == view.press_button && !view.press_moved && position == view.drag_anchor &&
                 view.drag_mode != DRAG_PINCH;
    end_drag(view);
    if (!click) return ViewRelease::drag;
    return button == ViewButton::right ? ViewRelease::menu : ViewRelease::click;
}

void view_pointer_cancel(ViewState& view) { end_drag(view); }

bool view_dragging(const ViewState& view) { return view.drag_mode != DRAG_NONE; }

void orbit_camera(ViewState& view, int dx, int dy) {
    rotate(view, view.eye_dir, dx, dy);
    step_done(view);
}

void zoom_camera(ViewState& view, double notches) {
    if (!std::isfinite(notches)) return;
    // Upwards is nearer: a notch forward is a drag of that many pixels up.
    double pixels = view.zoom_rest - notches * ZOOM_PIXELS_PER_NOTCH;
    double whole = std::trunc(pixels);
    view.zoom_rest = pixels - whole;
    if (whole == 0.0) return;
    set_distance(view, view.eye_distance + whole * double(ZOOM_PER_PIXEL));
    step_done(view);
}

void reset_camera(ViewState& view) {
    set_start_camera(view);
    view.zoom_rest = 0.0;
    step_done(view);
}

void begin_pinch(ViewState& view) {
    view.drag_mode = DRAG_PINCH;  // takes over from a one-finger orbit
    view.drag_start_distance = view.eye_distance;
    view.pinch_ratio = 1.0;
}

void pinch_camera(ViewState& view, double spread_ratio) {
    // A ratio that is no number, zero or negative says nothing of a spread.
    if (view.drag_mode != DRAG_PINCH || !(spread_ratio > 0.0) || !std::isfinite(spread_ratio)) return;
    view.pinch_ratio = spread_ratio;
    set_distance(view, view.drag_start_distance / spread_ratio);
    render_view(view);
}

bool view_key(ViewState& view, ViewKey key, bool fine) {
    int step = fine ? ORBIT_FINE_STEP_PIXELS : ORBIT_STEP_PIXELS;
    switch (key) {
        case ViewKey::left: orbit_camera(view, -step, 0); break;
        case ViewKey::right: orbit_camera(view, step, 0); break;
        case ViewKey::up: orbit_camera(view, 0, -step); break;
        case ViewKey::down: orbit_camera(view, 0, step); break;
        case ViewKey::zoom_in: zoom_camera(view, 1.0); break;
        case ViewKey::zoom_out: zoom_camera(view, -1.0); break;
        case ViewKey::reset: reset_camera(view); break;
        case ViewKey::menu: return true;
    }
    return false;
}
