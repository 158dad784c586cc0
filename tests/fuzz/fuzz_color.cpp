// parse_color and format_color on any field text, and read_unsigned
// stepped through it, against a reader written from the rules: each
// component 0..255, the written text canonical and a fixed point.

#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = up_to_nul(data, size);
    ExactText exact(text);
    Rgb c = parse_color(exact.get());

    Rgb tail = parse_color(with_tail(text).c_str());
    FUZZ_REQUIRE(tail.red == c.red && tail.green == c.green && tail.blue == c.blue,
                 quoted(text) + " read past its NUL");
    FUZZ_REQUIRE(c.red <= 255 && c.green <= 255 && c.blue <= 255, quoted(text));
    Rgb ref = reference_color(exact.get());
    FUZZ_REQUIRE(c.red == ref.red && c.green == ref.green && c.blue == ref.blue, quoted(text));

    const char* ours = exact.get();
    const char* theirs = exact.get();
    for (int n = 0;; ++n) {
        uint32_t mine = 77, want = 77;
        bool ok = read_unsigned(ours, mine);
        bool want_ok = reference::read_unsigned(theirs, want);
        auto where = [&] { return quoted(text) + " integer " + std::to_string(n); };
        FUZZ_REQUIRE(ok == want_ok, where());
        if (!ok) {
            FUZZ_REQUIRE(mine == 77, where() + " failed but stored a value");
            break;
        }
        FUZZ_REQUIRE(mine == want && ours == theirs, where());
    }

    require_color_text(c, format_color(c.red, c.green, c.blue).text);
    return 0;
}
