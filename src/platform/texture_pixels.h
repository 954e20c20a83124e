// Pixel work done on a picture before it becomes a texture: the colour key and the
// linear scaling to the size the game asks for. Pure functions on ARGB arrays.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Straight (not premultiplied) 0xAARRGGBB pixels, row by row from the top.
struct ArgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// Texels whose colour equals the key's red, green and blue become fully transparent.
void ApplyColourKey(ArgbImage& image, uint32_t color_key);

// Scales to w x h with a linear filter (a tent filter that widens when shrinking, so a
// picture reduced a lot is averaged rather than sampled). Colours are weighted by alpha,
// so transparent texels give no colour to their neighbours and edges stay clean.
ArgbImage ScaleLinear(const ArgbImage& source, int w, int h);

}  // namespace platform
