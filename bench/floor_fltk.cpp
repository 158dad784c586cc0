// The toolkit's floor for the whole-process figures: an FLTK window of the
// dialog's size with a single-buffered GL child where the view is. Each
// paint and each pointer motion draws the least frame there is (clear
// colour and depth, glFinish), straight from the event as the view does.
// With --picture it draws the view's picture instead (bench/same_picture.h).

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/gl.h>

#include <cstring>

#include "app/control_ids.h"
#include "app/dialog_template.h"
#include "bench/same_picture.h"

namespace {

bool draw_picture;

void least_frame() { floor_frame(draw_picture, double(view_client_width()) / view_client_height()); }

class FloorView : public Fl_Gl_Window {
public:
    FloorView(int x, int y, int w, int h) : Fl_Gl_Window(x, y, w, h) { mode(FL_RGB | FL_DEPTH | FL_SINGLE); }
    void draw() override { least_frame(); }
    int handle(int event) override {
        switch (event) {
            case FL_PUSH:
            case FL_RELEASE:
            case FL_ENTER:
            case FL_LEAVE:
                return 1;
            case FL_DRAG:
            case FL_MOVE:
                make_current();
                least_frame();
                return 1;
            default:
                return Fl_Gl_Window::handle(event);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    draw_picture = argc > 1 && std::strcmp(argv[1], "--picture") == 0;
    Fl_Double_Window window(du_to_px_x(MAIN_DLG.x), du_to_px_y(MAIN_DLG.y), du_to_px_x(MAIN_DLG.width),
                            du_to_px_y(MAIN_DLG.height), "Floor");
    const TemplateControl& v = *template_control(ID_VIEW);
    FloorView view(du_to_px_x(v.x) + CLIENT_EDGE_PX, du_to_px_y(v.y) + CLIENT_EDGE_PX, view_client_width(),
                   view_client_height());
    view.end();
    window.end();
    window.show();
    return Fl::run() * 0;
}
