// End to end on Windows: starts the real arrowbench.exe and drives it from
// this separate process through the window system, the way a user's tools
// would: find the dialog by its caption, compare its child windows with
// the template, type into fields (WM_SETTEXT), press buttons (BM_CLICK),
// read the fields back, and send the keys that the dialog manager handles.
//
// Usage: test_win32_dialog.exe PATH\arrowbench.exe [screenshot.bmp]

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/command_cases.h"
#include "tests/expected_dialog.h"
#include "tests/win32/app_process.h"
#include "tests/win32/dialog_units.h"

namespace {

std::string class_of(HWND w) {
    char buf[64] = {};
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

RECT client_rect_in(HWND dialog, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void check_rect(const RECT& got, const RECT& want) {
    CHECK_INT(got.left, want.left);
    CHECK_INT(got.top, want.top);
    CHECK_INT(got.right, want.right);
    CHECK_INT(got.bottom, want.bottom);
}

// The template as stored in the exe's resources: DLGTEMPLATEEX header,
// before the system adds anything.
void check_resource(const char* exe) {
    HMODULE m = LoadLibraryExA(windows_path(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CHECK(m != nullptr);
    HRSRC r = m ? FindResourceA(m, "MAIN_DLG", MAKEINTRESOURCEA(5)) : nullptr;  // RT_DIALOG
    CHECK(r != nullptr);
    if (!r) return;
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(m, r)));
    auto word = [&](int off) { return *reinterpret_cast<const WORD*>(p + off); };
    auto dword = [&](int off) { return *reinterpret_cast<const DWORD*>(p + off); };
    CHECK_INT(word(0), 1);       // dlgVer
    CHECK_INT(word(2), 0xFFFF);  // signature: extended template
    CHECK_INT(dword(8), 0);      // exStyle
    CHECK_INT(dword(12), expected::DIALOG_STYLE);
    CHECK_INT(word(16), 45);     // cDlgItems
    CHECK_INT(short(word(18)), expected::DIALOG_X);
    CHECK_INT(short(word(20)), expected::DIALOG_Y);
    CHECK_INT(short(word(22)), expected::DIALOG_W);
    CHECK_INT(short(word(24)), expected::DIALOG_H);
    const WORD* s = reinterpret_cast<const WORD*>(p + 26);
    CHECK_INT(*s++, 0);  // no menu
    CHECK_INT(*s++, 0);  // the standard dialog class
    std::string caption;
    while (*s) caption += char(*s++);
    ++s;
    CHECK_STR(caption, expected::CAPTION);
    CHECK_INT(*s++, 8);  // points
    CHECK_INT(*s++, 0);  // weight
    const BYTE* b = reinterpret_cast<const BYTE*>(s);
    CHECK_INT(b[0], 0);  // italic
    CHECK_INT(b[1], 0);  // charset
    s = reinterpret_cast<const WORD*>(b + 2);
    std::string font;
    while (*s) font += char(*s++);
    CHECK_STR(font, "MS Sans Serif");
    FreeLibrary(m);
}

void check_layout(AppProcess& app, const UnitMapper& units) {
    HWND dialog = app.dialog;
    CHECK_STR(class_of(dialog), "#32770");
    CHECK_STR(window_text(dialog), expected::CAPTION);
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    // The system adds WS_CLIPSIBLINGS and DS_3DLOOK to every top-level
    // dialog, and WS_EX_CONTROLPARENT and WS_EX_WINDOWEDGE to its extended
    // style; the rest is the template's own (checked raw in the resource).
    CHECK_INT(style & ~(WS_CLIPSIBLINGS | DS_3DLOOK), expected::DIALOG_STYLE);
    CHECK_INT(GetWindowLongA(dialog, GWL_EXSTYLE) & ~(WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT), 0);
    CHECK(!(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN)));

    // The template is not centred: the client area sits at the template
    // position from the screen's top-left, moved down only as far as it
    // takes to keep the caption on the screen, and has the template size.
    RECT client;
    GetClientRect(dialog, &client);
    RECT want = units.map(expected::DIALOG_X, expected::DIALOG_Y, expected::DIALOG_W, expected::DIALOG_H);
    CHECK_INT(client.right, want.right - want.left);
    CHECK_INT(client.bottom, want.bottom - want.top);
    RECT frame;
    GetWindowRect(dialog, &frame);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    CHECK_INT(origin.x, want.left);
    int above_client = origin.y - frame.top;
    CHECK_INT(frame.top, want.top - above_client < 0 ? 0 : want.top - above_client);

    std::vector<HWND> children;
    for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
    CHECK_INT(children.size(), 45);
    for (size_t i = 0; i < children.size() && i < 45; ++i) {
        const expected::Control& c = expected::CONTROLS[i];
        HWND w = children[i];
        std::string label = "control " + std::to_string(i) + " '" + c.text + "'";
        check_context(label.c_str());
        CHECK_INT(GetDlgCtrlID(w), c.id);
        CHECK_STR(lower(class_of(w)), lower(c.window_class));
        CHECK_STR(window_text(w), c.text);
        CHECK_INT(GetWindowLongA(w, GWL_STYLE), c.style);
        // The dialog manager adds WS_EX_NOPARENTNOTIFY to every control.
        CHECK_INT(GetWindowLongA(w, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, c.exstyle);
        check_rect(client_rect_in(dialog, w), units.map(c.x, c.y, c.w, c.h));
    }
    check_context("");
}

// The tab stops, in template order, and nothing else, round and round.
void check_tab_order(AppProcess& app) {
    std::vector<int> stops;
    for (const expected::Control& c : expected::CONTROLS)
        if (c.style & expected::TABSTOP) stops.push_back(c.id);
    CHECK_INT(stops.size(), 26);

    // The dialog gave the focus to its first tab stop, V1.
    CHECK_INT(GetDlgCtrlID(app.focus()), ID_V1);
    for (size_t i = 1; i <= stops.size(); ++i) {
        app.key(VK_TAB);
        CHECK_INT(GetDlgCtrlID(app.focus()), stops[i % stops.size()]);
    }
    // GetNextDlgTabItem walks the same ring.
    HWND w = app.control(ID_V1);
    for (size_t i = 1; i <= stops.size(); ++i) {
        w = GetNextDlgTabItem(app.dialog, w, FALSE);
        CHECK_INT(GetDlgCtrlID(w), stops[i % stops.size()]);
    }
}

// clang-format off
const CommandCase COMMANDS[] = {
    {ID_ADD, "1 2 3", "4 5 6", "0", "1 2 3", "4 5 6", "5 7 9", "0"},
    {ID_SUB, " 1  2  3 ", "4 5 6", "0", "1 2 3", "4 5 6", "-3 -3 -3", "0"},
    {ID_CROSS_PRODUCT, "1 0 0", "0 1 0", "0", "1 0 0", "0 1 0", "0 0 1", "0"},
    {ID_DOT_PRODUCT, "1 2 3", "4 5 6", "0", "1 2 3", "4 5 6", "0 0 1", "32"},   // V3 as the row before left it
    {ID_MUL_SCALAR, "1 2 3", "x", "  2 apples", "1 2 3", "x", "2 4 6", "32"},
    {ID_DIV_SCALAR, "1 -2 0", "x", "0", "1 -2 0", "x", "Infinity -Infinity NaN", "32"},
    {ID_NORMALIZE, "3 0 4", "x", "0", "3 0 4", "x", "0.6 0 0.8", "32"},
    {ID_LENGTH, "3 4", "x", "0", "3 4 0", "x", "0.6 0 0.8", "5"},
    {ID_ADD, "nothing", "1,2,3", "0", "0 0 0", "1 0 0", "1 0 0", "5"},
    {ID_NORMALIZE, "3e38 3e38 3e38", "x", "0", "3e+38 3e+38 3e+38", "x", "0 0 0", "5"},
    {ID_LENGTH, "1e20 0 0", "x", "0", "1e+20 0 0", "x", "0 0 0", "1e+20"},
};
// clang-format on

void check_commands(AppProcess& app) {
    for (const CommandCase& c : COMMANDS) {
        app.set_text(ID_V1, c.v1);
        app.set_text(ID_V2, c.v2);
        app.set_text(ID_S1, c.s1);
        std::string label = std::to_string(c.id) + " " + c.v1;
        check_context(label.c_str());
        app.click(int(c.id));
        CHECK_STR(app.text(ID_V1), c.v1_after);
        CHECK_STR(app.text(ID_V2), c.v2_after);
        CHECK_STR(app.text(ID_S1), c.s1);  // never rewritten
        CHECK_STR(app.text(ID_V3), c.v3);
        CHECK_STR(app.text(ID_S2), c.s2);
    }
    check_context("");

    // More than 255 chars: the command sees the first 255 only.
    app.set_text(ID_V1, (std::string(size_t(LONG_FIELD.pad), ' ') + LONG_FIELD.tail).c_str());
    app.click(ID_LENGTH);
    CHECK_STR(app.text(ID_V1), LONG_FIELD.written);
    CHECK_STR(app.text(ID_S2), "2.23607");

    // The result fields take the focus and a selection but no typing.
    HWND v3 = app.control(ID_V3);
    CHECK(GetWindowLongA(v3, GWL_STYLE) & ES_READONLY);
    app.focus_control(ID_V3);
    CHECK_INT(GetDlgCtrlID(app.focus()), ID_V3);
    app.type_chars("99");
    CHECK_STR(app.text(ID_V3), "0 0 0");
    app.focus_control(ID_V1);
    app.set_text(ID_V1, "");
    app.type_chars("7 8 9");
    CHECK_STR(app.text(ID_V1), "7 8 9");
}

void check_keys(AppProcess& app) {
    // Enter in a field is IDOK, which computes nothing.
    app.set_text(ID_V1, "1 2 3");
    app.set_text(ID_V2, "1 1 1");
    app.set_text(ID_V3, "before");
    app.focus_control(ID_V1);
    app.key(VK_RETURN);
    CHECK(app.alive());
    CHECK_STR(app.text(ID_V3), "before");
    CHECK_STR(app.text(ID_V1), "1 2 3");

    // Enter or space on a focused button runs its command.
    app.focus_control(ID_ADD);
    app.key(VK_RETURN);
    CHECK_STR(app.text(ID_V3), "2 3 4");
    app.set_text(ID_V3, "before");
    app.focus_control(ID_SUB);
    app.key(VK_SPACE);
    CHECK_STR(app.text(ID_V3), "0 1 2");

    // Typing into a field or clicking a check box computes nothing.
    app.set_text(ID_V3, "before");
    app.focus_control(ID_ROW_INVERSE);
    app.key(VK_SPACE);
    CHECK_INT(SendMessageA(app.control(ID_ROW_INVERSE), BM_GETCHECK, 0, 0), BST_CHECKED);
    app.click(ID_ROW_INVERSE + ROW_STRIDE);
    CHECK_INT(SendMessageA(app.control(ID_ROW_INVERSE + ROW_STRIDE), BM_GETCHECK, 0, 0), BST_CHECKED);
    CHECK_STR(app.text(ID_V3), "before");
    CHECK_STR(app.text(ID_ROW_VECTOR), "0 0 0");
}

// The caption shows the program's icon (WM_GETICON does not answer across
// processes under Wine, so look at the pixels): its red x and blue z arrows
// in the caption's top-left corner.
void check_caption_icon(AppProcess& app) {
    RECT frame;
    GetWindowRect(app.dialog, &frame);
    POINT client{0, 0};
    ClientToScreen(app.dialog, &client);
    HDC screen = GetDC(nullptr);
    int red = 0, blue = 0;
    for (int y = frame.top; y < client.y; ++y)
        for (int x = frame.left; x < frame.left + 28; ++x) {
            // Strongly red or blue: at other dpis the caption takes the
            // 32-bit images, whose colours are not the 16 pure ones.
            COLORREF c = GetPixel(screen, x, y);
            int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            red += r >= 180 && r - std::max(g, b) >= 100;
            blue += b >= 180 && b - std::max(r, g) >= 100;
        }
    ReleaseDC(nullptr, screen);
    CHECK(red >= 4);
    CHECK(blue >= 4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: test_win32_dialog.exe arrowbench.exe [screenshot.bmp]\n");
        return 2;
    }
    const char* exe = argv[1];
    UnitMapper units;

    check_resource(exe);
    {
        AppProcess app(exe);
        CHECK(app.dialog != nullptr);
        if (!app.dialog) return check_exit();
        check_layout(app, units);
        check_tab_order(app);
        check_commands(app);
        check_keys(app);
        check_caption_icon(app);
        if (argc > 2) {
            app.set_text(ID_V1, "1 2 3");
            app.set_text(ID_V2, "0.5 -1 2");
            app.set_text(ID_S1, "2");
            app.click(ID_CROSS_PRODUCT);
            CHECK(save_screenshot(app.dialog, argv[2]));
        }
        // Escape ends the program at once, with exit code 0.
        app.focus_control(ID_V1);
        app.key(VK_ESCAPE);
        CHECK(app.wait_exit(10000));
        CHECK_INT(app.exit_code(), 0);
    }
    {
        // So does the close box.
        AppProcess app(exe);
        CHECK(app.dialog != nullptr);
        PostMessageA(app.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        CHECK(app.wait_exit(10000));
        CHECK_INT(app.exit_code(), 0);
    }
    return check_exit();
}
