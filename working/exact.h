// Exact arithmetic for the working: the decimals the fields write, read as
// rationals over int64_t, and square roots taken out as c·√m with m
// square-free. Whatever does not fit in int64_t, or has no decimal (NaN,
// Infinity), is "not exact", and so is everything worked out from it.
#pragma once

#include <cstdint>
#include <string>

// num/den in lowest terms, den > 0; den 0 (num 0) is "not exact".
struct Rational {
    int64_t num = 0, den = 1;
};
constexpr Rational NOT_EXACT{0, 0};

// c·√m with m square-free: m is 1 for a rational and for zero.
struct Surd {
    Rational c;
    int64_t m = 1;
};

inline bool is_exact(const Surd& x) { return x.c.den != 0; }
inline bool is_integer(const Surd& x) { return x.c.den == 1 && x.m == 1; }

// The value a canonical field text writes: "0.1" is 1/10, "1e-05" is
// 1/100000.
Rational exact_value(const char* text);

Rational operator+(Rational a, Rational b);
Rational operator-(Rational a, Rational b);
Rational operator*(Rational a, Rational b);
Rational operator/(Rational a, Rational b);

Surd root(Rational q);  // √q, q >= 0
Surd operator*(Surd a, Surd b);
Surd operator/(Rational a, Surd b);  // denominator rationalised
// |v| of a rational triple, the components' common factor taken out
// first: exact wherever the length's own form fits, even where the sum of
// the squares does not.
Surd length(const Rational v[3]);

void append_integer(std::string& out, int64_t v);
// "p/q", "-√m/q", "p√m/q" and the like, each piece only where needed.
void append_exact(std::string& out, const Surd& x);
