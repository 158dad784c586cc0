// Frames of render_view drawn by Mesa (OSMesa, llvmpipe) at the view's
// real client size and read back as pixels. Where things must appear is
// worked out here from our own projection of the camera, not taken from a
// run.

#include <GL/osmesa.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/fixed_client_size.h"
#include "tests/view_pixels.h"
#include "view/gl.h"
#include "view/view.h"

namespace {

// The view control's client size from the dialog template.
int& width = client_width;
int& height = client_height;

// The frame last read back, top row first, as the screen tests see it.
Shot shot;

using Point = Point2;

Picture camera_matrix(const ViewState& v) { return Picture(v, width, height); }

Point project(const Picture& p, double x, double y, double z) { return p.at(x, y, z); }

// --- frames and pixels ---

void read_frame() {
    std::vector<unsigned char> rows(size_t(width) * size_t(height) * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    shot.width = width;
    shot.height = height;
    shot.px.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)  // GL's rows run bottom-up
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rows[(size_t(height - 1 - y) * size_t(width) + size_t(x)) * 4];
            shot.px[size_t(y) * size_t(width) + size_t(x)] = {p[0], p[1], p[2]};
        }
}

void frame(const ViewState& v) {
    render_view(v);
    read_frame();
}

Rgb pixel(int x, int y) { return shot.at(x, y); }

bool colour_near(Point p, Rgb want) { return colour_near(shot, p, want); }

// How many of the 5 x 5 pixels round a point have the colour: a 3-pixel
// point gives at least 9, a one-pixel line through it about 5.
int block_hits(Point p, Rgb want) {
    int hits = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            int x = int(std::floor(p.x)) + dx, y = int(std::floor(p.y)) + dy;
            if (x >= 0 && y >= 0 && x < width && y < height) hits += close_to(pixel(x, y), want);
        }
    return hits;
}

const Rgb WHITE{255, 255, 255}, GROUND{204, 204, 204};

Rgb dimmed(Rgb c) { return {int(c.r * 0.8 + 0.5), int(c.g * 0.8 + 0.5), int(c.b * 0.8 + 0.5)}; }

bool square_drawn(double x, double y) {
    if (x < -2 || x >= 2 || y < -2 || y >= 2) return false;
    int i = int(std::floor(x)), j = int(std::floor(y));
    return ((i + j) & 1) != 0;
}

ViewState start_view() {
    ViewState v;
    set_start_camera(v);
    return v;
}

void check_empty_frame() {
    ViewState v = start_view();
    frame(v);
    Picture m = camera_matrix(v);
    // Background: the corners show nothing but white.
    for (Point p : {Point{2, 2}, Point{double(width) - 3, 2}, Point{2, double(height) - 3},
                    Point{double(width) - 3, double(height) - 3}})
        CHECK(close_to(pixel(int(p.x), int(p.y)), WHITE));
    // Axes, in their colours along their projected lines, outside the
    // checkerboard (which lies in the same plane as x and y).
    int seen = 0;
    for (double t = 2.3; t <= 4.8; t += 0.25) {
        check_context("axes at " + std::to_string(t));
        CHECK(colour_near(project(m, t, 0, 0), {255, 0, 0}));
        CHECK(colour_near(project(m, 0, t, 0), {0, 255, 0}));
        // The top of the z axis runs out of the picture.
        Point z = project(m, 0, 0, t);
        if (z.y > 0) {
            CHECK(colour_near(z, {0, 0, 255}));
            ++seen;
        }
    }
    check_context("");
    CHECK(seen >= 6);
    CHECK(project(m, 0, 0, 5).y < 0);
    // Beyond the axes' ends, white again.
    CHECK(!colour_near(project(m, 5.6, 0, 0), {255, 0, 0}));
    // Drawn squares at 80 % white, the others white; sampled off their
    // diagonals, where the z axis runs in front of them on the screen.
    int drawn = 0;
    for (int i = -2; i <= 1; ++i)
        for (int j = -2; j <= 1; ++j) {
            Point p = project(m, i + 0.3, j + 0.7, 0);
            Rgb got = pixel(int(p.x), int(p.y));
            bool want_drawn = ((i + j) & 1) != 0;
            check_context(("square " + std::to_string(i) + "," + std::to_string(j)).c_str());
            CHECK(close_to(got, want_drawn ? GROUND : WHITE));
            drawn += want_drawn;
        }
    check_context("");
    CHECK_INT(drawn, 8);
    // Outside the board: white.
    Point out = project(m, 2.5, -2.5, 0);
    CHECK(close_to(pixel(int(out.x), int(out.y)), WHITE));
    // The point size is left alone without slots.
    float size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    CHECK(size == 1.0f);
}

