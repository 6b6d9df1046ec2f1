// 4 x 4 single-precision matrices in OpenGL's column-major order, and 3-float vectors.
#pragma once

using Matrix4 = float[16];

// Copies the identity matrix.
void loadIdentity(float m[16]);

// The rotation by `degrees` about the axis (x, y, z), as OpenGL's rotate multiplies by; the
// identity for a zero axis.
void rotationMatrix(float degrees, float x, float y, float z, float out[16]);

// The inverse of a general matrix by Gauss-Jordan elimination with partial pivoting; false
// when the matrix is singular (`out` is then unspecified).
bool invertMatrix(const float in[16], float out[16]);

// Scales a vector to unit length in place; a zero vector stays as it is.
void normalize(float v[3]);

// Normalises `direction` in place and gives the frame whose z axis points along it, with x
// perpendicular to it and to (0, 1, 0): a marker drawn at +z lands on `direction`.
void lookAtFrame(float direction[3], float out[16]);

// out = a b (out may alias neither).
void multiplyMatrix(const float a[16], const float b[16], float out[16]);

// The rotation part of m applied to v.
void rotateVector(const float m[16], const float v[3], float out[3]);
