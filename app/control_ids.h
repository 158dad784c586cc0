// Control identifiers: the dialog template's, by the names res/main_dlg.rc
// gives them (written out at build time into main_dlg_names.h, with the
// push buttons' table COMMAND_BUTTONS), and the one the dialog manager
// sends of its own.
#pragma once

#include "main_dlg_names.h"

constexpr int ID_CANCEL = 2;  // IDCANCEL: Escape and the close box
