// End to end on a desktop host: a whole session of the real program. It
// runs in rounds; each round starts with a few steps beyond the float
// range, presses the eight calculator commands and Redraw, half in batches
// whose results are checked at their end and half one by one with every
// field checked, drags the view between them (left drags orbit, right drags
// zoom), then sets the rows, presses Redraw, checks the rows' texts and the
// view against the camera the drags must have left, drags some more and
// checks the view again. Memory is sampled after each round. At the end
// Escape must end the program with exit code 0.
//
// The same session serves several tests: long runs with the memory bounded
// after the warm-up (--memory), the program under valgrind (given after
// --, whose exit code carries its verdict), and a server without GLX
// (--no-gl). How a host judges the view and the memory is its own part.
//
// Usage: SESSION [--commands N] [--motions M] [--rounds R] [--drag D]
//                [--memory] [--no-gl] [--patience X] [--trace FILE]
//                -- COMMAND [ARG...]
// COMMAND is the program itself, or a wrapper that runs it.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "tests/desktop/session.h"

namespace {

DesktopDriver* app;
ViewState camera;  // where the drags must have put the program's camera
long redraws = 0;

void press(int id) {
    CHECK(app->press(id));
    redraws += id == ID_REDRAW;
}

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
std::string num(long long n) { return std::to_string(n); }
std::string vec(long long x, long long y, long long z) { return num(x) + " " + num(y) + " " + num(z); }

// --- batches: several commands in a row, the last results checked ---

struct Inputs {
    float a[3], b[3], s;
    std::string v1, v2, s1;  // the texts set, not canonical
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
    in.v1 = "  +" + num(m * q[0]) + "\t" + num(sign * m * q[1]) + "e0 " + num(m * q[2]) + ".000 and more";
    in.v2 = num(n % 17 - 8) + " 15e-1-" + num(n % 5);  // "15e-1" ends at the "-"
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

// The result the core's calculation gives, as the field rules write it.
std::string expected(int id, const Inputs& in) {
    Calculation c = calculate(unsigned(id), {in.a[0], in.a[1], in.a[2]}, {in.b[0], in.b[1], in.b[2]}, in.s);
    return find_command(unsigned(id))->scalar_result ? fmt(c.scalar) : fmt(c.vector.x, c.vector.y, c.vector.z);
}

// Fresh inputs, then the cycle from a rotating start, so that over the run
// every command is at times the last of its kind. The results of the
// last vector and last scalar command are checked.
void batch(int n, int presses) {
    Inputs in = inputs_for(n);
    set_all(*app, {{ID_V1, in.v1}, {ID_V2, in.v2}, {ID_S1, in.s1}});
    int last_vector = 0, last_scalar = 0;
    bool v1_read = false, v2_read = false;
    for (int i = 0; i < presses; ++i) {
        const Command& c = CYCLE[(n + i) % CYCLE_LENGTH];
        press(c.id);
        if (c.result == VECTOR) last_vector = c.id;
        if (c.result == SCALAR) last_scalar = c.id;
        v1_read |= c.id != ID_REDRAW;
        v2_read |= c.id == ID_ADD || c.id == ID_SUB || c.id == ID_CROSS_PRODUCT || c.id == ID_DOT_PRODUCT;
    }
    check_context("batch " + num(n));
    // Each vector field a command read shows its canonical text; one that
    // no command read keeps the text set.
    CHECK_STR(app->get(ID_V1), v1_read ? fmt(in.a[0], in.a[1], in.a[2]) : in.v1);
    CHECK_STR(app->get(ID_V2), v2_read ? fmt(in.b[0], in.b[1], in.b[2]) : in.v2);
    CHECK_STR(app->get(ID_S1), in.s1);
    if (last_vector) CHECK_STR(app->get(ID_V3), expected(last_vector, in));
    if (last_scalar) CHECK_STR(app->get(ID_S2), expected(last_scalar, in));
    check_context("");
}

// --- single commands, every field checked ---

struct Single {
    int button;
    std::string v1, v2, s1;  // inputs ("" leaves the field as it is)
    std::string v1_after, v2_after;
    int result_field;
    std::string result;
};

// Command r, its inputs and what the fields must show after it. Values
// are integers below 10^6, so the results are exact and their texts plain
// decimals. The first nine, and every tenth nine after them, have a text
// beyond the 255 chars read: all of those come within the warm-up.
bool padded(int r) { return (r / 9) % 10 == 0; }

Single single_for(int r) {
    long long k = r % 1000;
    std::string pad = padded(r) ? std::string(10000, ' ') + "9" : "";
    switch (r % 9) {
        case 0: return {ID_ADD, " " + vec(k, 2, 3) + pad, vec(1, k, -1), "", vec(k, 2, 3), vec(1, k, -1), ID_V3, vec(k + 1, k + 2, 2)};
        case 1: return {ID_SUB, vec(k, 2, 3), vec(1, k, -1) + pad, "", vec(k, 2, 3), vec(1, k, -1), ID_V3, vec(k - 1, 2 - k, 4)};
        case 2: return {ID_CROSS_PRODUCT, vec(k, 1, 0), vec(0, 1, k), "", vec(k, 1, 0), vec(0, 1, k), ID_V3, vec(k, -k * k, k)};
        case 3: return {ID_DOT_PRODUCT, vec(k, 2, 3), vec(k, 1, 1), "", vec(k, 2, 3), vec(k, 1, 1), ID_S2, num(k * k + 5)};
        case 4: return {ID_MUL_SCALAR, "  " + num(k) + "   " + num(-k) + " 1" + pad, "", "  3 apples", vec(k, -k, 1), "", ID_V3, vec(3 * k, -3 * k, 3)};
        case 5: return {ID_DIV_SCALAR, vec(4 * k, 2 * k, 0), "", "2" + pad, vec(4 * k, 2 * k, 0), "", ID_V3, vec(2 * k, k, 0)};
        case 6: return {ID_NORMALIZE, vec(3 * (k + 1), 0, 4 * (k + 1)), "", "", vec(3 * (k + 1), 0, 4 * (k + 1)), "", ID_V3, "0.6 0 0.8"};
        case 7: return {ID_LENGTH, num(3 * k) + " " + num(4 * k) + pad, "", "", vec(3 * k, 4 * k, 0), "", ID_S2, num(5 * k)};
        default: return {ID_REDRAW, "", "", "", "", "", 0, ""};
    }
}

void single(int r) {
    Single c = single_for(r);
    check_context("command " + num(r));
    if (c.button == ID_REDRAW) {
        long long k = r % 1000;
        std::string pad = padded(r) ? std::string(10000, ' ') : "";
        for (int row = 0; row < 3; ++row) {
            int step = row * ROW_STRIDE;
            set_all(*app, {{ID_ROW_VECTOR + step, num(k) + " " + num(row) + pad},
                           {ID_ROW_OFFSET + step, " " + num(k) + ","},
                           {ID_ROW_COLOR + step, num(k + 100 * row) + " 7"}});
        }
        press(ID_REDRAW);
        for (int row = 0; row < 3; ++row) {
            int step = row * ROW_STRIDE;
            long long red = k + 100 * row;
            CHECK_STR(app->get(ID_ROW_VECTOR + step), vec(k, row, 0));
            CHECK_STR(app->get(ID_ROW_OFFSET + step), vec(k, 0, 0));
            CHECK_STR(app->get(ID_ROW_COLOR + step), num(red > 255 ? 255 : red) + " 7 0");
        }
        return;
    }
    if (!c.v1.empty()) CHECK(app->set(ID_V1, c.v1));
    if (!c.v2.empty()) CHECK(app->set(ID_V2, c.v2));
    if (!c.s1.empty()) CHECK(app->set(ID_S1, c.s1));
    press(c.button);
    CHECK_STR(app->get(ID_V1), c.v1_after);
    if (!c.v2.empty()) CHECK_STR(app->get(ID_V2), c.v2_after);
    if (!c.s1.empty()) CHECK_STR(app->get(ID_S1), c.s1);  // never rewritten
    CHECK_STR(app->get(c.result_field), c.result);
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
        check_context("edge step " + num(long(i)));
        for (const auto& f : steps[i].set) CHECK(app->set(f.first, f.second));
        press(steps[i].button);
        for (const auto& f : steps[i].expect) CHECK_STR(app->get(f.first), f.second);
    }
    check_context("");
}

// The first row is a magenta vector from (1, -1, 0) up to (1, -1, 3),
// which the picture check looks for; the others are zero vectors, not
// drawn, whose offsets and colours change with the round.
void set_rows(int round) {
    set_all(*app, {{ID_ROW_VECTOR, " +0 -0 3.0e0 "}, {ID_ROW_OFFSET, "1-1"}, {ID_ROW_COLOR, "255 0 " + num(255 + round)}});
    for (int row = 1; row < 3; ++row) {
        int step = row * ROW_STRIDE;
        set_all(*app, {{ID_ROW_VECTOR + step, "-0 0e5 0."},
                       {ID_ROW_OFFSET + step, num(round) + " -" + num(row) + " 0.5"},
                       {ID_ROW_COLOR + step, num(round * 37 % 300) + " 7"}});
    }
}

void check_rows(int round) {
    check_context("rows, round " + num(round));
    CHECK_STR(app->get(ID_ROW_VECTOR), "0 0 3");
    CHECK_STR(app->get(ID_ROW_OFFSET), "1 -1 0");
    CHECK_STR(app->get(ID_ROW_COLOR), "255 0 255");
    for (int row = 1; row < 3; ++row) {
        int step = row * ROW_STRIDE, red = round * 37 % 300;
        CHECK_STR(app->get(ID_ROW_VECTOR + step), "0 0 0");
        CHECK_STR(app->get(ID_ROW_OFFSET + step), num(round) + " -" + num(row) + " 0.5");
        CHECK_STR(app->get(ID_ROW_COLOR + step), num(red > 255 ? 255 : red) + " 7 0");
    }
    check_context("");
}

// --- drags ---

// A small fixed-sequence generator, so that every run drags the same way.
uint32_t seed = 12345;
int next_in(int lo, int hi) {
    seed = seed * 1103515245u + 12345u;
    return lo + int((seed >> 8) % uint32_t(hi - lo + 1));
}

long drags = 0, wanders = 0;

// Drag `motions` long. Most wander about the view's middle and end at a
// step from where they began, left and right by turns, the orbits out and
// back so that the vector stays in sight. On Windows every other one
// starts anywhere, runs 300 px either way and, orbiting, now and then
// reaches the ends of the 16-bit range: only messages get there, an X
// pointer stops at the screen's edge.
void drag(int motions) {
    bool random = THIS_HOST == ON_WIN32 && drags++ % 2 == 1;
    bool orbit = random ? drags % 4 == 2 : wanders % 2 == 0;
    int sign = (wanders / 2) % 2 ? -1 : 1;
    int x0 = random ? next_in(0, app->view_width - 1) : app->view_width / 2;
    int y0 = random ? next_in(0, app->view_height - 1) : app->view_height / 2;
    int dx = orbit ? sign * 40 : 3, dy = orbit ? sign * 25 : sign * 20;
    wanders += !random;
    uint32_t anchor = pack_position(x0, y0);
    CHECK(app->drag_begin(orbit ? LEFT_BUTTON : RIGHT_BUTTON, x0, y0));
    view_pointer_press(camera, orbit ? ViewButton::left : ViewButton::right, anchor);
    int x = x0, y = y0;
    for (int i = 1; i <= motions; ++i) {
        if (random) {
            x = x0 + next_in(-300, 300), y = y0 + next_in(-20, 20);
            if (orbit && next_in(0, 96) == 0) {
                x = next_in(0, 1) ? 32767 : -32768;
                y = next_in(0, 1) ? 32767 : -32768;
            }
        } else {
            x = i == motions ? x0 + dx : x0 + (i * 37) % 121 - 60;
            y = i == motions ? y0 + dy : y0 + (i * 53) % 81 - 40;
        }
        CHECK(app->drag_move(x, y));
        view_pointer_motion(camera, pack_position(x, y));
    }
    CHECK(app->drag_end(x, y));
    view_pointer_cancel(camera);
}

}  // namespace

