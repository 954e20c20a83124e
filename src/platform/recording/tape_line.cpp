// Formatting and parsing a pass's line.
#include "platform/recording/tape_line.h"

#include <cstring>

#include "platform/recording/tape_tokens.h"

namespace platform {

namespace {

constexpr uint64_t kMaxRepeat = 1'000'000'000;

void AppendRuns(std::string& out, const std::vector<std::string>& tokens) {
  for (size_t i = 0; i < tokens.size();) {
    size_t j = i + 1;
    while (j < tokens.size() && tokens[j] == tokens[i]) ++j;
    if (i) out += ',';
    out += tokens[i];
    if (j - i > 1) {
      out += '*';
      out += IntToken(static_cast<int64_t>(j - i));
    }
    i = j;
  }
}

// Throws when a token cannot be an answer of the stream.
void CheckToken(Stream s, std::string_view token) {
  if (token.empty()) throw ReplayError("an empty answer");
  KeyboardState keys;
  std::vector<MouseRecord> records;
  switch (s) {
    case Stream::Clock:
    case Stream::Level:
    case Stream::Boxes:
      ParseInt(token);
      break;
    case Stream::Acquire:
    case Stream::Plays:
      ParseInt(token, 0, 1);
      break;
    case Stream::Keys:
      ParseKeys(token, keys);
      break;
    case Stream::Mouse:
      ParseMouse(token, records);
      break;
    case Stream::Events:
      ParseRound(token);
      break;
    case Stream::Music:
      ParseReal(token);
      break;
    default:  // start-up answers are read as they are used
      break;
  }
}

Runs ParseRuns(Stream s, std::string_view body) {
  Runs runs;
  for (size_t from = 0; from <= body.size();) {
    size_t comma = body.find(',', from);
    std::string_view item =
        body.substr(from, comma == std::string_view::npos ? comma : comma - from);
    Run run;
    size_t star = item.find('*');
    if (star != std::string_view::npos) {
      run.count = static_cast<uint64_t>(ParseInt(item.substr(star + 1), 2, kMaxRepeat));
      item = item.substr(0, star);
    }
    if (item.find('=') != std::string_view::npos) throw ReplayError("'=' inside an answer");
    CheckToken(s, item);
    run.token = std::string(item);
    runs.push_back(std::move(run));
    if (comma == std::string_view::npos) break;
    from = comma + 1;
  }
  return runs;
}

}  // namespace

int StreamOfLetter(char letter) {
  const char* at = letter ? std::strchr(kStreamLetters, letter) : nullptr;
  return at ? static_cast<int>(at - kStreamLetters) : -1;
}

const char* StreamName(Stream s) {
  static const char* const kNames[kStreamCount] = {
      "start-up answers", "clock readings",     "device states", "device acquisitions",
      "keyboard polls",   "mouse reads",        "pump rounds",   "tune answers",
      "effect plays",     "message-box answers"};
  return kNames[static_cast<int>(s)];
}

void FormatPass(std::string& out, uint64_t pass, const StreamTokens& tokens, StreamTokens& last) {
  out += "p ";
  out += IntToken(static_cast<int64_t>(pass));
  for (int s = 0; s < kStreamCount; ++s) {
    if (tokens[s].empty()) continue;
    out += ' ';
    out += kStreamLetters[s];
    if (tokens[s] == last[s]) {
      out += '=';
    } else {
      AppendRuns(out, tokens[s]);
      last[s] = tokens[s];
    }
  }
  out += '\n';
}

void ParsePassFields(std::string_view fields, StreamRuns& out, StreamRuns& last) {
  for (Runs& r : out) r.clear();
  bool seen[kStreamCount] = {};
  for (size_t from = 0; from < fields.size();) {
    size_t space = fields.find(' ', from);
    std::string_view field =
        fields.substr(from, space == std::string_view::npos ? space : space - from);
    from = space == std::string_view::npos ? fields.size() : space + 1;
    if (field.empty()) throw ReplayError("two blanks in a row");
    const int s = StreamOfLetter(field[0]);
    if (s < 0) throw ReplayError("no stream is called '" + std::string(1, field[0]) + "'");
    if (seen[s]) throw ReplayError(std::string("stream '") + field[0] + "' twice");
    seen[s] = true;
    std::string_view body = field.substr(1);
    if (body == "=") {
      if (last[s].empty()) {
        throw ReplayError(std::string("'") + field[0] + "=' before any answer of the stream");
      }
      out[s] = last[s];
    } else {
      out[s] = ParseRuns(static_cast<Stream>(s), body);
      last[s] = out[s];
    }
  }
}

}  // namespace platform
