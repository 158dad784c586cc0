// End to end on Linux: a whole session of the real program, driven from
// outside (XTest clicks and drags, clipboard pastes and copies). It runs in
// rounds; each round presses all eight calculator commands and Redraw in
// batches, checks the results of sample commands, checks the rows' texts,
// then drags the view (left drags orbit, right drags zoom) and checks the
// picture against the camera the drags must have left. At the end Escape
// must end the program with exit code 0.
//
// Each round also starts with a few steps beyond the float range.
//
// The same session serves three tests:
//   - long runs (--memory): the program's VmRSS after each round of the
//     last tenth of the run stays within a tolerance of its VmRSS after the
//     first tenth (the warm-up), and its VmHWM does not grow past the same
//     bound, while every sampled result stays right;
//   - leaks: the program runs under valgrind (given after --), and its exit
//     code carries valgrind's verdict;
//   - no GL (--no-gl): on a server without GLX the dialog still works,
//     drags are harmless, and the view shows only its plain frame.
//
// Usage: test_linux_session [--commands N] [--motions M] [--rounds R]
//                           [--drag D] [--memory] [--no-gl] [--patience X]
//                           -- COMMAND [ARG...]
// COMMAND is the program itself, or a wrapper that runs it.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/check.h"
#include "tests/fltk/app_driver.h"

