// What app/ shares inside itself and no host calls: the field reads and
// writes every command makes, the step that runs a calculator command on
// the fields, Redraw, and the working's text builder.
#pragma once

#include <string>

#include "app/app.h"

// Reads field `id` into field_buffer and returns field_buffer.
const char* read_field(const FieldAccess& fields, int id);
void write_field(const FieldAccess& fields, int id, const char* text);

// Reads a vector field and writes its canonical text straight back,
// before any other field is read.
Vector3 take_vector(const FieldAccess& fields, int id);

// Reads the fields calculator command `command` reads, calculates, writes
// its result into V3 or S2, and keeps it as last_calculation. An
// identifier that names no calculator command reads nothing and gives a
// Calculation whose command is 0.
Calculation run_calculation(const FieldAccess& fields, unsigned command);

// Hands the three view rows to the view's vector slots.
void command_redraw(const FieldAccess& fields);

// The working of a calculation whose results are in, in UTF-8: clause by
// clause, the formula with the operands put in, the exact value where it
// fits, and the decimal as the fields write it; "" for none.
std::string calculation_working(const Calculation& c);
