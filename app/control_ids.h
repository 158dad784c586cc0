// Control identifiers of the dialog template main_dlg (res/main_dlg.rc).
#pragma once

constexpr int ID_CANCEL = 2;  // Escape and the close box

constexpr int ID_VIEW = 2013;

constexpr int ID_V1 = 1001;
constexpr int ID_V2 = 1002;
constexpr int ID_S1 = 1003;
constexpr int ID_V3 = 1004;
constexpr int ID_S2 = 1005;

constexpr int ID_ADD = 1006;
constexpr int ID_SUB = 1007;
constexpr int ID_CROSS_PRODUCT = 1008;
constexpr int ID_DOT_PRODUCT = 1009;
constexpr int ID_MUL_SCALAR = 1010;
constexpr int ID_DIV_SCALAR = 1011;
constexpr int ID_NORMALIZE = 1012;
constexpr int ID_LENGTH = 1013;

// View row i (0..2) uses ID_ROW_VECTOR + 4i .. ID_ROW_INVERSE + 4i.
constexpr int ID_ROW_VECTOR = 2001;
constexpr int ID_ROW_OFFSET = 2002;
constexpr int ID_ROW_COLOR = 2003;
constexpr int ID_ROW_INVERSE = 2004;
constexpr int ROW_STRIDE = 4;

constexpr int ID_REDRAW = 2014;
