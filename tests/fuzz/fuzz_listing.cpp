// libFuzzer entry point for the directory-listing parser: it must never crash, a failure
// leaves no files and gives a reason, and every parsed file is sound.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/ftp_listing.h"

namespace {

bool Sound(const net::CFtpFile& f) {
  const net::FtpDate& d = f.LastWriteTime;
  return !f.FileName.empty() && f.FileSize >= 0 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= 31 && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  net::CFtpFiles files;
  std::string error;
  const int year = 2024 + (size == 0 ? 0 : data[0] % 4);  // leap and common years
  if (!net::ParseListing(text, year, files, &error)) {
    if (files.Count() != 0 || error.empty()) __builtin_trap();
    return 0;
  }
  for (const net::CFtpFile& f : files) {
    if (!Sound(f) || files.Item(f.FileName).FileName != f.FileName) __builtin_trap();
  }
  return 0;
}
