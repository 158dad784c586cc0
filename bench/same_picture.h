// The content floor: the view's picture (axes, three vectors with their
// tips, the blended checkerboard, same state) drawn in the fewest GL calls
// and with none of our code. Against it, a figure shows what our program
// costs beyond drawing that picture at all; against the clear-only floor,
// what the picture itself costs Mesa. Plain GL 1.1 + GLU, so both toolkit
// floors and the offscreen benchmark use it.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>

inline void same_picture(double aspect) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, aspect, 1.0, 99999.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double eye = double(0.57735026f) * 10.0;  // the start camera, as the view has it
    gluLookAt(eye, eye, eye, 0, 0, 0, 0, 0, 1);
    glPointSize(3);
    // Each tip before the segments, as the view does: equal depths fail.
    glBegin(GL_LINES);
    glColor3f(1, 0, 0), glVertex3f(0, 0, 0), glVertex3f(5, 0, 0);
    glColor3f(0, 1, 0), glVertex3f(0, 0, 0), glVertex3f(0, 5, 0);
    glColor3f(0, 0, 1), glVertex3f(0, 0, 0), glVertex3f(0, 0, 5);
    glEnd();
    glBegin(GL_POINTS);
    glColor3ub(255, 128, 0), glVertex3f(2, 2, 3);
    glColor3ub(255, 0, 255), glVertex3f(1, -1, 3);
    glColor3ub(0, 90, 255), glVertex3f(-1, 1, 0);
    glEnd();
    glBegin(GL_LINES);
    glColor3ub(255, 128, 0), glVertex3f(1, 0, 0), glVertex3f(2, 2, 3);
    glColor3ub(255, 0, 255), glVertex3f(1, -1, 0), glVertex3f(1, -1, 3);
    glColor3ub(0, 90, 255), glVertex3f(-1, 1, 0), glVertex3f(-2, -1, -1);
    glEnd();
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.2f);
    glBegin(GL_QUADS);
    for (int i = -2; i <= 1; ++i)
        for (int j = -2; j <= 1; ++j)
            if ((i + j) & 1)
                glVertex3f(i, j, 0), glVertex3f(i + 1, j, 0), glVertex3f(i + 1, j + 1, 0), glVertex3f(i, j + 1, 0);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glFinish();
}

// The floor programs' frame at the view's size: the least there is (clear
// colour and depth, glFinish), or the same picture.
inline void floor_frame(bool picture, double aspect) {
    if (picture) {
        same_picture(aspect);
        return;
    }
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFinish();
}
