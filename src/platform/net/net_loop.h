// The one-thread network loop: every socket completion, host look-up and network timer of
// the program is delivered from here, on the thread that calls Poll/RunOne/RunFor. The game's
// message pump calls Poll() once per round; the command-line FTP tool blocks in RunOne().
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

class TcpSocket;
struct NetEndpoint;

class NetLoop {
 public:
  NetLoop();
  ~NetLoop();
  NetLoop(const NetLoop&) = delete;
  NetLoop& operator=(const NetLoop&) = delete;

  // Runs every handler that is ready now and returns; never waits. Returns how many ran.
  size_t Poll();
  // Waits up to `max_ms` for one handler and runs it. Returns 1 when one ran, else 0.
  size_t RunOne(int32_t max_ms);
  // Runs handlers as they become ready for `ms` milliseconds.
  size_t RunFor(int32_t ms);

  // Queues `work` to run from the loop later (never from inside this call).
  void Post(std::function<void()> work);

  // Accepted connections wait here, under a request number, until a socket object claims
  // them (the connection-request event hands out the number).
  int32_t ParkAccepted(std::unique_ptr<TcpSocket> peer);
  std::unique_ptr<TcpSocket> ClaimAccepted(int32_t request_id);
  // The far end of a parked connection, so it can be checked before anyone claims it.
  bool AcceptedPeer(int32_t request_id, NetEndpoint& out) const;
  // Closes a parked connection nobody claimed.
  void DropAccepted(int32_t request_id);

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
