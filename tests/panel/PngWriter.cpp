#include "PngWriter.h"

#include "png/WicPng.h"

namespace tessaline::testing {

std::string EncodePng(int width, int height, std::string_view rgb) {
  return png::EncodeRgb(width, height, rgb);
}

}  // namespace tessaline::testing
