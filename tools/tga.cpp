// Uncompressed 24-bit TGA writer: an 18-byte header, then BGR rows from the top down.
#include "tga.h"

#include <array>
#include <fstream>
#include <stdexcept>

namespace assets {

namespace {

void PutLe16(std::array<uint8_t, 18>& header, size_t at, int value) {
  header[at] = static_cast<uint8_t>(value & 0xFF);
  header[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

void WriteTga(const std::filesystem::path& path, const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0 || image.width > 0xFFFF || image.height > 0xFFFF ||
      image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3) {
    throw std::runtime_error("bad picture size for " + path.string());
  }
  std::array<uint8_t, 18> header{};
  header[2] = 2;  // uncompressed true colour
  PutLe16(header, 12, image.width);
  PutLe16(header, 14, image.height);
  header[16] = 24;    // bits per pixel
  header[17] = 0x20;  // rows stored top first; no alpha bits

  std::vector<uint8_t> body(image.rgb.size());
  for (size_t i = 0; i < body.size(); i += 3) {
    body[i + 0] = image.rgb[i + 2];
    body[i + 1] = image.rgb[i + 1];
    body[i + 2] = image.rgb[i + 0];
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(header.data()), header.size());
  out.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace assets
