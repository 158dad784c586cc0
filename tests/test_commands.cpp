// The calculator commands against an in-memory set of fields, through the
// same FieldAccess the hosts provide.

#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/check.h"

namespace {

struct FakeDialog {
    std::map<int, std::string> text;
    std::vector<std::string> log;  // "r1001", "w1004", ... in call order
};

void fake_read(void* host, int id, char* buffer, int size) {
    auto* d = static_cast<FakeDialog*>(host);
    d->log.push_back("r" + std::to_string(id));
    // Like GetDlgItemTextA: cut to size - 1 chars.
    std::string t = d->text[id].substr(0, size_t(size - 1));
    std::memcpy(buffer, t.c_str(), t.size() + 1);
}

void fake_write(void* host, int id, const char* text) {
    auto* d = static_cast<FakeDialog*>(host);
    d->log.push_back("w" + std::to_string(id));
    d->text[id] = text;
}

FakeDialog fresh_dialog() {
    FakeDialog d;
    d.text = {{ID_V1, "0 0 0"}, {ID_V2, "0 0 0"}, {ID_S1, "0"}, {ID_V3, "0 0 0"}, {ID_S2, "0"}};
    return d;
}

struct Case {
    unsigned id;
    const char *v1, *v2, *s1;
    // Expected field texts afterwards; nullptr: as before the command.
    const char *v1_after, *v2_after, *v3, *s2;
};

// clang-format off
const Case CASES[] = {
    {ID_ADD, "1 2 3", "4 5 6", "0", "1 2 3", "4 5 6", "5 7 9", nullptr},
    {ID_SUB, "1 2 3", "4 5 6", "0", nullptr, nullptr, "-3 -3 -3", nullptr},
    {ID_CROSS_PRODUCT, "1 0 0", "0 1 0", "0", nullptr, nullptr, "0 0 1", nullptr},
    {ID_CROSS_PRODUCT, "0 1 0", "1 0 0", "0", nullptr, nullptr, "0 0 -1", nullptr},
    {ID_CROSS_PRODUCT, "1 2 3", "4 5 6", "0", nullptr, nullptr, "-3 6 -3", nullptr},
    {ID_DOT_PRODUCT, "1 2 3", "4 5 6", "0", nullptr, nullptr, nullptr, "32"},
    {ID_MUL_SCALAR, "1 2 3", "9 9 9", "2", nullptr, "9 9 9", "2 4 6", nullptr},
    {ID_MUL_SCALAR, "1 2 3", "0 0 0", "   2 apples", nullptr, nullptr, "2 4 6", nullptr},
    {ID_MUL_SCALAR, "1 2 3", "0 0 0", "", nullptr, nullptr, "0 0 0", nullptr},
    {ID_MUL_SCALAR, "1 2 3", "0 0 0", "two", nullptr, nullptr, "0 0 0", nullptr},
    {ID_MUL_SCALAR, "-1 2 3", "0 0 0", "-0", nullptr, nullptr, "0 0 0", nullptr},
    {ID_DIV_SCALAR, "1 -2 0", "0 0 0", "0", nullptr, nullptr, "Infinity -Infinity NaN", nullptr},
    {ID_DIV_SCALAR, "1 -2 0", "0 0 0", "-0", nullptr, nullptr, "-Infinity Infinity NaN", nullptr},
    {ID_DIV_SCALAR, "1 2 3", "0 0 0", "3", nullptr, nullptr, "0.333333 0.666667 1", nullptr},
    // true division: 3 / 3 is exactly 1, while 3 * fl(1/3) is not
    {ID_DIV_SCALAR, "3 0.3 3e-30", "0 0 0", "3", nullptr, nullptr, "1 0.1 1e-30", nullptr},
    {ID_NORMALIZE, "0 0 0", "0 0 0", "0", nullptr, nullptr, "0 0 1", nullptr},
    {ID_NORMALIZE, "-0 0 -0", "0 0 0", "0", "0 0 0", nullptr, "0 0 1", nullptr},
    {ID_NORMALIZE, "3 0 4", "0 0 0", "0", nullptr, nullptr, "0.6 0 0.8", nullptr},
    {ID_NORMALIZE, "3e38 3e38 3e38", "0 0 0", "0", "3e+38 3e+38 3e+38", nullptr, "0 0 0", nullptr},
    {ID_NORMALIZE, "1e-30 0 0", "0 0 0", "0", nullptr, nullptr, "1 0 0", nullptr},
    {ID_NORMALIZE, "1e39 1 1", "0 0 0", "0", "Infinity 1 1", nullptr, "NaN 0 0", nullptr},
    {ID_LENGTH, "3 0 4", "0 0 0", "0", nullptr, nullptr, nullptr, "5"},
    {ID_LENGTH, "1e20 0 0", "0 0 0", "0", "1e+20 0 0", nullptr, nullptr, "1e+20"},
    {ID_LENGTH, "3 4", "0 0 0", "0", "3 4 0", nullptr, nullptr, "5"},
    {ID_LENGTH, "3e38 3e38 0", "0 0 0", "0", "3e+38 3e+38 0", nullptr, nullptr, "Infinity"},
    {ID_LENGTH, "1e-30 1e-30 0", "0 0 0", "0", nullptr, nullptr, nullptr, "1.41421e-30"},
    {ID_ADD, "nothing here", "4 5 6", "0", "0 0 0", nullptr, "4 5 6", nullptr},
    {ID_ADD, "  1   2   3  ", "1,5 2 3", "0", "1 2 3", "1 0 0", "2 2 3", nullptr},
    {ID_ADD, "3e38 -3e38 1e39", "3e38 -3e38 1", "0", "3e+38 -3e+38 Infinity", "3e+38 -3e+38 1",
     "Infinity -Infinity Infinity", nullptr},
    {ID_ADD, "0.1 0.2 0.3", "0.2 0.1 -0.3", "0", nullptr, nullptr, "0.3 0.3 0", nullptr},
    {ID_SUB, "1e39 0 0", "1e39 0 0", "0", "Infinity 0 0", "Infinity 0 0", "NaN 0 0", nullptr},
    // A float sum, not a double one: 16777216 + 1 stays 16777216
    {ID_ADD, "16777216 0 0", "1 0 0", "0", "1.67772e+07 0 0", nullptr, "1.67772e+07 0 0", nullptr},
};
// clang-format on

void check_table() {
    for (const Case& c : CASES) {
        FakeDialog d = fresh_dialog();
        d.text[ID_V1] = c.v1;
        d.text[ID_V2] = c.v2;
        d.text[ID_S1] = c.s1;
        d.text[ID_V3] = "untouched v3";
        d.text[ID_S2] = "untouched s2";
        std::string label = std::to_string(c.id) + " " + c.v1 + " / " + c.v2 + " / " + c.s1;
        check_context(label.c_str());
        FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
        CHECK(run_command(f, c.id));
        CHECK_STR(d.text[ID_V1], c.v1_after ? c.v1_after : c.v1);
        CHECK_STR(d.text[ID_V2], c.v2_after ? c.v2_after : c.v2);
        CHECK_STR(d.text[ID_S1], c.s1);  // never rewritten
        CHECK_STR(d.text[ID_V3], c.v3 ? c.v3 : "untouched v3");
        CHECK_STR(d.text[ID_S2], c.s2 ? c.s2 : "untouched s2");
    }
    check_context("");
}

// Each field read is written back before the next read, results last.
void check_call_order() {
    struct Order {
        unsigned id;
        const char* log;
    } orders[] = {
        {ID_ADD, "r1001 w1001 r1002 w1002 w1004"},
        {ID_SUB, "r1001 w1001 r1002 w1002 w1004"},
        {ID_CROSS_PRODUCT, "r1001 w1001 r1002 w1002 w1004"},
        {ID_DOT_PRODUCT, "r1001 w1001 r1002 w1002 w1005"},
        {ID_MUL_SCALAR, "r1001 w1001 r1003 w1004"},
        {ID_DIV_SCALAR, "r1001 w1001 r1003 w1004"},
        {ID_NORMALIZE, "r1001 w1001 w1004"},
        {ID_LENGTH, "r1001 w1001 w1005"},
    };
    for (const Order& o : orders) {
        FakeDialog d = fresh_dialog();
        FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
        run_command(f, o.id);
        std::string log;
        for (const std::string& e : d.log) log += (log.empty() ? "" : " ") + e;
        check_context(std::to_string(o.id).c_str());
        CHECK_STR(log, o.log);
    }
    check_context("");
}

// Identifiers that name no command compute nothing and touch no field.
void check_non_commands() {
    for (unsigned id : {0u, 1u, 2u, 1001u, 1002u, 1003u, 1004u, 1005u, 1014u, 2001u, 2004u, 2013u, 65535u,
                        0x10000u + ID_ADD}) {
        FakeDialog d = fresh_dialog();
        d.text[ID_V1] = " 1  2  3 ";
        FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
        check_context(std::to_string(id).c_str());
        CHECK(!run_command(f, id));
        CHECK(d.log.empty());
    }
    check_context("");
}

// A field longer than 255 chars reaches the command as its first 255.
void check_long_field() {
    FakeDialog d = fresh_dialog();
    d.text[ID_V1] = std::string(251, ' ') + "1 2 3";  // 256 chars: the 3 is cut
    FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
    run_command(f, ID_LENGTH);
    CHECK_STR(d.text[ID_V1], "1 2 0");
    CHECK_INT(std::strlen(field_buffer), 255);

    // A host that ignores the size limit still cannot make a read run on.
    auto sloppy_read = [](void*, int, char* buffer, int) {
        std::memset(buffer, '7', FIELD_BUFFER_SIZE);  // no NUL at all
    };
    FieldAccess g{&d, sloppy_read, fake_write, nullptr, nullptr};
    CHECK_INT(std::strlen(read_field(g, ID_V1)), 255);
}

// Results written back as inputs keep their text: canonical is a fixed point.
void check_feedback() {
    FakeDialog d = fresh_dialog();
    d.text[ID_V1] = "0.1234567 1e-7 -3.333333333";
    d.text[ID_V2] = "2 2 2";
    FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
    for (int i = 0; i < 3; ++i) {
        run_command(f, ID_ADD);
        d.text[ID_V1] = d.text[ID_V3];
    }
    CHECK_STR(d.text[ID_V3], "6.12346 6 2.66667");
    run_command(f, ID_SUB);
    CHECK_STR(d.text[ID_V1], "6.12346 6 2.66667");
}

}  // namespace

int main() {
    check_table();
    check_call_order();
    check_non_commands();
    check_long_field();
    check_feedback();
    return check_exit();
}
