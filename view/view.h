// view: the 3D view's state and everything done with it that does not
// depend on a window system: the vector slots, drawing one frame with
// OpenGL 1.1 and GLU, and the orbit camera driven by pointer drags, keys,
// the wheel, a pinch and the on-view buttons. The hosts (view/win32,
// view/fltk, view/web) own the window and its GL context; what they call
// and answer is view/host.h.
#pragma once

#include <cstdint>
#include <vector>

#include "vectext/vector3.h"

struct VectorSlot {
    Vector3 vector;
    Vector3 offset;  // the start, or the end when offset_is_end is set
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t offset_is_end = 0;  // any non-zero value counts as true
};

struct ViewState {
    void* window = nullptr;  // the host's view window
    Vector3 eye_dir;         // unit direction from the origin to the camera
    float eye_distance = 0.0f;
    std::vector<VectorSlot> slots;
    int32_t drag_mode = 0;     // none, rotate, zoom or pinch: view/internal.h
    uint32_t drag_anchor = 0;  // press position: x low 16 bits, y high, signed
    Vector3 drag_start_dir;
    float drag_start_distance = 0.0f;
    uint32_t drag_last = 0;    // the drag's latest position, where a step re-anchors it
    double pinch_ratio = 1.0;  // the pinch's latest spread over its first
    double zoom_rest = 0.0;    // wheel travel short of a whole zoom pixel
    double pixel_scale = 1.0;  // device pixels per layout pixel: set_display_scale
    int32_t press_button = -1;  // the ViewButton whose press began the drag
    bool press_moved = false;   // whether the pointer left the press position since
    bool names_axes = false;    // the frame ends with the axes' names (the desktop hosts)
};

// The one view state, in static storage for the life of the process.
extern ViewState view_state;

void set_vector_slot(ViewState& view, uint32_t index, Vector3 vector, Vector3 offset, uint8_t red, uint8_t green,
                     uint8_t blue, bool offset_is_end);

// The camera a new view window starts with: on the diagonal of the
// positive octant, 10 units out. Only the camera: the window and any drag
// are left as they are.
constexpr float START_EYE_COMPONENT = 0.57735026f;  // nearest float to 1/sqrt(3)
constexpr float START_EYE_DISTANCE = 10.0f;
void set_start_camera(ViewState& view);
bool is_start_camera(const ViewState& view);  // bit for bit

// One whole frame into the current GL context, ended with glFinish.
void render_view(const ViewState& view);

// Lines and tip points grow with the display scale, in whole pixels
// (aliased GL rounds widths anyway): 1 and 3 at scale 1, 2 and 6 at 2,
// 2 and 5 at 1.5.
float line_width_at(double scale);
float point_size_at(double scale);
// Device pixels per layout pixel of the view, as the host measures them.
void set_display_scale(ViewState& view, double scale);

// Pointer input, as every host hands it over: which button, and where, in
// client pixels packed by pack_position. The core alone decides what a
// button does: the left orbits, the right zooms, any other does nothing.
enum class ViewButton { left, middle, right };
// What a release was: nothing the view had begun, the end of a drag, or a
// click (released where it was pressed, the pointer never away between).
// A click of the right button asks for the view's menu, which the host
// opens; a right drag zooms and opens nothing.
enum class ViewRelease { none, drag, click, menu };
// True when the press began a drag: the host then keeps the pointer's
// events (a capture or grab) until the release, so that a release outside
// the view still ends it.
bool view_pointer_press(ViewState& view, ViewButton button, uint32_t position);
// Each motion during a drag moves the camera and draws one frame at once.
void view_pointer_motion(ViewState& view, uint32_t position);
// The release of either drag button ends the drag, whichever began it.
ViewRelease view_pointer_release(ViewState& view, ViewButton button, uint32_t position);
// The pointer was taken away mid-drag (capture lost, cancelled): the drag
// ends without a release.
void view_pointer_cancel(ViewState& view);
bool view_dragging(const ViewState& view);

// The eye never comes nearer the origin than this.
constexpr float MIN_EYE_DISTANCE = 2.0f;

// Steps for the other hands, each defined as the drag that would do the
// same, so every host gets the same camera bits from the same input. Each
// draws when it moves the camera. A step during a drag moves the camera
// and the drag goes on from there. Their sizes are view/internal.h's.
// As a left drag by (dx, dy) pixels from the current camera.
void orbit_camera(ViewState& view, int dx, int dy);
// Positive notches bring the eye nearer, as a right drag upwards by a
// notch's pixels each; fractions add up until they make a whole pixel.
void zoom_camera(ViewState& view, double notches);
// Back to the camera a new view starts with.
void reset_camera(ViewState& view);
// Show calculation's camera for the rows it drew, in a view of width ×
// height pixels: every drawn vector, start to tip, inside the view with a
// margin, from the nearest eye that does it (never nearer than
// MIN_EYE_DISTANCE). The direction stays, unless a drawn vector is seen
// nearly end-on or two that are not parallel lie within a few pixels of
// each other along most of one's length: then it turns by the nearest
// small orbit step from which each is seen apart. One step, nothing drawn; the same rows and size give
// the same camera on every host.
void frame_camera(ViewState& view, int width, int height);
// Two fingers: the distance at the start over the spread's ratio, so
// spreading them brings the eye nearer. A pinch is a drag of its own.
void begin_pinch(ViewState& view);
void pinch_camera(ViewState& view, double spread_ratio);

// The view's keys, the same on every host; each host maps its own codes
// (menu: Shift+F10 or the Menu key).
enum class ViewKey { left, right, up, down, zoom_in, zoom_out, reset, menu };
// Arrows orbit as a drag in their direction (fine: the small step).
// True when the key asks for the view's menu, which the host opens.
bool view_key(ViewState& view, ViewKey key, bool fine);

inline uint32_t pack_position(int x, int y) { return uint32_t(uint16_t(x)) | (uint32_t(uint16_t(y)) << 16); }
