// The desktop driver for arrowbench.exe under Wine: fields, buttons and
// drags as messages with a time limit (a hang fails the test instead of
// stopping it), the real pointer and keyboard through SendInput where
// only they will do, and the view's frames from Wine's own X window of
// it, which the test command (view_frames.sh) reads for us.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/desktop/driver.h"
#include "tests/win32/app_process.h"
#include "view/view.h"

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

// Escape in V1, as a user ends the program. Returns the exit code, or
// STILL_ACTIVE if the program is still running 10 s later.
inline DWORD close_by_escape(const AppProcess& app) {
    app.focus_control(ID_V1);
    app.key(VK_ESCAPE);
    return app.wait_exit(10000) ? app.exit_code() : STILL_ACTIVE;
}

struct Win32Driver : DesktopDriver {
    AppProcess app;
    HWND view = nullptr;
    POINT view_origin{0, 0};  // on the screen
    std::string trace;  // where Wine's trace goes, if the test command keeps one
    // The capture as a drag with the real pointer left it: after the
    // press, and after the release.
    HWND capture_pressed = nullptr, capture_released = nullptr;
    int frames_read = 0;

    // `debug`: the Wine trace channels the program runs with, if any.
    static const char* with_debug(const char* exe, const char* debug) {
        if (debug) SetEnvironmentVariableA("WINEDEBUG", debug);
        return exe;
    }
    Win32Driver(const char* exe, const char* debug = nullptr, const char* trace_file = nullptr)
        : app(with_debug(exe, debug)), trace(trace_file ? trace_file : "") {
        if (debug) SetEnvironmentVariableA("WINEDEBUG", "-all");
        if (!app.dialog) return;
        view = app.control(ID_VIEW);
        RECT client;
        GetClientRect(view, &client);
        view_width = client.right;
        view_height = client.bottom;
        ClientToScreen(view, &view_origin);
    }

    bool running() override { return app.alive(); }
    bool set(int id, const std::string& text) override { return app.put(id, text); }
    std::string get(int id) override {
        std::string t;
        return app.get(id, t) ? t : "<no answer>";
    }
    void type(int id, const std::string& text) override {
        app.put(id, "");
        app.focus_control(id);
        app.type_chars(text.c_str());
    }
    bool press(int id) override { return app.press(id); }
    void focus(int id) override { app.focus_control(id); }

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
    HWND capture() const {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        GetGUIThreadInfo(app.gui_thread, &gti);
        return gti.hwndCapture;
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
        capture_pressed = capture();
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
        capture_released = capture();
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
        PostMessageA(app.focus(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(delta)),
                     MAKELPARAM(view_origin.x + x, view_origin.y + y));
        app.settle_back_to(app.focus());
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
        if (name == "Tab") return app.key(VK_TAB);
        static const WORD vks[KEY_COUNT] = {VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,   VK_ADD, VK_SUBTRACT, VK_PRIOR, VK_NEXT,
                                            VK_HOME, VK_TAB,   VK_ESCAPE, VK_RETURN, VK_F9,  VK_F10,      VK_APPS};
        bool shift;
        int i = key_index(name, shift);
        if (i < 0) return;
        if (shift) key_event(VK_SHIFT, 0);
        key_event(vks[i], 0);
        key_event(vks[i], KEYEVENTF_KEYUP);
        if (shift) key_event(VK_SHIFT, KEYEVENTF_KEYUP);
    }

    // A popup menu is a window of the class "#32768" of the program's thread.
    static BOOL CALLBACK find_menu(HWND w, LPARAM found) {
        char name[16] = {};
        GetClassNameA(w, name, sizeof name);
        if (std::strcmp(name, "#32768") == 0 && IsWindowVisible(w)) *reinterpret_cast<bool*>(found) = true;
        return TRUE;
    }
    void pause(int ms) override { Sleep(DWORD(ms)); }
    bool menu_open() override {
        bool open = false;
        EnumThreadWindows(app.gui_thread, find_menu, LPARAM(&open));
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
        for (const char* at = nullptr; VirtualQueryEx(app.info.hProcess, at, &region, sizeof region) == sizeof region;
             at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) own += region.RegionSize;
            if (region.RegionSize == 0) break;
        }
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        K32GetProcessMemoryInfo(app.info.hProcess, &counters, sizeof counters);
        return {long(counters.WorkingSetSize / 1024), long(own / 1024)};
    }

    bool quit() override { return close_by_escape(app) == 0; }
};
