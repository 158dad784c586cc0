#include "app/fltk/dialog_template.h"

#include "main_dlg_table.inc"
