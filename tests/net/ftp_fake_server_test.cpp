// CFtpClient against a scripted server: replies cut anywhere, garbage, active-mode ports,
// oversized listings, and errors raised at once. (Refusals, hang-ups, broken downloads and
// the like are sessions in ftp_event_order_test.cpp.)
#include <gtest/gtest.h>

#include "fake_ftp_server.h"
#include "net_test_support.h"

namespace {

using nettest::FakeFtpServer;
using nettest::FtpHarness;
using nettest::Raised;

TEST(FtpFakeServerTest, GarbageMultiLineGreetingAndRepliesCutAnywhereAreActedOnOnce) {
  FakeFtpServer server;
  // Lines that are no replies, then the greeting's final line cut after two digits and again
  // before its CR LF.
  for (const char* piece :
       {"HTTP/1.1 400 Bad Request\r\n\r\n<html>\r\n", "220-Welcome\r\n", "22", "0 Ready"}) {
    server.Raw(piece).Pause(50);
  }
  server.Raw("\r\n").Expect("USER anonymous").Raw("331 pass").Pause(50).Raw("word please\r\n");
  server.Expect("PASS player@brikka.invalid").Reply("230 in");
  server.Expect("PWD").Reply("257 \"C:\\games\"");
  server.Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.ftp.FtpServerMessage(), "Welcome");
  EXPECT_EQ(h.ftp.FtpServerMessage(), "");  // handed out once
  EXPECT_EQ(h.ftp.CurrentDirectory(), "C:/games");
  EXPECT_EQ(h.ftp.FtpSessionState(), 0);
  // A line break in a name would smuggle a second command onto the wire: nothing goes out.
  EXPECT_EQ(Raised([&] { h.ftp.DeleteFile("a.txt\r\nRMD /"); }).substr(0, 2), "5 ");
  EXPECT_EQ(server.Finish(), "");
  EXPECT_EQ(server.Seen().commands,
            (std::vector<std::string>{"USER anonymous", "PASS player@brikka.invalid", "PWD"}));
}

TEST(FtpFakeServerTest, ActiveModeAnnouncesConsecutivePortsSkippingBusyOnes) {
  FakeFtpServer server;
  server.Login();
  for (int i = 0; i < 2; ++i) {
    server.Ok("TYPE A").Ok("PORT 127,0,0,1,").Expect("LIST").Reply("150 here").ConnectToPort();
    server.SendData("-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a.txt\r\n").CloseData().Reply("226 done");
  }
  server.Start();
  FtpHarness h;
  ASSERT_EQ(h.Login(server.port()), 0);
  ASSERT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 0);
  // The next port is one higher; we hold that one, so the client must go on to the next.
  // (Other programs may hold ports too: any later one will do, but not a lower or the same.)
  const int first = server.Seen().ports.at(0);
  nettest::RefusingPort taken(static_cast<uint16_t>(first + 1));
  ASSERT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 0);
  EXPECT_EQ(h.ftp.CurrentDirectoryFiles().Count(), 1u);
  server.Finish();
  const auto ports = server.Seen().ports;
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_GE(ports[0], 20000);
  EXPECT_LE(ports[0], 40001);
  EXPECT_GE(ports[1], first + 2);
  EXPECT_LE(ports[1], first + 100);
}

// ---- listings are held whole, so they have a ceiling -----------------------------------

TEST(FtpFakeServerTest, ListingPastTheCapFailsAndTheSessionGoesOn) {
  const std::string line = "-rw-r--r-- 1 ftp ftp 12 Jan 12 12:34 a-file-name-of-some-length\r\n";
  FakeFtpServer server;
  server.Login().PassiveData("A").Expect("LIST").Reply("150 here");
  server.SendDataRepeated(line, net::CFtpClient::kMaxListingBytes + (1 << 20));
  server.Expect("NOOP").Reply("200 ok");  // the refused listing's reply never came: back in step
  server.Expect("PWD").Reply("257 \"/\" is current").Start();
  FtpHarness h;
  h.ftp.SetPassiveMode(true);
  ASSERT_EQ(h.Login(server.port()), 0);
  EXPECT_EQ(h.Call([&] { h.ftp.EnumFiles(); }), 1);
  EXPECT_EQ(h.ftp.LastFtpError().Number, 10040);
  EXPECT_EQ(h.ftp.LastFtpError().Description, "Message too long. The listing passed 64 MiB.");
  EXPECT_LE(std::stoll(h.Of('P').back()), static_cast<int64_t>(net::CFtpClient::kMaxListingBytes));
  EXPECT_EQ(h.Call([&] { h.ftp.GetCurrentDirectory(); }), 0);
  EXPECT_EQ(server.Finish(), "");
}

// ---- errors raised at once -------------------------------------------------------------

TEST(FtpFakeServerTest, MethodsRaiseAtOnceWhenTheyCannotStart) {
  FtpHarness fresh;  // no server named
  EXPECT_EQ(Raised([&] { fresh.ftp.Connect(); }),
            "380 CFtpClient.Connect: Invalid property value.");
  EXPECT_EQ(
      Raised([&] { fresh.ftp.GetCurrentDirectory(); }),
      "16008 CFtpClient.SendFtpCommand: CFtpClient.GetCurrentDirectory failed: The connection "
      "is not established.");
  EXPECT_EQ(Raised([&] { fresh.ftp.EnumFiles(); }).substr(0, 6), "16008 ");  // not 16007
  EXPECT_EQ(fresh.ftp.FtpSessionState(), 1);

  FakeFtpServer server;
  server.Reply("220 hi").Expect("USER").Start();  // the login stays half-way
  FtpHarness h;
  h.ftp.SetFtpServer("127.0.0.1");
  h.ftp.SetRemotePort(server.port());
  h.ftp.Connect();
  EXPECT_EQ(Raised([&] { h.ftp.SetCurrentDirectory("www"); }),
            "16007 CFtpClient.SetCurrentDirectory: Cannot execute the SetCurrentDirectory method. "
            "Waiting fot the server response on the previous command.");
  h.ftp.CancelAsyncMethod();
  const std::string invalid = "Invalid procedure call or argument",
                    property = "Invalid property value.";
  EXPECT_EQ(Raised([&] { h.ftp.RenameFile("a", ""); }), "5 CFtpClient.RenameFile: " + invalid);
  EXPECT_EQ(Raised([&] { h.ftp.DownloadFile("", "x", true); }),
            "5 CFtpClient.DownloadFile: " + invalid);
  for (int16_t bytes : {511, 8193}) {
    EXPECT_EQ(Raised([&] { h.ftp.SetSendBufferLenght(bytes); }),
              "380 CFtpClient.SendBufferLenght: " + property);
  }
  for (int32_t port : {0, 65536}) {
    EXPECT_EQ(Raised([&] { h.ftp.SetRemotePort(port); }), "380 CFtpClient.RemotePort: " + property);
  }
  EXPECT_EQ(h.ftp.RemotePort(), server.port());
  EXPECT_NO_THROW(h.ftp.SetSendBufferLenght(512));
}

}  // namespace
