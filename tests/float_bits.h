// A float's bit pattern and back, for comparing values bit for bit (so
// that -0 is not 0 and each NaN is itself).
#pragma once

#include <cstdint>
#include <cstring>

inline uint32_t float_bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

inline float bits_float(uint32_t b) {
    float f;
    std::memcpy(&f, &b, sizeof f);
    return f;
}
