// Envelopes, noise, filtering and levelling for the synthesized effects.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assets {

float AttackDecay(float t, float attack, float decay) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

float NoteHz(float note) {
  return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

float Noise::Next() {
  // xorshift32: fast, and the same sequence on every build.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<float>(state_) / 2147483648.0f - 1.0f;
}

LowPass::LowPass(float cutoff_hz)
    : a_(1.0f - std::exp(-2.0f * std::numbers::pi_v<float> * cutoff_hz / kSampleRate)) {}

void NormalizePeak(std::vector<float>& samples, float peak_dbfs) {
  float peak = 0;
  for (float s : samples) peak = std::max(peak, std::fabs(s));
  if (peak <= 0) return;
  const float gain = std::pow(10.0f, peak_dbfs / 20.0f) / peak;
  for (float& s : samples) s *= gain;
}

void FadeEdges(std::vector<float>& samples, float fade_in_s, float fade_out_s) {
  const size_t n = samples.size();
  const size_t in = std::min(n, static_cast<size_t>(fade_in_s * kSampleRate));
  const size_t out = std::min(n, static_cast<size_t>(fade_out_s * kSampleRate));
  for (size_t i = 0; i < in; ++i) samples[i] *= static_cast<float>(i) / in;
  for (size_t i = 0; i < out; ++i) samples[n - 1 - i] *= static_cast<float>(i) / out;
}

}  // namespace assets
