// Checks the generated assets in the application folder: every picture the game loads exists
// with its size and the colour key where it matters, the sound effects are short clean PCM
// clips, and the tune is a format-1 MIDI file long enough to loop as background music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kApp = BRIKKA_APP_DIR;

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::vector<uint8_t>& d, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | d.at(at + i);
  return v;
}

uint32_t Be(const std::vector<uint8_t>& d, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | d.at(at + i);
  return v;
}

struct Picture {
  int w = 0, h = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first
  // Throws outside the picture, or for one that could not be read.
  uint32_t At(int x, int y) const { return rgb.at(static_cast<size_t>(y) * w + x); }
};

constexpr uint32_t kKey = 0x070707;

// Uncompressed true-colour TGA (24 or 32 bit, either row order).
Picture ReadTga(const std::string& name) {
  const std::vector<uint8_t> d = ReadFile(kApp / "Texs" / name);
  Picture p;
  if (d.size() < 18) return p;
  const int bytes = d[16] / 8;
  if (d[2] != 2 || (bytes != 3 && bytes != 4)) return p;
  p.w = static_cast<int>(Le(d, 12, 2));
  p.h = static_cast<int>(Le(d, 14, 2));
  const size_t start = 18 + d[0];
  if (d.size() < start + static_cast<size_t>(p.w) * p.h * bytes) return {};
  const bool top_first = d[17] & 0x20;
  for (int y = 0; y < p.h; ++y) {
    const int row = top_first ? y : p.h - 1 - y;
    for (int x = 0; x < p.w; ++x) {
      const size_t at = start + (static_cast<size_t>(row) * p.w + x) * bytes;
      p.rgb.push_back(d[at + 2] << 16 | d[at + 1] << 8 | d[at]);
    }
  }
  return p;
}

TEST(AssetsTest, EveryPictureExistsWithItsSizeAndContent) {
  std::map<std::string, std::pair<int, int>> sizes = {
      {"Block.tga", {20, 20}},           {"frames.tga", {800, 600}},
      {"main.tga", {800, 600}},          {"Grid.tga", {200, 400}},
      {"brikka.tga", {480, 72}},         {"cursor.tga", {32, 32}},
      {"bck.tga", {800, 600}},           {"up_CW.tga", {60, 60}},
      {"down_CW.tga", {60, 60}},         {"up_CcW.tga", {60, 60}},
      {"down_CcW.tga", {60, 60}},        {"up_highscores.tga", {400, 60}},
      {"down_highscores.tga", {400, 60}}};
  for (const char* name :
       {"up_multi", "down_multi", "up_battle",  "down_Battle",  "up_music", "down_music",
        "up_sound", "down_sound", "up_lgrid",   "down_lgrid",   "up_rgrid", "down_rgrid",
        "up_START", "down_start", "up_quit",    "down_quit",    "up_next",  "down_next",
        "up_back",  "down_back",  "up_restart", "down_restart", "up_menu",  "down_menu"}) {
    sizes[std::string(name) + ".tga"] = {200, 60};
  }
  for (const auto& [name, size] : sizes) {
    SCOPED_TRACE(name);
    const Picture p = ReadTga(name);
    ASSERT_EQ(p.w, size.first);
    ASSERT_EQ(p.h, size.second);
    const std::set<uint32_t> colours(p.rgb.begin(), p.rgb.end());
    EXPECT_GE(colours.size(), 2u) << "a flat picture";
    // Even the sparse grid draws on a few percent of its texels.
    EXPECT_GT(std::count_if(p.rgb.begin(), p.rgb.end(), [](uint32_t c) { return c != kKey; }),
              static_cast<long>(p.rgb.size() / 50));
  }
}

