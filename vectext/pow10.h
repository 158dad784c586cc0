// Powers of ten 1e0 .. 1e64 as doubles, each the nearest double to the
// exact power (the compiler rounds each literal correctly). A decimal of
// up to 19 digits whose float is neither 0 nor infinite has its exponent
// within these; the quick conversion leaves the rest to the exact one.
#pragma once

constexpr int POW10_MAX = 64;
constexpr double POW10_TABLE[POW10_MAX + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12,
    1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25,
    1e26, 1e27, 1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38,
    1e39, 1e40, 1e41, 1e42, 1e43, 1e44, 1e45, 1e46, 1e47, 1e48, 1e49, 1e50, 1e51,
    1e52, 1e53, 1e54, 1e55, 1e56, 1e57, 1e58, 1e59, 1e60, 1e61, 1e62, 1e63, 1e64,
};
