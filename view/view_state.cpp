// The one view state and its vector slots.

#include <cstddef>
#include <cstring>

#include "view/view.h"

ViewState view_state;

void set_vector_slot(ViewState& view, uint32_t index, Vector3 vector, Vector3 offset, uint8_t red, uint8_t green,
                     uint8_t blue, bool offset_is_end) {
    // Missing slots below `index` appear as zero vectors, which are not drawn.
    if (view.slots.size() < std::size_t(index) + 1) view.slots.resize(std::size_t(index) + 1);
    VectorSlot& slot = view.slots[index];
    slot.vector = vector;
    slot.offset = offset;
    slot.red = red;
    slot.green = green;
    slot.blue = blue;
    slot.offset_is_end = offset_is_end ? 1 : 0;
}

void set_start_camera(ViewState& view) {
    view.eye_dir = {START_EYE_COMPONENT, START_EYE_COMPONENT, START_EYE_COMPONENT};
    view.eye_distance = START_EYE_DISTANCE;
}

bool is_start_camera(const ViewState& view) {
    ViewState start;
    set_start_camera(start);
    return std::memcmp(&view.eye_dir, &start.eye_dir, sizeof view.eye_dir) == 0 &&
           std::memcmp(&view.eye_distance, &start.eye_distance, sizeof view.eye_distance) == 0;
}

void set_display_scale(ViewState& view, double scale) { view.pixel_scale = scale; }
