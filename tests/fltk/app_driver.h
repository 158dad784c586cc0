// Drives the real Linux program from outside, as a user's keyboard, mouse
// and clipboard would: XTest for keys and the pointer, and the CLIPBOARD
// selection for field texts, set by a paste (Ctrl+A, Ctrl+V) and read by a
// copy (Ctrl+A, Ctrl+C). Both are round trips through the program's event
// loop, so they also mark the point by which it has handled everything
// sent before. Texts travel as UTF8_STRING, the one text type offered, as
// a user's paste would: a Latin-1 character arrives as its UTF-8 bytes.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/dialog_template.h"
#include "tests/desktop/driver.h"

extern char** environ;

// The display scale the program runs at (Xft.dpi / 96 on the test's X
// server): each of the dialog's pixel lengths at scale 1, times this.
inline double dialog_scale = 1.0;
inline int px(int scale_1_px) { return scale_px(scale_1_px, dialog_scale); }
inline int px_x(int du) { return px(du_to_px_x(du)); }
inline int px_y(int du) { return px(du_to_px_y(du)); }

// The GL window inside the view control: the control less its client edge.
inline int view_x() { return px_x(template_control(ID_VIEW)->x) + px(CLIENT_EDGE_PX); }
inline int view_y() { return px_y(template_control(ID_VIEW)->y) + px(CLIENT_EDGE_PX); }
inline int view_w() { return px_x(template_control(ID_VIEW)->width) - 2 * px(CLIENT_EDGE_PX); }
inline int view_h() { return px_y(template_control(ID_VIEW)->height) - 2 * px(CLIENT_EDGE_PX); }

inline double now_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A key pressed and released on the X server, with up to two modifiers held.
inline void fake_key(Display* d, KeySym sym, KeySym modifier = 0, KeySym second = 0) {
    for (KeySym m : {modifier, second})
        if (m) XTestFakeKeyEvent(d, XKeysymToKeycode(d, m), True, 0);
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), True, 0);
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), False, 0);
    for (KeySym m : {second, modifier})
        if (m) XTestFakeKeyEvent(d, XKeysymToKeycode(d, m), False, 0);
}

// The key that types `c`: a digit, a letter, a space, a sign or a point.
inline KeySym key_for(char c) {
    const char name[2] = {c, 0};
    return c == ' ' ? XK_space : c == '-' ? XK_minus : c == '.' ? XK_period : XStringToKeysym(name);
}

inline std::vector<Window> children_of(Display* d, Window w) {
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    std::vector<Window> out;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) out.assign(children, children + n);
    if (children) XFree(children);
    return out;
}

inline bool viewable(Display* d, Window w, XWindowAttributes& wa) {
    return XGetWindowAttributes(d, w, &wa) && wa.map_state == IsViewable;
}

inline Window find_named_window(Display* d, Window w, const char* name) {
    char* got = nullptr;
    if (XFetchName(d, w, &got) && got) {
        bool match = std::strcmp(got, name) == 0;
        XFree(got);
        if (match) return w;
    }
    for (Window child : children_of(d, w))
        if (Window found = find_named_window(d, child, name)) return found;
    return 0;
}

// A property of window `w` as its bytes (a format-32 item as a long),
// deleted once read if `take`.
inline std::string window_property(Display* d, Window w, Atom property, bool take = false) {
    Atom type;
    int format = 0;
    unsigned long n = 0, left = 0;
    unsigned char* data = nullptr;
    std::string bytes;
    int got =
        XGetWindowProperty(d, w, property, 0, LONG_MAX / 4, take, AnyPropertyType, &type, &format, &n, &left, &data);
    if (got == Success && data)
        bytes.assign(reinterpret_cast<char*>(data), n * (format == 32 ? sizeof(long) : size_t(format / 8)));
    if (data) XFree(data);
    return bytes;
}

inline bool write_ppm(const Shot& s, const char* path) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", s.width, s.height);
    for (const Rgb& p : s.px) {
        unsigned char b[3] = {(unsigned char)p.r, (unsigned char)p.g, (unsigned char)p.b};
        std::fwrite(b, 1, 3, f);
    }
    return std::fclose(f) == 0;
}

