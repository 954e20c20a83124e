// A frame's drawing calls: recorded and compared.
#include "platform/frame_record.h"

#include <algorithm>

namespace platform {
namespace {
bool SameVertex(const Vertex& a, const Vertex& b) {
  return a.x == b.x && a.y == b.y && a.color == b.color && a.u == b.u && a.v == b.v;
}
}  // namespace

bool FrameRecord::Call::operator==(const Call& o) const {
  return kind == o.kind && color == o.color && std::equal(v, v + 4, o.v, SameVertex) &&
         tex == o.tex && font == o.font && text == o.text && std::equal(rect, rect + 4, o.rect) &&
         center == o.center;
}

void FrameRecord::Clear(uint32_t color) {
  Call& c = calls_.emplace_back();
  c.kind = Call::kClear;
  c.color = color;
}

void FrameRecord::Quad(const Vertex v[4], const Texture* tex) {
  Call& c = calls_.emplace_back();
  c.kind = Call::kQuad;
  std::copy(v, v + 4, c.v);
  c.tex = tex;
}

void FrameRecord::Text(const Font& font, const std::string& text, int left, int top, int right,
                       int bottom, uint32_t color, bool center) {
  Call& c = calls_.emplace_back();
  c.kind = Call::kText;
  c.font = &font;
  c.text = text;
  c.rect[0] = left, c.rect[1] = top, c.rect[2] = right, c.rect[3] = bottom;
  c.color = color;
  c.center = center;
}

}  // namespace platform
