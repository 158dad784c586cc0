// Each command's working as a tree: the formula with the numbers put in,
// the exact value where it fits (working/exact.h), and the decimal as the
// fields write it. A result's decimal is the command's own float, so it is
// the field's text; the others are worked out in double from the floats,
// as the commands work. A decimal stands after "=" only where it is the
// value itself; otherwise after "≈".

#include <cmath>

#include "app/commands.h"
#include "app/internal.h"
#include "vectext/vectext.h"

namespace {

// A number of the working: its exact value beside the double it is worked
// out in. An input is written as its field writes it.
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

// x² + y² + z², in the order the commands add them, and the length: exact
// with the common factor taken out first, so that it can be exact where
// the sum of the squares does not fit.
Val squares(const Val* v) {
    Val s;
    for (int i = 0; i < 3; ++i) {
        s.x.c = s.x.c + v[i].x.c * v[i].x.c;
        s.f += v[i].f * v[i].f;
    }
    return s;
}

Val length_of(const Val* v) {
    Rational c[3] = {v[0].x.c, v[1].x.c, v[2].x.c};
    return {length(c), std::sqrt(squares(v).f)};
}

constexpr double DEGREES_PER_RADIAN = 57.295779513082320877;
constexpr double PI = 3.14159265358979323846;

// The cosines of the angles that are written exactly: num/den·√m.
struct SpecialAngle {
    signed char num, den, m;
    unsigned char degrees;
};
const SpecialAngle SPECIAL_ANGLES[] = {{1, 1, 1, 0},    {1, 2, 3, 30},   {1, 2, 2, 45},   {1, 2, 1, 60},  {0, 1, 1, 90},
                                       {-1, 2, 1, 120}, {-1, 2, 2, 135}, {-1, 2, 3, 150}, {-1, 1, 1, 180}};

struct Builder {
    Working& w;
    bool exact = false;  // whether the clause being built has its exact value

