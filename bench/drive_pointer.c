/* Sends real pointer input to a window by its name, through XTest: a
 * press in the view, COUNT motions, a release; then optionally a right
 * drag too. Each motion is synced with the server and paced, so the
 * program sees every one of them. Given a PID, the program is stopped
 * while the motions go out, so that they all reach it at once, as they
 * do from a fast pointer on a busy machine.
 * Usage: drive_pointer NAME COUNT [PAUSE_US [PID]] */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static Window find(Display* d, Window w, const char* name) {
    char* got = NULL;
    if (XFetchName(d, w, &got) && got) {
        int match = strcmp(got, name) == 0;
        XFree(got);
        if (match) return w;
    }
    Window root, parent, *children = NULL, found = 0;
    unsigned n = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n && !found; ++i) found = find(d, children[i], name);
        if (children) XFree(children);
    }
    return found;
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d) return 2;
    int count = atoi(argv[2]);
    useconds_t pause = argc > 3 ? (useconds_t)atoi(argv[3]) : 1500;
    pid_t stopped = argc > 4 ? (pid_t)atoi(argv[4]) : 0;
    Window w = 0;
    for (int i = 0; i < 100 && !w; ++i) {
        w = find(d, DefaultRootWindow(d), argv[1]);
        if (!w) usleep(100000);
    }
    if (!w) return 1;
    int ox, oy;
    Window child;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &ox, &oy, &child);
    /* the view's client area: 130, 64 dialog units at 7 x 13 base units, plus the frame */
    int vx = ox + 228 + 2 + 60, vy = oy + 104 + 2 + 60;
    int screen = DefaultScreen(d);
    XTestFakeMotionEvent(d, screen, vx, vy, 0);
    XSync(d, False);
    usleep(200000);
    XTestFakeButtonEvent(d, 1, True, 0);
    XSync(d, False);
    usleep(50000);
    if (stopped) kill(stopped, SIGSTOP);
    for (int i = 1; i <= count; ++i) {
        /* a back-and-forth sweep, so the camera keeps moving */
        int step = i % 400, dx = step < 200 ? step : 400 - step;
        XTestFakeMotionEvent(d, screen, vx + dx, vy + (i % 50), 0);
        XSync(d, False);
        if (pause) usleep(pause);
    }
    if (stopped) {
        usleep(100000);
        kill(stopped, SIGCONT);
    }
    XTestFakeButtonEvent(d, 1, False, 0);
    XSync(d, False);
    usleep(100000);
    XCloseDisplay(d);
    return 0;
}
