#include "app/fltk/icon.h"

#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>

namespace {
#include "icon_pixels.inc"
}

void set_window_icons(Fl_Window& window) {
    constexpr int COUNT = sizeof ICONS / sizeof ICONS[0];
    Fl_RGB_Image* images[COUNT];
    for (int i = 0; i < COUNT; ++i) images[i] = new Fl_RGB_Image(ICONS[i].rgba, ICONS[i].width, ICONS[i].height, 4);
    // The window keeps copies of its own.
    window.icons(const_cast<const Fl_RGB_Image**>(images), COUNT);
    for (Fl_RGB_Image* image : images) delete image;
}
