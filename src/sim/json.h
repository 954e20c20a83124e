// A tiny JSON writer for the simulator's state dump.
#pragma once

#include <cstdint>
#include <string>

namespace brikka::sim {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(const std::string& k);
  JsonWriter& Value(const std::string& s);
  JsonWriter& Value(const char* s) { return Value(std::string(s)); }
  JsonWriter& Value(bool b);
  JsonWriter& Value(double d);
  JsonWriter& Value(int64_t i);
  JsonWriter& Value(int i) { return Value(static_cast<int64_t>(i)); }
  JsonWriter& Value(uint32_t i) { return Value(static_cast<int64_t>(i)); }
  JsonWriter& Value(int16_t i) { return Value(static_cast<int64_t>(i)); }
  const std::string& str() const { return out_; }

 private:
  void Separate();
  std::string out_;
  bool need_comma_ = false;
};

// Where two JSON texts of the same shape first differ: the path of keys and indexes
// ("right.Blocks[3]") and the value there in each; empty when they are equal.
std::string JsonDifference(const std::string& recorded, const std::string& replayed);

}  // namespace brikka::sim