// Checks one segment, sample by sample: above the ground plane in its
// colour; below it dimmed where the line of sight crosses a drawn square.
void check_segment(const Picture& m, const ViewState& v, Vector3 a, Vector3 b, Rgb colour, const char* what) {
    double e[3] = {v.eye_dir.x * double(v.eye_distance), v.eye_dir.y * double(v.eye_distance),
                   v.eye_dir.z * double(v.eye_distance)};
    for (double t = 0.15; t <= 0.86; t += 0.07) {
        double p[3] = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
        Rgb want = colour;
        if (p[2] < -0.02) {
            double k = p[2] / (p[2] - e[2]);  // where the sight line meets z = 0
            if (square_drawn(p[0] + (e[0] - p[0]) * k, p[1] + (e[1] - p[1]) * k)) want = dimmed(colour);
        }
        if (std::fabs(p[2]) < 0.02) continue;  // in the plane itself: either
        check_context((std::string(what) + " at t=" + std::to_string(t)).c_str());
        CHECK(colour_near(project(m, p[0], p[1], p[2]), want));
    }
    check_context("");
}

void check_vectors() {
    ViewState v = start_view();
    // Starting at the offset: (1, 0, 0) to (2, 2, 3), tip at (2, 2, 3).
    set_vector_slot(v, 0, {1, 2, 3}, {1, 0, 0}, 255, 128, 0, false);
    frame(v);
    Picture m = camera_matrix(v);
    check_segment(m, v, {1, 0, 0}, {2, 2, 3}, {255, 128, 0}, "start-anchored");
    // The tip is a 3-pixel point: its 3 x 3 block is all in colour.
    CHECK(block_hits(project(m, 2, 2, 3), {255, 128, 0}) >= 9);
    CHECK(block_hits(project(m, 1, 0, 0), {255, 128, 0}) < 6);
    float size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    CHECK(size == 3.0f);

    // Ending at the offset: (0, -2, -3) to (1, 0, 0), partly below the
    // ground, tip at (1, 0, 0). The point is where the tip is, not at the
    // other end.
    v = start_view();
    set_vector_slot(v, 0, {1, 2, 3}, {1, 0, 0}, 255, 128, 0, true);
    frame(v);
    check_segment(m, v, {0, -2, -3}, {1, 0, 0}, {255, 128, 0}, "end-anchored");

    // Above the ground, so both ends show plainly: the 3-pixel point sits
    // at the offset, and the start of the segment is a bare line end.
    v = start_view();
    set_vector_slot(v, 0, {1, 2, 3}, {2, 2, 4}, 200, 0, 200, true);
    frame(v);
    check_segment(m, v, {1, 0, 1}, {2, 2, 4}, {200, 0, 200}, "end-anchored, above");
    CHECK(block_hits(project(m, 2, 2, 4), {200, 0, 200}) >= 9);
    CHECK(block_hits(project(m, 1, 0, 1), {200, 0, 200}) < 6);

    // The depth rule: the same segment once just above and once just
    // below the drawn square with corner (-2, -1).
    v = start_view();
    set_vector_slot(v, 0, {0.7f, 0, 0}, {-1.9f, -0.4f, 0.3f}, 0, 0, 255, false);
    set_vector_slot(v, 1, {0.7f, 0, 0}, {-1.9f, -0.6f, -0.3f}, 0, 160, 0, false);
    frame(v);
    check_segment(m, v, {-1.9f, -0.4f, 0.3f}, {-1.2f, -0.4f, 0.3f}, {0, 0, 255}, "above the ground");
    check_segment(m, v, {-1.9f, -0.6f, -0.3f}, {-1.2f, -0.6f, -0.3f}, {0, 160, 0}, "below the ground");
    Point below = project(m, -1.55, -0.6, -0.3);
    CHECK(colour_near(below, dimmed({0, 160, 0})));
    CHECK(!colour_near(below, {0, 160, 0}));
}

