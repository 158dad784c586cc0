// Checks a frame of the page's view with the shared pixel checks, and the
// page's camera against the one the core computes for the same input.
// Usage: check_shot SHOT.ppm SCALE EYE_X EYE_Y EYE_Z DISTANCE [INPUT A B C D]...
// with SCALE the page's device pixels per CSS pixel and each input a drag
// (rotate|zoom X0 Y0 X1 Y1), or key VIEWKEY FINE, wheel NOTCHES or pinch
// SPREAD0 SPREAD1, padded to four numbers. The camera is given as the four
// floats' bits in hex; the input starts from the start camera. Runs under
// node, with the host's files.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/check.h"
#include "tests/float_bits.h"
#include "tests/view_pixels.h"

namespace {

bool read_ppm(const char* path, Shot& s) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    int max = 0;
    bool ok = std::fscanf(f, "P6 %d %d %d", &s.width, &s.height, &max) == 3 && max == 255 && std::fgetc(f) != EOF;
    if (ok) {
        s.px.resize(size_t(s.width) * size_t(s.height));
        for (Rgb& p : s.px) {
            unsigned char b[3];
            if (std::fread(b, 1, 3, f) != 3) ok = false;
            p = {b[0], b[1], b[2]};
        }
    }
    std::fclose(f);
    return ok;
}

// How wide axis `axis` is drawn between 3 and 4 units out; -1 where that
// is out of view.
int axis_width(const Shot& s, const Picture& p, int axis) {
    auto at = [&](double t) { return p.at(axis == 0 ? t : 0, axis == 1 ? t : 0, axis == 2 ? t : 0); };
    Point2 mid = at(3.5);
    if (mid.x < 8 || mid.y < 8 || mid.x >= s.width - 8 || mid.y >= s.height - 8) return -1;
    return line_thickness(s, at(3), at(4), {axis == 0 ? 255 : 0, axis == 1 ? 255 : 0, axis == 2 ? 255 : 0});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7 || (argc - 7) % 5 != 0) {
        std::printf("usage: check_shot SHOT.ppm SCALE EYE_X EYE_Y EYE_Z DISTANCE [INPUT A B C D]...\n");
        return 2;
    }
    Shot shot;
    CHECK(read_ppm(argv[1], shot));
    if (shot.px.empty()) return check_exit();

    ViewState camera;
    set_start_camera(camera);
    for (int i = 7; i < argc; i += 5) {
        double a = std::atof(argv[i + 1]), b = std::atof(argv[i + 2]);
        if (std::strcmp(argv[i], "key") == 0) {
            view_key(camera, ViewKey(int(a)), b != 0);
        } else if (std::strcmp(argv[i], "wheel") == 0) {
            zoom_camera(camera, a);
        } else if (std::strcmp(argv[i], "pinch") == 0) {
            begin_pinch(camera);
            pinch_camera(camera, b / a);
        } else {
            uint32_t from = pack_position(int(a), int(b));
            view_pointer_press(camera, std::strcmp(argv[i], "rotate") == 0 ? ViewButton::left : ViewButton::right, from);
            view_pointer_motion(camera, pack_position(std::atoi(argv[i + 3]), std::atoi(argv[i + 4])));
        }
        view_pointer_cancel(camera);
    }
    uint32_t page[4];
    for (int i = 0; i < 4; ++i) page[i] = uint32_t(std::strtoul(argv[3 + i], nullptr, 16));
    CHECK_INT(page[0], float_bits(camera.eye_dir.x));
    CHECK_INT(page[1], float_bits(camera.eye_dir.y));
    CHECK_INT(page[2], float_bits(camera.eye_dir.z));
    CHECK_INT(page[3], float_bits(camera.eye_distance));

    check_picture(shot, camera, {255, 0, 255}, argv[1]);
    check_board(shot, camera, argv[1]);
    // Lines as wide as the core draws them at the page's scale.
    Picture p(camera, shot.width, shot.height);
    int width = int(line_width_at(std::atof(argv[2])));
    for (int axis = 0; axis < 3; ++axis) {
        int n = axis_width(shot, p, axis);
        if (n >= 0) CHECK_INT(n, width);
    }
    return check_exit();
}
