// The theme tint: recolours skin pictures and colours towards the system's button face colour.
// Dark values scale with the theme channel, light values stay light; a theme channel of 150
// leaves every value as it is.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaline {

// One channel c (0..255) tinted by the theme's channel t.
uint8_t ChannelTint(int c, int t);

// A colour 0x00BBGGRR with each of its channels tinted by the theme colour's.
uint32_t TintColor(uint32_t color, uint32_t theme);

// Tints the blue, green and red bytes of count pixels of 3 bytes each (BGR order, as 24-bit DIB
// pixels are stored) by the theme colour 0x00BBGGRR.
void TintPixels24(uint8_t* pixels, size_t count, uint32_t theme);

// The width of the 24-bit picture made for a tint over w pixels: w rounded down to a multiple of
// four, plus four (so each row is a whole number of 32-bit words and never shorter than w).
int TintedWidth(int w);

}  // namespace tessaline
