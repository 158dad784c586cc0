// The C library's conversions, used as the reference our own must agree
// with: strtod then a cast to float for reading, "%.6g" for writing, in the
// "C" locale (callers never call setlocale). The run of a number and the
// colour integers are delimited here from the reading rules alone, so a
// fault in our scanner cannot hide in the reference.
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vectext/vector3.h"

namespace reference {

inline bool space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool digit(unsigned char c) { return c >= '0' && c <= '9'; }

// The text the number rule writes for f, through snprintf. Returns its length.
inline int write(float f, char* out, size_t size) {
    if (f == 0.0f) return std::snprintf(out, size, "0");  // either sign
    if (std::isnan(f)) return std::snprintf(out, size, "NaN");
    if (std::isinf(f)) return std::snprintf(out, size, f > 0 ? "Infinity" : "-Infinity");
    return std::snprintf(out, size, "%.6g", double(f));
}

inline std::string write(float f) {
    char buf[64];
    write(f, buf, sizeof buf);
    return buf;
}

// The run of characters one number read takes, starting at p after white
// space: sign, digits with one point, then an exponent marker with sign
// and digits once a digit has been seen. Moves p past the run. False when
// only white space is left.
inline bool number_run(const char*& p, std::string& run) {
    while (space(static_cast<unsigned char>(*p))) ++p;
    if (!*p) return false;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    bool point = false, seen_digit = false;
    for (;; ++p) {
        if (digit(static_cast<unsigned char>(*p)))
            seen_digit = true;
        else if (*p == '.' && !point)
            point = true;
        else
            break;
    }
    if (seen_digit && (*p == 'e' || *p == 'E')) {
        ++p;
        if (*p == '+' || *p == '-') ++p;
        while (digit(static_cast<unsigned char>(*p))) ++p;
    }
    run.assign(start, p);
    return true;
}

// One number read: the run, then strtod on it alone.
inline bool read_number(const char*& p, float& value) {
    std::string run;
    if (!number_run(p, run)) return false;
    errno = 0;
    char* end = nullptr;
    double d = std::strtod(run.c_str(), &end);
    if (end == run.c_str() || errno == ERANGE) return false;
    value = static_cast<float>(d);
    return true;
}

// One unsigned integer read for colours.
inline bool read_unsigned(const char*& p, uint32_t& value) {
    while (space(static_cast<unsigned char>(*p))) ++p;
    if (*p == '+') ++p;
    if (!digit(static_cast<unsigned char>(*p))) return false;
    uint64_t n = 0;
    bool too_big = false;
    for (; digit(static_cast<unsigned char>(*p)); ++p) {
        if (!too_big) n = n * 10 + uint64_t(*p - '0');
        too_big = too_big || n > 4294967295u;
    }
    if (too_big) return false;
    value = uint32_t(n);
    return true;
}

inline Vector3 parse_vector(const char* text) {
    float c[3] = {0, 0, 0};
    const char* p = text;
    for (float& component : c)
        if (!read_number(p, component)) break;
    return {c[0], c[1], c[2]};
}

// The colour components before they are limited to 255.
inline void parse_color(const char* text, uint32_t rgb[3]) {
    rgb[0] = rgb[1] = rgb[2] = 0;
    const char* p = text;
    for (int i = 0; i < 3; ++i)
        if (!read_unsigned(p, rgb[i])) break;
}

}  // namespace reference