TEST(AssetsTest, OverlayIsKeyedOverTheWellsAndOpaqueAroundThem) {
  const Picture overlay = ReadTga("main.tga");
  const Picture background = ReadTga("frames.tga");
  for (int left : {50, 450}) {
    for (int y = 0; y < 600; ++y) {
      for (int x = left - 8; x < left + 208; ++x) {
        const bool in_well = x >= left && x < left + 200 && y >= 100 && y < 500;
        ASSERT_EQ(overlay.At(x, y) == kKey, in_well) << x << "," << y;
        // The background shows through the wells: nothing of it may be the key there.
        if (in_well) {
          ASSERT_NE(background.At(x, y), kKey) << x << "," << y;
        }
      }
    }
  }
  EXPECT_EQ(std::count(overlay.rgb.begin(), overlay.rgb.end(), kKey), 2 * 200 * 400);
}

TEST(AssetsTest, KeyedPicturesAreTransparentOnlyWhereNothingIsDrawn) {
  for (const char* name : {"up_START.tga", "down_CW.tga", "up_highscores.tga", "brikka.tga"}) {
    SCOPED_TRACE(name);
    const Picture p = ReadTga(name);
    EXPECT_EQ(p.At(0, 0), kKey);              // rounded corner / margin
    EXPECT_NE(p.At(p.w / 2, p.h / 2), kKey);  // label or face
  }
  const Picture cursor = ReadTga("cursor.tga");
  EXPECT_NE(cursor.At(0, 0), kKey) << "the pointer's tip is the click point";
  EXPECT_EQ(cursor.At(31, 0), kKey);
  EXPECT_EQ(ReadTga("Grid.tga").At(10, 10), kKey);  // inside a cell
}

double Luma(uint32_t c) {
  return 0.299 * (c >> 16 & 0xFF) + 0.587 * (c >> 8 & 0xFF) + 0.114 * (c & 0xFF);
}

// Mean brightness and the share of bright texels in a rectangle (x1, y1 exclusive).
std::pair<double, double> Brightness(const Picture& p, int x0, int y0, int x1, int y1) {
  double sum = 0, bright = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      sum += Luma(p.At(x, y));
      bright += Luma(p.At(x, y)) > 170 ? 1 : 0;
    }
  }
  const double n = static_cast<double>(x1 - x0) * (y1 - y0);
  return {sum / n, bright / n};
}

TEST(AssetsTest, PlayScreenStaysDarkWhereTheGameWritesWhiteText) {
  const Picture overlay = ReadTga("main.tga");
  for (int panel : {265, 665}) {
    for (int row = 0; row < 3; ++row) {
      SCOPED_TRACE(panel + row);
      const int label = 310 + 60 * row;  // "Score", "Level", "Lines", then their values
      for (const auto& [mean, bright] :
           {Brightness(overlay, panel, label, panel + 127, label + 24),
            Brightness(overlay, panel + 10, label + 30, panel + 125, label + 54)}) {
        EXPECT_LT(mean, 110);
        EXPECT_LT(bright, 0.02);
      }
    }
  }
  for (int hint : {50, 450}) {
    const auto [mean, bright] = Brightness(overlay, hint, 570, hint + 190, 588);
    EXPECT_LT(mean, 90);
    EXPECT_LT(bright, 0.02);
  }
  const Picture background = ReadTga("frames.tga");
  EXPECT_LT(Brightness(background, 50, 100, 250, 500).first, 40) << "wells are dark and plain";
  EXPECT_LT(Brightness(background, 450, 100, 650, 500).first, 40);
}

TEST(AssetsTest, BlockIsALightNeutralGreySoTintsKeepTheirColour) {
  const Picture block = ReadTga("Block.tga");
  EXPECT_GT(Brightness(block, 0, 0, 20, 20).first, 170);
  EXPECT_EQ(std::count(block.rgb.begin(), block.rgb.end(), kKey), 0);
  for (uint32_t c : block.rgb) {
    const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    EXPECT_LT(std::max({r, g, b}) - std::min({r, g, b}), 12) << std::hex << c;
  }
  const Picture grid = ReadTga("Grid.tga");
  for (int k = 1; k < 10; ++k) EXPECT_NE(grid.At(20 * k, 7), kKey) << "column line " << k;
  for (int k = 1; k < 20; ++k) EXPECT_NE(grid.At(7, 20 * k), kKey) << "row line " << k;
}

