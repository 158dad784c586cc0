// Drives the real Linux program from outside, as a user's keyboard, mouse
// and clipboard would: XTest for keys and the pointer, and the CLIPBOARD
// selection for field texts. A field is set by owning the clipboard with
// the text and pressing Ctrl+A, Ctrl+V in it; it is read by Ctrl+A, Ctrl+C
// and asking the program, now the owner, for the text. Both are round
// trips through the program's event loop, so they also mark the point by
// which it has handled everything sent before.
//
// Texts travel as UTF8_STRING (and STRING, in Latin-1, if asked for), so
// a field holds what a user's paste would put there: FLTK fields hold
// UTF-8, and a Latin-1 character arrives as its two UTF-8 bytes.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/dialog_template.h"
#include "tests/view_pixels.h"

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

struct AppDriver {
    Display* display = nullptr;
    Window app = 0;  // the dialog's top-level window
    Window own = 0;  // ours, for the selection traffic
    pid_t pid = 0;
    int status = -1;  // wait status once the program has ended
    int origin_x = 0, origin_y = 0;
    double patience = 1.0;  // scales every wait; large under valgrind
    Atom clipboard = 0, utf8 = 0, targets = 0, incoming = 0;
    std::string offer;  // what we hold on the clipboard
    bool we_own = false;
};

inline double now_seconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

inline Window find_named_window(Display* d, Window w, const char* name) {
    char* got = nullptr;
    if (XFetchName(d, w, &got) && got) {
        bool match = std::strcmp(got, name) == 0;
        XFree(got);
        if (match) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n && !found; ++i) found = find_named_window(d, children[i], name);
        if (children) XFree(children);
    }
    return found;
}

// Whether the program is still running; records its wait status if not.
inline bool app_running(AppDriver& a) {
    if (a.pid <= 0) return false;
    int st = 0;
    pid_t r = waitpid(a.pid, &st, WNOHANG);
    if (r == a.pid) {
        a.status = st;
        a.pid = 0;
        return false;
    }
    return r == 0;
}

// Starts `argv` (the program, or a wrapper such as valgrind running it)
// and waits for its dialog. False if no dialog came.
inline bool launch(AppDriver& a, const std::vector<std::string>& argv) {
    if (!a.display) a.display = XOpenDisplay(nullptr);
    if (!a.display) return false;
    Display* d = a.display;
    a.clipboard = XInternAtom(d, "CLIPBOARD", False);
    a.utf8 = XInternAtom(d, "UTF8_STRING", False);
    a.targets = XInternAtom(d, "TARGETS", False);
    a.incoming = XInternAtom(d, "ARROWBENCH_TEST_IN", False);
    a.own = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(d, a.own, PropertyChangeMask);

    std::vector<char*> args;
    for (const std::string& s : argv) args.push_back(const_cast<char*>(s.c_str()));
    args.push_back(nullptr);
    if (posix_spawnp(&a.pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
    double deadline = now_seconds() + 20 * a.patience;
    while (!a.app && now_seconds() < deadline && app_running(a)) {
        a.app = find_named_window(d, DefaultRootWindow(d), "Arrowbench");
        if (!a.app) usleep(50000);
    }
    if (!a.app) return false;
    // Mapped and drawn once before anything is sent to it.
    XWindowAttributes wa{};
    while (now_seconds() < deadline && XGetWindowAttributes(d, a.app, &wa) && wa.map_state != IsViewable)
        usleep(20000);
    usleep(useconds_t(300000 * a.patience));
    Window child;
    XTranslateCoordinates(d, a.app, DefaultRootWindow(d), 0, 0, &a.origin_x, &a.origin_y, &child);
    return true;
}

// --- the pointer and the keyboard ---

inline void move_to(AppDriver& a, int x, int y) {  // dialog client coordinates
    XTestFakeMotionEvent(a.display, DefaultScreen(a.display), a.origin_x + x, a.origin_y + y, 0);
}

inline void move_in_view(AppDriver& a, int x, int y) { move_to(a, view_x() + x, view_y() + y); }

inline void button(AppDriver& a, unsigned b, bool down) { XTestFakeButtonEvent(a.display, b, down, 0); }

inline void key(AppDriver& a, KeySym sym, KeySym modifier = 0) {
    Display* d = a.display;
    if (modifier) XTestFakeKeyEvent(d, XKeysymToKeycode(d, modifier), True, 0);
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), True, 0);
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), False, 0);
    if (modifier) XTestFakeKeyEvent(d, XKeysymToKeycode(d, modifier), False, 0);
}

inline void click(AppDriver& a, int id) {
    const TemplateControl* c = template_control(id);
    if (!c) return;
    move_to(a, px_x(c->x) + px_x(c->width) / 2, px_y(c->y) + px_y(c->height) / 2);
    button(a, 1, true);
    button(a, 1, false);
    XFlush(a.display);
}

// --- the clipboard ---

// Latin-1 for a requestor that asks for STRING; what has no Latin-1 form
// goes as '?'.
inline std::string utf8_to_latin1(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = (unsigned char)s[i];
        if (c < 0x80) {
            out += char(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < s.size()) {
            out += char(((c & 0x03) << 6) | ((unsigned char)s[++i] & 0x3F));
        } else {
            out += '?';
            while (i + 1 < s.size() && ((unsigned char)s[i + 1] & 0xC0) == 0x80) ++i;
        }
    }
    return out;
}

