// app: the calculator dialog's logic, shared by every host. The eight
// calculator commands (one record each, app/commands.h) and Redraw work
// only through FieldAccess, the small table of host operations below; the
// hosts (app/win32, app/fltk, app/web) build the dialog, route its command
// identifiers to run_command and own nothing else. The working's notation
// and printers are working/'s.
#pragma once

#include <string>

#include "app/commands.h"
#include "app/control_ids.h"
#include "vectext/vector3.h"

// How commands reach the dialog's fields. `host` is the host's own handle
// (the dialog window), passed back to each operation.
struct FieldAccess {
    void* host;
    // Copy field `id`'s text into `buffer`, cut to size - 1 chars and
    // NUL-terminated.
    void (*read)(void* host, int id, char* buffer, int size);
    // Replace field `id`'s whole text.
    void (*write)(void* host, int id, const char* text);
    // Whether check box `id` is checked.
    bool (*is_checked)(void* host, int id);
    // Ask for the dialog, the view inside it included, to be repainted
    // once the command has returned.
    void (*request_repaint)(void* host);
    // Check or clear check box `id`: only a scene being opened does.
    void (*set_checked)(void* host, int id, bool checked) = nullptr;
    // Put UTF-8 text on the clipboard: Copy working does.
    void (*copy_text)(void* host, const char* text) = nullptr;
    // Show UTF-8 text as field `id`'s tooltip, "" for none: a result
    // field's is the working of the calculation that wrote it.
    void (*set_tip)(void* host, int id, const char* text) = nullptr;
};

// Every field read lands here and nowhere else: at most 255 chars and a
// NUL. Its content is good only until the next read.
constexpr int FIELD_BUFFER_SIZE = 256;
extern char field_buffer[FIELD_BUFFER_SIZE];

// The dialog's command dispatch: runs the command behind `id` (the low 16
// bits of a command message) and returns true, or returns false for any
// identifier that names no command (IDOK from Enter, field notifications).
// IDCANCEL is the host's to handle: closing is not a command.
bool run_command(const FieldAccess& fields, unsigned id);

// The last calculator command run in this dialog: the one thing the
// calculator remembers beside its fields. Command 0 before any.
const Calculation& last_calculation();

// Puts the last result into the input it came from, V3's text into V1 or
// S2's into S1, and runs nothing; before any calculation, does nothing.
void use_result(const FieldAccess& fields);

// Runs the last calculator command again as its button does (or, before
// any, reads V1 and V2 back as a command would), writes the three view
// rows from its operands and result, clears the Inverse boxes, then runs
// Redraw.
void show_calculation(const FieldAccess& fields);
