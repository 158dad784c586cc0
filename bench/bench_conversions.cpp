// Field text conversions: parse_vector + format_vector over a mixed corpus
// of field texts, against strtod + snprintf("%g") in the C locale doing the
// same work (read three numbers, round each to float, write them back).
// Both sides produce the same bytes; the benchmark checks that first.

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/internal.h"
#include "app/worksheet.h"
#include "vectext/vectext.h"

namespace {

std::vector<std::string> make_corpus() {
    std::vector<std::string> c = {
        "1 2 3", "  1   2   3  ", "", "3 4", "1 2 3 4", "1-2-3", "1,2,3", "(1 2 3)", "1 abc 3",
        "+1.5 -.25 3.", "1e3 2E-2 -0", "1.5.2 3", "1e 2 3", "0x10 1 1", "1e39 -1e39 1", "1e400 2 3",
        "1e-50 2 3", "Infinity 1 1", "1.23456789 0 0", "0.333333 0.666667 1", "12345.7 -2.5 0.1",
        "3.40282e+38 1.4013e-45 1e-07",
    };
    uint64_t s = 0x2545F4914F6CDD1Dull;
    auto next = [&] {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    };
    char buf[128];
    for (int i = 0; i < 200; ++i) {  // canonical texts of random floats
        Vector3 v;
        for (float* f : {&v.x, &v.y, &v.z}) {
            uint32_t b = uint32_t(next());
            b &= 0xBFFFFFFF;  // keep most exponents moderate, avoid NaN/Inf
            std::memcpy(f, &b, sizeof *f);
        }
        c.push_back(format_vector(v).text);
    }
    for (int i = 0; i < 200; ++i) {  // messy typed texts
        std::snprintf(buf, sizeof buf, "  %d.%03d   %s%u  %ue%d  ", int(next() % 2000) - 1000, unsigned(next() % 1000),
                      next() % 2 ? "-" : "+", unsigned(next() % 100000), unsigned(next() % 999), int(next() % 20) - 10);
        c.push_back(buf);
    }
    return c;
}

const std::vector<std::string>& corpus() {
    static const std::vector<std::string> c = make_corpus();
    return c;
}

// The reference: the same reading rules with strtod on each run, the same
// writing with "%g". It needs the run scanning too, or it would not be
// doing the same work.
bool ref_read(const char*& p, float& out) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* q = p;
    if (*q == '+' || *q == '-') ++q;
    bool digit = false, point = false;
    for (;; ++q) {
        if (*q >= '0' && *q <= '9') digit = true;
        else if (*q == '.' && !point) point = true;
        else break;
    }
    if (!digit) return false;
    if (*q == 'e' || *q == 'E') {
        const char* r = q + 1;
        if (*r == '+' || *r == '-') ++r;
        while (*r >= '0' && *r <= '9') ++r;
        q = r;
    }
    // strtod would read further than the run ("0x10", "inf"): hand it a
    // copy of the run alone, on the stack.
    char run[512];
    size_t n = size_t(q - p) < sizeof run - 1 ? size_t(q - p) : sizeof run - 1;
    std::memcpy(run, p, n);
    run[n] = '\0';
    errno = 0;
    char* end;
    double d = std::strtod(run, &end);
    if (end == run || errno == ERANGE) return false;
    out = float(d);
    p = q;
    return true;
}

void ref_write_one(float f, char*& p) {
    if (f == 0) *p++ = '0';
    else if (f != f) p += std::sprintf(p, "NaN");
    else if (f > 3.4028235e38f) p += std::sprintf(p, "Infinity");
    else if (f < -3.4028235e38f) p += std::sprintf(p, "-Infinity");
    else p += std::snprintf(p, 16, "%g", double(f));
}

std::string ref_round_trip(const char* text) {
    float v[3] = {0, 0, 0};
    const char* p = text;
    for (float& f : v)
        if (!ref_read(p, f)) break;
    char out[64], *o = out;
    for (int i = 0; i < 3; ++i) {
        if (i) *o++ = ' ';
        ref_write_one(v[i], o);
    }
    *o = '\0';
    return out;
}

void BM_ours(benchmark::State& state) {
    const auto& c = corpus();
    size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& t : c) {
            FieldText out = format_vector(parse_vector(t.c_str()));
            benchmark::DoNotOptimize(out);
            bytes += t.size();
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(c.size()));
    state.SetBytesProcessed(int64_t(bytes));
}

void BM_libc(benchmark::State& state) {
    const auto& c = corpus();
    size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& t : c) {
            std::string out = ref_round_trip(t.c_str());
            benchmark::DoNotOptimize(out);
            bytes += t.size();
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(c.size()));
    state.SetBytesProcessed(int64_t(bytes));
}

BENCHMARK(BM_ours);
BENCHMARK(BM_libc);

// A command as the hosts run it, an undoable step that keeps its entry,
// and what a host's open worksheet window asks for after it (the news, the
// new entry's row), with the worksheet empty (cleared after each) and at
// its cap of 1,000.
std::map<int, std::string> fields;
void read_text(void*, int id, char* buffer, int size) { std::snprintf(buffer, size_t(size), "%s", fields[id].c_str()); }
void write_text(void*, int id, const char* text) { fields[id] = text; }
bool unchecked(void*, int) { return false; }
void no_repaint(void*) {}

void BM_step(benchmark::State& state) {
    FieldAccess f{nullptr, read_text, write_text, unchecked, no_repaint};
    fields = {{ID_V1, "1.5 -2 3e-05"}, {ID_V2, "4 0.25 6"}, {ID_S1, "2"}, {ID_V3, "0 0 0"}, {ID_S2, "0"}};
    clear_worksheet();
    forget_steps();
    while (int64_t(entry_count()) < state.range(0)) run_step(f, ID_CROSS_PRODUCT);
    size_t seen = worksheet_changes();
    for (auto _ : state) {
        run_step(f, ID_CROSS_PRODUCT);
        WorksheetNews news = worksheet_news(seen);
        for (size_t i = entry_count() - news.fresh; i < entry_count(); ++i) benchmark::DoNotOptimize(entry_row(i));
        if (!state.range(0)) clear_worksheet();
    }
}
BENCHMARK(BM_step)->Arg(0)->Arg(WORKSHEET_CAP);

}  // namespace

int main(int argc, char** argv) {
    // Same bytes first, or the comparison means nothing.
    int mismatches = 0;
    for (const std::string& t : corpus()) {
        std::string ours = format_vector(parse_vector(t.c_str())).text, ref = ref_round_trip(t.c_str());
        if (ours != ref && mismatches++ < 5) std::fprintf(stderr, "differs on '%s': '%s' vs '%s'\n", t.c_str(), ours.c_str(), ref.c_str());
    }
    if (mismatches) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