// Handles one event of our own window. Returns true when it gave the
// program the text we offer.
inline bool serve_event(AppDriver& a, XEvent& e) {
    if (e.type == SelectionClear && e.xselectionclear.selection == a.clipboard) {
        a.we_own = false;
        return false;
    }
    if (e.type != SelectionRequest) return false;
    XSelectionRequestEvent& r = e.xselectionrequest;
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = r.display;
    reply.requestor = r.requestor;
    reply.selection = r.selection;
    reply.target = r.target;
    reply.time = r.time;
    reply.property = None;
    Atom property = r.property == None ? r.target : r.property;
    bool gave_text = false;
    if (r.target == a.targets) {
        Atom list[] = {a.targets, a.utf8, XA_STRING};
        XChangeProperty(a.display, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(list), 3);
        reply.property = property;
    } else if (r.target == a.utf8 || r.target == XA_STRING) {
        std::string data = r.target == a.utf8 ? a.offer : utf8_to_latin1(a.offer);
        XChangeProperty(a.display, r.requestor, property, r.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
        reply.property = property;
        gave_text = true;
    }
    XSendEvent(a.display, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(a.display);
    return gave_text;
}

// Waits for an event of our window that `done` accepts, serving the
// clipboard meanwhile. False on timeout or when the program has ended.
template <typename Done>
bool wait_own_event(AppDriver& a, double seconds, Done done) {
    double deadline = now_seconds() + seconds * a.patience;
    XFlush(a.display);
    while (now_seconds() < deadline) {
        while (XPending(a.display)) {
            XEvent e;
            XNextEvent(a.display, &e);
            bool gave = serve_event(a, e);
            if (done(e, gave)) return true;
        }
        if (!app_running(a)) return false;
        usleep(500);
    }
    return false;
}

inline void take_clipboard(AppDriver& a, const std::string& text) {
    a.offer = text;
    XSetSelectionOwner(a.display, a.clipboard, a.own, CurrentTime);
    a.we_own = true;
}

// Replaces the whole text of field `id`, through a paste into it. A
// single-line FLTK field drops white space from the end of a paste (and
// takes no paste of white space alone), so such a text is pasted with a
// stand-in last char that BackSpace then takes away again.
inline bool set_field(AppDriver& a, int id, const std::string& text, double seconds = 5) {
    click(a, id);
    key(a, XK_a, XK_Control_L);
    if (text.empty()) {
        key(a, XK_BackSpace);
        XFlush(a.display);
        return true;
    }
    char last = text.back();
    bool trailing_space = last == ' ' || (last >= '\t' && last <= '\r');
    take_clipboard(a, trailing_space ? text + "x" : text);
    key(a, XK_v, XK_Control_L);
    bool pasted = wait_own_event(a, seconds, [](XEvent&, bool gave) { return gave; });
    if (trailing_space) key(a, XK_BackSpace);
    XFlush(a.display);
    return pasted;
}

// The whole text of field `id`, through a copy from it. An empty field
// copies nothing; that shows as a wait for the copy that runs out.
inline std::string get_field(AppDriver& a, int id, bool* ok = nullptr, double seconds = 10) {
    take_clipboard(a, "");
    XSync(a.display, False);
    click(a, id);
    key(a, XK_a, XK_Control_L);
    key(a, XK_c, XK_Control_L);
    bool copied = wait_own_event(a, seconds, [&](XEvent&, bool) { return !a.we_own; });
    std::string text;
    if (copied) {
        XConvertSelection(a.display, a.clipboard, a.utf8, a.incoming, a.own, CurrentTime);
        bool got = wait_own_event(a, 5, [](XEvent& e, bool) { return e.type == SelectionNotify; });
        if (got) {
            Atom type;
            int format;
            unsigned long n = 0, left = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(a.display, a.own, a.incoming, 0, LONG_MAX / 4, True, AnyPropertyType, &type,
                                   &format, &n, &left, &data) == Success &&
                data) {
                text.assign(reinterpret_cast<char*>(data), n);
                XFree(data);
            }
        }
        copied = got;
    }
    if (ok) *ok = copied;
    return text;
}

// --- the view's pixels ---

// A rectangle of the dialog's client area as the screen shows it.
inline Shot shoot(AppDriver& a, int left, int top, int width, int height) {
    XSync(a.display, False);
    XImage* img = XGetImage(a.display, DefaultRootWindow(a.display), a.origin_x + left, a.origin_y + top,
                            unsigned(width), unsigned(height), AllPlanes, ZPixmap);
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

inline Shot shoot_view(AppDriver& a) { return shoot(a, view_x(), view_y(), view_w(), view_h()); }

// --- the process ---

// VmRSS or VmHWM of the program, in KiB, or -1.
inline long memory_kib(const AppDriver& a, const char* field) {
    std::ifstream in("/proc/" + std::to_string(a.pid) + "/status");
    std::string line;
    size_t n = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') return std::atol(line.c_str() + n + 1);
    return -1;
}

// Waits for the program to end. True when it exited by itself in time;
// its wait status is then in a.status. Otherwise it is killed.
inline bool wait_exit(AppDriver& a, double seconds) {
    XFlush(a.display);
    double deadline = now_seconds() + seconds * a.patience;
    while (app_running(a) && now_seconds() < deadline) usleep(20000);
    if (!app_running(a)) return a.status != -1;
    kill(a.pid, SIGKILL);
    waitpid(a.pid, &a.status, 0);
    a.pid = 0;
    return false;
}

// Escape in a field of the dialog, then the program's exit.
inline bool quit_app(AppDriver& a, double seconds = 10) {
    click(a, ID_V1);
    key(a, XK_Escape);
    return wait_exit(a, seconds);
}

inline bool exited_with(const AppDriver& a, int code) {
    return a.status != -1 && WIFEXITED(a.status) && WEXITSTATUS(a.status) == code;
}
