// PNG files of the panel pictures that the tests draw, through the platform's image encoder.
#pragma once

#include <string>
#include <string_view>

namespace tessaline::testing {

// rgb: height rows of width pixels, 3 bytes each in red, green, blue order, top row first.
// Returns the PNG file's bytes (empty when the encoder fails).
std::string EncodePng(int width, int height, std::string_view rgb);

}  // namespace tessaline::testing
