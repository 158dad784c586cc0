// The working of a calculation, clause by clause: the formula with the
// numbers put in, the exact value where it fits (app/exact.h), and the
// decimal as the fields write it. A result's decimal is the command's own
// float, so it is the field's text; the others are worked out in double
// from the floats, as the commands work.

#include <cmath>
#include <string>

#include "app/app.h"
#include "app/exact.h"
#include "app/internal.h"
#include "vectext/vectext.h"

namespace {

// A number of the working: its exact value beside the double it is worked
// out in. An input is written in formulas as its field writes it.
struct Val {
    Surd x;
    double f = 0.0;
    bool input = false;
};

Val input(float f) { return {{exact_value(format_scalar(f).text)}, f, true}; }

float component(const Vector3& v, int i) { return i == 0 ? v.x : i == 1 ? v.y : v.z; }

bool all_exact(const Val* v, int n) {
    for (int i = 0; i < n; ++i)
        if (!is_exact(v[i].x)) return false;
    return true;
}

// x² + y² + z², in the order the commands add them.
Val squares(const Val* v) {
    Val s;
    for (int i = 0; i < 3; ++i) {
        s.x.c = s.x.c + v[i].x.c * v[i].x.c;
        s.f += v[i].f * v[i].f;
    }
    return s;
}

Val root_of(const Val& s) { return {root(s.x.c), std::sqrt(s.f)}; }

// What a number put into a formula is bracketed for: a fraction, a
// coefficient before a root ("1/(2√2)"), a sign ("(-3)·2"), an exponent
// ("(1e-05)²").
enum Brackets {
    BARE = 0,
    FRACTION = 1,
    COEFFICIENT = 2,
    SIGN = 4,
    EXPONENT = 8,
    DIVISOR = FRACTION | COEFFICIENT,
    FACTOR = FRACTION | SIGN,
    SQUARE = FACTOR | EXPONENT,
};

constexpr double DEGREES_PER_RADIAN = 57.295779513082320877;
constexpr double PI = 3.14159265358979323846;

// The cosines of the angles that are written exactly: num/den·√m.
struct SpecialAngle {
    signed char num, den, m;
    unsigned char degrees;
};
const SpecialAngle SPECIAL_ANGLES[] = {{1, 1, 1, 0},    {1, 2, 3, 30},   {1, 2, 2, 45},   {1, 2, 1, 60},  {0, 1, 1, 90},
                                       {-1, 2, 1, 120}, {-1, 2, 2, 135}, {-1, 2, 3, 150}, {-1, 1, 1, 180}};

// The componentwise commands: the label and the operator of the formula.
struct Componentwise {
    unsigned command;
    const char *label, *op;
};
const Componentwise COMPONENTWISE[] = {{ID_ADD, "V1 + V2", " + "},
                                       {ID_SUB, "V1 \u2212 V2", " \u2212 "},
                                       {ID_MUL_SCALAR, "V1 \u00b7 S1", "\u00b7"},
                                       {ID_DIV_SCALAR, "V1 / S1", " / "}};

Rational apply(unsigned command, Rational x, Rational y) {
    switch (command) {
        case ID_ADD: return x + y;
        case ID_SUB: return x - y;
        case ID_MUL_SCALAR: return x * y;
        default: return x / y;
    }
}

struct Working {
    std::string out;
    bool exact = false;  // whether the clause being written has its exact value

