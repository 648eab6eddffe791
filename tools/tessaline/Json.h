// A small streaming JSON writer for the tool's --json output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaline::tool {

class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  void Key(std::string_view key);
  void String(std::string_view utf8);  // must be UTF-8; control characters become \uXXXX
  void Int(int64_t value);
  void Real(double value);  // non-finite values become null
  void Bool(bool value);
  void Null();

  // Shorthands for a key followed by a value.
  void Field(std::string_view key, std::string_view utf8) { Key(key), String(utf8); }
  void Field(std::string_view key, const char* utf8) { Key(key), String(utf8); }
  void Field(std::string_view key, int64_t value) { Key(key), Int(value); }
  void Field(std::string_view key, int value) { Key(key), Int(value); }
  void Field(std::string_view key, unsigned value) { Key(key), Int(value); }
  void Field(std::string_view key, bool value) { Key(key), Bool(value); }

  const std::string& Text() const { return out_; }

 private:
  void BeforeValue();
  std::string out_;
  std::vector<bool> first_;  // per open container: no element written yet
  bool afterKey_ = false;
};

std::string JsonQuote(std::string_view utf8);

}  // namespace tessaline::tool
