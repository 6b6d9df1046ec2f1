// Rotations of the coordinate frame, applied to positions and velocities together.
#pragma once

// Rotation of the frame about axis 1 (x), 2 (y) or 3 (z) by `angle` (radians), and its
// derivative by the angle. Any other axis ends the process.
void RotMat(int axis, double angle, double R[3][3], double dR[3][3]);

// out = the state `in` (position, velocity) in the frame rotated by `angle` about `axis`,
// turning at `rate` (radians per day): position' = R p, velocity' = R v + rate dR p.
void RotateState(const double in[6], int axis, double angle, double rate, double out[6]);
