// Redraw: the three view rows into the view's vector slots. Each row is
// read and written back field by field (every read goes through the one
// field buffer), then stored; the view repaints once, after the command.

#include "app/app.h"
#include "app/internal.h"
#include "vectext/vectext.h"
#include "view/view.h"

void command_redraw(const FieldAccess& fields) {
    for (uint32_t row = 0; row < 3; ++row) {
        int step = int(row) * ROW_STRIDE;
        Vector3 vector = take_vector(fields, ID_ROW_VECTOR + step);
        Vector3 offset = take_vector(fields, ID_ROW_OFFSET + step);
        Rgb c = parse_color(read_field(fields, ID_ROW_COLOR + step));
        write_field(fields, ID_ROW_COLOR + step, format_color(c.red, c.green, c.blue).text);
        bool offset_is_end = fields.is_checked(fields.host, ID_ROW_INVERSE + step);
        set_vector_slot(view_state, row, vector, offset, uint8_t(c.red), uint8_t(c.green), uint8_t(c.blue),
                        offset_is_end);
        fields.request_repaint(fields.host);
    }
}
