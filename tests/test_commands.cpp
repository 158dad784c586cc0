// The calculator commands against an in-memory set of fields, through the
// same FieldAccess the hosts provide.

#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/check.h"
#include "tests/command_cases.h"

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

void check_table() {
    for (const CommandCase& c : COMMAND_CASES) {
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
    d.text[ID_V1] = std::string(size_t(LONG_FIELD.pad), ' ') + LONG_FIELD.tail;
    FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
    run_command(f, ID_LENGTH);
    CHECK_STR(d.text[ID_V1], LONG_FIELD.written);
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
