/* A preloaded probe for whole-process benchmarks, so that the shipped
 * program needs no switch or output of its own. It counts the frames
 * (glFinish calls), times the first one from the process start, and for
 * each pointer motion event the program takes from Xlib, the time until
 * the next frame is finished. Results go to the file named by
 * ARROWBENCH_PROBE_OUT when the process exits:
 *   start_to_first_frame_us N
 *   frames N
 *   motions N
 *   drag_motions N             (motions between a button press and release)
 *   drag_frames N              (frames drawn in that time)
 *   motion_to_frame_us N N N ...   (one per motion that was followed by a frame)
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double start_us, first_frame_us = -1, pending_motion_us = -1;
static long frames, motions, latency_count, drag_motions, drag_frames;
static int dragging;
static double* latencies;
static long latency_capacity;

static double now_us(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

/* The process start, from the kernel: the probe itself loads later. */
static double process_start_us(void) {
    FILE* f = fopen("/proc/self/stat", "r");
    unsigned long long start_ticks = 0;
    if (f) {
        char buf[4096];
        size_t n = fread(buf, 1, sizeof buf - 1, f);
        buf[n] = 0;
        fclose(f);
        char* p = buf;
        for (int field = 1; field < 22 && p; ++field) p = strchr(p, ' '), p = p ? p + 1 : p;
        if (p) start_ticks = strtoull(p, NULL, 10);
    }
    struct timespec boot;
    clock_gettime(CLOCK_BOOTTIME, &boot);
    double since_boot_us = boot.tv_sec * 1e6 + boot.tv_nsec / 1e3;
    double started_since_boot_us = start_ticks * 1e6 / sysconf(_SC_CLK_TCK);
    return now_us() - (since_boot_us - started_since_boot_us);
}

__attribute__((constructor)) static void probe_start(void) { start_us = process_start_us(); }

__attribute__((destructor)) static void probe_end(void) {
    const char* path = getenv("ARROWBENCH_PROBE_OUT");
    if (!path) return;
    FILE* f = fopen(path, "w");
    if (!f) return;
    fprintf(f, "start_to_first_frame_us %.0f\nframes %ld\nmotions %ld\ndrag_motions %ld\ndrag_frames %ld\n",
            first_frame_us, frames, motions, drag_motions, drag_frames);
    fprintf(f, "motion_to_frame_us");
    for (long i = 0; i < latency_count; ++i) fprintf(f, " %.1f", latencies[i]);
    fprintf(f, "\n");
    fclose(f);
}

void glFinish(void) {
    static void (*real)(void);
    if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "glFinish");
    real();
    double t = now_us();
    ++frames;
    if (dragging) ++drag_frames;
    if (first_frame_us < 0) first_frame_us = t - start_us;
    if (pending_motion_us >= 0) {
        if (latency_count == latency_capacity) {
            latency_capacity = latency_capacity ? latency_capacity * 2 : 4096;
            latencies = realloc(latencies, sizeof *latencies * latency_capacity);
        }
        latencies[latency_count++] = t - pending_motion_us;
        pending_motion_us = -1;
    }
}

int XNextEvent(Display* d, XEvent* e) {
    static int (*real)(Display*, XEvent*);
    if (!real) real = (int (*)(Display*, XEvent*))dlsym(RTLD_NEXT, "XNextEvent");
    int r = real(d, e);
    if (e->type == ButtonPress) dragging = 1;
    if (e->type == ButtonRelease) dragging = 0;
    if (e->type == MotionNotify) {
        ++motions;
        if (dragging) ++drag_motions;
        pending_motion_us = now_us();
    }
    return r;
}
