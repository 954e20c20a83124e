// Counters that stop at the top of their width instead of overflowing: a score or a line
// count at its limit simply stays there.
#pragma once

#include <cstdint>
#include <limits>

namespace brikka {

inline void SaturatingAdd(int32_t& counter, long long amount) {
  long long r = static_cast<long long>(counter) + amount;
  if (r > std::numeric_limits<int32_t>::max()) r = std::numeric_limits<int32_t>::max();
  if (r < std::numeric_limits<int32_t>::min()) r = std::numeric_limits<int32_t>::min();
  counter = static_cast<int32_t>(r);
}

inline void SaturatingAdd(int16_t& counter, int amount) {
  int r = counter + amount;
  if (r > std::numeric_limits<int16_t>::max()) r = std::numeric_limits<int16_t>::max();
  if (r < std::numeric_limits<int16_t>::min()) r = std::numeric_limits<int16_t>::min();
  counter = static_cast<int16_t>(r);
}

}  // namespace brikka
