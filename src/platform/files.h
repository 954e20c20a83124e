// The application folder, asset look-up and safe file replacement.
#pragma once

#include <string>

namespace platform {

// The folder the running executable lives in, without a trailing separator.
std::string ExecutableFolder();

// Turns a game path such as "\Texs\Block.tga" below `folder` into a real path: '\' becomes
// '/', and each component is matched without regard to case when the exact name is not
// there. Returns the joined path unchanged when nothing matches.
std::string ResolvePath(const std::string& folder, const std::string& game_path);

// Writes `bytes` to a temporary file beside `path`, flushes it and renames it over `path`:
// readers see the old file or the new one, never half of one. False on any failure, in
// which case `path` is untouched and no temporary file is left behind.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// A file's name without its folder and extension: "/x/Sounds/coll.wav" -> "coll".
std::string FileStem(const std::string& path);

// A fresh folder only we can enter, under the system's temporary folder, removed with all
// it holds when this object goes.
class PrivateFolder {
 public:
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  // Empty when the folder could not be made.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace platform
