// Every product and sum is checked with the overflow builtins, which
// 32-bit targets have for int64_t too, and factors common to a numerator
// and a denominator are cancelled before multiplying, so that a result is
// "not exact" only when its lowest terms do not fit.

#include "working/exact.h"

#include <cmath>

namespace {

uint64_t magnitude(int64_t v) { return v < 0 ? 0 - uint64_t(v) : uint64_t(v); }

int64_t gcd(int64_t a, int64_t b) {
    uint64_t x = magnitude(a), y = magnitude(b);
    while (y) {
        uint64_t t = x % y;
        x = y;
        y = t;
    }
    return int64_t(x);
}

// INT64_MIN is kept out, so that no sign change can overflow.
Rational make(int64_t n, int64_t d) {
    if (d == 0 || n == INT64_MIN || d == INT64_MIN) return NOT_EXACT;
    if (d < 0) n = -n, d = -d;
    int64_t g = gcd(n, d);
    return {n / g, d / g};
}

bool overflows(int64_t a, int64_t b, int64_t& product) { return __builtin_mul_overflow(a, b, &product); }

uint64_t isqrt(uint64_t n) {
    uint64_t s = uint64_t(std::sqrt(double(n)));
    while (s * s > n) --s;
    while ((s + 1) * (s + 1) <= n) ++s;
    return s;
}

// n = k²·m with m square-free. Trial division by every d with d³ <= what
// is left leaves at most two prime factors, each at least d: a square
// exactly when they are the same. At most about 2^20 steps for n near
// 2^63.
void split_square(int64_t value, int64_t& k, int64_t& m) {
    uint64_t n = uint64_t(value), square = 1, rest = 1;
    for (uint64_t d = 2; d * d * d <= n; d += d == 2 ? 1 : 2) {
        if (n % d) continue;
        bool odd = false;
        for (; n % d == 0; n /= d, odd = !odd)
            if (odd) square *= d;
        if (odd) rest *= d;
    }
    uint64_t s = isqrt(n);
    if (s * s == n)
        square *= s;
    else
        rest *= n;
    k = int64_t(square);
    m = int64_t(rest);
}

Surd surd(Rational c, int64_t m) { return c.num == 0 ? Surd{c, 1} : Surd{c, m}; }

}  // namespace

Rational exact_value(const char* text) {
    bool negative = *text == '-';
    text += negative;
    int64_t n = 0;
    int scale = 0, digits = 0;
    bool point = false;
    for (;; ++text) {
        if (*text == '.') {
            point = true;
        } else if (*text >= '0' && *text <= '9' && digits < 18) {
            n = n * 10 + (*text - '0');
            scale -= point;
            ++digits;
        } else {
            break;
        }
    }
    if (*text == 'e') {
        bool down = *++text == '-';
        text += *text == '-' || *text == '+';
        int e = 0;
        for (; *text >= '0' && *text <= '9' && e < 1000; ++text) e = e * 10 + (*text - '0');
        scale += down ? -e : e;
    }
    if (*text) return NOT_EXACT;  // NaN, Infinity
    Rational r{negative ? -n : n, 1}, ten{10, 1};
    for (; scale > 0 && r.den; --scale) r = r * ten;
    for (; scale < 0 && r.den; ++scale) r = r / ten;
    return r;
}

Rational operator+(Rational a, Rational b) {
    if (!a.den || !b.den) return NOT_EXACT;
    int64_t g = gcd(a.den, b.den), x, y, n, d;
    if (overflows(a.num, b.den / g, x) || overflows(b.num, a.den / g, y) || __builtin_add_overflow(x, y, &n) ||
        overflows(a.den / g, b.den, d))
        return NOT_EXACT;
    return make(n, d);
}

Rational operator-(Rational a, Rational b) { return a + Rational{-b.num, b.den}; }

Rational operator*(Rational a, Rational b) {
    if (!a.den || !b.den) return NOT_EXACT;
    int64_t g = gcd(a.num, b.den), h = gcd(b.num, a.den), n, d;
    if (overflows(a.num / g, b.num / h, n) || overflows(a.den / h, b.den / g, d)) return NOT_EXACT;
    return make(n, d);
}

Rational operator/(Rational a, Rational b) { return a * make(b.den, b.num); }

// √(p/q) with p = a²·m1 and q = b²·m2 is a·√(m1·m2)/(b·m2): p and q are
// coprime, so m1·m2 is square-free.
Surd root(Rational q) {
    if (!q.den || q.num < 0) return {NOT_EXACT};
    int64_t a, m1, b, m2, m;
    split_square(q.num, a, m1);
    split_square(q.den, b, m2);
    if (overflows(m1, m2, m)) return {NOT_EXACT};
    return surd(Rational{a, 1} / Rational{b, 1} / Rational{m2, 1}, m);
}

// √m1·√m2 = g·√((m1/g)·(m2/g)) with g their gcd.
Surd operator*(Surd a, Surd b) {
    int64_t g = gcd(a.m, b.m), m;
    if (overflows(a.m / g, b.m / g, m)) return {NOT_EXACT};
    return surd(a.c * b.c * Rational{g, 1}, m);
}

Surd operator/(Rational a, Surd b) { return surd(a / b.c / Rational{b.m, 1}, b.m); }

Surd length(const Rational v[3]) {
    int64_t g = 0, l = 1;
    for (int i = 0; i < 3; ++i) {
        if (!v[i].den) return {NOT_EXACT};
        g = gcd(g, v[i].num);
        if (overflows(l / gcd(l, v[i].den), v[i].den, l)) return {NOT_EXACT};
    }
    if (!g) return {};
    // |v| = (g/l)·|w| with w = v·l/g, integers with no common factor.
    Rational f = make(g, l), sum;
    for (int i = 0; i < 3; ++i) {
        Rational w = v[i] / f;
        sum = sum + w * w;
    }
    Surd r = root(sum);
    return surd(f * r.c, r.m);
}

void append_integer(std::string& out, int64_t v) {
    char text[20], *p = text + sizeof text;
    uint64_t u = magnitude(v);
    do *--p = char('0' + u % 10);
    while (u /= 10);
    if (v < 0) out += '-';
    out.append(p, text + sizeof text);
}

void append_exact(std::string& out, const Surd& x) {
    int64_t p = x.c.num;
    if (x.m == 1) {
        append_integer(out, p);
    } else {
        if (p < 0) out += '-';
        if (p != 1 && p != -1) append_integer(out, p < 0 ? -p : p);
        out += "\u221a";
        append_integer(out, x.m);
    }
    if (x.c.den != 1) {
        out += '/';
        append_integer(out, x.c.den);
    }
}
