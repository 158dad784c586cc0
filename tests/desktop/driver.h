// A running desktop program, driven from outside as its user would drive
// it: the same actions on every desktop host, each host's adapter doing
// them through its own window system (tests/fltk/app_driver.h with XTest
// and the clipboard, tests/win32/win32_driver.h with messages and input
// under Wine). The end-to-end scenarios in this folder are written once,
// against this.
#pragma once

#include <initializer_list>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "tests/check.h"
#include "tests/view_pixels.h"

// The desktop hosts, for the rows of a table that only one of them takes.
enum : unsigned { ON_FLTK = 1, ON_WIN32 = 2, ON_BOTH = 3 };
#ifdef _WIN32
constexpr unsigned THIS_HOST = ON_WIN32;
#else
constexpr unsigned THIS_HOST = ON_FLTK;
#endif
inline bool on_this_host(unsigned hosts) { return (hosts & THIS_HOST) != 0; }

// Two figures of the program's memory, in KiB: what is resident, and what
// it holds of its own (Linux: the resident peak; Windows: private bytes).
struct Memory {
    long resident = -1, held = -1;
};

constexpr int LEFT_BUTTON = 1, RIGHT_BUTTON = 3;

// The keys a scenario names, as the camera cases name them; each adapter
// lists its codes for them in this order.
constexpr const char* KEY_NAMES[] = {"ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "+",  "-",   "PageUp",     "PageDown",
                                     "Home",      "Tab",        "Escape",  "Enter",     "F9", "F10", "ContextMenu", "F8",
                                     "Z",         "Y"};
constexpr int KEY_COUNT = int(sizeof KEY_NAMES / sizeof *KEY_NAMES);
// A key's place in KEY_NAMES, after "Ctrl+" and then "Shift+" if any; -1
// if it has none.
inline int key_index(const std::string& name, bool& shift, bool& ctrl) {
    size_t at = 0;
    ctrl = name.rfind("Ctrl+", 0) == 0;
    at += ctrl ? 5 : 0;
    shift = name.compare(at, 6, "Shift+") == 0;
    at += shift ? 6 : 0;
    for (int i = 0; i < KEY_COUNT; ++i)
        if (name.compare(at, std::string::npos, KEY_NAMES[i]) == 0) return i;
    return -1;
}

struct DesktopDriver {
    int view_width = 0, view_height = 0;  // the view's client area, in pixels

    virtual ~DesktopDriver() = default;
    virtual bool running() = 0;

    // A field's whole text replaced, or read. False, or "<no answer>",
    // when the program did not take or give it in time.
    virtual bool set(int id, const std::string& text) = 0;
    virtual std::string get(int id) = 0;
    virtual void type(int id, const std::string& text) = 0;  // key by key, over what was there
    // A click on a push button or a check box; the command has run by the
    // time anything is read from the program again.
    virtual bool press(int id) = 0;
    virtual void focus(int id) = 0;  // as a click on it or Tab would

    // The pointer, in the view's client pixels. A drag is pressed, moved
    // and released; one that `leaves` the view is made with the real
    // pointer, which the view must hold on to.
    virtual bool drag_begin(int button, int x, int y, bool leaves = false) = 0;
    virtual bool drag_move(int x, int y) = 0;
    virtual bool drag_end(int x, int y) = 0;
    virtual void hover(int x, int y) = 0;    // no button held
    virtual void click_view(int x, int y, int button = LEFT_BUTTON) = 0;
    virtual void wheel(int x, int y, double notches) = 0;  // forward > 0
    // A key of KEY_NAMES to whatever has the focus, "Shift+" before it for
    // the key with Shift held, "Ctrl+" (before that) with Control held.
    virtual void key(const std::string& name) = 0;
    // Whether a popup menu of the program is showing.
    virtual bool menu_open() = 0;
    // Whether the program's window captioned "Arrowbench worksheet" is
    // showing, and the lines of its list of entries, top first.
    virtual bool worksheet_shown() = 0;
    virtual std::vector<std::string> worksheet_lines() = 0;
    // What the program puts on the clipboard while `action` runs, as
    // UTF-8; "<no answer>" when it puts nothing there in time.
    virtual std::string copied_by(const std::function<void()>& action) = 0;
    virtual void pause(int ms) = 0;  // time for the program to work
    // True once a menu shows (or none does), looked for over three seconds
    // after a moment in which the program could have opened one.
    bool menu_becomes(bool open) {
        pause(300);
        for (int i = 0; i < 30; ++i, pause(100))
            if (menu_open() == open) return true;
        return false;
    }

    // The view's client area as drawn.
    virtual Shot frame() = 0;
    virtual Memory memory() = 0;
    // Escape in V1. True when the program then exited by itself with 0.
    virtual bool quit() = 0;
};

// Field texts the way the desktop tests build them.
inline std::string rep(const std::string& s, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += s;
    return out;
}

inline void set_all(DesktopDriver& d, std::initializer_list<std::pair<int, std::string>> fields) {
    for (const auto& f : fields) CHECK(d.set(f.first, f.second));
}