TEST(AssetsTest, ButtonsShowTheirStateAndALabel) {
  const std::pair<const char*, const char*> pairs[] = {
      {"up_CW", "down_CW"},       {"up_CcW", "down_CcW"},
      {"up_multi", "down_multi"}, {"up_battle", "down_Battle"},
      {"up_music", "down_music"}, {"up_rgrid", "down_rgrid"},
      {"up_START", "down_start"}, {"up_highscores", "down_highscores"}};
  for (const auto& [up_name, down_name] : pairs) {
    SCOPED_TRACE(up_name);
    const Picture up = ReadTga(std::string(up_name) + ".tga");
    const Picture down = ReadTga(std::string(down_name) + ".tga");
    ASSERT_EQ(up.w, down.w);
    ASSERT_FALSE(up.rgb.empty());
    size_t differing = 0;
    for (size_t i = 0; i < up.rgb.size(); ++i) differing += up.rgb[i] != down.rgb[i];
    EXPECT_GT(differing, up.rgb.size() / 5) << "pressed must look different";
    // The lettering is near-white on a coloured face.
    const auto [mean, bright] = Brightness(up, up.w / 5, up.h / 4, up.w * 4 / 5, up.h * 3 / 4);
    EXPECT_GT(bright * (up.w * 3 / 5) * (up.h / 2), 40) << "no readable label";
  }
}

TEST(AssetsTest, TitleIsLetteredInSeveralColours) {
  const Picture title = ReadTga("brikka.tga");
  std::map<int, int> hues;  // 60-degree sectors of strongly coloured texels
  for (uint32_t c : title.rgb) {
    const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi < 120 || hi - lo < 100) continue;
    double h = hi == r   ? (g - b) / double(hi - lo)
               : hi == g ? 2 + (b - r) / double(hi - lo)
                         : 4 + (r - g) / double(hi - lo);
    ++hues[static_cast<int>(std::floor(h + 6.5)) % 6];
  }
  int sectors = 0;
  for (const auto& [sector, count] : hues) sectors += count > 40;
  EXPECT_GE(sectors, 4);
}

