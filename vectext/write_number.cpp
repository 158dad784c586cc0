// Writing a number: "%g" in the C locale, worked out from the float's bits
// in integers, so that neither a C library, nor its locale, nor the x87
// unit can touch it, and the page carries no printf.
// A float is m·2^e exactly; its decimal digits come from that integer (or
// from m·5^-e, the same digits with the point moved), so the rounding to
// the precision's digits is exact, half to even. Only zero and the
// non-finite values have texts of our own.

#include <charconv>
#include <cstring>

#include "vectext/vectext.h"

namespace {

// The exact decimal digits of |value| (finite, not zero) into `digits`,
// most significant first, and their count; the value is 0.digits × 10^point.
int exact_digits(float value, char* digits, int& point) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    int biased = int(bits >> 23 & 255);
    uint32_t n[13] = {bits & 0x7fffff};  // 2^24·5^149 < 2^371: 12 words
    if (biased) n[0] |= 0x800000;
    int e = (biased ? biased : 1) - 150, size = 1, scale = 0;
    auto multiply = [&](uint32_t k) {
        uint64_t carry = 0;
        for (int i = 0; i < size; ++i) {
            uint64_t t = uint64_t(n[i]) * k + carry;
            n[i] = uint32_t(t);
            carry = t >> 32;
        }
        if (carry) n[size++] = uint32_t(carry);
    };
    if (e > 0) {
        for (; e > 16; e -= 16) multiply(1u << 16);
        multiply(1u << e);
        e = 0;
    }
    // m·2^-k = m·5^k·10^-k, five to the 13th (the most a word holds) at a
    // time; past k, 5^13·10^-13 is 2^-13, so twos make up what is over.
    for (; e < 0; e += 13, scale -= 13) multiply(1220703125u);
    for (; e > 0; --e) multiply(2);
    // Nine digits at a time from the bottom, then turned round.
    char reversed[128];
    int count = 0;
    while (size) {
        uint64_t rest = 0;
        for (int i = size - 1; i >= 0; --i) {
            uint64_t t = rest << 32 | n[i];
            n[i] = uint32_t(t / 1000000000u);
            rest = t % 1000000000u;
        }
        while (size && !n[size - 1]) --size;
        for (int k = 0; k < 9 && (size || rest); ++k, rest /= 10) reversed[count++] = char('0' + rest % 10);
    }
    for (int i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
    point = count + scale;
    return count;
}

}  // namespace

char* write_significant(float value, int precision, char* first, char* last) {
    char text[48], *p = text;
    const char* word = nullptr;
    if (value == 0.0f) {
        word = "0";  // -0 too
    } else if (value != value) {
        word = "NaN";
    } else if (value - value != 0.0f) {
        word = value > 0.0f ? "Infinity" : "-Infinity";
    }
    if (word) {
        std::strcpy(text, word);
        p = text + std::strlen(word);
    } else {
        char d[128];
        int point, count = exact_digits(value, d, point);
        if (value < 0.0f) *p++ = '-';
        if (count > precision) {
            // Half to even: the digits past the precision are exact.
            bool up = d[precision] > '5';
            if (d[precision] == '5') {
                up = (d[precision - 1] - '0') % 2 == 1;
                for (int i = precision + 1; i < count; ++i) up = up || d[i] != '0';
            }
            count = precision;
            for (int i = count - 1; up && i >= 0; --i) {
                up = d[i] == '9';
                d[i] = up ? '0' : char(d[i] + 1);
            }
            if (up) d[0] = '1', ++point;
        }
        while (count > 1 && d[count - 1] == '0') --count;
        int exponent = point - 1;
        if (exponent < -4 || exponent >= precision) {
            *p++ = d[0];
            if (count > 1) *p++ = '.';
            for (int i = 1; i < count; ++i) *p++ = d[i];
            *p++ = 'e';
            *p++ = exponent < 0 ? '-' : '+';
            int x = exponent < 0 ? -exponent : exponent;
            if (x >= 100) *p++ = char('0' + x / 100);
            *p++ = char('0' + x / 10 % 10);
            *p++ = char('0' + x % 10);
        } else {
            if (point <= 0) *p++ = '0', *p++ = '.';
            for (int i = point; i < 0; ++i) *p++ = '0';
            for (int i = 0; i < count || i < point; ++i) {
                if (i == point && i > 0) *p++ = '.';
                *p++ = i < count ? d[i] : '0';
            }
        }
    }
    size_t n = size_t(p - text);
    if (size_t(last - first) < n) return nullptr;
    std::memcpy(first, text, n);
    return first + n;
}

// Natively std::to_chars writes the same text, faster; Emscripten 3.1.6's
// libc++ has no floating-point to_chars.
char* write_number(float value, char* first, char* last) {
#ifdef __EMSCRIPTEN__
    return write_significant(value, 6, first, last);
#else
    if (value == 0.0f || value != value || value - value != 0.0f) return write_significant(value, 6, first, last);
    std::to_chars_result r = std::to_chars(first, last, value, std::chars_format::general, 6);
    return r.ec == std::errc() ? r.ptr : nullptr;
#endif
}
