// The orbit camera. Every motion starts again from the values saved at the
// press and the whole displacement since, so rounding never builds up over
// a long drag. Keys, the wheel and a pinch are steps from the current
// camera, each the drag that would make the same move. Values passed
// through narrow() are rounded to float on purpose: the camera is defined
// by exactly these rounding points.

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "view/internal.h"
#include "view/lens.h"

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

namespace {

// Show calculation's framing, through the frame's camera (view/lens.h).
constexpr double NEAR_GAP = Lens::NEAR_PLANE + 0.5;  // a drawn point's least depth, clear of the near plane
constexpr int SAMPLES = 17;       // along a vector, ends included

struct Segment {
    double a[3], b[3];
};

// What is drawn: each of the dialog's three rows with a vector that is
// neither zero nor beyond the floats, from its start to its tip.
struct Drawn {
    Segment at[3];
    int count = 0;
    const Segment* begin() const { return at; }
    const Segment* end() const { return at + count; }
};

Drawn drawn_segments(const ViewState& view) {
    Drawn out;
    for (const VectorSlot& s : view.slots) {
        if (out.count == 3) break;
        const Vector3 &v = s.vector, &o = s.offset;
        double vx = v.x, vy = v.y, vz = v.z;
        double length = std::sqrt(vx * vx + vy * vy + vz * vz);
        if (!(length > 0.0) || !std::isfinite(length) || !std::isfinite(o.x + o.y + o.z)) continue;
        double sign = s.offset_is_end ? -1.0 : 1.0;
        out.at[out.count++] = {{o.x, o.y, o.z}, {o.x + sign * vx, o.y + sign * vy, o.z + sign * vz}};
    }
    return out;
}

struct Framing : Lens {
    double kx, ky;  // the margins' edges, across and up, over depth
    using Lens::Lens;
};

// The least distance along `eye` that keeps every end inside the margins.
Framing frame_along(Vector3 eye, const Drawn& segments, int width, int height) {
    Framing f(eye, width, height);
    double margin = FRAME_MARGIN * std::min(f.half_w, f.half_h) * 2.0;
    f.kx = Lens::TAN_HALF_FIELD * (f.half_w / f.half_h) * (1.0 - margin / f.half_w);
    f.ky = Lens::TAN_HALF_FIELD * (1.0 - margin / f.half_h);
    f.d = MIN_EYE_DISTANCE;
    for (const Segment& s : segments)
        for (const double* p : {s.a, s.b}) {
            double along = dot3(p, f.dir);
            f.d = std::max({f.d, along + NEAR_GAP, along + std::fabs(dot3(p, f.right)) / f.kx,
                            along + std::fabs(dot3(p, f.up)) / f.ky});
        }
    return f;
}

double to_segment(double x, double y, double ax, double ay, double bx, double by) {
    double ux = bx - ax, uy = by - ay, l2 = ux * ux + uy * uy;
    double t = l2 > 0.0 ? std::min(1.0, std::max(0.0, ((x - ax) * ux + (y - ay) * uy) / l2)) : 0.0;
    double ex = x - ax - t * ux, ey = y - ay - t * uy;
    return std::sqrt(ex * ex + ey * ey);
}

// Whether every drawn vector is seen clearly apart from the others: none
// nearly end-on, and no two that are not parallel within a few pixels of
// each other along most of one's length.
bool seen_apart(const Framing& f, const Drawn& segments, double few_pixels) {
    for (const Segment& s : segments) {
        double v[3] = {s.b[0] - s.a[0], s.b[1] - s.a[1], s.b[2] - s.a[2]};
        double across = std::sqrt(dot3(v, f.right) * dot3(v, f.right) + dot3(v, f.up) * dot3(v, f.up));
        if (across < END_ON_SINE * std::sqrt(dot3(v, v))) return false;
    }
    for (const Segment& s : segments)
        for (const Segment& t : segments) {
            if (&s == &t) continue;
            double v[3] = {s.b[0] - s.a[0], s.b[1] - s.a[1], s.b[2] - s.a[2]};
            double w[3] = {t.b[0] - t.a[0], t.b[1] - t.a[1], t.b[2] - t.a[2]};
            double c[3] = {v[1] * w[2] - v[2] * w[1], v[2] * w[0] - v[0] * w[2], v[0] * w[1] - v[1] * w[0]};
            if (std::sqrt(dot3(c, c)) <= PARALLEL_SINE * std::sqrt(dot3(v, v) * dot3(w, w))) continue;
            double sax, say, sbx, sby, tax, tay, tbx, tby;
            f.pixel(s.a, sax, say);
            f.pixel(s.b, sbx, sby);
            f.pixel(t.a, tax, tay);
            f.pixel(t.b, tbx, tby);
            // A vector drawn only a few pixels long is a point: it lies
            // along nothing.
            if ((sbx - sax) * (sbx - sax) + (sby - say) * (sby - say) < 9.0 * few_pixels * few_pixels) continue;
            int near = 0;
            for (int i = 0; i < SAMPLES; ++i) {
                double k = double(i) / (SAMPLES - 1), p[3], x, y;
                for (int j = 0; j < 3; ++j) p[j] = s.a[j] + k * v[j];
                f.pixel(p, x, y);
                near += to_segment(x, y, tax, tay, tbx, tby) <= few_pixels;
            }
            if (2 * near > SAMPLES) return false;
        }
    return true;
}

}  // namespace

void frame_camera(ViewState& view, int width, int height) {
    Drawn segments = drawn_segments(view);
    if (segments.count == 0) return;
    double few_pixels = FEW_PIXELS * std::max(1.0, view.pixel_scale);
    Vector3 eye = view.eye_dir;
    // Ring by ring of orbit steps, the nearest that works; within a ring,
    // the least step, the first in one fixed order on a tie: the same rows
    // and size give the same camera everywhere.
    if (!seen_apart(frame_along(eye, segments, width, height), segments, few_pixels)) {
        int best = -1;
        for (int ring = 1; ring <= FRAME_SEARCH_RINGS && best < 0; ++ring)
            for (int dy = -ring; dy <= ring; ++dy)
                for (int dx = -ring; dx <= ring; ++dx) {
                    int step = dx * dx + dy * dy;
                    if (std::max(std::abs(dx), std::abs(dy)) != ring || (best >= 0 && step >= best)) continue;
                    ViewState turned;
                    rotate(turned, view.eye_dir, dx * FRAME_STEP_PIXELS, dy * FRAME_STEP_PIXELS);
                    if (!seen_apart(frame_along(turned.eye_dir, segments, width, height), segments, few_pixels)) continue;
                    eye = turned.eye_dir;
                    best = step;
                }
    }
    view.eye_dir = eye;
    set_distance(view, frame_along(eye, segments, width, height).d);
    view.zoom_rest = 0.0;
    reanchor(view);
}
