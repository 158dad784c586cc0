// The scene's text: a writer, and a reader that takes what it can from any
// text at all and says whether that was everything.

#include "app/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/internal.h"
#include "vectext/vectext.h"

namespace {

struct SceneField {
    const char* key;
    int id;
    const char* start;  // the template's text, which the writer leaves out
};

const SceneField FIELDS[] = {
    {"v1", ID_V1, "0 0 0"},
    {"v2", ID_V2, "0 0 0"},
    {"s1", ID_S1, "0"},
    {"r1", ID_ROW_VECTOR, "0 0 0"},
    {"o1", ID_ROW_OFFSET, "0 0 0"},
    {"c1", ID_ROW_COLOR, "0 0 0"},
    {"r2", ID_ROW_VECTOR + ROW_STRIDE, "0 0 0"},
    {"o2", ID_ROW_OFFSET + ROW_STRIDE, "0 0 0"},
    {"c2", ID_ROW_COLOR + ROW_STRIDE, "0 0 0"},
    {"r3", ID_ROW_VECTOR + 2 * ROW_STRIDE, "0 0 0"},
    {"o3", ID_ROW_OFFSET + 2 * ROW_STRIDE, "0 0 0"},
    {"c3", ID_ROW_COLOR + 2 * ROW_STRIDE, "0 0 0"},
};
const char* const INVERSE_KEYS[] = {"i1", "i2", "i3"};

// A link names its command by the button's text. Redraw is never named:
// opening a scene always redraws.
bool carried(const CommandButton& c) { return c.id != unsigned(ID_REDRAW); }

constexpr int VERSION = 1;
// Far longer than any scene this writer makes (about 3.5 KiB at most) and
// than most browsers keep in an address; the rest of a longer text is not
// read.
constexpr size_t MAX_SCENE = 1 << 20;

void append_encoded(std::string& out, const char* text) {
    static const char HEX[] = "0123456789ABCDEF";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        unsigned char c = *p;
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || std::strchr("-._~!*,", c)) {
            out += char(c);
        } else {
            out += '%';
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
}

// Nine significant digits give back every float exactly.
void append_float(std::string& out, float v) {
    char text[32];
    out.append(text, write_significant(v, 9, text, text + sizeof text));
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Percent-decoding ('+' is a plus, as browsers leave it); false for an
// escape that is not two hex digits or a NUL.
bool decode(const std::string& in, std::string& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out += in[i];
            continue;
        }
        int hi = i + 2 < in.size() ? hex_digit(in[i + 1]) : -1, lo = hi >= 0 ? hex_digit(in[i + 2]) : -1;
        if (lo < 0 || (hi == 0 && lo == 0)) return false;
        out += char(hi * 16 + lo);
        i += 2;
    }
    return true;
}

// Well-formed UTF-8: no overlong forms, surrogates or code points past
// U+10FFFF.
bool is_utf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        unsigned char d = static_cast<unsigned char>(s[i + 1 < s.size() ? i + 1 : i]);
        if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d > 0x9F) || (c == 0xF0 && d < 0x90) || (c == 0xF4 && d > 0x8F))
            return false;
        i += n;
    }
    return true;
}

// What a field read takes, ending on a whole character.
void cut_to_field(std::string& s) {
    size_t max = FIELD_BUFFER_SIZE - 1;
    if (s.size() <= max) return;
    size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    s.resize(end);
}

// Numbers separated by commas, all of them there, nothing else.
bool read_floats(const std::string& text, float* values, int count) {
    const char* pos = text.c_str();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && *pos++ != ',') return false;
        if (*pos == ' ' || !read_number(pos, values[i]) || !std::isfinite(values[i])) return false;
    }
    return *pos == '\0';
}

}  // namespace

