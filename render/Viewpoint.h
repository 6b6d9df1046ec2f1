// The eight viewpoints of the globe, the ticking and spinning angle, and the mouse-drag
// orientation.
#pragma once

// The orientation the user gives the globe by dragging it (viewpoint 6).
struct DragOrientation {
    float offset[3] = {0, 0, 0};
    float forward[3] = {0, 0, 1};
    float up[3] = {0, 1, 0};

    // Columns (up x forward, 0), (up, 0), (forward, 0), (offset, 1).
    void matrix(float out[16]) const;
    // Half a degree per pixel: vertical motion about the screen's x axis, horizontal about y.
    void drag(int dx, int dy);
    // The first view: the globe turned by 180 degrees about its axis.
    void turnHalf();
    // The globe seen over a place (degrees), as the over-home viewpoint shows the home; the
    // user drags on from there.
    void lookOver(float latitude, float longitude);
};

// What the viewpoint transform depends on.
struct ViewInputs {
    int viewpoint;
    float theta;               // Greenwich sidereal time, degrees
    const float* sunInverse;   // inverse of lookAtFrame(Sun direction)
    const float* moonInverse;  // inverse of lookAtFrame(Moon direction)
    float homeLatitude, homeLongitude;  // degrees
    const float* drag;         // DragOrientation matrix
    float spinAngle;           // degrees, viewpoints 5 and 7
};

// The rotations of the viewpoint, composed in the order they are applied after the camera
// translation. Unknown viewpoints behave as From Sun.
void ViewpointMatrix(const ViewInputs& in, float out[16]);

// Ticking globe: one degree per frame, back to 1 after 360.
float TickAngle(float angle);

// Spinning globe: 1.4 degrees per second per step of speed; past 360 it restarts at
// speed x 0.033333335.
float SpinAngle(float angle, double elapsedSeconds, int speed);
