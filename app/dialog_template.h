// The dialog template res/main_dlg.rc as data, for the hosts that lay the
// dialog out themselves rather than through Windows' dialog manager: the
// table MAIN_DLG_CONTROLS is generated from the .rc at build time, so
// there is one template for every host.
#pragma once

// CONTROL_COUNT and the style bits as TPL_ constants, generated with the
// table (cmake/dialog_table_and_names.cmake).
#include "main_dlg_table.h"

struct TemplateDialog {
    const char* caption;
    int x, y, width, height;  // dialog units
    unsigned style;
    const char* font;
    int font_points;
};

struct TemplateControl {
    int id;
    const char* window_class;  // "Edit", "Button", "Static", "OpenGLView"
    const char* text;
    int x, y, width, height;  // dialog units
    unsigned style, exstyle;
};

extern const TemplateDialog MAIN_DLG;
extern const TemplateControl MAIN_DLG_CONTROLS[CONTROL_COUNT];

// Dialog units to pixels as Windows maps them for this dialog's 8-point
// MS Sans Serif (base units 7 x 13, as measured under Wine): 1.75 px
// across, 1.625 px down, so the desktop hosts show the dialog at the same
// size.
constexpr int BASE_UNIT_X = 7, BASE_UNIT_Y = 13;
constexpr int du_to_px_x(int x) { return (x * BASE_UNIT_X + 2) / 4; }
constexpr int du_to_px_y(int y) { return (y * BASE_UNIT_Y + 4) / 8; }

// A length of the dialog at scale 1 (px >= 0) on a display scaled by
// `scale`, rounded to the nearest pixel: scale 1 leaves it as it is.
constexpr int scale_px(int px, double scale) { return int(px * scale + 0.5); }

// The template's entry for control `id`, or nullptr.
const TemplateControl* template_control(int id);

// The view control's client area in pixels: its template size less the
// client edge, 2 px on each side.
constexpr int CLIENT_EDGE_PX = 2;
int view_client_width();
int view_client_height();