int main(int argc, char** argv) {
    SessionOptions o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--commands" && i + 1 < argc) o.commands = std::atol(argv[++i]);
        else if (a == "--motions" && i + 1 < argc) o.motions = std::atol(argv[++i]);
        else if (a == "--rounds" && i + 1 < argc) o.rounds = std::atol(argv[++i]);
        else if (a == "--drag" && i + 1 < argc) o.drag = std::atol(argv[++i]);
        else if (a == "--patience" && i + 1 < argc) o.patience = std::atof(argv[++i]);
        else if (a == "--trace" && i + 1 < argc) o.trace = argv[++i];
        else if (a == "--memory") o.memory = true;
        else if (a == "--no-gl") o.no_gl = true;
        else if (a == "--") {
            for (++i; i < argc; ++i) o.command.push_back(argv[i]);
        }
    }
    if (o.command.empty() || o.rounds < 1 || o.drag < 1) {
        std::printf("usage: %s [--commands N] [--motions M] [--rounds R] [--drag D] [--memory] [--no-gl] "
                    "[--patience X] [--trace FILE] -- COMMAND [ARG...]\n",
                    argv[0]);
        return 2;
    }
    std::unique_ptr<DesktopDriver> driver = start_session(o);
    CHECK(driver != nullptr);
    if (!driver) return check_exit();
    app = driver.get();
    set_start_camera(camera);

    long pressed = 0, moved = 0;
    int batch_number = 0, command_number = 0;
    std::vector<Memory> samples;
    for (long round = 0; round < o.rounds; ++round) {
        long commands = o.commands * (round + 1) / o.rounds - o.commands * round / o.rounds;
        long motions = o.motions * (round + 1) / o.rounds - o.motions * round / o.rounds;
        edge_steps();
        pressed += 6;
        // A batch, then as many single commands, by turns; a drag after
        // each while the round's motions last, the rest after Redraw.
        auto drag_some = [&](long most) {
            int n = int(motions < most ? motions : most);
            if (n <= 0) return;
            drag(n);
            motions -= n;
            moved += n;
        };
        for (long done = 0; done < commands;) {
            int presses = int(commands - done < CYCLE_LENGTH ? commands - done : CYCLE_LENGTH);
            batch(batch_number++, presses);
            done += presses;
            drag_some(o.drag);
            for (int i = 0; i < presses && done < commands; ++i, ++done) {
                single(command_number++);
                drag_some(o.drag);
            }
        }
        pressed += commands;
        set_rows(int(round));
        press(ID_REDRAW);
        ++pressed;
        check_rows(int(round));
        check_view(*app, camera, "after Redraw, round " + num(round));
        while (motions > 0) drag_some(o.drag);
        check_view(*app, camera, "after the drags, round " + num(round));

        CHECK(app->running());
        if (!app->running()) break;
        samples.push_back(app->memory());
        std::printf("round %ld: %ld commands, %ld motions, resident %ld KiB, held %ld KiB\n", round, pressed, moved,
                    samples.back().resident, samples.back().held);
        std::fflush(stdout);
    }
    CHECK_INT(moved, o.motions);
    end_session(*app, o, samples, redraws);
    CHECK(app->quit());
    CHECK(!app->running());
    std::printf("%ld commands and %ld drag motions\n", pressed, moved);
    return check_exit();
}
