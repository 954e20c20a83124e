// The one random generator of a run, seeded once.
#pragma once

#include <cstdint>
#include <random>

namespace platform {

class Random {
 public:
  explicit Random(uint64_t seed = 1) : gen_(seed), seed_(seed) {}
  void Seed(uint64_t seed) {
    gen_.seed(seed);
    seed_ = seed;
  }
  // The seed it was last given: a recording keeps it, so that a replay draws the same.
  uint64_t seed() const { return seed_; }
  // Uniform in [0, 1).
  double Rnd() { return std::generate_canonical<double, 53>(gen_); }

 private:
  std::mt19937_64 gen_;
  uint64_t seed_;
};

}  // namespace platform
