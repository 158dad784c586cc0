// Builds the main dialog from the template table and gives the shared
// commands their field access.

#include "app/fltk/dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Input.H>
#include <FL/fl_draw.H>

#include <cstdint>
#include <cstring>

#include "app/app.h"
#include "view/fltk/view_window.h"

namespace {

constexpr int FONT_SIZE = 11;

MainDialog the_dialog;

// A Windows-style group box: an etched frame whose top edge runs through
// the middle of its caption.
class GroupBox : public Fl_Widget {
public:
    GroupBox(int x, int y, int w, int h, const char* label) : Fl_Widget(x, y, w, h, label) {}

protected:
    void draw() override {
        int top = y() + FONT_SIZE / 2;
        fl_draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), color());
        fl_font(labelfont(), labelsize());
        int text_w = 0, text_h = 0;
        fl_measure(label(), text_w, text_h, 0);
        fl_color(parent()->color());
        fl_rectf(x() + 6, y(), text_w + 4, text_h);
        fl_color(labelcolor());
        fl_draw(label(), x() + 8, y(), text_w, text_h, FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP);
    }
};

// Static text as Windows draws it: from the control's left edge, with no
// inset, top-aligned or (SS_CENTERIMAGE) centred vertically.
class StaticText : public Fl_Widget {
public:
    StaticText(int x, int y, int w, int h, const char* label, bool centre)
        : Fl_Widget(x, y, w, h, label), centre_(centre) {}

protected:
    void draw() override {
        fl_font(labelfont(), labelsize());
        fl_color(labelcolor());
        fl_draw(label(), x(), y(), w() + 20, h(), FL_ALIGN_LEFT | (centre_ ? 0 : FL_ALIGN_TOP), nullptr, 0);
    }

private:
    bool centre_;
};

int control_id(const Fl_Widget* w) { return int(reinterpret_cast<intptr_t>(w->user_data())); }

const TemplateControl* template_of(const Fl_Widget* w) {
    for (int i = 0; i < CONTROL_COUNT; ++i)
        if (the_dialog.controls[i] == w) return &MAIN_DLG_CONTROLS[i];
    return nullptr;
}

bool is_push_button(const TemplateControl& c) {
    return std::strcmp(c.window_class, "Button") == 0 && (c.style & TPL_BS_TYPEMASK) == TPL_BS_PUSHBUTTON;
}

void read_input(void* host, int id, char* buffer, int size) {
    auto* input = static_cast<Fl_Input*>(dialog_control(*static_cast<MainDialog*>(host), id));
    const char* text = input ? input->value() : "";
    int n = 0;
    while (n < size - 1 && text[n]) ++n;  // like GetDlgItemTextA: cut, never overrun
    std::memcpy(buffer, text, size_t(n));
    buffer[n] = '\0';
}

void write_input(void* host, int id, const char* text) {
    if (auto* input = static_cast<Fl_Input*>(dialog_control(*static_cast<MainDialog*>(host), id))) input->value(text);
}

bool box_checked(void* host, int id) {
    auto* box = static_cast<Fl_Check_Button*>(dialog_control(*static_cast<MainDialog*>(host), id));
    return box && box->value() == 1;
}

// The view is a window of its own inside the dialog: FLTK repaints it only
// when asked by name.
void repaint_dialog(void* host) {
    static_cast<MainDialog*>(host)->window->redraw();
    if (Fl_Gl_Window* view = view_gl_window()) view->redraw();
}

FieldAccess field_access() { return FieldAccess{&the_dialog, read_input, write_input, box_checked, repaint_dialog}; }

void on_button(Fl_Widget* button, void*) {
    FieldAccess fields = field_access();
    run_command(fields, unsigned(control_id(button)));
}

// Escape and the close box both end the dialog, like IDCANCEL.
void on_close(Fl_Widget* window, void*) { window->hide(); }

// Enter on a focused push button runs it, as the Windows dialog manager
// does, and Enter anywhere else computes nothing. FLTK's own groups would
// take an unused Enter to move the focus on, so the window claims it first.
class DialogWindow : public Fl_Double_Window {
public:
    DialogWindow(int x, int y, int w, int h, const char* label) : Fl_Double_Window(x, y, w, h, label) {}

    int handle(int event) override {
        if (event == FL_SHORTCUT && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            Fl_Widget* focus = Fl::focus();
            const TemplateControl* c = focus ? template_of(focus) : nullptr;
            if (c && is_push_button(*c)) focus->do_callback();
            return 1;
        }
        return Fl_Double_Window::handle(event);
    }
};

Fl_Widget* make_control(const TemplateControl& c) {
    int x = du_to_px_x(c.x), y = du_to_px_y(c.y), w = du_to_px_x(c.width), h = du_to_px_y(c.height);
    Fl_Widget* widget = nullptr;
    if (std::strcmp(c.window_class, "Edit") == 0) {
        auto* input = new Fl_Input(x, y, w, h);
        input->when(FL_WHEN_NEVER);  // typing computes nothing
        input->value(c.text);
        input->textsize(FONT_SIZE);
        if (c.style & TPL_ES_READONLY) {
            input->readonly(1);
            input->color(FL_BACKGROUND_COLOR);
        }
        widget = input;
    } else if (std::strcmp(c.window_class, "Button") == 0) {
        unsigned type = c.style & TPL_BS_TYPEMASK;
        if (type == TPL_BS_GROUPBOX) {
            widget = new GroupBox(x, y, w, h, c.text);
        } else if (type == TPL_BS_AUTOCHECKBOX) {
            widget = new Fl_Check_Button(x, y, w, h, c.text);
            widget->when(FL_WHEN_NEVER);  // read only by Redraw
        } else {
            widget = new Fl_Button(x, y, w, h, c.text);
            widget->callback(on_button);
        }
    } else if (std::strcmp(c.window_class, "Static") == 0) {
        widget = new StaticText(x, y, w, h, c.text, c.style & TPL_SS_CENTERIMAGE);
    } else {
        widget = create_view_control(x, y, w, h);
    }
    widget->labelsize(FONT_SIZE);
    widget->user_data(reinterpret_cast<void*>(intptr_t(c.id)));
    if (!(c.style & TPL_WS_TABSTOP)) widget->clear_visible_focus();
    return widget;
}

}  // namespace

MainDialog& create_main_dialog() {
    auto* window = new DialogWindow(du_to_px_x(MAIN_DLG.x), du_to_px_y(MAIN_DLG.y), du_to_px_x(MAIN_DLG.width),
                                        du_to_px_y(MAIN_DLG.height), MAIN_DLG.caption);
    for (int i = 0; i < CONTROL_COUNT; ++i) the_dialog.controls[i] = make_control(MAIN_DLG_CONTROLS[i]);
    window->end();
    // Fixed size, like a dialog without a sizing border.
    window->size_range(window->w(), window->h(), window->w(), window->h());
    window->callback(on_close);
    the_dialog.window = window;
    return the_dialog;
}

Fl_Widget* dialog_control(const MainDialog& dialog, int id) {
    for (Fl_Widget* w : dialog.controls)
        if (control_id(w) == id) return w;
    return nullptr;
}
