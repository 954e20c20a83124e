// The desktop icon: a piece above a settled stack on the night-blue tile, as PNG files of the
// usual icon-theme sizes.
#pragma once

#include <filesystem>

namespace assets {

// ICONDIR/hicolor/NxN/apps/brikka.png for each size N of the hicolor theme's usual set.
void WriteIcons(const std::filesystem::path& icon_dir);

}  // namespace assets
