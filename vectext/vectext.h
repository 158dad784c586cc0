// vectext: the text of vector, scalar and colour fields, and the
// conversions between those texts and values. Reading never fails (what
// cannot be read is 0); writing gives the canonical text that commands put
// back into the fields. Nothing here looks at the process locale: the full
// stop is the only decimal point on every host.
#pragma once

#include <cstdint>

#include "vectext/vector3.h"

// A text made by a format operation. It lives in the caller's storage, so
// formatting never allocates; the longest vector text is 3 * 12 + 2 chars.
struct FieldText {
    char text[40];
};

// One number read, starting at `pos` (white space skipped first). On
// success stores the value rounded to float, moves `pos` past the number's
// run and returns true. Where no number starts, returns false and leaves
// `pos` where it was. A run beyond a double's range (1e309, 1e-400) also
// returns false, with `value` untouched but `pos` past the run.
bool read_number(const char*& pos, float& value);

// One unsigned integer read for colours, the same contract: beyond 32 bits
// is the range failure.
bool read_unsigned(const char*& pos, uint32_t& value);

// Writes the canonical text of one number (at most 12 chars, no NUL) into
// [first, last) and returns the end of the text, or nullptr if it does not
// fit.
constexpr int NUMBER_TEXT_MAX = 12;
char* write_number(float value, char* first, char* last);
// The same with `precision` significant digits (1 to 9), "%.<precision>g"
// in the C locale but for the texts of zero and the non-finite values.
char* write_significant(float value, int precision, char* first, char* last);

Vector3 parse_vector(const char* text);
FieldText format_vector(Vector3 v);

float parse_scalar(const char* text);
FieldText format_scalar(float v);

struct Rgb {
    unsigned red, green, blue;  // each 0..255
};

Rgb parse_color(const char* text);
FieldText format_color(unsigned red, unsigned green, unsigned blue);
