// Win32 host: program entry, message loop and the main dialog procedure.
// The dialog comes from the template main_dlg; every command identifier
// goes to the shared dispatch in app/commands.cpp.

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "app/app.h"
#include "app/menu.h"
#include "view/win32/view_window.h"

namespace {

HICON dialog_icon;
HWND tips;  // the result fields' tooltips

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

// The core's texts are UTF-8; Windows' Unicode calls take UTF-16, here
// NUL-terminated. (std::wstring would bring the runtime's whole wide string
// into the exe.)
std::vector<wchar_t> wide(const char* text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::vector<wchar_t> w(size_t(n > 1 ? n : 1), L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, w.data(), n);
    return w;
}

void copy_text(void* host, const char* text) {
    std::vector<wchar_t> w = wide(text);
    size_t bytes = w.size() * sizeof(wchar_t);
    if (!OpenClipboard(static_cast<HWND>(host))) return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), w.data(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

void set_tip(void* host, int id, const char* text) {
    if (!tips) return;
    std::vector<wchar_t> w = wide(text);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = static_cast<HWND>(host);
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(tool.hwnd, id));
    tool.lpszText = w.data();
    SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (w[0]) SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// A working runs long: the tip wraps it at about half a screen.
void make_tips(HWND dialog) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    if (tips) SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
}

UINT win32_key(MenuKey key) {
    switch (key) {
        case MenuKey::f8: return VK_F8;
        case MenuKey::f9: return VK_F9;
        case MenuKey::home: return VK_HOME;
        case MenuKey::none: break;
    }
    return 0;
}

// The view's menu from the core's table, where it asked for it. It opens
// with no item chosen; the item picked comes back as a command.
void open_view_menu(HWND dialog, LPARAM at) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : VIEW_MENU) {
        std::string text = item.text;
        if (item.key_name) text = text + "\t" + item.key_name;
        AppendMenuA(menu, MF_STRING, item.command, text.c_str());
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, GET_X_LPARAM(at), GET_Y_LPARAM(at), 0, dialog,
                   nullptr);
    DestroyMenu(menu);
}

INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            dialog_icon = LoadIconA(GetModuleHandleA(nullptr), "main_icon");
            SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialog_icon));
            make_tips(dialog);
            return 1;  // focus goes to the first tab stop, V1
        case WM_COMMAND: {
            unsigned id = LOWORD(wparam);
            if (id == ID_CANCEL) {
                DestroyWindow(dialog);
            } else {
                // Enter (IDOK) and the change notifications of our own field
                // writes land here too and name no command.
                FieldAccess fields{dialog,         read_dialog_field, write_dialog_field, dialog_box_checked,
                                   repaint_dialog, set_dialog_box,    copy_text,          set_tip};
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
    // The menu's shortcuts that work from any control: neither the dialog
    // manager nor an edit field takes them, and the accelerators run first.
    ACCEL keys[std::size(VIEW_MENU)];
    int key_count = 0;
    for (const MenuItem& item : VIEW_MENU)
        if (item.from_any_control) keys[key_count++] = {FVIRTKEY, WORD(win32_key(item.key)), WORD(item.command)};
    HACCEL accelerators = CreateAcceleratorTableA(keys, key_count);

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
