// CSocket and CTimeout on the network loop, over loopback. (That a peer's last bytes come
// before its close, and that bytes start a time-out again, the FTP sessions show.)
#include <gtest/gtest.h>

#include "net/csocket.h"
#include "net/ctimeout.h"
#include "net_test_support.h"

namespace {

using net::CSocket;
using nettest::RunUntil;

// A loop, a listening socket that takes the first connection into `peer`, and a client.
class CSocketTest : public ::testing::Test {
 protected:
  CSocketTest() {
    listener.Bind(0, "127.0.0.1");
    listener.Listen();
    listener.OnConnectionRequest = [this](int32_t id) { peer.Accept(id); };
    peer.OnDataArrival = [this](int32_t) {
      std::string more;
      peer.GetData(more);
      received += more;
    };
  }
  void Connect() {
    client.Connect("127.0.0.1", listener.LocalPort());
    ASSERT_TRUE(RunUntil(loop, [&] { return client.State() == 7 && peer.State() == 7; }));
  }

  platform::NetLoop loop;
  CSocket listener{loop}, peer{loop}, client{loop};
  std::string received;
};

TEST_F(CSocketTest, ConnectsToADottedAddressWithoutALookUpAndReportsBothEnds) {
  bool connected = false;
  client.OnConnect = [&] { connected = true; };
  client.Connect("127.0.0.1", listener.LocalPort());
  // Never state 4 (resolving) for an address, and no event from inside the call.
  EXPECT_EQ(client.State(), CSocket::sckConnecting);
  EXPECT_FALSE(connected);
  ASSERT_TRUE(RunUntil(loop, [&] { return connected && peer.State() == 7; }));
  EXPECT_EQ(client.State(), CSocket::sckConnected);
  EXPECT_EQ(client.RemoteHostIP(), "127.0.0.1");
  EXPECT_EQ(client.LocalIP(), "127.0.0.1");
  EXPECT_EQ(peer.RemotePort(), client.LocalPort());
  EXPECT_NE(client.SocketHandle(), -1);
}

TEST_F(CSocketTest, ResolvesAHostNameFirst) {
  bool connected = false;
  client.OnConnect = [&] { connected = true; };
  client.Connect("localhost", listener.LocalPort());
  EXPECT_EQ(client.State(), CSocket::sckResolvingHost);
  ASSERT_TRUE(RunUntil(loop, [&] { return connected; }));
  EXPECT_EQ(client.RemoteHostIP(), "127.0.0.1");
}

TEST_F(CSocketTest, RefusedConnectionIsWinsockErrorAndStateError) {
  std::vector<std::pair<int, std::string>> errors;
  client.OnError = [&](int16_t number, const std::string& description, int32_t, const std::string&,
                       const std::string&, int32_t,
                       bool&) { errors.emplace_back(number, description); };
  nettest::RefusingPort refusing;
  client.Connect("127.0.0.1", refusing.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return !errors.empty(); }));
  EXPECT_EQ(errors[0], (std::pair<int, std::string>{10061, "Connection refused."}));
  EXPECT_EQ(client.State(), CSocket::sckError);
  EXPECT_EQ(client.SocketHandle(), -1);
}

TEST_F(CSocketTest, RaisesAtOnceWhatCannotBeDone) {
  EXPECT_EQ(nettest::Raised([&] {
              client.Bind(listener.LocalPort(), "127.0.0.1");
              client.Listen();
            }),
            "10048 CSocket.Bind: Address already in use.");
  CSocket fresh(loop);
  EXPECT_EQ(nettest::Raised([&] { fresh.SendData(std::string("x")); }),
            "40006 CSocket.SendData: Wrong protocol or connection state for the requested "
            "transaction or request.");
  EXPECT_NE(nettest::Raised([&] { fresh.Connect("127.0.0.1", 70000); }), "");  // beyond 16 bits
  // Error texts, and the fallback for numbers without one.
  EXPECT_EQ(net::GetErrorDescription(11001), "Host not found.");
  EXPECT_EQ(net::GetErrorDescription(12345), "Unknown error.");
  EXPECT_EQ(net::GetErrorDescription(0), "Unknown error.");
}

TEST_F(CSocketTest, SendDataTurnsEachTypeIntoItsBytes) {
  Connect();
  client.SendData(uint8_t{0x41});
  client.SendData(int16_t{0x0102});
  client.SendData(int32_t{-2});
  client.SendData(1.5f);
  client.SendData(2.0);
  client.SendData("str");
  client.SendData(std::vector<uint8_t>{0, 255});
  const std::string expected =
      std::string("\x41\x02\x01\xFE\xFF\xFF\xFF", 7) + std::string("\x00\x00\xC0\x3F", 4) +
      std::string("\x00\x00\x00\x00\x00\x00\x00\x40", 8) + "str" + std::string("\x00\xFF", 2);
  ASSERT_TRUE(RunUntil(loop, [&] { return received.size() >= expected.size(); }));
  EXPECT_EQ(received, expected);
}

