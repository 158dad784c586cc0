// End to end on a desktop host: hostile field texts in the real program,
// set in its real fields and read back the same way. Every byte 0x01..0xFF
// before, inside and after numbers, texts of 255 and of 10,000 chars,
// only white space or only signs and points, exponents thousands of digits
// long, rows beyond the float range, and results fed back as inputs.
//
// A Windows field (a Unicode edit window, read one byte a char in code page
// 1252) gives each byte back as set. A paste puts UTF-8 into an FLTK field,
// so a byte 0x80..0xFF, pasted as the Latin-1 character of that code, is
// held as its two UTF-8 bytes. Either way a byte from 0x80 up is no white
// space, digit, sign, point or exponent marker to a command: it ends a
// number. Every expected text is worked out by hand from the field rules,
// not taken from the program.

#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "tests/command_cases.h"
#include "tests/desktop/driver.h"
#include "tests/desktop/host.h"

namespace {

DesktopDriver* app;

std::string field(int id) { return app->get(id); }
void put(int id, const std::string& text) { CHECK(app->set(id, text)); }
void press(int id) { CHECK(app->press(id)); }

// Texts built at run time, kept for the tables' pointers.
const char* keep(std::string s) {
    static std::deque<std::string> texts;
    return texts.emplace_back(std::move(s)).c_str();
}

// What a field holds once the byte `b` is set into it.
std::string held(unsigned b) {
    if (THIS_HOST == ON_WIN32 || b < 0x80) return std::string(1, char(b));
    return {char(0xC0 | (b >> 6)), char(0x80 | (b & 0x3F))};
}

std::string hex(unsigned b) {
    char s[16];
    std::snprintf(s, sizeof s, "byte 0x%02X", b);
    return s;
}

// --- every byte, before, inside and after numbers ---

// The character classes of the number rule.
enum Class { SPACE, PLUS, MINUS, DIGIT, POINT, EXPONENT, OTHER, CLASSES };

Class class_of(unsigned b) {
    if (b == 0x20 || (b >= 0x09 && b <= 0x0D)) return SPACE;  // nothing from 0x80 up
    if (b == '+') return PLUS;
    if (b == '-') return MINUS;
    if (b >= '0' && b <= '9') return DIGIT;
    if (b == '.') return POINT;
    if (b == 'e' || b == 'E') return EXPONENT;
    return OTHER;
}

// '#' in a text set stands for the byte. A check gives the text read back
// for each class, '#' there standing for the digit, as part of the number
// it joins; nullptr: the text as set, never rewritten.
struct ByteSet {
    int id;
    const char* text;
};
struct ByteCheck {
    int id;
    const char* by_class[CLASSES];
};
struct ByteStep {
    std::vector<ByteSet> set;
    int held;  // the field read back as set before the command (0: none)
    int command;
    std::vector<ByteCheck> read;
};

// `text` with '#' replaced by `with`; in a number read, without the
// leading zero a digit 0 leaves ("#1" reads as 1 when the digit is 0).
std::string fill(const char* text, const std::string& with, bool read = false) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        bool starts = p == text || p[-1] == ' ' || p[-1] == '-';
        if (*p != '#') out += *p;
        else if (!(read && with == "0" && starts && p[1] >= '0' && p[1] <= '9')) out += with;
    }
    return out;
}

// SPACE, PLUS, MINUS, DIGIT, POINT, EXPONENT, OTHER
#define V_B123 {"1 2 3", "1 2 3", "-1 2 3", "#1 2 3", "0.1 2 3", "0 0 0", "0 0 0"}
// A sign starts the second number; a digit, a point or an exponent marker
// joins the first; anything else ends the reading.
#define V_1B23 {"1 2 3", "1 2 3", "1 -2 3", "1#2 3 0", "1.2 3 0", "100 3 0", "1 0 0"}

