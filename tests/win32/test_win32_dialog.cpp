// The Windows host's part of the dialog script (tests/desktop/dialog.cpp):
// arrowbench.exe under Wine, and what only the window system shows. First
// the template as stored in the exe, the live windows against it and the
// tab order; after the commands, the keys the dialog manager handles, the
// caption's icon, the screenshot, and the close box in a second process.
//
// Usage: test_win32_dialog.exe PATH\arrowbench.exe [screenshot.bmp]

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/desktop/host.h"
#include "tests/expected_dialog.h"
#include "tests/win32/dialog_units.h"
#include "tests/win32/win32_driver.h"

namespace {

const char* exe = nullptr;

std::string class_of(HWND w) {
    char buf[64] = {};
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}

std::string window_text(HWND w) {
    char buf[256] = {};
    SendMessageA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
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

void check_layout(Win32Driver& app, const UnitMapper& units) {
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
void check_tab_order(Win32Driver& app) {
    std::vector<int> stops;
    for (const expected::Control& c : expected::CONTROLS)
        if (c.style & expected::TABSTOP) stops.push_back(c.id);
    CHECK_INT(stops.size(), 26);

    // The dialog gave the focus to its first tab stop, V1.
    CHECK_INT(GetDlgCtrlID(app.focused()), ID_V1);
    for (size_t i = 1; i <= stops.size(); ++i) {
        app.post_key_handled(VK_TAB);
        CHECK_INT(GetDlgCtrlID(app.focused()), stops[i % stops.size()]);
    }
    // GetNextDlgTabItem walks the same ring.
    HWND w = app.control(ID_V1);
    for (size_t i = 1; i <= stops.size(); ++i) {
        w = GetNextDlgTabItem(app.dialog, w, FALSE);
        CHECK_INT(GetDlgCtrlID(w), stops[i % stops.size()]);
    }
}

// The result fields take the focus and a selection but no typing.
void check_typing(Win32Driver& app) {
    HWND v3 = app.control(ID_V3);
    CHECK(GetWindowLongA(v3, GWL_STYLE) & ES_READONLY);
    app.focus_control(ID_V3);
    CHECK_INT(GetDlgCtrlID(app.focused()), ID_V3);
    app.type_chars("99");
    CHECK_STR(app.get(ID_V3), "0 0 0");
    app.focus_control(ID_V1);
    app.set(ID_V1, "");
    app.type_chars("7 8 9");
    CHECK_STR(app.get(ID_V1), "7 8 9");
}

void check_keys(Win32Driver& app) {
    // Enter in a field is IDOK, which computes nothing.
    app.set(ID_V1, "1 2 3");
    app.set(ID_V2, "1 1 1");
    app.set(ID_V3, "before");
    app.focus_control(ID_V1);
    app.post_key_handled(VK_RETURN);
    CHECK(app.running());
    CHECK_STR(app.get(ID_V3), "before");
    CHECK_STR(app.get(ID_V1), "1 2 3");

    // Enter or space on a focused button runs its command.
    app.focus_control(ID_ADD);
    app.post_key_handled(VK_RETURN);
    CHECK_STR(app.get(ID_V3), "2 3 4");
    app.set(ID_V3, "before");
    app.focus_control(ID_SUB);
    app.post_key_handled(VK_SPACE);
    CHECK_STR(app.get(ID_V3), "0 1 2");

    // Typing into a field or clicking a check box computes nothing, nor
    // redraws: the row keeps a text that Redraw would rewrite.
    app.set(ID_V3, "before");
    app.set(ID_ROW_VECTOR, "1,2,3");
    app.focus_control(ID_ROW_INVERSE);
    app.post_key_handled(VK_SPACE);
    CHECK_INT(SendMessageA(app.control(ID_ROW_INVERSE), BM_GETCHECK, 0, 0), BST_CHECKED);
    app.press(ID_ROW_INVERSE + ROW_STRIDE);
    CHECK_INT(SendMessageA(app.control(ID_ROW_INVERSE + ROW_STRIDE), BM_GETCHECK, 0, 0), BST_CHECKED);
    CHECK_STR(app.get(ID_V3), "before");
    CHECK_STR(app.get(ID_ROW_VECTOR), "1,2,3");
}

// The caption shows the program's icon (WM_GETICON does not answer across
// processes under Wine, so look at the pixels): its red x and blue z arrows
// in the caption's top-left corner.
void check_caption_icon(Win32Driver& app) {
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

const char* screenshot = nullptr;

}  // namespace

std::unique_ptr<DesktopDriver> start_app(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: test_win32_dialog.exe arrowbench.exe [screenshot.bmp]\n");
        std::exit(2);
    }
    exe = argv[1];
    screenshot = argc > 2 ? argv[2] : nullptr;
    check_resource(exe);
    auto app = std::make_unique<Win32Driver>(exe);
    CHECK(app->dialog != nullptr);
    if (!app->dialog) return nullptr;
    check_layout(*app, UnitMapper());
    check_tab_order(*app);
    return app;
}

void host_checks(DesktopDriver& driver) {
    auto& app = static_cast<Win32Driver&>(driver);
    check_typing(app);
    check_keys(app);
    check_caption_icon(app);
    if (screenshot) {
        set_all(app, {{ID_V1, "1 2 3"},
                      {ID_V2, "0.5 -1 2"},
                      {ID_S1, "2"},
                      {ID_ROW_VECTOR, "0 0 0"},
                      {ID_ROW_OFFSET, "0 0 0"},
                      {ID_ROW_COLOR, "0 0 0"}});
        app.press(ID_CROSS_PRODUCT);
        CHECK(write_bmp(capture_window(app.dialog), screenshot));
    }
    // The close box, too, ends the program with exit code 0.
    Win32Driver second(exe);
    CHECK(second.dialog != nullptr);
    PostMessageA(second.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(second.wait_exit(10000));
    CHECK_INT(second.exit_code(), 0);
}
