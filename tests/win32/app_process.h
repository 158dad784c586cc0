// The real arrowbench.exe in a process of its own, and the window-system
// operations the Windows tests drive it with. Everything here goes through
// messages and window queries that any other program could use.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline std::string window_text(HWND w) {
    int n = int(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0));
    std::vector<char> buf(size_t(n) + 2);
    SendMessageA(w, WM_GETTEXT, WPARAM(buf.size()), reinterpret_cast<LPARAM>(buf.data()));
    return buf.data();
}

// A message sent with a time limit, so that a program that hangs fails
// the test instead of stopping it. False when the limit ran out.
inline bool send_within(HWND w, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result = nullptr,
                        UINT ms = 10000) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(w, message, wparam, lparam, SMTO_NORMAL, ms, &r)) return false;
    if (result) *result = LRESULT(r);
    return true;
}

// The whole text of a window, however long, within the time limit.
inline bool window_text_within(HWND w, std::string& text) {
    LRESULT n = 0;
    if (!send_within(w, WM_GETTEXTLENGTH, 0, 0, &n)) return false;
    std::vector<char> buf(size_t(n) + 2);
    LRESULT got = 0;
    if (!send_within(w, WM_GETTEXT, WPARAM(buf.size()), reinterpret_cast<LPARAM>(buf.data()), &got)) return false;
    text.assign(buf.data(), size_t(got));
    return true;
}

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

struct AppProcess {
    PROCESS_INFORMATION info = {};
    HWND dialog = nullptr;
    DWORD gui_thread = 0;

    explicit AppProcess(const char* exe) {
        std::string path = windows_path(exe);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::vector<char> cmd(path.begin(), path.end());
        cmd.push_back('\0');
        if (!CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info))
            return;
        WaitForInputIdle(info.hProcess, 20000);
        wait_until([&] { return (dialog = find_dialog()) != nullptr; }, 20000);
        if (dialog) gui_thread = GetWindowThreadProcessId(dialog, nullptr);
    }

    ~AppProcess() {
        if (!info.hProcess) return;
        if (alive()) TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }

    struct Search {
        DWORD pid;
        HWND found;
    };

    static BOOL CALLBACK match_dialog(HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char caption[64] = {};
        GetWindowTextA(w, caption, sizeof caption);
        if (pid == s->pid && std::string(caption) == "Arrowbench" && IsWindowVisible(w)) {
            s->found = w;
            return FALSE;
        }
        return TRUE;
    }

    HWND find_dialog() const {
        Search s{info.dwProcessId, nullptr};
        EnumWindows(match_dialog, reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

    bool alive() const { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    bool wait_exit(DWORD ms) const { return WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD exit_code() const {
        DWORD code = 12345;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }

    HWND control(int id) const { return GetDlgItem(dialog, id); }
    std::string text(int id) const { return window_text(control(id)); }
    void set_text(int id, const char* text) const {
        SendMessageA(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    // BM_CLICK is sent, so the command has run when this returns.
    void click(int id) const { SendMessageA(control(id), BM_CLICK, 0, 0); }

    // The same three, each within a time limit: false if the program did
    // not answer in time.
    bool put(int id, const std::string& text) const {
        return send_within(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    bool get(int id, std::string& text) const { return window_text_within(control(id), text); }
    bool press(int id) const { return send_within(control(id), BM_CLICK, 0, 0); }

    HWND focus() const {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        GetGUIThreadInfo(gui_thread, &gti);
        return gti.hwndFocus;
    }

    // Focus through the dialog manager, as Tab would move it.
    bool focus_control(int id) const {
        HWND target = control(id);
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
        return wait_until([&] { return focus() == target; });
    }

    // A key pressed and released on the focused control. Posted, so it
    // goes through the program's message loop and its dialog manager.
    void post_key(UINT vk) const {
        HWND target = focus();
        UINT scan = MapVirtualKeyA(vk, 0);
        PostMessageA(target, WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)));
        PostMessageA(target, WM_KEYUP, vk, LPARAM(1 | (scan << 16) | (3u << 30)));
    }

    // Posted messages are handled in order: once a Tab posted after
    // everything else has moved the focus, all of it has been handled.
    bool settle() const {
        HWND before = focus();
        post_key(VK_TAB);
        return wait_until([&] { return focus() != before; });
    }

    // Presses a key and waits until the program has handled it. Escape
    // may end the program, so nothing is waited for there.
    void key(UINT vk) const {
        post_key(vk);
        if (vk == VK_ESCAPE) return;
        if (vk == VK_TAB) {
            HWND before = focus();
            wait_until([&] { return focus() != before; });
            return;
        }
        settle_back_to(focus());
    }

    void type_chars(const char* s) const {
        HWND target = focus();
        for (; *s; ++s) PostMessageA(target, WM_CHAR, WPARAM(BYTE(*s)), 1);
        settle_back_to(target);
    }

    // settle(), then give the focus back to `keep`, which the settling Tab took.
    void settle_back_to(HWND keep) const {
        settle();
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(keep), TRUE);
        wait_until([&] { return focus() == keep; });
    }
};

// A window as the X server shows it, read back from the screen: 24-bit
// rows, bottom-up, as a BMP file stores them.
struct WindowImage {
    int width = 0, height = 0, stride = 0;
    std::vector<BYTE> bgr;
    BYTE* row(int y) { return bgr.data() + size_t(height - 1 - y) * size_t(stride); }  // y down
};

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
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = img.width;
    bi.biHeight = img.height;  // bottom-up
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    img.bgr.resize(size_t(img.stride) * size_t(img.height));
    GetDIBits(mem, bmp, 0, UINT(img.height), img.bgr.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return img;
}

inline bool write_bmp(const WindowImage& img, const char* path) {
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = img.width;
    bi.biHeight = img.height;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
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

// The window as the X server shows it, as a 24-bit BMP file.
inline bool save_screenshot(HWND window, const char* path) { return write_bmp(capture_window(window), path); }
