// Checking a screenshot of the view against what a camera must show, for
// the end-to-end tests of both hosts: our own projection of the camera,
// and pixel colours looked for where it puts things.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/projection.h"
#include "view/internal.h"  // the axes' glyphs, to look for each pixel of them
#include "view/view.h"

struct Rgb {
    int r, g, b;
};

// The view's client area as the screen shows it, top row first.
struct Shot {
    int width = 0, height = 0;
    std::vector<Rgb> px;
    Rgb at(int x, int y) const { return px[size_t(y) * size_t(width) + size_t(x)]; }
};

inline bool close_to(Rgb a, Rgb b, int t = 3) {
    return std::abs(a.r - b.r) <= t && std::abs(a.g - b.g) <= t && std::abs(a.b - b.b) <= t;
}

inline int differing(const Shot& a, const Shot& b) {
    int n = 0;
    for (size_t i = 0; i < a.px.size() && i < b.px.size(); ++i) n += !close_to(a.px[i], b.px[i], 0);
    return n;
}

// Pixels of a colour; those `band` pixels or less from an edge, when asked.
inline int pixels_of(const Shot& s, Rgb want, int band = -1) {
    int n = 0;
    for (size_t i = 0; i < s.px.size(); ++i) {
        int x = int(i % size_t(s.width)), y = int(i / size_t(s.width));
        bool in_band = std::min({x, y, s.width - 1 - x, s.height - 1 - y}) < band;
        n += close_to(s.px[i], want) && (band < 0 || in_band);
    }
    return n;
}

// World point to view pixel, y down, for a camera.
struct Picture {
    ViewCamera camera;
    Mat4 m;
    Picture(const ViewState& v, int width, int height)
        : camera{{v.eye_dir.x * double(v.eye_distance), v.eye_dir.y * double(v.eye_distance),
                  v.eye_dir.z * double(v.eye_distance)},
                 width,
                 height},
          m(camera_matrix(camera)) {}
    Point2 at(double x, double y, double z) const {
        Point2 p = project(m, camera, x, y, z);
        return {p.x, camera.height - p.y};
    }
};

// Where the frame names an axis: the top-left corner of the glyph box
// beside the projected end, in design pixels of k device pixels each; false
// where the end is not well inside the view.
inline bool axis_name_at(const Picture& p, int axis, int k, int& left, int& top) {
    Point2 at = p.at(axis == 0 ? 5 : 0, axis == 1 ? 5 : 0, axis == 2 ? 5 : 0);
    left = int(std::floor(at.x)) + AXIS_NAME_GAP * k;
    top = int(std::floor(at.y)) - (AXIS_NAME_GAP + AXIS_GLYPH_HEIGHT) * k;
    return at.x > 2 && at.y > 2 && at.x < p.camera.width - 2 && at.y < p.camera.height - 2;
}
inline bool under_axis_name(const Picture& p, const ViewState& camera, Point2 at) {
    int k = int(line_width_at(camera.pixel_scale)), left, top;
    for (int axis = 0; axis < 3; ++axis)
        if (axis_name_at(p, axis, k, left, top) && at.x >= left - 3 && at.x < left + (AXIS_GLYPH_WIDTH + 3) * k &&
            at.y >= top - 3 && at.y < top + (AXIS_GLYPH_HEIGHT + 3) * k)
            return true;
    return false;
}

// The axes' names, each whole in its colour beside its end: every design
// pixel a solid square, all at one place within a pixel of the box (the
// projections may round apart), and for "x" and "y", whose colours
// nothing else has, no more of it round about: crisp, not smeared.
// Returns how many were in the view to check.
inline int check_axis_names(const Shot& s, const ViewState& camera, const std::string& what) {
    Picture p(camera, s.width, s.height);
    int k = int(line_width_at(camera.pixel_scale)), named = 0, left, top;
    const int w = AXIS_GLYPH_WIDTH * k, h = AXIS_GLYPH_HEIGHT * k;
    for (int axis = 0; axis < 3; ++axis) {
        const AxisName& name = AXIS_NAMES[axis];
        Rgb colour{name.red, name.green, name.blue};
        if (!axis_name_at(p, axis, k, left, top) || left < 4 || top < 4 || left + w + 4 > s.width ||
            top + h + 4 > s.height)
            continue;
        ++named;
        check_context(what + ": the name " + std::string(1, name.text));
        bool whole = false;
        int design = 0, found = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1 && !whole; ++dx) {
                whole = true, design = 0;
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        if (name.rows[y / k] >> (AXIS_GLYPH_WIDTH - 1 - x / k) & 1)
                            ++design, whole = whole && close_to(s.at(left + dx + x, top + dy + y), colour, 0);
            }
        for (int y = top - 3; y < top + h + 3; ++y)
            for (int x = left - 3; x < left + w + 3; ++x) found += close_to(s.at(x, y), colour, 0);
        CHECK(whole);
        if (axis < 2) CHECK_INT(found, design);
    }
    check_context("");
    return named;
}

