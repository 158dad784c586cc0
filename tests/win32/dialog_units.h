// Dialog units to pixels the way the dialog manager maps them for the
// template's font, from a dialog of our own with that font. The mapping
// follows the system font, and so the display's dpi.
#pragma once

#include <windows.h>

struct UnitMapper {
    HWND probe = nullptr;

    UnitMapper() {
        // DLGTEMPLATE, no controls, then menu, class, title, point size and
        // font name as UTF-16, as the resource compiler lays them out.
        alignas(4) WORD buf[64] = {};
        auto* t = reinterpret_cast<DLGTEMPLATE*>(buf);
        t->style = WS_POPUP | DS_SETFONT;
        t->cx = 100;
        t->cy = 100;
        WORD* p = reinterpret_cast<WORD*>(t + 1);
        *p++ = 0;  // menu
        *p++ = 0;  // class
        *p++ = 0;  // title
        *p++ = 8;  // points
        for (const char* f = "MS Sans Serif"; *f; ++f) *p++ = WORD(*f);
        *p++ = 0;
        probe = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t, nullptr, probe_proc, 0);
    }
    ~UnitMapper() { DestroyWindow(probe); }
    UnitMapper(const UnitMapper&) = delete;
    UnitMapper& operator=(const UnitMapper&) = delete;

    // Position and size are mapped each on its own, as the dialog manager
    // does when it creates a control: right = px(x) + px(w).
    RECT map(int x, int y, int w, int h) const {
        RECT r{x, y, w, h};
        MapDialogRect(probe, &r);
        return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
    }

    static INT_PTR CALLBACK probe_proc(HWND, UINT, WPARAM, LPARAM) { return 0; }
};
