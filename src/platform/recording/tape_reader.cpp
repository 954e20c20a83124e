// The recording's reader: header, passes and the final dump, checked and then replayed.
#include "platform/recording/tape_reader.h"

#include "platform/recording/tape_tokens.h"

namespace platform {

namespace {

// Longer lines are refused: a pass's line is short, an embedded file a few kilobytes.
constexpr size_t kMaxLine = 16 * 1024 * 1024;
// The game keeps two files in its data folder, and starts from two flags; a recording
// holding many more is not one.
constexpr size_t kMaxFiles = 8;

// Complete lines of a file, numbered from 1; a last line without its newline is dropped.
class LineReader {
 public:
  explicit LineReader(const std::string& path) : in_(path, std::ios::binary) {}
  bool is_open() const { return in_.is_open(); }
  size_t number() const { return number_; }
  bool Next(std::string& line) {
    line.clear();
    std::streambuf* sb = in_.rdbuf();
    for (;;) {
      int c = sb->sbumpc();
      if (c == std::char_traits<char>::eof()) return false;
      if (c == '\n') break;
      if (line.size() == kMaxLine) {
        throw ReplayError("line " + std::to_string(number_ + 1) + ": longer than " +
                          std::to_string(kMaxLine) + " bytes");
      }
      line += static_cast<char>(c);
    }
    ++number_;
    return true;
  }

 private:
  std::ifstream in_;
  size_t number_ = 0;
};

bool StartsWith(const std::string& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

bool PlainFileName(const std::string& name) {
  return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos && EscapeText(name) == name;
}

}  // namespace

struct TapeReader::Item {
  enum Kind { Pass, Dump, End } kind = End;
  size_t line = 0;
  StreamRuns runs;
  std::string dump;
};

// One pass through the file: the header into the reader, then one item at a time.
struct TapeReader::Cursor {
  LineReader lines;
  StreamRuns last;
  uint64_t next_pass = 0;
  bool dumped = false;
  explicit Cursor(const std::string& path) : lines(path) {}

  void ReadHeader(TapeReader& r, std::string& line) {
    if (!lines.Next(line) || !StartsWith(line, (std::string(kRecordingMagic) + ' ').c_str())) {
      throw ReplayError("line 1: not a brikka recording");
    }
    const int64_t format = ParseInt(line.substr(sizeof kRecordingMagic), 1, INT32_MAX);
    if (format > kRecordingFormat) {
      throw ReplayError("line 1: a recording of format " + std::to_string(format) +
                        "; this build reads format " + std::to_string(kRecordingFormat) +
                        " and older");
    }
    if (!lines.Next(line) || !StartsWith(line, "seed ")) throw ReplayError("line 2: no seed");
    r.seed_ = static_cast<uint64_t>(ParseInt(line.substr(5), 0, INT64_MAX));
  }

  void ReadFile(TapeReader& r, const std::string& line) {
    const size_t name_end = line.find(' ', 5);
    const size_t size_end = line.find(' ', name_end + 1);
    std::string name = line.substr(5, name_end - 5);
    if (name_end == std::string::npos || !PlainFileName(name)) throw ReplayError("a bad file name");
    for (const DataFile& f : r.files_) {
      if (f.name == name) throw ReplayError("the file " + name + " twice");
    }
    if (r.files_.size() == kMaxFiles) throw ReplayError("more files than a game keeps");
    const int64_t size = ParseInt(line.substr(name_end + 1, size_end - name_end - 1), 0, kMaxLine);
    std::string bytes =
        size_end == std::string::npos ? "" : UnescapeText(line.substr(size_end + 1));
    if (static_cast<int64_t>(bytes.size()) != size) {
      throw ReplayError("the file " + name + " holds " + std::to_string(bytes.size()) +
                        " bytes, not the " + std::to_string(size) + " announced");
    }
    r.files_.push_back({name, std::move(bytes)});
  }

  void ReadStartValue(TapeReader& r, const std::string& line) {
    const size_t space = line.find(' ', 6);
    if (space == std::string::npos) throw ReplayError("a start value without its value");
    if (r.start_values_.size() == kMaxFiles) throw ReplayError("more start values than a game has");
    r.start_values_.emplace_back(UnescapeText(line.substr(6, space - 6)),
                                 UnescapeText(line.substr(space + 1)));
  }

