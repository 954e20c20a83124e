// A pass's line: "p N" and, for each stream the pass answered from, its letter and its
// tokens joined by ',' (a token repeated n times as TOKEN*n), or '=' when they are the
// same as the last time the stream appeared. Shared by the writer and the reader.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/recording/tape.h"

namespace platform {

using StreamTokens = std::array<std::vector<std::string>, kStreamCount>;

// Appends the line of pass `pass` (with its newline); `last` is each stream's last written
// list and is brought up to date.
void FormatPass(std::string& out, uint64_t pass, const StreamTokens& tokens, StreamTokens& last);

struct Run {
  std::string token;
  uint64_t count = 1;
};
using Runs = std::vector<Run>;
using StreamRuns = std::array<Runs, kStreamCount>;

// Parses the fields after "p N" into runs per stream, each token checked for its stream;
// `last` as for FormatPass. Throws ReplayError (without the line number).
void ParsePassFields(std::string_view fields, StreamRuns& out, StreamRuns& last);

// The stream a letter names; -1 for none.
int StreamOfLetter(char letter);
// What a stream's answers are called in messages ("clock readings").
const char* StreamName(Stream s);

}  // namespace platform