    void clause(int label, bool exact_value) {
        w.clause(label);
        exact = exact_value;
    }
    int V1() { return w.symbol("V1"); }
    int V2() { return w.symbol("V2"); }
    // Exact where the clause is, else as a decimal; an input as its
    // field's text either way.
    int number(const Val& v) { return exact && !v.input ? w.exact(v.x) : w.decimal(float(v.f)); }
    int numbers(const Val* v, int n, bool decimals);
    void result(const Val* v, int n);
    Val length(int label, const Val* v);
    void angle(const Val& d, double dot, double cross, const Val& a, const Val& b);
};

// A triple, or one number alone.
int Builder::numbers(const Val* v, int n, bool decimals) {
    int items[3];
    for (int i = 0; i < n; ++i) items[i] = decimals ? w.decimal(float(v[i].f)) : number(v[i]);
    return n > 1 ? w.tuple(items[0], items[1], items[2]) : items[0];
}

// "= exact ≈ decimal", the decimal only where the exact value is not an
// integer. Without an exact value, "= decimal" only where each decimal
// reads back as the value itself, or is no number (NaN, an infinity).
void Builder::result(const Val* v, int n) {
    if (exact) {
        w.step(numbers(v, n, false));
        bool integer = true;
        for (int i = 0; i < n; ++i) integer = integer && is_integer(v[i].x);
        if (!integer) w.step(numbers(v, n, true), true);
        return;
    }
    bool same = true;
    for (int i = 0; i < n; ++i) {
        float f = float(v[i].f);
        if (!std::isfinite(f)) continue;
        Rational written = exact_value(format_scalar(f).text), value = v[i].x.c;
        same = same && is_exact(v[i].x) && v[i].x.m == 1 && written.num == value.num && written.den == value.den;
    }
    w.step(numbers(v, n, true), !same);
}

// |v| = √(x² + y² + z²) = √sum = its exact value.
Val Builder::length(int label, const Val* v) {
    Val s = squares(v), r = length_of(v);
    clause(w.op(Form::abs, label), is_exact(r.x));
    int sum = w.op(Form::square, number(v[0]));
    for (int i = 1; i < 3; ++i) sum = w.op(Form::plus, sum, w.op(Form::square, number(v[i])));
    w.step(w.op(Form::root, sum));
    // No "√14 = √14", no "√0 = 0".
    const Rational& q = s.x.c;
    if (exact && is_exact(s.x) && !(q.den == 1 && (q.num == 0 || (r.x.m == q.num && r.x.c.num == 1 && r.x.c.den == 1))))
        w.step(w.op(Form::root, number(s)));
    result(&r, 1);
    return r;
}

// cos θ and θ, from V1 · V2 (exact, and `dot` in double), |V1 × V2| in
// double and the lengths.
void Builder::angle(const Val& d, double dot, double cross, const Val& a, const Val& b) {
    Val cosine{d.x.c / (a.x * b.x), dot / (a.f * b.f)};
    clause(w.function("cos", "", w.symbol("\u03b8"), false), is_exact(cosine.x));
    w.step(w.op(Form::fraction, number(d), w.op(Form::times, number(a), number(b))));
    result(&cosine, 1);
    clause(w.symbol("\u03b8"), exact);
    w.step(w.function("arccos", "", number(cosine), true));
    const Surd& x = cosine.x;
    for (const SpecialAngle& s : SPECIAL_ANGLES) {
        if (exact && x.c.num == s.num && x.c.den == s.den && x.m == s.m)
            return w.step(w.op(Form::degrees, w.exact({{s.degrees, 1}})));
    }
    // From the cosine in the middle, from the sine near 0° and 180°, where
    // the arccosine of a rounded cosine loses its digits. Rounded to float
    // first, as every number the fields write: the hosts' libm differ in
    // the last bits, which then hardly ever reach the 6 digits. (The camera
    // takes acos and asin already; atan2 would be more code for the page.)
    double h = std::sqrt(cross * cross + dot * dot);
    double angle = std::fabs(dot) < 0.7 * h ? std::acos(dot / h) : std::asin(cross / h);
    if (dot < 0.0 && std::fabs(dot) >= 0.7 * h) angle = PI - angle;
    w.step(w.op(Form::degrees, w.decimal(float(angle * DEGREES_PER_RADIAN))), true);
}

// The inputs and results as numbers of the working.
struct Numbers {
    Val a[3], b[3], r[3], s;
    explicit Numbers(const Calculation& c) : s(input(c.s)) {
        for (int i = 0; i < 3; ++i) {
            a[i] = input(component(c.a, i));
            b[i] = input(component(c.b, i));
            r[i].f = component(c.vector, i);
        }
    }
};

// V1 + V2, V1 − V2, V1 · S1, V1 / S1: component by component.
Numbers componentwise(const Calculation& c, Builder& b, Form form) {
    Numbers n(c);
    bool vector = form == Form::plus || form == Form::minus;
    for (int i = 0; i < 3; ++i) {
        Rational p = n.a[i].x.c, q = (vector ? n.b[i] : n.s).x.c;
        n.r[i].x.c = form == Form::plus ? p + q : form == Form::minus ? p - q : form == Form::times ? p * q : p / q;
    }
    b.clause(b.w.op(form, b.V1(), b.w.symbol(vector ? "V2" : "S1")), all_exact(n.r, 3));
    int items[3];
    for (int i = 0; i < 3; ++i) items[i] = b.w.op(form, b.number(n.a[i]), b.number(vector ? n.b[i] : n.s));
    b.w.step(b.w.tuple(items[0], items[1], items[2]));
    b.result(n.r, 3);
    return n;
}

}  // namespace

void explain_add(const Calculation& c, Working& w) {
    Builder b{w};
    componentwise(c, b, Form::plus);
}

void explain_sub(const Calculation& c, Working& w) {
    Builder b{w};
    Numbers n = componentwise(c, b, Form::minus);
    b.length(w.op(Form::minus, b.V1(), b.V2()), n.r);
}

void explain_mul_scalar(const Calculation& c, Working& w) {
    Builder b{w};
    componentwise(c, b, Form::times);
}

void explain_div_scalar(const Calculation& c, Working& w) {
    Builder b{w};
    componentwise(c, b, Form::divide);
    if (c.s == 0.0f) w.words("no quotient: S1 is zero");
}

