// The dialog's commands through run_command, on fourteen fuzzed field
// texts and three check boxes. Input: a command selector byte, a flags
// byte (bits 0-2 the boxes, bit 3 a host that leaves no NUL on long
// texts), then the field texts separated by NUL bytes in the order of
// FIELDS below; missing ones keep their start text.
//
// The fake host cuts each text to 255 characters and fills the rest of the
// buffer with digits, so a read past the cut would change a result. Every
// command must touch its own fields in its order, write back canonical
// fixed points of the values the C library reads from the cut texts,
// leave every other field as it was, and write the result that the core's
// calculate gives for what the C library reads, with a working of bounded
// length. Both hosts compute in SSE2 double, so these are exact bytes, not
// a tolerance.

#include "app/app.h"
#include "tests/fuzz/fuzz_support.h"
#include "view/view.h"

namespace {

constexpr int row(int id, int i) { return id + i * ROW_STRIDE; }

// Far above the longest working (five clauses of exact forms), far below
// a runaway.
constexpr size_t MAX_WORKING = 4096;

const int FIELDS[14] = {ID_V1, ID_V2, ID_S1, ID_V3, ID_S2, ID_ROW_VECTOR, ID_ROW_OFFSET, ID_ROW_COLOR,
                        row(ID_ROW_VECTOR, 1), row(ID_ROW_OFFSET, 1), row(ID_ROW_COLOR, 1),
                        row(ID_ROW_VECTOR, 2), row(ID_ROW_OFFSET, 2), row(ID_ROW_COLOR, 2)};
const char* const START_TEXT[14] = {"0 0 0", "0 0 0", "0", "0 0 0", "0",     "0 0 0", "0 0 0",
                                    "0 0 0", "0 0 0", "0 0 0", "0 0 0", "0 0 0", "0 0 0", "0 0 0"};

const unsigned PRESSED[9] = {ID_ADD,         ID_SUB,         ID_CROSS_PRODUCT, ID_DOT_PRODUCT, ID_MUL_SCALAR,
                              ID_DIV_SCALAR,  ID_NORMALIZE,   ID_LENGTH,        ID_REDRAW};
// Identifiers that name no command: IDOK, IDCANCEL, fields, boxes, the
// view, those just past the last commands.
const unsigned OTHERS[10] = {0, 1, ID_CANCEL, ID_V1, ID_S2, ID_LENGTH + 1, ID_ROW_INVERSE, ID_VIEW, ID_REDRAW + 1,
                             0x10000u + ID_ADD};

int slot_of(int id) {
    for (int i = 0; i < 14; ++i)
        if (FIELDS[i] == id) return i;
    return -1;
}

// One call as the log has it: r(ead), w(rite) or c(heck state) and the
// control, as in "r<id> ".
std::string call(char what, int id) { return what + std::to_string(id) + " "; }

// The command's name, its button's text, for the messages.
const char* name_of(unsigned id) {
    for (const CommandButton& c : COMMAND_BUTTONS)
        if (c.id == id) return c.text;
    return "?";
}

struct Dialog {
    std::string text[14];
    bool checked[3] = {false, false, false};
    bool sloppy = false;   // fills the whole buffer, no NUL, on long texts
    std::string log;       // "r<id> w<id> c<id> p ..." in call order
};

void fake_read(void* host, int id, char* buffer, int size) {
    auto* d = static_cast<Dialog*>(host);
    d->log += call('r', id);
    FUZZ_REQUIRE(buffer == field_buffer && size == FIELD_BUFFER_SIZE, "read into another buffer");
    int slot = slot_of(id);
    FUZZ_REQUIRE(slot >= 0, "read of control " + std::to_string(id));
    const std::string& t = d->text[slot];
    if (d->sloppy && t.size() >= size_t(size - 1)) {
        std::string full = t + std::string(size_t(size), '7');
        std::memcpy(buffer, full.data(), size_t(size));
        return;
    }
    size_t n = std::min(t.size(), size_t(size - 1));
    std::memcpy(buffer, t.data(), n);
    buffer[n] = '\0';
    for (size_t i = n + 1; i < size_t(size); ++i) buffer[i] = (i - n) % 2 ? '7' : ' ';
}

void fake_write(void* host, int id, const char* text) {
    auto* d = static_cast<Dialog*>(host);
    d->log += call('w', id);
    int slot = slot_of(id);
    FUZZ_REQUIRE(slot >= 0, "write to control " + std::to_string(id));
    d->text[slot] = text;
}

bool fake_checked(void* host, int id) {
    auto* d = static_cast<Dialog*>(host);
    d->log += call('c', id);
    int i = (id - ID_ROW_INVERSE) / ROW_STRIDE;
    FUZZ_REQUIRE(i >= 0 && i < 3 && id == row(ID_ROW_INVERSE, i), "check state of control " + std::to_string(id));
    return d->checked[i];
}

void fake_repaint(void* host) { static_cast<Dialog*>(host)->log += "p "; }

// What a field read hands the command: the first 255 characters.
std::string cut(const std::string& t) { return t.substr(0, FIELD_BUFFER_SIZE - 1); }

std::string reference_vector_text(Vector3 v) {
    return reference::write(v.x) + " " + reference::write(v.y) + " " + reference::write(v.z);
}

void require_result(const std::string& text, Vector3 r, const char* what) {
    FUZZ_REQUIRE(text == reference_vector_text(r), std::string(what) + " wrote " + quoted(text) + ", want " +
                                                       reference_vector_text(r));
    require_vector_text(r, text);
}

void require_result(const std::string& text, float r, const char* what) {
    FUZZ_REQUIRE(text == reference::write(r), std::string(what) + " wrote " + quoted(text) + ", want " +
                                                  reference::write(r));
    require_number_text(r, text);
}

struct Expected {
    std::string log;
    bool written[14] = {};
};

void expect_read_back(Expected& e, int id) {
    e.log += call('r', id) + call('w', id);
    e.written[slot_of(id)] = true;
}

// A vector field the command read: back in canonical form, the value the
// C library reads from the cut text.
Vector3 require_read_back(const Dialog& before, const Dialog& after, int id) {
    int slot = slot_of(id);
    Vector3 v = reference::parse_vector(cut(before.text[slot]).c_str());
    const std::string& now = after.text[slot];
    FUZZ_REQUIRE(now == reference_vector_text(v), "field " + std::to_string(id) + " " +
                                                      quoted(before.text[slot]) + " written back as " + quoted(now));
    require_vector_text(v, now);
    require_vector_fixed_point(v, now);
    return v;
}

float reference_scalar(const std::string& text) {
    float s = 0.0f;
    const char* p = text.c_str();
    if (!reference::read_number(p, s)) s = 0.0f;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    unsigned pick = data[0] % 10;
    unsigned id = pick < 9 ? PRESSED[pick] : OTHERS[(data[0] / 10) % 10];
    Dialog d;
    for (int i = 0; i < 3; ++i) d.checked[i] = (data[1] >> i) & 1;
    d.sloppy = (data[1] >> 3) & 1;
    size_t at = 2;
    for (int i = 0; i < 14; ++i) {
        if (at > size) {
            d.text[i] = START_TEXT[i];
            continue;
        }
        const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data + at, 0, size - at));
        size_t n = end ? size_t(end - (data + at)) : size - at;
        d.text[i].assign(reinterpret_cast<const char*>(data + at), n);
        at += n + 1;
    }

    const Dialog before = d;
    view_state.slots.clear();
    FieldAccess fields{&d, fake_read, fake_write, fake_checked, fake_repaint};
    bool ran = run_command(fields, id);

    Expected e;
    const std::string& v3 = d.text[slot_of(ID_V3)];
    const std::string& s2 = d.text[slot_of(ID_S2)];
    switch (id) {
        case ID_REDRAW: {
            FUZZ_REQUIRE(view_state.slots.size() == 3, "Redraw left " + std::to_string(view_state.slots.size()));
            for (int i = 0; i < 3; ++i) {
                expect_read_back(e, row(ID_ROW_VECTOR, i));
                expect_read_back(e, row(ID_ROW_OFFSET, i));
                expect_read_back(e, row(ID_ROW_COLOR, i));
                e.log += call('c', row(ID_ROW_INVERSE, i)) + "p ";
                Vector3 vector = require_read_back(before, d, row(ID_ROW_VECTOR, i));
                Vector3 offset = require_read_back(before, d, row(ID_ROW_OFFSET, i));
                Rgb c = reference_color(cut(before.text[slot_of(row(ID_ROW_COLOR, i))]).c_str());
                require_color_text(c, d.text[slot_of(row(ID_ROW_COLOR, i))]);
                const VectorSlot& s = view_state.slots[size_t(i)];
                std::string where = "slot " + std::to_string(i);
                FUZZ_REQUIRE(same_bits(s.vector, vector) && same_bits(s.offset, offset), where);
                FUZZ_REQUIRE(s.red == c.red && s.green == c.green && s.blue == c.blue, where);
                FUZZ_REQUIRE(s.offset_is_end == (before.checked[i] ? 1 : 0), where);
            }
            break;
        }
        default: {
            const Command* record = find_command(id);
            if (!record) {
                FUZZ_REQUIRE(!ran, "identifier " + std::to_string(id) + " ran a command");
                break;
            }
            // V1, then V2 or S1 where the command reads them, then its
            // result; the core's calculation of what was read is the
            // reference, and its working is bounded.
            expect_read_back(e, ID_V1);
            Vector3 a = require_read_back(before, d, ID_V1), b;
            float s = 0.0f;
            if (record->reads_v2) {
                expect_read_back(e, ID_V2);
                b = require_read_back(before, d, ID_V2);
            } else if (record->reads_s1) {
                e.log += call('r', ID_S1);
                s = reference_scalar(cut(before.text[slot_of(ID_S1)]));
            }
            int result = record->scalar_result ? ID_S2 : ID_V3;
            e.log += call('w', result);
            e.written[slot_of(result)] = true;
            Calculation want = calculate(id, a, b, s);
            if (result == ID_S2)
                require_result(s2, want.scalar, name_of(id));
            else
                require_result(v3, want.vector, name_of(id));
            const Calculation& got = last_calculation();
            FUZZ_REQUIRE(got.command == want.command && same_bits(got.a, want.a) && same_bits(got.b, want.b) &&
                             float_bits(got.s) == float_bits(want.s),
                         "the last calculation is not what was read");
            // Each printer walks the tree; the text is bounded.
            Working w = explain(want);
            std::string text = plain_text(w);
            FUZZ_REQUIRE(!text.empty() && text.size() < MAX_WORKING, "a working of " + std::to_string(text.size()) + " bytes");
            FUZZ_REQUIRE(mathml(w).size() > text.size() && !latex(w).empty(), "a working not typeset");
            break;
        }
    }
    if (id == ID_REDRAW || pick < 9) FUZZ_REQUIRE(ran, "command " + std::to_string(id) + " did not run");
    if (id != ID_REDRAW) FUZZ_REQUIRE(view_state.slots.empty(), "command " + std::to_string(id) + " filled slots");
    FUZZ_REQUIRE(d.log == e.log, "command " + std::to_string(id) + " did '" + d.log + "', expected '" + e.log + "'");
    for (int i = 0; i < 14; ++i)
        if (!e.written[i])
            FUZZ_REQUIRE(d.text[i] == before.text[i], "field " + std::to_string(FIELDS[i]) + " changed to " +
                                                          quoted(d.text[i]));
    return 0;
}
