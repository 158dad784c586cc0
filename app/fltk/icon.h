// The window's icon for docks and task bars (_NET_WM_ICON): the packaged
// icons' pictures up to 48 px, built into the program.
#pragma once

class Fl_Window;

// Before the window is shown.
void set_window_icons(Fl_Window& window);