const std::vector<ByteStep> BYTE_STEPS = {
    {{{ID_V1, "#1 2 3"}, {ID_V2, "0 0 0"}}, ID_V1, ID_ADD, {{ID_V1, V_B123}, {ID_V3, V_B123}}},  // x + 0 is x
    {{{ID_V1, "0 0 0"}, {ID_V2, "1#2 3"}},
     0,
     ID_SUB,
     {{ID_V2, V_1B23}, {ID_V3, {"-1 -2 -3", "-1 -2 -3", "-1 2 -3", "-1#2 -3 0", "-1.2 -3 0", "-100 -3 0", "-1 0 0"}}}},
    // S1 is read like a vector's x, and never rewritten.
    {{{ID_V1, "1 1 1"}, {ID_S1, "#2"}},
     0,
     ID_MUL_SCALAR,
     {{ID_S1, {}}, {ID_V3, {"2 2 2", "2 2 2", "-2 -2 -2", "#2 #2 #2", "0.2 0.2 0.2", "0 0 0", "0 0 0"}}}},
    {{{ID_S1, "1#2"}},
     0,
     ID_MUL_SCALAR,
     {{ID_S1, {}}, {ID_V3, {"1 1 1", "1 1 1", "1 1 1", "1#2 1#2 1#2", "1.2 1.2 1.2", "100 100 100", "1 1 1"}}}},
    {{{ID_S1, "#5"}},
     0,
     ID_MUL_SCALAR,
     {{ID_S1, {}}, {ID_V3, {"5 5 5", "5 5 5", "-5 -5 -5", "#5 #5 #5", "0.5 0.5 0.5", "0 0 0", "0 0 0"}}}},
    // The rows; colours have no sign but '+', no point and no exponent.
    {{{ID_ROW_VECTOR, "1#2 3"}, {ID_ROW_OFFSET, "#5 6 7"}, {ID_ROW_COLOR, "1#2 3"}, {ID_ROW_COLOR + ROW_STRIDE, "#5 6 7"}},
     ID_ROW_VECTOR,
     ID_REDRAW,
     {{ID_ROW_VECTOR, V_1B23},
      {ID_ROW_OFFSET, {"5 6 7", "5 6 7", "-5 6 7", "#5 6 7", "0.5 6 7", "0 0 0", "0 0 0"}},
      {ID_ROW_COLOR, {"1 2 3", "1 2 3", "1 0 0", "1#2 3 0", "1 0 0", "1 0 0", "1 0 0"}},
      {ID_ROW_COLOR + ROW_STRIDE, {"5 6 7", "5 6 7", "0 0 0", "#5 6 7", "0 0 0", "0 0 0", "0 0 0"}}}},
    // After z only a digit changes it; a point or a bare exponent marker
    // is used up, anything else ignored.
    {{{ID_ROW_VECTOR, "1 2 3#"},
      {ID_ROW_OFFSET, "#1 2 3"},
      {ID_ROW_COLOR, "#7 8 9"},
      {ID_ROW_VECTOR + ROW_STRIDE, "1#2 3"},
      {ID_ROW_COLOR + ROW_STRIDE, "7#8 9"}},
     0,
     ID_REDRAW,
     {{ID_ROW_VECTOR, {"1 2 3", "1 2 3", "1 2 3", "1 2 3#", "1 2 3", "1 2 3", "1 2 3"}},
      {ID_ROW_OFFSET, V_B123},
      {ID_ROW_COLOR, {"7 8 9", "7 8 9", "0 0 0", "#7 8 9", "0 0 0", "0 0 0", "0 0 0"}},
      {ID_ROW_VECTOR + ROW_STRIDE, V_1B23},
      {ID_ROW_COLOR + ROW_STRIDE, {"7 8 9", "7 8 9", "7 0 0", "255 9 0", "7 0 0", "7 0 0", "7 0 0"}}}},  // 7d8 > 255
};

void check_every_byte() {
    for (unsigned b = 1; b <= 0xFF; ++b) {
#ifdef _WIN64
        // 64-bit Wine 8.0's gdi32 faults drawing U+02DC (0x98 in code page
        // 1252) in an edit control, and drops the click that caused the
        // repaint; the 32-bit build, the one that ships, takes it.
        if (b == 0x98) continue;
#endif
        check_context(hex(b));
        const std::string c = held(b), digit(1, char(b));
        for (const ByteStep& s : BYTE_STEPS) {
            for (const ByteSet& f : s.set) put(f.id, fill(f.text, c));
            for (const ByteSet& f : s.set)
                if (f.id == s.held) CHECK_STR(field(f.id), fill(f.text, c));  // the field holds it as set
            press(s.command);
            for (const ByteCheck& r : s.read) {
                const char* want = r.by_class[class_of(b)];
                std::string set_as;
                for (const ByteSet& f : s.set)
                    if (f.id == r.id) set_as = fill(f.text, c);
                CHECK_STR(field(r.id), want ? fill(want, digit, true) : set_as);
            }
        }
    }
    check_context("");

    // All 255 bytes in one field: on Windows exactly the 255 chars a
    // command reads.
    std::string all;
    for (unsigned b = 1; b <= 0xFF; ++b) all += held(b);
    put(ID_V1, all);
    CHECK_STR(field(ID_V1), all);
    put(ID_S1, all);
    press(ID_MUL_SCALAR);
    CHECK_STR(field(ID_V1), "0 0 0");  // 0x01 is not white space
    CHECK_STR(field(ID_S1), all);
    CHECK_STR(field(ID_V3), "0 0 0");
    // From the tab on: white space, then "\x0E" ends the first read.
    put(ID_V1, all.substr(8));
    press(ID_ADD);
    CHECK_STR(field(ID_V1), "0 0 0");
    // From the "+" on: "+,-./0123456789:" reads "+" alone, which is no number.
    put(ID_V1, all.substr('+' - 1));
    press(ID_ADD);
    CHECK_STR(field(ID_V1), "0 0 0");
    // From the "0" on: 0123456789 then ":".
    put(ID_V1, all.substr('0' - 1));
    press(ID_ADD);
    CHECK_STR(field(ID_V1), "1.23457e+08 0 0");
}

