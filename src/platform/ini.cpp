// Profile-string reads and writes on INI files. One forward scan over the bytes serves
// both: a read stops at the key it wants, a write notes where its key goes and copies every
// other byte through untouched, so hand edits, comments and junk survive our rewrites.
#include "platform/ini.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files.h"

namespace platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = x - 'A' + 'a';
    if (y >= 'A' && y <= 'Z') y = y - 'A' + 'a';
    if (x != y) return false;
  }
  return true;
}

enum class Eol { kNone, kCrLf, kLf, kCr };

// One line of the file: its text is [begin, end), the next line starts at `next`.
struct Line {
  size_t begin = 0, end = 0, next = 0;
  Eol eol = Eol::kNone;
};

// Lines end at CRLF, LF or CR, whichever comes first, so all three kinds of file read.
bool NextLine(std::string_view text, size_t pos, Line& line) {
  if (pos >= text.size()) return false;
  size_t end = text.find_first_of("\r\n", pos);
  line.begin = pos;
  if (end == std::string_view::npos) {
    line.end = line.next = text.size();
    line.eol = Eol::kNone;
  } else if (text[end] == '\n') {
    line.end = end, line.next = end + 1, line.eol = Eol::kLf;
  } else if (end + 1 < text.size() && text[end + 1] == '\n') {
    line.end = end, line.next = end + 2, line.eol = Eol::kCrLf;
  } else {
    line.end = end, line.next = end + 1, line.eol = Eol::kCr;
  }
  return true;
}

enum class Kind { kOther, kHeader, kKey };

// What a line means. `name` is the section or key; `value` the raw (trimmed) value; `lead`
// the bytes before the key, kept when the key is rewritten. Blank lines, comments, a
// '[' without ']' and lines without '=' are all kOther: reads skip them, writes keep them.
struct Parsed {
  Kind kind = Kind::kOther;
  std::string_view name, value;
  size_t lead = 0;
};

