// The highscore exchange window end to end, as brikka-sim's `exchange` runs it: against
// pyftpdlib with the game's account and a "www" folder, against nothing listening and
// against a server that stalls. Each run must end with the main window loaded, the flag as
// the exchange left it, and the local table either the server's or exactly what it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <sstream>

#include "fake_ftp_server.h"
#include "highscores/highscores_window.h"
#include "net_test_support.h"
#include "sim/simulator.h"

namespace {

using brikka::Highscores;
using nettest::ReadFile;
using nettest::WriteFile;
using Texts = std::vector<std::string>;

const std::string kLocalTable = "[highscores]\r\nNickname1=LOCAL\r\nScore1=5\r\n";
const std::string kServerTable = "[highscores]\r\nNickname1=ANNA\r\nScore1=900\r\n";
const std::string kDownloadBox =
    "The Game will update the Highscores list,\r\nPlease connect to the internet if you are "
    "not connected";
const std::string kUploadBox = "The Game will restore after updating the Game's server.";

// Lets a test act while a box is up (as a player might, before answering it).
struct WatchedDialogs : platform::Dialogs {
  int MsgBox(const std::string& text, int style, const std::string& title) override {
    on_box(text);
    return inner->MsgBox(text, style, title);
  }
  std::unique_ptr<platform::Dialogs> inner;
  std::function<void(const std::string&)> on_box;
};

// brikka-sim in this process, with a data folder holding our table.
struct Game {
  Game() { WriteFile(data.file("brikka_highscores.ini"), kLocalTable); }
  void Run(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream err;
    ASSERT_EQ(sim.Run(in, err), 0) << err.str();
  }
  Texts Boxes() {
    Texts texts;
    for (const auto& m : sim.plat().dialog_box().TakeMessages()) texts.push_back(m.text);
    return texts;
  }
  std::string Table() { return ReadFile(data.file("brikka_highscores.ini")); }
  // The exchange is over and the game goes on from its menu.
  void ExpectGameStarted() {
    Run("frames 1\n");
    EXPECT_TRUE(sim.game().Running);
    EXPECT_EQ(sim.game().Screen, 1);
  }