// --- long, empty-looking and extreme texts through the commands ---

// Sets V1, V2 and S1 and reads them back as set, runs the command, then
// checks all five fields: a result the case gives no text for is as it
// was before.
void run_case(const CommandCase& c) {
    if (!on_this_host(c.hosts)) return;
    check_context(c.name ? c.name : "");
    std::string v3_before = c.v3 ? "" : field(ID_V3), s2_before = c.s2 ? "" : field(ID_S2);
    for (const auto& f : {std::make_pair(ID_V1, c.v1), std::make_pair(ID_V2, c.v2), std::make_pair(ID_S1, c.s1)}) {
        put(f.first, f.second);
        // An empty FLTK field copies nothing: there is no text to read.
        if (!*f.second && THIS_HOST == ON_FLTK) continue;
        std::string now = field(f.first);
        CHECK_INT(now.size(), std::strlen(f.second));
        CHECK_STR(now, f.second);
    }
    press(c.id);
    CHECK_STR(field(ID_V1), c.v1_after ? c.v1_after : c.v1);
    CHECK_STR(field(ID_V2), c.v2_after ? c.v2_after : c.v2);
    CHECK_STR(field(ID_S1), c.s1);  // never rewritten, however long
    CHECK_STR(field(ID_V3), c.v3 ? c.v3 : v3_before);
    CHECK_STR(field(ID_S2), c.s2 ? c.s2 : s2_before);
}

// A text in V1 and what Add reads of it, with V2 = 0 (so V3 shows the
// value read as well).
struct ReadCase {
    const char* name;
    std::string text;
    const char* read;
};
// A text in S1 and what the command makes of V1 = (1, 2, 3) with it.
struct ScalarCase {
    const char* name;
    unsigned id;
    std::string s1;
    const char* v3;
};

