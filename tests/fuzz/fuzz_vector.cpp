// parse_vector and format_vector on any field text. The values must be
// the C library's reading of the same runs, the written text canonical
// and a fixed point, and nothing after the text's NUL may matter.

#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = up_to_nul(data, size);
    ExactText exact(text);
    Vector3 v = parse_vector(exact.get());

    FUZZ_REQUIRE(same_bits(v, parse_vector(with_tail(text).c_str())), quoted(text) + " read past its NUL");
    Vector3 ref = reference::parse_vector(exact.get());
    FUZZ_REQUIRE(same_bits(v, ref), quoted(text) + " reads " + reference::write(v.x) + " " + reference::write(v.y) +
                                        " " + reference::write(v.z) + ", libc " + reference::write(ref.x) + " " +
                                        reference::write(ref.y) + " " + reference::write(ref.z));

    std::string written = format_vector(v).text;
    require_vector_text(v, written);
    require_vector_fixed_point(v, written);
    return 0;
}
