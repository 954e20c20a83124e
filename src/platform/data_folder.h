// Where the game keeps its settings (Data.ini) and its highscore file.
#pragma once

#include <string>

namespace platform {

// The program folder itself when new files can be made there: a game built or unpacked
// anywhere keeps its files beside it, as it always has. An installed game whose folder is
// not ours to write keeps them in the user's data folder, $XDG_DATA_HOME/brikka or
// ~/.local/share/brikka, made when missing.
std::string DataFolder(const std::string& program_folder);

// The choice alone, from whether the program folder takes new files and the values of
// XDG_DATA_HOME and HOME (either may be null). A relative XDG_DATA_HOME counts as unset.
std::string ChooseDataFolder(const std::string& program_folder, bool program_folder_writable,
                             const char* xdg_data_home, const char* home);

// Whether a new file can be made in `folder`, found by making one and removing it again:
// permission bits alone would say yes to root even on a read-only file system.
bool CanCreateFilesIn(const std::string& folder);

}  // namespace platform
