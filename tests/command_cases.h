// Command cases shared by the core's test and the browser host's test:
// the field texts before a command and after it.
#pragma once

#include "app/control_ids.h"

struct CommandCase {
    unsigned id;
    const char *v1, *v2, *s1;
    // Expected field texts afterwards; nullptr: as before the command.
    const char *v1_after, *v2_after, *v3, *s2;
    // For the desktop tests: what the row shows, and the hosts that take it
    // (tests/desktop/driver.h; a row for one host only says why).
    const char* name = nullptr;
    unsigned hosts = 3;
};

// clang-format off
const CommandCase COMMAND_CASES[] = {
    {ID_ADD, "1 2 3", "4 5 6", "0", "1 2 3", "4 5 6", "5 7 9", nullptr},
    {ID_SUB, "1 2 3", "4 5 6", "0", nullptr, nullptr, "-3 -3 -3", nullptr},
    {ID_CROSS_PRODUCT, "1 0 0", "0 1 0", "0", nullptr, nullptr, "0 0 1", nullptr},
    {ID_CROSS_PRODUCT, "0 1 0", "1 0 0", "0", nullptr, nullptr, "0 0 -1", nullptr},
    {ID_CROSS_PRODUCT, "1 2 3", "4 5 6", "0", nullptr, nullptr, "-3 6 -3", nullptr},
    {ID_DOT_PRODUCT, "1 2 3", "4 5 6", "0", nullptr, nullptr, nullptr, "32"},
    {ID_MUL_SCALAR, "1 2 3", "9 9 9", "2", nullptr, "9 9 9", "2 4 6", nullptr},
    {ID_MUL_SCALAR, "1 2 3", "0 0 0", "   2 apples", nullptr, nullptr, "2 4 6", nullptr},
    {ID_MUL_SCALAR, "1 2 3", "0 0 0", "", nullptr, nullptr, "0 0 0", nullptr},
    {ID_MUL_SCALAR, "1 2 3", "0 0 0", "two", nullptr, nullptr, "0 0 0", nullptr},
    {ID_MUL_SCALAR, "-1 2 3", "0 0 0", "-0", nullptr, nullptr, "0 0 0", nullptr},
    {ID_DIV_SCALAR, "1 -2 0", "0 0 0", "0", nullptr, nullptr, "Infinity -Infinity NaN", nullptr},
    {ID_DIV_SCALAR, "1 -2 0", "0 0 0", "-0", nullptr, nullptr, "-Infinity Infinity NaN", nullptr},
    {ID_DIV_SCALAR, "1 2 3", "0 0 0", "3", nullptr, nullptr, "0.333333 0.666667 1", nullptr},
    // true division: 3 / 3 is exactly 1, while 3 * fl(1/3) is not
    {ID_DIV_SCALAR, "3 0.3 3e-30", "0 0 0", "3", nullptr, nullptr, "1 0.1 1e-30", nullptr},
    {ID_NORMALIZE, "0 0 0", "0 0 0", "0", nullptr, nullptr, "0 0 1", nullptr},
    {ID_NORMALIZE, "-0 0 -0", "0 0 0", "0", "0 0 0", nullptr, "0 0 1", nullptr},
    {ID_NORMALIZE, "3 0 4", "0 0 0", "0", nullptr, nullptr, "0.6 0 0.8", nullptr},
    {ID_NORMALIZE, "3e38 3e38 3e38", "0 0 0", "0", "3e+38 3e+38 3e+38", nullptr, "0 0 0", nullptr},
    {ID_NORMALIZE, "1e-30 0 0", "0 0 0", "0", nullptr, nullptr, "1 0 0", nullptr},
    {ID_NORMALIZE, "1e39 1 1", "0 0 0", "0", "Infinity 1 1", nullptr, "NaN 0 0", nullptr},
    {ID_LENGTH, "3 0 4", "0 0 0", "0", nullptr, nullptr, nullptr, "5"},
    {ID_LENGTH, "1e20 0 0", "0 0 0", "0", "1e+20 0 0", nullptr, nullptr, "1e+20"},
    {ID_LENGTH, "3 4", "0 0 0", "0", "3 4 0", nullptr, nullptr, "5"},
    {ID_LENGTH, "3e38 3e38 0", "0 0 0", "0", "3e+38 3e+38 0", nullptr, nullptr, "Infinity"},
    {ID_LENGTH, "1e-30 1e-30 0", "0 0 0", "0", nullptr, nullptr, nullptr, "1.41421e-30"},
    {ID_ADD, "nothing here", "4 5 6", "0", "0 0 0", nullptr, "4 5 6", nullptr},
    {ID_ADD, "  1   2   3  ", "1,5 2 3", "0", "1 2 3", "1 0 0", "2 2 3", nullptr},
    {ID_ADD, "3e38 -3e38 1e39", "3e38 -3e38 1", "0", "3e+38 -3e+38 Infinity", "3e+38 -3e+38 1",
     "Infinity -Infinity Infinity", nullptr},
    {ID_ADD, "0.1 0.2 0.3", "0.2 0.1 -0.3", "0", nullptr, nullptr, "0.3 0.3 0", nullptr},
    {ID_SUB, "1e39 0 0", "1e39 0 0", "0", "Infinity 0 0", "Infinity 0 0", "NaN 0 0", nullptr},
    // A float sum, not a double one: 16777216 + 1 stays 16777216
    {ID_ADD, "16777216 0 0", "1 0 0", "0", "1.67772e+07 0 0", nullptr, "1.67772e+07 0 0", nullptr},
};
// clang-format on

// A field longer than 255 chars reaches a command as its first 255: here
// 251 spaces and "1 2 3" make 256, and Length reads "1 2 " of them.
struct LongFieldCase {
    int pad;
    const char* tail;
    const char* written;
};
const LongFieldCase LONG_FIELD = {251, "1 2 3", "1 2 0"};
