// The session's memory beyond the fields: the worksheet, every calculation
// kept in order (oldest first, the oldest let go past WORKSHEET_CAP), and
// the steps that can be undone and redone. Each host runs every command
// of its controls, menus and keys through run_step, which keeps both, in
// place of run_command.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/app.h"

constexpr size_t WORKSHEET_CAP = 1000;
constexpr size_t UNDO_DEPTH = 200;

// run_command's commands as steps: each calculator command, Use result,
// Show calculation and Redraw can be undone; a calculator command (and a
// Show calculation that calculated anew) adds an entry. Also Undo, Redo,
// Copy worksheet (plain and LaTeX) and Clear worksheet. False for an
// identifier that names no command.
bool run_step(const FieldAccess& fields, unsigned id);

// Recall of entry `index`: its inputs as it read them and its result back
// in their fields, drawn as Show calculation draws, and made the last
// calculation. One step; false where there is no such entry.
bool recall(const FieldAccess& fields, size_t index);

bool can_undo();
bool can_redo();
// Whether a menu item has nothing to do now, and is shown greyed: Undo
// and Redo with nothing to undo or redo.
bool nothing_to_do(unsigned command);

// The entries, oldest first (0 the oldest kept), and a count of the
// worksheet's changes (each entry added and each Clear, never going back)
// for worksheet_news.
size_t entry_count();
const Calculation& entry(size_t index);
size_t worksheet_changes();
void clear_worksheet();
// An entry's number counts from the first since Clear and stays its own
// when older ones go: a host's list lets its oldest rows go and adds the
// new ones, and renumbers nothing.
size_t entry_number(size_t index);

// What a host's list of the entries lacks since it last looked, `seen`
// being worksheet_changes() then (brought up to date here; 0 before it
// ever looked): whether a Clear came between, after which nothing it
// showed before stays; how many of its oldest rows have gone past the cap
// (`dropped`); and the newest `fresh` entries to add. Hosts look after
// every command.
struct WorksheetNews {
    size_t fresh;
    size_t dropped;
    bool cleared;
};
WorksheetNews worksheet_news(size_t& seen);

// Entry `index` as a line: its number, the command, the inputs it read and
// its result in field texts ("3. CrossProduct of V1 = 1 2 3, V2 = 4 5 6:
// V3 = -3 6 -3").
std::string entry_line(size_t index);
// Its line and its working on one row, as the desktop windows list it.
std::string entry_row(size_t index);
// Every entry: its line, then its working as Copy working gives it, a
// blank line between entries.
std::string worksheet_text();
// The same as a LaTeX fragment (an enumerate list) for an article with
// amsmath.
std::string worksheet_latex();

// The worksheet as a text to keep and read back (the page keeps it in the
// browser's storage): the first entry's number where the oldest have gone,
// then each entry's command and inputs, exactly; results are worked out
// again. A text that is not one of these (edited by hand,
// another version) is refused whole, and the worksheet left as it was.
std::string save_worksheet();
bool load_worksheet(const char* text);
