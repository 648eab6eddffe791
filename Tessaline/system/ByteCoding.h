// Little-endian numbers in bytes, as the vocabulary, the user dictionary, BMP pictures and the
// binary registry values store them. Bytes are read as unsigned whatever the signedness of char.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaline {

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline uint64_t ReadLe64(const uint8_t* p) {
  return static_cast<uint64_t>(ReadLe32(p)) | static_cast<uint64_t>(ReadLe32(p + 4)) << 32;
}

// The number at a byte offset; the bytes must be there.
inline uint16_t ReadLe16(std::string_view bytes, size_t at) {
  return ReadLe16(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
}
inline uint32_t ReadLe32(std::string_view bytes, size_t at) {
  return ReadLe32(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
}

// Writes the number over the bytes at p.
inline void StoreLe16(char* p, uint16_t value) {
  p[0] = static_cast<char>(value & 0xFF);
  p[1] = static_cast<char>(value >> 8);
}

inline void AppendLe16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

inline void AppendLe32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

}  // namespace tessaline