// A one-pixel line may land on either side of its exact place.
inline bool colour_near(const Shot& s, Point2 p, Rgb want) {
    int cx = int(std::floor(p.x)), cy = int(std::floor(p.y));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int x = cx + dx, y = cy + dy;
            if (x >= 0 && y >= 0 && x < s.width && y < s.height && close_to(s.at(x, y), want)) return true;
        }
    return false;
}

// The axes and a vector from (1, -1, 0) straight up to (1, -1, 3) in
// `colour`. Points the camera puts outside the view are not looked for,
// but most must be inside.
inline void check_picture(const Shot& s, const ViewState& camera, Rgb colour, const std::string& what) {
    Picture p(camera, s.width, s.height);
    int seen = 0;
    auto look = [&](Point2 at, Rgb want, const std::string& where) {
        if (at.x < 2 || at.y < 2 || at.x >= s.width - 2 || at.y >= s.height - 2) return;
        if (under_axis_name(p, camera, at)) return;  // the name may cover its own axis
        ++seen;
        check_context(what + ": " + where);
        CHECK(colour_near(s, at, want));
    };
    for (double t = 2.5; t <= 4.6; t += 0.35) {
        if (colour.r != 255 || colour.g != 0 || colour.b != 0) look(p.at(t, 0, 0), {255, 0, 0}, "x axis");
        look(p.at(0, t, 0), {0, 255, 0}, "y axis at " + std::to_string(t));
    }
    for (double z = 0.4; z <= 2.8; z += 0.4) look(p.at(1, -1, z), colour, "vector at " + std::to_string(z));
    check_context("");
    CHECK(seen >= 10);
}

// The translucent board on the ground, black at 20 % over the white: the
// squares whose indices add up odd are 80 % white, the others white. Each
// square is judged at its centre by most of the pixels round it, since an
// axis or a vector may cross there.
inline void check_board(const Shot& s, const ViewState& camera, const std::string& what) {
    Picture p(camera, s.width, s.height);
    for (int i = -2; i <= 1; ++i)
        for (int j = -2; j <= 1; ++j) {
            Point2 c = p.at(i + 0.5, j + 0.5, 0);
            Rgb want = (i + j) & 1 ? Rgb{204, 204, 204} : Rgb{255, 255, 255};
            int cx = int(std::floor(c.x)), cy = int(std::floor(c.y)), like = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    int x = cx + dx, y = cy + dy;
                    like += x >= 0 && y >= 0 && x < s.width && y < s.height && close_to(s.at(x, y), want);
                }
            check_context(what + ": square " + std::to_string(i) + " " + std::to_string(j));
            CHECK(like >= 15);
        }
    check_context("");
}

// How many pixels wide a line from a to b in `colour` is drawn, across its
// middle: GL draws a wide aliased line as a run of that many pixels along
// the screen axis it runs less along.
inline int line_thickness(const Shot& s, Point2 a, Point2 b, Rgb colour) {
    bool x_major = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
    int cx = int(std::floor((a.x + b.x) / 2)), cy = int(std::floor((a.y + b.y) / 2)), widest = 0, run = 0;
    for (int d = -8; d <= 8; ++d) {
        int x = x_major ? cx : cx + d, y = x_major ? cy + d : cy;
        bool in = x >= 0 && y >= 0 && x < s.width && y < s.height && close_to(s.at(x, y), colour);
        run = in ? run + 1 : 0;
        widest = run > widest ? run : widest;
    }
    return widest;
}
