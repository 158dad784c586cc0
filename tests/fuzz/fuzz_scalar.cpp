// The number reader and writer: parse_scalar and format_scalar on any
// text, and read_number stepped through the whole text, each read against
// the C library's reading of the run the rules delimit (value and where
// the read stops). The first four bytes also go to the writer as a float.

#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 4) {
        uint32_t bits;
        std::memcpy(&bits, data, 4);
        float f = bits_float(bits);
        require_number_text(f, format_scalar(f).text);
    }

    std::string text = up_to_nul(data, size);
    ExactText exact(text);
    float s = parse_scalar(exact.get());
    FUZZ_REQUIRE(float_bits(s) == float_bits(parse_scalar(with_tail(text).c_str())),
                 quoted(text) + " read past its NUL");

    // Read after read until one fails, as a vector reads its components.
    const char* ours = exact.get();
    const char* theirs = exact.get();
    for (int n = 0;; ++n) {
        float mine = 12345.0f, ref = 12345.0f;
        bool ok = read_number(ours, mine);
        bool ref_ok = reference::read_number(theirs, ref);
        // Messages are made only on failure: quoting the text costs.
        auto where = [&] { return quoted(text) + " read " + std::to_string(n); };
        FUZZ_REQUIRE(ok == ref_ok, where() + (ok ? " succeeds, libc fails" : " fails, libc succeeds"));
        if (!ok) {
            FUZZ_REQUIRE(float_bits(mine) == float_bits(12345.0f), where() + " failed but stored a value");
            if (n == 0) FUZZ_REQUIRE(float_bits(s) == 0, where() + ": parse_scalar is not 0");
            break;
        }
        FUZZ_REQUIRE(float_bits(mine) == float_bits(ref), where() + " gives " + reference::write(mine) + ", libc " +
                                                         reference::write(ref));
        FUZZ_REQUIRE(ours == theirs, where() + " stops at " + std::to_string(ours - exact.get()) + ", libc at " +
                                         std::to_string(theirs - exact.get()));
        if (n == 0) FUZZ_REQUIRE(float_bits(s) == float_bits(mine), where() + ": parse_scalar differs");
    }

    std::string written = format_scalar(s).text;
    require_number_text(s, written);
    return 0;
}
