// The eight calculator commands' records and their arithmetic. Each
// component is worked out in double, where products and squares of floats
// are exact, and rounded to float once; DotProduct and Normalize round
// where noted. The workings are app/explain.cpp's.

#include "app/commands.h"

#include <cmath>
#include <iterator>

#include "app/internal.h"

namespace {

float rounded(double d) { return static_cast<float>(d); }

float length_of(Vector3 a) {
    double x = a.x, y = a.y, z = a.z;
    return rounded(std::sqrt((x * x + y * y) + z * z));
}

void add(Calculation& c) {
    const Vector3 &a = c.a, &b = c.b;
    c.vector = {rounded(double(a.x) + b.x), rounded(double(a.y) + b.y), rounded(double(a.z) + b.z)};
}

void sub(Calculation& c) {
    const Vector3 &a = c.a, &b = c.b;
    c.vector = {rounded(double(a.x) - b.x), rounded(double(a.y) - b.y), rounded(double(a.z) - b.z)};
}

void cross_product(Calculation& c) {
    const Vector3 &a = c.a, &b = c.b;
    c.vector = {rounded(double(a.y) * b.z - double(a.z) * b.y), rounded(double(a.z) * b.x - double(a.x) * b.z),
                rounded(double(a.x) * b.y - double(a.y) * b.x)};
}

// Accumulated in float, x then y then z, each exact product added to the
// running float before it is rounded.
void dot_product(Calculation& c) {
    const Vector3 &a = c.a, &b = c.b;
    float d = rounded(double(a.x) * b.x);
    d = rounded(d + double(a.y) * b.y);
    c.scalar = rounded(d + double(a.z) * b.z);
}

void mul_scalar(Calculation& c) {
    const Vector3& a = c.a;
    double s = c.s;
    c.vector = {rounded(a.x * s), rounded(a.y * s), rounded(a.z * s)};
}

// True division: a / s, not a * (1 / s).
void div_scalar(Calculation& c) {
    const Vector3& a = c.a;
    double s = c.s;
    c.vector = {rounded(a.x / s), rounded(a.y / s), rounded(a.z / s)};
}

// The length rounded to float first, then divided by; the zero vector's
// direction is +z.
void normalize(Calculation& c) {
    const Vector3& a = c.a;
    double len = length_of(a);
    c.vector = {0.0f, 0.0f, 1.0f};
    if (!(len == 0.0)) c.vector = {rounded(a.x / len), rounded(a.y / len), rounded(a.z / len)};
}

void length(Calculation& c) { c.scalar = length_of(c.a); }

constexpr const char* button(unsigned id) {
    for (const CommandButton& b : COMMAND_BUTTONS)
        if (b.id == id) return b.text;
    return nullptr;
}

}  // namespace

// clang-format off
const Command COMMANDS[] = {
    {ID_ADD, button(ID_ADD), true, false, false, add, explain_add, Shown::v2_from_v1, Shown::result},
    {ID_SUB, button(ID_SUB), true, false, false, sub, explain_sub, Shown::v2, Shown::result_from_v2},
    {ID_CROSS_PRODUCT, button(ID_CROSS_PRODUCT), true, false, false, cross_product, explain_cross_product,
     Shown::v2, Shown::result},
    {ID_DOT_PRODUCT, button(ID_DOT_PRODUCT), true, false, true, dot_product, explain_dot_product,
     Shown::v2, Shown::projection},
    {ID_MUL_SCALAR, button(ID_MUL_SCALAR), false, true, false, mul_scalar, explain_mul_scalar,
     Shown::unused, Shown::result},
    {ID_DIV_SCALAR, button(ID_DIV_SCALAR), false, true, false, div_scalar, explain_div_scalar,
     Shown::unused, Shown::result},
    {ID_NORMALIZE, button(ID_NORMALIZE), false, false, false, normalize, explain_normalize,
     Shown::unused, Shown::result},
    {ID_LENGTH, button(ID_LENGTH), false, false, true, length, explain_length, Shown::unused, Shown::unused},
};
// clang-format on
const size_t COMMAND_COUNT = std::size(COMMANDS);

const Command* find_command(unsigned id) {
    for (const Command& c : COMMANDS)
        if (c.id == id) return &c;
    return nullptr;
}

Calculation calculate(unsigned command, Vector3 a, Vector3 b, float s) {
    Calculation c;
    const Command* record = find_command(command);
    if (!record) return c;
    c.command = command;
    c.a = a;
    c.b = b;
    c.s = s;
    record->compute(c);
    return c;
}
