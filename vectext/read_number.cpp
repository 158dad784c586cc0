// Reading numbers and unsigned integers out of field text.
//
// The decimal conversion is our own. This one rounds correctly to the
// nearest double (ties to even) and fails where glibc's strtod reports a
// range error: on overflow, and on any non-zero value below the smallest
// normal double. The double is then rounded once more, to float.
// What the libraries offer does not do that on every host:
// - strtod follows the process locale's decimal point, and the Windows and
//   glibc runtimes need not agree to the last bit;
// - std::from_chars takes texts just below the smallest normal double
//   ('2.2250738585072012e-308') that the range rule fails, and the i686
//   MinGW libstdc++ computes its fast path on the x87 unit and rounds twice
//   ('39225464732749e15' comes out one float too low).

#include <cstdint>
#include <cstring>

#include "vectext/pow10.h"
#include "vectext/vectext.h"
#include "vectext/wide_int.h"

namespace {

bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Digits beyond this many only matter through whether they are all zero: no
// double, nor any midpoint between two doubles, has more than 767
// significant digits, so a sticky digit in place of the rest decides every
// rounding the same way.
constexpr int MAX_DIGITS = 800;

// D * 10^E with D given by `digits` (no leading zero), all exact.
struct Decimal {
    char digits[MAX_DIGITS + 1];
    int count = 0;
    int64_t exponent = 0;
};

// D as an integer, for at most 19 digits.
uint64_t significand(const Decimal& d) {
    uint64_t n = 0;
    for (int i = 0; i < d.count; ++i) n = n * 10 + uint64_t(d.digits[i] - '0');
    return n;
}

// Exact cases: a significand below 2^53 times or over an exactly
// representable power of ten (up to 1e22) is one correctly rounded
// operation.
bool convert_fast(const Decimal& d, double& out) {
    if (d.count > 15) return false;
    double m = double(significand(d));
    int64_t e = d.exponent;
    if (e >= 0 && e <= 22) {
        out = m * POW10_TABLE[e];
        return true;
    }
    if (e < 0 && e >= -22) {
        out = m / POW10_TABLE[-e];
        return true;
    }
    if (e > 22 && e <= 22 + 15 - d.count) {
        // Move the excess into the significand, which stays exact.
        out = (m * POW10_TABLE[e - 22]) * POW10_TABLE[22];
        return true;
    }
    return false;
}

// The general case, by exact integer arithmetic: find q, 55 to 57 bits,
// with value = (q + r) * 2^shift, 0 <= r < 1, and whether r is non-zero.
bool convert_exact(const Decimal& d, double& out) {
    WideInt num;
    for (int i = 0; i < d.count; ++i) wide_mul_add(num, 10, uint32_t(d.digits[i] - '0'));
    uint64_t q = 0;
    int shift = 0;
    bool sticky = false;
    if (d.exponent >= 0) {
        wide_mul_pow10(num, int(d.exponent));
        int bits = wide_bit_length(num);
        if (bits <= 57) {
            // Small enough to hold whole: widen to 57 bits, remainder 0.
            shift = bits - 57;
            q = wide_low64(num) << -shift;
        } else {
            shift = bits - 57;
            sticky = wide_low_bits_nonzero(num, shift);
            wide_shift_right(num, shift);
            q = wide_low64(num);
        }
    } else {
        WideInt den;
        den.w[0] = 1;
        den.size = 1;
        wide_mul_pow10(den, int(-d.exponent));
        // Align so that the quotient lies in [2^55, 2^57).
        int s = 56 - (wide_bit_length(num) - wide_bit_length(den));
        if (s > 0)
            wide_shift_left(num, s);
        else
            wide_shift_left(den, -s);
        shift = -s;
        wide_shift_left(den, 56);
        for (int bit = 56; bit >= 0; --bit) {
            if (wide_compare(num, den) >= 0) {
                wide_subtract(num, den);
                q |= uint64_t(1) << bit;
            }
            wide_shift_right(den, 1);
        }
        sticky = num.size != 0;
    }

    // Round q to 53 bits, ties to even, the remainder as a tie breaker.
    int bits = 64 - __builtin_clzll(q);
    int drop = bits - 53;
    uint64_t mant = q >> drop;
    uint64_t rest = q & ((uint64_t(1) << drop) - 1);
    uint64_t half = uint64_t(1) << (drop - 1);
    if (rest > half || (rest == half && (sticky || (mant & 1)))) {
        ++mant;
        if (mant == (uint64_t(1) << 53)) {
            mant >>= 1;
            ++drop;
        }
    }
    int exp2 = shift + drop;  // value = mant * 2^exp2, 2^52 <= mant < 2^53
    int top = exp2 + 52;
    // Underflow is judged after rounding, as glibc does on x86: a value a
    // hair below the smallest normal double that rounds onto it is fine.
    if (top < -1022 || top > 1023) return false;  // range error
    // Assemble the bits directly: ldexp would be exact too, but this keeps
    // the result independent of the math library.
    uint64_t bits64 = (uint64_t(top + 1023) << 52) | (mant & ((uint64_t(1) << 52) - 1));
    std::memcpy(&out, &bits64, sizeof out);
    return true;
}

// The usual case, cheaply: with at most 19 digits and a power of ten from
// the table, one product or quotient lands within 4.4e-16 (relative) of
// the exact value, and so of its correctly rounded double. Unless a float
// midpoint lies that close, every double in reach rounds to the same
// float, which is then the answer; and far from the ends of the double
// range no range error can be. Anything else goes the exact way.
bool convert_float_fast(const Decimal& d, float& out) {
    if (d.count > 19 || d.exponent > POW10_MAX || d.exponent < -POW10_MAX) return false;
    double a = double(significand(d));
    double v = d.exponent >= 0 ? a * POW10_TABLE[d.exponent] : a / POW10_TABLE[-d.exponent];
    if (!(v >= 1e-300 && v <= 1e300)) return false;
    float f = static_cast<float>(v);
    if (static_cast<float>(v * (1 - 1e-15)) != f || static_cast<float>(v * (1 + 1e-15)) != f) return false;
    out = f;
    return true;
}

// Magnitude of D * 10^E for D != 0, as a double, or false on a range error.
bool convert(const Decimal& d, double& out) {
    // D * 10^E lies in [10^(count-1+E), 10^(count+E)): settle the hopeless
    // cases before any big arithmetic.
    if (d.count + d.exponent <= -308) return false;      // below 1e-308
    if (d.count - 1 + d.exponent >= 309) return false;   // at least 1e309
    if (convert_fast(d, out)) return true;
    return convert_exact(d, out);
}

}  // namespace

