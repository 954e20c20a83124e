// Directory listings: the keyed file collection, the date conversions of both listing forms,
// and the line parsers for UNIX ("ls -l") and DOS (IIS style) listings.
#include "net/ftp_listing.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace net {

// ---------------------------------------------------------------------------------------------
// CFtpFiles

CFtpFile& CFtpFiles::Add(const CFtpFile& file, const std::string& key) {
  const auto [entry, added] = index_.emplace(key, files_.size());
  if (!added) throw std::invalid_argument("Key already in the collection: " + key);
  files_.push_back(file);
  keys_.push_back(&entry->first);
  return files_.back();
}

CFtpFile& CFtpFiles::Item(size_t index1) {
  if (index1 == 0 || index1 > files_.size()) throw std::out_of_range("No file at that position");
  return files_[index1 - 1];
}

CFtpFile& CFtpFiles::Item(const std::string& key) {
  const size_t i = IndexOf(key);
  if (i == files_.size()) throw std::out_of_range("No file with the key " + key);
  return files_[i];
}

size_t CFtpFiles::Count() const {
  return files_.size();
}

void CFtpFiles::Remove(size_t index1) {
  if (index1 == 0 || index1 > files_.size()) throw std::out_of_range("No file at that position");
  const size_t i = index1 - 1;
  index_.erase(*keys_[i]);
  files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(i));
  keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
  for (size_t j = i; j < keys_.size(); ++j) index_[*keys_[j]] = j;
}

void CFtpFiles::Remove(const std::string& key) {
  const size_t i = IndexOf(key);
  if (i == files_.size()) throw std::out_of_range("No file with the key " + key);
  Remove(i + 1);
}

bool CFtpFiles::Contains(const std::string& key) const {
  return index_.count(key) != 0;
}

void CFtpFiles::Reserve(size_t count) {
  files_.reserve(count);
  keys_.reserve(count);
  index_.reserve(count);
}

void CFtpFiles::Clear() {
  files_.clear();
  keys_.clear();
  index_.clear();
}

size_t CFtpFiles::IndexOf(const std::string& key) const {
  const auto it = index_.find(key);
  return it == index_.end() ? files_.size() : it->second;
}

// ---------------------------------------------------------------------------------------------
// Small text and date helpers

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

// Substring that never throws: positions past the end give what is there (possibly nothing).
std::string_view Mid(std::string_view s, size_t pos, size_t len = std::string_view::npos) {
  return pos >= s.size() ? std::string_view() : s.substr(pos, len);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string CollapseSpaces(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(c);
  }
  return out;
}

