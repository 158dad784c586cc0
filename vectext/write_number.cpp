// Writing a number: "%g" with precision 6 in the C locale, which
// std::to_chars gives exactly (it works on the float's bits in integers,
// so neither the locale nor the x87 unit can touch it). Only zero and the
// non-finite values have texts of our own.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "vectext/vectext.h"

char* write_number(float value, char* first, char* last) {
    const char* word = nullptr;
    if (value == 0.0f) {
        word = "0";  // -0 too
    } else if (std::isnan(value)) {
        word = "NaN";
    } else if (std::isinf(value)) {
        word = value > 0.0f ? "Infinity" : "-Infinity";
    }
    if (!word) {
#ifdef __EMSCRIPTEN__
        // Emscripten 3.1.6's libc++ has no floating-point to_chars. Its C
        // library (musl) writes %g exactly from the double's bits and has
        // no locale of numbers, so it gives the same text.
        char text[32];
        int n = std::snprintf(text, sizeof text, "%.6g", double(value));
        if (n < 0 || n >= int(sizeof text) || last - first < n) return nullptr;
        std::memcpy(first, text, std::size_t(n));
        return first + n;
#else
        std::to_chars_result r = std::to_chars(first, last, value, std::chars_format::general, 6);
        return r.ec == std::errc() ? r.ptr : nullptr;
#endif
    }
    std::size_t n = std::strlen(word);
    if (std::size_t(last - first) < n) return nullptr;
    std::memcpy(first, word, n);
    return first + n;
}
