// The Linux dialog in a real window on the X server: its widgets against
// the dialog as it must be, and keyboard navigation driven by real key
// events (XTest), as a user's keyboard would send them.

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/x.H>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/fltk/dialog.h"
#include "app/fltk/display_scale.h"
#include "tests/check.h"
#include "tests/expected_dialog.h"
#include "tests/fltk/app_driver.h"

namespace {

MainDialog* dialog;

template <typename F>
bool pump_until(F done, double seconds = 5.0) {
    for (double t = 0; t < seconds; t += 0.01) {
        Fl::check();
        if (done()) return true;
        Fl::wait(0.01);
    }
    return false;
}

void pump(double seconds) {
    for (double t = 0; t < seconds; t += 0.01) Fl::wait(0.01);
}

int id_of(const Fl_Widget* w) { return w ? int(reinterpret_cast<intptr_t>(w->user_data())) : -1; }

Fl_Input* input(int id) { return static_cast<Fl_Input*>(dialog_control(*dialog, id)); }

// A key pressed and released on the X server, then handled by FLTK.
void press(KeySym sym, KeySym modifier = 0) {
    fake_key(fl_display, sym, modifier);
    XSync(fl_display, False);
    pump(0.05);
}

void type_text(const char* s) {
    for (; *s; ++s) press(key_for(*s));
}

void check_widgets() {
    Fl_Double_Window* w = dialog->window;
    CHECK_STR(w->label(), expected::CAPTION);
    CHECK_INT(w->w(), du_to_px_x(expected::DIALOG_W));
    CHECK_INT(w->h(), du_to_px_y(expected::DIALOG_H));
    CHECK_INT(w->children(), 45);
    for (int i = 0; i < 45 && i < w->children(); ++i) {
        const expected::Control& c = expected::CONTROLS[i];
        Fl_Widget* widget = w->child(i);  // FLTK's child order is template order
        std::string label = "control " + std::to_string(i) + " '" + c.text + "'";
        check_context(label.c_str());
        CHECK(widget == dialog->controls[i]);
        CHECK_INT(id_of(widget), c.id);
        CHECK_INT(widget->x(), du_to_px_x(c.x));
        CHECK_INT(widget->y(), du_to_px_y(c.y));
        CHECK_INT(widget->w(), du_to_px_x(c.w));
        CHECK_INT(widget->h(), du_to_px_y(c.h));
        CHECK(widget->visible());
        std::string cls = c.window_class;
        unsigned type = c.style & 0xF;
        if (cls == "Edit") {
            auto* in = dynamic_cast<Fl_Input*>(widget);
            CHECK(in != nullptr);
            if (!in) continue;
            CHECK_STR(in->value(), c.text);
            CHECK(bool(in->readonly()) == bool(c.style & expected::READONLY));
        } else if (cls == "Button" && type == expected::AUTOCHECKBOX) {
            auto* b = dynamic_cast<Fl_Check_Button*>(widget);
            CHECK(b != nullptr);
            CHECK_STR(widget->label(), c.text);
            if (b) CHECK_INT(b->value(), 0);
        } else if (cls == "Button" && type == 0) {
            CHECK(dynamic_cast<Fl_Button*>(widget) != nullptr);
            CHECK(dynamic_cast<Fl_Check_Button*>(widget) == nullptr);
            CHECK_STR(widget->label(), c.text);
        } else if (cls == "OpenGLView") {
            CHECK(widget->label() == nullptr || *widget->label() == '\0');
        } else {
            CHECK_STR(widget->label(), c.text);  // headings, labels, group boxes
        }
        // Only the tab stops can take the keyboard focus.
        CHECK(bool(widget->visible_focus()) == bool(c.style & expected::TABSTOP));
    }
    check_context("");
}

void check_tab_order() {
    std::vector<int> stops;
    for (const expected::Control& c : expected::CONTROLS)
        if (c.style & expected::TABSTOP) stops.push_back(c.id);
    CHECK_INT(stops.size(), 26);

    // The first tab stop, V1, has the focus from the start.
    CHECK(pump_until([] { return Fl::focus() == input(ID_V1); }));
    CHECK_INT(id_of(Fl::focus()), ID_V1);
    for (size_t i = 1; i <= stops.size(); ++i) {
        press(XK_Tab);
        check_context(("tab " + std::to_string(i)).c_str());
        CHECK_INT(id_of(Fl::focus()), stops[i % stops.size()]);
    }
    // Shift+Tab goes back round the same ring.
    for (size_t i = 1; i <= 3; ++i) {
        press(XK_Tab, XK_Shift_L);
        check_context(("shift-tab " + std::to_string(i)).c_str());
        CHECK_INT(id_of(Fl::focus()), stops[(stops.size() - i) % stops.size()]);
    }
    check_context("");
}

void focus_on(int id) {
    Fl_Widget* w = dialog_control(*dialog, id);
    w->take_focus();
    pump(0.02);
}

void check_keys() {
    input(ID_V1)->value("1 2 3");
    input(ID_V2)->value("1 1 1");
    input(ID_V3)->value("before");

    // Enter in a field computes nothing and keeps the dialog open.
    focus_on(ID_V1);
    press(XK_Return);
    CHECK_STR(input(ID_V3)->value(), "before");
    CHECK(dialog->window->shown());
    CHECK_INT(id_of(Fl::focus()), ID_V1);  // and the focus stays put

    // Typing goes into the field, and computes nothing either.
    focus_on(ID_V2);
    press(XK_End);
    type_text(" 5");
    CHECK_STR(input(ID_V2)->value(), "1 1 1 5");
    CHECK_STR(input(ID_V3)->value(), "before");

    // Enter or space on a focused button runs its command.
    focus_on(ID_ADD);
    press(XK_Return);
    CHECK_STR(input(ID_V3)->value(), "2 3 4");
    CHECK_STR(input(ID_V2)->value(), "1 1 1");
    focus_on(ID_SUB);
    press(XK_space);
    CHECK_STR(input(ID_V3)->value(), "0 1 2");

    // The result fields take the focus but not typing.
    focus_on(ID_V3);
    CHECK_INT(id_of(Fl::focus()), ID_V3);
    type_text("99");
    CHECK_STR(input(ID_V3)->value(), "0 1 2");

    // Space toggles a focused check box and computes nothing.
    focus_on(ID_ROW_INVERSE);
    press(XK_space);
    CHECK_INT(static_cast<Fl_Check_Button*>(dialog_control(*dialog, ID_ROW_INVERSE))->value(), 1);
    CHECK_STR(input(ID_V3)->value(), "0 1 2");
    CHECK_STR(input(ID_ROW_VECTOR)->value(), "0 0 0");

    // Escape closes the dialog.
    focus_on(ID_V1);
    press(XK_Escape);
    CHECK(pump_until([] { return !dialog->window->shown(); }));
}

// The close box: the window manager's WM_DELETE_WINDOW request.
void check_close_request() {
    dialog->window->show();
    CHECK(pump_until([] { return dialog->window->shown(); }));
    Display* d = fl_display;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = fl_xid(dialog->window);
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    XSync(d, False);
    CHECK(pump_until([] { return !dialog->window->shown(); }));
}

// The display scale from the desktop's resources, as xrdb leaves them in
// RESOURCE_MANAGER, read the same under a locale with a decimal comma.
void check_scale_from_resources() {
    struct Case {
        const char* resources;
        double scale;
    };
    const Case cases[] = {
        {nullptr, 1.0},
        {"", 1.0},
        {"Xft.antialias:\t1\n", 1.0},
        {"Xft.dpi:\t96\n", 1.0},
        {"Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", 2.0},
        {"Xft.dpi:\t144\n", 1.5},
        {"Xft.dpi: 120.0\n", 1.25},
        {"*dpi:\t192\n", 2.0},  // a wildcard that names it, as Xft reads it
        {"Xft.dpi:\t72\n", 1.0},
        {"Xft.dpi:\t1000\n", 4.0},
        {"Xft.dpi:\tlarge\n", 1.0},
        {"Xft.dpi:\t-192\n", 1.0},
    };
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    for (const Case& c : cases) {
        check_context(c.resources ? c.resources : "(none)");
        CHECK(scale_from_resources(c.resources) == c.scale);
    }
    check_context("");
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace

int main() {
    check_scale_from_resources();
    if (!std::getenv("DISPLAY")) {
        std::printf("needs an X display (scripts/with-xvfb.sh)\n");
        return 1;
    }
    dialog = &create_main_dialog();
    dialog->window->show();
    CHECK(pump_until([] { return dialog->window->shown() && dialog->window->visible(); }));
    // No window manager here: give the window the keyboard focus the way
    // one would.
    XSetInputFocus(fl_display, fl_xid(dialog->window), RevertToParent, CurrentTime);
    check_widgets();
    check_tab_order();
    check_keys();
    check_close_request();
    return check_exit();
}