namespace {

AppDriver app;
bool no_gl = false;
ViewState camera;  // where the drags must have put the program's camera

// Numbers as the field rules write them.
std::string fmt(float v) {
    if (v == 0) return "0";
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
    char b[32];
    std::snprintf(b, sizeof b, "%.6g", double(v));
    return b;
}

std::string fmt(float x, float y, float z) { return fmt(x) + " " + fmt(y) + " " + fmt(z); }

float fl(double d) { return float(d); }

struct Inputs {
    float a[3], b[3], s;
    std::string v1, v2, s1;  // the texts pasted, not canonical
};

// Vectors whose lengths are whole numbers, so that Normalize and Length
// have results that are easy to state.
const int QUADS[][4] = {{1, 2, 2, 3}, {2, 3, 6, 7}, {1, 4, 8, 9}, {4, 4, 7, 9}, {2, 6, 9, 11}, {6, 6, 7, 11}};
const char* const SCALARS[] = {"2", "  -4 apples", "0.5", "+8e0", "-0.25"};

Inputs inputs_for(int n) {
    Inputs in;
    const int* q = QUADS[n % 6];
    int m = 1 + n % 11, sign = n % 2 ? -1 : 1;
    in.a[0] = float(m * q[0]);
    in.a[1] = float(sign * m * q[1]);
    in.a[2] = float(m * q[2]);
    in.b[0] = float(n % 17 - 8);
    in.b[1] = 1.5f;
    in.b[2] = -float(n % 5);  // -0 too
    in.s = float(std::strtod(SCALARS[n % 5], nullptr));
    // Decorated texts: spaces, signs, exponents, trailing words.
    in.v1 = "  +" + std::to_string(m * q[0]) + "\t" + std::to_string(sign * m * q[1]) + "e0 " +
            std::to_string(m * q[2]) + ".000 and more";
    in.v2 = std::to_string(n % 17 - 8) + " 15e-1-" + std::to_string(n % 5);  // "15e-1" ends at the "-"
    in.s1 = SCALARS[n % 5];
    return in;
}

enum Result { VECTOR, SCALAR, NONE };

struct Command {
    int id;
    Result result;
};

const Command CYCLE[] = {{ID_ADD, VECTOR},        {ID_SUB, VECTOR},        {ID_CROSS_PRODUCT, VECTOR},
                         {ID_DOT_PRODUCT, SCALAR}, {ID_MUL_SCALAR, VECTOR}, {ID_DIV_SCALAR, VECTOR},
                         {ID_NORMALIZE, VECTOR},   {ID_LENGTH, SCALAR},     {ID_REDRAW, NONE}};
constexpr int CYCLE_LENGTH = 9;

std::string expected(int id, const Inputs& in) {
    const float *a = in.a, *b = in.b;
    double s = in.s;
    switch (id) {
        case ID_ADD: return fmt(fl(double(a[0]) + b[0]), fl(double(a[1]) + b[1]), fl(double(a[2]) + b[2]));
        case ID_SUB: return fmt(fl(double(a[0]) - b[0]), fl(double(a[1]) - b[1]), fl(double(a[2]) - b[2]));
        case ID_CROSS_PRODUCT:
            return fmt(fl(double(a[1]) * b[2] - double(a[2]) * b[1]), fl(double(a[2]) * b[0] - double(a[0]) * b[2]),
                       fl(double(a[0]) * b[1] - double(a[1]) * b[0]));
        case ID_DOT_PRODUCT: {
            float d = fl(double(a[0]) * b[0]);
            d = fl(d + double(a[1]) * b[1]);
            return fmt(fl(d + double(a[2]) * b[2]));
        }
        case ID_MUL_SCALAR: return fmt(fl(a[0] * s), fl(a[1] * s), fl(a[2] * s));
        case ID_DIV_SCALAR: return fmt(fl(a[0] / s), fl(a[1] / s), fl(a[2] / s));
        case ID_NORMALIZE: {
            double len = fl(std::sqrt(double(a[0]) * a[0] + double(a[1]) * a[1] + double(a[2]) * a[2]));
            return fmt(fl(a[0] / len), fl(a[1] / len), fl(a[2] / len));
        }
        case ID_LENGTH: return fmt(fl(std::sqrt(double(a[0]) * a[0] + double(a[1]) * a[1] + double(a[2]) * a[2])));
        default: return "";
    }
}

// One batch: fresh inputs, then the whole cycle from a rotating start, so
// that over the run every command is at times the last of its kind. The
// results of the last vector and last scalar command are checked.
void batch(int n, int presses) {
    Inputs in = inputs_for(n);
    CHECK(set_field(app, ID_V1, in.v1));
    CHECK(set_field(app, ID_V2, in.v2));
    CHECK(set_field(app, ID_S1, in.s1));
    int last_vector = 0, last_scalar = 0;
    bool v1_read = false, v2_read = false;
    for (int i = 0; i < presses; ++i) {
        const Command& c = CYCLE[(n + i) % CYCLE_LENGTH];
        click(app, c.id);
        if (c.result == VECTOR) last_vector = c.id;
        if (c.result == SCALAR) last_scalar = c.id;
        v1_read |= c.id != ID_REDRAW;
        v2_read |= c.id == ID_ADD || c.id == ID_SUB || c.id == ID_CROSS_PRODUCT || c.id == ID_DOT_PRODUCT;
    }
    check_context("batch " + std::to_string(n));
    // Each vector field a command read shows its canonical text; one that
    // no command read keeps the text pasted.
    CHECK_STR(get_field(app, ID_V1), v1_read ? fmt(in.a[0], in.a[1], in.a[2]) : in.v1);
    CHECK_STR(get_field(app, ID_V2), v2_read ? fmt(in.b[0], in.b[1], in.b[2]) : in.v2);
    CHECK_STR(get_field(app, ID_S1), in.s1);
    if (last_vector) CHECK_STR(get_field(app, ID_V3), expected(last_vector, in));
    if (last_scalar) CHECK_STR(get_field(app, ID_S2), expected(last_scalar, in));
    check_context("");
}

// Values beyond the float range, and the words written for them, through
// commands and Redraw; each step sets fields, presses one button and
// checks fields.
struct EdgeStep {
    std::vector<std::pair<int, std::string>> set, expect;
    int button;
};

void edge_steps() {
    const std::vector<EdgeStep> steps = {
        {{{ID_V1, "1 -2 0"}, {ID_S1, "0"}}, {{ID_V3, "Infinity -Infinity NaN"}}, ID_DIV_SCALAR},
        {{{ID_V1, "Infinity -Infinity NaN"}}, {{ID_V1, "0 0 0"}, {ID_V3, "0 0 1"}}, ID_NORMALIZE},
        {{{ID_V1, "3e38 3e38 3e38"}}, {{ID_S2, "Infinity"}}, ID_LENGTH},
        {{{ID_V2, "3e38 -3e38 0"}}, {{ID_V3, "Infinity Infinity -Infinity"}}, ID_CROSS_PRODUCT},
        {{{ID_S1, "1e39"}}, {{ID_V3, "Infinity Infinity Infinity"}}, ID_MUL_SCALAR},
        {{{ID_ROW_VECTOR, "1e39 -1e39 3e38"},
          {ID_ROW_OFFSET, "-3e38 1e400 1e-50"},
          {ID_ROW_COLOR, "4294967296 300 -1"},
          {ID_ROW_VECTOR + ROW_STRIDE, "1e-45 -0 1e-46"},
          {ID_ROW_COLOR + ROW_STRIDE, "4294967295 +255 00000000000000000000000000000000000000000000000009"}},
         {{ID_ROW_VECTOR, "Infinity -Infinity 3e+38"},
          {ID_ROW_OFFSET, "-3e+38 0 0"},
          {ID_ROW_COLOR, "0 0 0"},
          {ID_ROW_VECTOR + ROW_STRIDE, "1.4013e-45 0 0"},
          {ID_ROW_COLOR + ROW_STRIDE, "255 255 9"}},
         ID_REDRAW},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        check_context("edge step " + std::to_string(i));
        for (const auto& f : steps[i].set) CHECK(set_field(app, f.first, f.second));
        click(app, steps[i].button);
        for (const auto& f : steps[i].expect) CHECK_STR(get_field(app, f.first), f.second);
    }
    check_context("");
}

// The first row is a magenta vector from (1, -1, 0) up to (1, -1, 3),
// which the picture check looks for; the others are zero vectors, not
// drawn, whose offsets and colours change with the round.
void set_rows(int round) {
    CHECK(set_field(app, ID_ROW_VECTOR, " +0 -0 3.0e0 "));
    CHECK(set_field(app, ID_ROW_OFFSET, "1-1"));
    CHECK(set_field(app, ID_ROW_COLOR, "255 0 " + std::to_string(255 + round)));
    for (int row = 1; row < 3; ++row) {
        int step = row * ROW_STRIDE;
        CHECK(set_field(app, ID_ROW_VECTOR + step, "-0 0e5 0."));
        CHECK(set_field(app, ID_ROW_OFFSET + step, std::to_string(round) + " -" + std::to_string(row) + " 0.5"));
        CHECK(set_field(app, ID_ROW_COLOR + step, std::to_string(round * 37 % 300) + " 7"));
    }
}

void check_rows(int round) {
    check_context("rows, round " + std::to_string(round));
    CHECK_STR(get_field(app, ID_ROW_VECTOR), "0 0 3");
    CHECK_STR(get_field(app, ID_ROW_OFFSET), "1 -1 0");
    CHECK_STR(get_field(app, ID_ROW_COLOR), "255 0 255");
    for (int row = 1; row < 3; ++row) {
        int step = row * ROW_STRIDE;
        CHECK_STR(get_field(app, ID_ROW_VECTOR + step), "0 0 0");
        CHECK_STR(get_field(app, ID_ROW_OFFSET + step), std::to_string(round) + " -" + std::to_string(row) + " 0.5");
        int red = round * 37 % 300;
        CHECK_STR(get_field(app, ID_ROW_COLOR + step), std::to_string(red > 255 ? 255 : red) + " 7 0");
    }
    check_context("");
}

// A drag of `motions` pointer motions from an anchor, wandering, and
// ending at anchor + (dx, dy); then released and waited for.
void drag(unsigned button_number, int motions, int dx, int dy) {
    const int ax = view_w() / 2, ay = view_h() / 2;
    move_in_view(app, ax, ay);
    button(app, button_number, true);
    for (int i = 1; i < motions; ++i) move_in_view(app, ax + (i * 37) % 121 - 60, ay + (i * 53) % 81 - 40);
    move_in_view(app, ax + dx, ay + dy);
    button(app, button_number, false);
    bool handled = false;  // everything sent so far
    get_field(app, ID_S1, &handled, 120);
    CHECK(handled);

    uint32_t anchor = pack_position(ax, ay);
    if (button_number == 1)
        view_pointer_press(camera, ViewButton::left, anchor);
    else
        view_pointer_press(camera, ViewButton::right, anchor);
    view_pointer_motion(camera, pack_position(ax + dx, ay + dy));
    view_pointer_cancel(camera);
}

// Without GL the view draws nothing: inside its frame only one colour.
void check_plain_view(const std::string& what) {
    Shot s = shoot_view(app);
    CHECK(!s.px.empty());
    if (s.px.empty()) return;
    int other = 0;
    for (const Rgb& p : s.px) other += !close_to(p, s.px[0], 0);
    check_context(what);
    CHECK_INT(other, 0);
    CHECK(!close_to(s.px[0], {255, 255, 255}, 10));  // not the view's white
    check_context("");
}

// No error box or other window came up beside the dialog: the only
// viewable top-level window is the dialog's.
void check_one_window(const std::string& what) {
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    int viewable = 0;
    bool dialog_seen = false;
    if (XQueryTree(app.display, DefaultRootWindow(app.display), &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n; ++i) {
            XWindowAttributes wa{};
            if (XGetWindowAttributes(app.display, children[i], &wa) && wa.map_state == IsViewable) {
                ++viewable;
                dialog_seen |= children[i] == app.app;
            }
        }
        if (children) XFree(children);
    }
    check_context(what);
    CHECK(dialog_seen);
    CHECK_INT(viewable, 1);
    check_context("");
}

void check_view(const std::string& what) {
    if (no_gl) {
        check_plain_view(what);
        return;
    }
    usleep(100000);
    check_picture(shoot_view(app), camera, {255, 0, 255}, what);
}

struct Memory {
    long rss = -1, hwm = -1;
};

Memory sample() { return {memory_kib(app, "VmRSS"), memory_kib(app, "VmHWM")}; }

}  // namespace

