// Writing pictures as uncompressed 24-bit TGA files, the format the game's texture loader reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace assets {

// Tightly packed 8-bit RGB rows, top row first.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// Writes `image` as an uncompressed true-colour TGA (rows top first, BGR order). Throws
// std::runtime_error when the file cannot be written.
void WriteTga(const std::filesystem::path& path, const RgbImage& image);

}  // namespace assets
