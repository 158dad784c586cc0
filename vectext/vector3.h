// The one vector type: operands and results of the calculator, the camera
// direction, and the vectors and offsets of the view.
#pragma once

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
