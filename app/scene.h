// The scene a link carries, as a short text (the page keeps it in its
// address's fragment): the input fields' texts, the three view rows, the
// camera and the last command, by name. Results are never carried: opening
// a scene runs the command again, so a link cannot put a false V3 or S2 in
// front of anyone.
//
//   v=1&v1=1%202%203&v2=0%201%200&run=CrossProduct&r1=1%202%203&c1=255%200%200&i1=1&eye=0.8,0,0.6&dist=12.5
//
// `v` is the format's version. Field texts (v1 v2 s1, and r o c i for row
// 1..3's vector, offset, colour and Inverse) are percent-encoded UTF-8, at
// most what a field read takes; a field at its start text is left out.
// `eye` and `dist` are the camera, written exactly; left out at the start
// camera. Keys a reader does not know are passed over, so a later format
// can add some and still be read here.
#pragma once

#include <string>

#include "app/app.h"
#include "view/view.h"

// The scene of the dialog as it stands, read through `fields` (Inverse
// through is_checked) and from the view's camera. `last_command` is a
// command's control identifier, or 0 for none.
std::string write_scene(const FieldAccess& fields, const ViewState& view, unsigned last_command);

// Fills the fields and boxes that `text` names (boxes through
// set_checked), runs Redraw, then the command it names, and puts the camera
// where it says. What cannot be read (a bad escape, text that is not
// UTF-8, a camera that is no camera, an unknown command) is left as it was;
// `complete` says whether everything could be read. Returns the command
// run, or 0.
unsigned restore_scene(const FieldAccess& fields, ViewState& view, const char* text, bool& complete);
