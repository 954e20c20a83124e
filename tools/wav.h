// Writing 16-bit PCM mono wave files, the format the game's sound effects load from.
#pragma once

#include <filesystem>
#include <vector>

namespace assets {

// Samples in [-1, 1] (clipped beyond) at `rate` Hz. Throws std::runtime_error on failure.
void WriteWav(const std::filesystem::path& path, const std::vector<float>& samples, int rate);

}  // namespace assets
