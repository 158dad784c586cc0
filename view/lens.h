// view/lens.h (inside view/ only): where the frame's camera puts a world
// point, worked out without GL, for what the core places by the picture:
// Show calculation's framing and the axes' names. The camera looks at the
// origin from dir·d with +z up and FIELD_DEGREES of field upright, which
// render_view sets up from here too: a point p stands at depth d − p·dir, and across
// and up at p·right and p·up, whatever d is.
#pragma once

#include <algorithm>
#include <cmath>

#include "view/view.h"

inline double dot3(const double* p, const double* q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; }

struct Lens {
    static constexpr double FIELD_DEGREES = 50.0;
    static constexpr double NEAR_PLANE = 1.0, FAR_PLANE = 99999.0;
    static constexpr double TAN_HALF_FIELD = 0.46630765815499859;  // tan(FIELD_DEGREES / 2)
    double dir[3], right[3], up[3];
    double d = 0.0;  // the eye's distance: the caller's to set
    double half_w, half_h;

    Lens(Vector3 eye, int width, int height) {
        dir[0] = eye.x, dir[1] = eye.y, dir[2] = eye.z;
        double h = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1]);
        if (h > 0.0) {
            right[0] = -dir[1] / h, right[1] = dir[0] / h, right[2] = 0.0;
        } else {
            right[0] = 1.0, right[1] = 0.0, right[2] = 0.0;
        }
        // up = right × forward, forward = −dir
        up[0] = -(right[1] * dir[2] - right[2] * dir[1]);
        up[1] = -(right[2] * dir[0] - right[0] * dir[2]);
        up[2] = -(right[0] * dir[1] - right[1] * dir[0]);
        half_w = std::max(width, 1) / 2.0;
        half_h = std::max(height, 1) / 2.0;
    }
    double depth(const double* p) const { return d - dot3(p, dir); }
    // In window pixels from the top left.
    void pixel(const double* p, double& x, double& y) const {
        double z = depth(p);
        x = half_w * (1.0 + dot3(p, right) / (z * TAN_HALF_FIELD * half_w / half_h));
        y = half_h * (1.0 - dot3(p, up) / (z * TAN_HALF_FIELD));
    }
};
