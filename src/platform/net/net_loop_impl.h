// The Asio side of the network loop; included only by platform/net_*.cpp.
#pragma once

#include <asio.hpp>
#include <map>
#include <memory>

#include "platform/net/net_loop.h"
#include "platform/net/net_tcp.h"

namespace platform {

struct NetLoop::Impl {
  // One thread runs the loop, so Asio may skip most of its locking.
  asio::io_context io{1};
  // Keeps RunOne/RunFor waiting even while no operation is outstanding.
  asio::executor_work_guard<asio::io_context::executor_type> work = asio::make_work_guard(io);
  std::map<int32_t, std::unique_ptr<TcpSocket>> parked;
};

}  // namespace platform
