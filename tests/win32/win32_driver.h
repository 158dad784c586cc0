// The desktop driver for arrowbench.exe under Wine, in a process of its
// own: fields, buttons and drags as messages with a time limit (a hang
// fails the test instead of stopping it), the real pointer and keyboard
// through SendInput where only they will do, and the view's frames from
// Wine's own X window of it, which the test command (view_frames.sh) reads
// for us. Everything goes through what any other program could use.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/desktop/driver.h"
#include "view/view.h"

// Polls `done` for up to `ms` milliseconds.
template <typename F>
bool wait_until(F done, int ms = 5000) {
    for (int waited = 0; waited <= ms; waited += 10) {
        if (done()) return true;
        Sleep(10);
    }
    return false;
}

// The build tree hands us Unix paths; Wine maps / to drive Z:.
inline std::string windows_path(const char* path) {
    std::string p = path;
    if (!p.empty() && p[0] == '/') {
        p = "Z:" + p;
        for (char& c : p)
            if (c == '/') c = '\\';
    }
    return p;
}

inline std::string whole_file(const std::string& path) {
    std::string all;
    HANDLE f = CreateFileA(windows_path(path.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return all;
    char buf[65536];
    DWORD n;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) all.append(buf, n);
    CloseHandle(f);
    return all;
}

// A request to the test command, which answers "ok" when it is done.
inline bool ask(const std::string& request) {
    std::printf("%s\n", request.c_str());
    std::fflush(stdout);
    char answer[64] = {};
    return std::fgets(answer, sizeof answer, stdin) && std::strncmp(answer, "ok", 2) == 0;
}

// A binary PPM as ImageMagick writes it: P6, width, height, 255, pixels.
inline Shot read_ppm(const std::string& path) {
    Shot s;
    std::string all = whole_file(path);
    int w = 0, h = 0, max = 0, used = 0;
    if (std::sscanf(all.c_str(), "P6 %d %d %d%n", &w, &h, &max, &used) != 3 || max != 255) return s;
    size_t at = size_t(used) + 1;
    if (w <= 0 || h <= 0 || all.size() < at + size_t(w) * size_t(h) * 3) return s;
    s.width = w;
    s.height = h;
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i, at += 3)
        s.px.push_back({BYTE(all[at]), BYTE(all[at + 1]), BYTE(all[at + 2])});
    return s;
}

// A window as the X server shows it, read back from the screen: 24-bit
// rows, bottom-up, as a BMP file stores them.
struct WindowImage {
    int width = 0, height = 0, stride = 0;
    std::vector<BYTE> bgr;
    BYTE* row(int y) { return bgr.data() + size_t(height - 1 - y) * size_t(stride); }  // y down
};

inline BITMAPINFOHEADER bmp_header(const WindowImage& img) {
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = img.width;
    bi.biHeight = img.height;  // bottom-up
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    return bi;
}

inline WindowImage capture_window(HWND window) {
    // Paint whatever is pending, then give the X server a moment to show it.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(500);
    RECT r;
    GetWindowRect(window, &r);
    WindowImage img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    img.stride = (img.width * 3 + 3) & ~3;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, img.width, img.height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, img.width, img.height, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bi = bmp_header(img);
    img.bgr.resize(size_t(img.stride) * size_t(img.height));
    GetDIBits(mem, bmp, 0, UINT(img.height), img.bgr.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return img;
}

inline bool write_bmp(const WindowImage& img, const char* path) {
    BITMAPINFOHEADER bi = bmp_header(img);
    BITMAPFILEHEADER bf = {};
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof bf + sizeof bi;
    bf.bfSize = DWORD(bf.bfOffBits + img.bgr.size());
    HANDLE f = CreateFileA(windows_path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n;
    bool ok = WriteFile(f, &bf, sizeof bf, &n, nullptr) && WriteFile(f, &bi, sizeof bi, &n, nullptr) &&
              WriteFile(f, img.bgr.data(), DWORD(img.bgr.size()), &n, nullptr);
    CloseHandle(f);
    return ok;
}

// A message sent with a time limit. False when the limit ran out.
inline bool send_within(HWND w, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result = nullptr,
                        UINT ms = 10000) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(w, message, wparam, lparam, SMTO_NORMAL, ms, &r)) return false;
    if (result) *result = LRESULT(r);
    return true;
}

struct Win32Driver : DesktopDriver {
    PROCESS_INFORMATION info = {};
    HWND dialog = nullptr, view = nullptr;
    DWORD gui_thread = 0;
    POINT view_origin{0, 0};  // on the screen
    std::string trace;        // where Wine's trace goes, if the test command keeps one
    // The capture as a drag with the real pointer left it: after the
    // press, and after the release.
    HWND capture_pressed = nullptr, capture_released = nullptr;
    int frames_read = 0;

