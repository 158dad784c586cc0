// Show calculation: the last calculator command drawn in the view, its
// operands and result in the three rows, as its record says. Works over
// FieldAccess like every command; the hosts only call it.

#include <string>

#include "app/app.h"
#include "app/internal.h"
#include "vectext/vectext.h"
#include "view/host.h"

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

// What a row shows: `shown` of the calculation `c`.
Row row_of(Shown shown, const Calculation& c) {
    std::string v1 = format_vector(c.a).text, v2 = format_vector(c.b).text, result = format_vector(c.vector).text;
    switch (shown) {
        case Shown::v2: return {v2, NONE, V2_COLOR};
        case Shown::v2_from_v1: return {v2, v1, V2_COLOR};
        case Shown::result: return {result, NONE, RESULT_COLOR};
        case Shown::result_from_v2: return {result, v2, RESULT_COLOR};
        case Shown::projection: return {format_vector(projection(c.a, c.b)).text, NONE, RESULT_COLOR};
        default: return unused();
    }
}

}  // namespace

void show_calculation(const FieldAccess& fields) {
    Calculation c = run_calculation(fields, last_calculation().command);
    if (!c.command) {
        // Nothing run yet: the two inputs, read as a command reads them.
        c.a = take_vector(fields, ID_V1);
        c.b = take_vector(fields, ID_V2);
    }
    draw_calculation(fields, c);
}

void draw_calculation(const FieldAccess& fields, const Calculation& c) {
    const Command* record = find_command(c.command);
    Row rows[3] = {{format_vector(c.a).text, NONE, V1_COLOR}, row_of(record ? record->second : Shown::v2, c),
                   row_of(record ? record->third : Shown::unused, c)};
    for (int row = 0; row < 3; ++row) put_row(fields, row, rows[row]);
    command_redraw(fields);
    // The picture framed: drawn once, by the paint Redraw asked for.
    int width = 0, height = 0;
    get_client_size(view_state, width, height);
    frame_camera(view_state, width, height);
}
