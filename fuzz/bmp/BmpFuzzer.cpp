// Arbitrary bytes as a BMP file beside a panel file. Whatever the reader accepts must be safe
// for GDI to read: the information header, the colour table it announces and every pixel row
// lie within what the reader hands over.
#include <cstdint>
#include <string_view>

#include "panel/BmpFile.h"
#include "system/ByteCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaline::BmpImage image;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!tessaline::ParseBmp(bytes, image)) {
    if (!image.info.empty() || !image.pixels.empty()) __builtin_trap();
    return 0;
  }
  const size_t headerSize = tessaline::ReadLe32(image.info.data());
  size_t needed = headerSize + image.colorCount * 4u;
  if (image.compression == 3 && headerSize == 40) needed += 12;
  if (needed > image.info.size()) __builtin_trap();
  if (image.pixels.size() != image.RowBytes() * static_cast<size_t>(image.AbsHeight()))
    __builtin_trap();
  if (image.width < 1 || image.AbsHeight() < 1) __builtin_trap();
  // Read every pixel the way a picture maker would.
  uint32_t sum = 0;
  for (int32_t y = 0; y < image.AbsHeight(); ++y) {
    for (int32_t x = 0; x < image.width; ++x) sum += image.PixelRgb(x, y);
  }
  (void)sum;
  return 0;
}
