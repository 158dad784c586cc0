// The one field buffer and the field read and write every command uses.

#include "app/app.h"

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
