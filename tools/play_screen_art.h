// The play screen's pictures: the background under the wells, the overlay with the wells cut
// out, and the grid drawn over a well.
#pragma once

#include <filesystem>

#include "lettering.h"

namespace assets {

// Texs/frames.tga and Texs/main.tga (800 x 600) and Texs/Grid.tga (200 x 400).
void WritePlayScreenPictures(const std::filesystem::path& texs, Lettering& lettering);

}  // namespace assets
