// Reading a rendered picture back from OpenGL.
#pragma once

#include <cstdint>
#include <vector>

// The current framebuffer's w x h pixels as packed blue-green-red rows, bottom row first.
// Read through OpenGL in a stated order (a DIB's own byte order differs between Windows'
// OpenGL and others); four bytes a pixel, the layout of the framebuffers themselves.
std::vector<uint8_t> ReadPixelsBgr(int width, int height);
