// PNG files through the Windows Imaging Component: the emulator's screenshots and the pictures
// the drawing tests write. The platform's own encoder does the compression and the checksums.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaline::png {

// rgb: height rows of width pixels, 3 bytes each in red, green, blue order, top row first.
// Returns the PNG file's bytes, or an empty string when the encoder fails (also for a size of
// zero or an rgb buffer that does not hold width × height pixels).
std::string EncodeRgb(int width, int height, std::string_view rgb);

// A decoded picture, in the same layout as EncodeRgb takes.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::string rgb;
};

// Decodes a PNG (or any format WIC reads) into 24-bit RGB; false when it cannot be decoded.
bool DecodeToRgb(std::string_view bytes, RgbPicture& picture);

}  // namespace tessaline::png
