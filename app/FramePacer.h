// Spaces the frames of an animation so that it costs at most a given share of one core. Where
// OpenGL draws in software a frame of the spinning globe costs milliseconds, and drawing one
// every `period` would take a large part of a core; the globe's angle follows the clock, so
// fewer frames spin it as fast, only less smoothly. With a graphics card nothing changes.
#pragma once

class FramePacer {
public:
    // Frames every `periodSeconds` at best, every `longestSeconds` at worst, aiming for at
    // most `share` of one core (0.1: a tenth); intervals are whole `quantumSeconds` (the timer's
    // step), rounded up, so that the interval kept is the one measured.
    FramePacer(double periodSeconds, double longestSeconds, double share, double quantumSeconds)
        : period_(periodSeconds), longest_(longestSeconds), share_(share), quantum_(quantumSeconds),
          interval_(periodSeconds) {}

    // The interval to keep between frames now, from the CPU seconds the process has used so far
    // (all its threads: OpenGL's own draw too) and a clock's seconds. Once a second it compares
    // the two and stretches or shrinks the interval in proportion.
    double interval(double cpuSeconds, double clockSeconds);

private:
    double period_, longest_, share_, quantum_;
    double interval_;
    bool started_ = false;
    double cpuAtStart_ = 0, clockAtStart_ = 0;
};
