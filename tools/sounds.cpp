// Sound effects: a pitched-down thump with a filtered knock, an FM bell arpeggio, a rising blip
// and a bright five-note run, each levelled to -3 dBFS with click-free edges.
#include "sounds.h"

#include <cmath>
#include <numbers>

#include "synth.h"
#include "wav.h"

namespace assets {

namespace {

constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;
constexpr float kPeakDb = -3;

std::vector<float> Frames(float seconds) {
  return std::vector<float>(static_cast<size_t>(seconds * kSampleRate), 0.0f);
}

void Finish(std::vector<float>& s, float fade_out) {
  FadeEdges(s, 0.0015f, fade_out);
  NormalizePeak(s, kPeakDb);
}

// A bell-like FM voice: the modulator's depth dies away faster than the tone.
void AddBell(std::vector<float>& s, float start, float hz, float gain, float decay) {
  float carrier = 0, modulator = 0;
  for (size_t i = static_cast<size_t>(start * kSampleRate); i < s.size(); ++i) {
    const float t = i / static_cast<float>(kSampleRate) - start;
    const float index = 2.4f * std::exp(-t / 0.09f) + 0.3f;
    carrier += kTwoPi * hz / kSampleRate;
    modulator += kTwoPi * hz * 2.0f / kSampleRate;
    const float tone = std::sin(carrier + index * std::sin(modulator));
    const float shimmer = 0.25f * std::sin(carrier * 3.0f) * std::exp(-t / 0.05f);
    s[i] += gain * AttackDecay(t, 0.002f, decay) * (tone + shimmer);
  }
}

// A soft square (odd harmonics 1, 3, 5) with light vibrato.
void AddPulse(std::vector<float>& s, float start, float hz, float gain, float decay) {
  float phase = 0;
  for (size_t i = static_cast<size_t>(start * kSampleRate); i < s.size(); ++i) {
    const float t = i / static_cast<float>(kSampleRate) - start;
    const float vibrato = 1.0f + 0.006f * std::sin(kTwoPi * 6.0f * t) * std::min(t / 0.1f, 1.0f);
    phase += kTwoPi * hz * vibrato / kSampleRate;
    const float wave = std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 6;
    s[i] += gain * AttackDecay(t, 0.003f, decay) * wave;
  }
}

}  // namespace

std::vector<float> LandingThud() {
  std::vector<float> s = Frames(0.3f);
  Noise noise(0xB10C);
  LowPass dust(1400);
  float body = 0, knock = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = i / static_cast<float>(kSampleRate);
    body += kTwoPi * (46 + 120 * std::exp(-t / 0.03f)) / kSampleRate;
    knock += kTwoPi * 210 / kSampleRate;
    const float thump = std::sin(body) * AttackDecay(t, 0.002f, 0.07f);
    const float wood = 0.3f * std::sin(knock) * AttackDecay(t, 0.001f, 0.018f);
    const float grit = 0.9f * dust.Process(noise.Next()) * AttackDecay(t, 0.001f, 0.014f);
    s[i] = std::tanh(1.8f * (thump + wood + grit));
  }
  Finish(s, 0.03f);
  return s;
}

std::vector<float> RowChime() {
  std::vector<float> s = Frames(0.85f);
  const float notes[] = {84, 88, 91, 96};  // C E G C, climbing
  for (int k = 0; k < 4; ++k) AddBell(s, 0.05f * k, NoteHz(notes[k]), 0.5f, 0.16f + 0.06f * k);
  Finish(s, 0.08f);
  return s;
}

std::vector<float> RotateBlip() {
  std::vector<float> s = Frames(0.085f);
  Noise noise(0x0707);
  LowPass tick(5000);
  float phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = i / static_cast<float>(kSampleRate);
    phase += kTwoPi * 620 * std::pow(2.0f, std::min(t / 0.045f, 1.0f)) / kSampleRate;
    const float tone = std::sin(phase) + 0.3f * std::sin(3 * phase);
    const float click = 0.4f * tick.Process(noise.Next()) * AttackDecay(t, 0.0005f, 0.003f);
    s[i] = tone * AttackDecay(t, 0.002f, 0.024f) + click;
  }
  Finish(s, 0.02f);
  return s;
}

std::vector<float> LevelArpeggio() {
  std::vector<float> s = Frames(0.9f);
  const float notes[] = {72, 76, 79, 84, 88};  // C E G C E, upwards
  for (int k = 0; k < 5; ++k) {
    const bool last = k == 4;
    AddPulse(s, 0.075f * k, NoteHz(notes[k]), last ? 0.5f : 0.4f, last ? 0.2f : 0.09f);
  }
  LowPass soften(6500);
  for (float& x : s) x = soften.Process(x);
  Finish(s, 0.1f);
  return s;
}

void WriteSounds(const std::filesystem::path& sounds) {
  WriteWav(sounds / "coll.wav", LandingThud(), kSampleRate);
  WriteWav(sounds / "line.wav", RowChime(), kSampleRate);
  WriteWav(sounds / "rot.wav", RotateBlip(), kSampleRate);
  WriteWav(sounds / "lvl.wav", LevelArpeggio(), kSampleRate);
}

}  // namespace assets