std::string write_scene(const FieldAccess& fields, const ViewState& view, unsigned last_command) {
    std::string out = "v=" + std::to_string(VERSION);
    for (const SceneField& f : FIELDS) {
        const char* text = read_field(fields, f.id);
        if (std::strcmp(text, f.start) == 0) continue;
        out += '&';
        out += f.key;
        out += '=';
        append_encoded(out, text);
    }
    for (int row = 0; row < 3; ++row)
        if (fields.is_checked(fields.host, ID_ROW_INVERSE + row * ROW_STRIDE))
            out += std::string("&") + INVERSE_KEYS[row] + "=1";
    for (const CommandButton& c : COMMAND_BUTTONS)
        if (carried(c) && c.id == last_command) out += std::string("&run=") + c.text;
    const Vector3& e = view.eye_dir;
    if (!is_start_camera(view)) {
        out += "&eye=";
        append_float(out, e.x);
        out += ',';
        append_float(out, e.y);
        out += ',';
        append_float(out, e.z);
        out += "&dist=";
        append_float(out, view.eye_distance);
    }
    return out;
}

unsigned restore_scene(const FieldAccess& fields, ViewState& view, const char* text, bool& complete) {
    std::string scene = text ? text : "";
    complete = scene.size() <= MAX_SCENE;
    if (!complete) scene.resize(MAX_SCENE);
    bool versioned = false, have_eye = false, have_distance = false;
    unsigned command = 0;
    float eye[3] = {0, 0, 0}, distance = 0;
    // Each field is written once, with the last text given for it, however
    // often a link names it.
    std::string texts[std::size(FIELDS)];
    bool given[std::size(FIELDS)] = {};
    // Whether one key's value could be read; a key this version does not
    // know is a later version's, and fine.
    auto take = [&](const std::string& key, std::string& value) {
        for (size_t i = 0; i < std::size(FIELDS); ++i) {
            if (key != FIELDS[i].key) continue;
            given[i] = true;
            texts[i] = value;
            bool whole = value.size() < FIELD_BUFFER_SIZE;
            cut_to_field(texts[i]);
            return whole;
        }
        for (int row = 0; row < 3; ++row) {
            if (key != INVERSE_KEYS[row]) continue;
            if (value != "0" && value != "1") return false;
            if (fields.set_checked) fields.set_checked(fields.host, ID_ROW_INVERSE + row * ROW_STRIDE, value == "1");
            return true;
        }
        if (key == "v") return versioned = value == std::to_string(VERSION);
        if (key == "run") {
            for (const CommandButton& c : COMMAND_BUTTONS)
                if (carried(c) && value == c.text) command = c.id;
            return command != 0;
        }
        // A later bad camera leaves an earlier good one as it was.
        float e[3], d;
        if (key == "eye") {
            // A direction: of unit length, give or take a float's rounding.
            if (!read_floats(value, e, 3)) return false;
            double length = std::sqrt(double(e[0]) * e[0] + double(e[1]) * e[1] + double(e[2]) * e[2]);
            if (std::fabs(length - 1.0) >= 1e-5) return false;
            std::copy(e, e + 3, eye);
            return have_eye = true;
        }
        if (key == "dist") {
            if (!read_floats(value, &d, 1) || d < MIN_EYE_DISTANCE) return false;
            distance = d;
            return have_distance = true;
        }
        return true;
    };
    std::string value;
    for (size_t at = 0; at < scene.size();) {
        size_t end = std::min(scene.find('&', at), scene.size());
        std::string pair = scene.substr(at, end - at);
        at = end + 1;
        size_t equals = std::min(pair.find('='), pair.size());
        if (pair.empty()) continue;
        bool readable = decode(pair.substr(std::min(equals + 1, pair.size())), value) && is_utf8(value);
        if (!readable || !take(pair.substr(0, equals), value)) complete = false;
    }
    if (!versioned) complete = false;
    for (size_t i = 0; i < std::size(FIELDS); ++i)
        if (given[i]) write_field(fields, FIELDS[i].id, texts[i].c_str());
    command_redraw(fields);
    if (command) run_calculation(fields, command);
    if (have_eye) view.eye_dir = {eye[0], eye[1], eye[2]};
    if (have_distance) view.eye_distance = distance;
    return command;
}
