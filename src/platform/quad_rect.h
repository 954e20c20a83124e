// Recognising the quads that are plain upright pictures, which can be drawn as rectangle
// copies instead of two triangles. Internal to platform/.
#pragma once

#include "platform/display.h"

namespace platform {

struct UprightRect {
  float x = 0, y = 0, w = 0, h = 0;                // on the screen
  int src_x = 0, src_y = 0, src_w = 0, src_h = 0;  // in texels
};

// True when the quad is an axis-aligned rectangle of one colour whose texture runs left
// to right and top to bottom over whole texels, however its corners are numbered (a turn
// that moved both the corners and the texture coordinates leaves the picture upright).
// False for a turned or mirrored picture, mixed colours, or texture coordinates outside
// 0..1.
bool AsUprightRect(const Vertex v[4], int tex_w, int tex_h, UprightRect& out);

}  // namespace platform