TEST(AssetsTest, SoundEffectsAreShortCleanPcmClips) {
  for (const char* name : {"coll.wav", "line.wav", "rot.wav", "lvl.wav"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> d = ReadFile(kApp / "Sounds" / name);
    ASSERT_GE(d.size(), 44u);
    ASSERT_EQ(std::string(d.begin(), d.begin() + 4), "RIFF");
    ASSERT_EQ(std::string(d.begin() + 8, d.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le(d, 20, 2), 1u);   // PCM
    EXPECT_EQ(Le(d, 34, 2), 16u);  // bits
    const uint32_t channels = Le(d, 22, 2), rate = Le(d, 24, 4);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_TRUE(rate == 22050 || rate == 44100);
    const size_t data = 20 + Le(d, 16, 4);
    ASSERT_EQ(std::string(d.begin() + data, d.begin() + data + 4), "data");
    const uint32_t bytes = Le(d, data + 4, 4);
    ASSERT_LE(data + 8 + bytes, d.size());
    const double seconds = bytes / (2.0 * channels * rate);
    EXPECT_GT(seconds, 0.03);
    EXPECT_LT(seconds, 1.0);
    int peak = 0;
    std::vector<int> samples;
    for (size_t i = data + 8; i + 1 < data + 8 + bytes; i += 2) {
      samples.push_back(static_cast<int16_t>(Le(d, i, 2)));
      peak = std::max(peak, std::abs(samples.back()));
    }
    const double peak_db = 20 * std::log10(peak / 32768.0);
    EXPECT_GT(peak_db, -6.0);
    EXPECT_LT(peak_db, -1.0);
    EXPECT_LT(std::abs(samples.front()), 300) << "a click at the start";
    EXPECT_LT(std::abs(samples.back()), 300) << "a click at the end";
  }
}

// What the tune's tracks say, read the way a MIDI player reads them.
struct TuneInfo {
  int format = -1, tracks = 0, division = 0;
  std::map<uint32_t, uint32_t> tempo;  // tick -> microseconds per quarter
  std::set<uint32_t> track_ends;
  std::set<int> note_channels, program_channels;
  int hanging_notes = 0;
};

void ReadTrack(const std::vector<uint8_t>& d, size_t at, size_t end, TuneInfo& info) {
  uint32_t tick = 0;
  uint8_t status = 0;
  std::map<int, int> sounding;
  while (at < end) {
    uint32_t delta = 0;
    do delta = (delta << 7) | (d.at(at) & 0x7F);
    while (d.at(at++) & 0x80);
    tick += delta;
    if (d.at(at) & 0x80) status = d.at(at++);
    if (status == 0xFF) {
      const uint8_t type = d.at(at++);
      const uint32_t length = d.at(at++);  // our metas are all short
      if (type == 0x51) info.tempo[tick] = Be(d, at, 3);
      if (type == 0x2F) info.track_ends.insert(tick);
      at += length;
      continue;
    }
    const int kind = status & 0xF0, channel = status & 0x0F;
    const int key = d.at(at), velocity = kind == 0xC0 || kind == 0xD0 ? 0 : d.at(at + 1);
    at += (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    if (kind == 0x90 && velocity > 0)
      info.note_channels.insert(channel), ++sounding[channel * 128 + key];
    if (kind == 0x80 || (kind == 0x90 && velocity == 0)) --sounding[channel * 128 + key];
    if (kind == 0xC0) info.program_channels.insert(channel);
  }
  for (const auto& [note, count] : sounding) info.hanging_notes += count;
}

TuneInfo ReadTune() {
  const std::vector<uint8_t> d = ReadFile(kApp / "bck.mid");
  TuneInfo info;
  if (d.size() < 14 || std::string(d.begin(), d.begin() + 4) != "MThd") return info;
  info.format = static_cast<int>(Be(d, 8, 2));
  info.tracks = static_cast<int>(Be(d, 10, 2));
  info.division = static_cast<int>(Be(d, 12, 2));
  size_t at = 14;
  for (int t = 0; t < info.tracks; ++t) {
    if (std::string(d.begin() + at, d.begin() + at + 4) != "MTrk") return {};
    const size_t length = Be(d, at + 4, 4);
    ReadTrack(d, at + 8, at + 8 + length, info);
    at += 8 + length;
  }
  return info;
}

TEST(AssetsTest, TuneIsAFormatOneLoopOfOverAMinute) {
  const TuneInfo info = ReadTune();
  ASSERT_EQ(info.format, 1);
  ASSERT_GE(info.tracks, 4);
  ASSERT_GT(info.division, 0);
  ASSERT_FALSE(info.tempo.empty());
  ASSERT_EQ(info.track_ends.size(), 1u) << "every track ends together, so the loop is clean";
  const uint32_t end = *info.track_ends.begin();
  EXPECT_EQ(end % (4 * info.division), 0u) << "the loop ends on a bar line";
  double seconds = 0;
  uint32_t tick = 0, tempo = 500000;
  for (const auto& [at, micros] : info.tempo) {
    seconds += static_cast<double>(at - tick) * tempo / 1e6 / info.division;
    tick = at;
    tempo = micros;
  }
  seconds += static_cast<double>(end - tick) * tempo / 1e6 / info.division;
  EXPECT_GE(seconds, 60.0);
  EXPECT_LT(seconds, 240.0);
  EXPECT_TRUE(info.note_channels.count(9)) << "drums on channel 10";
  EXPECT_GE(info.note_channels.size(), 4u);
  EXPECT_GE(info.program_channels.size(), 3u);
  EXPECT_EQ(info.hanging_notes, 0);
}

}  // namespace
