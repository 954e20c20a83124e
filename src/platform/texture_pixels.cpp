// Colour key and alpha-weighted linear scaling of ARGB pictures.
#include "platform/texture_pixels.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {
namespace {

// Premultiplied colour in floating point: a, r*a, g*a, b*a, each 0..1.
using Premul = std::array<float, 4>;

Premul ToPremul(uint32_t p) {
  float a = static_cast<float>(p >> 24) / 255.0f;
  float r = static_cast<float>((p >> 16) & 0xFF) / 255.0f;
  float g = static_cast<float>((p >> 8) & 0xFF) / 255.0f;
  float b = static_cast<float>(p & 0xFF) / 255.0f;
  return {a, r * a, g * a, b * a};
}

uint32_t Channel(float v) {
  return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

uint32_t FromPremul(const Premul& c) {
  float a = c[0];
  if (a <= 0.5f / 255.0f) return 0;  // nothing visible: no colour either
  return Channel(a) << 24 | Channel(c[1] / a) << 16 | Channel(c[2] / a) << 8 | Channel(c[3] / a);
}

// The source taps and weights of one output position along an axis.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

Taps TapsFor(int out_index, int in_size, int out_size) {
  double scale = static_cast<double>(in_size) / out_size;
  double radius = std::max(1.0, scale);
  double centre = (out_index + 0.5) * scale - 0.5;
  int lo = static_cast<int>(std::ceil(centre - radius));
  int hi = static_cast<int>(std::floor(centre + radius));
  Taps taps;
  taps.first = lo;
  float total = 0;
  for (int i = lo; i <= hi; ++i) {
    float w = static_cast<float>(std::max(0.0, 1.0 - std::abs(i - centre) / radius));
    taps.weights.push_back(w);
    total += w;
  }
  if (total > 0) {
    for (float& w : taps.weights) w /= total;
  }
  return taps;
}

// One separable pass: resamples every line of `in` (lines of `in_len` premultiplied pixels,
// `lines` of them, element (line, i) at line * line_step + i * pixel_step) to `out_len`.
std::vector<Premul> Resample(const std::vector<Premul>& in, int in_len, int out_len, int lines,
                             bool along_rows) {
  std::vector<Premul> out(static_cast<size_t>(out_len) * lines);
  for (int o = 0; o < out_len; ++o) {
    Taps taps = TapsFor(o, in_len, out_len);
    for (int line = 0; line < lines; ++line) {
      Premul sum{0, 0, 0, 0};
      for (size_t k = 0; k < taps.weights.size(); ++k) {
        int i = std::clamp(taps.first + static_cast<int>(k), 0, in_len - 1);
        size_t at = along_rows ? static_cast<size_t>(line) * in_len + i
                               : static_cast<size_t>(i) * lines + line;
        for (int c = 0; c < 4; ++c) sum[c] += in[at][c] * taps.weights[k];
      }
      size_t to = along_rows ? static_cast<size_t>(line) * out_len + o
                             : static_cast<size_t>(o) * lines + line;
      out[to] = sum;
    }
  }
  return out;
}

}  // namespace

void ApplyColourKey(ArgbImage& image, uint32_t color_key) {
  const uint32_t key = color_key & 0xFFFFFF;
  for (uint32_t& p : image.pixels) {
    if ((p & 0xFFFFFF) == key) p = 0;
  }
}

ArgbImage ScaleLinear(const ArgbImage& source, int w, int h) {
  ArgbImage out;
  if (w <= 0 || h <= 0 || source.width <= 0 || source.height <= 0) return out;
  out.width = w;
  out.height = h;
  if (w == source.width && h == source.height) {
    out.pixels = source.pixels;
    return out;
  }
  std::vector<Premul> premul(source.pixels.size());
  std::transform(source.pixels.begin(), source.pixels.end(), premul.begin(), ToPremul);
  // Rows first (width changes), then columns (height changes).
  std::vector<Premul> wide = Resample(premul, source.width, w, source.height, true);
  std::vector<Premul> done = Resample(wide, source.height, h, w, false);
  out.pixels.resize(done.size());
  std::transform(done.begin(), done.end(), out.pixels.begin(), FromPremul);
  return out;
}

}  // namespace platform
