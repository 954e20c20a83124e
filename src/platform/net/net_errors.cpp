// Maps errno values and Asio's look-up errors onto Windows Sockets error numbers.
#include "platform/net/net_errors.h"

#include <cerrno>

#include "platform/net/net_loop_impl.h"

namespace platform {
namespace {

struct ErrnoPair {
  int errno_value;
  int winsock;
};

// errno -> Winsock, in the order of the Winsock numbers.
constexpr ErrnoPair kErrnoTable[] = {
    {EINTR, 10004},           {ECANCELED, 10004},    {EACCES, 10013},
    {EPERM, 10013},           {EFAULT, 10014},       {EINVAL, 10022},
    {EMFILE, 10024},          {ENFILE, 10024},       {EAGAIN, 10035},
    {EINPROGRESS, 10036},     {EALREADY, 10037},     {ENOTSOCK, 10038},
    {EBADF, 10038},           {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},        {ENETUNREACH, 10051},  {ENETRESET, 10052},
    {ECONNABORTED, 10053},    {ECONNRESET, 10054},   {EPIPE, 10054},
    {ENOBUFS, 10055},         {ENOMEM, 10055},       {EISCONN, 10056},
    {ENOTCONN, 10057},        {ESHUTDOWN, 10058},    {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},
};

}  // namespace

int WinsockErrorFromErrno(int errno_value) {
  if (errno_value == 0) return 0;
  for (const auto& pair : kErrnoTable) {
    if (pair.errno_value == errno_value) return pair.winsock;
  }
  return 10107;
}

int WinsockError(const std::error_code& ec) {
  if (!ec) return 0;
  if (ec == asio::error::eof) return kEndOfStream;
  if (ec == asio::error::operation_aborted) return 10004;
  const auto& category = ec.category();
  if (category == asio::error::get_netdb_category()) {
    switch (ec.value()) {
      case asio::error::host_not_found:
        return 11001;
      case asio::error::host_not_found_try_again:
        return 11002;
      case asio::error::no_recovery:
        return 11003;
      case asio::error::no_data:
        return 11004;
      default:
        return 11003;
    }
  }
  if (category == asio::error::get_addrinfo_category()) {
    // An unknown service name is Winsock's "type not found"; the rest is the socket type.
    return ec.value() == asio::error::service_not_found ? 10109 : 10044;
  }
  if (category == asio::error::get_misc_category()) {
    if (ec == asio::error::already_open) return 10037;
    if (ec == asio::error::not_found) return 11001;
    return 10107;
  }
  if (category == asio::error::get_system_category() || category == std::generic_category()) {
    return WinsockErrorFromErrno(ec.value());
  }
  return 10107;
}

}  // namespace platform
