// The view's menu on the desktop, as one table that each desktop host turns
// into its own kind of menu: each item's command (run through run_command,
// so that the core decides what it does), its text with the access key
// after '&', and its shortcut. A shortcut "from any control" works
// wherever the dialog's keys are; Home only while the view has them.
#pragma once

#include "app/control_ids.h"

enum class MenuKey { none, f8, f9, home, ctrl_z, ctrl_y };

struct MenuItem {
    unsigned command;
    const char* text;
    MenuKey key;
    const char* key_name;  // as the menu shows it; nullptr for none
    bool from_any_control;
};

// F9 is the spreadsheet's "calculate"; F8 beside it takes the result on.
// Neither the dialog manager, nor an edit field, nor FLTK's fields and
// buttons use either.
// Undo and Redo are greyed while there is nothing to undo or redo
// (can_undo, can_redo); Ctrl+Shift+Z redoes too. "Worksheet" opens the
// host's worksheet window.
inline constexpr MenuItem VIEW_MENU[] = {
    {ID_SHOW_CALCULATION, "&Show calculation", MenuKey::f9, "F9", true},
    {ID_COPY_WORKING, "&Copy working", MenuKey::none, nullptr, false},
    {ID_USE_RESULT, "&Use result", MenuKey::f8, "F8", true},
    {ID_UNDO, "Un&do", MenuKey::ctrl_z, "Ctrl+Z", true},
    {ID_REDO, "&Redo", MenuKey::ctrl_y, "Ctrl+Y", true},
    {ID_WORKSHEET, "&Worksheet", MenuKey::none, nullptr, false},
    {ID_COPY_WORKSHEET, "Copy w&orksheet", MenuKey::none, nullptr, false},
    {ID_RESET_VIEW, "Reset &view", MenuKey::home, "Home", false},
};
