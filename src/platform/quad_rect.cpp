// Which quads are upright pictures (see quad_rect.h).
#include "platform/quad_rect.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

bool Whole(float v) {
  return v == std::floor(v);
}

}  // namespace

bool AsUprightRect(const Vertex v[4], int tex_w, int tex_h, UprightRect& out) {
  float left = v[0].x, right = v[0].x, top = v[0].y, bottom = v[0].y;
  for (int i = 1; i < 4; ++i) {
    if (v[i].color != v[0].color) return false;
    left = std::min(left, v[i].x);
    right = std::max(right, v[i].x);
    top = std::min(top, v[i].y);
    bottom = std::max(bottom, v[i].y);
  }
  if (!(right > left && bottom > top)) return false;
  // Texture u of the left and right sides, v of the top and bottom; -1 until seen.
  float u[2] = {-1, -1}, tv[2] = {-1, -1};
  int corners = 0;
  for (int i = 0; i < 4; ++i) {
    bool is_left = v[i].x == left, is_top = v[i].y == top;
    if ((!is_left && v[i].x != right) || (!is_top && v[i].y != bottom)) return false;
    corners |= 1 << ((is_left ? 0 : 1) + (is_top ? 0 : 2));
    float& side_u = u[is_left ? 0 : 1];
    float& side_v = tv[is_top ? 0 : 1];
    if ((side_u >= 0 && side_u != v[i].u) || (side_v >= 0 && side_v != v[i].v)) return false;
    side_u = v[i].u;
    side_v = v[i].v;
  }
  if (corners != 0xF || u[0] < 0 || tv[0] < 0 || u[1] > 1 || tv[1] > 1) return false;
  if (!(u[1] > u[0]) || !(tv[1] > tv[0])) return false;
  float sx = u[0] * tex_w, sy = tv[0] * tex_h;
  float sw = (u[1] - u[0]) * tex_w, sh = (tv[1] - tv[0]) * tex_h;
  if (!Whole(sx) || !Whole(sy) || !Whole(sw) || !Whole(sh)) return false;
  out = UprightRect{left,
                    top,
                    right - left,
                    bottom - top,
                    static_cast<int>(sx),
                    static_cast<int>(sy),
                    static_cast<int>(sw),
                    static_cast<int>(sh)};
  return true;
}

}  // namespace platform
