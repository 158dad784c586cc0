// The calculator commands against an in-memory set of fields, through the
// same FieldAccess the hosts provide.

#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/internal.h"
#include "app/menu.h"
#include "app/scene.h"
#include "tests/check.h"
#include "tests/command_cases.h"
#include "tests/show_cases.h"
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
        last_calculation = Calculation{};
        if (c.command) CHECK(run_command(f, c.command));
        CHECK_STR(last_calculation.working, c.working);
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

// The working's exact forms from the real commands: fractions, roots taken
// out, the angles written exactly, and decimals alone for a clause whose
// numbers do not fit in 64 bits or are not finite.
void check_exact_working() {
    struct Case {
        unsigned command;
        const char *v1, *v2, *s1, *working;
    };
    // clang-format off
    const Case cases[] = {
        {ID_ADD, "0.1 0.2 -0.3", "0.2 1e-05 0.3", "0",
         "V1 + V2 = (0.1 + 0.2, 0.2 + 1e-05, (-0.3) + 0.3) = (3/10, 20001/100000, 0) \u2248 (0.3, 0.20001, 0)"},
        {ID_ADD, "1.4013e-45 1 0", "1 1 1", "0",
         "V1 + V2 = (1.4013e-45 + 1, 1 + 1, 0 + 1) = (1, 2, 1)"},
        {ID_ADD, "6e+18 0 0", "6e+18 0 0", "0",
         "V1 + V2 = (6e+18 + 6e+18, 0 + 0, 0 + 0) = (1.2e+19, 0, 0)"},
        {ID_SUB, "0.1 0.2 0.3", "0.4 0.6 0.3", "0",
         "V1 \u2212 V2 = (0.1 \u2212 0.4, 0.2 \u2212 0.6, 0.3 \u2212 0.3) = (-3/10, -2/5, 0) \u2248 (-0.3, -0.4, 0); "
         "|V1 \u2212 V2| = \u221a((-3/10)\u00b2 + (-2/5)\u00b2 + 0\u00b2) = \u221a(1/4) = 1/2 \u2248 0.5"},
        {ID_CROSS_PRODUCT, "0.5 0 0", "0 0.5 0", "0",
         "V1 \u00d7 V2 = (0\u00b70 \u2212 0\u00b70.5, 0\u00b70 \u2212 0.5\u00b70, 0.5\u00b70.5 \u2212 0\u00b70)"
         " = (0, 0, 1/4) \u2248 (0, 0, 0.25); "
         "|V1 \u00d7 V2| = \u221a(0\u00b2 + 0\u00b2 + (1/4)\u00b2) = \u221a(1/16) = 1/4 \u2248 0.25"},
        {ID_CROSS_PRODUCT, "3e+38 1 0", "1 1 0", "0",
         "V1 \u00d7 V2 = (1\u00b70 \u2212 0\u00b71, 0\u00b71 \u2212 3e+38\u00b70, 3e+38\u00b71 \u2212 1\u00b71)"
         " = (0, 0, 3e+38); "
         "|V1 \u00d7 V2| = \u221a(0\u00b2 + 0\u00b2 + (3e+38)\u00b2) = 3e+38"},
        {ID_CROSS_PRODUCT, "1e39 1 0", "1 1 0", "0",
         "V1 \u00d7 V2"
         " = (1\u00b70 \u2212 0\u00b71, 0\u00b71 \u2212 Infinity\u00b70, Infinity\u00b71 \u2212 1\u00b71)"
         " = (0, NaN, Infinity); "
         "|V1 \u00d7 V2| = \u221a(0\u00b2 + NaN\u00b2 + Infinity\u00b2) = NaN"},
        {ID_DOT_PRODUCT, "1 2 3", "4 5 6", "0",
         "V1 \u00b7 V2 = 1\u00b74 + 2\u00b75 + 3\u00b76 = 32; "
         "cos \u03b8 = 32/(\u221a14\u00b7\u221a77) = 16\u221a22/77 \u2248 0.974632; "
         "\u03b8 = arccos(16\u221a22/77) \u2248 12.9332\u00b0; comp_V2 V1 = 32/\u221a77 = 32\u221a77/77 \u2248 3.64674; "
         "proj_V2 V1 = (32/77)\u00b7(4, 5, 6) = (128/77, 160/77, 192/77) \u2248 (1.66234, 2.07792, 2.49351)"},
        {ID_DOT_PRODUCT, "1 0 0", "1 1 0", "0",
         "V1 \u00b7 V2 = 1\u00b71 + 0\u00b71 + 0\u00b70 = 1; "
         "cos \u03b8 = 1/(1\u00b7\u221a2) = \u221a2/2 \u2248 0.707107; \u03b8 = arccos(\u221a2/2) = 45\u00b0; "
         "comp_V2 V1 = 1/\u221a2 = \u221a2/2 \u2248 0.707107; "
         "proj_V2 V1 = (1/2)\u00b7(1, 1, 0) = (1/2, 1/2, 0) \u2248 (0.5, 0.5, 0)"},
        {ID_DOT_PRODUCT, "1 0 0", "0 1 0", "0",
         "V1 \u00b7 V2 = 1\u00b70 + 0\u00b71 + 0\u00b70 = 0; cos \u03b8 = 0/(1\u00b71) = 0; "
         "\u03b8 = arccos(0) = 90\u00b0; comp_V2 V1 = 0/1 = 0; proj_V2 V1 = 0\u00b7(0, 1, 0) = (0, 0, 0)"},
        {ID_DOT_PRODUCT, "1 1 0", "0 -1 1", "0",
         "V1 \u00b7 V2 = 1\u00b70 + 1\u00b7(-1) + 0\u00b71 = -1; "
         "cos \u03b8 = -1/(\u221a2\u00b7\u221a2) = -1/2 \u2248 -0.5; \u03b8 = arccos(-1/2) = 120\u00b0; "
         "comp_V2 V1 = -1/\u221a2 = -\u221a2/2 \u2248 -0.707107; "
         "proj_V2 V1 = (-1/2)\u00b7(0, -1, 1) = (0, 1/2, -1/2) \u2248 (0, 0.5, -0.5)"},
        {ID_DOT_PRODUCT, "1 2 3", "-2 -4 -6", "0",
         "V1 \u00b7 V2 = 1\u00b7(-2) + 2\u00b7(-4) + 3\u00b7(-6) = -28; "
         "cos \u03b8 = -28/(\u221a14\u00b72\u221a14) = -1; \u03b8 = arccos(-1) = 180\u00b0; "
         "comp_V2 V1 = -28/(2\u221a14) = -\u221a14 \u2248 -3.74166; proj_V2 V1 = (-1/2)\u00b7(-2, -4, -6) = (1, 2, 3)"},
        {ID_DOT_PRODUCT, "0 0 0", "1 2 2", "0",
         "V1 \u00b7 V2 = 0\u00b71 + 0\u00b72 + 0\u00b72 = 0; no angle: V1 is zero; comp_V2 V1 = 0/3 = 0; "
         "proj_V2 V1 = 0\u00b7(1, 2, 2) = (0, 0, 0)"},
        {ID_DOT_PRODUCT, "1e-10 0 0", "1 0 0", "0",
         "V1 \u00b7 V2 = 1e-10\u00b71 + 0\u00b70 + 0\u00b70 = 1/10000000000 \u2248 1e-10; "
         "cos \u03b8 = 1e-10/(1e-10\u00b71) = 1; \u03b8 = arccos(1) \u2248 0\u00b0; "
         "comp_V2 V1 = (1/10000000000)/1 = 1/10000000000 \u2248 1e-10; "
         "proj_V2 V1 = (1/10000000000)\u00b7(1, 0, 0) = (1/10000000000, 0, 0) \u2248 (1e-10, 0, 0)"},
        {ID_DOT_PRODUCT, "1 1 1e-10", "1 1 1e-10", "0",
         "V1 \u00b7 V2 = 1\u00b71 + 1\u00b71 + 1e-10\u00b71e-10 = 2; cos \u03b8 = 2/(1.41421\u00b71.41421) = 1; "
         "\u03b8 = arccos(1) \u2248 0\u00b0; comp_V2 V1 = 2/1.41421 = 1.41421; proj_V2 V1 = 1\u00b7(1, 1, 1e-10) = (1, 1, 1e-10)"},
        {ID_MUL_SCALAR, "0.1 -0.2 1e-05", "0 0 0", "-3",
         "V1 \u00b7 S1 = (0.1\u00b7(-3), (-0.2)\u00b7(-3), 1e-05\u00b7(-3))"
         " = (-3/10, 3/5, -3/100000) \u2248 (-0.3, 0.6, -3e-05)"},
        {ID_DIV_SCALAR, "1 2 3", "0 0 0", "3",
         "V1 / S1 = (1 / 3, 2 / 3, 3 / 3) = (1/3, 2/3, 1) \u2248 (0.333333, 0.666667, 1)"},
        {ID_DIV_SCALAR, "1 -2 0", "0 0 0", "-0",
         "V1 / S1 = (1 / 0, (-2) / 0, 0 / 0) = (-Infinity, Infinity, NaN); no quotient: S1 is zero"},
        {ID_NORMALIZE, "1 2 3", "0 0 0", "0",
         "|V1| = \u221a(1\u00b2 + 2\u00b2 + 3\u00b2) = \u221a14 \u2248 3.74166; "
         "V1 / |V1| = (1, 2, 3)/\u221a14 = (\u221a14/14, \u221a14/7, 3\u221a14/14) \u2248 (0.267261, 0.534522, 0.801784)"},
        {ID_NORMALIZE, "0.1 0.2 0.3", "0 0 0", "0",
         "|V1| = \u221a(0.1\u00b2 + 0.2\u00b2 + 0.3\u00b2) = \u221a(7/50) = \u221a14/10 \u2248 0.374166; "
         "V1 / |V1| = (0.1, 0.2, 0.3)/(\u221a14/10)"
         " = (\u221a14/14, \u221a14/7, 3\u221a14/14) \u2248 (0.267261, 0.534522, 0.801784)"},
        {ID_NORMALIZE, "0 0 0", "0 0 0", "0",
         "|V1| = \u221a(0\u00b2 + 0\u00b2 + 0\u00b2) = 0; no direction: V1 is zero, so V3 = (0, 0, 1)"},
        {ID_NORMALIZE, "3e38 3e38 3e38", "0 0 0", "0",
         "|V1| = \u221a((3e+38)\u00b2 + (3e+38)\u00b2 + (3e+38)\u00b2) = Infinity; "
         "V1 / |V1| = (3e+38, 3e+38, 3e+38)/Infinity = (0, 0, 0)"},
        {ID_LENGTH, "12 16 21", "0 0 0", "0",
         "|V1| = \u221a(12\u00b2 + 16\u00b2 + 21\u00b2) = \u221a841 = 29"},
        {ID_LENGTH, "1e-05 -2 0", "0 0 0", "0",
         "|V1| = \u221a((1e-05)\u00b2 + (-2)\u00b2 + 0\u00b2) = \u221a(40000000001/10000000000)"
         " = \u221a40000000001/100000 \u2248 2"},
    };
    // clang-format on
    for (const Case& c : cases) {
        FakeDialog d = fresh_dialog();
        d.text[ID_V1] = c.v1;
        d.text[ID_V2] = c.v2;
        d.text[ID_S1] = c.s1;
        check_context(std::to_string(c.command) + " " + c.v1 + " / " + c.v2 + " / " + c.s1);
        CHECK(run_command(scene_access(d), c.command));
        CHECK_STR(last_calculation.working, c.working);
    }
    check_context("");
}

