// Reading Wine's debug trace of another process: the program under test
// inherits our standard error, which the test command sends to a file,
// and Wine writes the trace lines there, each starting with the id of the
// thread that made the call.
#pragma once

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/win32_driver.h"

inline bool has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The frames the program's GUI thread drew, as its trace shows them: every
// line of that thread so far, without its id, and the line that ended each
// frame (the one with `end`).
struct TracedFrames {
    std::string path, thread;  // thread: "0024:"
    size_t offset = 0;         // how far the file has been read
    const char* end;
    std::vector<std::string> lines;
    std::vector<size_t> ends;

    TracedFrames(const char* file, DWORD thread_id, const char* frame_end = "trace:opengl:glFinish")
        : path(windows_path(file)), end(frame_end) {
        char id[16];
        std::snprintf(id, sizeof id, "%04lx:", static_cast<unsigned long>(thread_id));
        thread = id;
    }

    // Takes in the whole lines written since the last call; a line still
    // being written is left for the next. Returns the frames so far.
    size_t read() {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return ends.size();
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
        std::string chunk;
        char buf[65536];
        DWORD n;
        while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) chunk.append(buf, n);
        CloseHandle(f);
        size_t pos = 0;
        for (size_t line_end; (line_end = chunk.find('\n', pos)) != std::string::npos; pos = line_end + 1) {
            if (chunk.compare(pos, thread.size(), thread) != 0) continue;
            lines.push_back(chunk.substr(pos + thread.size(), line_end - pos - thread.size()));
            if (has(lines.back(), end)) ends.push_back(lines.size() - 1);
        }
        offset += pos;
        return ends.size();
    }
    // Waits until at least `n` frames have been drawn, then a little more
    // so that any extra ones would show.
    size_t after(size_t n) {
        wait_until([&] { return read() >= n; }, 5000);
        Sleep(200);
        return read();
    }
    // Waits until the program has drawn its pending paints: no new frame
    // for a while.
    size_t settle() {
        Sleep(100);
        wait_until([&] {
            size_t before = read();
            Sleep(50);
            return read() == before;
        });
        return ends.size();
    }
    // The calls of frame `i`, a line each.
    std::string frame(size_t i) const {
        std::string out;
        for (size_t l = i ? ends[i - 1] + 1 : 0; l <= ends[i]; ++l) out += lines[l] + "\n";
        return out;
    }
    size_t count(const char* part) const {
        size_t n = 0;
        for (const std::string& l : lines) n += has(l, part);
        return n;
    }

    // The eye the last frame's camera was set up with (gluLookAt ends in
    // glTranslated(-eye)), against the camera's, within `relative` of its
    // size beyond a fixed 2e-5.
    void check_eye(const ViewState& camera, const std::string& what, double relative = 0) const {
        check_context(what);
        double x = 0, y = 0, z = 0;
        std::string last = ends.empty() ? "" : frame(ends.size() - 1);
        size_t at = last.find("glTranslated x ");
        CHECK(at != std::string::npos &&
              std::sscanf(last.c_str() + at, "glTranslated x %lf, y %lf, z %lf", &x, &y, &z) == 3);
        double d = camera.eye_distance;
        double want[3] = {camera.eye_dir.x * d, camera.eye_dir.y * d, camera.eye_dir.z * d}, eye[3] = {-x, -y, -z};
        for (int i = 0; i < 3; ++i) CHECK(std::fabs(eye[i] - want[i]) <= 2e-5 + relative * std::fabs(want[i]));
        check_context("");
    }
};