Parsed ParseLine(std::string_view text) {
  Parsed p;
  size_t start = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") start = 3;  // a byte-order mark left by an editor
  while (start < text.size() && IsBlank(text[start])) ++start;
  if (start == text.size() || text[start] == ';') return p;
  if (text[start] == '[') {
    size_t close = text.find(']', start);
    if (close == std::string_view::npos) return p;
    p.kind = Kind::kHeader;
    p.name = Trim(text.substr(start + 1, close - start - 1));
    return p;
  }
  size_t eq = text.find('=', start);
  if (eq == std::string_view::npos) return p;
  p.kind = Kind::kKey;
  p.lead = start;
  p.name = Trim(text.substr(start, eq - start));
  p.value = Trim(text.substr(eq + 1));
  return p;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

std::string CutToSize(std::string_view s, size_t size) {
  if (size == 0) return std::string();
  return std::string(s.substr(0, size - 1));
}

// Where a batch of writes lands, found in one scan of the file: for each wanted key the line
// that holds it (the first of its name in the first section of the name), and where the keys
// not found go.
struct Placement {
  bool section_found = false;
  std::vector<bool> key_found;
  std::vector<Line> key_line;
  std::vector<Parsed> key;
  size_t insert_at = 0;  // after the section's last key line, or after its header
  size_t crlf = 0, lf = 0, cr = 0;
};

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

Placement Locate(std::string_view text, std::string_view section,
                 const std::vector<ProfileEntry>& entries) {
  std::unordered_map<std::string, size_t> wanted;
  for (size_t i = 0; i < entries.size(); ++i) wanted.emplace(Lowered(entries[i].key), i);
  Placement at;
  at.key_found.assign(entries.size(), false);
  at.key_line.resize(entries.size());
  at.key.resize(entries.size());
  bool inside = false;
  Line line;
  for (size_t pos = 0; NextLine(text, pos, line); pos = line.next) {
    at.crlf += line.eol == Eol::kCrLf;
    at.lf += line.eol == Eol::kLf;
    at.cr += line.eol == Eol::kCr;
    Parsed p = ParseLine(text.substr(line.begin, line.end - line.begin));
    if (p.kind == Kind::kHeader) {
      // Only the first section of a name counts, as for reads.
      inside = !at.section_found && SameIgnoringCase(p.name, section);
      if (inside) at.section_found = true, at.insert_at = line.next;
    } else if (p.kind == Kind::kKey && inside) {
      at.insert_at = line.next;
      auto it = wanted.find(Lowered(p.name));
      if (it != wanted.end() && !at.key_found[it->second]) {
        at.key_found[it->second] = true, at.key_line[it->second] = line, at.key[it->second] = p;
      }
    }
  }
  return at;
}

// New lines follow the file's own habit; a new file gets CRLF.
std::string_view DominantEol(const Placement& at) {
  if (at.lf > at.crlf && at.lf >= at.cr) return "\n";
  if (at.cr > at.crlf && at.cr > at.lf) return "\r";
  return "\r\n";
}

bool EndsWithBreak(std::string_view text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

// Names that could not be read back as written are refused rather than scrambling the file.
bool WritableNames(std::string_view section, std::string_view key) {
  if (section.find_first_of("]\r\n") != std::string_view::npos) return false;
  if (key.empty() || key.front() == ';' || key.front() == '[') return false;
  return key.find_first_of("=\r\n") == std::string_view::npos;
}

// One key named twice in a batch is written once, where its first mention would have put
// it, with its last value: what writing them one by one would leave.
std::vector<ProfileEntry> Merged(const std::vector<ProfileEntry>& entries) {
  std::vector<ProfileEntry> out;
  std::unordered_map<std::string, size_t> seen;
  for (const ProfileEntry& e : entries) {
    ProfileEntry clean{std::string(Trim(e.key)), e.value};
    for (char& c : clean.value) {
      if (c == '\r' || c == '\n') c = ' ';  // a value never spans lines
    }
    auto [it, fresh] = seen.emplace(Lowered(clean.key), out.size());
    if (fresh) {
      out.push_back(std::move(clean));
    } else {
      out[it->second].value = std::move(clean.value);
    }
  }
  return out;
}

// The file as writing each entry in turn would leave it. Keys already there change in
// place, keeping their spelling, indent and line ending; the others follow the section's
// last key in the batch's order; a missing section is appended at the end.
std::string Rewrite(std::string_view text, std::string_view section,
                    const std::vector<ProfileEntry>& entries) {
  Placement at = Locate(text, section, entries);
  std::string_view eol = DominantEol(at);
  std::vector<size_t> in_place;
  std::string added;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (at.key_found[i]) {
      in_place.push_back(i);
    } else {
      added.append(entries[i].key).append("=").append(entries[i].value).append(eol);
    }
  }
  std::sort(in_place.begin(), in_place.end(),
            [&](size_t a, size_t b) { return at.key_line[a].begin < at.key_line[b].begin; });
  std::string out;
  out.reserve(text.size() + added.size() + section.size() + 8);
  size_t copied = 0;
  for (size_t i : in_place) {
    size_t key_start = at.key_line[i].begin + at.key[i].lead;
    out.append(text.substr(copied, key_start - copied));
    out.append(at.key[i].name).append("=").append(entries[i].value);
    copied = at.key_line[i].end;
  }
  if (added.empty()) return out.append(text.substr(copied));
  if (at.section_found) {
    // The insertion point follows every key line of the section, so every in-place line.
    out.append(text.substr(copied, at.insert_at - copied));
    if (at.insert_at == text.size() && !EndsWithBreak(text)) out.append(eol);
    return out.append(added).append(text.substr(at.insert_at));
  }
  out.append(text.substr(copied));
  if (!text.empty() && !EndsWithBreak(text)) out.append(eol);
  return out.append("[").append(section).append("]").append(eol).append(added);
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_value, size_t size,
                                    const std::string& file) {
  std::optional<std::string> found = GetPrivateProfileStrings(section, {key}, size, file)[0];
  if (found) return *found;
  std::string fallback = default_value;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return CutToSize(fallback, size);
}

std::vector<std::optional<std::string>> GetPrivateProfileStrings(
    const std::string& section, const std::vector<std::string>& keys, size_t size,
    const std::string& file) {
  std::vector<std::optional<std::string>> values(keys.size());
  std::unordered_map<std::string, std::vector<size_t>> wanted;
  for (size_t i = 0; i < keys.size(); ++i) wanted[Lowered(Trim(keys[i]))].push_back(i);
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) return values;
  std::string_view text(bytes), want_section = Trim(section);
  bool inside = false;
  Line line;
  for (size_t pos = 0; NextLine(text, pos, line); pos = line.next) {
    Parsed p = ParseLine(text.substr(line.begin, line.end - line.begin));
    if (p.kind == Kind::kHeader) {
      if (inside) break;  // the first section of this name is the only one read
      inside = SameIgnoringCase(p.name, want_section);
    } else if (p.kind == Kind::kKey && inside) {
      auto it = wanted.find(Lowered(p.name));
      if (it == wanted.end()) continue;
      for (size_t i : it->second) values[i] = CutToSize(Unquote(p.value), size);
      wanted.erase(it);  // the first of duplicate keys wins
    }
  }
  return values;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
  return WritePrivateProfileStrings(section, {{key, value}}, file);
}

bool WritePrivateProfileStrings(const std::string& section,
                                const std::vector<ProfileEntry>& entries, const std::string& file) {
  std::string_view want_section = Trim(section);
  for (const ProfileEntry& e : entries) {
    if (!WritableNames(want_section, Trim(e.key))) return false;
  }
  if (entries.empty()) return true;
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) {
    // Only a missing file starts afresh; one we cannot read (a folder, no permission) is
    // left alone rather than replaced by a file holding just our keys.
    struct stat st;
    if (::stat(file.c_str(), &st) == 0 || errno != ENOENT) return false;
    bytes.clear();
  }
  return ReplaceFileAtomically(file, Rewrite(bytes, want_section, Merged(entries)));
}

}  // namespace platform