    // Kept a call: inlined, the appends would be most of this file's code.
    [[gnu::noinline]] void put(const char* text) { out += text; }
    void clause(const char* label, bool exact_value);
    void number(const Val& v, Brackets brackets);
    void pair(const Val& x, const char* op, const Val& y);
    void numbers(const Val* v, int n, bool decimals);
    void result(const Val* v, int n);
    Val length(const char* label, const Val* v);
    void angle(const Val& d, double dot, double cross, const Val& a, const Val& b);
};

void Working::clause(const char* label, bool exact_value) {
    if (!out.empty()) put("; ");
    put(label);
    exact = exact_value;
}

// Exact where the clause is, else as a decimal; an input as its field's
// text either way.
void Working::number(const Val& v, Brackets brackets) {
    size_t start = out.size();
    if (exact && !v.input)
        append_exact(out, v.x);
    else
        put(format_scalar(float(v.f)).text);
    auto has = [&](const char* text) { return out.find(text, start) != std::string::npos; };
    bool coefficient = has("\u221a") && out.compare(start, 3, "\u221a") != 0;
    if (((brackets & FRACTION) && has("/")) || ((brackets & COEFFICIENT) && coefficient) ||
        ((brackets & SIGN) && out[start] == '-') || ((brackets & EXPONENT) && has("e"))) {
        out.insert(start, 1, '(');
        out += ')';
    }
}

void Working::pair(const Val& x, const char* op, const Val& y) {
    number(x, FACTOR);
    put(op);
    number(y, FACTOR);
}

// A triple, or one number alone.
void Working::numbers(const Val* v, int n, bool decimals) {
    if (n > 1) put("(");
    for (int i = 0; i < n; ++i) {
        if (i) put(", ");
        if (decimals)
            put(format_scalar(float(v[i].f)).text);
        else
            number(v[i], BARE);
    }
    if (n > 1) put(")");
}

// " = exact ≈ decimal", the decimal only where the exact value is not an
// integer; " = decimal" where the clause has no exact value.
void Working::result(const Val* v, int n) {
    put(" = ");
    if (exact) {
        numbers(v, n, false);
        bool integer = true;
        for (int i = 0; i < n; ++i) integer = integer && is_integer(v[i].x);
        if (integer) return;
        put(" \u2248 ");
    }
    numbers(v, n, true);
}

// |v| = √(x² + y² + z²) = √sum = its exact value, for a rational v.
Val Working::length(const char* label, const Val* v) {
    Val s = squares(v), r = root_of(s);
    clause(label, is_exact(r.x));
    put(" = \u221a(");
    for (int i = 0; i < 3; ++i) {
        if (i) put(" + ");
        number(v[i], SQUARE);
        put("\u00b2");
    }
    put(")");
    // No "√14 = √14", no "√0 = 0".
    Rational sum = s.x.c;
    if (exact && !(sum.den == 1 && (sum.num == 0 || (r.x.m == sum.num && r.x.c.num == 1 && r.x.c.den == 1)))) {
        put(" = \u221a");
        number(s, FRACTION);
    }
    result(&r, 1);
    return r;
}

// cos θ and θ, from V1 · V2 (exact, and `dot` in double), |V1 × V2| in
// double and the lengths.
void Working::angle(const Val& d, double dot, double cross, const Val& a, const Val& b) {
    Val cosine{d.x.c / (a.x * b.x), dot / (a.f * b.f)};
    clause("cos \u03b8", is_exact(cosine.x));
    put(" = ");
    number(d, FRACTION);
    put("/(");
    pair(a, "\u00b7", b);
    put(")");
    result(&cosine, 1);
    clause("\u03b8", exact);
    put(" = arccos(");
    number(cosine, BARE);
    put(")");
    const Surd& x = cosine.x;
    for (const SpecialAngle& s : SPECIAL_ANGLES) {
        if (exact && x.c.num == s.num && x.c.den == s.den && x.m == s.m) {
            put(" = ");
            append_integer(out, s.degrees);
            put("\u00b0");
            return;
        }
    }
    // From the cosine in the middle, from the sine near 0° and 180°, where
    // the arccosine of a rounded cosine loses its digits. Rounded to float
    // first, as every number the fields write: the hosts' libm differ in
    // the last bits, which then hardly ever reach the 6 digits. (The camera
    // takes acos and asin already; atan2 would be more code for the page.)
    double h = std::sqrt(cross * cross + dot * dot);
    double angle = std::fabs(dot) < 0.7 * h ? std::acos(dot / h) : std::asin(cross / h);
    if (dot < 0.0 && std::fabs(dot) >= 0.7 * h) angle = PI - angle;
    put(" \u2248 ");
    put(format_scalar(float(angle * DEGREES_PER_RADIAN)).text);
    put("\u00b0");
}

}  // namespace

