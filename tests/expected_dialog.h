// The main dialog as it must be, written out independently of
// res/main_dlg.rc: the Windows test checks the live windows against it,
// the Linux tests the generated table and the FLTK widgets.
#pragma once

namespace expected {

constexpr unsigned CHILD = 0x40000000, VISIBLE = 0x10000000, TABSTOP = 0x00010000;
constexpr unsigned CLIPSIBLINGS = 0x04000000, CLIPCHILDREN = 0x02000000;
constexpr unsigned READONLY = 0x0800, AUTOCHECKBOX = 0x3, GROUPBOX = 0x7, CENTERIMAGE = 0x200;
constexpr unsigned CLIENTEDGE = 0x200;

constexpr unsigned EDIT = CHILD | VISIBLE | TABSTOP;
constexpr unsigned PUSH = CHILD | VISIBLE | TABSTOP;
constexpr unsigned CHECK = CHILD | VISIBLE | TABSTOP | AUTOCHECKBOX;
constexpr unsigned HEADING = CHILD | VISIBLE;
constexpr unsigned GROUP = CHILD | VISIBLE | GROUPBOX;
constexpr unsigned LABEL = CHILD | VISIBLE | CENTERIMAGE;

struct Control {
    int id;
    const char* window_class;
    const char* text;
    int x, y, w, h;  // dialog units
    unsigned style, exstyle;
};

constexpr const char* CAPTION = "Arrowbench";
constexpr int DIALOG_X = 6, DIALOG_Y = 5, DIALOG_W = 449, DIALOG_H = 294;
// WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT
constexpr unsigned DIALOG_STYLE = 0x10000000 | 0x00C00000 | 0x00080000 | 0x00020000 | 0x40;

// clang-format off
constexpr Control CONTROLS[45] = {
    {2013, "OpenGLView", "", 130, 64, 314, 226, CHILD | VISIBLE | CLIPSIBLINGS | CLIPCHILDREN, CLIENTEDGE},
    {1001, "Edit", "0 0 0", 12, 3, 112, 13, EDIT, CLIENTEDGE},
    {1002, "Edit", "0 0 0", 12, 16, 112, 13, EDIT, CLIENTEDGE},
    {1003, "Edit", "0", 12, 29, 112, 13, EDIT, CLIENTEDGE},
    {1004, "Edit", "0 0 0", 12, 46, 112, 13, EDIT | READONLY, CLIENTEDGE},
    {1005, "Edit", "0", 12, 59, 112, 13, EDIT | READONLY, CLIENTEDGE},
    {1006, "Button", "Add", 6, 92, 114, 15, PUSH, 0},
    {1007, "Button", "Sub", 6, 108, 114, 15, PUSH, 0},
    {1008, "Button", "CrossProduct", 6, 125, 114, 15, PUSH, 0},
    {1009, "Button", "DotProduct", 6, 153, 114, 15, PUSH, 0},
    {1010, "Button", "MulScalar", 6, 192, 114, 15, PUSH, 0},
    {1011, "Button", "DivScalar", 6, 208, 114, 15, PUSH, 0},
    {1012, "Button", "Normalize", 6, 247, 114, 15, PUSH, 0},
    {1013, "Button", "Length", 6, 275, 114, 15, PUSH, 0},
    {2001, "Edit", "0 0 0", 132, 20, 88, 13, EDIT, CLIENTEDGE},
    {2002, "Edit", "0 0 0", 220, 20, 88, 13, EDIT, CLIENTEDGE},
    {2003, "Edit", "0 0 0", 308, 20, 44, 13, EDIT, CLIENTEDGE},
    {2004, "Button", "Inverse", 354, 20, 52, 13, CHECK, 0},
    {2005, "Edit", "0 0 0", 132, 35, 88, 13, EDIT, CLIENTEDGE},
    {2006, "Edit", "0 0 0", 220, 35, 88, 13, EDIT, CLIENTEDGE},
    {2007, "Edit", "0 0 0", 308, 35, 44, 13, EDIT, CLIENTEDGE},
    {2008, "Button", "Inverse", 354, 35, 52, 13, CHECK, 0},
    {2009, "Edit", "0 0 0", 132, 49, 88, 13, EDIT, CLIENTEDGE},
    {2010, "Edit", "0 0 0", 220, 49, 88, 13, EDIT, CLIENTEDGE},
    {2011, "Edit", "0 0 0", 308, 49, 44, 13, EDIT, CLIENTEDGE},
    {2012, "Button", "Inverse", 354, 49, 52, 13, CHECK, 0},
    {2014, "Button", "Redraw", 404, 25, 32, 33, PUSH, 0},
    {65535, "Static", "Offset from end", 354, 11, 54, 9, HEADING, 0},
    {65535, "Static", "Color", 310, 11, 42, 9, HEADING, 0},
    {65535, "Static", "Offset", 220, 11, 86, 9, HEADING, 0},
    {65535, "Static", "Vector", 134, 11, 86, 9, HEADING, 0},
    {65535, "Button", "View", 128, 3, 318, 289, GROUP, 0},
    {65535, "Button", "Scalar2", 4, 266, 118, 26, GROUP, 0},
    {65535, "Button", "Vec3", 4, 237, 118, 27, GROUP, 0},
    {65535, "Button", "Vec1", 2, 228, 122, 65, GROUP, 0},
    {65535, "Button", "Vec3", 4, 182, 118, 43, GROUP, 0},
    {65535, "Button", "Vec1 | Scalar1", 2, 173, 122, 54, GROUP, 0},
    {65535, "Button", "Scalar2", 4, 144, 118, 26, GROUP, 0},
    {65535, "Button", "Vec3", 4, 83, 118, 59, GROUP, 0},
    {65535, "Button", "Vec1 | Vec2", 2, 75, 122, 96, GROUP, 0},
    {65535, "Static", "S2", 2, 59, 10, 13, LABEL, 0},
    {65535, "Static", "V3", 2, 46, 10, 13, LABEL, 0},
    {65535, "Static", "S1", 2, 29, 10, 13, LABEL, 0},
    {65535, "Static", "V2", 2, 16, 10, 13, LABEL, 0},
    {65535, "Static", "V1", 2, 3, 10, 13, LABEL, 0},
};
// clang-format on

}  // namespace expected
