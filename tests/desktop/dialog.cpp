// End to end on a desktop host: the real program's calculator driven from
// outside, as a user's tools would: texts set into the fields, the command
// buttons pressed, every field read back; the 255-char cut, Redraw's rows
// in canonical text, and Escape, which ends the program with exit code 0.
// What only one host can see (its window tree, its keys, its identity on
// the desktop) is its own part, before and after.

#include <string>

#include "tests/command_cases.h"
#include "tests/desktop/host.h"

namespace {

// clang-format off
const CommandCase COMMANDS[] = {
    {ID_ADD, "1 2 3", "4 5 6", "0", "1 2 3", "4 5 6", "5 7 9", "0"},
    {ID_SUB, " 1  2  3 ", "4 5 6", "0", "1 2 3", "4 5 6", "-3 -3 -3", "0"},
    {ID_CROSS_PRODUCT, "1 0 0", "0 1 0", "0", "1 0 0", "0 1 0", "0 0 1", "0"},
    {ID_DOT_PRODUCT, "1 2 3", "4 5 6", "0", "1 2 3", "4 5 6", "0 0 1", "32"},   // V3 as the row before left it
    {ID_MUL_SCALAR, "1 2 3", "x", "  2 apples", "1 2 3", "x", "2 4 6", "32"},
    {ID_DIV_SCALAR, "1 -2 0", "x", "0", "1 -2 0", "x", "Infinity -Infinity NaN", "32"},
    {ID_NORMALIZE, "3 0 4", "x", "0", "3 0 4", "x", "0.6 0 0.8", "32"},
    {ID_LENGTH, "3 4", "x", "0", "3 4 0", "x", "0.6 0 0.8", "5"},
    {ID_ADD, "nothing", "1,2,3", "0", "0 0 0", "1 0 0", "1 0 0", "5"},
    {ID_NORMALIZE, "3e38 3e38 3e38", "x", "0", "3e+38 3e+38 3e+38", "x", "0 0 0", "5"},
    {ID_LENGTH, "1e20 0 0", "x", "0", "1e+20 0 0", "x", "0 0 0", "1e+20"},
};
// clang-format on

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<DesktopDriver> driver = started(argc, argv);
    if (!driver) return check_exit();
    DesktopDriver& app = *driver;

    for (const CommandCase& c : COMMANDS) {
        check_context(std::to_string(c.id) + " " + c.v1);
        set_all(app, {{ID_V1, c.v1}, {ID_V2, c.v2}, {ID_S1, c.s1}});
        CHECK(app.press(int(c.id)));
        CHECK_STR(app.get(ID_V1), c.v1_after);
        CHECK_STR(app.get(ID_V2), c.v2_after);
        CHECK_STR(app.get(ID_S1), c.s1);  // never rewritten
        CHECK_STR(app.get(ID_V3), c.v3);
        CHECK_STR(app.get(ID_S2), c.s2);
    }
    check_context("");

    // More than 255 chars: the command sees the first 255 only.
    CHECK(app.set(ID_V1, std::string(size_t(LONG_FIELD.pad), ' ') + LONG_FIELD.tail));
    CHECK(app.press(ID_LENGTH));
    CHECK_STR(app.get(ID_V1), LONG_FIELD.written);
    CHECK_STR(app.get(ID_S2), "2.23607");

    // Redraw writes the view rows back in canonical text, and no other field.
    set_all(app, {{ID_ROW_VECTOR, "1,2,3"}, {ID_ROW_OFFSET, "  2  3 "}, {ID_ROW_COLOR, "300 20"}});
    CHECK(app.press(ID_REDRAW));
    CHECK_STR(app.get(ID_ROW_VECTOR), "1 0 0");
    CHECK_STR(app.get(ID_ROW_OFFSET), "2 3 0");
    CHECK_STR(app.get(ID_ROW_COLOR), "255 20 0");
    CHECK_STR(app.get(ID_V1), LONG_FIELD.written);

    host_checks(app);
    // Escape ends the program at once, with exit code 0.
    CHECK(app.quit());
    CHECK(!app.running());
    return check_exit();
}
