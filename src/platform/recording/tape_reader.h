// Reading a recording back: the whole file is checked first, so that a damaged or newer
// one is refused before anything is replayed, with the line named; then the passes are
// read one at a time as the replay takes their answers. A last line without its newline
// (a recording cut short by a crash) is left out, and the replay ends before it.
#pragma once

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/recording/tape.h"
#include "platform/recording/tape_line.h"
#include "platform/recording/tape_writer.h"

namespace platform {

class TapeReader : public Tape {
 public:
  // Throws ReplayError naming the file and the line.
  explicit TapeReader(const std::string& path);
  ~TapeReader() override;

  uint64_t seed() const { return seed_; }
  const std::vector<DataFile>& files() const { return files_; }
  const StartValues& start_values() const { return start_values_; }
  bool Replaying() const override { return true; }
  void Put(Stream, std::string) override;
  std::string Take(Stream s) override;
  void BeginPass() override;

  // The recording holds the game's start-up.
  bool HasStart() const { return has_start_; }
  // Another pass follows the current one.
  bool HasPass() const;
  // Throws when the game did not take every answer of the current pass.
  void CheckPassDone() const;
  // The state the game dumped at its end; none when the recording was cut short.
  const std::optional<std::string>& FinalDump() const { return final_dump_; }
  size_t FinalDumpLine() const { return final_dump_line_; }
  // "FILE, line N: " + what, for a message about the current pass (line 0: none).
  std::string At(const std::string& what, size_t line = 0) const;
  // Whether a message already names the recording's line.
  bool Names(const std::string& what) const { return what.rfind(path_ + ", line ", 0) == 0; }

  struct Cursor;

 private:
  struct Item;
  std::string path_;
  uint64_t seed_ = 0;
  std::vector<DataFile> files_;
  StartValues start_values_;
  bool has_start_ = false;
  std::optional<std::string> final_dump_;
  size_t final_dump_line_ = 0;
  std::unique_ptr<Cursor> cursor_;
  std::unique_ptr<Item> current_, next_;
  struct Position {
    size_t run = 0;
    uint64_t used = 0;
  };
  std::array<Position, kStreamCount> pos_{};
};

}  // namespace platform