void check_skipped_and_odd_slots() {
    ViewState v = start_view();
    set_vector_slot(v, 0, {0, 0, 0}, {1, 1, 1}, 0, 255, 255, false);
    set_vector_slot(v, 1, {-0.0f, 0, -0.0f}, {1, -1, 1}, 0, 255, 255, false);
    frame(v);
    Picture m = camera_matrix(v);
    CHECK(!colour_near(project(m, 1, 1, 1), {0, 255, 255}));
    CHECK(!colour_near(project(m, 1, -1, 1), {0, 255, 255}));

    // Far too small to see, yet not zero: drawn as a point at the offset.
    v = start_view();
    set_vector_slot(v, 0, {1e-30f, 0, 0}, {1, 1, 1}, 255, 0, 255, false);
    frame(v);
    CHECK(colour_near(project(m, 1, 1, 1), {255, 0, 255}));

    // NaN is not skipped, and breaks nothing else in the frame.
    v = start_view();
    set_vector_slot(v, 0, {std::nanf(""), 1, 1}, {0, 0, 0}, 255, 0, 255, false);
    set_vector_slot(v, 1, {1, 1, 1}, {-1, 1, 1}, 0, 128, 255, false);
    frame(v);
    CHECK(colour_near(project(m, 3.5, 0, 0), {255, 0, 0}));
    CHECK(colour_near(project(m, -0.5, 1.5, 1.5), {0, 128, 255}));
}

void check_camera_moves_the_picture() {
    ViewState v = start_view();
    view_pointer_press(v, ViewButton::left, pack_position(100, 100));
    view_pointer_motion(v, pack_position(180, 140));  // draws the frame itself
    read_frame();
    Picture m = camera_matrix(v);
    for (double t = 2.5; t <= 4.5; t += 0.5) {
        CHECK(colour_near(project(m, t, 0, 0), {255, 0, 0}));
        CHECK(colour_near(project(m, 0, 0, t), {0, 0, 255}));
    }
    view_pointer_release(v, ViewButton::left, pack_position(180, 140));
    view_pointer_press(v, ViewButton::right, pack_position(0, 0));
    view_pointer_motion(v, pack_position(0, 40));  // 10 -> 30 units away
    read_frame();
    m = camera_matrix(v);
    CHECK(v.eye_distance == 30.0f);
    CHECK(colour_near(project(m, 4, 0, 0), {255, 0, 0}));
}

void check_state_after_frame() {
    ViewState v = start_view();
    // The desktop hosts' frame, with the axes' names over it, leaves the
    // same state as the plain one, matrices to the bit.
    double plain[2][16], named[2][16];
    frame(v);
    glGetDoublev(GL_PROJECTION_MATRIX, plain[0]);
    glGetDoublev(GL_MODELVIEW_MATRIX, plain[1]);
    v.names_axes = true;
    frame(v);
    glGetDoublev(GL_PROJECTION_MATRIX, named[0]);
    glGetDoublev(GL_MODELVIEW_MATRIX, named[1]);
    CHECK(std::memcmp(plain, named, sizeof plain) == 0);
    CHECK(glIsEnabled(GL_DEPTH_TEST));
    CHECK(!glIsEnabled(GL_BLEND));
    CHECK(!glIsEnabled(GL_ALPHA_TEST));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    CHECK_INT(mode, GL_MODELVIEW);
    float c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    CHECK(c[0] == 0 && c[1] == 0 && c[2] == 0 && std::fabs(c[3] - 0.2f) < 1e-6f);
    CHECK_INT(glGetError(), GL_NO_ERROR);
}

// A zero-height client must not reach gluPerspective as a division by 0.
void check_zero_height() {
    int saved = height;
    height = 0;
    ViewState v = start_view();
    render_view(v);
    CHECK_INT(glGetError(), GL_NO_ERROR);
    height = saved;
}

}  // namespace

int main() {
    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 32, 0, 0, nullptr);
    if (!ctx) ctx = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    CHECK(ctx != nullptr);
    if (!ctx) return check_exit();
    std::vector<unsigned char> buffer(size_t(width) * size_t(height) * 4);
    CHECK(OSMesaMakeCurrent(ctx, buffer.data(), GL_UNSIGNED_BYTE, width, height));
    // As the view window does at every size change.
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();

    check_empty_frame();
    check_vectors();
    check_skipped_and_odd_slots();
    check_camera_moves_the_picture();
    check_state_after_frame();
    check_zero_height();
    OSMesaDestroyContext(ctx);
    return check_exit();
}
