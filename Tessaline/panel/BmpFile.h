// Windows BMP files as a skin reads them: the 14-byte file header, the bitmap information (header
// and colour table, up to the header's pixel-data offset) and the pixel rows.
//
// The reader checks everything that the picture maker will later read through, so that a damaged
// or hostile file can never make it read beyond the bytes the file holds: the information header
// (40, 108 or 124 bytes), the colour table it announces, and every pixel row. Files it cannot
// vouch for (compressed pixels, odd depths, absurd sizes) are refused as a whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaline {

constexpr int32_t kMaxBmpSide = 16384;

struct BmpImage {
  std::vector<uint8_t> info;    // information header, masks and colour table
  std::vector<uint8_t> pixels;  // exactly RowBytes() * |height| bytes
  int32_t width = 0;
  int32_t height = 0;        // negative: rows stored top-down
  uint16_t bitCount = 0;     // 1, 4, 8, 16, 24 or 32
  uint32_t compression = 0;  // 0 (plain) or 3 (bit fields, 16 and 32 bits only)
  uint32_t colorCount = 0;   // entries of the colour table

  int32_t AbsHeight() const { return height < 0 ? -height : height; }
  size_t RowBytes() const { return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4; }
  // Colour of a pixel as 0x00RRGGBB, for tests and tools (bit-field pictures read their masks).
  uint32_t PixelRgb(int32_t x, int32_t row) const;
};

// Parses a whole BMP file. Returns false, leaving image empty, for anything it cannot vouch for;
// reason (when given) says why.
bool ParseBmp(std::string_view bytes, BmpImage& image, std::string* reason = nullptr);

// Writes an 8-bit palette BMP (bottom-up rows), for tools and tests.
std::string WriteBmp8(int32_t width, int32_t height, const std::vector<uint32_t>& paletteRgb,
                      const std::vector<uint8_t>& indexesTopDown);

}  // namespace tessaline
