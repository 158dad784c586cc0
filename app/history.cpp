// Steps and their undoing. A step runs through a FieldAccess of its own
// that passes every call on and notes, for each field and box the step
// writes, what it held before and after; a step that draws notes the
// view's rows and camera too. Undo puts back the befores, Redo the afters,
// and the last calculation with them: typing between steps stays as it is
// wherever a step did not write.

#include <cstring>

#include "app/internal.h"
#include "app/worksheet.h"
#include "vectext/vectext.h"
#include "view/view.h"

namespace {

// What a step can write: the calculator's five fields and the rows' nine,
// each in a slot of its own, and the rows' three boxes.
constexpr int TEXTS = 14, BOXES = 3;
int text_slot(int id) {
    if (id >= ID_V1 && id <= ID_S2) return id - ID_V1;
    int row = (id - ID_ROW_VECTOR) / ROW_STRIDE, k = (id - ID_ROW_VECTOR) % ROW_STRIDE;
    return id >= ID_ROW_VECTOR && row < 3 && k < 3 ? 5 + row * 3 + k : -1;
}
int text_id(int slot) { return slot < 5 ? ID_V1 + slot : ID_ROW_VECTOR + (slot - 5) / 3 * ROW_STRIDE + (slot - 5) % 3; }

struct ViewRows {
    std::vector<VectorSlot> slots;
    Vector3 eye_dir;
    float eye_distance = 0.0f;
};

struct Step {
    std::string before[TEXTS], after[TEXTS];
    uint32_t texts = 0;  // a bit a slot written
    bool box_before[BOXES] = {}, box_after[BOXES] = {};
    unsigned boxes = 0;
    bool drew = false;
    ViewRows view_before, view_after;
    Calculation calc_before, calc_after;
};

// The steps kept, a ring of the last UNDO_DEPTH: `count` of them from
// `oldest`, the first `done` done, the rest to be redone. Made at the
// first step: a static array of strings would sit in the program's file.
Step* ring = nullptr;
size_t oldest = 0, count = 0, done = 0;

Step& kept(size_t k) {
    if (!ring) ring = new Step[UNDO_DEPTH];
    return ring[(oldest + k) % UNDO_DEPTH];
}

struct Recording {
    const FieldAccess* host;
    Step* step;
};

void note_read(void* r, int id, char* buffer, int size) {
    const FieldAccess& f = *static_cast<Recording*>(r)->host;
    f.read(f.host, id, buffer, size);
}

// A field's first write in the step notes what it held.
void note_write(void* r, int id, const char* text) {
    Recording& rec = *static_cast<Recording*>(r);
    const FieldAccess& f = *rec.host;
    int slot = text_slot(id);
    if (slot >= 0) {
        if (!(rec.step->texts >> slot & 1)) {
            char before[FIELD_BUFFER_SIZE] = "";
            f.read(f.host, id, before, FIELD_BUFFER_SIZE);
            before[FIELD_BUFFER_SIZE - 1] = '\0';
            rec.step->before[slot] = before;
            rec.step->texts |= 1u << slot;
        }
        rec.step->after[slot] = text;
    }
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
    int box = (id - ID_ROW_INVERSE) / ROW_STRIDE;
    if (box >= 0 && box < BOXES && (id - ID_ROW_INVERSE) % ROW_STRIDE == 0) {
        if (!(rec.step->boxes >> box & 1)) rec.step->box_before[box] = f.is_checked(f.host, id);
        rec.step->boxes |= 1u << box;
        rec.step->box_after[box] = checked;
    }
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
// step drops what could have been redone, and past the depth the oldest.
template <class Body>
void as_step(const FieldAccess& fields, bool draws, Body body) {
    count = done;
    if (count == UNDO_DEPTH) oldest = (oldest + 1) % UNDO_DEPTH, --count;
    Step& step = kept(count);
    step.texts = step.boxes = 0;
    step.drew = draws;
    step.calc_before = last_calculation();
    if (draws) step.view_before = view_rows();
    Recording rec{&fields, &step};
    FieldAccess noting{&rec,         note_read,   note_write, note_is_checked, note_repaint,
                       note_set_checked, note_copy, note_tip};
    body(noting);
    step.calc_after = last_calculation();
    if (draws) step.view_after = view_rows();
    done = ++count;
}

void put_view(const FieldAccess& fields, const ViewRows& rows) {
    view_state.slots = rows.slots;
    view_state.eye_dir = rows.eye_dir;
    view_state.eye_distance = rows.eye_distance;
    fields.request_repaint(fields.host);
}

// A step's befores (Undo) or afters (Redo) back in place.
void put_back(const FieldAccess& fields, const Step& s, bool after) {
    for (int i = 0; i < TEXTS; ++i)
        if (s.texts >> i & 1) write_field(fields, text_id(i), (after ? s.after[i] : s.before[i]).c_str());
    for (int i = 0; i < BOXES; ++i)
        if (s.boxes >> i & 1 && fields.set_checked)
            fields.set_checked(fields.host, ID_ROW_INVERSE + i * ROW_STRIDE, after ? s.box_after[i] : s.box_before[i]);
    if (s.drew) put_view(fields, after ? s.view_after : s.view_before);
    set_last_calculation(fields, after ? s.calc_after : s.calc_before);
}

void copy(const FieldAccess& fields, const std::string& text) {
    if (fields.copy_text && !text.empty()) fields.copy_text(fields.host, text.c_str());
}

}  // namespace

void forget_steps() { oldest = count = done = 0; }

bool can_undo() { return done > 0; }
bool can_redo() { return done < count; }

bool nothing_to_do(unsigned command) {
    return (command == ID_UNDO && !can_undo()) || (command == ID_REDO && !can_redo());
}

bool run_step(const FieldAccess& fields, unsigned id) {
    switch (id) {
        case ID_UNDO:
            if (done) put_back(fields, kept(--done), false);
            return true;
        case ID_REDO:
            if (done < count) put_back(fields, kept(done++), true);
            return true;
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
        write_result(f, c);
        set_last_calculation(f, c);
        draw_calculation(f, c);
    });
    return true;
}
