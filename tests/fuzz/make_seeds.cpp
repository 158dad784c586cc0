// Writes the fuzz targets' seed corpora from the conversion tables:
//   rm -r tests/fuzz/corpus && fuzz_seeds tests/fuzz/corpus
// The files are checked in; make them again after the tables change.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "tests/vectext_cases.h"

namespace {

// Writes one seed, unless its target has the same bytes already.
void put(const std::string& dir, const std::string& name, const std::string& bytes) {
    static std::set<std::string> written;
    if (!written.insert(dir + '\0' + bytes).second) return;
    std::filesystem::create_directories(dir);
    std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

std::string numbered(const char* stem, size_t i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s-%02zu", stem, i);
    return buf;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    std::string root = argv[1];

    std::vector<std::string> vectors, numbers, scalars, colors;
    for (const VectorCase& c : VECTOR_CASES) {
        vectors.push_back(c.text);
        vectors.push_back(c.written);
    }
    for (const NumberCase& c : NUMBER_CASES) {
        numbers.push_back(c.written);
        // Raw bits first: the scalar target also writes them as a float.
        scalars.push_back(std::string(reinterpret_cast<const char*>(&c.bits), 4));
    }
    for (const ScalarCase& c : SCALAR_CASES) scalars.push_back(c.text);
    for (const ColorCase& c : COLOR_CASES) colors.push_back(c.text);

    size_t i = 0;
    for (const std::string& s : vectors) put(root + "/fuzz_vector", numbered("table", i++), s);
    for (size_t k = 0; k + 2 < numbers.size(); k += 3)
        put(root + "/fuzz_vector", numbered("numbers", k / 3),
            numbers[k] + " " + numbers[k + 1] + " " + numbers[k + 2]);
    // Beyond the 800 digits the reader keeps, only a non-zero digit far out
    // can still decide a rounding: the double midpoint above 1 + 2^-24,
    // with and without a 1 at the end.
    std::string mid = "1.00000005960464488641292746251565404236316680908203125";
    i = 0;
    for (const std::string& s : {mid + std::string(900, '0'), mid + std::string(900, '0') + "1",
                                 "0." + std::string(950, '3') + " 2 3"}) {
        put(root + "/fuzz_vector", numbered("long", i), s);
        put(root + "/fuzz_scalar", numbered("long", i++), s);
    }
    // 2^56 + 2^32, a float midpoint written as a whole number too long for
    // the quick conversions.
    put(root + "/fuzz_vector", "midpoint-integer", "72057598332895232 1 1");
    put(root + "/fuzz_scalar", "midpoint-integer", "72057598332895232");
    i = 0;
    for (const std::string& s : scalars) put(root + "/fuzz_scalar", numbered("table", i++), s);
    for (const std::string& s : numbers) put(root + "/fuzz_scalar", numbered("table", i++), s);
    i = 0;
    for (const std::string& s : colors) put(root + "/fuzz_color", numbered("table", i++), s);

    // Commands: selector, boxes, then the fourteen field texts (V1 V2 S1 V3
    // S2, then vector, offset, colour of each row), each ended by a NUL.
    const size_t nv = sizeof VECTOR_CASES / sizeof VECTOR_CASES[0];
    const size_t ns = sizeof SCALAR_CASES / sizeof SCALAR_CASES[0];
    const size_t nc = sizeof COLOR_CASES / sizeof COLOR_CASES[0];
    size_t next = 0;
    for (unsigned pick = 0; pick < 10; ++pick) {
        for (int variant = 0; variant < 4; ++variant, ++next) {
            std::string in;
            in += char(pick + 10 * variant);
            in += char(variant * 3 + (variant == 3 ? 8 : 0));  // boxes; the last with a host that leaves no NUL
            auto field = [&](const char* t) {
                in += t;
                in += '\0';
            };
            field(VECTOR_CASES[next % nv].text);
            field(VECTOR_CASES[(next + 7) % nv].text);
            field(SCALAR_CASES[next % ns].text);
            field("0 0 0");
            field("0");
            for (int row = 0; row < 3; ++row) {
                field(VECTOR_CASES[(next + 3 * row + 1) % nv].text);
                field(VECTOR_CASES[(next + 3 * row + 2) % nv].text);
                field(COLOR_CASES[(next + row) % nc].text);
            }
            put(root + "/fuzz_commands", numbered("table", next), in);
        }
    }
    // Inputs whose products and sums round: triples of the written numbers.
    auto triple = [&](size_t k) {
        return numbers[k % numbers.size()] + " " + numbers[(k + 1) % numbers.size()] + " " +
               numbers[(k + 2) % numbers.size()];
    };
    for (unsigned pick = 0; pick < 9; ++pick) {
        for (size_t variant = 0; variant < 2; ++variant) {
            size_t k = 4 + pick * 2 + variant;
            std::string in(1, char(pick));
            in += char(variant ? 5 : 2);
            for (const std::string& t : {triple(k), triple(k + 11), numbers[(k + 5) % numbers.size()],
                                         std::string("0 0 0"), std::string("0"), triple(k + 3), triple(k + 17),
                                         std::string(COLOR_CASES[k % nc].text)})
                in += t + '\0';
            put(root + "/fuzz_commands", numbered("rounding", pick * 2 + variant), in);
        }
    }

    // Found by fuzzing: a dot product whose second partial sum rounds, so
    // summing all three products before rounding gives another float.
    put(root + "/fuzz_commands", "dot-rounding", std::string("\x0d\x0d-.4.3\0" "3 4", 11));

    // One with texts longer than a field holds: digits past the 255th
    // character must not count.
    std::string longer = std::string(1, char(0)) + std::string(1, char(8));
    longer += std::string(250, ' ') + "1 2 3 4 5" + '\0';
    longer += std::string(255, '9') + "9 9" + '\0';
    put(root + "/fuzz_commands", "long-fields", longer);
    return 0;
}