  // The next pass or the final dump; header lines go into `r` on the way.
  Item Next(TapeReader* header) {
    Item item;
    std::string line;
    while (lines.Next(line)) {
      item.line = lines.number();
      if (dumped) throw ReplayError("nothing may follow the final dump");
      if (StartsWith(line, "file ") && next_pass == 0) {
        if (header) ReadFile(*header, line);
      } else if (StartsWith(line, "start ") && next_pass == 0) {
        if (header) ReadStartValue(*header, line);
      } else if (StartsWith(line, "p ")) {
        const size_t end = line.find(' ', 2);
        const int64_t pass = ParseInt(line.substr(2, end == std::string::npos ? end : end - 2));
        if (pass != static_cast<int64_t>(next_pass)) {
          throw ReplayError("pass " + std::to_string(pass) + " where pass " +
                            std::to_string(next_pass) + " was due");
        }
        ++next_pass;
        item.kind = Item::Pass;
        ParsePassFields(end == std::string::npos ? "" : std::string_view(line).substr(end + 1),
                        item.runs, last);
        return item;
      } else if (StartsWith(line, "dump {")) {
        dumped = true;
        item.kind = Item::Dump;
        item.dump = line.substr(5);
        return item;
      } else {
        throw ReplayError("not a line of a recording: '" + line.substr(0, 40) + "'");
      }
    }
    item.kind = Item::End;
    return item;
  }
};

TapeReader::TapeReader(const std::string& path) : path_(path) {
  Cursor check(path);
  if (!check.lines.is_open()) throw ReplayError("cannot read the recording '" + path + "'");
  std::string line;
  try {
    check.ReadHeader(*this, line);
    for (Item item = check.Next(this); item.kind != Item::End; item = check.Next(this)) {
      has_start_ = has_start_ || item.kind == Item::Pass;
      if (item.kind == Item::Dump) {
        final_dump_ = std::move(item.dump);
        final_dump_line_ = item.line;
      }
    }
  } catch (const ReplayError& e) {
    const std::string what = e.what();
    throw ReplayError(StartsWith(what, "line ") ? path_ + ", " + what
                                                : At(what, check.lines.number()));
  }
  cursor_ = std::make_unique<Cursor>(path);
  cursor_->ReadHeader(*this, line);
  files_.clear();
  start_values_.clear();
  current_ = std::make_unique<Item>(cursor_->Next(this));
  next_ = std::make_unique<Item>(current_->kind == Item::Pass ? cursor_->Next(nullptr) : Item{});
}

TapeReader::~TapeReader() = default;

std::string TapeReader::At(const std::string& what, size_t line) const {
  if (!line && current_) line = current_->line;
  return path_ + ", line " + std::to_string(line) + ": " + what;
}

void TapeReader::Put(Stream, std::string) {
  throw std::logic_error("a recording being replayed is not written");
}

std::string TapeReader::Take(Stream s) {
  const int i = static_cast<int>(s);
  const Runs& runs = current_->runs[i];
  Position& at = pos_[i];
  if (current_->kind != Item::Pass || at.run >= runs.size()) {
    throw ReplayError(
        At(std::string("the game asked for more ") + StreamName(s) + " than the recording holds"));
  }
  const Run& run = runs[at.run];
  if (++at.used == run.count) {
    ++at.run;
    at.used = 0;
  }
  return run.token;
}

void TapeReader::CheckPassDone() const {
  if (current_->kind != Item::Pass) return;
  for (int s = 0; s < kStreamCount; ++s) {
    if (pos_[s].run < current_->runs[s].size()) {
      throw ReplayError(At(std::string("the game took fewer ") +
                           StreamName(static_cast<Stream>(s)) + " than the recording holds"));
    }
  }
}

bool TapeReader::HasPass() const {
  return next_->kind == Item::Pass;
}

void TapeReader::BeginPass() {
  CheckPassDone();
  if (!HasPass()) throw ReplayError(At("the recording ends after this pass"));
  current_ = std::move(next_);
  pos_ = {};
  next_ = std::make_unique<Item>(cursor_->Next(nullptr));
}

}  // namespace platform
