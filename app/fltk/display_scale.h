// The desktop's display scale and the dialog's pixels at that scale. The
// scale is the desktop's own setting, the X resource Xft.dpi over 96, as
// GNOME, KDE and XWayland sessions set it; the program has none of its own.
#pragma once

#include "app/dialog_template.h"

// Xft.dpi / 96, read once from the X server's resources; 1 when it is
// absent or unreadable, and never outside 1..4. Opens the display.
double display_scale();
// The scale Xft.dpi gives, from the resource text `resources` (as the
// RESOURCE_MANAGER property holds it), or nullptr for none.
double scale_from_resources(const char* resources);

// A pixel length of the dialog at scale 1, at the display's scale.
inline int scaled(int px) { return scale_px(px, display_scale()); }
inline int dialog_px_x(int du) { return scaled(du_to_px_x(du)); }
inline int dialog_px_y(int du) { return scaled(du_to_px_y(du)); }

// Above scale 1, FLTK's fixed 2-pixel frames (fields, buttons, check
// boxes, the view's client edge, group boxes) are drawn as thick as the
// scale makes them. At scale 1 this does nothing.
void scale_frames();
