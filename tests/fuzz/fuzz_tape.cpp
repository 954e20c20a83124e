// Fuzz target: the pass lines of a game recording, read one after another as a replay
// reads them. A line is read or refused with a ReplayError, never anything else; the
// answers of a line read, written again as the recorder writes them, read back the same.
// Escaped text reads back as the bytes it was made from.
#include <string>

#include "fuzz_check.h"
#include "platform/recording/tape_line.h"
#include "platform/recording/tape_tokens.h"

namespace {

// The answers a stream's runs stand for, or false when they are too many to spell out.
bool Expand(const platform::Runs& runs, std::vector<std::string>& tokens) {
  tokens.clear();
  for (const platform::Run& run : runs) {
    if (run.count > 1000 - tokens.size()) return false;
    tokens.insert(tokens.end(), run.count, run.token);
  }
  return true;
}

}  // namespace

void fuzz::Tape(std::string_view input) {
  platform::StreamRuns last, written_last;
  platform::StreamTokens formatted_last;
  while (!input.empty()) {
    const size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    FUZZ_CHECK(platform::UnescapeText(platform::EscapeText(line)) == line);

    platform::StreamRuns runs;
    try {
      platform::ParsePassFields(line, runs, last);
    } catch (const platform::ReplayError&) {
      continue;
    }
    platform::StreamTokens tokens;
    bool spelt = true;
    for (int s = 0; s < platform::kStreamCount; ++s) spelt = spelt && Expand(runs[s], tokens[s]);
    if (!spelt) continue;
    std::string text;
    platform::FormatPass(text, 1, tokens, formatted_last);
    const std::string_view fields = std::string_view(text).substr(4, text.size() - 5);
    platform::StreamRuns again;
    platform::ParsePassFields(fields, again, written_last);  // throws: a broken promise
    std::vector<std::string> reread;
    for (int s = 0; s < platform::kStreamCount; ++s) {
      FUZZ_CHECK(Expand(again[s], reread) && reread == tokens[s]);
    }
  }
}

FUZZ_ENTRY(fuzz::Tape)
