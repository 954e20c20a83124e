// `cText`: a font kept by name, size and weight so it can be dropped and made again with
// the device, its rectangle rule, and the game's five fonts dropped and remade together.
#include "render/text.h"

#include "game/frm_main.h"
#include "platform/locale_numbers.h"
#include "platform/numbers.h"

namespace brikka {

namespace {

// The font size is a currency value (four decimal places), so the bottom edge is summed
// in ten-thousandths before it is rounded to a whole pixel, halves to even.
int32_t CurrencyBottom(float StartY, int16_t size) {
  const double top = platform::RoundHalfEven(static_cast<double>(StartY) * 10000.0);
  const double sum = top + 2.0 * size * 10000.0;
  return platform::CLng(sum / 10000.0);
}

}  // namespace

TextRect cText::RectFor(float StartX, float StartY, int16_t size, size_t length) {
  TextRect r;
  r.Left = platform::CLng(StartX);
  r.Top = platform::CLng(StartY);
  r.Bottom = CurrencyBottom(StartY, size);
  r.Right = platform::CLng(StartX + 1.5 * size * static_cast<double>(length));
  return r;
}

void cText::init(const std::string& FName, int16_t FSize, bool FBold, platform::Device* d3ddevice) {
  name_ = FName;
  size_ = FSize;
  bold_ = FBold;
  Reload(d3ddevice);
}

void cText::Render(platform::Device* /*d3ddevice*/, const std::string& strText, float StartX,
                   float StartY, uint32_t color, bool JCenter) {
  rect_ = RectFor(StartX, StartY, size_, strText.size());
  // Between Destroy and Reload there is no font to draw with.
  if (!font_ || !device_) return;
  device_->DrawText(*font_, strText, rect_.Left, rect_.Top, rect_.Right, rect_.Bottom, color,
                    JCenter);
}

void cText::Destroy() {
  font_.reset();
}

// The device keeps every font it made, so making one again opens no file.
void cText::Reload(platform::Device* d3ddevice) {
  device_ = d3ddevice;
  font_.reset();
  if (!d3ddevice || name_.empty()) return;
  font_ = d3ddevice->CreateFont(name_, size_, bold_);
}

std::string FormatNumber(int64_t value, const std::string& separator) {
  const bool negative = value < 0;
  // Digits of the magnitude, worked unsigned so the most negative value has one too.
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string out = negative ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

std::string FormatNumber(int64_t value) {
  return FormatNumber(value, platform::ThousandsSeparator());
}

// Dropped before the device is reset and made again after it: the five fonts of the
// play screen and the highscore screen.
void frmMain::DestroyFonts() {
  for (cText* t : fonts.All()) t->Destroy();
}

void frmMain::ReloadFonts() {
  for (cText* t : fonts.All()) t->Reload(Device());
}

}  // namespace brikka
