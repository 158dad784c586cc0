// The three field formats, built on the number and unsigned readers.

#include "vectext/vectext.h"

Vector3 parse_vector(const char* text) {
    Vector3 v;
    const char* p = text;
    // The first failed read ends the reading; later components stay 0.
    if (read_number(p, v.x) && read_number(p, v.y)) read_number(p, v.z);
    return v;
}

FieldText format_vector(Vector3 v) {
    FieldText t;
    char* const end = t.text + sizeof t.text;
    char* p = write_number(v.x, t.text, end);
    *p++ = ' ';
    p = write_number(v.y, p, end);
    *p++ = ' ';
    p = write_number(v.z, p, end);
    *p = '\0';
    return t;
}

float parse_scalar(const char* text) {
    float s = 0.0f;
    const char* p = text;
    if (!read_number(p, s)) s = 0.0f;
    return s;
}

FieldText format_scalar(float v) {
    FieldText t;
    *write_number(v, t.text, t.text + sizeof t.text) = '\0';
    return t;
}

Rgb parse_color(const char* text) {
    uint32_t c[3] = {0, 0, 0};
    const char* p = text;
    for (uint32_t& component : c)
        if (!read_unsigned(p, component)) break;
    Rgb rgb;
    rgb.red = c[0] > 255 ? 255 : c[0];
    rgb.green = c[1] > 255 ? 255 : c[1];
    rgb.blue = c[2] > 255 ? 255 : c[2];
    return rgb;
}

namespace {

char* write_unsigned(unsigned n, char* p) {
    char tmp[10];
    int t = 0;
    do {
        tmp[t++] = char('0' + n % 10);
        n /= 10;
    } while (n);
    while (t) *p++ = tmp[--t];
    return p;
}

}  // namespace

FieldText format_color(unsigned red, unsigned green, unsigned blue) {
    FieldText t;
    char* p = write_unsigned(red, t.text);
    *p++ = ' ';
    p = write_unsigned(green, p);
    *p++ = ' ';
    p = write_unsigned(blue, p);
    *p = '\0';
    return t;
}
