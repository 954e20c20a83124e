// Replays every input the fuzzers ever broke the parsers with (tests/fuzz/regressions/).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "net/ftp_listing.h"
#include "net/ftp_reply.h"

namespace {

std::vector<std::string> Regressions(const char* target) {
  std::vector<std::string> inputs;
  const std::filesystem::path dir =
      std::filesystem::path(BRIKKA_SOURCE_DIR) / "tests" / "fuzz" / "regressions" / target;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return inputs;
}

TEST(FuzzRegressions, ReplyScanner) {
  for (const std::string& input : Regressions("reply")) {
    const net::ReplyScan scan = net::ScanReply(input);
    EXPECT_LE(scan.code, 999);
    net::ScanReply(input, input.empty() ? 0 : static_cast<unsigned char>(input[0]) % 128);
  }
}

TEST(FuzzRegressions, ListingParser) {
  for (const std::string& input : Regressions("listing")) {
    net::CFtpFiles files;
    std::string error;
    if (!net::ParseListing(input, 2024, files, &error)) {
      EXPECT_EQ(files.Count(), 0u);
    }
  }
}

}  // namespace
