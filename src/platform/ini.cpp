// Profile-string reads and writes on INI files. One forward scan over the bytes serves
// both: a read stops at the key it wants, a write notes where its key goes and copies every
// other byte through untouched, so hand edits, comments and junk survive our rewrites.
#include "platform/ini.h"

#include <sys/stat.h>

#include <cerrno>
#include <string_view>

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

// Where a write lands, found in one scan of the file.
struct Placement {
  bool section_found = false;
  bool key_found = false;
  Line key_line;
  Parsed key;
  size_t insert_at = 0;  // after the section's last key line, or after its header
  size_t crlf = 0, lf = 0, cr = 0;
};

Placement Locate(std::string_view text, std::string_view section, std::string_view key) {
  Placement at;
  bool inside = false;
  Line line;
  for (size_t pos = 0; NextLine(text, pos, line); pos = line.next) {
    at.crlf += line.eol == Eol::kCrLf;
    at.lf += line.eol == Eol::kLf;
    at.cr += line.eol == Eol::kCr;
    if (at.key_found) continue;  // still counting line endings
    Parsed p = ParseLine(text.substr(line.begin, line.end - line.begin));
    if (p.kind == Kind::kHeader) {
      // Only the first section of a name counts, as for reads.
      inside = !at.section_found && SameIgnoringCase(p.name, section);
      if (inside) at.section_found = true, at.insert_at = line.next;
    } else if (p.kind == Kind::kKey && inside) {
      at.insert_at = line.next;
      if (SameIgnoringCase(p.name, key)) at.key_found = true, at.key_line = line, at.key = p;
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

std::string Rewrite(std::string_view text, std::string_view section, std::string_view key,
                    const std::string& value) {
  Placement at = Locate(text, section, key);
  std::string_view eol = DominantEol(at);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  if (at.key_found) {
    // In place, keeping the key's own spelling and indent and the line's ending.
    size_t key_start = at.key_line.begin + at.key.lead;
    out.append(text.substr(0, key_start));
    out.append(at.key.name).append("=").append(value);
    out.append(text.substr(at.key_line.end));
  } else if (at.section_found) {
    out.append(text.substr(0, at.insert_at));
    if (at.insert_at == text.size() && !EndsWithBreak(text)) out.append(eol);
    out.append(key).append("=").append(value).append(eol);
    out.append(text.substr(at.insert_at));
  } else {
    out.append(text);
    if (!text.empty() && !EndsWithBreak(text)) out.append(eol);
    out.append("[").append(section).append("]").append(eol);
    out.append(key).append("=").append(value).append(eol);
  }
  return out;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_value, size_t size,
                                    const std::string& file) {
  std::string fallback = default_value;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) return CutToSize(fallback, size);
  std::string_view text(bytes), want_section = Trim(section), want_key = Trim(key);
  bool inside = false;
  Line line;
  for (size_t pos = 0; NextLine(text, pos, line); pos = line.next) {
    Parsed p = ParseLine(text.substr(line.begin, line.end - line.begin));
    if (p.kind == Kind::kHeader) {
      if (inside) break;  // the first section of this name is the only one read
      inside = SameIgnoringCase(p.name, want_section);
    } else if (p.kind == Kind::kKey && inside && SameIgnoringCase(p.name, want_key)) {
      return CutToSize(Unquote(p.value), size);
    }
  }
  return CutToSize(fallback, size);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
  std::string_view want_section = Trim(section), want_key = Trim(key);
  if (!WritableNames(want_section, want_key)) return false;
  std::string clean = value;
  for (char& c : clean) {
    if (c == '\r' || c == '\n') c = ' ';  // a value never spans lines
  }
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) {
    // Only a missing file starts afresh; one we cannot read (a folder, no permission) is
    // left alone rather than replaced by a file holding just our key.
    struct stat st;
    if (::stat(file.c_str(), &st) == 0 || errno != ENOENT) return false;
    bytes.clear();
  }
  return ReplaceFileAtomically(file, Rewrite(bytes, want_section, want_key, clean));
}

}  // namespace platform
