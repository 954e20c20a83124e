// The numeric conventions the game rules are written in: 16-bit Integers, 32-bit Longs,
// rounding half to even, VB-style truth values and the packed XRGB colour.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// Raised where a conversion or an Integer/Long sum leaves its range (run-time error 6).
struct Overflow : std::overflow_error {
  Overflow() : std::overflow_error("Overflow") {}
};

// True and False as the 16-bit truth values the settings file stores.
constexpr int16_t kVbTrue = -1;
constexpr int16_t kVbFalse = 0;
inline int16_t VbBool(bool b) { return b ? kVbTrue : kVbFalse; }
inline bool CBool(long long v) { return v != 0; }

// Round to the nearest whole number, halves to the even neighbour.
inline double RoundHalfEven(double v) { return std::nearbyint(v); }

inline int16_t CInt(double v) {
  double r = RoundHalfEven(v);
  if (!(r >= -32768.0 && r <= 32767.0)) throw Overflow();
  return static_cast<int16_t>(r);
}

inline int32_t CLng(double v) {
  double r = RoundHalfEven(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw Overflow();
  return static_cast<int32_t>(r);
}

// Sums that must stay inside an Integer or a Long.
inline int16_t AddInt(int16_t a, int b) {
  int r = a + b;
  if (r < -32768 || r > 32767) throw Overflow();
  return static_cast<int16_t>(r);
}
inline int32_t AddLng(int32_t a, long long b) {
  long long r = static_cast<long long>(a) + b;
  if (r < INT32_MIN || r > INT32_MAX) throw Overflow();
  return static_cast<int32_t>(r);
}

// Parses decimal text the way the settings reader accepts it: optional blanks, an optional
// sign, digits, optional blanks; nothing else. Returns false for anything that is not a
// whole number or does not fit in a double exactly enough to round.
bool ParseWholeNumber(const std::string& text, long long& out);

// 0xFF000000 + red * 65536 + green * 256 + blue.
constexpr uint32_t D3DColorXRGB(uint32_t r, uint32_t g, uint32_t b) {
  return 0xFF000000u | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}

// Tick counts wrap like the system's 32-bit millisecond counter; differences are taken
// modulo 2^32 and read as signed.
inline int32_t TickDiff(int32_t later, int32_t earlier) {
  return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

}  // namespace platform
