// Our number writer against the C library's "%.6g" (with the words for
// zero and non-finite values), over float bit patterns.
//
//   test_format_all            the sampled set, for CI: every 65537th
//                              pattern, the floats round every power of
//                              ten, round a spread of six-digit rounding
//                              boundaries, and at and round exact ties
//   test_format_all --all [N]  all 2^32 patterns on N threads (default 1);
//                              takes tens of minutes

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/canonical_text.h"
#include "tests/check.h"
#include "tests/float_bits.h"
#include "tests/libc_reference.h"
#include "vectext/vectext.h"

namespace {

std::mutex report_lock;
std::atomic<int> reported{0};

void report(uint32_t bits, const char* ours, const char* ref) {
    std::lock_guard<std::mutex> hold(report_lock);
    if (reported++ < 20) std::printf("%08x: ours '%s', libc '%s'\n", unsigned(bits), ours, ref);
}

// One pattern: the same text as the reference and the length returned.
bool same_as_libc(uint32_t bits) {
    char ours[40], ref[64];
    char* end = write_number(bits_float(bits), ours, ours + sizeof ours);
    *end = '\0';
    int n = int(end - ours);
    reference::write(bits_float(bits), ref, sizeof ref);
    // The integer writer the page uses, beside the host's.
    char exact[40];
    *write_significant(bits_float(bits), 6, exact, exact + sizeof exact) = '\0';
    if (std::strcmp(ours, ref) == 0 && n == int(std::strlen(ref)) && std::strcmp(exact, ref) == 0) return true;
    report(bits, ours, ref);
    return false;
}

struct Sampled {
    long checked = 0;
    long mismatches = 0;
    long not_canonical = 0;

    void check(uint32_t bits) {
        ++checked;
        if (!same_as_libc(bits)) ++mismatches;
        char ours[40];
        *write_number(bits_float(bits), ours, ours + sizeof ours) = '\0';
        if (!canonical::number(ours)) ++not_canonical;
    }
    // f and the k patterns either side of it, in the same sign.
    void around(float f, int k) {
        uint32_t b = float_bits(f);
        for (int d = -k; d <= k; ++d) check(b + uint32_t(d));
    }
};

float nearest_float(const std::string& decimal) { return std::strtof(decimal.c_str(), nullptr); }

// The exact decimal expansion of f: 112 digits after the point cover the
// smallest subnormal, so "%.120e" shows every digit.
bool is_six_digit_tie(float f) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%.120e", double(f));
    // d.ddddd5000...e±X: digit 7 is buf[7] (after "d.").
    if (buf[7] != '5') return false;
    for (const char* p = buf + 8; *p != 'e'; ++p)
        if (*p != '0') return false;
    return true;
}

