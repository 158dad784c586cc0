// Builds the main dialog from the template table and gives the shared
// commands their field access.

#include "app/fltk/dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

#include "app/app.h"
#include "app/menu.h"
#include "app/worksheet.h"
#include "app/fltk/display_scale.h"
#include "app/fltk/icon.h"
#include "view/fltk/view_window.h"

namespace {

// The dialog's font at scale 1, in pixels.
constexpr int FONT_PX = 11;
int font_size() { return scaled(FONT_PX); }

MainDialog the_dialog;

// A Windows-style group box: an etched frame whose top edge runs through
// the middle of its caption.
class GroupBox : public Fl_Widget {
public:
    GroupBox(int x, int y, int w, int h, const char* label) : Fl_Widget(x, y, w, h, label) {}

protected:
    void draw() override {
        int top = y() + font_size() / 2;
        fl_draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), color());
        fl_font(labelfont(), labelsize());
        int text_w = 0, text_h = 0;
        fl_measure(label(), text_w, text_h, 0);
        fl_color(parent()->color());
        fl_rectf(x() + scaled(6), y(), text_w + scaled(4), text_h);
        fl_color(labelcolor());
        fl_draw(label(), x() + scaled(8), y(), text_w, text_h, FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP);
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
        fl_draw(label(), x(), y(), w() + scaled(20), h(), FL_ALIGN_LEFT | (centre_ ? 0 : FL_ALIGN_TOP), nullptr, 0);
    }

private:
    bool centre_;
};

// FLTK's check box, whose square grows with the label's size but whose
// gaps and mark do not: above scale 1 they are drawn to scale too.
class CheckBox : public Fl_Check_Button {
public:
    CheckBox(int x, int y, int w, int h, const char* label) : Fl_Check_Button(x, y, w, h, label) {}

protected:
    void draw() override {
        if (display_scale() == 1.0) return Fl_Check_Button::draw();
        if (box()) draw_box(box(), color());
        int side = labelsize();
        int dx = Fl::box_dx(box()) + scaled(2), dy = (h() - side) / 2;
        draw_box(down_box(), x() + dx, y() + dy, side, side, FL_BACKGROUND2_COLOR);
        if (value()) {
            fl_color(active_r() ? selection_color() : fl_inactive(selection_color()));
            int stroke = scaled(3);  // three rows of pixels at scale 1
            int tx = x() + dx + stroke, tw = side - 2 * stroke;
            int d1 = tw / 3, d2 = tw - d1;
            int ty = y() + dy + (side + d2) / 2 - d1 - scaled(2);
            for (int n = 0; n < stroke; ++n, ++ty) {
                fl_line(tx, ty, tx + d1, ty + d1);
                fl_line(tx + d1, ty + d1, tx + tw - 1, ty + d1 - d2 + 1);
            }
        }
        int lx = dx + side + scaled(2);
        draw_label(x() + lx, y(), w() - lx - Fl::box_dx(box()), h());
        if (Fl::focus() == this) draw_focus();
    }
};

// Ctrl+Z undoes a field's own typing first (FLTK drops it when a command
// writes the field), then lets it go, so that the next Ctrl+Z undoes a
// step rather than typing it again. Ctrl+Y and Ctrl+Shift+Z are the
// dialog's.
class Field : public Fl_Input {
public:
    Field(int x, int y, int w, int h) : Fl_Input(x, y, w, h) {}

