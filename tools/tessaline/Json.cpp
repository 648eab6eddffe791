#include "Json.h"

#include <cmath>
#include <cstdio>
#include <vector>

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

namespace {

void WriteScalar(const Json& value, std::string& out) {
  switch (value.type()) {
    case Json::value_t::boolean:
      out += value.get<bool>() ? "true" : "false";
      return;
    case Json::value_t::number_integer:
      out += std::to_string(value.get<Json::number_integer_t>());
      return;
    case Json::value_t::number_unsigned:
      out += std::to_string(value.get<Json::number_unsigned_t>());
      return;
    case Json::value_t::number_float: {
      const double real = value.get<double>();
      if (!std::isfinite(real)) break;
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.9g", real);
      out += buf;
      return;
    }
    case Json::value_t::string:
      out += JsonQuote(value.get_ref<const Json::string_t&>());
      return;
    default:
      break;
  }
  out += "null";
}

}  // namespace

std::string JsonText(const Json& value) {
  struct Frame {
    const Json* container;
    Json::const_iterator next;
  };
  std::string out;
  std::vector<Frame> open;
  auto write = [&](const Json& item) {
    if (item.is_object() || item.is_array()) {
      out += item.is_object() ? '{' : '[';
      open.push_back({&item, item.cbegin()});
    } else {
      WriteScalar(item, out);
    }
  };
  write(value);
  while (!open.empty()) {
    Frame& top = open.back();
    const bool object = top.container->is_object();
    if (top.next == top.container->cend()) {
      out += object ? '}' : ']';
      open.pop_back();
      continue;
    }
    if (top.next != top.container->cbegin()) out += ',';
    const Json::const_iterator item = top.next++;
    if (object) {
      out += JsonQuote(item.key());
      out += ':';
    }
    write(*item);  // may grow the stack: top is not used after this
  }
  return out;
}

}  // namespace tessaline::tool
