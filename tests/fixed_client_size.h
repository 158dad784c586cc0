// The host answer for programs that draw or work out cameras without a
// view window: get_client_size gives the view control's client size from
// the dialog template, or what a test sets, and counts how often it was
// asked (render_view asks once per frame).
#pragma once

extern int client_width;
extern int client_height;
extern int client_size_asks;