std::vector<CommandCase> command_cases() {
    const std::string ws = " \t\n\v\f\r", zeros240(240, '0');
    std::vector<CommandCase> cases = {
        // The cut: 255 chars are read whole, the 256th is not read.
        {ID_LENGTH, keep(rep(" ", 250) + "1 2 3"), "0 0 0", "0", "1 2 3", nullptr, nullptr, "3.74166", "255 chars"},
        {ID_LENGTH, keep(std::string(size_t(LONG_FIELD.pad), ' ') + LONG_FIELD.tail), "0 0 0", "0", LONG_FIELD.written,
         nullptr, nullptr, "2.23607", "256 chars"},
        // Only an FLTK field holds the é as two bytes, for the cut to fall
        // between them.
        {ID_LENGTH, keep("5 12" + rep(" ", 250) + held(0xE9) + "7"), "0 0 0", "0", "5 12 0", nullptr, nullptr, "13",
         "cut inside a UTF-8 pair", ON_FLTK},
        {ID_ADD, keep("1 2 3" + rep("x", 9995)), keep(rep(" ", 9998) + "9 9"), "0", "1 2 3", "0 0 0", "1 2 3", nullptr,
         "10000 chars"},
        {ID_NORMALIZE, keep("7" + rep("0", 9999)), "0 0 0", "0", "Infinity 0 0", nullptr, "NaN 0 0", nullptr,
         "254 digits, then more"},
        {ID_LENGTH, keep("0." + rep("0", 9998)), "0 0 0", "0", "0 0 0", nullptr, nullptr, "0", "a long zero"},
        {ID_ADD, keep("0." + zeros240 + "17e240"), keep("1" + zeros240 + "e-240 5 6"), "0", "0.17 0 0", "1 5 6",
         "1.17 5 6", nullptr, "a long significand"},
        // Exponents as long as a field read lets them be.
        {ID_ADD, keep("1e" + rep("0", 250) + "38"), "0 0 0", "0", "1e+38 0 0", nullptr, "1e+38 0 0", nullptr,
         "exponent 000..38"},
        {ID_ADD, keep("1e" + rep("0", 250) + "39"), "0 0 0", "0", "Infinity 0 0", nullptr, "Infinity 0 0", nullptr,
         "exponent 000..39"},
        {ID_ADD, keep("1e-" + rep("0", 249) + "45"), "0 0 0", "0", "1.4013e-45 0 0", nullptr, "1.4013e-45 0 0", nullptr,
         "exponent -000..45"},
        {ID_ADD, keep("1e" + rep("9", 253)), "2 2 2", "0", "0 0 0", nullptr, "2 2 2", nullptr, "exponent of 253 nines"},
        {ID_ADD, keep("1e" + rep("9", 240) + " 5 6"), keep("-1e-" + rep("9", 240) + " 5 6"), "0", "0 0 0", "0 0 0",
         "0 0 0", nullptr, "exponent of 240 nines, then numbers"},
        {ID_ADD, keep("0e" + rep("9", 240) + " 5 6"), keep("1e+" + zeros240 + "1 5 6"), "0", "0 5 6", "10 5 6",
         "10 10 12", nullptr, "zero with a huge exponent"},
        // Only white space, or only signs and points.
        {ID_ADD, keep(rep(ws, 40)), keep(rep(" ", 10000)), "0", "0 0 0", "0 0 0", "0 0 0", nullptr, "white space only"},
        {ID_MUL_SCALAR, "1 -2 3", "0 0 0", keep(ws), nullptr, nullptr, "0 0 0", nullptr, "white space S1"},
        {ID_SUB, "+-.+-.", "...", "0", "0 0 0", "0 0 0", "0 0 0", nullptr, "signs and points"},
        {ID_ADD, "--1 2 3", "+.5-.5+5.", "0", "0 0 0", "0.5 -0.5 5", "0.5 -0.5 5", nullptr, "two signs"},
        {ID_ADD, "-.e5 1 1", "1..5 1.e5", "0", "0 0 0", "1 0.5 100000", "1 0.5 100000", nullptr, "points and markers"},
        {ID_MUL_SCALAR, "3 3 3", "0 0 0", "-.-+.", nullptr, nullptr, "0 0 0", nullptr, "signs and points S1"},
        {ID_MUL_SCALAR, "-0 -0 -0", "0 0 0", "-1", "0 0 0", nullptr, "0 0 0", nullptr, "negative zeros"},
        // Beyond the float range, and the words for it.
        {ID_DIV_SCALAR, "1 -2 0", "0 0 0", "0", nullptr, nullptr, "Infinity -Infinity NaN", nullptr, "divide by zero"},
        {ID_DIV_SCALAR, "1 -1 -0", "0 0 0", "-0", "1 -1 0", nullptr, "-Infinity Infinity NaN", nullptr,
         "divide by minus zero"},
        {ID_NORMALIZE, "Infinity -Infinity NaN", "0 0 0", "0", "0 0 0", nullptr, "0 0 1", nullptr,
         "the words read as nothing"},
        {ID_SUB, "3e38 0 0", "-3e38 0 0", "0", "3e+38 0 0", "-3e+38 0 0", "Infinity 0 0", nullptr, "huge sum"},
        {ID_DOT_PRODUCT, "3e38 3e38 0", "3e38 -3e38 0", "0", "3e+38 3e+38 0", "3e+38 -3e+38 0", nullptr, "Infinity",
         "huge dot"},
        {ID_CROSS_PRODUCT, "3e38 3e38 3e38", "3e38 -3e38 0", "0", "3e+38 3e+38 3e+38", "3e+38 -3e+38 0",
         "Infinity Infinity -Infinity", nullptr, "huge cross"},
        {ID_LENGTH, "3e38 3e38 3e38", "0 0 0", "0", "3e+38 3e+38 3e+38", nullptr, nullptr, "Infinity", "huge length"},
        {ID_NORMALIZE, "3e38 3e38 3e38", "0 0 0", "0", "3e+38 3e+38 3e+38", nullptr, "0 0 0", nullptr, "huge normalize"},
        {ID_MUL_SCALAR, "3e38 -3e38 1", "0 0 0", "10", "3e+38 -3e+38 1", nullptr, "Infinity -Infinity 10", nullptr,
         "huge times ten"},
        {ID_ADD, "1e400 2 3", "1e39 -1e39 1e-50", "0", "0 0 0", "Infinity -Infinity 0", "Infinity -Infinity 0", nullptr,
         "beyond double"},
        {ID_DIV_SCALAR, "1.4013e-45 -1.4013e-45 3", "0 0 0", "2", nullptr, nullptr, "0 0 1.5", nullptr,
         "halving the least float"},
    };
    const ReadCase reads[] = {
        {"empty", "", "0 0 0"},
        {"255 spaces", std::string(255, ' '), "0 0 0"},
        {"10,000 chars of white space", rep(" \t\v\f", 2500), "0 0 0"},
        {"sign", "+", "0 0 0"},
        {"minus", "-", "0 0 0"},
        {"point", ".", "0 0 0"},
        {"sign point", "+.", "0 0 0"},
        {"minus point", "-.", "0 0 0"},
        {"sign then space", "+ 1 2 3", "0 0 0"},
        {"signs and points", "+-.+-.+-.", "0 0 0"},
        {"255 points", std::string(255, '.'), "0 0 0"},
        {"10,000 signs and points", rep("+-.-+", 2000), "0 0 0"},
        {"points then a number", "...1", "0 0 0"},
        {"minus points", "-.5-.5-.5", "-0.5 -0.5 -0.5"},
        {"point exponent", ".e1 2 3", "0 0 0"},
        {"exponent sign then space", "1e+ 2 3", "1 2 3"},
        {"exponent minus then space", "1e- 2 3", "1 2 3"},
        {"exponent two signs", "1e+-2", "1 -2 0"},
        {"two exponent markers", "1ee2", "1 0 0"},
        {"second exponent", "1e2e3", "100 0 0"},
        {"point after exponent", "1e2.5 1", "100 0.5 1"},
        {"double point", "1..2", "1 0.2 0"},
        {"zero to a huge power", "0e99999 5 6", "0 5 6"},
        {"zero to a huge negative power", "-0e-99999 5 6", "0 5 6"},
        {"exponent 240 zeros then 38", "1e" + zeros240 + "38 2 3", "1e+38 2 3"},
        {"exponent 240 zeros then 39", "1e" + zeros240 + "39 2 3", "Infinity 2 3"},
        {"negative, exponent 39", "-1e" + zeros240 + "39 2 3", "-Infinity 2 3"},
        {"exponent 400: out of double range", "1e" + zeros240 + "400 2 3", "0 0 0"},
        {"exponent -400: underflow", "1e-" + zeros240 + "400 2 3", "0 0 0"},
        {"exponent -50: float zero", "1e-" + zeros240 + "50 2 3", "0 2 3"},
        {"exponent -45: smallest float", "1e-" + zeros240 + "45 2 3", "1.4013e-45 2 3"},
        {"exponent -46: below half the smallest", "1e-" + zeros240 + "46 2 3", "0 2 3"},
        {"200 zeros after the point", "0." + std::string(200, '0') + "1e201", "1 0 0"},
        {"200 zeros before the exponent", "1" + std::string(200, '0') + "e-200 7", "1 7 0"},
        {"39 ones", std::string(39, '1'), "1.11111e+38 0 0"},
        {"40 ones", std::string(40, '1'), "Infinity 0 0"},
        // Past 255 chars the rest is cut off.
        {"3000-digit exponent", "1e" + std::string(3000, '0') + "1 2 3", "1 0 0"},
        {"5000 nines of exponent", "1e" + std::string(5000, '9'), "0 0 0"},
        {"5000 nines of negative exponent", "1e-" + std::string(5000, '9'), "0 0 0"},
        {"300 nines", std::string(300, '9') + " 2 3", "Infinity 0 0"},
        {"z at char 255", "1 2" + std::string(251, ' ') + "3", "1 2 3"},
        {"z at char 256", "1 2" + std::string(252, ' ') + "3", "1 2 0"},
        {"10,000 chars, numbers at the end", std::string(9995, ' ') + "1 2 3", "0 0 0"},
        {"10,000 chars, numbers at the start", "4 5 6" + rep(" 7", 4997) + " ", "4 5 6"},
    };
    for (const ReadCase& r : reads)
        cases.push_back({ID_ADD, keep(r.text), "0 0 0", "0", r.read, nullptr, r.read, nullptr, r.name});
    // S1 is read like a vector's x: (1, 2, 3) times it, or over it.
    const ScalarCase scalars[] = {
        {"a scalar cut in its exponent", ID_MUL_SCALAR, "2e" + rep("0", 9998), "2 4 6"},
        {"a scalar exponent past the cut", ID_DIV_SCALAR, "1e" + rep("0", 9000) + "1", "1 2 3"},
        {"3000-digit exponent, cut", ID_MUL_SCALAR, "2e" + std::string(3000, '0') + "1", "2 4 6"},
        {"10,000 spaces", ID_MUL_SCALAR, std::string(10000, ' '), "0 0 0"},
        {"sign only", ID_MUL_SCALAR, "-", "0 0 0"},
        {"255 signs", ID_MUL_SCALAR, std::string(255, '-'), "0 0 0"},
        {"exponent 38, 200 zeros", ID_MUL_SCALAR, "1e" + std::string(200, '0') + "38", "1e+38 2e+38 3e+38"},
        {"exponent 400", ID_MUL_SCALAR, "1e400", "0 0 0"},
        // A failed read is 0, not -0: "-" divides to +Infinity, "-0" to -Infinity.
        {"divide by -", ID_DIV_SCALAR, "-", "Infinity Infinity Infinity"},
        {"divide by -0", ID_DIV_SCALAR, "-0", "-Infinity -Infinity -Infinity"},
    };
    for (const ScalarCase& c : scalars)
        cases.push_back({c.id, "1 2 3", "0 0 0", keep(c.s1), nullptr, nullptr, c.v3, nullptr, c.name});
    return cases;
}

