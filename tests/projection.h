// Where a world point lands in the view, worked out independently of GL:
// the perspective and look-at transforms of the view's camera (50 degree
// vertical field of view, near 1, far 99999, looking at the origin with +z
// up), to window pixels with the origin at the bottom-left.
#pragma once

#include <cmath>

struct ViewCamera {
    double eye[3];
    int width, height;
};

struct Point2 {
    double x, y;
};

struct Mat4 {
    double m[4][4];  // row, column
};

inline Mat4 camera_matrix(const ViewCamera& c) {
    const double pi = 3.14159265358979323846;
    double aspect = double(c.width) / double(c.height > 0 ? c.height : 1);
    double f = 1.0 / std::tan(50.0 * pi / 360.0), n = 1.0, fa = 99999.0;
    Mat4 p{};
    p.m[0][0] = f / aspect;
    p.m[1][1] = f;
    p.m[2][2] = (fa + n) / (n - fa);
    p.m[2][3] = 2 * fa * n / (n - fa);
    p.m[3][2] = -1;
    const double* e = c.eye;
    double fw[3] = {-e[0], -e[1], -e[2]};
    double fl = std::sqrt(fw[0] * fw[0] + fw[1] * fw[1] + fw[2] * fw[2]);
    for (double& v : fw) v /= fl;
    double s[3] = {fw[1], -fw[0], 0};  // fw x (0, 0, 1)
    double sl = std::sqrt(s[0] * s[0] + s[1] * s[1]);
    for (double& v : s) v /= sl;
    double u[3] = {s[1] * fw[2] - s[2] * fw[1], s[2] * fw[0] - s[0] * fw[2], s[0] * fw[1] - s[1] * fw[0]};
    Mat4 l{};
    for (int j = 0; j < 3; ++j) {
        l.m[0][j] = s[j];
        l.m[1][j] = u[j];
        l.m[2][j] = -fw[j];
    }
    l.m[0][3] = -(s[0] * e[0] + s[1] * e[1] + s[2] * e[2]);
    l.m[1][3] = -(u[0] * e[0] + u[1] * e[1] + u[2] * e[2]);
    l.m[2][3] = fw[0] * e[0] + fw[1] * e[1] + fw[2] * e[2];
    l.m[3][3] = 1;
    Mat4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) r.m[i][j] += p.m[i][k] * l.m[k][j];
    return r;
}

inline Point2 project(const Mat4& m, const ViewCamera& c, double x, double y, double z) {
    double in[4] = {x, y, z, 1}, out[4] = {};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k) out[i] += m.m[i][k] * in[k];
    return {(out[0] / out[3] + 1) * c.width / 2, (out[1] / out[3] + 1) * c.height / 2};
}