// The view menu's commands: Copy working copies the last working, the
// result field's tooltip shows it, Use result takes the result on as an
// input and runs nothing, Reset view puts the camera back; before any
// calculation the first two do nothing. The menu's access keys differ.
void check_menu_commands() {
    FakeDialog d = fresh_dialog();
    FieldAccess f = scene_access(d);
    last_calculation = Calculation{};
    CHECK(run_command(f, ID_USE_RESULT) && run_command(f, ID_COPY_WORKING));
    CHECK(d.text[ID_V1] == "0 0 0" && d.clipboard.empty());
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
        CHECK(!d.clipboard.empty() && d.clipboard == last_calculation.working && d.tip[c.result] == d.clipboard);
        CHECK(d.tip[c.other].empty());
        d.log.clear();
        CHECK(run_command(f, ID_USE_RESULT));
        CHECK_STR(d.text[c.input], c.taken);
        CHECK_INT(d.log.size(), 2);  // one read, one write: no command ran
    }
    orbit_camera(view_state, 40, 10);
    CHECK(run_command(f, ID_RESET_VIEW) && view_state.eye_distance == 10.0f && view_state.eye_dir.x == START_EYE_COMPONENT);
    std::string keys;
    for (const MenuItem& item : VIEW_MENU) keys += std::strchr(item.text, '&')[1];
    CHECK_STR(keys, "SCUR");
}

int main() {
    check_table();
    check_menu_commands();
    check_show_calculation();
    check_exact_working();
    check_call_order();
    check_non_commands();
    check_long_field();
    check_feedback();
    check_scene_round_trip();
    check_scene_hostile();
    return check_exit();
}
