// Steps and their undoing. A step runs through a FieldAccess of its own
// that passes every call on and notes, for each field and box the step
// writes, what it held before and after; a step that draws notes the
// view's rows and camera too. Undo puts back the befores, Redo the afters,
// and the last calculation with them: typing between steps stays as it is
// wherever a step did not write.

#include <algorithm>
#include <cstring>

#include "app/internal.h"
#include "app/worksheet.h"
#include "vectext/vectext.h"
#include "view/view.h"

namespace {

struct FieldChange {
    int id;
    std::string before, after;
};

struct BoxChange {
    int id;
    bool before, after;
};

struct ViewRows {
    std::vector<VectorSlot> slots;
    Vector3 eye_dir;
    float eye_distance = 0.0f;
};

struct Step {
    std::vector<FieldChange> fields;
    std::vector<BoxChange> boxes;
    bool drew = false;
    ViewRows view_before, view_after;
    Calculation calc_before, calc_after;
};

// Undoable steps, oldest first; those at `done` and past it can be redone.
std::vector<Step> steps;
size_t done = 0;

struct Recording {
    const FieldAccess* host;
    Step* step;
};

void note_read(void* r, int id, char* buffer, int size) {
    const FieldAccess& f = *static_cast<Recording*>(r)->host;
    f.read(f.host, id, buffer, size);
}

void note_write(void* r, int id, const char* text) {
    Recording& rec = *static_cast<Recording*>(r);
    const FieldAccess& f = *rec.host;
    auto it = std::find_if(rec.step->fields.begin(), rec.step->fields.end(), [&](const FieldChange& c) { return c.id == id; });
    if (it == rec.step->fields.end()) {
        char before[FIELD_BUFFER_SIZE] = "";
        f.read(f.host, id, before, FIELD_BUFFER_SIZE);
        before[FIELD_BUFFER_SIZE - 1] = '\0';
        rec.step->fields.push_back({id, before, ""});
        it = rec.step->fields.end() - 1;
    }
    it->after = text;
    f.write(f.host, id, text);
}

bool note_is_checked(void* r, int id) {
    const FieldAccess& f = *static_cast<Recording*>(r)->host;
    return f.is_checked(f.host, id);
}

void note_repaint(void* r) {
    const FieldAccess& f = *static_cast<Recording*>(r)->host;
    f.request_repaint(f.host);
}

void note_set_checked(void* r, int id, bool checked) {
    Recording& rec = *static_cast<Recording*>(r);
    const FieldAccess& f = *rec.host;
    auto it = std::find_if(rec.step->boxes.begin(), rec.step->boxes.end(), [&](const BoxChange& c) { return c.id == id; });
    if (it == rec.step->boxes.end()) {
        rec.step->boxes.push_back({id, f.is_checked(f.host, id), checked});
        it = rec.step->boxes.end() - 1;
    }
    it->after = checked;
    if (f.set_checked) f.set_checked(f.host, id, checked);
}

void note_copy(void* r, const char* text) {
    const FieldAccess& f = *static_cast<Recording*>(r)->host;
    if (f.copy_text) f.copy_text(f.host, text);
}

void note_tip(void* r, int id, const char* text) {
    const FieldAccess& f = *static_cast<Recording*>(r)->host;
    if (f.set_tip) f.set_tip(f.host, id, text);
}

ViewRows view_rows() { return {view_state.slots, view_state.eye_dir, view_state.eye_distance}; }

bool same(const Calculation& a, const Calculation& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Runs `body` over the recording fields as one step, kept for Undo; a new
// step drops what could have been redone.
template <class Body>
void as_step(const FieldAccess& fields, bool draws, Body body) {
    Step step;
    step.calc_before = last_calculation();
    if (draws) step.view_before = view_rows();
    Recording rec{&fields, &step};
    FieldAccess noting{&rec,         note_read,   note_write, note_is_checked, note_repaint,
                       note_set_checked, note_copy, note_tip};
    body(noting);
    step.calc_after = last_calculation();
    step.drew = draws;
    if (draws) step.view_after = view_rows();
    steps.erase(steps.begin() + long(done), steps.end());
    if (steps.size() == UNDO_DEPTH) steps.erase(steps.begin());
    steps.push_back(std::move(step));
    done = steps.size();
}

void put_view(const FieldAccess& fields, const ViewRows& rows) {
    view_state.slots = rows.slots;
    view_state.eye_dir = rows.eye_dir;
    view_state.eye_distance = rows.eye_distance;
    fields.request_repaint(fields.host);
}

void undo(const FieldAccess& fields) {
    if (!done) return;
    const Step& s = steps[--done];
    for (auto it = s.fields.rbegin(); it != s.fields.rend(); ++it) write_field(fields, it->id, it->before.c_str());
    for (const BoxChange& b : s.boxes)
        if (fields.set_checked) fields.set_checked(fields.host, b.id, b.before);
    if (s.drew) put_view(fields, s.view_before);
    set_last_calculation(fields, s.calc_before);
}

void redo(const FieldAccess& fields) {
    if (done == steps.size()) return;
    const Step& s = steps[done++];
    for (const FieldChange& c : s.fields) write_field(fields, c.id, c.after.c_str());
    for (const BoxChange& b : s.boxes)
        if (fields.set_checked) fields.set_checked(fields.host, b.id, b.after);
    if (s.drew) put_view(fields, s.view_after);
    set_last_calculation(fields, s.calc_after);
}

void copy(const FieldAccess& fields, const std::string& text) {
    if (fields.copy_text && !text.empty()) fields.copy_text(fields.host, text.c_str());
}

}  // namespace

void forget_steps() {
    steps.clear();
    done = 0;
}

bool can_undo() { return done > 0; }
bool can_redo() { return done < steps.size(); }

bool run_step(const FieldAccess& fields, unsigned id) {
    switch (id) {
        case ID_UNDO: undo(fields); return true;
        case ID_REDO: redo(fields); return true;
        case ID_COPY_WORKSHEET: copy(fields, worksheet_text()); return true;
        case ID_COPY_WORKSHEET_LATEX: copy(fields, worksheet_latex()); return true;
        case ID_CLEAR_WORKSHEET: clear_worksheet(); return true;
        case ID_USE_RESULT:
        case ID_REDRAW:
        case ID_SHOW_CALCULATION: break;
        default:
            if (!find_command(id)) return run_command(fields, id);
    }
    bool ran = false;
    Calculation before = last_calculation();
    as_step(fields, id == ID_REDRAW || id == ID_SHOW_CALCULATION, [&](const FieldAccess& f) { ran = run_command(f, id); });
    // A calculator command adds an entry; Show calculation one only where
    // the fields gave it a calculation of its own.
    const Calculation& now = last_calculation();
    if (find_command(id) || (id == ID_SHOW_CALCULATION && now.command && !same(now, before))) add_to_worksheet(now);
    return ran;
}

bool recall(const FieldAccess& fields, size_t index) {
    if (index >= entry_count()) return false;
    Calculation c = entry(index);
    const Command* record = find_command(c.command);
    as_step(fields, true, [&](const FieldAccess& f) {
        write_field(f, ID_V1, format_vector(c.a).text);
        if (record->reads_v2) write_field(f, ID_V2, format_vector(c.b).text);
        if (record->reads_s1) write_field(f, ID_S1, format_scalar(c.s).text);
        write_field(f, record->scalar_result ? ID_S2 : ID_V3,
                    (record->scalar_result ? format_scalar(c.scalar) : format_vector(c.vector)).text);
        set_last_calculation(f, c);
        draw_calculation(f, c);
    });
    return true;
}
