// Finding the font file for a family name through fontconfig. Internal to platform/.
#pragma once

#include <string>

typedef struct _FcConfig FcConfig;

namespace platform {

struct FontFile {
  std::string path;
  bool bold = false;  // the file itself is of a bold weight
};

// The system's font configuration, loaded on first use and let go with the object (the
// library's shared default configuration would never be freed).
class FontLookup {
 public:
  FontLookup() = default;
  ~FontLookup();
  FontLookup(const FontLookup&) = delete;
  FontLookup& operator=(const FontLookup&) = delete;

  // The installed file that best matches `family` (bold when asked); false when
  // fontconfig offers nothing at all.
  bool Find(const std::string& family, bool bold, FontFile& out);

 private:
  FcConfig* config_ = nullptr;
};

}  // namespace platform
