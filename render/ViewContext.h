// The OpenGL context of an on-screen view (the earth clock window's), and the names of the
// driver that context comes from.
#pragma once

#include "render/GLTarget.h"

#include <string>

// Makes `target`'s context for a window: the display's accelerated format when `hardware`,
// else the generic software one, rendering off screen where the window has no double-buffered
// generic format (as under wine). The context is current afterwards; null when none could be made.
HGLRC CreateViewContext(GLTarget& target, HDC windowDC, bool hardware);

struct OpenGLDriverNames {
    std::string vendor, renderer, version;  // empty when no context could be made
};

// The driver a view made with `hardware` would use, asked of a context made the same way on a
// hidden window of its own. The thread's current context is current again afterwards.
OpenGLDriverNames DriverOfViewContext(bool hardware);
