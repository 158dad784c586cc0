// Matchers for the canonical texts the writers may produce, built from the
// writing rules alone: a number is "0", "NaN", "Infinity", "-Infinity" or
// an optional "-" and at most six significant digits in %g's positional
// form (decimal exponent -4..5) or exponent form (any other exponent a
// float can have, two exponent digits), with no trailing zero after the
// point and no point without digits after it. A vector text is three
// numbers joined by single spaces; a colour text is three integers 0..255
// without sign or leading zero.
#pragma once

#include <string>

namespace canonical {

inline bool all_digits(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

inline bool number(const std::string& s) {
    if (s == "0" || s == "NaN" || s == "Infinity" || s == "-Infinity") return true;
    std::string b = !s.empty() && s[0] == '-' ? s.substr(1) : s;
    std::string::size_type e = b.find('e');
    std::string mantissa = b.substr(0, e);
    std::string::size_type dot = mantissa.find('.');
    std::string whole = mantissa.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : mantissa.substr(dot + 1);
    if (whole.empty() || !all_digits(whole) || !all_digits(fraction)) return false;
    if (dot != std::string::npos && (fraction.empty() || fraction.back() == '0')) return false;

    int x;                    // decimal exponent of the first significant digit
    std::string significant;  // the digits that stand for it and below
    if (e != std::string::npos) {
        std::string exp = b.substr(e + 1);
        if (exp.size() != 3 || (exp[0] != '+' && exp[0] != '-') || !all_digits(exp.substr(1))) return false;
        x = (exp[1] - '0') * 10 + (exp[2] - '0');
        if (exp[0] == '-') x = -x;
        if (whole.size() != 1 || whole == "0") return false;
        if (x >= -4 && x < 6) return false;  // those are written positionally
        if (x < -45 || x > 38) return false;  // beyond any float
        significant = whole + fraction;
    } else if (whole == "0") {
        std::string::size_type first = fraction.find_first_not_of('0');
        if (first == std::string::npos) return false;  // zero has its own text
        x = -int(first) - 1;
        if (x < -4) return false;
        significant = fraction.substr(first);
    } else {
        if (whole[0] == '0') return false;
        x = int(whole.size()) - 1;
        if (x >= 6) return false;
        significant = whole + fraction;
    }
    return significant.size() <= 6;
}

// Splits s at single spaces into exactly three non-empty parts.
inline bool three_parts(const std::string& s, std::string part[3]) {
    std::string::size_type a = s.find(' ');
    if (a == std::string::npos) return false;
    std::string::size_type b = s.find(' ', a + 1);
    if (b == std::string::npos || s.find(' ', b + 1) != std::string::npos) return false;
    part[0] = s.substr(0, a);
    part[1] = s.substr(a + 1, b - a - 1);
    part[2] = s.substr(b + 1);
    return !part[0].empty() && !part[1].empty() && !part[2].empty();
}

inline bool vector(const std::string& s) {
    std::string part[3];
    return three_parts(s, part) && number(part[0]) && number(part[1]) && number(part[2]);
}

inline bool color_component(const std::string& s) {
    if (s.empty() || s.size() > 3 || !all_digits(s)) return false;
    if (s.size() > 1 && s[0] == '0') return false;
    return std::stoi(s) <= 255;
}

inline bool color(const std::string& s) {
    std::string part[3];
    return three_parts(s, part) && color_component(part[0]) && color_component(part[1]) &&
           color_component(part[2]);
}

}  // namespace canonical
