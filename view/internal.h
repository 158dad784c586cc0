// What view/ shares inside itself and no host outside it calls: the drag
// in its steps, the camera's rates, the framing's search and the axes'
// names the frame ends with. The page's scripts get the axes' values from
// here at build time (names.js).
#pragma once

#include <cstdint>

#include "view/view.h"

// ViewState::drag_mode.
constexpr int32_t DRAG_NONE = 0;
constexpr int32_t DRAG_ROTATE = 1;
constexpr int32_t DRAG_ZOOM = 2;
constexpr int32_t DRAG_PINCH = 3;

// The orbit camera behind the pointer entry. Positions are packed as the
// press and motion events deliver them: x in the low 16 bits, y in the
// high 16 bits, both signed client coordinates, y growing downward.
constexpr float ORBIT_RADIANS_PER_PIXEL = 0.0062831854f;  // 1000 px per turn
constexpr float PITCH_LIMIT = 1.5700114f;                 // just under pi/2
constexpr float ZOOM_PER_PIXEL = 0.5f;

void begin_rotate(ViewState& view, uint32_t position);
void begin_zoom(ViewState& view, uint32_t position);
void end_drag(ViewState& view);
void drag_camera(ViewState& view, uint32_t position);

// The steps of the keys and the wheel, in drag pixels.
constexpr int ORBIT_STEP_PIXELS = 20;      // an arrow key: 7.2 degrees, 50 to a turn
constexpr int ORBIT_FINE_STEP_PIXELS = 2;  // Shift and an arrow: 0.72 degrees
constexpr int ZOOM_PIXELS_PER_NOTCH = 2;   // a wheel notch: 1 unit, a tenth of the start distance

// frame_camera: a margin of FRAME_MARGIN of the view's smaller side; a
// vector is seen apart unless within END_ON_SINE of end-on, or within
// FEW_PIXELS of another that is not parallel (PARALLEL_SINE) along most of
// its length; the search turns by rings of FRAME_STEP_PIXELS.
constexpr double FRAME_MARGIN = 0.05;
constexpr double FEW_PIXELS = 4.0;        // at display scale 1
constexpr double END_ON_SINE = 0.26;      // within about 15 degrees of the line of sight
constexpr double PARALLEL_SINE = 0.02;    // within about a degree
constexpr int FRAME_STEP_PIXELS = 5;      // 1.8 degrees
constexpr int FRAME_SEARCH_RINGS = 50;    // up to 90 degrees away

// The axes run from the origin to AXIS_LENGTH along each. Their names, when
// the frame has them (names_axes; the page lays its own over the view from
// these same values): "x", "y" and "z" in bold beside the axes' far ends,
// the glyph box's bottom-left corner AXIS_NAME_GAP pixels right of and
// above the end. Drawn in whole device pixels, each of the glyphs' design
// pixels a square of line_width_at(scale), so they stay crisp at every
// scale; an end behind the eye or outside the view has no name. The
// frame's matrices, depth test and colour are as the frame left them
// afterwards.
constexpr int AXIS_LENGTH = 5;
constexpr int AXIS_NAME_GAP = 4;         // at display scale 1
constexpr int AXIS_GLYPH_WIDTH = 7;      // design pixels
constexpr int AXIS_GLYPH_HEIGHT = 9;     // 7 over the baseline, 2 below
struct AxisName {
    char text;
    uint8_t red, green, blue;                // the axis's hue, dark enough to read on white
    uint8_t rows[AXIS_GLYPH_HEIGHT];         // top row first; bit 6 is the left column
};
// One entry a line: the page's build reads the letters and colours.
inline constexpr AxisName AXIS_NAMES[3] = {
    {'x', 208, 0, 0, {0x63, 0x63, 0x36, 0x1c, 0x36, 0x63, 0x63, 0x00, 0x00}},
    {'y', 0, 128, 0, {0x63, 0x63, 0x36, 0x36, 0x1c, 0x1c, 0x18, 0x30, 0x60}},
    {'z', 0, 0, 255, {0x7f, 0x7f, 0x0e, 0x1c, 0x38, 0x7f, 0x7f, 0x00, 0x00}},
};
void draw_axis_names(const ViewState& view, int width, int height);
