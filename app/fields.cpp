// The one field buffer, the field read and write every command uses, and
// the vector read that writes its canonical text straight back.

#include "app/app.h"
#include "app/internal.h"
#include "vectext/vectext.h"

char field_buffer[FIELD_BUFFER_SIZE];

const char* read_field(const FieldAccess& fields, int id) {
    field_buffer[0] = '\0';
    fields.read(fields.host, id, field_buffer, FIELD_BUFFER_SIZE);
    // Whatever the host did, nothing past the 255th char is ever read.
    field_buffer[FIELD_BUFFER_SIZE - 1] = '\0';
    return field_buffer;
}

void write_field(const FieldAccess& fields, int id, const char* text) {
    fields.write(fields.host, id, text);
}

// The field then shows the value that was used.
Vector3 take_vector(const FieldAccess& fields, int id) {
    Vector3 v = parse_vector(read_field(fields, id));
    write_field(fields, id, format_vector(v).text);
    return v;
}
