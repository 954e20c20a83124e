// The generated assets in the application folder: every picture the game loads with its size
// and the colour key where it matters, light where the game tints and dark where it writes,
// short clean PCM sound effects, and a format-1 MIDI tune long enough to loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::filesystem::path kApp = BRIKKA_APP_DIR;
constexpr uint32_t kKey = 0x070707;

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// `bytes` bytes at `at`, little-endian or big-endian.
uint32_t Num(const std::vector<uint8_t>& d, size_t at, int bytes, bool big = false) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | d.at(at + (big ? i : bytes - 1 - i));
  return v;
}

struct Picture {
  int w = 0, h = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first
  uint32_t At(int x, int y) const { return rgb.at(static_cast<size_t>(y) * w + x); }
};

// Uncompressed true-colour TGA (24 or 32 bit, either row order); empty if it is not one.
Picture ReadTga(const std::string& name) {
  const std::vector<uint8_t> d = ReadFile(kApp / "Texs" / (name + ".tga"));
  if (d.size() < 18 || d[2] != 2 || (d[16] != 24 && d[16] != 32)) return {};
  Picture p{static_cast<int>(Num(d, 12, 2)), static_cast<int>(Num(d, 14, 2)), {}};
  const size_t bytes = d[16] / 8, start = 18 + d[0];
  if (d.size() < start + size_t(p.w) * p.h * bytes) return {};
  for (int y = 0; y < p.h; ++y) {
    const int row = d[17] & 0x20 ? y : p.h - 1 - y;
    for (int x = 0; x < p.w; ++x) {
      const size_t at = start + (size_t(row) * p.w + x) * bytes;
      p.rgb.push_back(d[at + 2] << 16 | d[at + 1] << 8 | d[at]);
    }
  }
  return p;
}

double Luma(uint32_t c) {
  return 0.299 * (c >> 16 & 0xFF) + 0.587 * (c >> 8 & 0xFF) + 0.114 * (c & 0xFF);
}

// Mean brightness and the share of bright texels in a rectangle (x1, y1 exclusive).
std::pair<double, double> Brightness(const Picture& p, int x0, int y0, int x1, int y1) {
  double sum = 0, bright = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) sum += Luma(p.At(x, y)), bright += Luma(p.At(x, y)) > 170;
  }
  const double n = static_cast<double>(x1 - x0) * (y1 - y0);
  return {sum / n, bright / n};
}

TEST(AssetsTest, EveryPictureHasItsSizeAndIsDrawn) {
  const std::pair<const char*, std::pair<int, int>> sizes[] = {
      {"Block", {20, 20}},
      {"frames main bck", {800, 600}},
      {"Grid", {200, 400}},
      {"brikka", {480, 72}},
      {"cursor", {32, 32}},
      {"up_CW down_CW up_CcW down_CcW", {60, 60}},
      {"up_highscores down_highscores", {400, 60}},
      {"up_multi down_multi up_battle down_Battle up_music down_music up_sound down_sound "
       "up_lgrid down_lgrid up_rgrid down_rgrid up_START down_start up_quit down_quit up_next "
       "down_next up_back down_back up_restart down_restart up_menu down_menu",
       {200, 60}}};
  for (const auto& [names, size] : sizes) {
    std::istringstream list(names);
    for (std::string name; list >> name;) {
      SCOPED_TRACE(name);
      const Picture p = ReadTga(name);
      ASSERT_EQ(std::make_pair(p.w, p.h), size);
      EXPECT_GE(std::set<uint32_t>(p.rgb.begin(), p.rgb.end()).size(), 2u) << "a flat picture";
      // Even the sparse grid draws on a few percent of its texels.
      EXPECT_GT(p.rgb.size() - std::count(p.rgb.begin(), p.rgb.end(), kKey), p.rgb.size() / 50);
    }
  }
}

