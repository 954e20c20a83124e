// The game's four sound effects, synthesized.
#pragma once

#include <filesystem>
#include <vector>

namespace assets {

std::vector<float> LandingThud();    // a piece lands
std::vector<float> RowChime();       // rows completed
std::vector<float> RotateBlip();     // a piece turns
std::vector<float> LevelArpeggio();  // the level rises

// Sounds/coll.wav, line.wav, rot.wav and lvl.wav.
void WriteSounds(const std::filesystem::path& sounds);

}  // namespace assets
