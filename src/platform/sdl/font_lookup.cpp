// Font matching through fontconfig: the family name, as the game writes it, to a file.
#include "platform/sdl/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace platform {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

}  // namespace

FontLookup::~FontLookup() {
  if (config_) FcConfigDestroy(config_);
}

bool FontLookup::Find(const std::string& family, bool bold, FontFile& out) {
  // The system's configuration knows what stands in for a family that is not installed.
  if (!config_) config_ = FcInitLoadConfigAndFonts();
  PatternPtr pattern(FcPatternCreate());
  if (!config_ || !pattern) return false;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  if (!FcConfigSubstitute(config_, pattern.get(), FcMatchPattern)) return false;
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config_, pattern.get(), &result));
  if (!match) return false;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return false;
  int weight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
  out.path = reinterpret_cast<const char*>(file);
  out.bold = weight >= FC_WEIGHT_DEMIBOLD;
  return true;
}

}  // namespace platform