    int handle(int event) override {
        int key = Fl::event_key();
        if (event != FL_KEYBOARD || !Fl::event_state(FL_CTRL) || (key != 'z' && key != 'y'))
            return Fl_Input::handle(event);
        if (key == 'y' || Fl::event_state(FL_SHIFT) || !undo()) return 0;
        value(value());
        return 1;
    }
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

void set_box(void* host, int id, bool checked) {
    if (auto* box = static_cast<Fl_Check_Button*>(dialog_control(*static_cast<MainDialog*>(host), id)))
        box->value(checked ? 1 : 0);
}

// The clipboard, as UTF-8 (FLTK's own text type).
void copy_text(void*, const char* text) { Fl::copy(text, int(std::strlen(text)), 1); }

void set_tip(void* host, int id, const char* text) {
    if (Fl_Widget* w = dialog_control(*static_cast<MainDialog*>(host), id)) w->copy_tooltip(*text ? text : nullptr);
}

FieldAccess field_access() {
    return FieldAccess{&the_dialog, read_input, write_input, box_checked, repaint_dialog, set_box, copy_text, set_tip};
}

void show_worksheet();
void update_worksheet();

// Every command goes to the core as a step, with the view's context
// current: some (Reset view) draw at once.
void run(unsigned id) {
    if (id == ID_WORKSHEET) return show_worksheet();
    make_view_current();
    run_step(field_access(), id);
    update_worksheet();
}

// The worksheet's window: every entry as one row, its line and then its
// working, oldest first, and what can be done with them.
class EntryList : public Fl_Hold_Browser {
public:
    EntryList(int x, int y, int w, int h) : Fl_Hold_Browser(x, y, w, h) {}

    void recall_selected() {
        if (!value()) return;
        make_view_current();
        recall(field_access(), size_t(value() - 1));
    }