std::string calculation_working(const Calculation& c) {
    Working w;
    Val a[3], b[3], r[3], s = input(c.s), scalar[3] = {s, s, s};
    for (int i = 0; i < 3; ++i) {
        a[i] = input(component(c.a, i));
        b[i] = input(component(c.b, i));
        r[i].f = component(c.vector, i);
    }
    for (const Componentwise& e : COMPONENTWISE) {
        if (e.command != c.command) continue;
        const Val* y = c.command == ID_ADD || c.command == ID_SUB ? b : scalar;
        for (int i = 0; i < 3; ++i) r[i].x.c = apply(c.command, a[i].x.c, y[i].x.c);
        w.clause(e.label, all_exact(r, 3));
        w.put(" = (");
        for (int i = 0; i < 3; ++i) {
            if (i) w.put(", ");
            w.pair(a[i], e.op, y[i]);
        }
        w.put(")");
        w.result(r, 3);
        if (c.command == ID_SUB) w.length("|V1 \u2212 V2|", r);
        if (c.command == ID_DIV_SCALAR && c.s == 0.0f) w.put("; no quotient: S1 is zero");
    }
    switch (c.command) {
        case ID_CROSS_PRODUCT: {
            for (int i = 0; i < 3; ++i) {
                int j = (i + 1) % 3, k = (i + 2) % 3;
                r[i].x.c = a[j].x.c * b[k].x.c - a[k].x.c * b[j].x.c;
            }
            w.clause("V1 \u00d7 V2", all_exact(r, 3));
            w.put(" = (");
            for (int i = 0; i < 3; ++i) {
                int j = (i + 1) % 3, k = (i + 2) % 3;
                if (i) w.put(", ");
                w.pair(a[j], "\u00b7", b[k]);
                w.put(" \u2212 ");
                w.pair(a[k], "\u00b7", b[j]);
            }
            w.put(")");
            w.result(r, 3);
            w.length("|V1 \u00d7 V2|", r);
            break;
        }
        case ID_DOT_PRODUCT: {
            Val d{{}, c.scalar};
            double dot = 0.0;
            for (int i = 0; i < 3; ++i) {
                d.x.c = d.x.c + a[i].x.c * b[i].x.c;
                dot += a[i].f * b[i].f;
            }
            w.clause("V1 \u00b7 V2", is_exact(d.x));
            w.put(" = ");
            for (int i = 0; i < 3; ++i) {
                if (i) w.put(" + ");
                w.pair(a[i], "\u00b7", b[i]);
            }
            w.result(&d, 1);
            Val bb = squares(b), nb = root_of(bb);
            if (bb.f == 0.0) {
                w.put("; no angle or projection: V2 is zero");
                break;
            }
            Val aa = squares(a);
            double cross = 0.0;
            for (int i = 0; i < 3; ++i) {
                int j = (i + 1) % 3, k = (i + 2) % 3;
                double t = a[j].f * b[k].f - a[k].f * b[j].f;
                cross += t * t;
            }
            if (aa.f == 0.0)
                w.put("; no angle: V1 is zero");
            else
                w.angle(d, dot, std::sqrt(cross), root_of(aa), nb);
            // The scalar projection d/|V2|, then the vector (d/|V2|²)·V2.
            Val comp{d.x.c / nb.x, dot / nb.f};
            w.clause("comp_V2 V1", is_exact(comp.x));
            w.put(" = ");
            w.number(d, FRACTION);
            w.put("/");
            w.number(nb, DIVISOR);
            w.result(&comp, 1);
            Val k{{d.x.c / bb.x.c}, dot / bb.f};
            for (int i = 0; i < 3; ++i) r[i] = {{k.x.c * b[i].x.c}, k.f * b[i].f};
            w.clause("proj_V2 V1", all_exact(r, 3));
            w.put(" = ");
            w.number(k, FACTOR);
            w.put("\u00b7");
            w.numbers(b, 3, false);
            w.result(r, 3);
            break;
        }
        case ID_NORMALIZE: {
            Val n = w.length("|V1|", a);
            if (n.f == 0.0) {
                w.put("; no direction: V1 is zero, so V3 = (0, 0, 1)");
                break;
            }
            for (int i = 0; i < 3; ++i) r[i].x = a[i].x.c / n.x;
            w.clause("V1 / |V1|", all_exact(r, 3));
            w.put(" = ");
            w.numbers(a, 3, false);
            w.put("/");
            w.number(n, DIVISOR);
            w.result(r, 3);
            break;
        }
        case ID_LENGTH: w.length("|V1|", a); break;
        default: break;
    }
    return w.out;
}
