// Win32 host: program entry, message loop and the main dialog procedure.
// The dialog comes from the template main_dlg; every command identifier
// goes to the shared dispatch in app/commands.cpp.

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

INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            dialog_icon = LoadIconA(GetModuleHandleA(nullptr), "main_icon");
            SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialog_icon));
            return 1;  // focus goes to the first tab stop, V1
        case WM_COMMAND: {
            unsigned id = LOWORD(wparam);
            if (id == ID_CANCEL) {
                DestroyWindow(dialog);
            } else {
                // Enter (IDOK) and the change notifications of our own field
                // writes land here too and name no command.
                FieldAccess fields{dialog, read_dialog_field, write_dialog_field, dialog_box_checked, repaint_dialog};
                run_command(fields, id);
            }
            return 1;
        }
        case WM_DESTROY:
            DestroyIcon(dialog_icon);
            PostQuitMessage(0);
            return 1;
        default:
            return 0;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    register_view_class(instance);

    HWND dialog = CreateDialogParamA(instance, "main_dlg", nullptr, main_dialog_proc, 0);

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
        if (IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
