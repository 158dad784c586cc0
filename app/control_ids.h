// Control identifiers: the dialog template's, by the names res/main_dlg.rc
// gives them (written out at build time into main_dlg_names.h, with the
// push buttons' table COMMAND_BUTTONS), the one the dialog manager sends
// of its own, and one command of no control.
#pragma once

#include "main_dlg_names.h"

constexpr int ID_CANCEL = 2;  // IDCANCEL: Escape and the close box

// "Show calculation" is no control of the template, but runs through the
// same dispatch: the desktop's view menu and shortcut and the page's
// button send it.
constexpr unsigned ID_SHOW_CALCULATION = 3001;