int main(int argc, char** argv) {
    long commands = 900, motions = 2000, rounds = 10, drag_length = 500;
    bool memory = false;
    std::vector<std::string> command;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--commands" && i + 1 < argc) commands = std::atol(argv[++i]);
        else if (a == "--motions" && i + 1 < argc) motions = std::atol(argv[++i]);
        else if (a == "--rounds" && i + 1 < argc) rounds = std::atol(argv[++i]);
        else if (a == "--drag" && i + 1 < argc) drag_length = std::atol(argv[++i]);
        else if (a == "--patience" && i + 1 < argc) app.patience = std::atof(argv[++i]);
        else if (a == "--memory") memory = true;
        else if (a == "--no-gl") no_gl = true;
        else if (a == "--") {
            for (++i; i < argc; ++i) command.push_back(argv[i]);
        }
    }
    if (command.empty() || rounds < 1 || drag_length < 1) {
        std::printf("usage: test_linux_session [--commands N] [--motions M] [--rounds R] [--drag D] [--memory] [--no-gl] "
                    "[--patience X] -- COMMAND [ARG...], with DISPLAY set\n");
        return 2;
    }
    if (memory) {
        // glibc's malloc raises its mmap threshold after a large block is
        // freed, and Mesa's large per-frame blocks then land on the heap
        // and fragment it: some 9 MiB over the first ~40,000 frames, then
        // flat. A fixed threshold keeps that layout out of the figures, so
        // that VmRSS shows what the program holds.
        setenv("MALLOC_MMAP_THRESHOLD_", "131072", 0);
    }
    double started = now_seconds();
    CHECK(launch(app, command));
    if (!app.app) return check_exit();
    set_start_camera(camera);
    if (no_gl) check_plain_view("at start");
    check_one_window("at start");

    long per_round = (commands + rounds - 1) / rounds;
    long motions_per_round = (motions + rounds - 1) / rounds;
    long warm_rounds = (rounds + 9) / 10, pressed = 0, moved = 0;
    int batch_number = 0, drags = 0;
    Memory warm, last, worst;
    for (long round = 0; round < rounds; ++round) {
        edge_steps();
        pressed += 6;
        set_rows(int(round));
        for (long done = 0; done < per_round; done += CYCLE_LENGTH) {
            int presses = int(per_round - done < CYCLE_LENGTH ? per_round - done : CYCLE_LENGTH);
            batch(batch_number++, presses);
            pressed += presses;
        }
        click(app, ID_REDRAW);
        ++pressed;
        check_rows(int(round));
        check_view("after Redraw, round " + std::to_string(round));

        // Drags of at most --drag motions, left and right by turns; the
        // orbits go out and back so that the vector stays in sight.
        for (long left = motions_per_round; left > 0; ++drags) {
            int n = int(left < drag_length ? left : drag_length);
            int sign = (drags / 2) % 2 ? -1 : 1;
            if (drags % 2 == 0)
                drag(1, n, sign * 40, sign * 25);
            else
                drag(3, n, 3, sign * 20);
            left -= n;
            moved += n;
        }
        check_view("after the drags, round " + std::to_string(round));

        CHECK(app_running(app));
        if (!app_running(app)) break;
        last = sample();
        if (round + 1 == warm_rounds) warm = last;
        if (round >= rounds - warm_rounds) {
            if (last.rss > worst.rss) worst.rss = last.rss;
            if (last.hwm > worst.hwm) worst.hwm = last.hwm;
        }
        std::printf("round %ld: %ld commands, %ld motions, VmRSS %ld KiB, VmHWM %ld KiB, %.1f s\n", round, pressed,
                    moved, last.rss, last.hwm, now_seconds() - started);
        std::fflush(stdout);
    }

    check_one_window("at the end");

    if (memory) {
        // No growth after the warm-up (the first tenth of the rounds): after
        // each round of the last tenth, VmRSS is within 512 KiB of VmRSS
        // after the warm-up, and VmHWM within 1 MiB of VmHWM then.
        const long rss_slack = 512, hwm_slack = 1024;
        std::printf("memory: after warm-up VmRSS %ld KiB, VmHWM %ld KiB; last tenth at most VmRSS %ld KiB, "
                    "VmHWM %ld KiB\n",
                    warm.rss, warm.hwm, worst.rss, worst.hwm);
        CHECK(warm.rss > 0 && worst.rss > 0);
        CHECK(worst.rss <= warm.rss + rss_slack);
        CHECK(worst.hwm <= warm.hwm + hwm_slack);
    }

    CHECK(quit_app(app, 30));
    CHECK(exited_with(app, 0));
    if (app.status != -1 && WIFEXITED(app.status)) std::printf("exit code %d\n", WEXITSTATUS(app.status));
    std::printf("%ld commands and %ld drag motions in %.1f s\n", pressed, moved, now_seconds() - started);
    return check_exit();
}
