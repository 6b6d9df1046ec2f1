#include "render/MatrixMath.h"

#include <cmath>
#include <utility>

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

void loadIdentity(float m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = kIdentity[i];
}

void rotationMatrix(float degrees, float x, float y, float z, float out[16]) {
    loadIdentity(out);
    const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (length == 0) return;
    const double a = degrees * 0.017453292519943295;
    const double s = std::sin(a), c = std::cos(a), t = 1 - c;
    const double ux = x / length, uy = y / length, uz = z / length;
    // out[column * 4 + row]
    out[0] = float(c + t * ux * ux);
    out[1] = float(t * ux * uy + uz * s);
    out[2] = float(t * ux * uz - uy * s);
    out[4] = float(t * ux * uy - uz * s);
    out[5] = float(c + t * uy * uy);
    out[6] = float(t * uy * uz + ux * s);
    out[8] = float(t * ux * uz + uy * s);
    out[9] = float(t * uy * uz - ux * s);
    out[10] = float(c + t * uz * uz);
}

bool invertMatrix(const float in[16], float out[16]) {
    // Rows of the augmented matrix [M | I], exchanged by reference while pivoting.
    double rows[4][8];
    double* r[4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            rows[i][j] = in[j * 4 + i];
            rows[i][4 + j] = i == j ? 1 : 0;
        }
        r[i] = rows[i];
    }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int i = column + 1; i < 4; ++i) {
            if (std::fabs(r[i][column]) > std::fabs(r[pivot][column])) pivot = i;
        }
        std::swap(r[column], r[pivot]);
        if (r[column][column] == 0) return false;
        for (int i = column + 1; i < 4; ++i) {
            const double factor = r[i][column] / r[column][column];
            for (int j = column; j < 8; ++j) r[i][j] -= factor * r[column][j];
        }
    }
    for (int column = 3; column >= 0; --column) {
        const double pivot = r[column][column];
        for (int j = 0; j < 8; ++j) r[column][j] /= pivot;
        for (int i = 0; i < column; ++i) {
            const double factor = r[i][column];
            for (int j = 0; j < 8; ++j) r[i][j] -= factor * r[column][j];
        }
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) out[j * 4 + i] = float(r[i][4 + j]);
    }
    return true;
}

void normalize(float v[3]) {
    float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0) length = 1;
    for (int i = 0; i < 3; ++i) v[i] /= length;
}

void lookAtFrame(float direction[3], float out[16]) {
    normalize(direction);
    const float up[3] = {0, 1, 0};
    float x[3], y[3];
    Cross(up, direction, x);
    normalize(x);
    Cross(direction, x, y);
    normalize(y);
    const float columns[4][3] = {{x[0], x[1], x[2]}, {y[0], y[1], y[2]},
                                 {direction[0], direction[1], direction[2]}, {0, 0, 0}};
    for (int c = 0; c < 4; ++c) {
        for (int i = 0; i < 3; ++i) out[c * 4 + i] = columns[c][i];
        out[c * 4 + 3] = c == 3 ? 1.0f : 0.0f;
    }
}

void multiplyMatrix(const float a[16], const float b[16], float out[16]) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + r] * b[c * 4 + k];
            out[c * 4 + r] = sum;
        }
    }
}

void rotateVector(const float m[16], const float v[3], float out[3]) {
    for (int r = 0; r < 3; ++r) out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2];
}