void run_sampled() {
    Sampled s;

    for (uint32_t i = 0; i < 65536; ++i) s.check(i * 65537u);  // 0 .. 0xFFFFFFFF
    check_context("every 65537th pattern");
    CHECK_INT(s.mismatches, 0);

    Sampled powers;
    for (int x = -45; x <= 38; ++x) {
        float p = nearest_float("1e" + std::to_string(x));
        powers.around(p, 8);
        powers.around(-p, 8);
        // Where six digits round up into the next power: 9.999995 * 10^(x-1).
        float carry = nearest_float("9.999995e" + std::to_string(x - 1));
        powers.around(carry, 8);
        powers.around(-carry, 8);
    }
    check_context("round the powers of ten");
    CHECK_INT(powers.mismatches, 0);

    // Midpoints (n + 1/2) * 10^(x-5) between six-digit neighbours, for a
    // spread of n in every decade, and the floats nearest to each.
    Sampled boundaries;
    for (int x = -45; x <= 38; ++x) {
        for (int n = 100000; n <= 999999; n += 331) {
            float m = nearest_float(std::to_string(n) + "5e" + std::to_string(x - 6));
            boundaries.around(n % 2 ? -m : m, 2);
        }
        boundaries.around(nearest_float("9999995e" + std::to_string(x - 6)), 2);
    }
    check_context("round six-digit rounding boundaries");
    CHECK_INT(boundaries.mismatches, 0);
    CHECK(boundaries.checked > 1000000);

    // Floats that lie exactly on such a midpoint, where only ties to even
    // decides: T * 10^(x-6) for seven-digit T ending in 5. They exist for
    // x = -4..7 (T must be a multiple of 5^(6-x), or T * 10^(x-6) must fit
    // in 24 bits). Small families whole, large ones thinned out.
    Sampled ties;
    long found = 0, not_ties = 0;
    for (int x = -4; x <= 7; ++x) {
        int k = 6 - x;
        long family = 0;
        std::vector<float> members;
        for (long t = 1000005; t <= 9999995; t += 10) {
            double v;
            if (k <= 0) {
                v = double(t) * std::pow(10.0, -k);
            } else {
                long p5 = 1;
                for (int i = 0; i < k; ++i) p5 *= 5;
                if (t % p5) continue;
                v = std::ldexp(double(t / p5), -k);
            }
            float f = static_cast<float>(v);
            if (double(f) != v) continue;
            ++family;
            members.push_back(f);
        }
        int stride = family > 50000 ? 53 : 1;
        for (size_t i = 0; i < members.size(); i += size_t(stride)) {
            float f = members[i];
            if (!is_six_digit_tie(f)) ++not_ties;
            ++found;
            ties.around(f, 1);
            ties.around(-f, 1);
        }
        std::printf("ties with first digit at 10^%d: %ld, %zu checked\n", x, family,
                    (members.size() + size_t(stride) - 1) / size_t(stride));
    }
    check_context("exact ties");
    CHECK_INT(not_ties, 0);
    CHECK(found > 50000);
    CHECK_INT(ties.mismatches, 0);

    check_context("canonical form");
    CHECK_INT(s.not_canonical + powers.not_canonical + boundaries.not_canonical + ties.not_canonical, 0);
    check_context("");
    std::printf("%ld patterns checked\n", s.checked + powers.checked + boundaries.checked + ties.checked);
}

// The matcher must also refuse what the rule never writes, or the
// canonical-form check above proves nothing.
void check_matcher_refuses() {
    const char* wrong[] = {
        "-0", "+1", "1.", ".5", "1.0", "01", "00", "1.234567", "1234567", "0.00001", "0.0001000",
        "1e+6", "1e+006", "1e6", "1.5e05", "1.50e+07", "1e-04", "1e+05", "12e+07", "0e+00", "0.1e+07",
        "nan", "inf", "-NaN", "+Infinity", "1e+39", "1e-46", "", "-", " 1", "1 ", "1e+0a", "1.2.3",
    };
    for (const char* w : wrong) {
        check_context(w);
        CHECK(!canonical::number(w));
    }
    check_context("");
    const char* right[] = {"0", "1", "-2.5", "100000", "999999", "0.0001", "1e-05", "1e+06", "1.4013e-45",
                           "3.40282e+38", "-0.000123457", "NaN", "-Infinity"};
    for (const char* r : right) {
        check_context(r);
        CHECK(canonical::number(r));
    }
    check_context("");
}

int run_all(int threads) {
    auto start = std::chrono::steady_clock::now();
    std::atomic<uint64_t> mismatches{0};
    std::atomic<uint64_t> done{0};
    std::vector<std::thread> pool;
    const uint64_t total = uint64_t(1) << 32;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            uint64_t begin = total * uint64_t(t) / uint64_t(threads);
            uint64_t end = total * uint64_t(t + 1) / uint64_t(threads);
            uint64_t bad = 0;
            for (uint64_t b = begin; b < end; ++b) {
                if (!same_as_libc(uint32_t(b))) ++bad;
                if ((b & 0xFFFFFF) == 0xFFFFFF) {
                    uint64_t n = done.fetch_add(0x1000000) + 0x1000000;
                    if ((n >> 24) % 16 == 0) {
                        std::lock_guard<std::mutex> hold(report_lock);
                        std::printf("%llu of %llu patterns\n", (unsigned long long)n, (unsigned long long)total);
                        std::fflush(stdout);
                    }
                }
            }
            mismatches += bad;
        });
    }
    for (std::thread& t : pool) t.join();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%llu patterns checked, %llu mismatches, %.0f s on %d thread(s)\n", (unsigned long long)total,
                (unsigned long long)mismatches.load(), seconds, threads);
    return mismatches == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--all") == 0) return run_all(argc >= 3 ? std::atoi(argv[2]) : 1);
    check_matcher_refuses();
    run_sampled();
    return check_exit();
}
