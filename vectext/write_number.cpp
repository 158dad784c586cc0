// Writing a float as "%g" with precision 6 would write it in the C locale,
// but printf follows the process locale and costs a trip through stdio.
// A float is m * 2^e with m below 2^24, so its exact decimal expansion has
// at most 112 digits; we round those to six significant ones (ties to
// even, on the exact value) and lay them out as %g does. Most values are
// settled sooner by double arithmetic with a proven error margin.

#include <cmath>
#include <cstdint>
#include <cstring>

#include "vectext/pow10.h"
#include "vectext/vectext.h"

namespace {

constexpr uint32_t BASE = 1000000000u;  // decimal limbs of nine digits

// Exact decimal digits of m * 2^e2 (m > 0) into `digits`, most significant
// first, no leading zero. Returns the count; the value is
// digits * 10^*exp10.
int exact_digits(uint32_t m, int e2, char* digits, int* exp10) {
    uint32_t limbs[16];  // little-endian base 10^9; 112 digits need 13
    int n = 0;
    limbs[n++] = m % BASE;
    if (m >= BASE) limbs[n++] = m / BASE;

    auto multiply = [&](uint32_t factor) {
        uint64_t carry = 0;
        for (int i = 0; i < n; ++i) {
            uint64_t t = uint64_t(limbs[i]) * factor + carry;
            limbs[i] = uint32_t(t % BASE);
            carry = t / BASE;
        }
        while (carry) {
            limbs[n++] = uint32_t(carry % BASE);
            carry /= BASE;
        }
    };

    if (e2 >= 0) {
        *exp10 = 0;
        int k = e2;
        for (; k >= 29; k -= 29) multiply(uint32_t(1) << 29);
        if (k) multiply(uint32_t(1) << k);
    } else {
        // m / 2^k = m * 5^k / 10^k
        *exp10 = e2;
        int k = -e2;
        static constexpr uint32_t POW5[14] = {1,        5,         25,        125,     625,
                                              3125,     15625,     78125,     390625,  1953125,
                                              9765625,  48828125,  244140625, 1220703125};
        for (; k >= 13; k -= 13) multiply(POW5[13]);
        if (k) multiply(POW5[k]);
    }

    int count = 0;
    char tmp[10];
    uint32_t top = limbs[n - 1];
    int t = 0;
    do {
        tmp[t++] = char('0' + top % 10);
        top /= 10;
    } while (top);
    while (t) digits[count++] = tmp[--t];
    for (int i = n - 2; i >= 0; --i) {
        uint32_t v = limbs[i];
        for (int j = 8; j >= 0; --j) {
            digits[count + j] = char('0' + v % 10);
            v /= 10;
        }
        count += 9;
    }
    return count;
}

// Six significant digits of the float with these bits (finite, non-zero),
// from its exact decimal expansion: rounded to nearest, ties to even.
void six_digits_exact(uint32_t bits, char* sig, int& x) {
    uint32_t field = (bits >> 23) & 0xFF;
    uint32_t frac = bits & 0x7FFFFF;
    uint32_t m = field ? (frac | 0x800000u) : frac;
    int e2 = field ? int(field) - 150 : -149;
    while (e2 < 0 && !(m & 1)) {  // fewer digits to make, same value
        m >>= 1;
        ++e2;
    }
    char digits[128];
    int exp10;
    int count = exact_digits(m, e2, digits, &exp10);
    x = count - 1 + exp10;

    for (int i = 0; i < 6; ++i) sig[i] = i < count ? digits[i] : '0';
    if (count > 6) {
        bool up = digits[6] > '5';
        if (digits[6] == '5') {
            bool beyond = false;
            for (int i = 7; i < count && !beyond; ++i) beyond = digits[i] != '0';
            up = beyond || ((sig[5] - '0') & 1);
        }
        if (up) {
            int i = 5;
            while (i >= 0 && sig[i] == '9') sig[i--] = '0';
            if (i >= 0) {
                ++sig[i];
            } else {  // 999999.5 and the like carry into a seventh digit
                sig[0] = '1';
                ++x;
            }
        }
    }
}

// The same, the quick way, where double arithmetic settles it: the float
// times a power of ten is within 4e-10 of its exact six-digit scaling, so
// unless that lies within 1e-6 of a rounding or a digit-count boundary the
// rounded digits are certain. Returns false to leave it to the exact way.
bool six_digits_fast(float value, char* sig, int& x) {
    double a = std::fabs(double(value));
    int e;
    std::frexp(a, &e);
    x = int(std::floor((e - 1) * 0.30102999566398120));
    for (int tries = 0; tries < 3; ++tries) {
        int k = 5 - x;
        if (k > 308 || k < -308) return false;
        double scaled = k >= 0 ? a * POW10_TABLE[k] : a / POW10_TABLE[-k];
        if (std::fabs(scaled - 99999.5) < 1e-6 || std::fabs(scaled - 999999.5) < 1e-6) return false;
        if (scaled < 99999.5) {
            --x;
            continue;
        }
        if (scaled >= 999999.5) {
            ++x;
            continue;
        }
        double whole = std::floor(scaled);
        double part = scaled - whole;
        if (std::fabs(part - 0.5) < 1e-6) return false;
        uint32_t n = uint32_t(whole) + (part > 0.5 ? 1u : 0u);
        for (int i = 5; i >= 0; --i) {
            sig[i] = char('0' + n % 10);
            n /= 10;
        }
        return true;
    }
    return false;
}

// %g's layout of six significant digits with first-digit exponent x.
int lay_out(const char* sig, int x, bool negative, char* out) {
    int last = 5;  // last significant digit kept after trimming zeros
    while (last > 0 && sig[last] == '0') --last;

    char* p = out;
    if (negative) *p++ = '-';
    if (x < -4 || x >= 6) {
        *p++ = sig[0];
        if (last > 0) {
            *p++ = '.';
            for (int i = 1; i <= last; ++i) *p++ = sig[i];
        }
        *p++ = 'e';
        *p++ = x < 0 ? '-' : '+';
        int ax = x < 0 ? -x : x;
        *p++ = char('0' + ax / 10);
        *p++ = char('0' + ax % 10);
    } else if (x >= 0) {
        for (int i = 0; i <= x; ++i) *p++ = sig[i];
        if (last > x) {
            *p++ = '.';
            for (int i = x + 1; i <= last; ++i) *p++ = sig[i];
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = 0; i < -x - 1; ++i) *p++ = '0';
        for (int i = 0; i <= last; ++i) *p++ = sig[i];
    }
    *p = '\0';
    return int(p - out);
}

}  // namespace

int write_number(float value, char* out) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    bool negative = bits >> 31;
    uint32_t field = (bits >> 23) & 0xFF;
    uint32_t frac = bits & 0x7FFFFF;

    if (field == 0xFF) {
        const char* word = frac ? "NaN" : (negative ? "-Infinity" : "Infinity");
        std::strcpy(out, word);
        return int(std::strlen(word));
    }
    if (field == 0 && frac == 0) {
        out[0] = '0';
        out[1] = '\0';
        return 1;
    }

    char sig[6];
    int x;  // decimal exponent of the first significant digit
    if (!six_digits_fast(value, sig, x)) six_digits_exact(bits, sig, x);
    return lay_out(sig, x, negative, out);
}
