#include "Json.h"

#include <cmath>
#include <cstdio>

namespace tessaline::tool {

std::string JsonQuote(std::string_view utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ",";
    first_.back() = false;
  }
}

void JsonWriter::BeginObject() {
  BeforeValue();
  out_ += "{";
  first_.push_back(true);
}
void JsonWriter::EndObject() {
  out_ += "}";
  first_.pop_back();
}
void JsonWriter::BeginArray() {
  BeforeValue();
  out_ += "[";
  first_.push_back(true);
}
void JsonWriter::EndArray() {
  out_ += "]";
  first_.pop_back();
}
void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  out_ += JsonQuote(key);
  out_ += ":";
  afterKey_ = true;
}
void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  out_ += JsonQuote(utf8);
}
void JsonWriter::Int(int64_t value) {
  BeforeValue();
  out_ += std::to_string(value);
}
void JsonWriter::Real(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    out_ += "null";
    return;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", value);
  out_ += buf;
}
void JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
}
void JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
}

}  // namespace tessaline::tool
