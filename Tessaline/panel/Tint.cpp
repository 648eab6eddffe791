#include "panel/Tint.h"

namespace tessaline {

uint8_t ChannelTint(int c, int t) {
  int v = c < 128 ? c * t / 150 : (255 - c) * t / 150 + 2 * c - 255;
  if (v < 0) v = 0;
  if (v > 255) v = 255;
  return static_cast<uint8_t>(v);
}

uint32_t TintColor(uint32_t color, uint32_t theme) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int c = static_cast<int>((color >> shift) & 0xFF);
    const int t = static_cast<int>((theme >> shift) & 0xFF);
    out |= static_cast<uint32_t>(ChannelTint(c, t)) << shift;
  }
  return out;
}

void TintPixels24(uint8_t* pixels, size_t count, uint32_t theme) {
  const int red = static_cast<int>(theme & 0xFF);
  const int green = static_cast<int>((theme >> 8) & 0xFF);
  const int blue = static_cast<int>((theme >> 16) & 0xFF);
  for (size_t i = 0; i < count; ++i, pixels += 3) {
    pixels[0] = ChannelTint(pixels[0], blue);
    pixels[1] = ChannelTint(pixels[1], green);
    pixels[2] = ChannelTint(pixels[2], red);
  }
}

int TintedWidth(int w) { return (w / 4) * 4 + 4; }

}  // namespace tessaline