// --- results fed back as inputs ---

// Steps in a row, each on the fields the ones before left.
struct FeedStep {
    const char* name;
    int from, to;  // copy field `from` into `to` first (0: no copy)
    int set_id;    // then set this field to `set_text` (0: none)
    const char* set_text;
    int command;  // 0: none
    int result;   // the field to read afterwards
    const char* expected;
};

const FeedStep FEED_STEPS[] = {
    {"divide by zero", 0, 0, ID_S1, "0", ID_DIV_SCALAR, ID_V3, "Infinity -Infinity NaN"},
    {"infinities into V1", ID_V3, ID_V1, 0, "", ID_NORMALIZE, ID_V3, "0 0 1"},
    {"the words were read as zero", 0, 0, 0, "", ID_LENGTH, ID_S2, "0"},
    {"unit z into V2", ID_V3, ID_V2, ID_V1, "3e38 3e38 3e38", ID_CROSS_PRODUCT, ID_V3, "3e+38 -3e+38 0"},
    {"that into V1", ID_V3, ID_V1, 0, "", ID_LENGTH, ID_S2, "Infinity"},
    {"Infinity into S1", ID_S2, ID_S1, 0, "", ID_MUL_SCALAR, ID_V3, "0 0 0"},
    {"huge into V2", ID_V1, ID_V2, 0, "", ID_ADD, ID_V3, "Infinity -Infinity 0"},
    {"1e+20 round", 0, 0, ID_V1, "1e20 0 0", ID_LENGTH, ID_S2, "1e+20"},
    {"1e+20 into S1", ID_S2, ID_S1, ID_V1, "1e20 1 -1", ID_MUL_SCALAR, ID_V3, "Infinity 1e+20 -1e+20"},
    {"and into the view", ID_V3, ID_ROW_VECTOR, ID_ROW_COLOR, "255 0 255", ID_REDRAW, ID_ROW_VECTOR, "0 0 0"},
    {"V1 as the steps left it", 0, 0, 0, "", 0, ID_V1, "1e+20 1 -1"},
    // The result of Length in S2 as the scalar of DivScalar.
    {"3 0 4", 0, 0, ID_V1, "3 0 4", ID_LENGTH, ID_S2, "5"},
    {"its length into S1", ID_S2, ID_S1, 0, "", ID_DIV_SCALAR, ID_V3, "0.6 0 0.8"},
    // "Infinity" in S1 is not a number: the scalar is 0.
    {"an infinite length", 0, 0, ID_V1, "1e39 0 0", ID_LENGTH, ID_S2, "Infinity"},
    {"Infinity as a scalar", ID_S2, ID_S1, ID_V1, "1 2 3", ID_MUL_SCALAR, ID_V3, "0 0 0"},
};

