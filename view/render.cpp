// One frame of the view: white background, the axes, the vector slots and
// a translucent checkerboard on the ground plane z = 0, in immediate mode.
// Every frame sets up all the GL state it relies on but the viewport.

#include <cmath>

#include "view/gl.h"
#include "view/host.h"

float line_width_at(double scale) {
    // Out-of-range or no-number scales draw as at scale 1.
    return scale >= 1.0 && scale < 64.0 ? float(std::lround(scale)) : 1.0f;
}

float point_size_at(double scale) {
    return scale > 1.0 && scale < 64.0 ? float(std::lround(3.0 * scale)) : 3.0f;
}

void render_view(const ViewState& view) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    int width = 0, height = 0;
    get_client_size(view, width, height);
    // A zero-height client (never the case in the dialog) must not hand
    // GLU a division by zero: keep the aspect of a 1-pixel-high area.
    double aspect = double(width) / double(height > 0 ? height : 1);
    gluPerspective(50.0, aspect, 1.0, 99999.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    double d = view.eye_distance;
    gluLookAt(view.eye_dir.x * d, view.eye_dir.y * d, view.eye_dir.z * d, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0);

    glLineWidth(line_width_at(view.pixel_scale));
    // x red, y green, z blue: each 5 units from the origin, in its own pair.
    for (int axis = 0; axis < 3; ++axis) {
        float end[3] = {0.0f, 0.0f, 0.0f};
        end[axis] = 5.0f;
        glColor3f(end[0] / 5.0f, end[1] / 5.0f, end[2] / 5.0f);
        glBegin(GL_LINES);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(end[0], end[1], end[2]);
        glEnd();
    }

    if (!view.slots.empty()) {
        glPointSize(point_size_at(view.pixel_scale));
        for (const VectorSlot& s : view.slots) {
            const Vector3& v = s.vector;
            // Squared in double, so tiny components do not vanish; NaN is
            // not 0 and is drawn.
            double length = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
            if (length == 0.0) continue;
            glColor3ub(s.red, s.green, s.blue);
            const Vector3& o = s.offset;
            Vector3 other = s.offset_is_end ? Vector3{o.x - v.x, o.y - v.y, o.z - v.z}
                                            : Vector3{o.x + v.x, o.y + v.y, o.z + v.z};
            const Vector3& tip = s.offset_is_end ? o : other;
            glBegin(GL_POINTS);
            glVertex3f(tip.x, tip.y, tip.z);
            glEnd();
            glBegin(GL_LINES);
            glVertex3f(o.x, o.y, o.z);
            glVertex3f(other.x, other.y, other.z);
            glEnd();
        }
    }

    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.2f);
    for (int i = -2; i <= 1; ++i) {
        for (int j = -2; j <= 1; ++j) {
            if (((i + j) & 1) == 0) continue;  // odd sums only, negative ones too
            float x = float(i), y = float(j);
            glBegin(GL_QUADS);
            glVertex3f(x, y, 0.0f);
            glVertex3f(x + 1.0f, y, 0.0f);
            glVertex3f(x + 1.0f, y + 1.0f, 0.0f);
            glVertex3f(x, y + 1.0f, 0.0f);
            glEnd();
        }
    }
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glFinish();
}
