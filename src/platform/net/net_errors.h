// The system's socket and look-up failures as the Windows Sockets error numbers the network
// classes report (10061 connection refused, 11001 host not found, ...).
#pragma once

#include <system_error>

namespace platform {

// The orderly end of a stream: not an error, the peer closed its side.
constexpr int kEndOfStream = -1;

// 0 for success, kEndOfStream for end of file, otherwise a Winsock number (10000..11004).
// Failures without a Winsock counterpart become 10107 (system call failure).
int WinsockError(const std::error_code& ec);

// The same for a bare errno value.
int WinsockErrorFromErrno(int errno_value);

}  // namespace platform