// The words that results can hold: a component that is not finite ends
// the reading of the text it is written in, so it and every component
// after it read as 0.
std::string read_back(const std::string& text) {
    std::string out, word;
    int taken = 0;
    bool stopped = false;
    auto flush = [&] {
        if (word.empty()) return;
        if (word == "Infinity" || word == "-Infinity" || word == "NaN") stopped = true;
        if (taken < 3) {
            out += (taken ? " " : "") + (stopped ? std::string("0") : word);
            ++taken;
        }
        word.clear();
    };
    for (char c : text) {
        if (c == ' ') flush();
        else word += c;
    }
    flush();
    for (; taken < 3; ++taken) out += taken ? " 0" : "0";
    return out;
}

// Chains: each result goes back in as V1 (and V2 where "=") and is read
// again; a canonical finite text reads back to itself.
struct ChainStep {
    int command;
    const char *v1, *v2, *s1;
    const char* result;  // V3, or S2 for DotProduct and Length
};

const std::vector<std::vector<ChainStep>> CHAINS = {
    {{ID_ADD, "1e38 1e38 1e38", "1e38 1e38 1e38", "0", "2e+38 2e+38 2e+38"},
     {ID_ADD, "=", "=", "0", "Infinity Infinity Infinity"},
     {ID_ADD, "=", "=", "0", "0 0 0"}},
    {{ID_DIV_SCALAR, "1 2 0", "0 0 0", "0", "Infinity Infinity NaN"},
     {ID_LENGTH, "=", "0 0 0", "0", "0"},
     {ID_NORMALIZE, "0 0 0", "0 0 0", "0", "0 0 1"},
     {ID_NORMALIZE, "=", "0 0 0", "0", "0 0 1"}},
    {{ID_DIV_SCALAR, "1 1 1", "0 0 0", "3", "0.333333 0.333333 0.333333"},
     {ID_MUL_SCALAR, "=", "0 0 0", "3", "0.999999 0.999999 0.999999"},
     {ID_DIV_SCALAR, "=", "0 0 0", "3", "0.333333 0.333333 0.333333"}},
    {{ID_ADD, "1.4e-45 0 0", "1.4e-45 0 0", "0", "2.8026e-45 0 0"},
     {ID_DIV_SCALAR, "=", "0 0 0", "4", "0 0 0"}},  // a quarter of two smallest: a tie, to even
    {{ID_ADD, "1e39 -1e39 0", "1e39 1e39 0", "0", "Infinity NaN 0"}, {ID_ADD, "=", "5 6 7", "0", "5 6 7"}},
    {{ID_NORMALIZE, "1e39 0 0", "0 0 0", "0", "NaN 0 0"}, {ID_DOT_PRODUCT, "1e39 0 0", "0 1 1", "0", "NaN"}},
    {{ID_ADD, "3.4028235e38 0 0", "0 0 0", "0", "3.40282e+38 0 0"}, {ID_ADD, "=", "=", "0", "Infinity 0 0"}},
};

