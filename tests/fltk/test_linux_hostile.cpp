// End to end on Linux: hostile field texts in the real program, pasted
// into its real fields through the clipboard and read back the same way.
//
// How the texts arrive: a paste puts the clipboard's UTF-8 into an FLTK
// field byte for byte, control characters included (each byte 0x01..0x7F
// is read back unchanged). A byte 0x80..0xFF is pasted as the Latin-1
// character of that code, so the field holds its two UTF-8 bytes
// (0xC2 or 0xC3, then 0x80..0xBF). Commands see those bytes: none of them
// is white space, a digit, a sign, a point or an exponent marker, so each
// ends a number, and a text cut at 255 bytes may end inside such a pair.
//
// Every expected text below is worked out by hand from the field rules
// (cut at 255 chars, the number and unsigned-integer reads, the
// six-digit writing), not taken from the program.
//
// Usage: test_linux_hostile PATH/arrowbench

#include <cstdio>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/fltk/app_driver.h"

namespace {

AppDriver app;

std::string rep(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// What a paste of the Latin-1 character `code` puts into a field.
std::string pasted(int code) {
    if (code < 0x80) return std::string(1, char(code));
    return {char(0xC0 | (code >> 6)), char(0x80 | (code & 0x3F))};
}

std::string hex(int code) {
    char b[8];
    std::snprintf(b, sizeof b, "0x%02X", code);
    return b;
}

bool is_space(int c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }
bool is_digit(int c) { return c >= '0' && c <= '9'; }

void set(int id, const std::string& text) { CHECK(set_field(app, id, text)); }

// --- every byte, before and inside a number ---

// "1<c>2 3": what the vector read makes of it.
std::string vector_inside(int c) {
    if (is_space(c) || c == '+') return "1 2 3";
    if (c == '-') return "1 -2 3";
    if (is_digit(c)) return std::to_string(102 + 10 * (c - '0')) + " 3 0";
    if (c == '.') return "1.2 3 0";
    if (c == 'e' || c == 'E') return "100 3 0";
    return "1 0 0";  // the read of y fails at c, and so does z
}

// "<c>5 6 7"
std::string vector_before(int c) {
    if (is_space(c) || c == '+') return "5 6 7";
    if (c == '-') return "-5 6 7";
    if (is_digit(c)) return std::to_string(10 * (c - '0') + 5) + " 6 7";
    if (c == '.') return "0.5 6 7";
    return "0 0 0";  // 'e' too: an exponent only follows a digit
}

// The same texts as colours: no sign but '+', no point, no exponent.
std::string colour_inside(int c) {
    if (is_space(c) || c == '+') return "1 2 3";
    if (is_digit(c)) return std::to_string(102 + 10 * (c - '0')) + " 3 0";
    return "1 0 0";
}

std::string colour_before(int c) {
    if (is_space(c) || c == '+') return "5 6 7";
    if (is_digit(c)) return std::to_string(10 * (c - '0') + 5) + " 6 7";
    return "0 0 0";
}

// S1 "1<c>2" and "<c>5", as MulScalar applies them to (1, 1, 1).
std::string scalar_inside(int c) {
    std::string s = is_digit(c) ? std::to_string(102 + 10 * (c - '0')) : c == '.' ? "1.2" : (c == 'e' || c == 'E') ? "100" : "1";
    return s + " " + s + " " + s;
}

std::string scalar_before(int c) {
    std::string s = (is_space(c) || c == '+') ? "5"
                    : c == '-'                ? "-5"
                    : is_digit(c)             ? std::to_string(10 * (c - '0') + 5)
                    : c == '.'                ? "0.5"
                                              : "0";
    return s + " " + s + " " + s;
}

void check_every_byte() {
    set(ID_V1, "1 1 1");
    for (int c = 0x01; c <= 0xFF; ++c) {
        check_context("byte " + hex(c));
        std::string ch = pasted(c);
        std::string inside = "1" + ch + "2 3", before = ch + "5 6 7";

        // The field holds exactly what was pasted.
        set(ID_ROW_VECTOR, inside);
        CHECK_STR(get_field(app, ID_ROW_VECTOR), inside);
        set(ID_ROW_OFFSET, before);
        set(ID_ROW_COLOR, inside);
        set(ID_ROW_COLOR + ROW_STRIDE, before);
        click(app, ID_REDRAW);
        CHECK_STR(get_field(app, ID_ROW_VECTOR), vector_inside(c));
        CHECK_STR(get_field(app, ID_ROW_OFFSET), vector_before(c));
        CHECK_STR(get_field(app, ID_ROW_COLOR), colour_inside(c));
        CHECK_STR(get_field(app, ID_ROW_COLOR + ROW_STRIDE), colour_before(c));

        // S1 is read but never rewritten.
        std::string s_inside = "1" + ch + "2", s_before = ch + "5";
        set(ID_S1, s_inside);
        click(app, ID_MUL_SCALAR);
        CHECK_STR(get_field(app, ID_V3), scalar_inside(c));
        CHECK_STR(get_field(app, ID_S1), s_inside);
        set(ID_S1, s_before);
        click(app, ID_MUL_SCALAR);
        CHECK_STR(get_field(app, ID_V3), scalar_before(c));
        CHECK_STR(get_field(app, ID_S1), s_before);
    }
    check_context("");
}

// --- long, empty-looking and extreme texts through the commands ---

struct CommandCase {
    const char* name;
    int button;
    std::string v1, v2, s1;
    std::string v1_after, v2_after, v3, s2;  // "" where the field is not read back
};

const std::string E_ACUTE = pasted(0xE9);

std::vector<CommandCase> command_cases() {
    const std::string ws = " \t\n\v\f\r";
    return {
        // The cut: 255 chars are read whole, the 256th is not read.
        {"255 chars", ID_LENGTH, rep(" ", 250) + "1 2 3", "", "", "1 2 3", "", "", "3.74166"},
        {"256 chars", ID_LENGTH, rep(" ", 251) + "1 2 3", "", "", "1 2 0", "", "", "2.23607"},
        {"cut inside a UTF-8 pair", ID_LENGTH, "5 12" + rep(" ", 250) + E_ACUTE + "7", "", "", "5 12 0", "", "",
         "13"},
        {"10000 chars", ID_ADD, "1 2 3" + rep("x", 9995), rep(" ", 9998) + "9 9", "", "1 2 3", "0 0 0", "1 2 3",
         ""},
        {"254 digits, then more", ID_NORMALIZE, "7" + rep("0", 9999), "", "", "Infinity 0 0", "", "NaN 0 0", ""},
        {"a long zero", ID_LENGTH, "0." + rep("0", 9998), "", "", "0 0 0", "", "", "0"},
        {"a long significand", ID_ADD, "0." + rep("0", 240) + "17e240", "1" + rep("0", 240) + "e-240 5 6", "",
         "0.17 0 0", "1 5 6", "1.17 5 6", ""},
        // Exponents as long as a field read lets them be.
        {"exponent 000..38", ID_ADD, "1e" + rep("0", 250) + "38", "0 0 0", "", "1e+38 0 0", "0 0 0", "1e+38 0 0",
         ""},
        {"exponent 000..39", ID_ADD, "1e" + rep("0", 250) + "39", "0 0 0", "", "Infinity 0 0", "0 0 0",
         "Infinity 0 0", ""},
        {"exponent -000..45", ID_ADD, "1e-" + rep("0", 249) + "45", "0 0 0", "", "1.4013e-45 0 0", "0 0 0",
         "1.4013e-45 0 0", ""},
        {"exponent of 253 nines", ID_ADD, "1e" + rep("9", 253), "2 2 2", "", "0 0 0", "2 2 2", "2 2 2", ""},
        {"exponent of 240 nines, then numbers", ID_ADD, "1e" + rep("9", 240) + " 5 6", "-1e-" + rep("9", 240) + " 5 6",
         "", "0 0 0", "0 0 0", "0 0 0", ""},
        {"zero with a huge exponent", ID_ADD, "0e" + rep("9", 240) + " 5 6", "1e+" + rep("0", 240) + "1 5 6", "",
         "0 5 6", "10 5 6", "10 10 12", ""},
        {"a scalar cut in its exponent", ID_MUL_SCALAR, "1 2 3", "", "2e" + rep("0", 9998), "1 2 3", "", "2 4 6", ""},
        {"a scalar exponent past the cut", ID_DIV_SCALAR, "1 2 3", "", "1e" + rep("0", 9000) + "1", "1 2 3", "",
         "1 2 3", ""},
        // Only white space, or only signs and points.
        {"white space only", ID_ADD, rep(ws, 40), rep(" ", 10000), "", "0 0 0", "0 0 0", "0 0 0", ""},
        {"white space S1", ID_MUL_SCALAR, "1 -2 3", "", ws, "1 -2 3", "", "0 0 0", ""},
        {"signs and points", ID_SUB, "+-.+-.", "...", "", "0 0 0", "0 0 0", "0 0 0", ""},
        {"two signs", ID_ADD, "--1 2 3", "+.5-.5+5.", "", "0 0 0", "0.5 -0.5 5", "0.5 -0.5 5", ""},
        {"points and markers", ID_ADD, "-.e5 1 1", "1..5 1.e5", "", "0 0 0", "1 0.5 100000", "1 0.5 100000", ""},
        {"signs and points S1", ID_MUL_SCALAR, "3 3 3", "", "-.-+.", "3 3 3", "", "0 0 0", ""},
        {"negative zeros", ID_MUL_SCALAR, "-0 -0 -0", "", "-1", "0 0 0", "", "0 0 0", ""},
        // Beyond the float range, and the words for it.
        {"divide by zero", ID_DIV_SCALAR, "1 -2 0", "", "0", "1 -2 0", "", "Infinity -Infinity NaN", ""},
        {"divide by minus zero", ID_DIV_SCALAR, "1 -1 -0", "", "-0", "1 -1 0", "", "-Infinity Infinity NaN", ""},
        {"the words read as nothing", ID_NORMALIZE, "Infinity -Infinity NaN", "", "", "0 0 0", "", "0 0 1", ""},
        {"huge sum", ID_SUB, "3e38 0 0", "-3e38 0 0", "", "3e+38 0 0", "-3e+38 0 0", "Infinity 0 0", ""},
        {"huge dot", ID_DOT_PRODUCT, "3e38 3e38 0", "3e38 -3e38 0", "", "3e+38 3e+38 0", "3e+38 -3e+38 0", "",
         "Infinity"},
        {"huge cross", ID_CROSS_PRODUCT, "3e38 3e38 3e38", "3e38 -3e38 0", "", "3e+38 3e+38 3e+38", "3e+38 -3e+38 0",
         "Infinity Infinity -Infinity", ""},
        {"huge length", ID_LENGTH, "3e38 3e38 3e38", "", "", "3e+38 3e+38 3e+38", "", "", "Infinity"},
        {"huge normalize", ID_NORMALIZE, "3e38 3e38 3e38", "", "", "3e+38 3e+38 3e+38", "", "0 0 0", ""},
        {"huge times ten", ID_MUL_SCALAR, "3e38 -3e38 1", "", "10", "3e+38 -3e+38 1", "", "Infinity -Infinity 10",
         ""},
        {"beyond double", ID_ADD, "1e400 2 3", "1e39 -1e39 1e-50", "", "0 0 0", "Infinity -Infinity 0",
         "Infinity -Infinity 0", ""},
        {"halving the least float", ID_DIV_SCALAR, "1.4013e-45 -1.4013e-45 3", "", "2", "1.4013e-45 -1.4013e-45 3",
         "", "0 0 1.5", ""},
    };
}

void check_commands() {
    for (const CommandCase& c : command_cases()) {
        check_context(c.name);
        set(ID_V1, c.v1);
        set(ID_V2, c.v2);
        set(ID_S1, c.s1);
        click(app, c.button);
        CHECK_STR(get_field(app, ID_V1), c.v1_after);
        if (!c.v2_after.empty()) CHECK_STR(get_field(app, ID_V2), c.v2_after);
        if (!c.s1.empty()) CHECK_STR(get_field(app, ID_S1), c.s1);  // never rewritten, however long
        if (!c.v3.empty()) CHECK_STR(get_field(app, ID_V3), c.v3);
        if (!c.s2.empty()) CHECK_STR(get_field(app, ID_S2), c.s2);
    }
    check_context("");
}

// --- results fed back as inputs ---

struct FeedStep {
    const char* name;
    int from, to;  // copy field `from` into `to` first (0: no copy)
    int set_id;    // then set this field to `set_text` (0: none)
    std::string set_text;
    int button;
    int result;  // the field to read afterwards
    std::string expected;
};

void check_fed_back() {
    const std::vector<FeedStep> steps = {
        {"divide by zero", 0, 0, ID_S1, "0", ID_DIV_SCALAR, ID_V3, "Infinity -Infinity NaN"},
        {"infinities into V1", ID_V3, ID_V1, 0, "", ID_NORMALIZE, ID_V3, "0 0 1"},
        {"the words were read as zero", 0, 0, 0, "", ID_LENGTH, ID_S2, "0"},
        {"unit z into V2", ID_V3, ID_V2, ID_V1, "3e38 3e38 3e38", ID_CROSS_PRODUCT, ID_V3, "3e+38 -3e+38 0"},
        {"that into V1", ID_V3, ID_V1, 0, "", ID_LENGTH, ID_S2, "Infinity"},
        {"Infinity into S1", ID_S2, ID_S1, 0, "", ID_MUL_SCALAR, ID_V3, "0 0 0"},
        {"huge into V2", ID_V1, ID_V2, 0, "", ID_ADD, ID_V3, "Infinity -Infinity 0"},
        {"1e+20 round", 0, 0, ID_V1, "1e20 0 0", ID_LENGTH, ID_S2, "1e+20"},
        {"1e+20 into S1", ID_S2, ID_S1, ID_V1, "1e20 1 -1", ID_MUL_SCALAR, ID_V3, "Infinity 1e+20 -1e+20"},
        {"and into the view", ID_V3, ID_ROW_VECTOR, ID_ROW_COLOR, "255 0 255", ID_REDRAW, ID_ROW_VECTOR, "0 0 0"},
    };
    set(ID_V1, "1 -2 0");
    for (const FeedStep& s : steps) {
        check_context(s.name);
        if (s.from) set(s.to, get_field(app, s.from));
        if (s.set_id) set(s.set_id, s.set_text);
        click(app, s.button);
        CHECK_STR(get_field(app, s.result), s.expected);
    }
    check_context("");
    CHECK_STR(get_field(app, ID_V1), "1e+20 1 -1");
}

// --- the view rows ---

struct RowCase {
    const char* name;
    std::string vector, offset, colour;
    std::string vector_after, offset_after, colour_after;
};

void check_rows() {
    const std::vector<RowCase> rows = {
        {"infinite rows", "1e39 -1e39 1", "1e400 2 3", "4294967296 9 9", "Infinity -Infinity 1", "0 0 0", "0 0 0"},
        {"the colour limit", "3e38 3e38 3e38", "-3e38 0 1e39", "4294967295 99999999999 9", "3e+38 3e+38 3e+38",
         "-3e+38 0 Infinity", "255 0 0"},
        {"long colours", "0 0 1", "0 0 0", rep("0", 250) + "255 1", "0 0 1", "0 0 0", "255 1 0"},
        {"long colour digits", "0 0 1", "0 0 0", rep("9", 40) + " 1 1", "0 0 1", "0 0 0", "0 0 0"},
        {"10000-char colour", rep(" ", 10000), rep("+", 10000), "+7 " + rep("1", 9997), "0 0 0", "0 0 0", "7 0 0"},
        {"colour signs", "0 0 1", "0 0 0", "+0255 -1 7", "0 0 1", "0 0 0", "255 0 0"},
    };
    for (const RowCase& r : rows) {
        check_context(r.name);
        for (int row = 0; row < 3; ++row) {
            int step = row * ROW_STRIDE;
            set(ID_ROW_VECTOR + step, r.vector);
            set(ID_ROW_OFFSET + step, r.offset);
            set(ID_ROW_COLOR + step, r.colour);
        }
        click(app, ID_REDRAW);
        for (int row = 0; row < 3; ++row) {
            int step = row * ROW_STRIDE;
            CHECK_STR(get_field(app, ID_ROW_VECTOR + step), r.vector_after);
            CHECK_STR(get_field(app, ID_ROW_OFFSET + step), r.offset_after);
            CHECK_STR(get_field(app, ID_ROW_COLOR + step), r.colour_after);
        }
    }
    check_context("");
}

// The result fields take no paste, however long.
void check_read_only() {
    set(ID_V1, "1 2 3");
    set(ID_V2, "1 1 1");
    click(app, ID_ADD);
    click(app, ID_LENGTH);
    for (int id : {ID_V3, ID_S2}) {
        std::string before = get_field(app, id);
        set_field(app, id, rep("9", 10000), 0.5);  // no paste is asked for
        CHECK_STR(get_field(app, id), before);
    }
}

// The view still draws after all of that: a plain vector, then the axes.
void check_view_draws() {
    const Rgb magenta{255, 0, 255};
    set(ID_ROW_VECTOR, "0 0 3");
    set(ID_ROW_OFFSET, "1 -1 0");
    set(ID_ROW_COLOR, "255 0 255");
    for (int row = 1; row < 3; ++row) set(ID_ROW_VECTOR + row * ROW_STRIDE, "0 0 0");
    click(app, ID_REDRAW);
    get_field(app, ID_ROW_VECTOR);
    usleep(200000);
    ViewState camera;
    set_start_camera(camera);
    check_picture(shoot_view(app), camera, magenta, "view after hostile rows");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: test_linux_hostile PATH/arrowbench, with DISPLAY set\n");
        return 2;
    }
    CHECK(launch(app, {argv[1]}));
    if (!app.app) return check_exit();
    check_commands();
    check_fed_back();
    check_rows();
    check_read_only();
    check_every_byte();
    check_view_draws();
    CHECK(app_running(app));
    CHECK(quit_app(app));
    CHECK(exited_with(app, 0));
    return check_exit();
}
