// The menu's full-screen background (shared with the highscore screen) and the mouse pointer.
#pragma once

#include <filesystem>

namespace assets {

// Texs/bck.tga (800 x 600) and Texs/cursor.tga (32 x 32).
void WriteMenuPictures(const std::filesystem::path& texs);

}  // namespace assets
