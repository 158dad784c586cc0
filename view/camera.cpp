// The orbit camera. Every motion starts again from the values saved at the
// press and the whole displacement since, so rounding never builds up over
// a long drag. Values passed through narrow() are rounded to float on
// purpose: the camera is defined by exactly these rounding points.

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

void rotate(ViewState& view, int dx, int dy) {
    float x = view.drag_start_dir.x, y = view.drag_start_dir.y, z = view.drag_start_dir.z;
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

}  // namespace

void begin_rotate(ViewState& view, uint32_t position) {
    if (view.drag_mode != DRAG_NONE) return;  // a second button is ignored
    view.drag_mode = DRAG_ROTATE;
    view.drag_anchor = position;
    view.drag_start_dir = view.eye_dir;
}

void begin_zoom(ViewState& view, uint32_t position) {
    if (view.drag_mode != DRAG_NONE) return;
    view.drag_mode = DRAG_ZOOM;
    view.drag_anchor = position;
    view.drag_start_distance = view.eye_distance;
}

void end_drag(ViewState& view) { view.drag_mode = DRAG_NONE; }

void drag_camera(ViewState& view, uint32_t position) {
    if (view.drag_mode != DRAG_ROTATE && view.drag_mode != DRAG_ZOOM) return;
    int dx = packed_x(position) - packed_x(view.drag_anchor);
    int dy = packed_y(position) - packed_y(view.drag_anchor);
    if (view.drag_mode == DRAG_ROTATE) {
        rotate(view, dx, dy);
    } else {
        double d = view.drag_start_distance + dy * double(ZOOM_PER_PIXEL);
        view.eye_distance = d < MIN_EYE_DISTANCE ? MIN_EYE_DISTANCE : narrow(d);
    }
    render_view(view);
}
