// The BMP reader that stands between panel folders and GDI, and the theme tint arithmetic.
#include <gtest/gtest.h>

#include "panel/BmpFile.h"
#include "panel/Tint.h"

namespace tessaline {
namespace {

void Set32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

std::string Sample() {
  // 3 by 2, palette of 2: row 0 (top) = 0 1 0, row 1 = 1 1 1.
  return WriteBmp8(3, 2, {0x112233, 0xAABBCC}, {0, 1, 0, 1, 1, 1});
}

TEST(BmpFile, ReadsAPaletteFileWithItsInformationAndRows) {
  BmpImage image;
  ASSERT_TRUE(ParseBmp(Sample(), image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.bitCount, 8);
  EXPECT_EQ(image.colorCount, 2u);
  EXPECT_EQ(image.RowBytes(), 4u);
  EXPECT_EQ(image.info.size(), 40u + 8u);
  EXPECT_EQ(image.pixels.size(), 8u);
  EXPECT_EQ(image.PixelRgb(0, 0), 0x112233u);
  EXPECT_EQ(image.PixelRgb(1, 0), 0xAABBCCu);
  EXPECT_EQ(image.PixelRgb(0, 1), 0xAABBCCu);
}

TEST(BmpFile, ReadsTopDownAnd24BitFiles) {
  std::string bytes = Sample();
  Set32(bytes, 22, static_cast<uint32_t>(-2));  // top-down: the first stored row is the top
  BmpImage image;
  ASSERT_TRUE(ParseBmp(bytes, image));
  EXPECT_EQ(image.PixelRgb(0, 0), 0xAABBCCu);

  // A 24-bit picture of one pixel, as a paint program writes it.
  std::string rgb = "BM" + std::string(12, '\0') + std::string(40, '\0') + "\x03\x02\x01" + '\0';
  Set32(rgb, 10, 54);
  Set32(rgb, 14, 40);
  Set32(rgb, 18, 1);
  Set32(rgb, 22, 1);
  rgb[26] = 1;
  rgb[28] = 24;
  ASSERT_TRUE(ParseBmp(rgb, image));
  EXPECT_EQ(image.PixelRgb(0, 0), 0x010203u);
}

TEST(BmpFile, RefusesEveryDamageThatCouldMakeAReaderOverrun) {
  const std::string good = Sample();
  struct Damage {
    const char* what;
    size_t at;
    uint32_t value;
  };
  const Damage damages[] = {
      {"signature", 0, 0x4D41},
      {"pixel offset past the end", 10, 100000},
      {"pixel offset into the header", 10, 20},
      {"header size", 14, 12},
      {"zero width", 18, 0},
      {"negative width", 18, static_cast<uint32_t>(-3)},
      {"huge width", 18, 70000},
      {"zero height", 22, 0},
      {"tall", 22, 1000},
      {"planes", 26, 2 | (8u << 16)},
      {"depth", 28, 7},
      {"run-length compression", 30, 1},
      {"colour table beyond the offset", 46, 200},
      {"colour table over 256", 46, 300},
  };
  for (const Damage& d : damages) {
    std::string bytes = good;
    if (d.at == 0) {
      bytes[0] = 'A';
    } else if (d.at == 28) {
      bytes[28] = static_cast<char>(d.value);
    } else {
      Set32(bytes, d.at, d.value);
    }
    BmpImage image;
    std::string reason;
    EXPECT_FALSE(ParseBmp(bytes, image, &reason)) << d.what;
    EXPECT_FALSE(reason.empty()) << d.what;
    EXPECT_TRUE(image.pixels.empty()) << d.what;
  }
  BmpImage image;
  EXPECT_FALSE(ParseBmp(good.substr(0, good.size() - 1), image));  // one pixel byte short
  EXPECT_FALSE(ParseBmp(good.substr(0, 30), image));
  EXPECT_FALSE(ParseBmp("", image));
}

TEST(Tint, ChannelValuesForTheEdgeCases) {
  for (int t = 0; t <= 255; ++t) {
    EXPECT_EQ(ChannelTint(0, t), 0) << t;
    EXPECT_EQ(ChannelTint(255, t), 255) << t;
  }
  EXPECT_EQ(ChannelTint(100, 75), 50);
  EXPECT_EQ(ChannelTint(200, 75), 172);
  for (int c = 0; c <= 255; ++c) EXPECT_EQ(ChannelTint(c, 150), c) << c;  // 150 leaves all
  EXPECT_EQ(ChannelTint(127, 255), 215);  // 127 * 255 / 150, truncated
  EXPECT_EQ(ChannelTint(128, 0), 1);      // 2 * 128 - 255
}

TEST(Tint, ColoursAndPixelsUseTheMatchingThemeChannel) {
  // Theme red 75, green 150, blue 255.
  const uint32_t theme = 0xFF964B;
  EXPECT_EQ(TintColor(0x00C864, theme), 0x00C832u);  // red 100 -> 50, green 200 stays
  EXPECT_EQ(TintColor(0x969696, 0x969696), 0x969696u);
  uint8_t bgr[6] = {100, 100, 100, 200, 200, 200};
  TintPixels24(bgr, 2, theme);
  EXPECT_EQ(bgr[0], 170);  // blue by 255: 100 * 255 / 150
  EXPECT_EQ(bgr[1], 100);  // green by 150
  EXPECT_EQ(bgr[2], 50);   // red by 75
  EXPECT_EQ(bgr[5], 172);
}

TEST(Tint, WidthRoundsDownToFourAndAddsFour) {
  EXPECT_EQ(TintedWidth(1), 4);
  EXPECT_EQ(TintedWidth(4), 8);
  EXPECT_EQ(TintedWidth(7), 8);
  EXPECT_EQ(TintedWidth(120), 124);
}

}  // namespace
}  // namespace tessaline
