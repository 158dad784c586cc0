// The eight calculator commands. Each component is worked out in double,
// where products and squares of floats are exact, and rounded to float
// once; DotProduct and Normalize round where noted.

#include <cmath>

#include "app/app.h"
#include "vectext/vectext.h"

namespace {

// Each operand and result is also kept as the last calculation's.
Vector3 take_v1(const FieldAccess& fields) { return last_calculation.a = take_vector(fields, ID_V1); }
Vector3 take_v2(const FieldAccess& fields) { return last_calculation.b = take_vector(fields, ID_V2); }

// S1 is read but never rewritten.
float take_scalar(const FieldAccess& fields) { return last_calculation.s = parse_scalar(read_field(fields, ID_S1)); }

void put_vector(const FieldAccess& fields, Vector3 v) {
    last_calculation.vector = v;
    write_field(fields, ID_V3, format_vector(v).text);
}

void put_scalar(const FieldAccess& fields, float s) {
    last_calculation.scalar = s;
    write_field(fields, ID_S2, format_scalar(s).text);
}

float rounded(double d) { return static_cast<float>(d); }

float length_of(Vector3 a) {
    double x = a.x, y = a.y, z = a.z;
    return rounded(std::sqrt((x * x + y * y) + z * z));
}

}  // namespace

void command_add(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    Vector3 b = take_v2(fields);
    put_vector(fields, {rounded(double(a.x) + b.x), rounded(double(a.y) + b.y), rounded(double(a.z) + b.z)});
}

void command_sub(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    Vector3 b = take_v2(fields);
    put_vector(fields, {rounded(double(a.x) - b.x), rounded(double(a.y) - b.y), rounded(double(a.z) - b.z)});
}

void command_cross_product(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    Vector3 b = take_v2(fields);
    put_vector(fields, {rounded(double(a.y) * b.z - double(a.z) * b.y),
                        rounded(double(a.z) * b.x - double(a.x) * b.z),
                        rounded(double(a.x) * b.y - double(a.y) * b.x)});
}

void command_dot_product(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    Vector3 b = take_v2(fields);
    // Accumulated in float, x then y then z, each exact product added to
    // the running float before it is rounded.
    float d = rounded(double(a.x) * b.x);
    d = rounded(d + double(a.y) * b.y);
    d = rounded(d + double(a.z) * b.z);
    put_scalar(fields, d);
}

void command_mul_scalar(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    double s = take_scalar(fields);
    put_vector(fields, {rounded(a.x * s), rounded(a.y * s), rounded(a.z * s)});
}

void command_div_scalar(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    double s = take_scalar(fields);
    // True division: a / s, not a * (1 / s).
    put_vector(fields, {rounded(a.x / s), rounded(a.y / s), rounded(a.z / s)});
}

void command_normalize(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    double len = length_of(a);  // rounded to float first, then divided by
    Vector3 r{0.0f, 0.0f, 1.0f};
    if (!(len == 0.0)) r = {rounded(a.x / len), rounded(a.y / len), rounded(a.z / len)};
    put_vector(fields, r);
}

void command_length(const FieldAccess& fields) {
    Vector3 a = take_v1(fields);
    put_scalar(fields, length_of(a));
}

bool run_command(const FieldAccess& fields, unsigned id) {
    void (*command)(const FieldAccess&) = nullptr;
    switch (id) {
        case ID_ADD: command = command_add; break;
        case ID_SUB: command = command_sub; break;
        case ID_CROSS_PRODUCT: command = command_cross_product; break;
        case ID_DOT_PRODUCT: command = command_dot_product; break;
        case ID_MUL_SCALAR: command = command_mul_scalar; break;
        case ID_DIV_SCALAR: command = command_div_scalar; break;
        case ID_NORMALIZE: command = command_normalize; break;
        case ID_LENGTH: command = command_length; break;
        case ID_REDRAW: command_redraw(fields); return true;
        case ID_SHOW_CALCULATION: show_calculation(fields); return true;
        default: return false;
    }
    last_calculation = Calculation{};
    last_calculation.command = id;
    command(fields);
    return true;
}
