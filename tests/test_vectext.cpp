// The field text conversions, on their own.

#include <string>

#include "tests/check.h"
#include "tests/vectext_cases.h"

namespace {

// Reading goes through double and then float, each rounded to nearest
// even: text just above a float midpoint that the double rounds onto the
// midpoint ends on the even float, not the nearer one.
void check_double_then_float() {
    struct Case {
        const char* text;
        uint32_t bits;
    } cases[] = {
        // 1 + 2^-24 + tiny: via double the float tie goes to 1.0
        {"1.00000005960464477539062500001", 0x3F800000},
        // above the midpoint in decimal, but the nearest double is the
        // midpoint itself
        {"1.0000000596046448", 0x3F800000},
        // above the midpoint by more than half a double step
        {"1.000000059604645", 0x3F800001},
        // exactly the midpoint in decimal
        {"1.000000059604644775390625", 0x3F800000},
        // the midpoint above 1 + 2^-23 (odd), which goes up to even
        {"1.000000178813934326171875", 0x3F800002},
        // 0.1 with 60 significant digits, the rest beyond the buffer limit
        {"0.100000000000000005551115123125782702118158340454101562500000000000000001", 0x3DCCCCCD},
    };
    for (const Case& c : cases) {
        check_context(c.text);
        CHECK_INT(float_bits(parse_scalar(c.text)), c.bits);
    }
    check_context("");
}

// Where each read stops decides what the next one sees.
void check_read_positions() {
    struct Case {
        const char* text;
        bool ok;
        int consumed;  // chars used up on success
    } cases[] = {
        {"12abc", true, 2},     {"  -3.5e+2x", true, 9}, {"1e", true, 2},      {"1e+", true, 3},
        {"1e-x", true, 3},      {"1.2.3", true, 3},      {".5.5", true, 2},    {"5..", true, 2},
        {"1e5.5", true, 3},     {"1e5e5", true, 3},      {"+.e1", false, 0},   {"-", false, 0},
        {"", false, 0},         {"   ", false, 0},       {"x1", false, 0},     {"1e400 2", false, 5},
        {"00000", true, 5},     {"-0.0e-0", true, 7},
    };
    for (const Case& c : cases) {
        check_context(c.text);
        const char* p = c.text;
        float v = 42.0f;
        bool ok = read_number(p, v);
        CHECK(ok == c.ok);
        CHECK_INT(p - c.text, c.consumed);  // past a run out of range, else unmoved on failure
        if (!ok) CHECK(v == 42.0f);  // a failed read leaves the value alone
    }
    check_context("");
}

void check_long_texts() {
    // Thousands of digits, in the significand and in the exponent.
    std::string ones(5000, '1');
    CHECK_STR(format_scalar(parse_scalar(("0." + ones).c_str())).text, "0.111111");
    CHECK_STR(format_scalar(parse_scalar(("1" + std::string(37, '0')).c_str())).text, "1e+37");
    CHECK_STR(format_scalar(parse_scalar(("1" + std::string(400, '0')).c_str())).text, "0");  // range
    CHECK_STR(format_scalar(parse_scalar(("0." + std::string(4000, '0') + "1e4005").c_str())).text, "10000");
    CHECK_STR(format_scalar(parse_scalar(("1e" + std::string(3000, '9')).c_str())).text, "0");
    CHECK_STR(format_scalar(parse_scalar(("1e-" + std::string(3000, '9')).c_str())).text, "0");
    CHECK_STR(format_scalar(parse_scalar(("0e" + std::string(3000, '9')).c_str())).text, "0");
    CHECK_STR(format_scalar(parse_scalar(("-" + std::string(3000, '0') + "25e-1").c_str())).text, "-2.5");
    // Digits past the kept ones still count for rounding. This is the
    // midpoint between the double 1 + 2^-24 (itself a float midpoint) and
    // the next double: on its own it rounds to the even double and then to
    // the float 1; a 1 far beyond the kept digits lifts it to the upper
    // double, which lies above the float midpoint.
    std::string mid = "1.00000005960464488641292746251565404236316680908203125";
    CHECK_INT(float_bits(parse_scalar(mid.c_str())), 0x3F800000);
    std::string above = mid + std::string(900, '0') + "1";
    CHECK_INT(float_bits(parse_scalar(above.c_str())), 0x3F800001);
    // The smallest normal double reads; below it is a range error, unless
    // the value rounds onto it (underflow is judged after rounding).
    struct Edge {
        const char* text;
        float y;
    } edges[] = {
        {"2.2250738585072014e-308 5", 5},
        {"2.22507385850720138309e-308 5", 5},
        {"2.2250738585072013830902327173324e-308 5", 5},   // just above
        {"2.2250738585072013830902327173323e-308 5", 5},   // just below, rounds up
        {"2.2250738585072012e-308 5", 0},                  // rounds below
        {"2.2250738585072011e-308 5", 0},
        {"-4.9e-324 5", 0},
    };
    for (const Edge& e : edges) {
        check_context(e.text);
        CHECK(parse_vector(e.text).y == e.y);
    }
    check_context("");
    Vector3 v;
    v = parse_vector("1.7976931348623157e308 1.7976931348623159e308 5");
    CHECK(v.x == __builtin_inff() && v.y == 0.0f && v.z == 0.0f);
}

void check_unsigned_reads() {
    const char* p = "0004294967295x";
    uint32_t u = 0;
    CHECK(read_unsigned(p, u));
    CHECK_INT(u, 4294967295u);
    CHECK(*p == 'x');
    p = "  +0";
    CHECK(read_unsigned(p, u) && u == 0 && *p == '\0');
    p = "+-1";
    CHECK(!read_unsigned(p, u));
    p = "";
    CHECK(!read_unsigned(p, u));
}

}  // namespace

int main() {
    check_all_tables();
    check_double_then_float();
    check_read_positions();
    check_long_texts();
    check_unsigned_reads();
    return check_exit();
}
