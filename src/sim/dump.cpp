// The simulator's state dump: one JSON object with every rule's visible state and what
// the machine showed of the game.
#include "sim/dump.h"

#include "platform/headless/headless.h"
#include "sim/json.h"

namespace brikka::sim {

namespace {

void WriteShape(JsonWriter& j, const cShape& s) {
  j.BeginObject();
  j.Key("ShapeType").Value(s.ShapeType);
  j.Key("Rotated").Value(s.Rotated);
  j.Key("Scolor").Value(s.Scolor);
  j.Key("cPnt").BeginArray().Value(s.cPntX()).Value(s.cPntY()).EndArray();
  j.Key("blocks").BeginArray();
  for (int i = 0; i < 4; ++i) j.BeginArray().Value(s.BlockX(i)).Value(s.BlockY(i)).EndArray();
  j.EndArray();
  j.EndObject();
}

void WriteTimer(JsonWriter& j, const char* name, const platform::Timer* t) {
  j.Key(name).BeginObject();
  j.Key("enabled").Value(t && t->Enabled());
  j.Key("interval").Value(t ? t->Interval() : 0);
  j.EndObject();
}

void WriteField(JsonWriter& j, const PlayField& f) {
  j.BeginObject();
  j.Key("Active").Value(f.Active);
  j.Key("Paused").Value(f.Paused);
  j.Key("GameOver").Value(f.GameOver);
  j.Key("Score").Value(static_cast<int64_t>(f.Score));
  j.Key("Lines").Value(f.Lines);
  j.Key("Level").Value(f.Level);
  j.Key("Speed").Value(f.Speed);
  j.Key("SpeedBonus").Value(f.SpeedBonus);
  j.Key("SavedBonus").Value(f.SavedBonus);
  j.Key("Wins").Value(f.Wins);
  j.Key("Landed").Value(f.Landed);
  j.Key("Step").Value(f.Step);
  j.Key("SkipSpawn").Value(f.SkipSpawn);
  j.Key("ShowGrid").Value(f.ShowGrid);
  j.Key("PendingRows").Value(f.PendingRows);
  j.Key("Shape");
  WriteShape(j, f.Shape);
  j.Key("NextShape");
  WriteShape(j, f.NextShape);
  j.Key("Blocks").BeginArray();
  for (const cBlock& b : f.Blocks)
    j.BeginArray().Value(b.MyX()).Value(b.MyY()).Value(b.Color).EndArray();
  j.EndArray();
  j.Key("timers").BeginObject();
  WriteTimer(j, "delay", f.TimerDelay.get());
  WriteTimer(j, "level", f.TimerLevel.get());
  WriteTimer(j, "gray", f.TimerGray.get());
  j.EndObject();
  j.Key("OrgPos").BeginArray();
  for (const OrgPosition& o : f.OrgPos) j.BeginArray().Value(o.x).Value(o.y).EndArray();
  j.EndArray();
  j.Key("MadeHighscore").Value(f.MadeHighscore);
  j.Key("HighscoreRank").Value(f.HighscoreRank);
  j.Key("EnteringNickname").Value(f.EnteringNickname);
  j.Key("PromptPending").Value(f.PromptPending);
  j.EndObject();
}

void WriteSquare(JsonWriter& j, const char* name, const cTLSquare& q) {
  j.Key(name).BeginObject();
  j.Key("Leftx").Value(q.Leftx).Key("Topy").Value(q.Topy);
  j.EndObject();
}

void WriteQuake(JsonWriter& j, const frmMain& g) {
  const QuakeState& q = g.quake;
  j.Key("quake").BeginObject();
  j.Key("QuakeRange").Value(q.QuakeRange);
  j.Key("QuakeAmplitude").Value(q.QuakeAmplitude);
  j.Key("QuakeStep").Value(q.QuakeStep);
  j.Key("QuakeDir").Value(q.QuakeDir);
  j.Key("QuakeCount").Value(q.QuakeCount);
  j.Key("QuakeLimit").Value(q.QuakeLimit);
  j.Key("RightWellEmptied").Value(q.RightWellEmptied);
  j.Key("displacement").Value(g.Displacement());
  WriteSquare(j, "QuakeSquare", g.QuakeSquare);
  WriteSquare(j, "FramesSquare", g.FramesSquare);
  j.Key("OrgQuadPos").BeginArray();
  for (float v : q.OrgQuadPos) j.Value(v);
  j.EndArray();
  j.EndObject();
}

// The tune: the switch, the player's state, its file as the game names it (below the
// application folder) and how often it started from its beginning.
void WriteMusic(JsonWriter& j, bool on, const MachineState& m) {
  j.Key("music").BeginObject();
  j.Key("on").Value(on);
  j.Key("playing").Value(m.music_state == platform::MusicPlayer::kPlaying);
  j.Key("state").Value(m.music_state);
  j.Key("file").Value(m.music_file);
  j.Key("starts").Value(m.music_starts);
  j.EndObject();
}

// What the last presented frame wrote, and how often fonts were opened and strings
// rasterised so far (both stay put over steady frames; a recording leaves them out, as
// they tell how a device caches rather than what the game did).
void WriteTexts(JsonWriter& j, const MachineState& m) {
  j.Key("texts").BeginArray();
  for (const platform::DrawnText& t : *m.texts) {
    j.BeginObject();
    j.Key("text").Value(t.text);
    j.Key("font").Value(t.font.family).Key("points").Value(t.font.points);
    j.Key("bold").Value(t.font.bold);
    j.Key("rect").BeginArray().Value(t.left).Value(t.top).Value(t.right).Value(t.bottom).EndArray();
    j.Key("color").Value(t.color).Key("JCenter").Value(t.center);
    j.EndObject();
  }
  j.EndArray();
  if (!m.text_stats) return;
  j.Key("textCache").BeginObject();
  j.Key("fontsOpened").Value(static_cast<int64_t>(m.text_stats->fonts_opened));
  j.Key("rasterised").Value(static_cast<int64_t>(m.text_stats->strings_rasterised));
  j.EndObject();
}

// What the process holds: open files, textures and fonts (for runs that look for leaks).
void WriteResources(JsonWriter& j, const MachineState& m) {
  if (!m.resources) return;
  const platform::HeldResources& held = *m.resources;
  j.Key("resources").BeginObject();
  j.Key("openFiles").Value(static_cast<int64_t>(held.open_files));
  j.Key("textures").Value(static_cast<int64_t>(held.textures));
  j.Key("fonts").Value(static_cast<int64_t>(held.fonts));
  j.EndObject();
}

// The buttons the last frames drew grey, which a click then refuses.
void WriteGrayed(JsonWriter& j, const frmMain& g) {
  const std::pair<const char*, const cButton*> buttons[] = {
      {"MenuBattleButton", &g.menu.MenuBattleButton},
      {"MenuHighscoresButton", &g.menu.MenuHighscoresButton},
      {"HsNextButton", &g.hs.HsNextButton},
      {"HsBackButton", &g.hs.HsBackButton},
  };
  j.Key("grayed").BeginArray();
  for (auto [name, button] : buttons)
    if (button->Grayed) j.Value(name);
  j.EndArray();
}

// The file below the application folder, as the game names it.
std::string BelowAppDir(const std::string& file, const std::string& app_dir) {
  if (!app_dir.empty() && file.rfind(app_dir, 0) == 0) return file.substr(app_dir.size());
  return file;
}

}  // namespace

MachineState HeadlessMachine(platform::HeadlessPlatform& plat, const platform::Device* device) {
  MachineState m;
  m.time = plat.vclock().GetTickCount();
  m.sounds = plat.sounds().TakePlayed();
  m.music_state = plat.tune().state();
  m.music_file = BelowAppDir(plat.tune().url(), plat.app_dir);
  m.music_starts = plat.tune().starts();
  m.texts = &platform::LastFrameTexts(device);
  m.text_stats = platform::TextStatisticsOf(device);
  m.resources = platform::HeldResourceCounts();
  m.messages = plat.dialog_box().TakeMessages();
  m.captions = plat.LabelCaptions();
  return m;
}

MachineState WitnessedMachine(const platform::Witness& w, const std::string& app_dir,
                              Reported* since) {
  Reported from = since ? *since : Reported{};
  MachineState m;
  m.time = w.time;
  m.sounds.assign(w.sounds.begin() + static_cast<ptrdiff_t>(from.sounds), w.sounds.end());
  m.music_state = w.music_state;
  m.music_file = BelowAppDir(w.music_url, app_dir);
  m.music_starts = w.music_starts;
  m.texts = &w.texts;
  m.messages.assign(w.messages.begin() + static_cast<ptrdiff_t>(from.messages), w.messages.end());
  if (since) *since = Reported{w.sounds.size(), w.messages.size()};
  return m;
}

std::string DumpState(const frmMain& g, const MachineState& m) {
  JsonWriter j;
  j.BeginObject();
  j.Key("time").Value(m.time);
  j.Key("screen").Value(g.Screen);
  j.Key("fps").Value(g.FPS_Current);
  j.Key("ended").Value(g.Ended());
  j.Key("exitCode").Value(g.ExitCode());
  j.Key("running").Value(g.Running);
  j.Key("settings").BeginObject();
  j.Key("Clockwise").Value(g.settings.Clockwise);
  j.Key("Multiplayer").Value(g.settings.Multiplayer);
  j.Key("Music").Value(g.settings.Music);
  j.Key("SFX").Value(g.settings.SFX);
  j.Key("Battle").Value(g.settings.Battle);
  j.EndObject();
  j.Key("geometry").BeginObject();
  j.Key("sizex").Value(g.geo.sizex).Key("sizey").Value(g.geo.sizey);
  j.Key("LStartX").Value(g.geo.LStartX).Key("LEndX").Value(g.geo.LEndX);
  j.Key("RStartX").Value(g.geo.RStartX).Key("REndX").Value(g.geo.REndX);
  j.Key("StartY").Value(g.geo.StartY).Key("EndY").Value(g.geo.EndY);
  j.EndObject();
  j.Key("display").BeginObject();
  j.Key("swidth").Value(g.dx.swidth).Key("sheight").Value(g.dx.sheight);
  j.Key("format").Value(g.dx.BackBufferFormat());
  j.EndObject();
  j.Key("right");
  WriteField(j, g.RightField);
  j.Key("left");
  WriteField(j, g.LeftField);
  WriteQuake(j, g);
  j.Key("timers").BeginObject();
  WriteTimer(j, "keys", g.TimerKeys.get());
  j.EndObject();
  j.Key("mouse").BeginObject();
  j.Key("x").Value(static_cast<int64_t>(g.MouseX)).Key("y").Value(static_cast<int64_t>(g.MouseY));
  j.Key("armed").Value(g.MouseArmed);
  j.EndObject();
  j.Key("highscores").BeginObject();
  j.Key("page").Value(g.HighscorePage);
  j.Key("available").Value(g.HighscoresAvailable);
  j.Key("downloadMode").Value(g.HighscoreDownloadMode);
  j.Key("fromMenu").Value(g.HighscoresFromMenu);
  j.Key("nickname").Value(g.NicknameBuffer);
  j.Key("table").BeginArray();
  for (int i = 0; i < kHighscoreRanks; ++i) {
    j.BeginArray().Value(g.highscores.HighscoreNicknames[i]);
    j.Value(g.highscores.HighscoreScores[i]).EndArray();
  }
  j.EndArray();
  j.EndObject();
  j.Key("sounds").BeginArray();
  for (const std::string& s : m.sounds) j.Value(s);
  j.EndArray();
  j.Key("effectsLoaded").Value(g.sounds.LandSound != nullptr);
  WriteMusic(j, g.settings.Music, m);
  WriteTexts(j, m);
  WriteResources(j, m);
  WriteGrayed(j, g);
  j.Key("exchange").BeginObject().Key("captions").BeginArray();
  for (const std::string& caption : m.captions) j.Value(caption);
  j.EndArray().EndObject();
  j.Key("messages").BeginArray();
  for (const auto& msg : m.messages) {
    j.BeginObject().Key("title").Value(msg.title).Key("text").Value(msg.text);
    j.Key("style").Value(msg.style).EndObject();
  }
  j.EndArray();
  j.EndObject();
  return j.str();
}

}  // namespace brikka::sim
