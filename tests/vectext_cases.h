// Conversion cases shared by the plain run and the decimal-comma locale
// run of the vectext tests. Each table row is one field text or value.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "tests/check.h"
#include "tests/float_bits.h"
#include "vectext/vectext.h"

struct VectorCase {
    const char* text;
    float x, y, z;  // compared bit for bit, so -0 is not 0
    const char* written;
};

// clang-format off
const VectorCase VECTOR_CASES[] = {
    {"1 2 3", 1, 2, 3, "1 2 3"},
    {"  1   2   3  ", 1, 2, 3, "1 2 3"},
    {"", 0, 0, 0, "0 0 0"},
    {"3 4", 3, 4, 0, "3 4 0"},
    {"1 2 3 4", 1, 2, 3, "1 2 3"},
    {"1-2-3", 1, -2, -3, "1 -2 -3"},
    {"1,2,3", 1, 0, 0, "1 0 0"},
    {"(1 2 3)", 0, 0, 0, "0 0 0"},
    {"1 abc 3", 1, 0, 0, "1 0 0"},
    {"+1.5 -.25 3.", 1.5f, -0.25f, 3, "1.5 -0.25 3"},
    {"1e3 2E-2 -0", 1000, 0.02f, -0.0f, "1000 0.02 0"},
    {"1.5.2 3", 1.5f, 0.2f, 3, "1.5 0.2 3"},
    {"1e 2 3", 1, 2, 3, "1 2 3"},
    {"1e+ 2 3", 1, 2, 3, "1 2 3"},
    {"1e+2e3", 100, 0, 0, "100 0 0"},
    {"0x10 1 1", 0, 0, 0, "0 0 0"},
    {"1e39 -1e39 1", __builtin_inff(), -__builtin_inff(), 1, "Infinity -Infinity 1"},
    {"1e400 2 3", 0, 0, 0, "0 0 0"},
    {"1e-50 2 3", 0, 2, 3, "0 2 3"},
    {"-1e-50 2 3", -0.0f, 2, 3, "0 2 3"},
    {"1e-310 2 3", 0, 0, 0, "0 0 0"},          // below the normal doubles: range error
    {"0e-999 2 3", 0, 2, 3, "0 2 3"},          // zero is exact at any exponent
    {"0e99999999999999999999 5", 0, 5, 0, "0 5 0"},
    {"Infinity 1 1", 0, 0, 0, "0 0 0"},
    {"NaN 1 1", 0, 0, 0, "0 0 0"},
    {"inf 1 1", 0, 0, 0, "0 0 0"},
    {"1.23456789 0 0", 1.23456788f, 0, 0, "1.23457 0 0"},
    {"- 1 2", 0, 0, 0, "0 0 0"},
    {". 1 2", 0, 0, 0, "0 0 0"},
    {"-. 1 2", 0, 0, 0, "0 0 0"},
    {"\t1\n2\v3\f", 1, 2, 3, "1 2 3"},
    {"\r4\r5\r6\r", 4, 5, 6, "4 5 6"},
    {"1\xa0" "2 3", 1, 0, 0, "1 0 0"},           // 0xA0 is not white space
    {".5e1 5.e-1 00012", 5, 0.5f, 12, "5 0.5 12"},
    {"1E+05 1e-05 1e5", 100000, 1e-05f, 100000, "100000 1e-05 100000"},
    // the largest float, and either side of the midpoint above it
    {"3.4028235e38 3.4028235677e38 -3.4028235678e38", 3.40282347e38f, 3.40282347e38f, -__builtin_inff(),
     "3.40282e+38 3.40282e+38 -Infinity"},
    {"1.4e-45 7e-46 7.1e-46", 1.40129846e-45f, 0, 1.40129846e-45f, "1.4013e-45 0 1.4013e-45"},
    {"0.33333334 0.333333 0.1", 0.333333343f, 0.333333f, 0.1f, "0.333333 0.333333 0.1"},
    {"123456789 99999999999 -0.000001", 123456792.0f, 1e11f, -1e-06f, "1.23457e+08 1e+11 -1e-06"},
    // Either side of the smallest normal double: below it is a range error,
    // which ends the reading, though the nearest double is that normal.
    {"2.2250738585072012e-308 5 6", 0, 0, 0, "0 0 0"},
    {"2.2250738585072011e-308 5 6", 0, 0, 0, "0 0 0"},
    {"2.2250738585072014e-308 5 6", 0, 5, 6, "0 5 6"},
    // To the nearest double first, then to float: a hair past a float
    // midpoint lands on it and ties to even; the last one is where rounding
    // twice on the x87 unit goes wrong.
    {"1.00000005960464477539062500001 1.000000178813934326171874999990 39225464732749e15",
     1.0f, 1.00000024f, 3.92254659e+28f, "1 1 3.92255e+28"},
    {"1.0000000596046447753906249999 -1.00000005960464477539062500001 -39225464732749e15",
     1.0f, -1.0f, -3.92254659e+28f, "1 -1 -3.92255e+28"},
};
// clang-format on

struct NumberCase {
    uint32_t bits;
    const char* written;
};

