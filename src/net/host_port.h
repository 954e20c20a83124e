// "HOST[:PORT]" as the command lines take a server: a host name or IPv4 address, and a port
// from 1 to 65535 (21 when none is given).
#pragma once

#include <cstdint>
#include <string>

namespace net {

// "" when `text` names a server, else what is wrong with it; `host` and `port` are set
// only when it does.
std::string ParseHostPort(const std::string& text, std::string& host, int32_t& port);

}  // namespace net
