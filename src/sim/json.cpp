// JSON text: escaping, shortest round-trip numbers, commas.
#include "sim/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

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
      case '"': out_ += "\\\""; break;
      case '\\': out_ += "\\\\"; break;
      case '\n': out_ += "\\n"; break;
      case '\r': out_ += "\\r"; break;
      case '\t': out_ += "\\t"; break;
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
