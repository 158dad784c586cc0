// "Show calculation" after a command: the view rows it writes (vector,
// offset, colour for each of the three, after the Redraw it runs) and the
// working, worked out by hand. Shared by the core's tests, the page's and
// the desktop hosts'.
#pragma once

#include "app/control_ids.h"

struct ShowCase {
    unsigned command;  // 0: none run yet
    const char *v1, *v2, *s1;
    const char* rows[9];
    const char* working;
};

#define ORANGE "230 120 0"
#define VIOLET "130 0 200"
#define TEAL "0 150 150"
#define ZERO "0 0 0"

// clang-format off
const ShowCase SHOW_CASES[] = {
    {0, " 1  2 ", "0 1 2", "0", {"1 2 0", ZERO, ORANGE, "0 1 2", ZERO, VIOLET, ZERO, ZERO, ZERO}, ""},
    {ID_ADD, "1 2 3", "4 5 6", "0", {"1 2 3", ZERO, ORANGE, "4 5 6", "1 2 3", VIOLET, "5 7 9", ZERO, TEAL},
     "V1 + V2 = (1 + 4, 2 + 5, 3 + 6) = (5, 7, 9)"},
    {ID_SUB, "1 2 3", "4 5 6", "0", {"1 2 3", ZERO, ORANGE, "4 5 6", ZERO, VIOLET, "-3 -3 -3", "4 5 6", TEAL},
     "V1 \u2212 V2 = (1 \u2212 4, 2 \u2212 5, 3 \u2212 6) = (-3, -3, -3); "
     "|V1 \u2212 V2| = \u221a((-3)\u00b2 + (-3)\u00b2 + (-3)\u00b2) = \u221a27 = 3\u221a3 \u2248 5.19615"},
    {ID_CROSS_PRODUCT, "1 2 3", "4 5 6", "0", {"1 2 3", ZERO, ORANGE, "4 5 6", ZERO, VIOLET, "-3 6 -3", ZERO, TEAL},
     "V1 \u00d7 V2 = (2\u00b76 \u2212 3\u00b75, 3\u00b74 \u2212 1\u00b76, 1\u00b75 \u2212 2\u00b74) = (-3, 6, -3); "
     "|V1 \u00d7 V2| = \u221a((-3)\u00b2 + 6\u00b2 + (-3)\u00b2) = \u221a54 = 3\u221a6 \u2248 7.34847"},
    // The projection of V1 onto V2: (6 / 4) (0, 0, 2).
    {ID_DOT_PRODUCT, "1 2 3", "0 0 2", "0", {"1 2 3", ZERO, ORANGE, "0 0 2", ZERO, VIOLET, "0 0 3", ZERO, TEAL},
     "V1 \u00b7 V2 = 1\u00b70 + 2\u00b70 + 3\u00b72 = 6; cos \u03b8 = 6/(\u221a14\u00b72) = 3\u221a14/14 \u2248 0.801784; "
     "\u03b8 = arccos(3\u221a14/14) \u2248 36.6992\u00b0; comp_V2 V1 = 6/2 = 3; proj_V2 V1 = (3/2)\u00b7(0, 0, 2) = (0, 0, 3)"},
    {ID_DOT_PRODUCT, "-1 2 0", "0 0 0", "0", {"-1 2 0", ZERO, ORANGE, ZERO, ZERO, VIOLET, ZERO, ZERO, TEAL},
     "V1 \u00b7 V2 = (-1)\u00b70 + 2\u00b70 + 0\u00b70 = 0; no angle or projection: V2 is zero"},
    {ID_MUL_SCALAR, "1 -2 3", "4 5 6", " 2 apples", {"1 -2 3", ZERO, ORANGE, ZERO, ZERO, ZERO, "2 -4 6", ZERO, TEAL},
     "V1 \u00b7 S1 = (1\u00b72, (-2)\u00b72, 3\u00b72) = (2, -4, 6)"},
    // Infinity does not read back: Redraw leaves the row as the zero vector.
    {ID_DIV_SCALAR, "1 0 -1", "4 5 6", "0", {"1 0 -1", ZERO, ORANGE, ZERO, ZERO, ZERO, ZERO, ZERO, TEAL},
     "V1 / S1 = (1 / 0, 0 / 0, (-1) / 0) = (Infinity, NaN, -Infinity); no quotient: S1 is zero"},
    {ID_NORMALIZE, "3 0 4", "4 5 6", "0", {"3 0 4", ZERO, ORANGE, ZERO, ZERO, ZERO, "0.6 0 0.8", ZERO, TEAL},
     "|V1| = \u221a(3\u00b2 + 0\u00b2 + 4\u00b2) = \u221a25 = 5; V1 / |V1| = (3, 0, 4)/5 = (3/5, 0, 4/5) \u2248 (0.6, 0, 0.8)"},
    {ID_LENGTH, "3 4", "4 5 6", "0", {"3 4 0", ZERO, ORANGE, ZERO, ZERO, ZERO, ZERO, ZERO, ZERO},
     "|V1| = \u221a(3\u00b2 + 4\u00b2 + 0\u00b2) = \u221a25 = 5"},
};
// clang-format on

#undef ORANGE
#undef VIOLET
#undef TEAL
#undef ZERO
