// The drawing tests' PNG files come from the platform's encoder; they must read back as drawn.
#include <gtest/gtest.h>

#include "PngWriter.h"
#include "png/WicPng.h"

namespace tessaline::testing {
namespace {

TEST(PngWriter, EncodedPictureDecodesToTheSamePixels) {
  // Odd width (rows not a multiple of four bytes) and every channel distinct, so a swapped
  // channel order, a lost row padding or a flipped picture shows.
  const int width = 37, height = 11;
  std::string rgb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rgb.push_back(char(x * 7));
      rgb.push_back(char(y * 23));
      rgb.push_back(char(255 - x - y));
    }
  }
  const std::string png = EncodePng(width, height, rgb);
  ASSERT_GE(png.size(), 8u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
  png::RgbPicture decoded;
  ASSERT_TRUE(png::DecodeToRgb(png, decoded));
  EXPECT_EQ(decoded.width, width);
  EXPECT_EQ(decoded.height, height);
  EXPECT_TRUE(decoded.rgb == rgb);
}

TEST(PngWriter, RefusesPixelsThatDoNotFitTheSize) {
  EXPECT_TRUE(EncodePng(2, 2, std::string(11, 'x')).empty());
  EXPECT_TRUE(EncodePng(0, 0, "").empty());
  png::RgbPicture decoded;
  EXPECT_FALSE(png::DecodeToRgb("not a picture", decoded));
}

}  // namespace
}  // namespace tessaline::testing
