#include "astro/FrameRotation.h"

#include "astro/Fatal.h"

#include <cmath>

void RotMat(int axis, double angle, double R[3][3], double dR[3][3]) {
    if (axis < 1 || axis > 3) FatalMessage("RotMat: axis not valid.\n");
    const double c = std::cos(angle), s = std::sin(angle);
    // The two other axes, in cyclic order after the rotation axis.
    const int a = axis % 3, b = (axis + 1) % 3, k = axis - 1;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) R[i][j] = dR[i][j] = 0;
    }
    R[k][k] = 1;
    R[a][a] = c;
    R[a][b] = s;
    R[b][a] = -s;
    R[b][b] = c;
    dR[a][a] = -s;
    dR[a][b] = c;
    dR[b][a] = -c;
    dR[b][b] = -s;
}

void RotateState(const double in[6], int axis, double angle, double rate, double out[6]) {
    double R[3][3], dR[3][3];
    RotMat(axis, angle, R, dR);
    double result[6];
    for (int i = 0; i < 3; ++i) {
        double p = 0, v = 0;
        for (int j = 0; j < 3; ++j) {
            p += R[i][j] * in[j];
            v += R[i][j] * in[3 + j] + rate * dR[i][j] * in[j];
        }
        result[i] = p;
        result[3 + i] = v;
    }
    for (int i = 0; i < 6; ++i) out[i] = result[i];
}
