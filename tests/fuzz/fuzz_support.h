// What the fuzz targets share: an abort that says which invariant broke,
// field texts in storage that ends at their NUL, and the per-number
// checks of written text.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tests/canonical_text.h"
#include "tests/float_bits.h"
#include "tests/libc_reference.h"
#include "vectext/vectext.h"

// libFuzzer keeps the input that made us abort.
[[noreturn]] inline void fuzz_fail(const char* what, const char* file, int line, const std::string& detail) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n  %s\n", file, line, what, detail.c_str());
    std::abort();
}

#define FUZZ_REQUIRE(cond, detail)                                   \
    do {                                                             \
        if (!(cond)) fuzz_fail(#cond, __FILE__, __LINE__, (detail)); \
    } while (0)

inline bool same_bits(Vector3 a, Vector3 b) {
    return float_bits(a.x) == float_bits(b.x) && float_bits(a.y) == float_bits(b.y) &&
           float_bits(a.z) == float_bits(b.z);
}

// Printable form of a fuzz text for failure messages.
inline std::string quoted(const std::string& s) {
    std::string out = "'";
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02x", c);
            out += esc;
        }
    }
    return out + "'";
}

// A text in a heap block of exactly its length plus the NUL: any read
// past the NUL runs off the block and AddressSanitizer stops the run.
struct ExactText {
    explicit ExactText(const std::string& s) : block(new char[s.size() + 1]) {
        std::memcpy(block.get(), s.c_str(), s.size() + 1);
    }
    const char* get() const { return block.get(); }
    std::unique_ptr<char[]> block;
};

// The same text with more after its NUL that would change any result it
// reached: a digit right after the NUL lengthens a number cut there, and
// further numbers fill components that should stay 0.
inline std::string with_tail(const std::string& s) { return s + std::string(1, '\0') + "7 7 7 7"; }

// Digits from the first NUL on are not part of a field text.
inline std::string up_to_nul(const uint8_t* data, size_t size) {
    const char* p = reinterpret_cast<const char*>(data);
    return std::string(p, strnlen(p, size));
}

// The text written for one number: canonical, the C library's, and (when
// finite) within half a unit of the sixth digit of the value, reading
// back to a float that is written the same way.
inline void require_number_text(float v, const std::string& text) {
    std::string detail = "value " + std::to_string(float_bits(v)) + " written " + quoted(text);
    FUZZ_REQUIRE(canonical::number(text), detail);
    FUZZ_REQUIRE(text == reference::write(v), detail + ", libc " + reference::write(v));
    if (!std::isfinite(v)) return;
    float back = 0.0f;
    const char* p = text.c_str();
    FUZZ_REQUIRE(read_number(p, back) && *p == '\0', detail);
    // Six digits are off by at most half a unit of the sixth (5e-6 of the
    // value, a hair more when rounding carried), the float by 6e-8 more.
    double tolerance = 5.1e-6 * std::fabs(double(v)) + 1.5e-45;
    FUZZ_REQUIRE(std::fabs(double(back) - double(v)) <= tolerance, detail + " reads back far off");
    char again[40];
    *write_number(back, again, again + sizeof again) = '\0';
    FUZZ_REQUIRE(text == again, detail + " is not a fixed point: " + again);
}

inline void split_three(const std::string& text, std::string part[3]) {
    FUZZ_REQUIRE(canonical::three_parts(text, part), quoted(text));
}

// A vector text as format_vector must write v.
inline void require_vector_text(Vector3 v, const std::string& text) {
    FUZZ_REQUIRE(canonical::vector(text), quoted(text));
    FUZZ_REQUIRE(text.size() < sizeof(FieldText{}.text), quoted(text));
    std::string part[3];
    split_three(text, part);
    require_number_text(v.x, part[0]);
    require_number_text(v.y, part[1]);
    require_number_text(v.z, part[2]);
}

// Reading a canonical vector text again gives the values it shows, and
// writing those gives the same bytes. A word for a value that is not
// finite does not read: it and the components after it come back as 0.
inline void require_vector_fixed_point(Vector3 v, const std::string& text) {
    Vector3 w = parse_vector(ExactText(text).get());
    float in[3] = {v.x, v.y, v.z}, out[3] = {w.x, w.y, w.z};
    bool stopped = false;
    std::string expected;
    for (int i = 0; i < 3; ++i) {
        stopped = stopped || !std::isfinite(in[i]);
        std::string want = stopped ? "0" : reference::write(in[i]);
        if (stopped) FUZZ_REQUIRE(float_bits(out[i]) == 0, quoted(text) + " read again");
        expected += (i ? " " : "") + want;
    }
    std::string again = format_vector(w).text;
    FUZZ_REQUIRE(again == expected, quoted(text) + " read and written again is " + quoted(again));
    FUZZ_REQUIRE(std::string(format_vector(parse_vector(again.c_str())).text) == again, quoted(again));
}

// A colour text: three integers 0..255, the values given.
inline void require_color_text(const Rgb& c, const std::string& text) {
    FUZZ_REQUIRE(canonical::color(text), quoted(text));
    std::string want = std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
    FUZZ_REQUIRE(text == want, quoted(text) + " for " + want);
    Rgb again = parse_color(ExactText(text).get());
    FUZZ_REQUIRE(again.red == c.red && again.green == c.green && again.blue == c.blue, quoted(text));
    FUZZ_REQUIRE(std::string(format_color(again.red, again.green, again.blue).text) == text, quoted(text));
}

// The colour a text holds by the reference reader, limited to 0..255.
inline Rgb reference_color(const char* text) {
    uint32_t c[3];
    reference::parse_color(text, c);
    auto limit = [](uint32_t n) { return unsigned(n > 255 ? 255 : n); };
    return {limit(c[0]), limit(c[1]), limit(c[2])};
}
