// The bevelled block: the game's Block.tga and the same look for pieces drawn into other pictures.
#pragma once

#include <filesystem>

#include "canvas.h"

namespace assets {

// The seven piece colours the game tints blocks with, type 1 to 7.
Rgb PieceColour(int type);

// A size x size block, light grey so the game's vertex colour tints it, multiplied by `tint`.
Canvas MakeBlockTile(int size, Rgb tint);

// Draws a piece of `type` (1..7) from its cells' top-left corner (x, y), turned `quarter_turns`
// times clockwise, with cells of `cell` pixels.
void DrawPiece(Canvas& canvas, int type, int x, int y, int cell, int quarter_turns, Rgb colour,
               float opacity = 1);

// Texs/Block.tga, 20 x 20.
void WriteBlockPicture(const std::filesystem::path& texs);

}  // namespace assets
