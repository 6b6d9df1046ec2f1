// Reading a rendered picture back from OpenGL.
#pragma once

#include <cstdint>
#include <vector>

// The current framebuffer's w x h pixels as packed blue-green-red rows, bottom row first.
// Read as RGBA, the one format every implementation returns the same way (a DIB's own byte
// order differs between Windows' OpenGL and others).
std::vector<uint8_t> ReadPixelsBgr(int width, int height);
