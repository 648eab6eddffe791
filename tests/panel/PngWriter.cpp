#include "PngWriter.h"

#include <array>

namespace tessaline::testing {
namespace {

void Put32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void Chunk(std::string& out, const char* type, std::string_view data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  std::string body(type, 4);
  body.append(data);
  out += body;
  Put32(out, Crc32(body));
}

}  // namespace

uint32_t Crc32(std::string_view bytes, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (char ch : bytes) crc = table[(crc ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(std::string_view bytes) {
  uint32_t a = 1, b = 0;
  for (char ch : bytes) {
    a = (a + static_cast<uint8_t>(ch)) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::string EncodePng(int width, int height, std::string_view rgb) {
  std::string raw;
  const size_t row = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    raw.push_back('\0');  // filter: none
    raw.append(rgb.substr(static_cast<size_t>(y) * row, row));
  }
  // zlib stream of stored blocks of at most 65535 bytes.
  std::string z = "\x78\x01";
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? '\x01' : '\x00');
    z.push_back(static_cast<char>(n & 0xFF));
    z.push_back(static_cast<char>(n >> 8));
    z.push_back(static_cast<char>(~n & 0xFF));
    z.push_back(static_cast<char>((~n >> 8) & 0xFF));
    z.append(raw, at, n);
    at += n;
  } while (at < raw.size());
  Put32(z, Adler32(raw));

  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  Put32(header, static_cast<uint32_t>(width));
  Put32(header, static_cast<uint32_t>(height));
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  return png;
}

}  // namespace tessaline::testing
