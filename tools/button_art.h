// The menu and highscore buttons, each as an "up" picture and a pressed/switched-on "down" one.
#pragma once

#include <filesystem>

#include "lettering.h"

namespace assets {

// All the up_*.tga and down_*.tga button pictures.
void WriteButtonPictures(const std::filesystem::path& texs, Lettering& lettering);

}  // namespace assets