// clang-format off
const NumberCase NUMBER_CASES[] = {
    {0x00000000, "0"},
    {0x80000000, "0"},
    {0x3F800000, "1"},              // 1
    {0xC0200000, "-2.5"},
    {0x3EAAAAAB, "0.333333"},       // 1/3
    {0x3F2AAAAB, "0.666667"},       // 2/3
    {0x3DCCCCCD, "0.1"},
    {0x40490FDB, "3.14159"},        // 3.14159265
    {0x4640E6B6, "12345.7"},        // 12345.678
    {0x47C35000, "100000"},
    {0x497423FB, "1e+06"},          // 999999.7: carries into a seventh digit
    {0x4996B428, "1.23456e+06"},    // 1234565: a tie, to even
    {0x4996B438, "1.23457e+06"},    // 1234567: no tie
    {0x4CEB79A3, "1.23457e+08"},    // 123456789
    {0x501502F9, "1e+10"},
    {0x38D1B717, "0.0001"},
    {0x3727C5AC, "1e-05"},
    {0x33D6BF95, "1e-07"},
    {0x7F7FFFFF, "3.40282e+38"},
    {0x00000001, "1.4013e-45"},
    {0x00800000, "1.17549e-38"},    // smallest normal
    {0x007FFFFF, "1.17549e-38"},    // largest subnormal
    {0x7F800000, "Infinity"},
    {0xFF800000, "-Infinity"},
    {0x7FC00000, "NaN"},
    {0xFFC00000, "NaN"},
    {0x7F800001, "NaN"},
    {0x4B800000, "1.67772e+07"},    // 2^24
    {0x49742400, "1e+06"},          // 1000000 exactly
    {0x497423E0, "999998"},         // 999998 exactly
    {0x3F7FFFFF, "1"},              // 0.99999994
    {0xBF7FFFFF, "-1"},
    {0x38D1B716, "0.0001"},         // just below 1e-4: still rounds up to it
    {0x38D1B6F0, "9.99997e-05"},    // X = -5 uses the exponent form
    {0x60AD78EC, "1e+20"},
};
// clang-format on

inline void check_number_table() {
    char buf[32];
    for (const NumberCase& c : NUMBER_CASES) {
        char* end = write_number(bits_float(c.bits), buf, buf + sizeof buf);
        *end = '\0';
        long n = end - buf;
        check_context(c.written);
        CHECK_STR(buf, c.written);
        CHECK_INT(n, std::strlen(c.written));
    }
    check_context("");
}

inline void check_vector_table() {
    for (const VectorCase& c : VECTOR_CASES) {
        check_context(c.text);
        Vector3 v = parse_vector(c.text);
        CHECK_INT(float_bits(v.x), float_bits(c.x));
        CHECK_INT(float_bits(v.y), float_bits(c.y));
        CHECK_INT(float_bits(v.z), float_bits(c.z));
        CHECK_STR(format_vector(v).text, c.written);
        // A canonical text reads back to itself, except for the words of
        // non-finite values, which do not read at all.
        if (!std::strstr(c.written, "Inf") && !std::strstr(c.written, "NaN"))
            CHECK_STR(format_vector(parse_vector(c.written)).text, c.written);
    }
    check_context("");
}

struct ScalarCase {
    const char* text;
    float value;
};

// clang-format off
const ScalarCase SCALAR_CASES[] = {
    {"2", 2}, {"  2 apples", 2}, {"", 0}, {"abc", 0}, {"1,5", 1}, {".5", 0.5f},
    {"1e400", 0}, {"-1e400", 0}, {"\t-7.25e1x", -72.5f}, {"+", 0}, {"e5", 0}, {"-0", -0.0f},
    {"0.1000000000000000055511151231257827021181583404541015625", 0.1f},
};
// clang-format on

inline void check_scalar_table() {
    for (const ScalarCase& c : SCALAR_CASES) {
        check_context(c.text);
        CHECK_INT(float_bits(parse_scalar(c.text)), float_bits(c.value));
    }
    check_context("");
    CHECK_STR(format_scalar(32).text, "32");
    CHECK_STR(format_scalar(1e20f).text, "1e+20");
    CHECK_STR(format_scalar(-0.0f).text, "0");
}

struct ColorCase {
    const char* text;
    unsigned r, g, b;
    const char* written;
};

// clang-format off
const ColorCase COLOR_CASES[] = {
    {"255 128 0", 255, 128, 0, "255 128 0"},
    {"255", 255, 0, 0, "255 0 0"},
    {"", 0, 0, 0, "0 0 0"},
    {"300 1000 7", 255, 255, 7, "255 255 7"},
    {"+7 007 8", 7, 7, 8, "7 7 8"},
    {"12.5 1 1", 12, 0, 0, "12 0 0"},
    {"-1 2 3", 0, 0, 0, "0 0 0"},
    {"4294967295 9 9", 255, 9, 9, "255 9 9"},
    {"4294967296 9 9", 0, 0, 0, "0 0 0"},
    {"99999999999999999999999 1 1", 0, 0, 0, "0 0 0"},
    {"300 20", 255, 20, 0, "255 20 0"},
    {"red", 0, 0, 0, "0 0 0"},
    {"1 + 2", 1, 0, 0, "1 0 0"},
    {"1 ++2", 1, 0, 0, "1 0 0"},
    {"  \t9\n8\r7 6", 9, 8, 7, "9 8 7"},
    {"1-2", 1, 0, 0, "1 0 0"},
};
// clang-format on

inline void check_color_table() {
    for (const ColorCase& c : COLOR_CASES) {
        check_context(c.text);
        Rgb rgb = parse_color(c.text);
        CHECK_INT(rgb.red, c.r);
        CHECK_INT(rgb.green, c.g);
        CHECK_INT(rgb.blue, c.b);
        CHECK_STR(format_color(rgb.red, rgb.green, rgb.blue).text, c.written);
    }
    check_context("");
}

inline void check_all_tables() {
    check_number_table();
    check_vector_table();
    check_scalar_table();
    check_color_table();
}