    // Enter or a double click recalls the entry; Ctrl+C copies its row.
    int handle(int event) override {
        if (event == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            recall_selected();
            return 1;
        }
        if (event == FL_KEYBOARD && Fl::event_state(FL_CTRL) && Fl::event_key() == 'c') {
            if (value()) Fl::copy(text(value()), int(std::strlen(text(value()))), 1);
            return 1;
        }
        // Home, End and the page keys, as a list of a thousand rows needs.
        if (event == FL_KEYBOARD && size() && !Fl::event_state(FL_CTRL | FL_ALT | FL_SHIFT)) {
            int page = std::max(1, h() / (textsize() + 4) - 1), at = std::max(value(), 1), to = 0;
            switch (Fl::event_key()) {
                case FL_Home: to = 1; break;
                case FL_End: to = size(); break;
                case FL_Page_Up: to = std::max(1, at - page); break;
                case FL_Page_Down: to = std::min(size(), at + page); break;
            }
            if (to) {
                select(to);
                make_visible(to);
                return 1;
            }
        }
        int used = Fl_Hold_Browser::handle(event);
        if (event == FL_PUSH && Fl::event_clicks() && value()) recall_selected();
        return used;
    }
};

Fl_Double_Window* sheet;
EntryList* entries;
size_t rows_seen;  // worksheet_changes() when the rows were last brought up to date (worksheet_news)

void add_sheet_button(int x, int y, int w, int h, const char* label, Fl_Callback* callback) {
    auto* button = new Fl_Button(x, y, w, h, label);
    button->labelsize(font_size());
    button->callback(callback);
}

void create_worksheet() {
    const int gap = scaled(8), button_h = scaled(24), button_w = scaled(104);
    sheet = new Fl_Double_Window(scaled(560), scaled(300), "Arrowbench worksheet");
    entries = new EntryList(gap, gap, sheet->w() - 2 * gap, sheet->h() - 3 * gap - button_h);
    entries->textsize(font_size());
    entries->format_char(0);  // the rows are the core's text, never markup
    int y = sheet->h() - gap - button_h;
    add_sheet_button(gap, y, button_w, button_h, "Recall", [](Fl_Widget*, void*) { entries->recall_selected(); });
    add_sheet_button(2 * gap + button_w, y, button_w, button_h, "Copy worksheet",
                     [](Fl_Widget*, void*) { run(ID_COPY_WORKSHEET); });
    add_sheet_button(3 * gap + 2 * button_w, y, button_w, button_h, "Copy as LaTeX",
                     [](Fl_Widget*, void*) { run(ID_COPY_WORKSHEET_LATEX); });
    add_sheet_button(4 * gap + 3 * button_w, y, button_w, button_h, "Clear",
                     [](Fl_Widget*, void*) { run(ID_CLEAR_WORKSHEET); });
    sheet->end();
    sheet->resizable(entries);
    sheet->callback([](Fl_Widget* window, void*) { window->hide(); });  // Escape and the close box
    sheet->xclass("arrowbench");
    sheet->set_non_modal();  // transient for the dialog, above it
    set_window_icons(*sheet);
    // Beside the dialog, on the screen.
    Fl_Window* dialog = the_dialog.window;
    sheet->position(std::max(0, std::min(dialog->x() + dialog->w() + gap, Fl::w() - sheet->w())), dialog->y());
}

// The rows follow the entries: the oldest let go past the cap, the new
// ones added, all of them after a Clear; no row is written twice.
void update_worksheet() {
    if (!sheet) return;
    WorksheetNews news = worksheet_news(rows_seen);
    if (news.cleared) entries->clear();
    for (size_t i = 0; i < news.dropped; ++i) entries->remove(1);
    size_t count = entry_count();
    for (size_t i = count - news.fresh; i < count; ++i) entries->add(entry_row(i).c_str());
    if (!news.fresh) return;
    entries->value(entries->size());  // the newest, ready for Recall
    entries->bottomline(entries->size());
}

// Opening it again brings it forward, with the keys in its list: without
// a window manager to give them, the X focus would stay where the menu
// left it, in the dialog.
void show_worksheet() {
    if (!sheet) create_worksheet();
    update_worksheet();
    sheet->show();
    sheet->wait_for_expose();
    XSetInputFocus(fl_display, fl_xid(sheet), RevertToPointerRoot, CurrentTime);
    entries->take_focus();
}

int fltk_key(MenuKey key) {
    switch (key) {
        case MenuKey::f8: return FL_F + 8;
        case MenuKey::f9: return FL_F + 9;
        case MenuKey::home: return FL_Home;
        case MenuKey::ctrl_z: return FL_CTRL + 'z';
        case MenuKey::ctrl_y: return FL_CTRL + 'y';
        case MenuKey::none: break;
    }
    return 0;
}

// The view's menu from the core's table, at a place on the screen. It
// opens with no item chosen: Down then Enter picks the first.
void open_view_menu(int root_x, int root_y) {
    constexpr int n = int(std::size(VIEW_MENU));
    static Fl_Menu_Item items[n + 1] = {};
    for (int i = 0; i < n; ++i) {
        items[i].label(VIEW_MENU[i].text);
        items[i].shortcut(fltk_key(VIEW_MENU[i].key));
        items[i].user_data(reinterpret_cast<void*>(uintptr_t(VIEW_MENU[i].command)));
        // Greyed as FL_MENU_INACTIVE draws it, but still reached by the
        // arrows, as a Windows menu's greyed items are; picked, it does
        // nothing.
        items[i].labelcolor(nothing_to_do(VIEW_MENU[i].command) ? fl_inactive(FL_FOREGROUND_COLOR) : FL_FOREGROUND_COLOR);
    }
    // popup() places its menu relative to the window of the event at hand.
    int x = root_x - (Fl::event_x_root() - Fl::event_x()), y = root_y - (Fl::event_y_root() - Fl::event_y());
    Fl_Widget* focus = Fl::focus();  // the menu takes it while open
    const Fl_Menu_Item* picked = items->popup(x, y);
    if (focus) Fl::focus(focus);
    if (picked) run(unsigned(reinterpret_cast<uintptr_t>(picked->user_data())));
}

void on_button(Fl_Widget* button, void*) { run(unsigned(control_id(button))); }

// Escape and the close box both end the dialog, like IDCANCEL.
void on_close(Fl_Widget* window, void*) { window->hide(); }

// Enter on a focused push button runs it, as the Windows dialog manager
// does, and Enter anywhere else computes nothing. FLTK's own groups would
// take an unused Enter to move the focus on, so the window claims it first.
class DialogWindow : public Fl_Double_Window {
public:
    DialogWindow(int x, int y, int w, int h, const char* label) : Fl_Double_Window(x, y, w, h, label) {}

    // The desktop knows the window as arrowbench.desktop's by its class.
    // FLTK writes xclass() capitalised for the class half ("arrowbench",
    // "Arrowbench") between creating and mapping the window, with no way
    // in; under a server grab ours replaces it before any window manager
    // can look at the new window.
    void show() override {
        if (shown()) return Fl_Double_Window::show();
        fl_open_display();
        XGrabServer(fl_display);
        Fl_Double_Window::show();
        char name[] = "arrowbench";
        XClassHint hint{name, name};
        XSetClassHint(fl_display, fl_xid(this), &hint);
        XUngrabServer(fl_display);
        XFlush(fl_display);
    }

