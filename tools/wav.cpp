// RIFF/WAVE writer: a "fmt " chunk for 16-bit PCM mono and one "data" chunk.
#include "wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>

namespace assets {

namespace {

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void WriteWav(const std::filesystem::path& path, const std::vector<float>& samples, int rate) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out = "RIFF";
  Put(out, 36 + data_bytes, 4);
  out += "WAVEfmt ";
  Put(out, 16, 4);  // chunk size
  Put(out, 1, 2);   // PCM
  Put(out, 1, 2);   // mono
  Put(out, static_cast<uint32_t>(rate), 4);
  Put(out, static_cast<uint32_t>(rate * 2), 4);  // bytes per second
  Put(out, 2, 2);                                // block align
  Put(out, 16, 2);                               // bits per sample
  out += "data";
  Put(out, data_bytes, 4);
  for (float s : samples) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    Put(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xFFFF, 2);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace assets
