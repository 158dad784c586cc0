// The dialog's command dispatch: every control's and menu item's
// identifier, on every host, comes through here.

#include "app/app.h"
#include "app/internal.h"
#include "view/view.h"

bool run_command(const FieldAccess& fields, unsigned id) {
    switch (id) {
        case ID_REDRAW: command_redraw(fields); break;
        case ID_SHOW_CALCULATION: show_calculation(fields); break;
        case ID_COPY_WORKING:
            if (fields.copy_text && last_calculation().command)
                fields.copy_text(fields.host, working_text(last_calculation()).c_str());
            break;
        case ID_USE_RESULT: use_result(fields); break;
        case ID_RESET_VIEW: reset_camera(view_state); break;  // drawn at once, as Home in the view
        default: return run_calculation(fields, id).command != 0;
    }
    return true;
}
