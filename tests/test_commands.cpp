// The calculator commands against an in-memory set of fields, through the
// same FieldAccess the hosts provide.

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/internal.h"
#include "app/menu.h"
#include "app/scene.h"
#include "app/worksheet.h"
#include "tests/check.h"
#include "tests/command_cases.h"
#include "tests/show_cases.h"
#include "tests/working_cases.h"
#include "working/exact.h"
#include "view/view.h"

namespace {

struct FakeDialog {
    std::map<int, std::string> text;
    std::map<int, bool> checked;
    std::map<int, std::string> tip;
    std::string clipboard;
    std::vector<std::string> log;  // "r<id>", "w<id>", ... in call order
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
    for (int id = ID_ROW_VECTOR; id < ID_REDRAW; ++id) d.text[id] = "0 0 0";
    return d;
}

bool fake_checked(void* host, int id) { return static_cast<FakeDialog*>(host)->checked[id]; }
void fake_set_checked(void* host, int id, bool on) { static_cast<FakeDialog*>(host)->checked[id] = on; }
void no_repaint(void*) {}
void fake_copy(void* host, const char* text) { static_cast<FakeDialog*>(host)->clipboard = text; }
void fake_tip(void* host, int id, const char* text) { static_cast<FakeDialog*>(host)->tip[id] = text; }
FieldAccess scene_access(FakeDialog& d) {
    return {&d, fake_read, fake_write, fake_checked, no_repaint, fake_set_checked, fake_copy, fake_tip};
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
    auto r = [](int id) { return "r" + std::to_string(id); };
    auto w = [](int id) { return "w" + std::to_string(id); };
    struct Order {
        unsigned id;
        std::vector<std::string> log;
    } orders[] = {
        {ID_ADD, {r(ID_V1), w(ID_V1), r(ID_V2), w(ID_V2), w(ID_V3)}},
        {ID_SUB, {r(ID_V1), w(ID_V1), r(ID_V2), w(ID_V2), w(ID_V3)}},
        {ID_CROSS_PRODUCT, {r(ID_V1), w(ID_V1), r(ID_V2), w(ID_V2), w(ID_V3)}},
        {ID_DOT_PRODUCT, {r(ID_V1), w(ID_V1), r(ID_V2), w(ID_V2), w(ID_S2)}},
        {ID_MUL_SCALAR, {r(ID_V1), w(ID_V1), r(ID_S1), w(ID_V3)}},
        {ID_DIV_SCALAR, {r(ID_V1), w(ID_V1), r(ID_S1), w(ID_V3)}},
        {ID_NORMALIZE, {r(ID_V1), w(ID_V1), w(ID_V3)}},
        {ID_LENGTH, {r(ID_V1), w(ID_V1), w(ID_S2)}},
    };
    auto joined = [](const std::vector<std::string>& log) {
        std::string text;
        for (const std::string& e : log) text += (text.empty() ? "" : " ") + e;
        return text;
    };
    for (const Order& o : orders) {
        FakeDialog d = fresh_dialog();
        FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
        run_command(f, o.id);
        check_context(std::to_string(o.id).c_str());
        CHECK_STR(joined(d.log), joined(o.log));
    }
    check_context("");
}

// Identifiers that name no command compute nothing and touch no field;
// every push button of the template names one.
void check_non_commands() {
    const unsigned others[] = {0, 1, ID_CANCEL, ID_V1, ID_V2, ID_S1, ID_V3, ID_S2, ID_LENGTH + 1,
                               ID_ROW_VECTOR, ID_ROW_INVERSE, ID_VIEW, 65535, 0x10000u + ID_ADD};
    for (unsigned id : others) {
        FakeDialog d = fresh_dialog();
        d.text[ID_V1] = " 1  2  3 ";
        FieldAccess f{&d, fake_read, fake_write, nullptr, nullptr};
        check_context(std::to_string(id).c_str());
        CHECK(!run_command(f, id));
        CHECK(d.log.empty());
    }
    for (const CommandButton& b : COMMAND_BUTTONS) {
        FakeDialog d = fresh_dialog();
        check_context(b.text);
        CHECK(run_command(scene_access(d), b.id));
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

// A scene written from one dialog and opened in a fresh one gives the same
// inputs, the result computed again and the camera to the bit.
void check_scene_round_trip() {
    FakeDialog a = fresh_dialog();
    a.text[ID_V1] = "1 2 3";
    a.text[ID_V2] = "0.5 -1e-07 4";
    a.text[ID_S1] = "2 m&m's = 50% \xC3\xBC+#";
    a.text[ID_ROW_VECTOR + ROW_STRIDE] = "1 -1 3";
    a.text[ID_ROW_COLOR + ROW_STRIDE] = "255 0 255";
    a.checked[ID_ROW_INVERSE + ROW_STRIDE] = true;
    a.text[ID_V3] = "a stale result";
    ViewState camera;
    set_start_camera(camera);
    orbit_camera(camera, 123, -45);
    zoom_camera(camera, -7.5);
    std::string link = write_scene(scene_access(a), camera, ID_CROSS_PRODUCT);
    CHECK_STR(link, "v=1&v1=1%202%203&v2=0.5%20-1e-07%204&s1=2%20m%26m%27s%20%3D%2050%25%20%C3%BC%2B%23"
                    "&r2=1%20-1%203&c2=255%200%20255&i2=1&run=CrossProduct&eye=0.945077479,0.0118768234,"
                    "0.326630533&dist=17.5");

    FakeDialog b = fresh_dialog();
    ViewState view;
    set_start_camera(view);
    bool complete = false;
    CHECK_INT(restore_scene(scene_access(b), view, link.c_str(), complete), ID_CROSS_PRODUCT);
    CHECK(complete);
    for (int id : {ID_V1, ID_V2, ID_S1, ID_ROW_VECTOR + ROW_STRIDE, ID_ROW_COLOR + ROW_STRIDE})
        CHECK_STR(b.text[id], a.text[id]);
    CHECK_STR(b.text[ID_V3], "8 -2.5 -1");  // computed again, never carried
    CHECK(b.checked[ID_ROW_INVERSE + ROW_STRIDE] && view_state.slots[1].offset_is_end && view_state.slots[1].red == 255);
    CHECK(std::memcmp(&view.eye_dir, &camera.eye_dir, sizeof view.eye_dir) == 0 && view.eye_distance == 17.5f);
    CHECK_STR(write_scene(scene_access(b), view, ID_CROSS_PRODUCT), link);

    // The start dialog at the start camera is the version alone.
    FakeDialog c = fresh_dialog();
    set_start_camera(view);
    CHECK_STR(write_scene(scene_access(c), view, 0), "v=1");
}

// Links from elsewhere: what can be read is used, the rest stays as it was,
// and the reader says so.
void check_scene_hostile() {
    struct Case {
        std::string link;
        bool complete;
        std::string s1, v2;  // what the fields then hold
        bool start_camera;
    } cases[] = {
        {"v=1&s1=7&v2=%zz&v1=%", false, "7", "0 0 0", true},
        {"v=1&v2=%C3%28&s1=%F0%9F%98%80", false, "\xF0\x9F\x98\x80", "0 0 0", true},  // not UTF-8
        {"v=1&v2=%ED%A0%80&s1=%C0%AF", false, "0", "0 0 0", true},  // a surrogate, an overlong '/'
        {"v=1&s1=a%00b&v2=1+2", false, "0", "1+2", true},
        {"v=1&s1=" + std::string(300, 'x'), false, std::string(255, 'x'), "0 0 0", true},  // cut as a read cuts it
        {"v=2&s1=3&later=9", false, "3", "0 0 0", true},
        {"s1=3", false, "3", "0 0 0", true},
        {"v=1&run=Explode&i1=yes&s1=4", false, "4", "0 0 0", true},
        {"v=1&eye=nan,0,0&dist=inf&s1=5", false, "5", "0 0 0", true},
        {"v=1&eye=2,0,0&dist=1.5", false, "0", "0 0 0", true},
        {"v=1&eye=0.8,0,0.6,&dist=x", false, "0", "0 0 0", true},
        {"v=1&eye=0.8,0,0.6&dist=12.5&=&&x", true, "0", "0 0 0", false},
        {"", false, "0", "0 0 0", true},
    };
    for (const Case& c : cases) {
        check_context(c.link.substr(0, 60));
        FakeDialog d = fresh_dialog();
        ViewState view;
        set_start_camera(view);
        bool complete = true;
        restore_scene(scene_access(d), view, c.link.c_str(), complete);
        CHECK(complete == c.complete);
        CHECK_STR(d.text[ID_S1], c.s1);
        CHECK_STR(d.text[ID_V2], c.v2);
        CHECK(c.start_camera ? view.eye_distance == 10.0f && view.eye_dir.x == START_EYE_COMPONENT
                             : view.eye_distance == 12.5f && view.eye_dir.x == 0.8f && view.eye_dir.z == 0.6f);
    }
    check_context("");
}

}  // namespace

// Show calculation fills the rows as the table says, whatever they and the
// boxes held, and runs the command again on the fields as they are now.
void check_show_calculation() {
    for (const ShowCase& c : SHOW_CASES) {
        FakeDialog d = fresh_dialog();
        d.text[ID_V1] = c.v1;
        d.text[ID_V2] = c.v2;
        d.text[ID_S1] = c.s1;
        for (int i = 0; i < 9; ++i) d.text[ID_ROW_VECTOR + i / 3 * ROW_STRIDE + i % 3] = "9 9 9";
        for (int row = 0; row < 3; ++row) d.checked[ID_ROW_INVERSE + row * ROW_STRIDE] = true;
        check_context((std::to_string(c.command) + " " + c.v1 + " / " + c.v2).c_str());
        FieldAccess f = scene_access(d);
        // A case of none run yet comes first, and this check first in main:
        // then Use result and Copy working do nothing.
        if (!c.command) {
            CHECK(run_command(f, ID_USE_RESULT) && run_command(f, ID_COPY_WORKING));
            CHECK(d.text[ID_V1] == c.v1 && d.clipboard.empty());
        }
        if (c.command) CHECK(run_command(f, c.command));
        CHECK_INT(last_calculation().command, c.command);
        CHECK_STR(plain_text(explain(last_calculation())), c.working);
        std::string v3 = d.text[ID_V3], s2 = d.text[ID_S2];
        d.text[ID_V3] = d.text[ID_S2] = "stale";
        CHECK(run_command(f, ID_SHOW_CALCULATION));
        for (int i = 0; i < 9; ++i) CHECK_STR(d.text[ID_ROW_VECTOR + i / 3 * ROW_STRIDE + i % 3], c.rows[i]);
        for (int row = 0; row < 3; ++row) CHECK(!d.checked[ID_ROW_INVERSE + row * ROW_STRIDE]);
        if (c.command) CHECK(d.text[ID_V3] == v3 || d.text[ID_S2] == s2);
        CHECK(view_state.slots.size() == 3 && view_state.slots[0].red == 230 && view_state.slots[0].offset_is_end == 0);
    }
    check_context("");
    FakeDialog d = fresh_dialog();
    d.text[ID_V1] = "1 2 3";
    d.text[ID_V2] = "4 5 6";
    FieldAccess f = scene_access(d);
    run_command(f, ID_ADD);
    d.text[ID_V1] = "1e-7";
    run_command(f, ID_SHOW_CALCULATION);
    CHECK(d.text[ID_V1] == "1e-07 0 0" && d.text[ID_V3] == "4 5 6" && d.text[ID_ROW_OFFSET + ROW_STRIDE] == "1e-07 0 0");
}

// The exact numbers under the working, each against its value worked out by
// hand: the int64 edges, cancelling before multiplying, square roots of
// large composites and primes taken apart, and the field's decimals at and
// past 10^18.
void check_exact_numbers() {
    const int64_t P61 = (int64_t(1) << 61) - 1, HALF = int64_t(1) << 62;  // 2^61 - 1 is prime
    const Rational third_of_p{P61, 3};
    const Rational big[3] = {{3000000000, 1}, {4000000000, 1}, {0, 1}};  // squares' sum past 2^63
    const Rational small[3] = {{3, 125}, {4, 125}, {12, 125}};
    const struct {
        const char* what;
        Surd value;
        const char* text;  // "" for not exact
    } cases[] = {
        {"-2^62 * 2 is INT64_MIN, refused", {Rational{-HALF, 1} * Rational{2, 1}}, ""},
        {"3037000499^2 fits", {Rational{3037000499, 1} * Rational{3037000499, 1}}, "9223372030926249001"},
        {"3037000500^2 is just past 2^63", {Rational{3037000500, 1} * Rational{3037000500, 1}}, ""},
        {"(p/3)(3/p) cancels first", {third_of_p * Rational{3, P61}}, "1"},
        {"p/3 + p/3", {third_of_p + third_of_p}, "4611686018427387902/3"},
        {"p/3 + 2p/3 is p", {third_of_p + Rational{2 * P61, 3}}, "2305843009213693951"},
        {"4p/3 + 4p/3 is past int64", {Rational{4 * P61, 3} + Rational{4 * P61, 3}}, ""},
        {"sqrt of the prime 2^61 - 1", root(Rational{P61, 1}), "\u221a2305843009213693951"},
        {"sqrt of 4(2^61 - 1)", root(Rational{4 * P61, 1}), "2\u221a2305843009213693951"},
        {"sqrt of a large prime squared", root(Rational{999999874000003969, 1}), "999999937"},
        {"sqrt of two large primes", root(Rational{998244359987710471, 1}), "\u221a998244359987710471"},
        {"sqrt of 1/(2^61 - 1)", root(Rational{1, P61}), "\u221a2305843009213693951/2305843009213693951"},
        {"|(3e9, 4e9, 0)|, the common factor first", length(big), "5000000000"},
        {"|(3, 4, 12)/125|", length(small), "13/125"},
        {"1e+18", {exact_value("1e+18")}, "1000000000000000000"},
        {"999999999999999999", {exact_value("999999999999999999")}, "999999999999999999"},
        {"1e+19 is past int64", {exact_value("1e+19")}, ""},
        {"nineteen digits", {exact_value("1234567890123456789")}, ""},
        {"1e-18", {exact_value("1e-18")}, "1/1000000000000000000"},
        {"1e-19", {exact_value("1e-19")}, ""},
        {"Infinity", {exact_value("Infinity")}, ""},
    };
    for (const auto& c : cases) {
        std::string got;
        if (is_exact(c.value)) append_exact(got, c.value);
        check_context(c.what);
        CHECK_STR(got, c.text);
    }
    check_context("");
}

// The working's exact forms, each through the real command.
void check_exact_working() {
    for (const WorkingCase& c : WORKING_CASES) {
        FakeDialog d = fresh_dialog();
        d.text[ID_V1] = c.v1;
        d.text[ID_V2] = c.v2;
        d.text[ID_S1] = c.s1;
        check_context(std::to_string(c.command) + " " + c.v1 + " / " + c.v2 + " / " + c.s1);
        CHECK(run_command(scene_access(d), c.command));
        CHECK_STR(plain_text(explain(last_calculation())), c.working);
    }
    check_context("");
}

// The view menu's commands: Copy working copies the last working, the
// result field's tooltip shows it, Use result takes the result on as an
// input and runs nothing, Reset view puts the camera back. The menu's
// access keys differ.
void check_menu_commands() {
    FakeDialog d = fresh_dialog();
    FieldAccess f = scene_access(d);
    const struct {
        unsigned command;
        int result, input, other;
        const char* taken;
    } cases[] = {{ID_CROSS_PRODUCT, ID_V3, ID_V1, ID_S2, "-3 6 -3"}, {ID_LENGTH, ID_S2, ID_S1, ID_V3, "3.74166"}};
    for (const auto& c : cases) {
        d.text[ID_V1] = "1 2 3";
        d.text[ID_V2] = "4 5 6";
        d.tip[c.other] = "stale";
        run_command(f, c.command);
        CHECK(run_command(f, ID_COPY_WORKING));
        CHECK(!d.clipboard.empty() && d.clipboard == plain_text(explain(last_calculation())) &&
              d.tip[c.result] == d.clipboard);
        CHECK(d.tip[c.other].empty());
        d.log.clear();
        CHECK(run_command(f, ID_USE_RESULT));
        CHECK_STR(d.text[c.input], c.taken);
        CHECK_INT(d.log.size(), 2);  // one read, one write: no command ran
    }
    orbit_camera(view_state, 40, 10);
    CHECK(run_command(f, ID_RESET_VIEW) && view_state.eye_distance == 10.0f && view_state.eye_dir.x == START_EYE_COMPONENT);
    std::string keys;
    for (const MenuItem& item : VIEW_MENU) keys += char(std::toupper(std::strchr(item.text, '&')[1]));
    CHECK_STR(keys, "SCUDRWOV");
}

// A session of steps, each row checked after it: Undo puts back what its
// step wrote (a field typed in since keeps what was typed where the step
// did not write), the view's rows and camera with it; Redo does the step
// again; Recall is one step; a new step drops what could have been redone;
// the worksheet keeps every calculation through all of it.
void check_steps() {
    FakeDialog d = fresh_dialog();
    FieldAccess f = scene_access(d);
    const int ROW3 = ID_ROW_VECTOR + 2 * ROW_STRIDE;
    constexpr unsigned TYPE = 0, RECALL_FIRST = 1;
    const Command* before = find_command(last_calculation().command);
    const char* BEFORE = before ? before->button : "";  // what the session found
    struct Row {
        unsigned step;  // a command, or TYPE: `typed` into `field`
        int field = 0;
        const char* typed = nullptr;
        const char *v2 = nullptr, *s1 = nullptr, *v3 = nullptr, *row3 = nullptr;  // after it
        size_t entries = 0;
        bool undo = false, redo = false;
        const char* last = nullptr;  // the last calculation's command, as its button
    };
    const Row rows[] = {
        {TYPE, ID_V1, "1 2 3"},
        {TYPE, ID_V2, " 4 5 6"},
        {ID_ADD, 0, nullptr, "4 5 6", "0", "5 7 9", "0 0 0", 1, true, false, "Add"},
        {TYPE, ID_S1, "2"},
        {ID_MUL_SCALAR, 0, nullptr, "4 5 6", "2", "2 4 6", "0 0 0", 2, true, false, "MulScalar"},
        {ID_SHOW_CALCULATION, 0, nullptr, "4 5 6", "2", "2 4 6", "2 4 6", 2, true, false, "MulScalar"},
        {ID_UNDO, 0, nullptr, "4 5 6", "2", "2 4 6", "0 0 0", 2, true, true, "MulScalar"},
        {ID_UNDO, 0, nullptr, "4 5 6", "2", "5 7 9", "0 0 0", 2, true, true, "Add"},
        {ID_UNDO, 0, nullptr, " 4 5 6", "2", "0 0 0", "0 0 0", 2, false, true, BEFORE},
        {ID_UNDO, 0, nullptr, " 4 5 6", "2", "0 0 0", "0 0 0", 2, false, true, BEFORE},
        {ID_REDO, 0, nullptr, "4 5 6", "2", "5 7 9", "0 0 0", 2, true, true, "Add"},
        {ID_REDO, 0, nullptr, "4 5 6", "2", "2 4 6", "0 0 0", 2, true, true, "MulScalar"},
        {ID_REDO, 0, nullptr, "4 5 6", "2", "2 4 6", "2 4 6", 2, true, false, "MulScalar"},
        {TYPE, ID_V2, "9 9 9"},
        {RECALL_FIRST, 0, nullptr, "4 5 6", "2", "5 7 9", "5 7 9", 2, true, false, "Add"},
        {ID_UNDO, 0, nullptr, "9 9 9", "2", "2 4 6", "2 4 6", 2, true, true, "MulScalar"},
        {ID_USE_RESULT, 0, nullptr, "9 9 9", "2", "2 4 6", "2 4 6", 2, true, false, "MulScalar"},
        {ID_SUB, 0, nullptr, "9 9 9", "2", "-7 -5 -3", "2 4 6", 3, true, false, "Sub"},
    };
    ViewState camera_before;
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& r = rows[i];
        check_context("step " + std::to_string(i + 1));
        if (r.step == TYPE) {
            d.text[r.field] = r.typed;
            continue;
        }
        // A drag before Show calculation and after it: Undo puts back the
        // camera the step found.
        bool after_show = i > 0 && rows[i - 1].step == ID_SHOW_CALCULATION;
        if (r.step == ID_SHOW_CALCULATION || after_show) orbit_camera(view_state, 30, 10);
        if (r.step == ID_SHOW_CALCULATION) camera_before = view_state;
        if (r.step == RECALL_FIRST)
            CHECK(recall(f, 0));
        else
            CHECK(run_step(f, r.step));
        CHECK_STR(d.text[ID_V2], r.v2);
        CHECK_STR(d.text[ID_S1], r.s1);
        CHECK_STR(d.text[ID_V3], r.v3);
        CHECK_STR(d.text[ROW3], r.row3);
        CHECK_INT(entry_count(), r.entries);
        CHECK(can_undo() == r.undo && can_redo() == r.redo);
        const Command* last = find_command(last_calculation().command);
        CHECK_STR(last ? last->button : "", r.last);
        if (after_show)
            CHECK(!std::memcmp(&view_state.eye_dir, &camera_before.eye_dir, sizeof(Vector3)) &&
                  view_state.eye_distance == camera_before.eye_distance);
    }
    // Past the depth the oldest steps go; at least 100 stay.
    for (size_t i = 0; i < UNDO_DEPTH + 50; ++i) run_step(f, ID_ADD);
    int undone = 0;
    while (can_undo()) run_step(f, ID_UNDO), ++undone;
    CHECK_INT(undone, int(UNDO_DEPTH));
    CHECK_INT(entry_count(), 3 + UNDO_DEPTH + 50);
    check_context("");
}

// What the worksheet gives: its text and LaTeX, and a kept worksheet read
// back to the same entries; a kept text that is not one is refused whole.
void check_worksheet() {
    clear_worksheet();
    FakeDialog d = fresh_dialog();
    FieldAccess f = scene_access(d);
    d.text[ID_V1] = "1 2 3";
    d.text[ID_V2] = "4 5 6";
    d.text[ID_S1] = "1e39";
    run_step(f, ID_CROSS_PRODUCT);
    run_step(f, ID_MUL_SCALAR);
    CHECK_STR(entry_line(0), "1. CrossProduct of V1 = 1 2 3, V2 = 4 5 6: V3 = -3 6 -3");
    CHECK_STR(entry_line(1), "2. MulScalar of V1 = 1 2 3, S1 = Infinity: V3 = Infinity Infinity Infinity");
    CHECK_STR(worksheet_text(), entry_line(0) + "\n" + plain_text(explain(entry(0))) + "\n\n" + entry_line(1) + "\n" +
                                    plain_text(explain(entry(1))) + "\n");
    run_step(f, ID_COPY_WORKSHEET);
    CHECK_STR(d.clipboard, worksheet_text());
    std::string latex_text = worksheet_latex(), kept = save_worksheet(), text = worksheet_text();
    CHECK(latex_text.find("\\item CrossProduct of $V_1$ = \\texttt{1 2 3}") != std::string::npos);
    const char* refused[] = {"", "arrowbench worksheet 2\nAdd 1 2 3 4 5 6 0\n", "arrowbench worksheet 1\nAdd 1 2 3\n",
                             "arrowbench worksheet 1\nPower 1 2 3 4 5 6 0\n", "arrowbench worksheet 1\nAdd 1 2 3 4 5 6 0"};
    for (const char* t : refused) CHECK(!load_worksheet(t) && worksheet_text() == text);
    clear_worksheet();
    CHECK(load_worksheet(kept.c_str()) && worksheet_text() == text && worksheet_latex() == latex_text);
    // Past the cap the oldest go; the others keep their numbers, in the
    // LaTeX and in what is kept, and a host's list lets go of as many.
    size_t seen = worksheet_changes();
    for (int i = 0; i < int(WORKSHEET_CAP) + 5; ++i) run_step(f, ID_LENGTH);
    CHECK_INT(entry_count(), WORKSHEET_CAP);
    CHECK_INT(entry(0).command, ID_LENGTH);
    CHECK(entry_line(0).rfind("8. Length of V1 = 1 2 3: S2 = ", 0) == 0);
    CHECK(worksheet_latex().rfind("\\begin{enumerate}\n\\setcounter{enumi}{7}\n\\item Length", 0) == 0);
    WorksheetNews news = worksheet_news(seen);
    CHECK(news.fresh == WORKSHEET_CAP && news.dropped == 2 && !news.cleared);
    run_step(f, ID_LENGTH);
    news = worksheet_news(seen);
    CHECK(news.fresh == 1 && news.dropped == 1 && !news.cleared);
    kept = save_worksheet(), text = worksheet_text();
    CHECK(kept.rfind("arrowbench worksheet 1\nfrom 9\nLength 1 2 3 ", 0) == 0);
    // A Clear and as many entries as there were is news all the same.
    clear_worksheet();
    for (size_t i = 0; i < WORKSHEET_CAP; ++i) run_step(f, ID_ADD);
    news = worksheet_news(seen);
    CHECK(news.cleared && news.fresh == WORKSHEET_CAP && news.dropped == 0 && entry_number(0) == 1);
    CHECK(load_worksheet(kept.c_str()) && worksheet_text() == text && entry_number(0) == 9);
    news = worksheet_news(seen);
    CHECK(news.cleared && news.fresh == WORKSHEET_CAP);
    const char* bad_from[] = {"arrowbench worksheet 1\nfrom 1\n", "arrowbench worksheet 1\nfrom x\n",
                              "arrowbench worksheet 1\nfrom 9999999999\n"};
    for (const char* t : bad_from) CHECK(!load_worksheet(t) && worksheet_text() == text);
}

int main() {
    check_show_calculation();  // first: it begins before any calculation
    check_menu_commands();
    check_table();
    check_exact_numbers();
    check_exact_working();
    check_steps();
    check_worksheet();
    check_call_order();
    check_non_commands();
    check_long_field();
    check_feedback();
    check_scene_round_trip();
    check_scene_hostile();
    return check_exit();
}
