// What app/ shares inside itself and no host calls: the field reads and
// writes every command makes, the step that runs a calculator command on
// the fields, Redraw, and each command's working.
#pragma once

#include <string>

#include "app/app.h"
#include "vectext/vectext.h"

// Reads field `id` into field_buffer and returns field_buffer.
const char* read_field(const FieldAccess& fields, int id);
void write_field(const FieldAccess& fields, int id, const char* text);

// Reads a vector field and writes its canonical text straight back,
// before any other field is read.
Vector3 take_vector(const FieldAccess& fields, int id);

// Reads the fields calculator command `command` reads, calculates, writes
// its result into V3 or S2, and keeps it as the last calculation. An
// identifier that names no calculator command reads nothing and gives a
// Calculation whose command is 0.
Calculation run_calculation(const FieldAccess& fields, unsigned command);

// A calculation's result as its field (V3, or S2 for a scalar) writes it;
// write_result writes it there.
FieldText result_text(const Calculation& c);
void write_result(const FieldAccess& fields, const Calculation& c);

// Makes `c` the last calculation, as Recall and Undo do, and gives the
// result fields the tooltips it would have had.
void set_last_calculation(const FieldAccess& fields, const Calculation& c);

// Show calculation's rows for `c`, Redraw and the framing, without
// running anything.
void draw_calculation(const FieldAccess& fields, const Calculation& c);

// Nothing left to undo or redo, as in a new session: the tests' start.
void forget_steps();

// A new entry of the worksheet, the newest.
void add_to_worksheet(const Calculation& c);

// The plain text of a calculation's working, as Copy working gives it.
std::string working_text(const Calculation& c);

// Hands the three view rows to the view's vector slots.
void command_redraw(const FieldAccess& fields);

// Each command's working, for its record in app/commands.cpp.
void explain_add(const Calculation& c, Working& w);
void explain_sub(const Calculation& c, Working& w);
void explain_cross_product(const Calculation& c, Working& w);
void explain_dot_product(const Calculation& c, Working& w);
void explain_mul_scalar(const Calculation& c, Working& w);
void explain_div_scalar(const Calculation& c, Working& w);
void explain_normalize(const Calculation& c, Working& w);
void explain_length(const Calculation& c, Working& w);
