// Host look-ups on the network loop, and the dotted-address test the sockets use to skip
// a look-up. Results are IPv4 addresses in dotted form and Winsock numbers (11001 ...).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/net/net_loop.h"

namespace platform {

// True when `text` is a dotted IPv4 address ("127.0.0.1"), which needs no look-up.
bool IsDottedAddress(const std::string& text);

class Resolver {
 public:
  using Handler = std::function<void(int error, const std::string& first_address)>;
  explicit Resolver(NetLoop& loop);
  ~Resolver();
  Resolver(const Resolver&) = delete;
  Resolver& operator=(const Resolver&) = delete;

  // Looks `host` up (IPv4); the handler gets the first address or the error.
  void AsyncResolve(const std::string& host, Handler on_resolved);
  void Cancel();
  bool Pending() const;

  struct Impl;

 private:
  std::shared_ptr<Impl> impl_;
};

}  // namespace platform
