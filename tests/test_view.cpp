// The view's state, the orbit camera and the Redraw command, without a
// window. Frames are counted through get_client_size, which render_view
// asks exactly once per frame; with no GL context the frame itself draws
// nothing.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/camera_cases.h"
#include "tests/check.h"
#include "tests/fixed_client_size.h"
#include "tests/projection.h"
#include "vectext/vectext.h"
#include "view/host.h"

namespace {

int& frames = client_size_asks;  // render_view asks once per frame

uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

bool near(float a, double b, double tolerance = 1e-6) { return std::fabs(a - b) <= tolerance; }

ViewState fresh_camera() {
    ViewState v;
    set_start_camera(v);
    return v;
}

// One rotate drag from the start camera: press at (200, 100), move by (dx, dy).
Vector3 rotated(int dx, int dy, Vector3 start = {START_EYE_COMPONENT, START_EYE_COMPONENT, START_EYE_COMPONENT}) {
    ViewState v = fresh_camera();
    v.eye_dir = start;
    view_pointer_press(v, ViewButton::left, pack_position(200, 100));
    view_pointer_motion(v, pack_position(200 + dx, 100 + dy));
    return v.eye_dir;
}

float zoomed(int dx, int dy) {
    ViewState v = fresh_camera();
    view_pointer_press(v, ViewButton::right, pack_position(50, 60));
    view_pointer_motion(v, pack_position(50 + dx, 60 + dy));
    return v.eye_distance;
}

void check_start_state() {
    ViewState v;  // as the static one starts
    CHECK(v.window == nullptr && v.eye_distance == 0.0f && v.slots.empty() && !view_dragging(v));
    CHECK(v.eye_dir.x == 0.0f && v.eye_dir.y == 0.0f && v.eye_dir.z == 0.0f);
    int marker = 0;
    view_window_created(v, &marker);
    CHECK(v.window == &marker && !view_dragging(v));
    CHECK_INT(bits(v.eye_dir.x), 0x3F13CD3A);
    CHECK_INT(bits(v.eye_dir.y), 0x3F13CD3A);
    CHECK_INT(bits(v.eye_dir.z), 0x3F13CD3A);
    CHECK(v.eye_distance == 10.0f);
    CHECK(view_state.slots.empty() && view_state.eye_distance == 0.0f);
}

void check_slots() {
    ViewState v;
    set_vector_slot(v, 0, {1, 2, 3}, {4, 5, 6}, 7, 8, 9, true);
    CHECK_INT(v.slots.size(), 1);
    const VectorSlot& s = v.slots[0];
    CHECK(s.vector.x == 1 && s.vector.y == 2 && s.vector.z == 3);
    CHECK(s.offset.x == 4 && s.offset.y == 5 && s.offset.z == 6);
    CHECK(s.red == 7 && s.green == 8 && s.blue == 9 && s.offset_is_end == 1);

    ViewState w;
    set_vector_slot(w, 2, {1, 0, 0}, {}, 255, 0, 0, false);
    CHECK_INT(w.slots.size(), 3);
    for (int i = 0; i < 2; ++i) {
        const VectorSlot& z = w.slots[size_t(i)];
        CHECK(z.vector.x == 0 && z.vector.y == 0 && z.vector.z == 0 && z.offset.x == 0 && z.red == 0 &&
              z.offset_is_end == 0);
    }
    // Overwriting one slot leaves the others alone, and the list stays.
    set_vector_slot(w, 0, {5, 5, 5}, {1, 1, 1}, 1, 2, 3, true);
    set_vector_slot(w, 1, {6, 6, 6}, {2, 2, 2}, 4, 5, 6, false);
    set_vector_slot(w, 0, {7, 7, 7}, {3, 3, 3}, 9, 9, 9, false);
    CHECK_INT(w.slots.size(), 3);
    CHECK(w.slots[0].vector.x == 7 && w.slots[0].red == 9 && w.slots[0].offset_is_end == 0);
    CHECK(w.slots[1].vector.x == 6 && w.slots[1].blue == 6);
    CHECK(w.slots[2].vector.x == 1 && w.slots[2].red == 255);
}

void check_rotation() {
    struct Case {
        int dx, dy;
        double x, y, z;
    } cases[] = {
        {100, 0, 0.806444, 0.127728, 0.577350},   // azimuth 45 - 36 degrees
        {-100, 0, 0.127728, 0.806444, 0.577350},  // and the other way
        {0, 50, 0.422937, 0.422937, 0.801404},    // elevation 35.26 + 18 degrees
        {1000, 0, 0.57735026, 0.57735026, 0.57735026},  // a whole turn
        {0, 0, 0.57735026, 0.57735026, 0.57735026},
    };
    for (const Case& c : cases) {
        check_context(("rotate " + std::to_string(c.dx) + "," + std::to_string(c.dy)).c_str());
        Vector3 e = rotated(c.dx, c.dy);
        CHECK(near(e.x, c.x) && near(e.y, c.y) && near(e.z, c.z));
    }
    check_context("");

    // The pitch limit: past pi/2 the elevation is held just under it; just
    // under pi/2 (but above the limit) it passes unchanged, so ends higher.
    Vector3 over = rotated(0, 153), under = rotated(0, 152), down = rotated(0, -348);
    CHECK(near(over.z, 0.9999997, 1e-7));
    CHECK(near(under.z, 0.99999994, 1e-8));
    CHECK(under.z > over.z);
    CHECK(near(down.z, -0.9999997, 1e-7));
    CHECK(over.x > 0 && near(over.x, over.y, 1e-9));  // still on the diagonal

    // Straight above the origin the horizontal part has no direction: it
    // stays zero and the result is a pole.
    for (int dx : {0, 37, -500}) {
        for (int dy : {-90, 0, 45}) {
            if (dx == 0 && dy == 0) continue;
            Vector3 up = rotated(dx, dy, {0.0f, 0.0f, 1.0f});
            CHECK(up.x == 0.0f && up.y == 0.0f && (up.z == 1.0f || up.z == -1.0f));
        }
    }
}

void check_drag_rules() {
    frames = 0;
    ViewState v = fresh_camera();
    Vector3 start = v.eye_dir;
    // A press and release with no motion: nothing changes, nothing drawn.
    CHECK(view_pointer_press(v, ViewButton::left, pack_position(10, 10)));
    CHECK(view_pointer_release(v, ViewButton::left, pack_position(10, 10)) == ViewRelease::click);
    CHECK(frames == 0 && bits(v.eye_dir.x) == bits(start.x));

    // A motion back to the press point gives exactly the start direction.
    view_pointer_press(v, ViewButton::left, pack_position(10, 10));
    view_pointer_motion(v, pack_position(77, -30));
    view_pointer_motion(v, pack_position(10, 10));
    CHECK_INT(frames, 2);
    CHECK(bits(v.eye_dir.x) == bits(start.x) && bits(v.eye_dir.y) == bits(start.y) &&
          bits(v.eye_dir.z) == bits(start.z));

    // A right press during a rotation is ignored, but its release ends it.
    CHECK(!view_pointer_press(v, ViewButton::right, pack_position(0, 0)));
    CHECK(view_dragging(v));
    CHECK(view_pointer_release(v, ViewButton::right, pack_position(0, 0)) == ViewRelease::drag);
    CHECK(!view_dragging(v));
    int before = frames;
    view_pointer_motion(v, pack_position(300, 300));  // no drag: nothing drawn
    CHECK_INT(frames, before);

    // And a left release ends a zoom; the middle button does nothing.
    view_pointer_press(v, ViewButton::right, pack_position(5, 5));
    v.drag_start_distance = 99;  // stale copies are not read again
    view_pointer_press(v, ViewButton::left, pack_position(6, 6));
    CHECK(view_dragging(v) && v.drag_anchor == pack_position(5, 5));
    CHECK(view_pointer_release(v, ViewButton::middle, pack_position(5, 5)) == ViewRelease::none);
    CHECK(view_pointer_release(v, ViewButton::left, pack_position(5, 5)) == ViewRelease::drag);
    CHECK(!view_dragging(v));
    CHECK(!view_pointer_press(v, ViewButton::middle, pack_position(5, 5)) && !view_dragging(v));

    // What a release was. A click is one button pressed and released at
    // one place, the pointer never away between; a motion that repeats the
    // press position does not count as moving.
    enum Step { MOVE_AWAY_AND_BACK, MOVE_IN_PLACE, OTHER_BUTTON_UP, UP_ELSEWHERE, CANCEL, PINCH, NOTHING };
    struct ReleaseCase {
        ViewButton button;
        Step step;
        ViewRelease expect;
    } releases[] = {
        {ViewButton::right, NOTHING, ViewRelease::menu},      {ViewButton::left, MOVE_IN_PLACE, ViewRelease::click},
        {ViewButton::right, MOVE_IN_PLACE, ViewRelease::menu}, {ViewButton::left, MOVE_AWAY_AND_BACK, ViewRelease::drag},
        {ViewButton::right, MOVE_AWAY_AND_BACK, ViewRelease::drag}, {ViewButton::right, UP_ELSEWHERE, ViewRelease::drag},
        {ViewButton::left, OTHER_BUTTON_UP, ViewRelease::drag}, {ViewButton::right, CANCEL, ViewRelease::none},
        {ViewButton::left, PINCH, ViewRelease::drag},
    };
    for (const ReleaseCase& c : releases) {
        ViewState w = fresh_camera();
        uint32_t at = pack_position(40, 30), released = at;
        ViewButton up = c.button;
        view_pointer_press(w, c.button, at);
        if (c.step == MOVE_AWAY_AND_BACK) view_pointer_motion(w, pack_position(41, 30));
        if (c.step == MOVE_AWAY_AND_BACK || c.step == MOVE_IN_PLACE) view_pointer_motion(w, at);
        if (c.step == OTHER_BUTTON_UP) up = ViewButton::right;
        if (c.step == UP_ELSEWHERE) released = pack_position(40, 31);
        if (c.step == CANCEL) view_pointer_cancel(w);
        if (c.step == PINCH) begin_pinch(w);
        CHECK(view_pointer_release(w, up, released) == c.expect && !view_dragging(w));
    }

    // Every motion starts from the press: many small motions land where
    // one big one does.
    ViewState a = fresh_camera(), b = fresh_camera();
    view_pointer_press(a, ViewButton::left, pack_position(0, 0));
    for (int i = 1; i <= 500; ++i) view_pointer_motion(a, pack_position(i, i / 3));
    view_pointer_press(b, ViewButton::left, pack_position(0, 0));
    view_pointer_motion(b, pack_position(500, 500 / 3));
    CHECK(bits(a.eye_dir.x) == bits(b.eye_dir.x) && bits(a.eye_dir.z) == bits(b.eye_dir.z));
}

void check_zoom() {
    CHECK(zoomed(0, -16) == 2.0f);
    CHECK(zoomed(0, -17) == 2.0f);
    CHECK(zoomed(0, -20) == 2.0f);
    CHECK(zoomed(0, -1) == 9.5f);
    CHECK(zoomed(0, 100) == 60.0f);
    CHECK(zoomed(0, 30000) == 15010.0f);  // no upper bound
    frames = 0;
    CHECK(zoomed(250, 0) == 10.0f);  // dx alone changes nothing...
    CHECK_INT(frames, 1);            // ...but still draws
}

// Positions are two signed 16-bit halves: negative coordinates (a drag
// beyond the view's left or top edge) subtract as numbers, not as bits.
void check_packing() {
    CHECK(pack_position(-1, -1) == 0xFFFFFFFFu);
    CHECK(pack_position(3, -2) == 0xFFFE0003u);
    ViewState a = fresh_camera(), b = fresh_camera();
    view_pointer_press(a, ViewButton::left, pack_position(5, 5));
    view_pointer_motion(a, pack_position(-20, -3));  // dx -25, dy -8
    view_pointer_press(b, ViewButton::left, pack_position(125, 208));
    view_pointer_motion(b, pack_position(100, 200));
    CHECK(bits(a.eye_dir.x) == bits(b.eye_dir.x) && bits(a.eye_dir.y) == bits(b.eye_dir.y) &&
          bits(a.eye_dir.z) == bits(b.eye_dir.z));
    ViewState z = fresh_camera();
    view_pointer_press(z, ViewButton::right, pack_position(0, 10));
    view_pointer_motion(z, pack_position(0, -10));  // dy -20 from 10: the floor
    CHECK(z.eye_distance == 2.0f);
    view_pointer_press(z = fresh_camera(), ViewButton::right, pack_position(0, -30000));
    view_pointer_motion(z, pack_position(0, 30000));  // dy 60000, beyond 16 bits
    CHECK(z.eye_distance == 30010.0f);
}

void check_steps() {
    // The other hands, from the start camera, to the bit on every tree.
    for (const CameraCase& c : CAMERA_CASES) {
        check_context(c.inputs);
        ViewState v = fresh_camera();
        apply_camera_inputs(v, c.inputs);
        CHECK_INT(bits(v.eye_dir.x), c.x);
        CHECK_INT(bits(v.eye_dir.y), c.y);
        CHECK_INT(bits(v.eye_dir.z), c.z);
        CHECK_INT(bits(v.eye_distance), c.distance);
    }
    check_context("");

    // A step during a drag moves the camera, and the drag goes on from there.
    frames = 0;
    ViewState v = fresh_camera();
    view_pointer_press(v, ViewButton::right, pack_position(0, 0));
    view_pointer_motion(v, pack_position(3, 10));  // 15
    zoom_camera(v, 0.25);                  // half a pixel: nothing moves, nothing drawn
    CHECK_INT(frames, 1);
    zoom_camera(v, 0.75);  // 14
    view_pointer_motion(v, pack_position(0, 20));
    CHECK(v.eye_distance == 19.0f && view_dragging(v) && frames == 3);
    view_pointer_release(v, ViewButton::right, pack_position(0, 20));
    ViewState r = fresh_camera(), expect = fresh_camera();
    view_pointer_press(r, ViewButton::left, pack_position(5, 5));
    view_pointer_motion(r, pack_position(35, 5));
    view_key(r, ViewKey::up, false);
    view_pointer_motion(r, pack_position(55, 5));
    expect.eye_dir = rotated(30, 0);
    view_key(expect, ViewKey::up, false);
    orbit_camera(expect, 20, 0);
    CHECK(view_dragging(r) && bits(r.eye_dir.x) == bits(expect.eye_dir.x) &&
          bits(r.eye_dir.y) == bits(expect.eye_dir.y) && bits(r.eye_dir.z) == bits(expect.eye_dir.z));
    // A pinch takes over from an orbit; motions then move nothing.
    begin_pinch(r);
    pinch_camera(r, 4.0);
    Vector3 before = r.eye_dir;
    view_pointer_motion(r, pack_position(300, 300));
    CHECK(r.eye_distance == 2.5f && bits(r.eye_dir.x) == bits(before.x));

    // Lines and tips at the display scale: scale 1 draws as it always has.
    struct Scale {
        double scale;
        float line, point;
    } scales[] = {{1.0, 1, 3}, {1.25, 1, 4}, {1.5, 2, 5}, {2.0, 2, 6}, {3.0, 3, 9}, {0.5, 1, 3}, {std::nan(""), 1, 3}};
    for (const Scale& s : scales) CHECK(line_width_at(s.scale) == s.line && point_size_at(s.scale) == s.point);

    // The menu key asks the host for the view's menu and moves nothing.
    frames = 0;
    ViewState m = fresh_camera();
    CHECK(view_key(m, ViewKey::menu, false) && !view_key(m, ViewKey::left, false) && frames == 1);
}

// Redraw against in-memory fields, check boxes and a repaint counter.
struct FakeDialog {
    std::map<int, std::string> text;
    std::map<int, bool> checked;
    std::vector<int> reads;
    int repaints = 0;
};

void fake_read(void* host, int id, char* buffer, int size) {
    auto* d = static_cast<FakeDialog*>(host);
    d->reads.push_back(id);
    std::string t = d->text[id].substr(0, size_t(size - 1));
    std::memcpy(buffer, t.c_str(), t.size() + 1);
}
void fake_write(void* host, int id, const char* text) { static_cast<FakeDialog*>(host)->text[id] = text; }
bool fake_checked(void* host, int id) { return static_cast<FakeDialog*>(host)->checked[id]; }
void fake_repaint(void* host) { ++static_cast<FakeDialog*>(host)->repaints; }

void check_redraw() {
    FakeDialog d;
    for (int id = ID_ROW_VECTOR; id < ID_REDRAW; ++id) d.text[id] = "0 0 0";
    FieldAccess f{&d, fake_read, fake_write, fake_checked, fake_repaint};
    view_state.slots.clear();

    // A fresh dialog: three zero slots, every field "0 0 0".
    CHECK(run_command(f, ID_REDRAW));
    CHECK_INT(view_state.slots.size(), 3);
    for (const VectorSlot& s : view_state.slots)
        CHECK(s.vector.x == 0 && s.offset.y == 0 && s.red == 0 && s.blue == 0 && s.offset_is_end == 0);
    CHECK_INT(d.repaints, 3);
    std::vector<int> order = {ID_ROW_VECTOR, ID_ROW_OFFSET, ID_ROW_COLOR, ID_ROW_VECTOR + ROW_STRIDE, ID_ROW_OFFSET + ROW_STRIDE, ID_ROW_COLOR + ROW_STRIDE, ID_ROW_VECTOR + 2 * ROW_STRIDE, ID_ROW_OFFSET + 2 * ROW_STRIDE, ID_ROW_COLOR + 2 * ROW_STRIDE};
    CHECK(d.reads == order);

    d.text[ID_ROW_VECTOR] = "1 0 0";
    d.text[ID_ROW_COLOR] = "255 0 0";
    d.text[ID_ROW_VECTOR + ROW_STRIDE] = "1,2,3";
    d.text[ID_ROW_OFFSET + ROW_STRIDE] = "  2  3 ";
    d.text[ID_ROW_COLOR + ROW_STRIDE] = "300 20";
    d.checked[ID_ROW_INVERSE + ROW_STRIDE] = true;
    d.text[ID_ROW_VECTOR + 2 * ROW_STRIDE] = "0.1234567 -0 1e39";
    d.text[ID_ROW_COLOR + 2 * ROW_STRIDE] = "red";
    CHECK(run_command(f, ID_REDRAW));
    CHECK_STR(d.text[ID_ROW_VECTOR], "1 0 0");
    CHECK_STR(d.text[ID_ROW_COLOR], "255 0 0");
    CHECK_STR(d.text[ID_ROW_VECTOR + ROW_STRIDE], "1 0 0");
    CHECK_STR(d.text[ID_ROW_OFFSET + ROW_STRIDE], "2 3 0");
    CHECK_STR(d.text[ID_ROW_COLOR + ROW_STRIDE], "255 20 0");
    CHECK_STR(d.text[ID_ROW_VECTOR + 2 * ROW_STRIDE], "0.123457 0 Infinity");
    CHECK_STR(d.text[ID_ROW_COLOR + 2 * ROW_STRIDE], "0 0 0");
    const VectorSlot& s0 = view_state.slots[0];
    CHECK(s0.vector.x == 1 && s0.red == 255 && s0.green == 0 && !s0.offset_is_end);
    const VectorSlot& s1 = view_state.slots[1];
    CHECK(s1.vector.x == 1 && s1.vector.y == 0 && s1.offset.x == 2 && s1.offset.y == 3 && s1.red == 255 &&
          s1.green == 20 && s1.blue == 0 && s1.offset_is_end == 1);
    const VectorSlot& s2 = view_state.slots[2];
    CHECK(s2.vector.x == parse_scalar("0.1234567") && std::isinf(s2.vector.z) && s2.red == 0);
    // The second press reads the canonical text the first one wrote.
    CHECK(run_command(f, ID_REDRAW));
    CHECK(view_state.slots[2].vector.x == parse_scalar("0.123457"));
    CHECK(view_state.slots[2].vector.x != parse_scalar("0.1234567"));
    CHECK_INT(view_state.slots.size(), 3);
}

// Show calculation's camera, judged by an independent projection: every
// drawn end inside the view less a 5% margin, from the least distance
// (a hundredth nearer, one leaves it), no two vectors that are not
// parallel on each other (one a few pixels long is a point), the direction kept where nothing overlapped, and
// the same bits again from the same start.
void check_framing() {
    struct Row {
        Vector3 vector, offset;
    };
    const struct {
        const char* what;
        std::vector<Row> rows;
        int width, height, orbit_x;
        bool turns;
    } cases[] = {
        {"README cross product", {{{1, 2, 3}, {}}, {{4, 5, 6}, {}}, {{-3, 6, -3}, {}}}, 546, 363, 0, true},
        {"the same on a phone", {{{1, 2, 3}, {}}, {{4, 5, 6}, {}}, {{-3, 6, -3}, {}}}, 780, 518, 0, true},
        {"sum tip to tail, seen apart", {{{1, 2, 3}, {}}, {{4, 5, 6}, {1, 2, 3}}, {{5, 7, 9}, {}}}, 546, 363, 60, false},
        {"end on", {{{2, 2, 2}, {}}}, 546, 363, 0, true},
        {"far and wide", {{{40, -3, 0}, {}}, {{0, 0, 0.5f}, {40, -3, 0}}}, 1123, 698, 0, false},
    };
    for (const auto& c : cases) {
        check_context(c.what);
        ViewState v;
        set_start_camera(v);
        orbit_camera(v, c.orbit_x, 0);
        for (size_t i = 0; i < c.rows.size(); ++i)
            set_vector_slot(v, uint32_t(i), c.rows[i].vector, c.rows[i].offset, 9, 9, 9, false);
        ViewState again = v;
        Vector3 before = v.eye_dir;
        frame_camera(v, c.width, c.height);
        frame_camera(again, c.width, c.height);
        CHECK(std::memcmp(&v.eye_dir, &again.eye_dir, sizeof v.eye_dir) == 0 && v.eye_distance == again.eye_distance);
        CHECK((std::memcmp(&v.eye_dir, &before, sizeof before) != 0) == c.turns);
        auto ends = [&](double distance, double& worst) {
            ViewCamera cam{{v.eye_dir.x * distance, v.eye_dir.y * distance, v.eye_dir.z * distance}, c.width, c.height};
            Mat4 m = camera_matrix(cam);
            double margin = 0.05 * std::min(c.width, c.height);
            std::vector<std::pair<Point2, Point2>> drawn;
            worst = 1e9;  // the least room left to an edge, past the margin
            for (const Row& r : c.rows) {
                Vector3 t{r.offset.x + r.vector.x, r.offset.y + r.vector.y, r.offset.z + r.vector.z};
                Point2 a = project(m, cam, r.offset.x, r.offset.y, r.offset.z), b = project(m, cam, t.x, t.y, t.z);
                for (Point2 p : {a, b})
                    worst = std::min({worst, p.x - margin, c.width - margin - p.x, p.y - margin, c.height - margin - p.y});
                drawn.push_back({a, b});
            }
            return drawn;
        };
        double worst;
        auto drawn = ends(v.eye_distance, worst);
        CHECK(worst >= -0.5);
        ends(v.eye_distance * 0.99, worst);
        CHECK(worst < 0 || v.eye_distance == MIN_EYE_DISTANCE);
        for (size_t i = 0; i < drawn.size(); ++i)
            for (size_t j = 0; j < drawn.size(); ++j) {
                if (i == j) continue;
                const Vector3 &p = c.rows[i].vector, &q = c.rows[j].vector;
                double cross = std::hypot(p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x);
                if (cross < 0.05 * std::hypot(p.x, p.y, p.z) * std::hypot(q.x, q.y, q.z)) continue;
                auto [a, b] = drawn[j];
                // One drawn a few pixels long is a point beside the other.
                if (std::hypot(drawn[i].second.x - drawn[i].first.x, drawn[i].second.y - drawn[i].first.y) < 12) continue;
                int near = 0;
                for (int k = 0; k <= 16; ++k) {
                    Point2 s{drawn[i].first.x + (drawn[i].second.x - drawn[i].first.x) * k / 16,
                             drawn[i].first.y + (drawn[i].second.y - drawn[i].first.y) * k / 16};
                    double ux = b.x - a.x, uy = b.y - a.y;
                    double t = std::clamp(((s.x - a.x) * ux + (s.y - a.y) * uy) / (ux * ux + uy * uy), 0.0, 1.0);
                    near += std::hypot(s.x - a.x - t * ux, s.y - a.y - t * uy) <= 4.0;
                }
                CHECK(near <= 8);
            }
    }
    check_context("");
}

}  // namespace

int main() {
    check_framing();
    check_start_state();
    check_slots();
    check_rotation();
    check_drag_rules();
    check_zoom();
    check_packing();
    check_steps();
    check_redraw();
    return check_exit();
}
