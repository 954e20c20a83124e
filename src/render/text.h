// `cText`: one font of the screens and its line drawing, and the number formats the screens
// write with it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/display.h"

namespace brikka {

// The rectangle a line is drawn in (Left and Top inclusive, Right and Bottom exclusive).
struct TextRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class cText {
 public:
  // Keeps name, size (points) and weight, and makes the font on the device.
  void init(const std::string& FName, int16_t FSize, bool FBold, platform::Device* d3ddevice);
  // Draws one line in the rectangle estimated from the place, the size and the length,
  // left-aligned or centred in it, clipped to it. The device of init/Reload draws, as a
  // font belongs to the device it was made on.
  void Render(platform::Device* d3ddevice, const std::string& strText, float StartX, float StartY,
              uint32_t color, bool JCenter);
  // Lets the device's font go; name, size and weight stay for Reload.
  void Destroy();
  // Makes the font again from the kept name, size and weight.
  void Reload(platform::Device* d3ddevice);

  // The rectangle of the last Render.
  const TextRect& Rect() const { return rect_; }
  const std::string& Name() const { return name_; }
  int16_t Size() const { return size_; }
  bool Bold() const { return bold_; }
  bool Loaded() const { return font_ != nullptr; }

  // The rectangle rule on its own.
  static TextRect RectFor(float StartX, float StartY, int16_t size, size_t length);

 private:
  std::string name_;
  int16_t size_ = 0;
  bool bold_ = false;
  platform::Device* device_ = nullptr;
  platform::FontRef font_;
  TextRect rect_;
};

// A whole number with no decimals and its thousands grouped by `separator`.
std::string FormatNumber(int64_t value, const std::string& separator);
// The same with the user's thousands separator.
std::string FormatNumber(int64_t value);

}  // namespace brikka
