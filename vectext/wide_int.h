// A fixed-capacity unsigned integer for the exact corner of decimal
// reading. 4352 bits hold the largest operand that reading a double can
// need (an 801-digit significand against 10^1109, aligned); nothing here
// allocates.
#pragma once

#include <cstdint>

struct WideInt {
    static constexpr int WORDS = 136;
    uint32_t w[WORDS + 1];  // little-endian words, w[0..size) significant
    int size = 0;
};

inline void wide_trim(WideInt& a) {
    while (a.size > 0 && a.w[a.size - 1] == 0) --a.size;
}

// a = a * m + add
inline void wide_mul_add(WideInt& a, uint32_t m, uint32_t add) {
    uint64_t carry = add;
    for (int i = 0; i < a.size; ++i) {
        uint64_t t = uint64_t(a.w[i]) * m + carry;
        a.w[i] = uint32_t(t);
        carry = t >> 32;
    }
    if (carry) a.w[a.size++] = uint32_t(carry);
}

inline int wide_bit_length(const WideInt& a) {
    if (a.size == 0) return 0;
    return 32 * (a.size - 1) + (32 - __builtin_clz(a.w[a.size - 1]));
}

inline uint64_t wide_low64(const WideInt& a) {
    uint64_t lo = a.size > 0 ? a.w[0] : 0;
    uint64_t hi = a.size > 1 ? a.w[1] : 0;
    return lo | (hi << 32);
}

inline bool wide_low_bits_nonzero(const WideInt& a, int n) {
    int whole = n / 32;
    for (int i = 0; i < whole && i < a.size; ++i)
        if (a.w[i]) return true;
    int part = n % 32;
    return part && whole < a.size && (a.w[whole] & ((uint32_t(1) << part) - 1));
}

inline void wide_shift_left(WideInt& a, int n) {
    if (a.size == 0 || n == 0) return;
    int whole = n / 32, part = n % 32;
    int top = a.size + whole;
    a.w[top] = 0;
    for (int i = a.size - 1; i >= 0; --i) {
        uint32_t v = a.w[i];
        if (part) {
            a.w[i + whole + 1] |= v >> (32 - part);
            a.w[i + whole] = v << part;
        } else {
            a.w[i + whole] = v;
        }
    }
    for (int i = 0; i < whole; ++i) a.w[i] = 0;
    a.size = top + 1;
    wide_trim(a);
}

inline void wide_shift_right(WideInt& a, int n) {
    int whole = n / 32, part = n % 32;
    if (whole >= a.size) {
        a.size = 0;
        return;
    }
    int count = a.size - whole;
    for (int i = 0; i < count; ++i) {
        uint32_t v = a.w[i + whole] >> part;
        if (part && i + whole + 1 < a.size) v |= a.w[i + whole + 1] << (32 - part);
        a.w[i] = v;
    }
    a.size = count;
    wide_trim(a);
}

inline void wide_mul_pow10(WideInt& a, int n) {
    // 10^n = 5^n * 2^n; 5^13 is the largest power of five in 32 bits.
    static constexpr uint32_t POW5[13] = {1,       5,        25,       125,    625,
                                          3125,    15625,    78125,    390625, 1953125,
                                          9765625, 48828125, 244140625};
    int fives = n;
    for (; fives >= 13; fives -= 13) wide_mul_add(a, 1220703125u, 0);
    if (fives > 0) wide_mul_add(a, POW5[fives], 0);
    wide_shift_left(a, n);
}

inline int wide_compare(const WideInt& a, const WideInt& b) {
    if (a.size != b.size) return a.size < b.size ? -1 : 1;
    for (int i = a.size - 1; i >= 0; --i)
        if (a.w[i] != b.w[i]) return a.w[i] < b.w[i] ? -1 : 1;
    return 0;
}

// a -= b, for b <= a
inline void wide_subtract(WideInt& a, const WideInt& b) {
    int64_t borrow = 0;
    for (int i = 0; i < a.size; ++i) {
        int64_t t = int64_t(a.w[i]) - (i < b.size ? int64_t(b.w[i]) : 0) - borrow;
        borrow = t < 0;
        a.w[i] = uint32_t(t + (borrow << 32));
    }
    wide_trim(a);
}
