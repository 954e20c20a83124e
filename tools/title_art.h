// The game's name lettered in piece colours: the menu title picture and the play screen's header.
#pragma once

#include <filesystem>

#include "canvas.h"
#include "lettering.h"

namespace assets {

// Draws "Brikka" centred on (cx, cy), sized so the lettering with its rim is about `height`
// pixels tall and at most `max_width` wide. Returns the width it took.
float DrawTitleWord(Canvas& canvas, Lettering& lettering, float cx, float cy, float height,
                    float max_width);

// Texs/brikka.tga, 480 x 72.
void WriteTitlePicture(const std::filesystem::path& texs, Lettering& lettering);

}  // namespace assets
