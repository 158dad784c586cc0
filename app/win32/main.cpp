// Win32 host: program entry, message loop, the main dialog procedure and
// the worksheet window's. The dialogs come from the templates main_dlg and
// worksheet_dlg; every command identifier goes through run_step, which
// keeps the worksheet and the steps to undo, to the shared dispatch.

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
#include "app/worksheet.h"
#include "res/worksheet_dlg.h"
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

FieldAccess dialog_fields(HWND dialog) {
    return {dialog,         read_dialog_field, write_dialog_field, dialog_box_checked,
            repaint_dialog, set_dialog_box,    copy_text,          set_tip};
}

// --- the worksheet window: one row an entry, its line and its working ---

static_assert(IDW_COPY == ID_COPY_WORKSHEET && IDW_COPY_LATEX == ID_COPY_WORKSHEET_LATEX &&
              IDW_CLEAR == ID_CLEAR_WORKSHEET);

HWND worksheet;           // made when first opened, then hidden and shown
size_t shown_seen = 0;    // worksheet_changes() as the list last followed it
int widest_row = 0;       // pixels, for the list's horizontal scrolling

void add_row(HWND list, size_t index) {
    std::vector<wchar_t> w = wide(entry_row(index).c_str());
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.data()));
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, w.data(), int(w.size() - 1), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    if (size.cx + 8 > widest_row) {
        widest_row = size.cx + 8;
        SendMessageW(list, LB_SETHORIZONTALEXTENT, WPARAM(widest_row), 0);
    }
}

// The rows follow the entries: the oldest let go past the cap, the new
// ones added, all of them after a Clear; no row is written twice.
void update_worksheet() {
    if (!worksheet) return;
    HWND list = GetDlgItem(worksheet, IDW_LIST);
    WorksheetNews news = worksheet_news(shown_seen);
    if (news.cleared) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        SendMessageW(list, LB_SETHORIZONTALEXTENT, 0, 0);
        widest_row = 0;
    }
    for (size_t i = 0; i < news.dropped; ++i) SendMessageW(list, LB_DELETESTRING, 0, 0);
    size_t count = entry_count();
    for (size_t i = count - news.fresh; i < count; ++i) add_row(list, i);
    if (news.fresh) SendMessageW(list, LB_SETCURSEL, WPARAM(count - 1), 0);  // the newest, in sight
}

// Every command of the dialog, its menu, its keys and the worksheet
// window's buttons.
void run(HWND dialog, unsigned id) {
    if (run_step(dialog_fields(dialog), id)) update_worksheet();
}

void recall_selected() {
    LRESULT row = SendDlgItemMessageW(worksheet, IDW_LIST, LB_GETCURSEL, 0, 0);
    if (row != LB_ERR) recall(dialog_fields(GetWindow(worksheet, GW_OWNER)), size_t(row));
}

INT_PTR CALLBACK worksheet_proc(HWND window, UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) return 1;
    if (message != WM_COMMAND) return 0;
    switch (LOWORD(wparam)) {
        case IDW_RECALL: recall_selected(); break;  // Enter too: it is the default button
        case IDW_LIST:
            if (HIWORD(wparam) == LBN_DBLCLK) recall_selected();
            break;
        case IDW_COPY:
        case IDW_COPY_LATEX:
        case IDW_CLEAR: run(GetWindow(window, GW_OWNER), LOWORD(wparam)); break;
        case ID_CANCEL: ShowWindow(window, SW_HIDE); break;  // Escape and the close box
        default: return 0;
    }
    return 1;
}

void open_worksheet(HWND dialog) {
    if (!worksheet) {
        worksheet = CreateDialogParamW(GetModuleHandleW(nullptr), L"worksheet_dlg", dialog, worksheet_proc, 0);
        update_worksheet();
    }
    ShowWindow(worksheet, SW_SHOW);
    SetForegroundWindow(worksheet);
}

// --- the view's menu and the keys from any control ---

ACCEL accelerator(const MenuItem& item) {
    BYTE virt = FVIRTKEY;
    WORD key = 0;
    switch (item.key) {
        case MenuKey::f8: key = VK_F8; break;
        case MenuKey::f9: key = VK_F9; break;
        case MenuKey::home: key = VK_HOME; break;
        case MenuKey::ctrl_z: virt |= FCONTROL, key = 'Z'; break;
        case MenuKey::ctrl_y: virt |= FCONTROL, key = 'Y'; break;
        case MenuKey::none: break;
    }
    return {virt, key, WORD(item.command)};
}

// Ctrl+Z in a field with typing of its own to undo is the field's: the
// edit control undoes it on the character the key makes. A command's
// write into a field leaves nothing there to undo.
bool field_undoes(const MSG& m) {
    if (m.message != WM_KEYDOWN || m.wParam != 'Z' || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0)
        return false;
    char name[8] = {};
    GetClassNameA(m.hwnd, name, sizeof name);
    return lstrcmpiA(name, "Edit") == 0 && SendMessageA(m.hwnd, EM_CANUNDO, 0, 0);
}

// The view's menu from the core's table, where it asked for it. It opens
// with no item chosen; the item picked comes back as a command.
void open_view_menu(HWND dialog, LPARAM at) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : VIEW_MENU) {
        std::string text = item.text;
        if (item.key_name) text = text + "\t" + item.key_name;
        AppendMenuA(menu, MF_STRING | (nothing_to_do(item.command) ? MF_GRAYED : 0u), item.command, text.c_str());
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
            if (id == ID_CANCEL) DestroyWindow(dialog);
            else if (id == ID_WORKSHEET) open_worksheet(dialog);
            // Enter (IDOK) and the change notifications of our own field
            // writes land here too and name no command.
            else run(dialog, id);
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
    // Ctrl+Shift+Z redoes too.
    ACCEL keys[std::size(VIEW_MENU) + 1];
    int key_count = 0;
    for (const MenuItem& item : VIEW_MENU)
        if (item.from_any_control) keys[key_count++] = accelerator(item);
    keys[key_count++] = {FVIRTKEY | FCONTROL | FSHIFT, 'Z', WORD(ID_REDO)};
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
        if (!field_undoes(message) && TranslateAcceleratorA(dialog, accelerators, &message)) continue;
        if (IsDialogMessageA(dialog, &message)) continue;
        if (worksheet && IsDialogMessageA(worksheet, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyAcceleratorTable(accelerators);
    return static_cast<int>(message.wParam);
}
