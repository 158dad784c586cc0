// Show calculation: the last calculator command drawn in the view, its
// operands and result in the three rows, and its working as text. Works
// over FieldAccess like every command; the hosts only call it.

#include <cmath>
#include <string>

#include "app/app.h"
#include "vectext/vectext.h"

Calculation last_calculation;

namespace {

// The rows' colours: V1 orange, V2 violet, the result teal.
const char* const V1_COLOR = "230 120 0";
const char* const V2_COLOR = "130 0 200";
const char* const RESULT_COLOR = "0 150 150";
const char* const NONE = "0 0 0";

struct Row {
    std::string vector, offset;
    const char* color;
};

Row unused() { return {NONE, NONE, NONE}; }

// P = (d / n) V2, the projection of V1 onto V2; zero where V2 is.
Vector3 projection(Vector3 a, Vector3 b) {
    double d = (double(a.x) * b.x + double(a.y) * b.y) + double(a.z) * b.z;
    double n = (double(b.x) * b.x + double(b.y) * b.y) + double(b.z) * b.z;
    if (n == 0.0) return {};
    double k = d / n;
    return {float(k * b.x), float(k * b.y), float(k * b.z)};
}

void put_row(const FieldAccess& fields, int row, const Row& r) {
    int step = row * ROW_STRIDE;
    write_field(fields, ID_ROW_VECTOR + step, r.vector.c_str());
    write_field(fields, ID_ROW_OFFSET + step, r.offset.c_str());
    write_field(fields, ID_ROW_COLOR + step, r.color);
    if (fields.set_checked) fields.set_checked(fields.host, ID_ROW_INVERSE + step, false);
}

}  // namespace

void show_calculation(const FieldAccess& fields) {
    const Calculation& c = last_calculation;
    std::string v1, v2;
    if (c.command != 0 && run_command(fields, c.command)) {
        v1 = format_vector(c.a).text;
        v2 = format_vector(c.b).text;
    } else {
        // Nothing run yet: the two inputs, read as a command reads them.
        v1 = format_vector(take_vector(fields, ID_V1)).text;
        v2 = format_vector(take_vector(fields, ID_V2)).text;
    }
    std::string result = format_vector(c.vector).text;
    Row rows[3] = {{v1, NONE, V1_COLOR}, {v2, NONE, V2_COLOR}, unused()};
    switch (c.command) {
        case ID_ADD:  // tip to tail
            rows[1].offset = v1;
            rows[2] = {result, NONE, RESULT_COLOR};
            break;
        case ID_SUB:  // from V2's tip to V1's
            rows[2] = {result, v2, RESULT_COLOR};
            break;
        case ID_CROSS_PRODUCT: rows[2] = {result, NONE, RESULT_COLOR}; break;
        case ID_DOT_PRODUCT: rows[2] = {format_vector(projection(c.a, c.b)).text, NONE, RESULT_COLOR}; break;
        case ID_MUL_SCALAR:
        case ID_DIV_SCALAR:
        case ID_NORMALIZE:
            rows[1] = unused();
            rows[2] = {result, NONE, RESULT_COLOR};
            break;
        case ID_LENGTH: rows[1] = unused(); break;
        default: break;
    }
    for (int row = 0; row < 3; ++row) put_row(fields, row, rows[row]);
    command_redraw(fields);
}

namespace {

std::string num(float f) { return format_scalar(f).text; }

// A factor in a product: negative numbers in brackets, so "2·(-3)".
std::string factor(float f) {
    std::string t = num(f);
    return t[0] == '-' ? "(" + t + ")" : t;
}

std::string triple(const std::string& x, const std::string& y, const std::string& z) {
    return "(" + x + ", " + y + ", " + z + ")";
}

std::string triple(Vector3 v) { return triple(num(v.x), num(v.y), num(v.z)); }

// Componentwise: (a.x op b.x, ...).
std::string each(Vector3 a, const char* op, Vector3 b) {
    return triple(factor(a.x) + op + factor(b.x), factor(a.y) + op + factor(b.y), factor(a.z) + op + factor(b.z));
}

std::string each(Vector3 a, const char* op, float s) { return each(a, op, Vector3{s, s, s}); }

std::string squares(Vector3 a) { return factor(a.x) + "² + " + factor(a.y) + "² + " + factor(a.z) + "²"; }

double sum_of_squares(Vector3 a) {
    double x = a.x, y = a.y, z = a.z;
    return (x * x + y * y) + z * z;
}

const char* const MINUS = " \u2212 ";
constexpr double DEGREES_PER_RADIAN = 57.295779513082320877;

}  // namespace

std::string calculation_working(const Calculation& c) {
    Vector3 a = c.a, b = c.b;
    switch (c.command) {
        case ID_ADD: return "V1 + V2 = " + each(a, " + ", b) + " = " + triple(c.vector);
        case ID_SUB: return "V1 \u2212 V2 = " + each(a, MINUS, b) + " = " + triple(c.vector);
        case ID_CROSS_PRODUCT: {
            auto term = [](float p, float q, float r, float s) {
                return factor(p) + "\u00b7" + factor(q) + MINUS + factor(r) + "\u00b7" + factor(s);
            };
            return "V1 \u00d7 V2 = " + triple(term(a.y, b.z, a.z, b.y), term(a.z, b.x, a.x, b.z), term(a.x, b.y, a.y, b.x)) +
                   " = " + triple(c.vector);
        }
        case ID_DOT_PRODUCT: {
            std::string text = "V1 \u00b7 V2 = " + factor(a.x) + "\u00b7" + factor(b.x) + " + " + factor(a.y) + "\u00b7" +
                               factor(b.y) + " + " + factor(a.z) + "\u00b7" + factor(b.z) + " = " + num(c.scalar);
            double na = sum_of_squares(a), nb = sum_of_squares(b);
            if (na == 0.0 || nb == 0.0) return text + "; no angle: " + (na == 0.0 ? "V1" : "V2") + " is zero";
            double d = (double(a.x) * b.x + double(a.y) * b.y) + double(a.z) * b.z;
            double cosine = std::fmax(-1.0, std::fmin(1.0, d / std::sqrt(na * nb)));
            return text + "; the angle between V1 and V2 is " + num(float(std::acos(cosine) * DEGREES_PER_RADIAN)) + "\u00b0";
        }
        case ID_MUL_SCALAR: return "V1 \u00b7 S1 = " + each(a, "\u00b7", c.s) + " = " + triple(c.vector);
        case ID_DIV_SCALAR: return "V1 / S1 = " + each(a, " / ", c.s) + " = " + triple(c.vector);
        case ID_NORMALIZE: {
            double n = sum_of_squares(a);
            return "|V1|\u00b2 = " + squares(a) + " = " + num(float(n)) + ", |V1| = \u221a" + num(float(n)) + " = " +
                   num(float(std::sqrt(n))) + "; V1 / |V1| = " + triple(c.vector);
        }
        case ID_LENGTH: {
            double n = sum_of_squares(a);
            return "|V1|\u00b2 = " + squares(a) + " = " + num(float(n)) + ", |V1| = \u221a" + num(float(n)) + " = " +
                   num(c.scalar);
        }
        default: return "";
    }
}
