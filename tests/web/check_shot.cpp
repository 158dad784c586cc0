// Checks a frame of the page's view with the shared pixel checks, and the
// page's camera against the one the core computes for the same drags.
// Usage: check_shot SHOT.ppm EYE_X EYE_Y EYE_Z DISTANCE [rotate|zoom X0 Y0 X1 Y1]...
// The camera is given as the four floats' bits in hex; the drags start
// from the start camera. Runs under node, with the host's files.

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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 6) % 5 != 0) {
        std::printf("usage: check_shot SHOT.ppm EYE_X EYE_Y EYE_Z DISTANCE [rotate|zoom X0 Y0 X1 Y1]...\n");
        return 2;
    }
    Shot shot;
    CHECK(read_ppm(argv[1], shot));
    if (shot.px.empty()) return check_exit();

    ViewState camera;
    set_start_camera(camera, nullptr);
    for (int i = 6; i < argc; i += 5) {
        uint32_t from = pack_position(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]));
        if (std::strcmp(argv[i], "rotate") == 0) begin_rotate(camera, from);
        else begin_zoom(camera, from);
        drag_camera(camera, pack_position(std::atoi(argv[i + 3]), std::atoi(argv[i + 4])));
        end_drag(camera);
    }
    uint32_t page[4];
    for (int i = 0; i < 4; ++i) page[i] = uint32_t(std::strtoul(argv[2 + i], nullptr, 16));
    CHECK_INT(page[0], float_bits(camera.eye_dir.x));
    CHECK_INT(page[1], float_bits(camera.eye_dir.y));
    CHECK_INT(page[2], float_bits(camera.eye_dir.z));
    CHECK_INT(page[3], float_bits(camera.eye_distance));

    check_picture(shot, camera, {255, 0, 255}, argv[1]);
    check_board(shot, camera, argv[1]);
    return check_exit();
}