struct AppDriver : DesktopDriver {
    Display* display = nullptr;
    Window app = 0;  // the dialog's top-level window
    Window own = 0;  // ours, for the selection traffic
    pid_t pid = 0;
    int status = -1;  // wait status once the program has ended
    int origin_x = 0, origin_y = 0;
    double patience = 1.0;  // scales every wait; large under valgrind
    int pace_ms = 0;        // a pause after each input, as a user's hand would leave
    Atom clipboard = 0, utf8 = 0, targets = 0, incoming = 0;
    std::string offer;  // what we hold on the clipboard
    bool we_own = false;

    // Whether the program is still running; records its wait status if not.
    bool running() override {
        if (pid <= 0) return false;
        int st = 0;
        pid_t r = waitpid(pid, &st, WNOHANG);
        if (r == pid) {
            status = st;
            pid = 0;
            return false;
        }
        return r == 0;
    }

    // Starts `argv` (the program, or a wrapper such as valgrind running it)
    // and waits for its dialog. False if no dialog came.
    bool launch(const std::vector<std::string>& argv) {
        if (!display) display = XOpenDisplay(nullptr);
        if (!display) return false;
        Display* d = display;
        clipboard = XInternAtom(d, "CLIPBOARD", False);
        utf8 = XInternAtom(d, "UTF8_STRING", False);
        targets = XInternAtom(d, "TARGETS", False);
        incoming = XInternAtom(d, "ARROWBENCH_TEST_IN", False);
        own = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(d, own, PropertyChangeMask);

        std::vector<char*> args;
        for (const std::string& s : argv) args.push_back(const_cast<char*>(s.c_str()));
        args.push_back(nullptr);
        if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
        double deadline = now_seconds() + 20 * patience;
        while (!app && now_seconds() < deadline && running()) {
            app = find_named_window(d, DefaultRootWindow(d), "Arrowbench");
            if (!app) usleep(50000);
        }
        if (!app) return false;
        // Mapped and drawn once before anything is sent to it.
        XWindowAttributes wa{};
        while (now_seconds() < deadline && XGetWindowAttributes(d, app, &wa) && wa.map_state != IsViewable)
            usleep(20000);
        usleep(useconds_t(300000 * patience));
        Window child;
        XTranslateCoordinates(d, app, DefaultRootWindow(d), 0, 0, &origin_x, &origin_y, &child);
        view_width = view_w();
        view_height = view_h();
        return true;
    }

    void settle(int ms) {
        if (ms <= 0) return;
        XSync(display, False);
        usleep(useconds_t(ms) * 1000);
    }

    // --- the pointer and the keyboard ---

    bool move_to(int x, int y) {  // dialog client coordinates
        bool sent = XTestFakeMotionEvent(display, DefaultScreen(display), origin_x + x, origin_y + y, 0);
        settle(pace_ms);
        return sent;
    }
    bool move_in_view(int x, int y) { return move_to(view_x() + x, view_y() + y); }
    void button(unsigned b, bool down) {
        XTestFakeButtonEvent(display, b, down, 0);
        settle(pace_ms);
    }

    void key(KeySym sym, KeySym modifier = 0, KeySym second = 0) {
        fake_key(display, sym, modifier, second);
        settle(pace_ms);
    }

    void click(int id) {
        const TemplateControl* c = template_control(id);
        if (!c) return;
        move_to(px_x(c->x) + px_x(c->width) / 2, px_y(c->y) + px_y(c->height) / 2);
        button(1, true);
        button(1, false);
        XFlush(display);
    }

    // --- the clipboard ---

