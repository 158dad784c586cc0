// Control identifiers: the dialog template's, by the names res/main_dlg.rc
// gives them (written out at build time into main_dlg_names.h, with the
// push buttons' table COMMAND_BUTTONS), the one the dialog manager sends
// of its own, and one command of no control.
#pragma once

#include "main_dlg_names.h"

constexpr int ID_CANCEL = 2;  // IDCANCEL: Escape and the close box

// Commands of no control of the template, run through the same dispatch:
// the desktop's view menu (app/menu.h) and shortcuts and the page's
// buttons send them.
constexpr unsigned ID_SHOW_CALCULATION = 3001;
constexpr unsigned ID_COPY_WORKING = 3002;
constexpr unsigned ID_USE_RESULT = 3003;
constexpr unsigned ID_RESET_VIEW = 3004;
// The worksheet's and the steps' (app/worksheet.h).
constexpr unsigned ID_UNDO = 3005;
constexpr unsigned ID_REDO = 3006;
constexpr unsigned ID_WORKSHEET = 3007;  // the desktop's worksheet window: the host's own
constexpr unsigned ID_COPY_WORKSHEET = 3008;
constexpr unsigned ID_COPY_WORKSHEET_LATEX = 3009;
constexpr unsigned ID_CLEAR_WORKSHEET = 3010;