TEST_F(CSocketTest, SendProgressKeepsTheRestUntilAllIsSent) {
  Connect();
  std::string payload(24 * 1024 * 1024, '\0');
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(i * 7 + i / 4096);
  std::vector<std::pair<int32_t, int32_t>> progress;
  int complete = 0;
  client.OnSendProgress = [&](int32_t sent, int32_t left) { progress.emplace_back(sent, left); };
  client.OnSendComplete = [&] { ++complete; };
  client.SendData(payload);
  EXPECT_TRUE(progress.empty());  // reported from the loop, not from SendData
  ASSERT_TRUE(RunUntil(
      loop, [&] { return complete && received.size() == payload.size(); }, 20000));
  EXPECT_TRUE(received == payload);
  ASSERT_GT(progress.size(), 1u) << "24 MiB went in one write";
  EXPECT_GT(progress.front().second, 0);  // the first send left bytes waiting ...
  int64_t total = 0;
  for (const auto& [sent, left] : progress) {
    total += sent;
    EXPECT_EQ(left, static_cast<int64_t>(payload.size()) - total);  // ... kept
  }
  EXPECT_EQ(progress.back().second, 0);
  EXPECT_EQ(complete, 1);
}

TEST_F(CSocketTest, GetDataAndPeekDataHandOutTheReceiveBuffer) {
  int32_t total = 0;
  client.OnDataArrival = [&](int32_t bytes) { total = bytes; };
  Connect();
  peer.SendData("abcdef");
  ASSERT_TRUE(RunUntil(loop, [&] { return total == 6; }));
  std::string text;
  client.PeekData(text, 2);
  EXPECT_EQ(text, "ab");
  client.GetData(text, 4);
  EXPECT_EQ(text, "abcd");
  std::vector<uint8_t> bytes;
  client.GetData(bytes);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{'e', 'f'}));
  EXPECT_EQ(client.BytesReceived(), 6);
}

// A listener closed, or destroyed, with its accept still pending hears nothing more: no
// error for the aborted accept, and no handler run on a socket that is gone.
TEST_F(CSocketTest, AListenerClosedOrDestroyedWhileAcceptingHearsNothingMore) {
  int errors = 0;
  auto count = [&](int16_t, const std::string&, int32_t, const std::string&, const std::string&,
                   int32_t, bool&) { ++errors; };
  listener.OnError = count;
  listener.CloseSocket();
  auto gone = std::make_unique<CSocket>(loop);
  gone->OnError = count;
  gone->Bind(0, "127.0.0.1");
  gone->Listen();
  gone.reset();
  EXPECT_FALSE(RunUntil(
      loop, [&] { return errors > 0; }, 200));
  EXPECT_EQ(listener.State(), CSocket::sckClosed);
}

TEST(CSocketUdpTest, DatagramCarriesItsSender) {
  platform::NetLoop loop;
  CSocket receiver(loop), sender(loop);
  receiver.SetProtocol(CSocket::sckUDPProtocol);
  sender.SetProtocol(CSocket::sckUDPProtocol);
  receiver.Bind(0, "127.0.0.1");
  sender.Bind(0, "127.0.0.1");
  std::string got;
  receiver.OnDataArrival = [&](int32_t) { receiver.GetData(got); };
  sender.SetRemoteHost("127.0.0.1");
  sender.SetRemotePort(receiver.LocalPort());
  sender.SendData("ping");
  ASSERT_TRUE(RunUntil(loop, [&] { return !got.empty(); }));
  EXPECT_EQ(got, "ping");
  EXPECT_EQ(receiver.RemotePort(), sender.LocalPort());
  EXPECT_EQ(receiver.RemoteHostIP(), "127.0.0.1");
}

// ---- CTimeout -------------------------------------------------------------------------

TEST(CTimeoutTest, TicksEveryPeriodUntilStoppedAndOverflowsBeyondALong) {
  platform::NetLoop loop;
  net::CTimeout timeout(loop);
  int ticks = 0;
  timeout.TimeOut = [&] { ++ticks; };
  timeout.StopTimer();   // before any start: nothing
  timeout.StartTimer();  // TimeOutValue 0: nothing
  EXPECT_FALSE(timeout.Running());
  timeout.SetTimeOutValue(1);
  timeout.StartTimer();
  ASSERT_TRUE(RunUntil(loop, [&] { return ticks == 2; }));  // periodic
  timeout.StopTimer();
  EXPECT_FALSE(timeout.Running());
  loop.RunFor(1300);
  EXPECT_EQ(ticks, 2);
  timeout.Reset();  // also after a stop: counting again
  ASSERT_TRUE(RunUntil(loop, [&] { return ticks == 3; }));
  timeout.StopTimer();
  // A period beyond a Long overflows.
  timeout.SetTimeOutValue(2147484);  // 2147484000 ms
  EXPECT_EQ(nettest::Raised([&] { timeout.StartTimer(); }).substr(0, 2), "6 ");
  timeout.SetTimeOutValue(2147483);
  timeout.StartTimer();
  timeout.SetTimeOutValue(2147484);
  EXPECT_NO_THROW(timeout.Reset());  // sets no timer, raises nothing
}

}  // namespace
