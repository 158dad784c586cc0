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
// leave every other field as it was, and compute its result: exactly for
// the single-operation commands, within the rounding that wider
// intermediates may move for the others.

#include <cfloat>
#include <vector>

#include "app/app.h"
#include "tests/fuzz/fuzz_support.h"
#include "view/view.h"

namespace {

const int FIELDS[14] = {ID_V1, ID_V2, ID_S1, ID_V3, ID_S2, 2001, 2002, 2003, 2005, 2006, 2007, 2009, 2010, 2011};
const char* const START_TEXT[14] = {"0 0 0", "0 0 0", "0", "0 0 0", "0",     "0 0 0", "0 0 0",
                                    "0 0 0", "0 0 0", "0 0 0", "0 0 0", "0 0 0", "0 0 0", "0 0 0"};

const unsigned COMMANDS[9] = {ID_ADD,         ID_SUB,         ID_CROSS_PRODUCT, ID_DOT_PRODUCT, ID_MUL_SCALAR,
                              ID_DIV_SCALAR,  ID_NORMALIZE,   ID_LENGTH,        ID_REDRAW};
// Identifiers that name no command: IDOK, IDCANCEL, fields, boxes, the view.
const unsigned OTHERS[10] = {0, 1, 2, ID_V1, ID_S2, 1014, 2004, ID_VIEW, 2015, 0x10000u + ID_ADD};

int slot_of(int id) {
    for (int i = 0; i < 14; ++i)
        if (FIELDS[i] == id) return i;
    return -1;
}

struct Dialog {
    std::string text[14];
    bool checked[3] = {false, false, false};
    bool sloppy = false;   // fills the whole buffer, no NUL, on long texts
    std::string log;       // "r1001 w1001 c2004 p ..." in call order
};

void fake_read(void* host, int id, char* buffer, int size) {
    auto* d = static_cast<Dialog*>(host);
    d->log += "r" + std::to_string(id) + " ";
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
    d->log += "w" + std::to_string(id) + " ";
    int slot = slot_of(id);
    FUZZ_REQUIRE(slot >= 0, "write to control " + std::to_string(id));
    d->text[slot] = text;
}

bool fake_checked(void* host, int id) {
    auto* d = static_cast<Dialog*>(host);
    d->log += "c" + std::to_string(id) + " ";
    FUZZ_REQUIRE(id == 2004 || id == 2008 || id == 2012, "check state of control " + std::to_string(id));
    return d->checked[(id - 2004) / ROW_STRIDE];
}

void fake_repaint(void* host) { static_cast<Dialog*>(host)->log += "p "; }

// What a field read hands the command: the first 255 characters.
std::string cut(const std::string& t) { return t.substr(0, FIELD_BUFFER_SIZE - 1); }

std::string reference_vector_text(Vector3 v) {
    return reference::write(v.x) + " " + reference::write(v.y) + " " + reference::write(v.z);
}

// Bit patterns in the order of the values they stand for.
int64_t ordered(float f) {
    int64_t b = bits_of(f) & 0x7FFFFFFF;
    return bits_of(f) >> 31 ? -b : b;
}

// Whether `text` is the writing of a float within `ulps` of fl(exact),
// or, given slack, of a value that far from exact.
bool text_near(const std::string& text, long double exact, int ulps, long double slack = 0) {
    float o = static_cast<float>(exact);
    if (std::isnan(o) || text == "NaN") return std::isnan(o) && text == "NaN";
    for (int64_t d = -ulps; d <= ulps; ++d) {
        int64_t k = ordered(o) + d;
        if (k < -0x7F800000LL || k > 0x7F800000LL) continue;
        float f = float_of(k < 0 ? uint32_t(-k) | 0x80000000u : uint32_t(k));
        if (text == reference::write(f)) return true;
    }
    if (slack <= 0 || !std::isfinite(o)) return false;
    float shown = 0.0f;
    const char* p = text.c_str();
    if (!reference::read_number(p, shown) || !std::isfinite(shown)) return false;
    return std::fabs((long double)shown - exact) <= slack + 5.1e-6L * (std::fabs(exact) + slack);
}

void require_vector_near(const std::string& text, const long double exact[3], int ulps, const std::string& what) {
    FUZZ_REQUIRE(canonical::vector(text), what + " " + quoted(text));
    std::string part[3];
    split_three(text, part);
    for (int i = 0; i < 3; ++i)
        FUZZ_REQUIRE(text_near(part[i], exact[i], ulps),
                     what + " " + quoted(text) + " component " + std::to_string(i) + " should be near " +
                         reference::write(static_cast<float>(exact[i])));
}

struct Expected {
    std::string log;
    bool written[14] = {};
};

void expect_read_back(Expected& e, int id) {
    e.log += "r" + std::to_string(id) + " w" + std::to_string(id) + " ";
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
    unsigned id = pick < 9 ? COMMANDS[pick] : OTHERS[(data[0] / 10) % 10];
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
        case ID_ADD:
        case ID_SUB:
        case ID_CROSS_PRODUCT:
        case ID_DOT_PRODUCT: {
            expect_read_back(e, ID_V1);
            expect_read_back(e, ID_V2);
            Vector3 a = require_read_back(before, d, ID_V1);
            Vector3 b = require_read_back(before, d, ID_V2);
            if (id == ID_DOT_PRODUCT) {
                e.log += "w1005 ";
                e.written[slot_of(ID_S2)] = true;
                // Each product exact, each partial sum rounded to float.
                long double d1 = static_cast<float>((long double)a.x * b.x);
                long double d2 = static_cast<float>(d1 + (long double)a.y * b.y);
                long double d3 = d2 + (long double)a.z * b.z;
                // A wider sum may land the second partial sum one float
                // step off; the last addition carries that step along.
                long double slack = std::isfinite(d2) ? std::fabs(d2) * 0x1p-22L : 0;
                FUZZ_REQUIRE(canonical::number(s2) && text_near(s2, d3, 1, slack),
                             "DotProduct wrote " + quoted(s2) + ", about " + reference::write(float(d3)));
                break;
            }
            e.log += "w1004 ";
            e.written[slot_of(ID_V3)] = true;
            if (id == ID_CROSS_PRODUCT) {
                long double exact[3] = {(long double)a.y * b.z - (long double)a.z * b.y,
                                        (long double)a.z * b.x - (long double)a.x * b.z,
                                        (long double)a.x * b.y - (long double)a.y * b.x};
                require_vector_near(v3, exact, 1, "CrossProduct");
            } else {
                Vector3 r = id == ID_ADD ? Vector3{a.x + b.x, a.y + b.y, a.z + b.z}
                                         : Vector3{a.x - b.x, a.y - b.y, a.z - b.z};
                FUZZ_REQUIRE(v3 == reference_vector_text(r), "V3 " + quoted(v3) + ", want " + reference_vector_text(r));
            }
            break;
        }
        case ID_MUL_SCALAR:
        case ID_DIV_SCALAR: {
            expect_read_back(e, ID_V1);
            e.log += "r1003 w1004 ";
            e.written[slot_of(ID_V3)] = true;
            Vector3 a = require_read_back(before, d, ID_V1);
            float s = reference_scalar(cut(before.text[slot_of(ID_S1)]));
            Vector3 r = id == ID_MUL_SCALAR ? Vector3{a.x * s, a.y * s, a.z * s} : Vector3{a.x / s, a.y / s, a.z / s};
            FUZZ_REQUIRE(v3 == reference_vector_text(r), "V3 " + quoted(v3) + ", want " + reference_vector_text(r));
            break;
        }
        case ID_NORMALIZE:
        case ID_LENGTH: {
            expect_read_back(e, ID_V1);
            int result = id == ID_NORMALIZE ? ID_V3 : ID_S2;
            e.log += "w" + std::to_string(result) + " ";
            e.written[slot_of(result)] = true;
            Vector3 a = require_read_back(before, d, ID_V1);
            long double len = std::sqrt(((long double)a.x * a.x + (long double)a.y * a.y) + (long double)a.z * a.z);
            if (id == ID_LENGTH) {
                FUZZ_REQUIRE(canonical::number(s2) && text_near(s2, len, 1), "Length wrote " + quoted(s2));
                break;
            }
            float rounded = static_cast<float>(len);
            if (rounded == 0.0f) {
                FUZZ_REQUIRE(v3 == "0 0 1", "Normalize of zero wrote " + quoted(v3));
                break;
            }
            // The rounded length may sit one step off; the quotient then too.
            long double exact[3] = {a.x / (long double)rounded, a.y / (long double)rounded,
                                    a.z / (long double)rounded};
            require_vector_near(v3, exact, 3, "Normalize");
            break;
        }
        case ID_REDRAW: {
            FUZZ_REQUIRE(view_state.slots.size() == 3, "Redraw left " + std::to_string(view_state.slots.size()));
            for (int row = 0; row < 3; ++row) {
                int step = row * ROW_STRIDE;
                expect_read_back(e, 2001 + step);
                expect_read_back(e, 2002 + step);
                expect_read_back(e, 2003 + step);
                e.log += "c" + std::to_string(2004 + step) + " p ";
                Vector3 vector = require_read_back(before, d, 2001 + step);
                Vector3 offset = require_read_back(before, d, 2002 + step);
                Rgb c = reference_color(cut(before.text[slot_of(2003 + step)]).c_str());
                require_color_text(c, d.text[slot_of(2003 + step)]);
                const VectorSlot& s = view_state.slots[size_t(row)];
                std::string where = "slot " + std::to_string(row);
                FUZZ_REQUIRE(same_bits(s.vector, vector) && same_bits(s.offset, offset), where);
                FUZZ_REQUIRE(s.red == c.red && s.green == c.green && s.blue == c.blue, where);
                FUZZ_REQUIRE(s.offset_is_end == (before.checked[row] ? 1 : 0), where);
            }
            break;
        }
        default:
            FUZZ_REQUIRE(!ran, "identifier " + std::to_string(id) + " ran a command");
            break;
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
