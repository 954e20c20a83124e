// The one random generator of a run, seeded once.
#pragma once

#include <cstdint>
#include <random>

namespace platform {

class Random {
 public:
  explicit Random(uint64_t seed = 1) : gen_(seed) {}
  void Seed(uint64_t seed) { gen_.seed(seed); }
  // Uniform in [0, 1).
  double Rnd() { return std::generate_canonical<double, 53>(gen_); }

 private:
  std::mt19937_64 gen_;
};

}  // namespace platform
