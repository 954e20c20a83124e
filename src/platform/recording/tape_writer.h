// Writing a recording while the game plays: the header (format, seed, the data files as
// they were at start), then a line per pass, then the final state. Lines are kept in memory
// and written every couple of seconds, so a crash loses at most the last seconds, and the
// game never waits on the disk in between.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/recording/tape.h"
#include "platform/recording/tape_line.h"

namespace platform {

// A file of the data folder as the recording holds it; no bytes when there was none.
struct DataFile {
  std::string name;
  std::optional<std::string> bytes;
};

class TapeWriter : public Tape {
 public:
  // Creates (or empties) the file; null with the reason when it cannot.
  static std::unique_ptr<TapeWriter> Create(const std::string& path, std::string& error);
  ~TapeWriter() override;

  void WriteHeader(uint64_t seed, const std::vector<DataFile>& files,
                   const StartValues& values = {});
  bool Replaying() const override { return false; }
  void Put(Stream s, std::string token) override {
    tokens_[static_cast<int>(s)].push_back(std::move(token));
  }
  std::string Take(Stream) override;
  void BeginPass() override;
  // The game has ended: its last pass, then its final state as a sim `dump` line; all is
  // written and the file closed.
  void Finish(const std::string& dump_json);

 private:
  explicit TapeWriter(std::FILE* file)
      : file_(file), flushed_at_(std::chrono::steady_clock::now()) {}
  void EndPass();
  void Flush();

  std::FILE* file_;
  std::string buffer_;
  StreamTokens tokens_, last_;
  uint64_t pass_ = 0;
  std::chrono::steady_clock::time_point flushed_at_;
  bool failed_ = false;
};

}  // namespace platform
