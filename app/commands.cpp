// The eight calculator commands: `calculate` works a command out from its
// inputs alone, and `run_calculation` is the thin step around it that reads
// the fields the command reads and writes its result. Each component is
// worked out in double, where products and squares of floats are exact,
// and rounded to float once; DotProduct and Normalize round where noted.

#include <cmath>

#include "app/app.h"
#include "app/internal.h"
#include "vectext/vectext.h"
#include "view/view.h"

Calculation last_calculation;

namespace {

float rounded(double d) { return static_cast<float>(d); }

float length_of(Vector3 a) {
    double x = a.x, y = a.y, z = a.z;
    return rounded(std::sqrt((x * x + y * y) + z * z));
}

// What each command reads besides V1, and where its result goes.
struct CommandShape {
    unsigned id;
    bool reads_v2, reads_s1, scalar_result;
};
const CommandShape SHAPES[] = {
    {ID_ADD, true, false, false},      {ID_SUB, true, false, false},        {ID_CROSS_PRODUCT, true, false, false},
    {ID_DOT_PRODUCT, true, false, true}, {ID_MUL_SCALAR, false, true, false}, {ID_DIV_SCALAR, false, true, false},
    {ID_NORMALIZE, false, false, false}, {ID_LENGTH, false, false, true},
};

const CommandShape* shape_of(unsigned id) {
    for (const CommandShape& s : SHAPES)
        if (s.id == id) return &s;
    return nullptr;
}

}  // namespace

bool is_calculator_command(unsigned id) { return shape_of(id) != nullptr; }

bool has_scalar_result(unsigned id) {
    const CommandShape* s = shape_of(id);
    return s && s->scalar_result;
}

Calculation calculate(unsigned command, Vector3 a, Vector3 b, float s) {
    Calculation c;
    if (!is_calculator_command(command)) return c;
    c.command = command;
    c.a = a;
    c.b = b;
    c.s = s;
    Vector3& r = c.vector;
    switch (command) {
        case ID_ADD: r = {rounded(double(a.x) + b.x), rounded(double(a.y) + b.y), rounded(double(a.z) + b.z)}; break;
        case ID_SUB: r = {rounded(double(a.x) - b.x), rounded(double(a.y) - b.y), rounded(double(a.z) - b.z)}; break;
        case ID_CROSS_PRODUCT:
            r = {rounded(double(a.y) * b.z - double(a.z) * b.y), rounded(double(a.z) * b.x - double(a.x) * b.z),
                 rounded(double(a.x) * b.y - double(a.y) * b.x)};
            break;
        case ID_DOT_PRODUCT: {
            // Accumulated in float, x then y then z, each exact product
            // added to the running float before it is rounded.
            float d = rounded(double(a.x) * b.x);
            d = rounded(d + double(a.y) * b.y);
            c.scalar = rounded(d + double(a.z) * b.z);
            break;
        }
        case ID_MUL_SCALAR: r = {rounded(a.x * double(s)), rounded(a.y * double(s)), rounded(a.z * double(s))}; break;
        case ID_DIV_SCALAR:
            // True division: a / s, not a * (1 / s).
            r = {rounded(a.x / double(s)), rounded(a.y / double(s)), rounded(a.z / double(s))};
            break;
        case ID_NORMALIZE: {
            double len = length_of(a);  // rounded to float first, then divided by
            r = {0.0f, 0.0f, 1.0f};
            if (!(len == 0.0)) r = {rounded(a.x / len), rounded(a.y / len), rounded(a.z / len)};
            break;
        }
        case ID_LENGTH: c.scalar = length_of(a); break;
    }
    c.working = calculation_working(c);
    return c;
}

// V1, then V2, each written back before the next read; S1 is read but
// never rewritten. What a command does not read stays zero.
Calculation run_calculation(const FieldAccess& fields, unsigned command) {
    const CommandShape* shape = shape_of(command);
    if (!shape) return {};
    Vector3 a = take_vector(fields, ID_V1), b;
    float s = 0.0f;
    if (shape->reads_v2) b = take_vector(fields, ID_V2);
    if (shape->reads_s1) s = parse_scalar(read_field(fields, ID_S1));
    last_calculation = calculate(command, a, b, s);
    const Calculation& c = last_calculation;
    int result = shape->scalar_result ? ID_S2 : ID_V3;
    write_field(fields, result, (shape->scalar_result ? format_scalar(c.scalar) : format_vector(c.vector)).text);
    // The result field explains itself; the other's working is stale.
    if (fields.set_tip) {
        fields.set_tip(fields.host, result, c.working.c_str());
        fields.set_tip(fields.host, result == ID_S2 ? ID_V3 : ID_S2, "");
    }
    return c;
}

void use_result(const FieldAccess& fields) {
    unsigned command = last_calculation.command;
    if (!command) return;
    bool scalar = has_scalar_result(command);
    write_field(fields, scalar ? ID_S1 : ID_V1, read_field(fields, scalar ? ID_S2 : ID_V3));
}

bool run_command(const FieldAccess& fields, unsigned id) {
    switch (id) {
        case ID_REDRAW: command_redraw(fields); break;
        case ID_SHOW_CALCULATION: show_calculation(fields); break;
        case ID_COPY_WORKING:
            if (fields.copy_text && !last_calculation.working.empty())
                fields.copy_text(fields.host, last_calculation.working.c_str());
            break;
        case ID_USE_RESULT: use_result(fields); break;
        case ID_RESET_VIEW: reset_camera(view_state); break;  // drawn at once, as Home in the view
        default: return run_calculation(fields, id).command != 0;
    }
    return true;
}