    // Handles one event of our own window. Returns true when it gave the
    // program the text we offer.
    bool serve_event(XEvent& e) {
        if (e.type == SelectionClear && e.xselectionclear.selection == clipboard) {
            we_own = false;
            return false;
        }
        if (e.type != SelectionRequest) return false;
        XSelectionRequestEvent& r = e.xselectionrequest;
        XSelectionEvent reply{SelectionNotify, 0, False, r.display, r.requestor, r.selection, r.target, None, r.time};
        Atom property = r.property == None ? r.target : r.property;
        bool gave_text = false;
        if (r.target == targets) {
            Atom list[] = {targets, utf8};
            XChangeProperty(display, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(list), 2);
            reply.property = property;
        } else if (r.target == utf8) {
            XChangeProperty(display, r.requestor, property, r.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offer.data()), int(offer.size()));
            reply.property = property;
            gave_text = true;
        }
        XSendEvent(display, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display);
        return gave_text;
    }

    // Waits for an event of our window that `done` accepts, serving the
    // clipboard meanwhile. False on timeout or when the program has ended.
    template <typename Done>
    bool wait_own_event(double seconds, Done done) {
        double deadline = now_seconds() + seconds * patience;
        XFlush(display);
        while (now_seconds() < deadline) {
            while (XPending(display)) {
                XEvent e;
                XNextEvent(display, &e);
                bool gave = serve_event(e);
                if (done(e, gave)) return true;
            }
            if (!running()) return false;
            usleep(500);
        }
        return false;
    }

    void take_clipboard(const std::string& text) {
        offer = text;
        XSetSelectionOwner(display, clipboard, own, CurrentTime);
        we_own = true;
    }

    // Replaces the whole text of field `id`, through a paste into it. A
    // single-line FLTK field drops white space from the end of a paste (and
    // takes no paste of white space alone), so such a text is pasted with a
    // stand-in last char that BackSpace then takes away again.
    bool set_field(int id, const std::string& text, double seconds) {
        click(id);
        key(XK_a, XK_Control_L);
        if (text.empty()) {
            key(XK_BackSpace);
            XFlush(display);
            return true;
        }
        char last = text.back();
        bool trailing_space = last == ' ' || (last >= '\t' && last <= '\r');
        take_clipboard(trailing_space ? text + "x" : text);
        key(XK_v, XK_Control_L);
        bool pasted = wait_own_event(seconds, [](XEvent&, bool gave) { return gave; });
        if (trailing_space) key(XK_BackSpace);
        XFlush(display);
        return pasted;
    }
    bool set(int id, const std::string& text) override { return set_field(id, text, 5); }

    // The whole text of field `id`, through a copy from it. An empty field
    // copies nothing; that shows as a wait for the copy that runs out.
    std::string get_field(int id, bool* ok = nullptr, double seconds = 10) {
        take_clipboard("");
        XSync(display, False);
        click(id);
        key(XK_a, XK_Control_L);
        key(XK_c, XK_Control_L);
        bool copied = wait_own_event(seconds, [&](XEvent&, bool) { return !we_own; });
        if (copied) XConvertSelection(display, clipboard, utf8, incoming, own, CurrentTime);
        copied = copied && wait_own_event(5, [](XEvent& e, bool) { return e.type == SelectionNotify; });
        if (ok) *ok = copied;
        return copied ? window_property(display, own, incoming, true) : "";
    }
    std::string get(int id) override {
        bool ok = false;
        std::string text = get_field(id, &ok);
        return ok ? text : "<no answer>";
    }
    std::string copied_by(const std::function<void()>& action) override {
        take_clipboard("");
        XSync(display, False);
        action();
        bool copied = wait_own_event(10, [&](XEvent&, bool) { return !we_own; });
        if (copied) XConvertSelection(display, clipboard, utf8, incoming, own, CurrentTime);
        copied = copied && wait_own_event(5, [](XEvent& e, bool) { return e.type == SelectionNotify; });
        return copied ? window_property(display, own, incoming, true) : "<no answer>";
    }

    void type(int id, const std::string& text) override {
        click(id);
        key(XK_a, XK_Control_L);
        key(XK_BackSpace);
        for (char c : text) key(key_for(c));
    }

    bool press(int id) override {
        click(id);
        return running();
    }
    void focus(int id) override { click(id); }

    // The view's pointer. XTest gives the real pointer, which an X server
    // grabs for the window a button went down in, whatever `leaves` says.
    bool drag_begin(int b, int x, int y, bool) override {
        held = unsigned(b);
        bool moved = move_in_view(x, y);
        button(held, true);
        return moved && running();
    }
    bool drag_move(int x, int y) override { return move_in_view(x, y) && running(); }
    // The release, and a round trip after it: true when the program has
    // handled the whole drag.
    bool drag_end(int x, int y) override {
        move_in_view(x, y);
        button(held, false);
        bool handled = false;
        get_field(ID_S1, &handled, 120);
        return handled;
    }
    void hover(int x, int y) override { move_in_view(x, y); }
    void click_view(int x, int y, int b) override {
        move_in_view(x, y);
        button(unsigned(b), true);
        button(unsigned(b), false);
    }
    // Whole notches only: an X wheel is buttons 4 and 5.
    void wheel(int x, int y, double notches) override {
        move_in_view(x, y);
        for (int n = int(notches < 0 ? -notches : notches); n > 0; --n) {
            button(notches > 0 ? 4 : 5, true);
            button(notches > 0 ? 4 : 5, false);
        }
    }
    void key(const std::string& name) override {
        static const KeySym syms[KEY_COUNT] = {XK_Left,   XK_Right,  XK_Up,   XK_Down,   XK_KP_Add,
                                               XK_KP_Subtract, XK_Page_Up, XK_Page_Down, XK_Home, XK_Tab,
                                               XK_Escape, XK_Return, XK_F9,   XK_F10,    XK_Menu,  XK_F8,
                                               XK_z,      XK_y};
        bool shift, ctrl;
        int i = key_index(name, shift, ctrl);
        if (i >= 0) key(syms[i], ctrl ? XK_Control_L : 0, shift ? XK_Shift_L : 0);
    }
    // FLTK's menus are the program's only override-redirect windows.
    void pause(int ms) override { settle(ms); }
    bool menu_open() override {
        XWindowAttributes a;
        for (Window w : children_of(display, DefaultRootWindow(display)))
            if (viewable(display, w, a) && a.override_redirect) return true;
        return false;
    }

    bool worksheet_shown() override {
        XWindowAttributes a;
        Window w = find_named_window(display, DefaultRootWindow(display), "Arrowbench worksheet");
        return w && viewable(display, w, a);
    }
    // The rows as the list holds them, through its Ctrl+C, which copies
    // the selected row: down to the last row, then up to the first, until
    // a row comes again. The list has the keys while its window is open.
    std::vector<std::string> worksheet_lines() override {
        auto copy_row = [&] { return copied_by([&] { key(XK_c, XK_Control_L); }); };
        std::string row = copy_row(), last;
        do {
            last = row;
            key(XK_Down);
            row = copy_row();
        } while (row != last && row != "<no answer>");
        std::vector<std::string> rows;
        for (row = last; row != "<no answer>" && (rows.empty() || row != rows.front()); row = copy_row()) {
            rows.insert(rows.begin(), row);
            key(XK_Up);
        }
        return rows;
    }

    // --- the view's pixels ---

    // A rectangle of the dialog's client area as the screen shows it.
    Shot shoot(int left, int top, int width, int height) {
        XSync(display, False);
        XImage* img = XGetImage(display, DefaultRootWindow(display), origin_x + left, origin_y + top, unsigned(width),
                                unsigned(height), AllPlanes, ZPixmap);
        Shot s;
        if (!img) return s;
        s.width = width;
        s.height = height;
        s.px.resize(size_t(width) * size_t(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                unsigned long p = XGetPixel(img, x, y);
                s.px[size_t(y) * size_t(width) + size_t(x)] = {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF),
                                                               int(p & 0xFF)};
            }
        XDestroyImage(img);
        return s;
    }
    // After a pause in which the program draws what it was sent.
    Shot frame() override {
        settle(250);
        return shoot(view_x(), view_y(), view_w(), view_h());
    }

    // --- the process ---

    // VmRSS or VmHWM of the program, in KiB, or -1.
    long memory_kib(const char* field) const {
        std::ifstream in("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        size_t n = std::strlen(field);
        while (std::getline(in, line))
            if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':')
                return std::atol(line.c_str() + n + 1);
        return -1;
    }
    Memory memory() override { return {memory_kib("VmRSS"), memory_kib("VmHWM")}; }

    // True when the program then exited by itself in time with 0;
    // otherwise it is killed.
    bool quit() override {
        click(ID_V1);
        key(XK_Escape);
        XFlush(display);
        double deadline = now_seconds() + 30 * patience;
        while (running() && now_seconds() < deadline) usleep(20000);
        if (!running()) return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        pid = 0;
        return false;
    }

  private:
    unsigned held = 1;
};

// The program argv[1] under the driver, or nullptr if no dialog came up;
// without it, the usage, and the run ends with 2.
inline std::unique_ptr<AppDriver> start_or_usage(int argc, char** argv, const char* usage) {
    if (argc < 2) {
        std::printf("usage: %s, with DISPLAY set\n", usage);
        std::exit(2);
    }
    auto app = std::make_unique<AppDriver>();
    return app->launch({argv[1]}) ? std::move(app) : nullptr;
}
