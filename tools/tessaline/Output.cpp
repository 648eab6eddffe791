#include "Output.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "system/WideText.h"

namespace tessaline::tool {

bool PositiveCount(std::string_view name, const std::string& value, size_t& count) {
  char* end = nullptr;
  const long long n = std::strtoll(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || n <= 0) {
    std::fprintf(stderr, "tessaline: %.*s needs a positive number\n", static_cast<int>(name.size()),
                 name.data());
    return false;
  }
  count = static_cast<size_t>(n);
  return true;
}

std::string FileTextToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return WideToUtf8(Cp1252ToWide(bytes));
}

std::string Printable(std::string_view utf8) {
  std::string out;
  for (char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += ch;
    }
  }
  return out;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  bytes = text.str();
  return true;
}

std::string LanguageNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = file.rfind('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

int Usage(const char* text) {
  std::fputs("usage: tessaline\n", stderr);
  std::fputs(text, stderr);
  return 2;
}

}  // namespace tessaline::tool
