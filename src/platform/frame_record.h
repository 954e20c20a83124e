// One frame's drawing kept as the list of its calls, so that a frame the same as the one on
// the screen need not be drawn and shown again, or so that it can be drawn later.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display.h"

namespace platform {

class FrameRecord {
 public:
  void Clear(uint32_t color);
  void Quad(const Vertex v[4], const Texture* tex);
  void Text(const Font& font, const std::string& text, int left, int top, int right, int bottom,
            uint32_t color, bool center);
  // Makes every call again, in order, on `sink` (anything with the device's Clear, DrawQuad
  // and DrawText).
  template <class Sink>
  void Replay(Sink& sink) const;
  void Forget() { calls_.clear(); }
  bool operator==(const FrameRecord& other) const { return calls_ == other.calls_; }

 private:
  // Textures and fonts are told apart by address: the device keeps every one it made for
  // as long as it lives, and their pixels change only with a reset, which redraws anyway.
  struct Call {
    enum Kind { kClear, kQuad, kText } kind = kClear;
    uint32_t color = 0;
    Vertex v[4]{};
    const Texture* tex = nullptr;
    const Font* font = nullptr;
    std::string text;
    int rect[4]{};
    bool center = false;
    bool operator==(const Call& o) const;
  };
  std::vector<Call> calls_;
};

template <class Sink>
void FrameRecord::Replay(Sink& sink) const {
  for (const Call& c : calls_) {
    if (c.kind == Call::kClear) {
      sink.Clear(c.color);
    } else if (c.kind == Call::kQuad) {
      sink.DrawQuad(c.v, c.tex);
    } else {
      sink.DrawText(*c.font, c.text, c.rect[0], c.rect[1], c.rect[2], c.rect[3], c.color, c.center);
    }
  }
}

}  // namespace platform