    // `debug`: the Wine trace channels the program runs with, if any.
    explicit Win32Driver(const char* exe, const char* debug = nullptr, const char* trace_file = nullptr)
        : trace(trace_file ? trace_file : "") {
        std::string path = windows_path(exe);
        std::vector<char> cmd(path.begin(), path.end());
        cmd.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (debug) SetEnvironmentVariableA("WINEDEBUG", debug);
        bool started =
            CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info);
        if (debug) SetEnvironmentVariableA("WINEDEBUG", "-all");
        if (!started) return;
        WaitForInputIdle(info.hProcess, 20000);
        wait_until([&] { return (dialog = find_dialog()) != nullptr; }, 20000);
        if (!dialog) return;
        gui_thread = GetWindowThreadProcessId(dialog, nullptr);
        view = control(ID_VIEW);
        RECT client;
        GetClientRect(view, &client);
        view_width = client.right;
        view_height = client.bottom;
        ClientToScreen(view, &view_origin);
    }
    ~Win32Driver() override {
        if (!info.hProcess) return;
        if (running()) TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }

    // A visible top-level window of the program, by its caption.
    struct Wanted {
        DWORD pid;
        const char* caption;
        HWND found;
    };
    static BOOL CALLBACK match_caption(HWND w, LPARAM p) {
        auto* wanted = reinterpret_cast<Wanted*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char caption[64] = {};
        GetWindowTextA(w, caption, sizeof caption);
        if (pid != wanted->pid || std::string(caption) != wanted->caption || !IsWindowVisible(w)) return TRUE;
        wanted->found = w;
        return FALSE;
    }
    HWND top_level(const char* caption) const {
        Wanted wanted{info.dwProcessId, caption, nullptr};
        EnumWindows(match_caption, reinterpret_cast<LPARAM>(&wanted));
        return wanted.found;
    }
    HWND find_dialog() { return dialog = top_level("Arrowbench"); }

    bool wait_exit(DWORD ms) const { return WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD exit_code() const {
        DWORD code = 12345;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
    HWND control(int id) const { return GetDlgItem(dialog, id); }

    bool running() override { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    bool set(int id, const std::string& text) override {
        return send_within(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // The whole text, however long.
    std::string get(int id) override {
        LRESULT n = 0, got = 0;
        if (!send_within(control(id), WM_GETTEXTLENGTH, 0, 0, &n)) return "<no answer>";
        std::vector<char> buf(size_t(n) + 2);
        if (!send_within(control(id), WM_GETTEXT, WPARAM(buf.size()), reinterpret_cast<LPARAM>(buf.data()), &got))
            return "<no answer>";
        return std::string(buf.data(), size_t(got));
    }
    // The clipboard is the window system's: its sequence number moves when
    // the program writes it, and it is read here as Unicode text.
    std::string copied_by(const std::function<void()>& action) override {
        DWORD before = GetClipboardSequenceNumber();
        action();
        for (int i = 0; i < 200 && GetClipboardSequenceNumber() == before; ++i) Sleep(25);
        std::string text = "<no answer>";
        if (GetClipboardSequenceNumber() == before || !OpenClipboard(nullptr)) return text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            const wchar_t* w = static_cast<const wchar_t*>(GlobalLock(data));
            int n = w ? WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr) : 0;
            std::vector<char> utf8(size_t(n > 0 ? n : 1));
            if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w, -1, utf8.data(), n, nullptr, nullptr);
            text = utf8.data();
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }
    // Typed over the whole text, selected, as the user would type: the
    // field can undo the typing back to what was there.
    void type(int id, const std::string& text) override {
        focus_control(id);
        send_within(control(id), EM_SETSEL, 0, -1);
        type_chars(text.c_str());
    }
    // BM_CLICK is sent, so the command has run when this returns.
    bool press(int id) override { return send_within(control(id), BM_CLICK, 0, 0); }
    void focus(int id) override { focus_control(id); }

    // --- the keyboard focus, and keys posted to it ---

    GUITHREADINFO gui() const {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        GetGUIThreadInfo(gui_thread, &gti);
        return gti;
    }
    HWND focused() const { return gui().hwndFocus; }

    // Focus through the dialog manager, as Tab would move it.
    bool focus_control(int id) const { return focus_window(control(id)); }
    bool focus_window(HWND target) const {
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
        return wait_until([&] { return focused() == target; });
    }

    // A key pressed and released on the focused control. Posted, so it
    // goes through the program's message loop and its dialog manager.
    void post_key(UINT vk) const {
        HWND target = focused();
        UINT scan = MapVirtualKeyA(vk, 0);
        PostMessageA(target, WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)));
        PostMessageA(target, WM_KEYUP, vk, LPARAM(1 | (scan << 16) | (3u << 30)));
    }

    // Posted messages are handled in order: once a Tab posted after
    // everything else has moved the focus, all of it has been handled.
    // The focus then goes back to `keep`.
    void settle_back_to(HWND keep) const {
        HWND before = focused();
        post_key(VK_TAB);
        wait_until([&] { return focused() != before; });
        focus_window(keep);
    }

    // Presses a key and waits until the program has handled it. Escape
    // may end the program, so nothing is waited for there.
    void post_key_handled(UINT vk) const {
        HWND before = focused();
        post_key(vk);
        if (vk == VK_TAB)
            wait_until([&] { return focused() != before; });
        else if (vk != VK_ESCAPE)
            settle_back_to(focused());
    }

    void type_chars(const char* s) const {
        HWND target = focused();
        for (; *s; ++s) PostMessageA(target, WM_CHAR, WPARAM(BYTE(*s)), 1);
        settle_back_to(target);
    }

    // --- the pointer ---

    bool real = false;  // this drag is the real pointer's
    int held = LEFT_BUTTON;
    WPARAM held_flag() const { return held == LEFT_BUTTON ? MK_LBUTTON : MK_RBUTTON; }

    void pointer_to(int x, int y) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = LONG((view_origin.x + x) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
        in.mi.dy = LONG((view_origin.y + y) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof in);
        Sleep(60);
    }
    void pointer_button(DWORD flag, int wheel = 0) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flag;
        in.mi.mouseData = DWORD(wheel);
        SendInput(1, &in, sizeof in);
        Sleep(100);
    }

    // Inside the view, button and motion messages straight to it, each
    // handled before the next goes.
    bool drag_begin(int button, int x, int y, bool leaves) override {
        held = button;
        real = leaves;
        if (!real)
            return send_within(view, button == LEFT_BUTTON ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, held_flag(),
                               LPARAM(pack_position(x, y)));
        pointer_to(x, y);
        pointer_button(button == LEFT_BUTTON ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
        capture_pressed = gui().hwndCapture;
        return running();
    }
    bool drag_move(int x, int y) override {
        if (!real) return send_within(view, WM_MOUSEMOVE, held_flag(), LPARAM(pack_position(x, y)));
        pointer_to(x, y);
        return running();
    }
    bool drag_end(int x, int y) override {
        if (!real)
            return send_within(view, held == LEFT_BUTTON ? WM_LBUTTONUP : WM_RBUTTONUP, 0, LPARAM(pack_position(x, y)));
        pointer_to(x, y);
        pointer_button(held == LEFT_BUTTON ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
        capture_released = gui().hwndCapture;
        return running();
    }
    void hover(int x, int y) override { pointer_to(x, y); }
    void click_view(int x, int y, int button) override {
        pointer_to(x, y);
        pointer_button(button == LEFT_BUTTON ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
        pointer_button(button == LEFT_BUTTON ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
    }
    // Whole notches as Wine delivers them, under the pointer; a part of
    // one as Windows may deliver it, to the focus.
    void wheel(int x, int y, double notches) override {
        int delta = int(notches * WHEEL_DELTA);
        if (delta % WHEEL_DELTA == 0) {
            pointer_to(x, y);
            pointer_button(MOUSEEVENTF_WHEEL, delta);
            return;
        }
        PostMessageA(focused(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(delta)),
                     MAKELPARAM(view_origin.x + x, view_origin.y + y));
        settle_back_to(focused());
    }

    void key_event(WORD vk, DWORD flags) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = flags;
        SendInput(1, &in, sizeof in);
        Sleep(50);
    }
    // Each key as the keyboard gives it; Tab through the dialog manager,
    // waited for until the focus has moved.
    void key(const std::string& name) override {
        if (name == "Tab") return post_key_handled(VK_TAB);
        static const WORD vks[KEY_COUNT] = {VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,   VK_ADD, VK_SUBTRACT, VK_PRIOR, VK_NEXT,
                                            VK_HOME, VK_TAB,   VK_ESCAPE, VK_RETURN, VK_F9,  VK_F10,      VK_APPS, VK_F8,
                                            'Z',     'Y'};
        bool shift, ctrl;
        int i = key_index(name, shift, ctrl);
        if (i < 0) return;
        if (ctrl) key_event(VK_CONTROL, 0);
        if (shift) key_event(VK_SHIFT, 0);
        key_event(vks[i], 0);
        key_event(vks[i], KEYEVENTF_KEYUP);
        if (shift) key_event(VK_SHIFT, KEYEVENTF_KEYUP);
        if (ctrl) key_event(VK_CONTROL, KEYEVENTF_KEYUP);
    }

    // A popup menu is a window of the class "#32768" of the program's thread.
    static BOOL CALLBACK find_menu(HWND w, LPARAM found) {
        char name[16] = {};
        GetClassNameA(w, name, sizeof name);
        if (std::strcmp(name, "#32768") == 0 && IsWindowVisible(w)) *reinterpret_cast<bool*>(found) = true;
        return TRUE;
    }
    void pause(int ms) override { Sleep(DWORD(ms)); }

    bool worksheet_shown() override { return top_level("Arrowbench worksheet") != nullptr; }
    // The rows of the worksheet window's list box, as UTF-8.
    std::vector<std::string> worksheet_lines() override {
        std::vector<std::string> lines;
        HWND window = top_level("Arrowbench worksheet");
        HWND list = window ? FindWindowExA(window, nullptr, "ListBox", nullptr) : nullptr;
        LRESULT rows = 0;
        if (!list || !send_within(list, LB_GETCOUNT, 0, 0, &rows)) return lines;
        for (LRESULT i = 0; i < rows; ++i) {
            LRESULT n = 0;
            if (!send_within(list, LB_GETTEXTLEN, WPARAM(i), 0, &n) || n < 0) break;
            std::vector<wchar_t> w(size_t(n) + 1, L'\0');
            if (!SendMessageTimeoutW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(w.data()), SMTO_NORMAL,
                                     10000, nullptr))
                break;
            std::vector<char> utf8(size_t(n) * 3 + 1, '\0');
            WideCharToMultiByte(CP_UTF8, 0, w.data(), -1, utf8.data(), int(utf8.size()), nullptr, nullptr);
            lines.push_back(utf8.data());
        }
        return lines;
    }
    bool menu_open() override {
        bool open = false;
        EnumThreadWindows(gui_thread, find_menu, LPARAM(&open));
        return open;
    }

    // --- the view's frames ---

    // The X window Wine renders the view into, from the +wgl trace: the last
    // "create_gl_drawable <hwnd> created child <id>" of our view.
    std::string gl_child_window() const {
        char key[64];
        std::snprintf(key, sizeof key, "create_gl_drawable 0x%lx created child ",
                      static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(view)));
        std::string all = whole_file(trace);
        size_t at = all.rfind(key);
        if (at == std::string::npos) return "";
        at += std::strlen(key);
        size_t end = all.find_first_not_of("0123456789abcdef", at);
        return end == std::string::npos || end == at ? "" : "0x" + all.substr(at, end - at);
    }

    // The frame as drawn, read from Wine's X window, at the client size;
    // black where there is none to read.
    Shot frame() override {
        Sleep(200);
        std::string id = gl_child_window();
        std::string path = trace + "-frame" + std::to_string(frames_read++) + ".ppm";
        CHECK(!id.empty());
        CHECK(!id.empty() && ask("frame " + id + " " + path));
        Shot s = read_ppm(path);
        CHECK_INT(s.width, view_width);
        CHECK_INT(s.height, view_height);
        if (s.width != view_width || s.height != view_height)
            s.px.assign(size_t(view_width) * size_t(view_height), Rgb{0, 0, 0});
        s.width = view_width;
        s.height = view_height;
        return s;
    }

    // Resident: the working set (under Wine the Unix process's RSS); held:
    // committed memory of the process's own, as Windows counts it.
    Memory memory() override {
        SIZE_T own = 0;
        MEMORY_BASIC_INFORMATION region;
        for (const char* at = nullptr; VirtualQueryEx(info.hProcess, at, &region, sizeof region) == sizeof region;
             at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) own += region.RegionSize;
            if (region.RegionSize == 0) break;
        }
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        K32GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters);
        return {long(counters.WorkingSetSize / 1024), long(own / 1024)};
    }

    // The exit code after Escape in V1, or STILL_ACTIVE if the program is
    // still running 10 s later.
    DWORD close_by_escape() {
        focus_control(ID_V1);
        post_key_handled(VK_ESCAPE);
        return wait_exit(10000) ? exit_code() : STILL_ACTIVE;
    }
    bool quit() override { return close_by_escape() == 0; }
};
