// The FLTK view window. FLTK creates the GL context lazily; we make it at
// the window's first show, so that the context and the start camera exist
// from creation on, as on Windows.

#include "view/fltk/view_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include "view/host.h"

namespace {

void (*open_menu)(int root_x, int root_y) = nullptr;

// The dialog shows the view's menu, at the pointer or, from the keyboard,
// under the view's centre.
void ask_for_menu(Fl_Window* view, bool from_keyboard) {
    if (!open_menu) return;
    if (!from_keyboard) return open_menu(Fl::event_x_root(), Fl::event_y_root());
    int x = view->w() / 2, y = view->h() / 2;
    for (Fl_Window* w = view; w; w = w->window()) {
        x += w->x();
        y += w->y();
    }
    open_menu(x, y);
}

class ViewWindow : public Fl_Gl_Window {
public:
    ViewWindow(int x, int y, int w, int h) : Fl_Gl_Window(x, y, w, h) { mode(FL_RGB | FL_DEPTH | FL_SINGLE); }

    int handle(int event) override {
        switch (event) {
            case FL_SHOW: {
                int used = Fl_Gl_Window::handle(event);
                if (!shown()) {
                    // No GL visual (a server without GLX): FLTK made no
                    // window. The view stays an empty frame that takes no
                    // events, so nothing ever reaches a GL call.
                    hide();
                    view_window_created(view_state, this);
                    return used;
                }
                create();
                return used;
            }
            case FL_PUSH:
                // A click gives the view the keys; Tab never does, as on Windows.
                if (Fl::focus() != this) {
                    Fl::focus(this);  // FLTK sends no FL_FOCUS for this
                    parent()->redraw();
                }
                view_pointer_press(view_state, button(), position());
                return 1;  // and so FLTK's implicit grab keeps the drag ours
            case FL_RELEASE:
                if (view_pointer_release(view_state, button(), position()) == ViewRelease::menu)
                    ask_for_menu(this, false);
                return 1;
            case FL_DRAG:
            case FL_MOVE:
                // Drawn at once, straight from the event, not via redraw().
                if (view_dragging(view_state)) make_current();
                view_pointer_motion(view_state, position());
                return 1;
            case FL_ENTER:
            case FL_LEAVE:
                return 1;  // so that FL_MOVE reaches us
            case FL_MOUSEWHEEL:
                if (Fl::event_dy() == 0) return 0;
                make_current();
                zoom_camera(view_state, -Fl::event_dy());  // wheel up is nearer
                return 1;
            case FL_FOCUS:
            case FL_UNFOCUS:
                parent()->redraw();  // the frame shows who has the keys
                return 1;
            case FL_KEYBOARD: {
                ViewKey key;
                if (!view_key_of(key)) return 0;  // Tab, Escape and the rest go on
                make_current();
                if (view_key(view_state, key, Fl::event_state(FL_SHIFT) != 0)) ask_for_menu(this, true);
                return 1;
            }
            default:
                return Fl_Gl_Window::handle(event);
        }
    }

    void draw() override {
        create();
        render_view(view_state);
    }

    void resize(int x, int y, int w, int h) override {
        bool size_changed = w != this->w() || h != this->h();
        Fl_Gl_Window::resize(x, y, w, h);
        if (created_ && size_changed) {
            make_current();
            view_window_resized(view_state, w, h);
        }
    }

private:
    // Context, camera and viewport, once, as the Windows view does at
    // WM_CREATE and its first WM_SIZE.
    void create() {
        if (created_ || !shown()) return;
        make_current();
        created_ = true;
        view_window_created(view_state, this);
        view_state.names_axes = true;
        view_window_resized(view_state, w(), h());
    }

    static uint32_t position() { return pack_position(Fl::event_x(), Fl::event_y()); }

    static ViewButton button() {
        switch (Fl::event_button()) {
            case FL_LEFT_MOUSE: return ViewButton::left;
            case FL_RIGHT_MOUSE: return ViewButton::right;
            default: return ViewButton::middle;
        }
    }

    static bool view_key_of(ViewKey& key) {
        switch (Fl::event_key()) {
            case FL_Left: key = ViewKey::left; return true;
            case FL_Right: key = ViewKey::right; return true;
            case FL_Up: key = ViewKey::up; return true;
            case FL_Down: key = ViewKey::down; return true;
            case FL_Page_Up: key = ViewKey::zoom_in; return true;
            case FL_Page_Down: key = ViewKey::zoom_out; return true;
            case FL_Home: key = ViewKey::reset; return true;
            case FL_Menu: key = ViewKey::menu; return true;
            case FL_F + 10:
                if (!Fl::event_state(FL_SHIFT)) return false;
                key = ViewKey::menu;
                return true;
            default: break;
        }
        // By the character typed, so '+' works whichever key gives it.
        const char* text = Fl::event_text();
        if (Fl::event_length() == 1 && (text[0] == '+' || text[0] == '-')) {
            key = text[0] == '+' ? ViewKey::zoom_in : ViewKey::zoom_out;
            return true;
        }
        return false;
    }

    bool created_ = false;
};

ViewWindow* gl_window;

// The sunken client edge round the view; while the view has the keys it is
// drawn in the selection colour instead, as wide as the edge.
class ViewFrame : public Fl_Group {
public:
    ViewFrame(int x, int y, int w, int h, int edge) : Fl_Group(x, y, w, h), edge_(edge) { box(FL_DOWN_FRAME); }

    void draw() override {
        if (!gl_window || Fl::focus() != gl_window) return Fl_Group::draw();
        fl_color(FL_SELECTION_COLOR);
        for (int i = 0; i < edge_; ++i) fl_rect(x() + i, y() + i, w() - 2 * i, h() - 2 * i);
        draw_children();
    }

private:
    int edge_;
};

// FLTK folds the pointer motions that arrive together into one, which
// would skip motions during a drag. While a drag runs, every motion event
// is taken here, before FLTK sees it, and drawn. FLTK's subwindows select
// exposure events only, so the pointer events of the drag arrive at the
// dialog's X window, in its coordinates.
int take_drag_motion(void* native, void*) {
    auto* e = static_cast<XEvent*>(native);
    if (e->type != MotionNotify || !gl_window || !gl_window->shown()) return 0;
    if (!view_dragging(view_state)) return 0;
    int x = e->xmotion.x, y = e->xmotion.y;
    if (e->xmotion.window != fl_xid(gl_window)) {
        if (e->xmotion.window != fl_xid(gl_window->top_window())) return 0;
        x -= gl_window->x();
        y -= gl_window->y();
    }
    gl_window->make_current();
    view_pointer_motion(view_state, pack_position(x, y));
    return 1;
}

}  // namespace

void get_client_size(const ViewState& view, int& width, int& height) {
    auto* w = static_cast<Fl_Gl_Window*>(view.window);
    width = w ? w->w() : 0;
    height = w ? w->h() : 0;
}

Fl_Widget* create_view_control(int x, int y, int w, int h, int edge, double scale) {
    set_display_scale(view_state, scale);
    auto* frame = new ViewFrame(x, y, w, h, edge);
    gl_window = new ViewWindow(x + edge, y + edge, w - 2 * edge, h - 2 * edge);
    Fl::add_system_handler(take_drag_motion, nullptr);
    gl_window->end();
    frame->end();
    return frame;
}

Fl_Gl_Window* view_gl_window() { return gl_window; }

void on_view_menu(void (*open)(int root_x, int root_y)) { open_menu = open; }

void make_view_current() {
    if (gl_window && gl_window->shown()) gl_window->make_current();
}