TEST(AssetsTest, TheKeyIsWhereNothingIsDrawnAndNowhereElse) {
  const Picture overlay = ReadTga("main"), background = ReadTga("frames");
  for (int left : {50, 450}) {
    for (int y = 0; y < 600; ++y) {
      for (int x = left - 8; x < left + 208; ++x) {
        const bool in_well = x >= left && x < left + 200 && y >= 100 && y < 500;
        ASSERT_EQ(overlay.At(x, y) == kKey, in_well) << x << "," << y;
        // The background shows through the wells: nothing of it may be the key there.
        ASSERT_TRUE(!in_well || background.At(x, y) != kKey) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(std::count(overlay.rgb.begin(), overlay.rgb.end(), kKey), 2 * 200 * 400);
  const std::tuple<const char*, int, int, bool> texels[] = {
      {"up_START", 0, 0, true},   {"up_START", 100, 30, false},  {"down_CW", 0, 0, true},
      {"down_CW", 30, 30, false}, {"up_highscores", 0, 0, true}, {"up_highscores", 200, 30, false},
      {"brikka", 0, 0, true},     {"brikka", 240, 36, false},    {"Grid", 10, 10, true},
      {"cursor", 31, 0, true},    {"cursor", 0, 0, false}};  // the pointer's tip is the click point
  for (const auto& [name, x, y, keyed] : texels)
    EXPECT_EQ(ReadTga(name).At(x, y) == kKey, keyed) << name << " " << x << "," << y;
  const Picture grid = ReadTga("Grid");
  for (int k = 1; k < 10; ++k) EXPECT_NE(grid.At(20 * k, 7), kKey) << "column line " << k;
  for (int k = 1; k < 20; ++k) EXPECT_NE(grid.At(7, 20 * k), kKey) << "row line " << k;
}

TEST(AssetsTest, BlockIsLightNeutralGreyAndThePlayScreenDarkUnderItsWhiteText) {
  const Picture block = ReadTga("Block");
  EXPECT_GT(Brightness(block, 0, 0, 20, 20).first, 170);
  for (uint32_t c : block.rgb) {
    const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    EXPECT_LT(std::max({r, g, b}) - std::min({r, g, b}), 12) << std::hex << c;
    EXPECT_NE(c, kKey);
  }
  const Picture overlay = ReadTga("main"), background = ReadTga("frames");
  std::vector<std::array<int, 5>> dark;  // x0, y0, x1, y1, highest mean
  for (int panel : {265, 665}) {
    for (int label = 310; label < 490; label += 60) {  // "Score", "Level", "Lines", values
      dark.push_back({panel, label, panel + 127, label + 24, 110});
      dark.push_back({panel + 10, label + 30, panel + 125, label + 54, 110});
    }
  }
  for (int hint : {50, 450}) dark.push_back({hint, 570, hint + 190, 588, 90});
  for (const auto& [x0, y0, x1, y1, most] : dark) {
    const auto [mean, bright] = Brightness(overlay, x0, y0, x1, y1);
    EXPECT_LT(mean, most) << x0 << "," << y0;
    EXPECT_LT(bright, 0.02) << x0 << "," << y0;
  }
  for (int well : {50, 450})  // the wells are dark and plain
    EXPECT_LT(Brightness(background, well, 100, well + 200, 500).first, 40);
}

TEST(AssetsTest, ButtonsShowTheirStateAndALabelAndTheTitleSeveralColours) {
  for (const char* pair : {"CW CW", "CcW CcW", "multi multi", "battle Battle", "music music",
                           "rgrid rgrid", "START start", "highscores highscores"}) {
    std::istringstream names(pair);
    std::string up_name, down_name;
    names >> up_name >> down_name;
    SCOPED_TRACE(up_name);
    const Picture up = ReadTga("up_" + up_name), down = ReadTga("down_" + down_name);
    ASSERT_EQ(up.rgb.size(), down.rgb.size());
    ASSERT_FALSE(up.rgb.empty());
    size_t differing = 0;
    for (size_t i = 0; i < up.rgb.size(); ++i) differing += up.rgb[i] != down.rgb[i];
    EXPECT_GT(differing, up.rgb.size() / 5) << "pressed must look different";
    // The lettering is near-white on a coloured face.
    const double bright = Brightness(up, up.w / 5, up.h / 4, up.w * 4 / 5, up.h * 3 / 4).second;
    EXPECT_GT(bright * (up.w * 3 / 5) * (up.h / 2), 40) << "no readable label";
  }
  std::map<int, int> hues;  // 60-degree sectors of the title's strongly coloured texels
  for (uint32_t c : ReadTga("brikka").rgb) {
    const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi < 120 || hi - lo < 100) continue;
    const double h = hi == r   ? (g - b) / double(hi - lo)
                     : hi == g ? 2 + (b - r) / double(hi - lo)
                               : 4 + (r - g) / double(hi - lo);
    ++hues[static_cast<int>(std::floor(h + 6.5)) % 6];
  }
  EXPECT_GE(std::count_if(hues.begin(), hues.end(), [](auto& h) { return h.second > 40; }), 4);
}

TEST(AssetsTest, SoundEffectsAreShortCleanPcmClips) {
  for (const char* name : {"coll.wav", "line.wav", "rot.wav", "lvl.wav"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> d = ReadFile(kApp / "Sounds" / name);
    ASSERT_GE(d.size(), 44u);
    ASSERT_EQ(std::string(d.begin(), d.begin() + 4) + std::string(d.begin() + 8, d.begin() + 16),
              "RIFFWAVEfmt ");
    EXPECT_EQ(Num(d, 20, 2), 1u);   // PCM
    EXPECT_EQ(Num(d, 34, 2), 16u);  // bits
    const uint32_t channels = Num(d, 22, 2), rate = Num(d, 24, 4);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_TRUE(rate == 22050 || rate == 44100);
    const size_t data = 20 + Num(d, 16, 4), bytes = Num(d, data + 4, 4);
    ASSERT_EQ(std::string(d.begin() + data, d.begin() + data + 4), "data");
    ASSERT_LE(data + 8 + bytes, d.size());
    const double seconds = bytes / (2.0 * channels * rate);
    EXPECT_GT(seconds, 0.03);
    EXPECT_LT(seconds, 1.0);
    std::vector<int> samples;
    for (size_t i = data + 8; i + 1 < data + 8 + bytes; i += 2)
      samples.push_back(std::abs(static_cast<int16_t>(Num(d, i, 2))));
    const double peak_db =
        20 * std::log10(*std::max_element(samples.begin(), samples.end()) / 32768.0);
    EXPECT_GT(peak_db, -6.0);
    EXPECT_LT(peak_db, -1.0);
    EXPECT_LT(samples.front(), 300) << "a click at the start";
    EXPECT_LT(samples.back(), 300) << "a click at the end";
  }
}

// The tune read the way a MIDI player reads it.
TEST(AssetsTest, TuneIsAFormatOneLoopOfOverAMinute) {
  const std::vector<uint8_t> d = ReadFile(kApp / "bck.mid");
  ASSERT_GE(d.size(), 14u);
  ASSERT_EQ(std::string(d.begin(), d.begin() + 4), "MThd");
  ASSERT_EQ(Num(d, 8, 2, true), 1u);  // format
  const uint32_t tracks = Num(d, 10, 2, true), division = Num(d, 12, 2, true);
  ASSERT_GE(tracks, 4u);
  ASSERT_GT(division, 0u);
  std::map<uint32_t, uint32_t> tempo;  // tick -> microseconds per quarter
  std::set<uint32_t> track_ends;
  std::set<int> note_channels, program_channels;
  for (size_t t = 0, at = 14; t < tracks; ++t) {
    ASSERT_EQ(std::string(d.begin() + at, d.begin() + at + 4), "MTrk");
    const size_t end = at + 8 + Num(d, at + 4, 4, true);
    uint32_t tick = 0;
    uint8_t status = 0;
    std::map<int, int> sounding;  // channel * 128 + key -> notes on
    for (at += 8; at < end;) {
      uint32_t delta = 0;
      do delta = (delta << 7) | (d.at(at) & 0x7F);
      while (d.at(at++) & 0x80);
      tick += delta;
      if (d.at(at) & 0x80) status = d.at(at++);
      if (status == 0xFF) {  // meta events: our lengths all fit in one byte
        const uint8_t type = d.at(at++), length = d.at(at++);
        if (type == 0x51) tempo[tick] = Num(d, at, 3, true);
        if (type == 0x2F) track_ends.insert(tick);
        at += length;
        continue;
      }
      const int kind = status & 0xF0, channel = status & 0x0F, one = kind == 0xC0 || kind == 0xD0;
      const int key = d.at(at), velocity = one ? 0 : d.at(at + 1);
      at += one ? 1 : 2;
      if (kind == 0x90 && velocity > 0)
        note_channels.insert(channel), ++sounding[channel * 128 + key];
      if (kind == 0x80 || (kind == 0x90 && velocity == 0)) --sounding[channel * 128 + key];
      if (kind == 0xC0) program_channels.insert(channel);
    }
    for (const auto& [note, count] : sounding) EXPECT_EQ(count, 0) << "hanging note " << note;
    at = end;
  }
  ASSERT_FALSE(tempo.empty());
  ASSERT_EQ(track_ends.size(), 1u) << "every track ends together, so the loop is clean";
  const uint32_t end = *track_ends.begin();
  EXPECT_EQ(end % (4 * division), 0u) << "the loop ends on a bar line";
  double seconds = 0;
  uint32_t tick = 0, micros = 500000;
  for (const auto& [at, next] : tempo) {
    seconds += double(at - tick) * micros / 1e6 / division;
    tick = at, micros = next;
  }
  seconds += double(end - tick) * micros / 1e6 / division;
  EXPECT_GE(seconds, 60.0);
  EXPECT_LT(seconds, 240.0);
  EXPECT_TRUE(note_channels.count(9)) << "drums on channel 10";
  EXPECT_GE(note_channels.size(), 4u);
  EXPECT_GE(program_channels.size(), 3u);
}

}  // namespace