void explain_cross_product(const Calculation& c, Working& w) {
    Builder b{w};
    Numbers n(c);
    for (int i = 0; i < 3; ++i) {
        int j = (i + 1) % 3, k = (i + 2) % 3;
        n.r[i].x.c = n.a[j].x.c * n.b[k].x.c - n.a[k].x.c * n.b[j].x.c;
    }
    b.clause(w.op(Form::cross, b.V1(), b.V2()), all_exact(n.r, 3));
    int items[3];
    for (int i = 0; i < 3; ++i) {
        int j = (i + 1) % 3, k = (i + 2) % 3;
        items[i] = w.op(Form::minus, w.op(Form::times, b.number(n.a[j]), b.number(n.b[k])),
                        w.op(Form::times, b.number(n.a[k]), b.number(n.b[j])));
    }
    w.step(w.tuple(items[0], items[1], items[2]));
    b.result(n.r, 3);
    b.length(w.op(Form::cross, b.V1(), b.V2()), n.r);
}

void explain_dot_product(const Calculation& c, Working& w) {
    Builder b{w};
    Numbers n(c);
    Val d{{}, c.scalar};
    double dot = 0.0;
    for (int i = 0; i < 3; ++i) {
        d.x.c = d.x.c + n.a[i].x.c * n.b[i].x.c;
        dot += n.a[i].f * n.b[i].f;
    }
    b.clause(w.op(Form::times, b.V1(), b.V2()), is_exact(d.x));
    int sum = w.op(Form::times, b.number(n.a[0]), b.number(n.b[0]));
    for (int i = 1; i < 3; ++i) sum = w.op(Form::plus, sum, w.op(Form::times, b.number(n.a[i]), b.number(n.b[i])));
    w.step(sum);
    b.result(&d, 1);
    Val bb = squares(n.b), nb = length_of(n.b);
    if (bb.f == 0.0) return w.words("no angle or projection: V2 is zero");
    double cross = 0.0;
    for (int i = 0; i < 3; ++i) {
        int j = (i + 1) % 3, k = (i + 2) % 3;
        double t = n.a[j].f * n.b[k].f - n.a[k].f * n.b[j].f;
        cross += t * t;
    }
    if (squares(n.a).f == 0.0)
        w.words("no angle: V1 is zero");
    else
        b.angle(d, dot, std::sqrt(cross), length_of(n.a), nb);
    // The scalar projection d/|V2|, then the vector (d/|V2|²)·V2.
    Val comp{d.x.c / nb.x, dot / nb.f};
    b.clause(w.function("comp", "V2", b.V1(), false), is_exact(comp.x));
    w.step(w.op(Form::fraction, b.number(d), b.number(nb)));
    b.result(&comp, 1);
    Val k{{d.x.c / bb.x.c}, dot / bb.f};
    for (int i = 0; i < 3; ++i) n.r[i] = {{k.x.c * n.b[i].x.c}, k.f * n.b[i].f};
    b.clause(w.function("proj", "V2", b.V1(), false), all_exact(n.r, 3));
    w.step(w.op(Form::times, b.number(k), b.numbers(n.b, 3, false)));
    b.result(n.r, 3);
}

void explain_normalize(const Calculation& c, Working& w) {
    Builder b{w};
    Numbers n(c);
    Val len = b.length(b.V1(), n.a);
    if (len.f == 0.0) return w.words("no direction: V1 is zero, so V3 = (0, 0, 1)");
    for (int i = 0; i < 3; ++i) n.r[i].x = n.a[i].x.c / len.x;
    b.clause(w.op(Form::divide, b.V1(), w.op(Form::abs, b.V1())), all_exact(n.r, 3));
    w.step(w.op(Form::fraction, b.numbers(n.a, 3, false), b.number(len)));
    b.result(n.r, 3);
}

void explain_length(const Calculation& c, Working& w) {
    Builder b{w};
    b.length(b.V1(), Numbers(c).a);
}

Working explain(const Calculation& c) {
    Working w;
    if (const Command* record = find_command(c.command)) record->explain(c, w);
    return w;
}
