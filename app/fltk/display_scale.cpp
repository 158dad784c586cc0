#include "app/fltk/display_scale.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xresource.h>

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// 1 is the dialog as designed: a lower dpi would shrink its 11-pixel font
// below legibility. 4 is the most any desktop offers (a 3840-pixel-wide
// dialog); larger values are taken for the mistakes they are.
constexpr double MIN_SCALE = 1.0, MAX_SCALE = 4.0;

// One ring of a frame is 1 pixel at scale 1: ring i spans from scaled(i)
// to scaled(i + 1). `grays` names each ring's sides with FLTK's gray ramp
// letters, four to a ring, in FLTK's own order: top, left, bottom, right,
// or, when `bottom_first`, bottom, right, top, left.
void draw_rings(const char* grays, bool bottom_first, int x, int y, int w, int h) {
    for (int ring = 0; *grays && w > 0 && h > 0; ++ring) {
        int t = scaled(ring + 1) - scaled(ring);
        for (int side = 0; side < 4 && *grays; ++side) {
            Fl_Color c = fl_gray_ramp(*grays++ - 'A');
            fl_color(Fl::draw_box_active() ? c : fl_inactive(c));
            switch (bottom_first ? (side + 2) % 4 : side) {
                case 0:  // top
                    if (t > h) t = h;
                    fl_rectf(x, y, w, t);
                    y += t;
                    h -= t;
                    break;
                case 1:  // left
                    if (t > w) t = w;
                    fl_rectf(x, y, t, h);
                    x += t;
                    w -= t;
                    break;
                case 2:  // bottom
                    if (t > h) t = h;
                    fl_rectf(x, y + h - t, w, t);
                    h -= t;
                    break;
                default:  // right
                    if (t > w) t = w;
                    fl_rectf(x + w - t, y, t, h);
                    w -= t;
                    break;
            }
            if (w <= 0 || h <= 0) return;
        }
    }
}

// FLTK's own frames (its default scheme, 2-pixel borders), ring by ring.
const char* const UP = "AAWWMMTT";
const char* const DOWN = "WWMMPPAA";
const char* const ENGRAVED = "HHWWWWHH";

void fill_inside(int x, int y, int w, int h, Fl_Color c) {
    int d = scaled(2);
    Fl::set_box_color(c);
    fl_rectf(x + d, y + d, w - 2 * d, h - 2 * d);
}

void up_frame(int x, int y, int w, int h, Fl_Color) { draw_rings(UP, true, x, y, w, h); }
void down_frame(int x, int y, int w, int h, Fl_Color) { draw_rings(DOWN, true, x, y, w, h); }
void engraved_frame(int x, int y, int w, int h, Fl_Color) { draw_rings(ENGRAVED, false, x, y, w, h); }
void up_box(int x, int y, int w, int h, Fl_Color c) {
    up_frame(x, y, w, h, c);
    fill_inside(x, y, w, h, c);
}
void down_box(int x, int y, int w, int h, Fl_Color c) {
    down_frame(x, y, w, h, c);
    fill_inside(x, y, w, h, c);
}
void engraved_box(int x, int y, int w, int h, Fl_Color c) {
    engraved_frame(x, y, w, h, c);
    fill_inside(x, y, w, h, c);
}

}  // namespace

double scale_from_resources(const char* resources) {
    if (!resources) return MIN_SCALE;
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(resources);
    if (!db) return MIN_SCALE;
    char* type = nullptr;
    XrmValue value{};
    double dpi = 0;
    if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        // The C library's reading would follow the locale's decimal point.
        const char* text = value.addr;
        const char* end = text + std::strlen(text);
        while (text < end && (*text == ' ' || *text == '\t')) ++text;
        if (std::from_chars(text, end, dpi).ec != std::errc()) dpi = 0;
    }
    XrmDestroyDatabase(db);
    double scale = dpi / 96;
    if (!std::isfinite(scale) || scale < MIN_SCALE) return MIN_SCALE;
    return scale > MAX_SCALE ? MAX_SCALE : scale;
}

double display_scale() {
    static const double scale = [] {
        fl_open_display();
        return scale_from_resources(XResourceManagerString(fl_display));
    }();
    return scale;
}

void scale_frames() {
    if (display_scale() == 1.0) return;
    auto d = uchar(scaled(2));
    Fl::set_boxtype(FL_UP_FRAME, up_frame, d, d, uchar(2 * d), uchar(2 * d));
    Fl::set_boxtype(FL_DOWN_FRAME, down_frame, d, d, uchar(2 * d), uchar(2 * d));
    Fl::set_boxtype(FL_ENGRAVED_FRAME, engraved_frame, d, d, uchar(2 * d), uchar(2 * d));
    Fl::set_boxtype(FL_UP_BOX, up_box, d, d, uchar(2 * d), uchar(2 * d));
    Fl::set_boxtype(FL_DOWN_BOX, down_box, d, d, uchar(2 * d), uchar(2 * d));
    Fl::set_boxtype(FL_ENGRAVED_BOX, engraved_box, d, d, uchar(2 * d), uchar(2 * d));
}
