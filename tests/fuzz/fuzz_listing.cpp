// Fuzz target: the directory-listing parser must never crash, a failure leaves no files and
// gives a reason, and every parsed file is sound.
#include <string>

#include "fuzz_check.h"
#include "net/ftp_listing.h"

namespace {

bool Sound(const net::CFtpFile& f) {
  const net::FtpDate& d = f.LastWriteTime;
  return !f.FileName.empty() && f.FileSize >= 0 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= 31 && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59;
}

}  // namespace

void fuzz::Listing(std::string_view text) {
  net::CFtpFiles files;
  std::string error;
  const int year = 2024 + (text.empty() ? 0 : static_cast<unsigned char>(text[0]) % 4);
  if (!net::ParseListing(text, year, files, &error)) {
    FUZZ_CHECK(files.Count() == 0 && !error.empty());
    return;
  }
  for (const net::CFtpFile& f : files) {
    FUZZ_CHECK(Sound(f));
    FUZZ_CHECK(files.Item(f.FileName).FileName == f.FileName);
  }
}

FUZZ_ENTRY(fuzz::Listing)
