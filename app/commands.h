// The calculator's commands, one record each: everything the dispatch, the
// arithmetic, the working, Show calculation and the page's layout know of
// a command. A new command is a record here and its button in
// res/main_dlg.rc.
#pragma once

#include <cstddef>

#include "app/control_ids.h"
#include "vectext/vector3.h"
#include "working/working.h"

// A calculator command worked out: what it read (V1 and V2 as vectors, S1
// as a scalar; zero where the command reads none) and what it wrote to V3
// or S2. `command` is 0 for none.
struct Calculation {
    unsigned command = 0;
    Vector3 a, b;  // V1 and V2 as read
    float s = 0.0f;  // S1 as read
    Vector3 vector;  // what goes to V3
    float scalar = 0.0f;  // what goes to S2
};

// What Show calculation draws in the view's second and third rows (the
// first is always V1).
enum class Shown : unsigned char {
    unused,
    v2,
    v2_from_v1,      // V2 from V1's tip: tip to tail
    result,          // V3 from the origin
    result_from_v2,  // V3 from V2's tip to V1's
    projection,      // V1 projected onto V2
};

struct Command {
    unsigned id;
    const char* button;  // the template's text
    bool reads_v2, reads_s1, scalar_result;
    // The arithmetic, bit for bit as the button computes it: from the
    // inputs in `c` into its result.
    void (*compute)(Calculation& c);
    // The working: its clauses, from the inputs and the result.
    void (*explain)(const Calculation& c, Working& w);
    Shown second, third;
};

extern const Command COMMANDS[];
extern const size_t COMMAND_COUNT;

// The record of command `id`, or nullptr for an identifier that names no
// calculator command.
const Command* find_command(unsigned id);

// Calculator command `command` on these inputs, bit for bit as its button
// computes it; a Calculation with command 0 for any other identifier.
// Reads and writes nothing.
Calculation calculate(unsigned command, Vector3 a, Vector3 b, float s);

// The working of a calculation: clause by clause, the formula with the
// operands put in, the exact value where it fits, and the decimal as the
// fields write it; no clause before any command.
Working explain(const Calculation& c);
