// Win32 host: program entry, message loop and the main dialog procedure.
// The dialog comes from the template main_dlg; every command identifier
// goes to the shared dispatch in app/commands.cpp.

#include <cstdlib>

#include <windows.h>
#include <windowsx.h>

#include "app/app.h"
#include "view/win32/view_window.h"

namespace {

HICON dialog_icon;

void read_dialog_field(void* host, int id, char* buffer, int size) {
    GetDlgItemTextA(static_cast<HWND>(host), id, buffer, size);
}

void write_dialog_field(void* host, int id, const char* text) {
    SetDlgItemTextA(static_cast<HWND>(host), id, text);
}

bool dialog_box_checked(void* host, int id) {
    return SendMessageA(GetDlgItem(static_cast<HWND>(host), id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The dialog has no WS_CLIPCHILDREN, so this marks the view inside it too;
// the paint comes once, after the command has returned.
void repaint_dialog(void* host) { InvalidateRect(static_cast<HWND>(host), nullptr, FALSE); }

void set_dialog_box(void* host, int id, bool checked) {
    CheckDlgButton(static_cast<HWND>(host), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

// F9 shows the calculation from any control: neither the dialog manager
// nor an edit field takes it. The accelerator runs before them.
constexpr UINT ID_RESET_VIEW = ID_SHOW_CALCULATION + 1;
const char* const SHOW_CALCULATION_ITEM = "&Show calculation\tF9";

// The view's menu, where it asked for it. It opens with no item chosen;
// the item picked comes back as a command.
void open_view_menu(HWND dialog, LPARAM at) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, ID_SHOW_CALCULATION, SHOW_CALCULATION_ITEM);
    AppendMenuA(menu, MF_STRING, ID_RESET_VIEW, "&Reset view\tHome");
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, GET_X_LPARAM(at), GET_Y_LPARAM(at), 0, dialog,
                   nullptr);
    DestroyMenu(menu);
}

INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            dialog_icon = LoadIconA(GetModuleHandleA(nullptr), "main_icon");
            SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialog_icon));
            return 1;  // focus goes to the first tab stop, V1
        case WM_COMMAND: {
            unsigned id = LOWORD(wparam);
            if (id == ID_CANCEL) {
                DestroyWindow(dialog);
            } else if (id == ID_RESET_VIEW) {
                reset_view();
            } else {
                // Enter (IDOK) and the change notifications of our own field
                // writes land here too and name no command.
                FieldAccess fields{dialog,          read_dialog_field, write_dialog_field, dialog_box_checked,
                                   repaint_dialog, set_dialog_box};
                run_command(fields, id);
            }
            return 1;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wparam) != GetDlgItem(dialog, ID_VIEW)) return 0;
            open_view_menu(dialog, lparam);
            return 1;
        case WM_DESTROY:
            DestroyIcon(dialog_icon);
            PostQuitMessage(0);
            return 1;
        default:
            return 0;
    }
}

}  // namespace

// A GUI program has no console for the runtime's message on an uncaught
// exception, whose demangler alone is some 46 KB of the static exe: the
// end is the same, without it.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    register_view_class(instance);

    HWND dialog = CreateDialogParamA(instance, "main_dlg", nullptr, main_dialog_proc, 0);
    ACCEL show_key{FVIRTKEY, VK_F9, WORD(ID_SHOW_CALCULATION)};
    HACCEL accelerators = CreateAcceleratorTableA(&show_key, 1);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        // Windows gives the wheel to the focused control; ours goes to the
        // control under the pointer, as on the other hosts, so that the view
        // zooms whenever the pointer is over it.
        if (message.message == WM_MOUSEWHEEL) {
            POINT p{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
            HWND under = WindowFromPoint(p);
            if (under && IsChild(dialog, under)) message.hwnd = under;
        }
        if (TranslateAcceleratorA(dialog, accelerators, &message)) continue;
        if (IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyAcceleratorTable(accelerators);
    return static_cast<int>(message.wParam);
}