void check_fed_back() {
    put(ID_V1, "1 -2 0");
    for (const FeedStep& s : FEED_STEPS) {
        check_context(s.name);
        if (s.from) put(s.to, field(s.from));
        if (s.set_id) put(s.set_id, s.set_text);
        if (s.command) press(s.command);
        CHECK_STR(field(s.result), s.expected);
    }

    for (size_t chain = 0; chain < CHAINS.size(); ++chain) {
        std::string previous;
        for (size_t step = 0; step < CHAINS[chain].size(); ++step) {
            const ChainStep& s = CHAINS[chain][step];
            check_context("chain " + std::to_string(chain) + " step " + std::to_string(step));
            std::string v1 = std::string(s.v1) == "=" ? previous : s.v1;
            put(ID_V1, v1);
            put(ID_V2, std::string(s.v2) == "=" ? previous : s.v2);
            put(ID_S1, s.s1);
            press(s.command);
            // A result fed back reads as itself, its words that are not
            // finite as 0.
            if (std::string(s.v1) == "=") CHECK_STR(field(ID_V1), read_back(v1));
            int result = s.command == ID_LENGTH || s.command == ID_DOT_PRODUCT ? ID_S2 : ID_V3;
            CHECK_STR(field(result), s.result);
            previous = field(result);
        }
    }
    check_context("");
}

// --- the view rows ---

// The same texts in all three rows, then Redraw; the colour is read back
// as set before.
struct RowCase {
    const char* name;
    std::string vector, offset, colour;
    const char *vector_after, *offset_after, *colour_after;
};

