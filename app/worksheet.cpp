// The worksheet's entries and what is made of them: the lines and texts
// that Copy worksheet gives, and the kept form the page stores.

#include "app/worksheet.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/internal.h"
#include "vectext/vectext.h"

namespace {

// A ring: past the cap the newest entry takes the oldest's place. Every
// entry added and every Clear is a change; an entry's number counts those
// added since the last Clear, after `base` (where a kept worksheet began).
std::vector<Calculation> ring;
size_t first = 0, changes = 0, cleared_at = 0, base = 0;

// The inputs an entry's command read, as their fields write them.
struct Inputs {
    const Command* record;
    FieldText v1, v2, s1, result;
};

Inputs inputs_of(const Calculation& c) {
    const Command* r = find_command(c.command);
    return {r, format_vector(c.a), format_vector(c.b), format_scalar(c.s), result_text(c)};
}

const char* KEPT_HEADER = "arrowbench worksheet 1\n";

// Nine significant digits give back every float; an infinity (which a
// field can read, 1e39) as a number that reads back as one.
void keep_number(std::string& out, float v) {
    char text[32];
    if (v - v != 0.0f && v == v) {
        out += v > 0.0f ? " 1e39" : " -1e39";
        return;
    }
    out += ' ';
    out.append(text, write_significant(v, 9, text, text + sizeof text));
}

}  // namespace

void add_to_worksheet(const Calculation& c) {
    if (!find_command(c.command)) return;
    if (ring.size() < WORKSHEET_CAP) {
        ring.push_back(c);
    } else {
        ring[first] = c;
        first = (first + 1) % WORKSHEET_CAP;
    }
    ++changes;
}

size_t entry_count() { return ring.size(); }
const Calculation& entry(size_t index) { return ring[(first + index) % ring.size()]; }
size_t worksheet_changes() { return changes; }
size_t entry_number(size_t index) { return base + (changes - cleared_at) - ring.size() + index + 1; }

void clear_worksheet() {
    ring.clear();
    first = base = 0;
    cleared_at = ++changes;
}

WorksheetNews worksheet_news(size_t& seen) {
    bool cleared = cleared_at > seen;
    size_t shown = cleared ? 0 : std::min(seen - cleared_at, WORKSHEET_CAP);
    size_t fresh = std::min(changes - std::max(seen, cleared_at), ring.size());
    seen = changes;
    return {fresh, shown + fresh - ring.size(), cleared};
}

std::string entry_line(size_t index) {
    if (index >= ring.size()) return "";
    Inputs in = inputs_of(entry(index));
    std::string line;
    append_integer(line, int64_t(entry_number(index)));
    line += ". ";
    line += in.record->button;
    line += " of V1 = ";
    line += in.v1.text;
    if (in.record->reads_v2) line += ", V2 = ", line += in.v2.text;
    if (in.record->reads_s1) line += ", S1 = ", line += in.s1.text;
    line += in.record->scalar_result ? ": S2 = " : ": V3 = ";
    return line += in.result.text;
}

std::string entry_row(size_t index) { return entry_line(index) + " \u2014 " + working_text(entry(index)); }

std::string worksheet_text() {
    std::string out;
    for (size_t i = 0; i < ring.size(); ++i) {
        if (i) out += "\n\n";
        out += entry_line(i);
        out += '\n';
        out += working_text(entry(i));
    }
    return ring.empty() ? out : out += '\n';
}

// Field texts hold digits, signs, points, "e", spaces and the words
// NaN and Infinity: nothing LaTeX reads as markup.
std::string worksheet_latex() {
    if (ring.empty()) return "";
    std::string out = "\\begin{enumerate}\n";
    // Numbered as the entries are, where the oldest have gone.
    if (entry_number(0) > 1) {
        out += "\\setcounter{enumi}{";
        append_integer(out, int64_t(entry_number(0) - 1));
        out += "}\n";
    }
    auto field = [&](const char* name, const char* text) {
        out += name;
        out += " = \\texttt{";
        out += text;
        out += '}';
    };
    for (size_t i = 0; i < ring.size(); ++i) {
        const Calculation& c = entry(i);
        Inputs in = inputs_of(c);
        out += "\\item ";
        out += in.record->button;
        field(" of $V_1$", in.v1.text);
        if (in.record->reads_v2) field(", $V_2$", in.v2.text);
        if (in.record->reads_s1) field(", $S_1$", in.s1.text);
        field(in.record->scalar_result ? ": $S_2$" : ": $V_3$", in.result.text);
        out += "\\\\\n";
        out += latex(explain(c));
        out += '\n';
    }
    return out += "\\end{enumerate}\n";
}

std::string save_worksheet() {
    std::string out = KEPT_HEADER;
    if (!ring.empty() && entry_number(0) > 1) {
        out += "from";
        append_integer(out += ' ', int64_t(entry_number(0)));
        out += '\n';
    }
    for (size_t i = 0; i < ring.size(); ++i) {
        const Calculation& c = entry(i);
        out += find_command(c.command)->button;
        for (float v : {c.a.x, c.a.y, c.a.z, c.b.x, c.b.y, c.b.z, c.s}) keep_number(out, v);
        out += '\n';
    }
    return out;
}

bool load_worksheet(const char* text) {
    size_t header = std::strlen(KEPT_HEADER);
    if (std::strncmp(text, KEPT_HEADER, header) != 0) return false;
    const char* p = text + header;
    // The first entry's number, where older ones had gone; a worksheet
    // kept before numbers were kept begins at 1.
    uint32_t from = 1;
    if (!std::strncmp(p, "from ", 5)) {
        p += 5;
        from = 0;
        for (; *p >= '0' && *p <= '9' && from < 100000000; ++p) from = from * 10 + uint32_t(*p - '0');
        if (from < 2 || *p++ != '\n') return false;
    }
    std::vector<Calculation> read;
    while (*p) {
        const Command* record = nullptr;
        for (size_t i = 0; i < COMMAND_COUNT; ++i) {
            size_t n = std::strlen(COMMANDS[i].button);
            if (!std::strncmp(p, COMMANDS[i].button, n) && p[n] == ' ') record = &COMMANDS[i];
        }
        if (!record) return false;
        p += std::strlen(record->button);
        float v[7];
        for (float& x : v)
            if (*p++ != ' ' || !read_number(p, x)) return false;
        if (*p++ != '\n') return false;
        read.push_back(calculate(record->id, {v[0], v[1], v[2]}, {v[3], v[4], v[5]}, v[6]));
    }
    clear_worksheet();
    size_t skip = read.size() > WORKSHEET_CAP ? read.size() - WORKSHEET_CAP : 0;
    for (size_t i = skip; i < read.size(); ++i) add_to_worksheet(read[i]);
    base = from - 1 + skip;
    return true;
}