    int handle(int event) override {
        // Back from elsewhere (a menu of ours, another window), the keys go
        // to the control that last had them, as a Windows dialog does; so
        // does a key that comes while FLTK has lost track of the focus, as
        // it does after a menu where no window manager keeps it.
        if (Fl::focus() && Fl::focus() != this && contains(Fl::focus())) last_focus_ = Fl::focus();
        bool lost = !Fl::focus() && last_focus_;
        if (lost && event == FL_FOCUS && last_focus_->take_focus()) return 1;
        if (lost && (event == FL_KEYBOARD || event == FL_SHORTCUT) && last_focus_->take_focus() &&
            last_focus_->handle(FL_KEYBOARD))
            return 1;
        // The menu's shortcuts that work from any control, as on Windows:
        // neither FLTK's fields nor its buttons take them.
        for (const MenuItem& item : VIEW_MENU)
            if (event == FL_SHORTCUT && item.from_any_control && Fl::test_shortcut(fltk_key(item.key))) {
                run(item.command);
                return 1;
            }
        if (event == FL_SHORTCUT && Fl::test_shortcut(FL_CTRL + FL_SHIFT + 'z')) {
            run(ID_REDO);
            return 1;
        }
        if (event == FL_SHORTCUT && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            Fl_Widget* focus = Fl::focus();
            const TemplateControl* c = focus ? template_of(focus) : nullptr;
            if (c && is_push_button(*c)) focus->do_callback();
            return 1;
        }
        return Fl_Double_Window::handle(event);
    }

private:
    Fl_Widget* last_focus_ = nullptr;
};

Fl_Widget* make_control(const TemplateControl& c) {
    int x = dialog_px_x(c.x), y = dialog_px_y(c.y), w = dialog_px_x(c.width), h = dialog_px_y(c.height);
    Fl_Widget* widget = nullptr;
    if (std::strcmp(c.window_class, "Edit") == 0) {
        auto* input = new Field(x, y, w, h);
        input->when(FL_WHEN_NEVER);  // typing computes nothing
        input->value(c.text);
        input->textsize(font_size());
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
            widget = new CheckBox(x, y, w, h, c.text);
            widget->when(FL_WHEN_NEVER);  // read only by Redraw
        } else {
            widget = new Fl_Button(x, y, w, h, c.text);
            widget->callback(on_button);
        }
    } else if (std::strcmp(c.window_class, "Static") == 0) {
        widget = new StaticText(x, y, w, h, c.text, c.style & TPL_SS_CENTERIMAGE);
    } else {
        widget = create_view_control(x, y, w, h, scaled(CLIENT_EDGE_PX), display_scale());
        on_view_menu(open_view_menu);
    }
    widget->labelsize(font_size());
    widget->user_data(reinterpret_cast<void*>(intptr_t(c.id)));
    if (!(c.style & TPL_WS_TABSTOP)) widget->clear_visible_focus();
    return widget;
}

}  // namespace

MainDialog& create_main_dialog() {
    scale_frames();
    auto* window = new DialogWindow(dialog_px_x(MAIN_DLG.x), dialog_px_y(MAIN_DLG.y), dialog_px_x(MAIN_DLG.width),
                                    dialog_px_y(MAIN_DLG.height), MAIN_DLG.caption);
    for (int i = 0; i < CONTROL_COUNT; ++i) the_dialog.controls[i] = make_control(MAIN_DLG_CONTROLS[i]);
    window->end();
    // Fixed size, like a dialog without a sizing border.
    window->size_range(window->w(), window->h(), window->w(), window->h());
    window->callback(on_close);
    window->xclass("arrowbench");
    set_window_icons(*window);
    the_dialog.window = window;
    return the_dialog;
}

Fl_Widget* dialog_control(const MainDialog& dialog, int id) {
    for (Fl_Widget* w : dialog.controls)
        if (control_id(w) == id) return w;
    return nullptr;
}
