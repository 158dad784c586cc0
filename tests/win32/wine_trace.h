// Reading Wine's debug trace of another process: the program under test
// inherits our standard error, which the test command sends to a file,
// and Wine writes the trace lines there, each starting with the id of the
// thread that made the call.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/app_process.h"

struct WineTrace {
    std::string path;
    std::string thread;  // "0024:", the program's GUI thread
    size_t offset = 0;   // how far the file has been read

    WineTrace(const char* file, DWORD thread_id) : path(windows_path(file)) {
        char id[16];
        std::snprintf(id, sizeof id, "%04lx:", static_cast<unsigned long>(thread_id));
        thread = id;
    }

    // The whole lines of our thread written since the last call, each
    // without its thread id. A line still being written is left for the
    // next call.
    std::vector<std::string> new_lines() {
        std::vector<std::string> out;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return out;
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
        std::string chunk;
        char buf[65536];
        DWORD n;
        while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) chunk.append(buf, n);
        CloseHandle(f);
        size_t pos = 0;
        for (;;) {
            size_t end = chunk.find('\n', pos);
            if (end == std::string::npos) break;
            if (chunk.compare(pos, thread.size(), thread) == 0)
                out.push_back(chunk.substr(pos + thread.size(), end - pos - thread.size()));
            pos = end + 1;
        }
        offset += pos;
        return out;
    }
};

inline bool has(const std::string& line, const char* part) { return line.find(part) != std::string::npos; }

inline size_t count_lines(const std::vector<std::string>& lines, const char* part) {
    size_t n = 0;
    for (const std::string& l : lines) n += has(l, part);
    return n;
}

// The frames the program's thread drew, as its trace shows them: every
// line so far, and the line that ended each frame (the one with `end`).
struct TracedFrames {
    WineTrace trace;
    const char* end;
    std::vector<std::string> lines;
    std::vector<size_t> ends;

    TracedFrames(const char* file, DWORD thread, const char* frame_end = "trace:opengl:glFinish")
        : trace(file, thread), end(frame_end) {}

    size_t read() {
        for (std::string& l : trace.new_lines()) {
            if (has(l, end)) ends.push_back(lines.size());
            lines.push_back(std::move(l));
        }
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
    size_t count(const char* part) const { return count_lines(lines, part); }
};
