// Camera cases for the core's test, which every tree runs (natively, as
// WebAssembly and under Wine): a run of inputs from the start camera, named
// as the page's keys are ("Shift+ArrowUp", "+", "Home"), "wheel:N" for N
// notches forward, "pinch:R" for a two-finger spread of R times the first
// (a run of pinch tokens is one pinch) and "drag:DX,DY" for a left drag,
// and the camera bits every host must end with. An arrow is the drag of
// its step: their cases end with the same bits.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "view/view.h"

struct CameraCase {
    const char* inputs;
    uint32_t x, y, z, distance;
};

// clang-format off
const CameraCase CAMERA_CASES[] = {
    {"ArrowRight", 0x3F252922, 0x3F001C9C, 0x3F13CD3B, 0x41200000},
    {"drag:20,0", 0x3F252922, 0x3F001C9C, 0x3F13CD3B, 0x41200000},
    {"Shift+ArrowDown", 0x3F127A09, 0x3F127A09, 0x3F166AA6, 0x41200000},
    {"drag:0,2", 0x3F127A09, 0x3F127A09, 0x3F166AA6, 0x41200000},
    {"ArrowLeft ArrowUp ArrowUp", 0x3F129D89, 0x3F3D03F1, 0x3EB65A41, 0x41200000},
    {"+", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41100000},
    {"- PageDown -", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41500000},
    {"wheel:0.25 wheel:0.25 wheel:0.25", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41180000},  // 1.5 px: 1 taken
    {"wheel:0.25 wheel:0.25 wheel:0.25 wheel:0.25", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41100000},
    {"wheel:-0.3 wheel:0.3", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41200000},
    {"wheel:12", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x40000000},  // the floor
    {"wheel:nan", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41200000},
    {"pinch:2", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x40A00000},
    {"pinch:1.3 pinch:1.7", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x40BC3C3C},
    {"pinch:0.5", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41A00000},
    {"pinch:8 pinch:0 pinch:-1", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x40000000},  // not a spread: ignored
    {"pinch:1e-300", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x7F7FFFFF},  // the largest float, not infinity
    {"ArrowRight PageUp wheel:0.75 Home wheel:0.25", 0x3F13CD3A, 0x3F13CD3A, 0x3F13CD3A, 0x41200000},
};
// clang-format on

// One input of a case, as the core takes it from any host.
inline void apply_camera_input(ViewState& view, const std::string& input, bool& pinching) {
    bool was_pinching = pinching;
    pinching = input.rfind("pinch:", 0) == 0;
    if (pinching) {
        if (!was_pinching) begin_pinch(view);
        pinch_camera(view, std::strtod(input.c_str() + 6, nullptr));
        return;
    }
    if (was_pinching) view_pointer_cancel(view);
    if (input.rfind("wheel:", 0) == 0) return zoom_camera(view, std::strtod(input.c_str() + 6, nullptr));
    if (input.rfind("drag:", 0) == 0) {
        char* comma = nullptr;
        int dx = int(std::strtol(input.c_str() + 5, &comma, 10)), dy = int(std::strtol(comma + 1, nullptr, 10));
        view_pointer_press(view, ViewButton::left, pack_position(100, 100));
        view_pointer_motion(view, pack_position(100 + dx, 100 + dy));
        view_pointer_release(view, ViewButton::left, pack_position(100 + dx, 100 + dy));
        return;
    }
    bool fine = input.rfind("Shift+", 0) == 0;
    std::string key = fine ? input.substr(6) : input;
    struct Name {
        const char* name;
        ViewKey key;
    } names[] = {{"ArrowLeft", ViewKey::left},  {"ArrowRight", ViewKey::right}, {"ArrowUp", ViewKey::up},
                 {"ArrowDown", ViewKey::down},  {"+", ViewKey::zoom_in},        {"PageUp", ViewKey::zoom_in},
                 {"-", ViewKey::zoom_out},      {"PageDown", ViewKey::zoom_out}, {"Home", ViewKey::reset}};
    for (const Name& n : names)
        if (key == n.name) view_key(view, n.key, fine);
}

inline void apply_camera_inputs(ViewState& view, const char* inputs) {
    bool pinching = false;
    std::string all = inputs, token;
    for (size_t at = 0; at <= all.size(); ++at) {
        if (at < all.size() && all[at] != ' ') {
            token += all[at];
        } else if (!token.empty()) {
            apply_camera_input(view, token, pinching);
            token.clear();
        }
    }
    if (pinching) view_pointer_cancel(view);
}