  nettest::TempDir data;
  std::ostringstream out;
  brikka::sim::Simulator sim{BRIKKA_APP_DIR, data.str(), out};
};

// pyftpdlib with the game's account (or another password) and "www" unless told otherwise.
struct Server {
  explicit Server(const std::string& password = Highscores::kPassword, bool www = true)
      : ftp(nettest::StartFtpServer("pyftpdlib", Highscores::kUserName, password)) {
    if (www) std::filesystem::create_directory(ftp.work_dir + "/www");
  }
  std::string Remote() const { return ftp.work_dir + "/www/brikka_highscores.ini"; }
  std::string Exchange(const std::string& words = "") const {
    return "exchange 127.0.0.1:" + std::to_string(ftp.port) + words + "\n";
  }
  nettest::FtpServer ftp;
};

TEST(HighscoreExchange, DownloadReplacesTheTableAndTheLabelFollowsTheSession) {
  Server server;
  ASSERT_TRUE(server.ftp.port);
  WriteFile(server.Remote(), kServerTable);
  Game game;
  game.Run(server.Exchange());
  EXPECT_EQ(game.Table(), kServerTable);
  EXPECT_EQ(nettest::ListFolder(game.data.str()), Texts{"brikka_highscores.ini"});
  EXPECT_TRUE(game.sim.game().HighscoresAvailable);
  EXPECT_EQ(game.sim.game().highscores.HighscoreNicknames[0], "ANNA");
  // Each caption the window must show and no other, one for every step of the session.
  const Texts& captions = game.sim.plat().LabelCaptions();
  EXPECT_EQ(std::set<std::string>(captions.begin(), captions.end()),
            (std::set<std::string>{"Connecting to Game Server...", "Connected",
                                   "Authentication in progress...", "Logged in successfully",
                                   "Retrieving directory info...",
                                   "Establishing data connection...", "Finding Directory...",
                                   "Retrieving Data in progress...", "Waiting..."}));
  EXPECT_EQ(captions.size(), 22u);
  const std::string dump = game.sim.Dump();
  EXPECT_NE(dump.find("\"exchange\":{\"captions\":[\"Connecting to Game Server...\",\"Connected\""),
            std::string::npos);
  EXPECT_NE(dump.find("\"available\":true,\"downloadMode\":true"), std::string::npos);
  EXPECT_NE(dump.find("{\"title\":\"Brikka\",\"text\":\"The Game will update"), std::string::npos);
  game.ExpectGameStarted();
}

TEST(HighscoreExchange, UploadSendsTheSecondFileAndKeepsOurs) {
  Server server;
  ASSERT_TRUE(server.ftp.port);
  Game game;
  WriteFile(game.data.file("brikka_highscores1.ini"), kServerTable);
  game.Run(server.Exchange(" upload"));
  EXPECT_EQ(ReadFile(server.Remote()), kServerTable);
  EXPECT_EQ(game.Table(), kLocalTable);
  EXPECT_EQ(game.Boxes(), Texts{kUploadBox});
  EXPECT_TRUE(game.sim.game().HighscoresAvailable);
  EXPECT_FALSE(game.sim.game().HighscoreDownloadMode);
  const Texts& captions = game.sim.plat().LabelCaptions();
  EXPECT_NE(std::find(captions.begin(), captions.end(), "Updating the Game Server in progress..."),
            captions.end());
  game.ExpectGameStarted();
}

// Every failure asks its box; Cancel (or the last answer) gives the highscores up, except
// after an upload, which leaves the flag alone. Our table never changes.
struct Failure {
  const char* name;
  const char* password;
  bool www;
  const char* remote;  // the server's www/brikka_highscores.ini; null: none
  const char* words;   // after the host
  const char* answers;
  Texts boxes;
  bool available;
};

void PrintTo(const Failure& f, std::ostream* os) {
  *os << f.name;
}

const std::string kOversized = "[highscores]\r\nScore1=1\r\n" + std::string(1100000, ';') + "\r\n";

// clang-format off
const Failure kFailures[] = {
    {"RefusedLogin", "not-the-password", true, nullptr, "", "answer ok\nanswer retry\nanswer cancel\n",
     {kDownloadBox, "Failed To Connect", "Failed To Connect"}, false},
    {"NoWww", Highscores::kPassword, false, nullptr, "", "",
     {kDownloadBox, "Failed To Set Directory"}, false},
    {"NoRemoteFile", Highscores::kPassword, true, nullptr, "", "",
     {kDownloadBox, "Failed To Retrieve Data"}, false},
    {"RemoteFileIsNoTable", Highscores::kPassword, true, "<html>Not Found</html>\r\n", "", "",
     {kDownloadBox, "Failed To Retrieve Data"}, false},
    {"RemoteFileTooBig", Highscores::kPassword, true, kOversized.c_str(), "", "",
     {kDownloadBox, "Failed To Retrieve Data"}, false},
    {"NothingToUpload", Highscores::kPassword, true, nullptr, " upload", "answer ok\nanswer retry\n",
     {kUploadBox, "Failed To Update the Game Server"}, true},
};
// clang-format on

class HighscoreExchangeFailure : public testing::TestWithParam<Failure> {};

TEST_P(HighscoreExchangeFailure, AsksItsBoxAndKeepsOurTable) {
  const Failure& f = GetParam();
  Server server(f.password, f.www);
  ASSERT_TRUE(server.ftp.port);
  if (f.remote) WriteFile(server.Remote(), f.remote);
  Game game;
  game.Run(std::string(f.answers) + server.Exchange(f.words));
  EXPECT_EQ(game.Boxes(), f.boxes);
  EXPECT_EQ(game.sim.game().HighscoresAvailable, f.available);
  EXPECT_EQ(game.Table(), kLocalTable);
  EXPECT_EQ(nettest::ListFolder(game.data.str()), Texts{"brikka_highscores.ini"});
  if (f.www && !f.remote) {
    EXPECT_FALSE(std::filesystem::exists(server.Remote()));  // nothing was sent
  }
  game.ExpectGameStarted();
}

INSTANTIATE_TEST_SUITE_P(, HighscoreExchangeFailure, testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// The retry logs in again and must change to "www" again before fetching: the file is
// there only.
TEST(HighscoreExchange, RetryAfterTheFileAppearedDownloadsIt) {
  Server server;
  ASSERT_TRUE(server.ftp.port);
  Game game;
  platform::Platform& plat = game.sim.plat();
  auto watched = std::make_unique<WatchedDialogs>();
  watched->inner = std::move(plat.dialogs);
  watched->on_box = [&](const std::string& text) {
    if (text == "Failed To Retrieve Data") WriteFile(server.Remote(), kServerTable);
  };
  plat.dialogs = std::move(watched);
  game.Run("answer ok\nanswer retry\n" + server.Exchange());
  EXPECT_EQ(game.Boxes(), (Texts{kDownloadBox, "Failed To Retrieve Data"}));
  EXPECT_EQ(game.Table(), kServerTable);
  EXPECT_TRUE(game.sim.game().HighscoresAvailable);
  game.ExpectGameStarted();
}

// A hang-up during the listing arms the next step's timer and asks "Failed To Connect"; the
// retry's new session must not be handed the old session's step while it is still greeting.
TEST(HighscoreExchange, RetryAfterAHangUpStartsTheStepsAgain) {
  nettest::FakeFtpServer server;
  server.Login().Ok("TYPE A").Ok("PORT").Expect("LIST").CloseControl();
  server.AcceptControl().Pause(1500).Login().Ok("TYPE A").Ok("PORT").Expect("LIST").CloseControl();
  server.Start();
  Game game;
  game.Run("answer ok\nanswer retry\nanswer cancel\nexchange 127.0.0.1:" +
           std::to_string(server.port()) + "\n");
  EXPECT_EQ(game.Boxes(), (Texts{kDownloadBox, "Failed To Connect", "Failed To Connect"}));
  EXPECT_EQ(game.Table(), kLocalTable);
  EXPECT_EQ(server.Finish(), "");
}

// Nothing listening, and a server that greets and then never answers: either way the
// window ends in the connect box (the latter by the time-out).
TEST(HighscoreExchange, NoAnswerEndsInTheConnectBox) {
  nettest::RefusingPort closed;
  nettest::FakeFtpServer stalled;
  stalled.Reply("220 ready").Expect("USER veridezuduri").Pause(30000);
  stalled.Start();
  for (const uint16_t port : {closed.port(), stalled.port()}) {
    Game game;
    game.Run("exchange 127.0.0.1:" + std::to_string(port) + " timeout 1\n");
    EXPECT_EQ(game.Boxes(), (Texts{kDownloadBox, "Failed To Connect"}));
    EXPECT_FALSE(game.sim.game().HighscoresAvailable);
    EXPECT_EQ(game.Table(), kLocalTable);
    if (port == stalled.port()) {
      EXPECT_EQ(game.sim.plat().LabelCaptions().back(), "Waiting...");  // it was at the login
    }
    game.ExpectGameStarted();
  }
  EXPECT_EQ(stalled.Finish(), "");
}

}  // namespace
