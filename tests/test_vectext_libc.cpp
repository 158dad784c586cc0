// Our conversions against the C library's own in the "C" locale, on many
// random inputs: strtod then a cast for reading, "%g" for writing. This is
// the reference both hosts must agree with.

#include <cmath>
#include <cstdio>
#include <string>

#include "tests/check.h"
#include "tests/libc_reference.h"
#include "tests/vectext_cases.h"

namespace {

uint64_t rng_state = 0x9E3779B97F4A7C15ull;

uint64_t next_random() {
    rng_state ^= rng_state << 13;
    rng_state ^= rng_state >> 7;
    rng_state ^= rng_state << 17;
    return rng_state;
}

unsigned below(unsigned n) { return unsigned(next_random() % n); }

std::string random_run() {
    std::string s;
    switch (below(4)) {
        case 0: s += '-'; break;
        case 1: s += '+'; break;
        default: break;
    }
    unsigned digits = 1 + (below(4) == 0 ? below(40) : below(10));
    unsigned point = below(digits + 2);  // digits + 1: no point at all
    if (below(5) == 0) s += std::string(below(30), '0');
    for (unsigned i = 0; i < digits; ++i) {
        if (i == point) s += '.';
        s += char('0' + below(10));
    }
    if (point == digits) s += '.';
    if (below(3) != 0) {
        s += below(2) ? 'e' : 'E';
        int range = below(3) == 0 ? 340 : 45;
        int e = int(below(2 * range + 1)) - range;
        s += e < 0 ? "-" : (below(2) ? "+" : "");
        s += std::to_string(e < 0 ? -e : e);
    }
    return s;
}

void check_reading(int count) {
    int mismatches = 0;
    for (int i = 0; i < count; ++i) {
        std::string run = random_run();
        const char* rp = run.c_str();
        float ref = 0.0f;
        bool ref_ok = reference::read_number(rp, ref);

        const char* p = run.c_str();
        float mine = 0.0f;
        bool ok = read_number(p, mine);
        bool same = ok == ref_ok && (!ok || (float_bits(mine) == float_bits(ref) && p == rp));
        if (!same && mismatches++ < 10)
            std::printf("read '%s': ours %d %08x, libc %d %08x\n", run.c_str(), ok, float_bits(mine), ref_ok,
                        float_bits(ref));
    }
    CHECK_INT(mismatches, 0);
}

void check_writing(int count) {
    int mismatches = 0;
    char buf[32];
    auto one = [&](uint32_t bits) {
        float f = bits_float(bits);
        *write_number(f, buf, buf + sizeof buf) = '\0';
        std::string ref = reference::write(f);
        if (ref != buf && mismatches++ < 10) std::printf("write %08x: ours '%s', libc '%s'\n", bits, buf, ref.c_str());
        // The integer writer the page and the links use, at both its precisions.
        for (int precision : {6, 9}) {
            if (f == 0.0f || !std::isfinite(f)) break;
            char mine[32], libc[40];
            *write_significant(f, precision, mine, mine + sizeof mine) = '\0';
            std::snprintf(libc, sizeof libc, "%.*g", precision, double(f));
            if (std::strcmp(mine, libc) != 0 && mismatches++ < 10)
                std::printf("write %08x %%.%dg: ours '%s', libc '%s'\n", bits, precision, mine, libc);
        }
    };
    for (int i = 0; i < count; ++i) one(uint32_t(next_random()));
    // Around every power of ten, where the layout and the rounding carry
    // change: the nearest floats and a few either side.
    for (int e = -45; e <= 38; ++e) {
        float p = static_cast<float>(std::pow(10.0, e));
        for (int k = -8; k <= 8; ++k) one(float_bits(p) + uint32_t(k));
        // and where six digits round up to the power: 9.999995 * 10^(e-1)
        float r = static_cast<float>(9.999995 * std::pow(10.0, e - 1));
        for (int k = -8; k <= 8; ++k) one(float_bits(r) + uint32_t(k));
    }
    CHECK_INT(mismatches, 0);
}

}  // namespace

int main() {
    check_reading(300000);
    check_writing(1000000);
    return check_exit();
}
