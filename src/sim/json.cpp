// JSON text: escaping, shortest round-trip numbers, commas.
#include "sim/json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace brikka::sim {

void JsonWriter::Separate() {
  if (need_comma_) out_ += ',';
  need_comma_ = true;
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  out_ += '{';
  need_comma_ = false;
  return *this;
}
JsonWriter& JsonWriter::EndObject() {
  out_ += '}';
  need_comma_ = true;
  return *this;
}
JsonWriter& JsonWriter::BeginArray() {
  Separate();
  out_ += '[';
  need_comma_ = false;
  return *this;
}
JsonWriter& JsonWriter::EndArray() {
  out_ += ']';
  need_comma_ = true;
  return *this;
}
JsonWriter& JsonWriter::Key(const std::string& k) {
  Value(k);
  out_ += ':';
  need_comma_ = false;
  return *this;
}
JsonWriter& JsonWriter::Value(const std::string& s) {
  Separate();
  out_ += '"';
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          // Game text is 8-bit; show every byte outside ASCII by its code.
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out_ += buf;
        } else {
          out_ += static_cast<char>(c);
        }
    }
  }
  out_ += '"';
  return *this;
}
JsonWriter& JsonWriter::Value(bool b) {
  Separate();
  out_ += b ? "true" : "false";
  return *this;
}
JsonWriter& JsonWriter::Value(double d) {
  Separate();
  if (!std::isfinite(d)) {
    out_ += "null";
    return *this;
  }
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, d);
  out_.append(buf, r.ptr);
  return *this;
}
JsonWriter& JsonWriter::Value(int64_t i) {
  Separate();
  out_ += std::to_string(i);
  return *this;
}

}  // namespace brikka::sim

namespace brikka::sim {

namespace {

// The value that begins at `at`, cut short: a scalar whole, an object or array its start.
std::string ValueAt(const std::string& s, size_t at) {
  if (at >= s.size()) return "(nothing)";
  size_t end = at;
  if (s[at] == '{' || s[at] == '[') {
    end = std::min(s.size(), at + 60);
  } else if (s[at] == '"') {
    for (end = at + 1; end < s.size() && s[end] != '"'; ++end)
      if (s[end] == '\\') ++end;
    end = std::min(s.size(), end + 1);
  } else {
    end = s.find_first_of(",}]", at);
    if (end == std::string::npos) end = s.size();
  }
  return s.substr(at, end - at);
}

}  // namespace

// Walks the common beginning of the two texts, keeping the path of keys and indexes to
// where it stands and where the value there began.
std::string JsonDifference(const std::string& a, const std::string& b) {
  size_t diff = 0;
  while (diff < a.size() && diff < b.size() && a[diff] == b[diff]) ++diff;
  if (diff == a.size() && diff == b.size()) return "";
  struct Frame {
    bool object;
    std::string key;
    int index;
  };
  std::vector<Frame> path;
  bool want_key = false;
  size_t value_start = 0;
  for (size_t i = 0; i < diff; ++i) {
    const char c = a[i];
    if (c == '"') {
      size_t end = i + 1;
      while (end < diff && a[end] != '"') end += a[end] == '\\' ? 2 : 1;
      if (want_key) {
        path.back().key = a.substr(i + 1, std::min(end, diff) - i - 1);
        want_key = false;
      }
      i = end;
    } else if (c == '{' || c == '[') {
      path.push_back({c == '{', "", 0});
      want_key = c == '{';
      value_start = i + 1;
    } else if ((c == '}' || c == ']') && !path.empty()) {
      path.pop_back();
    } else if (c == ',' && !path.empty()) {
      ++path.back().index;
      want_key = path.back().object;
      value_start = i + 1;
    } else if (c == ':') {
      value_start = i + 1;
    }
  }
  std::string where;
  for (const Frame& f : path) {
    if (!f.object) {
      where += "[" + std::to_string(f.index) + "]";
    } else if (!f.key.empty()) {
      where += (where.empty() ? "" : ".") + f.key;
    }
  }
  return (where.empty() ? std::string("the whole") : where) + ": " + ValueAt(a, value_start) +
         " recorded, " + ValueAt(b, value_start) + " replayed";
}

}  // namespace brikka::sim