bool read_number(const char*& pos, float& value) {
    const char* p = pos;
    while (is_space(static_cast<unsigned char>(*p))) ++p;
    if (*p == '\0') return false;

    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');

    Decimal d;
    int64_t scale = 0;
    bool any_digit = false, point = false, dropped_nonzero = false;
    for (;; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!is_digit(c)) break;
        any_digit = true;
        if (d.count == 0 && c == '0') {
            if (point) --scale;
        } else if (d.count < MAX_DIGITS) {
            d.digits[d.count++] = char(c);
            if (point) --scale;
        } else {
            if (c != '0') dropped_nonzero = true;
            if (!point) ++scale;
        }
    }
    if (!any_digit) return false;

    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool exp_negative = false;
        if (*q == '+' || *q == '-') exp_negative = (*q++ == '-');
        // A marker without digits belongs to the run but means nothing.
        int64_t exp = 0;
        while (is_digit(static_cast<unsigned char>(*q))) {
            if (exp < 1000000000) exp = exp * 10 + (*q - '0');
            ++q;
        }
        scale += exp_negative ? -exp : exp;
        p = q;
    }
    pos = p;

    double magnitude = 0.0;
    if (d.count > 0) {
        if (dropped_nonzero) {
            d.digits[d.count++] = '1';
            --scale;
        }
        d.exponent = scale;
        float quick;
        if (!dropped_nonzero && convert_float_fast(d, quick)) {
            value = negative ? -quick : quick;
            return true;
        }
        if (!convert(d, magnitude)) return false;
    }
    double result = negative ? -magnitude : magnitude;
    value = static_cast<float>(result);
    return true;
}

bool read_unsigned(const char*& pos, uint32_t& value) {
    const char* p = pos;
    while (is_space(static_cast<unsigned char>(*p))) ++p;
    if (*p == '+') ++p;
    if (!is_digit(static_cast<unsigned char>(*p))) return false;
    uint64_t n = 0;
    bool overflow = false;
    for (; is_digit(static_cast<unsigned char>(*p)); ++p) {
        n = n * 10 + uint64_t(*p - '0');
        if (n > 0xFFFFFFFFu) {
            overflow = true;
            n = 0x100000000u;  // keeps the loop from wrapping round
        }
    }
    pos = p;
    if (overflow) return false;
    value = static_cast<uint32_t>(n);
    return true;
}
