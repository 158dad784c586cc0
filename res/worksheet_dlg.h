// The worksheet window's controls, for res/worksheet_dlg.rc and the
// Windows host. The copy and clear buttons carry their commands' numbers
// (app/control_ids.h), so that a click is the command itself.
#pragma once

#define IDW_LIST 101
#define IDW_RECALL 102
#define IDW_COPY 3008
#define IDW_COPY_LATEX 3009
#define IDW_CLEAR 3010