void check_rows() {
    const RowCase rows[] = {
        {"infinite rows", "1e39 -1e39 1", "1e400 2 3", "4294967296 9 9", "Infinity -Infinity 1", "0 0 0", "0 0 0"},
        {"the colour limit", "3e38 3e38 3e38", "-3e38 0 1e39", "4294967295 99999999999 9", "3e+38 3e+38 3e+38",
         "-3e+38 0 Infinity", "255 0 0"},
        {"long colours", "0 0 1", "0 0 0", rep("0", 250) + "255 1", "0 0 1", "0 0 0", "255 1 0"},
        {"long colour digits", "0 0 1", "0 0 0", rep("9", 40) + " 1 1", "0 0 1", "0 0 0", "0 0 0"},
        {"10000-char colour", rep(" ", 10000), rep("+", 10000), "+7 " + rep("1", 9997), "0 0 0", "0 0 0", "7 0 0"},
        {"colour signs", "0 0 1", "0 0 0", "+0255 -1 7", "0 0 1", "0 0 0", "255 0 0"},
        {"largest unsigned, then one more", "1 0 0", "0 0 0", "4294967295 4294967296 1", "1 0 0", "0 0 0", "255 0 0"},
        {"above 32 bits", "1 0 0", "0 0 0", "4294967296 1 1", "1 0 0", "0 0 0", "0 0 0"},
        {"300 nines", "1 0 0", "0 0 0", std::string(300, '9'), "1 0 0", "0 0 0", "0 0 0"},
        {"250 leading zeros", "1 0 0", "0 0 0", std::string(250, '0') + "7 8 9", "1 0 0", "0 0 0", "7 8 9"},
        {"251 leading zeros: blue cut off", "1 0 0", "0 0 0", std::string(251, '0') + "7 8 9", "1 0 0", "0 0 0",
         "7 8 0"},
        {"sign then minus", "1 0 0", "0 0 0", "+-5 1 1", "1 0 0", "0 0 0", "0 0 0"},
        {"two signs", "1 0 0", "0 0 0", "++5 1 1", "1 0 0", "0 0 0", "0 0 0"},
        {"signs between", "1 0 0", "0 0 0", "  +255+255+255", "1 0 0", "0 0 0", "255 255 255"},
        {"exponent", "1 0 0", "0 0 0", "1e3 2 3", "1 0 0", "0 0 0", "1 0 0"},
        {"minus zero", "1 0 0", "0 0 0", "-0 1 1", "1 0 0", "0 0 0", "0 0 0"},
        {"only white space, 10,000 chars", "1 0 0", "0 0 0", rep("\t \f", 3334), "1 0 0", "0 0 0", "0 0 0"},
        {"only signs and points", "1 0 0", "0 0 0", "+.-.+", "1 0 0", "0 0 0", "0 0 0"},
    };
    for (const RowCase& r : rows) {
        check_context(r.name);
        for (int row = 0; row < 3; ++row) {
            int step = row * ROW_STRIDE;
            put(ID_ROW_VECTOR + step, r.vector);
            put(ID_ROW_OFFSET + step, r.offset);
            put(ID_ROW_COLOR + step, r.colour);
            CHECK_STR(field(ID_ROW_COLOR + step), r.colour);
        }
        press(ID_REDRAW);
        for (int row = 0; row < 3; ++row) {
            int step = row * ROW_STRIDE;
            CHECK_STR(field(ID_ROW_VECTOR + step), r.vector_after);
            CHECK_STR(field(ID_ROW_OFFSET + step), r.offset_after);
            CHECK_STR(field(ID_ROW_COLOR + step), r.colour_after);
        }
    }
    check_context("");
}

// The view still draws after all of that: a plain vector, then the axes.
void check_view_draws() {
    set_all(*app, {{ID_ROW_VECTOR, "0 0 3"}, {ID_ROW_OFFSET, "1 -1 0"}, {ID_ROW_COLOR, "255 0 255"}});
    for (int row = 1; row < 3; ++row) put(ID_ROW_VECTOR + row * ROW_STRIDE, "0 0 0");
    press(ID_REDRAW);
    field(ID_ROW_VECTOR);
    ViewState camera;
    set_start_camera(camera);
    check_picture(app->frame(), camera, {255, 0, 255}, "view after hostile rows");
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<DesktopDriver> driver = started(argc, argv);
    if (!driver) return check_exit();
    app = driver.get();
    for (const CommandCase& c : command_cases()) run_case(c);
    check_context("");
    check_fed_back();
    check_rows();
    check_every_byte();
    check_view_draws();
    host_checks(*app);
    CHECK(app->running());
    CHECK(app->quit());
    return check_exit();
}
