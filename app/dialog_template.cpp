#include "app/dialog_template.h"

#include "app/control_ids.h"

#include "main_dlg_table.inc"

const TemplateControl* template_control(int id) {
    for (const TemplateControl& c : MAIN_DLG_CONTROLS)
        if (c.id == id) return &c;
    return nullptr;
}

int view_client_width() { return du_to_px_x(template_control(ID_VIEW)->width) - 2 * CLIENT_EDGE_PX; }
int view_client_height() { return du_to_px_y(template_control(ID_VIEW)->height) - 2 * CLIENT_EDGE_PX; }
