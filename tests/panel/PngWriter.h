// A minimal PNG writer for the panel pictures that the tests draw: 24-bit colour, no filter,
// stored (uncompressed) deflate blocks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaline::testing {

uint32_t Crc32(std::string_view bytes, uint32_t crc = 0);
uint32_t Adler32(std::string_view bytes);

// rgb: height rows of width pixels, 3 bytes each in red, green, blue order, top row first.
std::string EncodePng(int width, int height, std::string_view rgb);

}  // namespace tessaline::testing
