// A frame's recorded drawing: any change in any call makes another frame (or the window
// would keep showing a stale one), and the calls are made again in their order.
#include "platform/frame_record.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

struct FakeTexture : Texture {
  int Width() const override { return 1; }
  int Height() const override { return 1; }
};
struct FakeFont : Font {};

FakeTexture tex_a, tex_b;
FakeFont font_a, font_b;

// One frame: a clear, a picture and a text, each call's every argument open to change.
struct Frame {
  uint32_t clear = 0xFF000000;
  Vertex corner{5, 0, 0xFFFFFFFF, 0, 0};  // the top-left one; the others follow it
  const Texture* tex = &tex_a;
  const Font* font = &font_a;
  std::string text = "Score";
  int left = 1;
  uint32_t text_colour = 0xFFFFFFFF;
  bool center = false, text_first = false, one_more = false;

  FrameRecord Record() const {
    FrameRecord r;
    r.Clear(clear);
    Vertex v[4];
    for (int i = 0; i < 4; ++i)
      v[i] = {corner.x + (i % 2) * 10, corner.y + (i / 2) * 10, corner.color, corner.u, corner.v};
    if (!text_first) r.Quad(v, tex);
    r.Text(*font, text, left, 2, 3, 4, text_colour, center);
    if (text_first) r.Quad(v, tex);
    if (one_more) r.Quad(v, nullptr);
    return r;
  }
};

TEST(FrameRecord, EveryChangeMakesAnotherFrame) {
  const FrameRecord base = Frame().Record();
  EXPECT_TRUE(Frame().Record() == base);
  const std::pair<const char*, void (*)(Frame&)> changes[] = {
      {"clear colour", [](Frame& f) { f.clear = 0xFF000001; }},
      {"quad x", [](Frame& f) { f.corner.x += 1; }},
      {"quad y", [](Frame& f) { f.corner.y += 1; }},
      {"quad colour", [](Frame& f) { f.corner.color = 0xFF7B7B7B; }},
      {"texture coordinate u", [](Frame& f) { f.corner.u = 0.5f; }},
      {"texture coordinate v", [](Frame& f) { f.corner.v = 0.5f; }},
      {"texture", [](Frame& f) { f.tex = &tex_b; }},
      {"font", [](Frame& f) { f.font = &font_b; }},
      {"string", [](Frame& f) { f.text = "Scor"; }},
      {"text place", [](Frame& f) { f.left = 0; }},
      {"text colour", [](Frame& f) { f.text_colour = 0xFFFF0000; }},
      {"centred", [](Frame& f) { f.center = true; }},
      {"order", [](Frame& f) { f.text_first = true; }},
      {"one more call", [](Frame& f) { f.one_more = true; }},
  };
  for (const auto& [name, change] : changes) {
    Frame f;
    change(f);
    EXPECT_FALSE(f.Record() == base) << name;
  }
}

TEST(FrameRecord, ReplaysEveryCallInOrderAndForgets) {
  struct Sink {
    std::string calls;
    void Clear(uint32_t) { calls += "clear "; }
    void DrawQuad(const Vertex v[4], const Texture* t) {
      calls += "quad " + std::to_string(static_cast<int>(v[3].x)) + (t == &tex_a ? "a " : "? ");
    }
    void DrawText(const Font&, const std::string& s, int l, int, int, int, uint32_t, bool) {
      calls += s + std::to_string(l);
    }
  } sink;
  FrameRecord r = Frame().Record();
  r.Replay(sink);
  EXPECT_EQ(sink.calls, "clear quad 15a Score1");
  r.Forget();
  EXPECT_TRUE(r == FrameRecord());
}

}  // namespace
}  // namespace platform
