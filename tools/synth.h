// Small synthesis kit for the sound effects: envelopes, a seeded noise source, a one-pole
// filter, note frequencies and the finishing steps (peak level, click-free edges).
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

inline constexpr int kSampleRate = 44100;

// Linear attack to 1 over `attack` seconds, then exponential decay with time constant `decay`.
float AttackDecay(float t, float attack, float decay);
// Equal-tempered frequency of a MIDI note number (69 = 440 Hz).
float NoteHz(float note);

// Deterministic white noise in [-1, 1].
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
  float Next();

 private:
  uint32_t state_;
};

// One-pole low-pass: smooths noise and takes the edge off bright waveforms.
class LowPass {
 public:
  explicit LowPass(float cutoff_hz);
  float Process(float x) {
    y_ += a_ * (x - y_);
    return y_;
  }

 private:
  float a_;
  float y_ = 0;
};

// Scales so the loudest sample sits at `peak_dbfs` (e.g. -3).
void NormalizePeak(std::vector<float>& samples, float peak_dbfs);
// Ramps the first and last samples from and to silence so playback starts and stops cleanly.
void FadeEdges(std::vector<float>& samples, float fade_in_s, float fade_out_s);

}  // namespace assets
