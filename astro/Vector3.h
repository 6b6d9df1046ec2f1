// A three-vector with the few operations the eclipse geometry needs.
#pragma once

#include <cmath>

struct Vector3 {
    double x = 0, y = 0, z = 0;

    Vector3() = default;
    Vector3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
    explicit Vector3(const double v[3]) : x(v[0]), y(v[1]), z(v[2]) {}

    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator*(double k) const { return {x * k, y * k, z * k}; }
    double dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 cross(const Vector3& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    double length() const { return std::sqrt(dot(*this)); }
    Vector3 unit() const { return *this * (1 / length()); }
    // The angle to another vector (radians), accurate at small angles too.
    double angleTo(const Vector3& o) const { return std::atan2(cross(o).length(), dot(o)); }
};
