// A calculator command on the dialog's fields: the thin step round
// `calculate` that reads what the command's record says it reads, writes
// its result where the record says, and keeps the calculation as the last.

#include "app/app.h"
#include "app/internal.h"
#include "vectext/vectext.h"

namespace {

Calculation last;

}  // namespace

const Calculation& last_calculation() { return last; }

std::string working_text(const Calculation& c) { return plain_text(explain(c)); }

// V1, then V2, each written back before the next read; S1 is read but
// never rewritten. What a command does not read stays zero.
Calculation run_calculation(const FieldAccess& fields, unsigned command) {
    const Command* record = find_command(command);
    if (!record) return {};
    Vector3 a = take_vector(fields, ID_V1), b;
    float s = 0.0f;
    if (record->reads_v2) b = take_vector(fields, ID_V2);
    if (record->reads_s1) s = parse_scalar(read_field(fields, ID_S1));
    Calculation c = calculate(command, a, b, s);
    write_result(fields, c);
    set_last_calculation(fields, c);
    return c;
}

FieldText result_text(const Calculation& c) {
    return find_command(c.command)->scalar_result ? format_scalar(c.scalar) : format_vector(c.vector);
}

void write_result(const FieldAccess& fields, const Calculation& c) {
    write_field(fields, find_command(c.command)->scalar_result ? ID_S2 : ID_V3, result_text(c).text);
}

// The result field explains itself; the other's working is stale.
void set_last_calculation(const FieldAccess& fields, const Calculation& c) {
    last = c;
    if (!fields.set_tip) return;
    const Command* record = find_command(c.command);
    bool scalar = record && record->scalar_result;
    fields.set_tip(fields.host, scalar ? ID_S2 : ID_V3, record ? working_text(c).c_str() : "");
    fields.set_tip(fields.host, scalar ? ID_V3 : ID_S2, "");
}

void use_result(const FieldAccess& fields) {
    const Command* record = find_command(last.command);
    if (!record) return;
    bool scalar = record->scalar_result;
    write_field(fields, scalar ? ID_S1 : ID_V1, read_field(fields, scalar ? ID_S2 : ID_V3));
}
