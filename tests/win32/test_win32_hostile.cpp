// The Windows host's part of the hostile texts (tests/desktop/hostile.cpp):
// arrowbench.exe under Wine, and what only its edit controls and its
// dialog procedure have: the fields' text limit, typing against it, and
// command messages dispatched on their low word.
//
// Usage: test_win32_hostile.exe PATH\arrowbench.exe TRACE_FILE, under
// view_frames.sh, with this program's standard error going to TRACE_FILE.

#include "tests/desktop/host.h"
#include "tests/win32/win32_driver.h"

std::unique_ptr<DesktopDriver> start_app(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: test_win32_hostile.exe arrowbench.exe trace.txt\n");
        std::exit(2);
    }
    auto app = std::make_unique<Win32Driver>(argv[1], "trace+wgl", argv[2]);
    if (!app->dialog) return nullptr;
    return app;
}

namespace {

// Typing: the fields have no ES_AUTOHSCROLL, so typed text stops at the
// field's right edge; text set by WM_SETTEXT is never cut. The program
// sets no text limit of its own: the fields have the one a fresh edit
// control has.
void check_text_limit(Win32Driver& d) {
    HWND own = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_POPUP | ES_LEFT, 0, 0, 100, 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    LRESULT fresh = SendMessageA(own, EM_GETLIMITTEXT, 0, 0);
    DestroyWindow(own);
    for (int id : {ID_V1, ID_V2, ID_S1, ID_V3, ID_S2, ID_ROW_VECTOR, ID_ROW_OFFSET, ID_ROW_COLOR}) {
        check_context("limit of " + std::to_string(id));
        LRESULT limit = 0;
        CHECK(send_within(d.control(id), EM_GETLIMITTEXT, 0, 0, &limit));
        CHECK_INT(limit, fresh);
    }
    check_context("");

    // More than the limit by WM_SETTEXT is kept whole.
    std::string big = "1 2 3" + std::string(size_t(fresh) + 1000, ' ');
    CHECK(d.set(ID_V2, big));
    CHECK_INT(d.get(ID_V2).size(), big.size());

    CHECK(d.set(ID_V1, ""));
    CHECK(d.focus_control(ID_V1));
    d.type_chars(std::string(80, '1').c_str());
    std::string typed = d.get(ID_V1);
    size_t k = typed.size();
    CHECK(k > 5 && k < 80);
    CHECK_STR(typed, std::string(k, '1'));
    CHECK(d.press(ID_LENGTH));
    std::string want = k <= 6 ? std::string(k, '1')
                     : k < 40 ? "1.11111e+" + std::string(k - 1 < 10 ? "0" : "") + std::to_string(k - 1)
                              : "Infinity";
    CHECK_STR(d.get(ID_S2), want);
    std::printf("edit limit %ld, %zu chars typed fit the field, code page %u\n", long(fresh), k, GetACP());
}

// Command messages are dispatched on their low 16 bits only; identifiers
// that name no command change nothing.
void check_command_messages(Win32Driver& d) {
    set_all(d, {{ID_V1, " 1  2  3 "}, {ID_V2, " 4 5 6 "}, {ID_V3, "untouched"}, {ID_S2, "untouched"}});
    for (unsigned id : {0u, 1u, unsigned(ID_V1), unsigned(ID_V3), unsigned(ID_LENGTH + 1), unsigned(ID_ROW_VECTOR - 1),
                        unsigned(ID_VIEW), unsigned(ID_REDRAW + 1), 0xFFFFu}) {
        check_context("command id " + std::to_string(id));
        CHECK(send_within(d.dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0));
        CHECK_STR(d.get(ID_V1), " 1  2  3 ");
        CHECK_STR(d.get(ID_V3), "untouched");
        CHECK_STR(d.get(ID_S2), "untouched");
    }
    check_context("");
    // Any notification code and any control handle: still Add.
    CHECK(send_within(d.dialog, WM_COMMAND, MAKEWPARAM(ID_ADD, 0xBEEF), LPARAM(0x12345678)));
    CHECK_STR(d.get(ID_V1), "1 2 3");
    CHECK_STR(d.get(ID_V3), "5 7 9");
}

}  // namespace

void host_checks(DesktopDriver& driver) {
    auto& d = static_cast<Win32Driver&>(driver);
    check_text_limit(d);
    check_command_messages(d);
}