// A whole, non-empty run of at most max_digits digits.
bool ParseSmall(std::string_view s, size_t max_digits, int& value) {
  if (s.empty() || s.size() > max_digits) return false;
  value = 0;
  for (char c : s) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

bool ParseSize(std::string_view s, int64_t& value) {
  if (s.empty() || s.size() > 18) return false;  // 18 digits always fit in 63 bits
  value = 0;
  for (char c : s) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysIn(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool MakeDate(int year, int month, int day, int hour, int minute, FtpDate& out) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysIn(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59) {
    return false;
  }
  out = FtpDate{year, month, day, hour, minute};
  return true;
}

int MonthNumber(std::string_view name) {
  const std::string lower = LowerCopy(name);
  for (size_t i = 0; i < kMonths.size(); ++i) {
    if (lower == kMonths[i]) return static_cast<int>(i) + 1;
  }
  return 0;
}

// "H:MM" or "HH:MM", with an optional ":SS" that is ignored.
bool ParseClock(std::string_view s, int& hour, int& minute) {
  const size_t colon = s.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view rest = s.substr(colon + 1);
  if (rest.size() == 5 && rest[2] == ':') rest = rest.substr(0, 2);
  return ParseSmall(s.substr(0, colon), 2, hour) && rest.size() == 2 && ParseSmall(rest, 2, minute);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// UNIX date: "Jan 12 12:34" (this year) or "Jan 12  2023" (midnight)

namespace {

bool ParseUnixDate(std::string_view text, int current_year, FtpDate& out) {
  const std::string s = CollapseSpaces(text);
  const int month = MonthNumber(Mid(s, 0, 3));
  int day = 0;
  if (month == 0 || !ParseSmall(Trim(Mid(s, 4, 2)), 2, day)) return false;
  const std::string_view tail = Trim(s.size() >= 5 ? Mid(s, s.size() - 5) : std::string_view(s));
  if (tail.find(':') == std::string_view::npos) {
    int year = 0;
    return tail.size() == 4 && ParseSmall(tail, 4, year) && MakeDate(year, month, day, 0, 0, out);
  }
  int hour = 0, minute = 0;
  if (!ParseClock(tail, hour, minute)) return false;
  if (MakeDate(current_year, month, day, hour, minute, out)) return true;
  // ls shows the time for the last six months only, so a 29 February with a time in a year
  // without one is last year's: dating it so beats failing the whole listing.
  return month == 2 && day == 29 && MakeDate(current_year - 1, month, day, hour, minute, out);
}

// ---------------------------------------------------------------------------------------------
// DOS date: "01-12-23  10:30AM" (month first, as the servers that write it do), "01-12-2023
// 10:30PM" or "2023-01-12  10:30"; two-digit years fall in 1930..2029.

bool ParseDosDay(std::string_view s, int& year, int& month, int& day) {
  std::array<std::string_view, 3> part;
  size_t start = 0;
  for (size_t i = 0; i < 3; ++i) {
    const size_t sep = i < 2 ? s.find_first_of("-/.", start) : s.size();
    if (sep == std::string_view::npos) return false;
    part[i] = s.substr(start, sep - start);
    start = sep + 1;
  }
  if (part[0].size() == 4) {
    return ParseSmall(part[0], 4, year) && ParseSmall(part[1], 2, month) &&
           ParseSmall(part[2], 2, day);
  }
  if (!ParseSmall(part[0], 2, month) || !ParseSmall(part[1], 2, day)) return false;
  if (part[2].size() == 2 && ParseSmall(part[2], 2, year)) {
    year += year < 30 ? 2000 : 1900;
    return true;
  }
  return part[2].size() == 4 && ParseSmall(part[2], 4, year);
}

bool ParseDosTime(std::string_view s, int& hour, int& minute) {
  hour = minute = 0;
  s = Trim(s);
  if (s.empty()) return true;  // a date alone means midnight
  int half = 0;                // 0: 24-hour clock, 1: AM, 2: PM
  if (s.size() >= 2) {
    const std::string suffix = LowerCopy(s.substr(s.size() - 2));
    half = suffix == "am" ? 1 : suffix == "pm" ? 2 : 0;
    if (half != 0) s = Trim(s.substr(0, s.size() - 2));
  }
  if (!ParseClock(s, hour, minute)) return false;
  if (half == 0) return true;
  if (hour < 1 || hour > 12) return false;
  hour = hour % 12 + (half == 2 ? 12 : 0);
  return true;
}

bool ParseDosDate(std::string_view text, FtpDate& out) {
  const std::string s = CollapseSpaces(Trim(text));
  const size_t space = s.find(' ');
  const std::string_view sv(s);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  return ParseDosDay(sv.substr(0, space), year, month, day) &&
         ParseDosTime(space == std::string::npos ? std::string_view() : sv.substr(space + 1), hour,
                      minute) &&
         MakeDate(year, month, day, hour, minute, out);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Line parsers

namespace {

// Finds the month name of a UNIX line: " mon " with a digit just before (the size) and a digit
// nine places after the leading space (the time or the year). Returns its 0-based position or
// npos. Owners, groups or names can look like dates too ("1 may may 1234 ..."), so of the
// places that pass that test the leftmost one that reads as a real date wins; when none does,
// the first place found keeps the line's failure honest.
size_t FindMonth(std::string_view line, int current_year) {
  const std::string lower = LowerCopy(line);
  size_t first = std::string_view::npos, best = std::string_view::npos;
  for (std::string_view month : kMonths) {
    const std::string needle = " " + std::string(month) + " ";
    for (size_t sp = lower.find(needle); sp != std::string::npos; sp = lower.find(needle, sp + 1)) {
      if (sp == 0 || sp + 9 >= lower.size() || !IsDigit(lower[sp - 1]) || !IsDigit(lower[sp + 9])) {
        continue;
      }
      if (first == std::string_view::npos) first = sp + 1;
      FtpDate date;
      if (sp + 1 < best && ParseUnixDate(Mid(line, sp + 1, 12), current_year, date)) best = sp + 1;
    }
  }
  return best != std::string_view::npos ? best : first;
}

bool StartsWithDosDate(std::string_view line) {
  if (line.empty() || !IsDigit(line[0])) return false;
  int year = 0, month = 0, day = 0;
  return ParseDosDay(line.substr(0, line.find(' ')), year, month, day);
}

bool Fail(std::string* why, std::string reason) {
  *why = std::move(reason);
  return false;
}

// Where the time ends, taking in an "AM" or "PM" written apart from it ("10:30 PM").
size_t EndOfTime(std::string_view line, size_t clock_end) {
  const size_t next = std::min(line.find_first_not_of(' ', clock_end), line.size());
  const std::string half = LowerCopy(Mid(line, next, 3));
  const bool apart = half == "am" || half == "pm" || half == "am " || half == "pm ";
  return apart ? next + 2 : clock_end;
}

// The fixed IIS layout: date and time, the size (or <DIR>) right-aligned in 21 characters, a
// space, the name. Four-digit years push everything right, so the layout starts where the time
// ends (at column 17 for the usual two-digit years). Servers that pad differently are read
// field by field instead.
bool ParseDosLine(std::string_view line, CFtpFile& file, std::string* why) {
  const size_t date_end = std::min(line.find(' '), line.size());
  const size_t time_start = std::min(line.find_first_not_of(' ', date_end), line.size());
  const size_t time_end = EndOfTime(line, std::min(line.find(' ', time_start), line.size()));
  const size_t stamp = std::max<size_t>(17, time_end);
  std::string_view field = Trim(Mid(line, stamp, 21));
  std::string_view name = Mid(line, stamp + 22);
  const bool fixed = line.size() > stamp + 22 && line[stamp] == ' ' && line[stamp + 21] == ' ' &&
                     !field.empty() && field.find(' ') == std::string_view::npos;
  if (!fixed) {  // date, time, size or <DIR>, then the name after one run of spaces
    const size_t field_start = std::min(line.find_first_not_of(' ', time_end), line.size());
    const size_t field_end = std::min(line.find(' ', field_start), line.size());
    field = line.substr(field_start, field_end - field_start);
    name = Mid(line, std::min(line.find_first_not_of(' ', field_end), line.size()));
  }
  if (!ParseDosDate(line.substr(0, fixed ? stamp : time_end), file.LastWriteTime)) {
    return Fail(why, "date does not convert");
  }
  file.IsDirectory = field == "<DIR>";
  if (!file.IsDirectory && !ParseSize(field, file.FileSize)) {
    return Fail(why, "size \"" + std::string(field) + "\" is not a number");
  }
  file.FileName = std::string(name);
  return true;
}

// Permissions, owner and group from the columns before the size: "-rw-r--r-- 1 owner group ".
void ParseUnixColumns(std::string_view head, CFtpFile& file) {
  const std::string text = CollapseSpaces(head);
  std::array<std::string_view, 6> fields;
  size_t count = 0, start = 0;
  const std::string_view sv(text);
  while (count < fields.size()) {
    const size_t sp = sv.find(' ', start);
    fields[count++] = sv.substr(start, sp == std::string_view::npos ? sp : sp - start);
    if (sp == std::string_view::npos) break;
    start = sp + 1;
  }
  file.Permissions = std::string(fields[0]);
  file.Owner = count > 2 ? std::string(fields[2]) : std::string();
  // Exactly five fields (the last one empty, after the trailing space) means a group column.
  file.Group = count == 5 && fields[4].empty() ? std::string(fields[3]) : std::string();
}

bool ParseUnixLine(std::string_view line, size_t month_at, int current_year, CFtpFile& file,
                   std::string* why) {
  file.IsDirectory = line[0] == 'd';
  if (!ParseUnixDate(Mid(line, month_at, 12), current_year, file.LastWriteTime)) {
    return Fail(why, "date \"" + std::string(Mid(line, month_at, 12)) + "\" does not convert");
  }
  const size_t name_at = month_at + 13;
  const size_t arrow = line[0] == 'l' ? line.find(" -> ", name_at) : std::string_view::npos;
  if (arrow != std::string_view::npos) {
    file.FileName = std::string(line.substr(name_at, arrow - name_at));
    file.FilePath = std::string(line.substr(arrow + 4));
  } else {
    file.FileName = std::string(Mid(line, name_at));
  }
  // The size ends two places before the month (digit, space, month); the column before it
  // starts after the last space.
  const size_t size_end = month_at - 1;
  const size_t space = line.rfind(' ', size_end - 1);
  const size_t size_start = space == std::string_view::npos ? 0 : space + 1;
  const std::string_view size = line.substr(size_start, size_end - size_start);
  if (!ParseSize(size, file.FileSize)) {
    return Fail(why, "size \"" + std::string(size) + "\" is not a number");
  }
  ParseUnixColumns(line.substr(0, size_start), file);
  return true;
}

bool ParseLine(std::string_view line, int current_year, CFtpFile& file, std::string* why) {
  const size_t month_at = FindMonth(line, current_year);
  // Position 11 and on (counting from 1) is where a UNIX date can start at the earliest.
  const bool dos = month_at == std::string_view::npos || month_at < 10 || StartsWithDosDate(line);
  if (!(dos ? ParseDosLine(line, file, why)
            : ParseUnixLine(line, month_at, current_year, file, why))) {
    return false;
  }
  if (file.FileName.empty()) return Fail(why, "no file name");
  return true;
}

std::string_view NextLine(std::string_view& rest) {
  const size_t lf = rest.find('\n');
  const std::string_view line = rest.substr(0, lf);
  rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
  return line;
}

std::string WithoutCr(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

}  // namespace

bool ParseListing(std::string_view listing, int current_year, CFtpFiles& out, std::string* error) {
  out.Clear();
  std::string why;
  std::string_view rest = listing;
  int number = 1;  // of the line in the listing, for the error text
  if (rest.size() >= 5 && LowerCopy(rest.substr(0, 5)) == "total") {
    NextLine(rest);
    ++number;
  }
  CFtpFiles files;
  // One line, one file at most: room for them all at once, so the collection never has to
  // be moved, old and new side by side, while a long listing is read.
  files.Reserve(static_cast<size_t>(std::count(rest.begin(), rest.end(), '\n')) + 1);
  for (; !rest.empty(); ++number) {
    // A blank line ends the listing, whether the server ends its lines with CR LF or LF alone.
    const std::string line = WithoutCr(NextLine(rest));
    if (line.empty()) break;
    CFtpFile file;
    if (ParseLine(line, current_year, file, &why)) {
      if (!files.Contains(file.FileName)) {
        files.Add(file, file.FileName);
        continue;
      }
      why = "repeated name \"" + file.FileName + "\"";
    }
    if (error != nullptr) {
      *error = "line " + std::to_string(number) + ": " + why + ": " + line.substr(0, 120);
    }
    return false;
  }
  out = std::move(files);
  return true;
}

}  // namespace net
