#include <gtest/gtest.h>

#include "PngWriter.h"

namespace tessaline::testing {
namespace {

TEST(PngWriter, ChecksumsMatchTheirReferenceValues) {
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32(""), 0u);
  EXPECT_EQ(Adler32("Wikipedia"), 0x11E60398u);
  EXPECT_EQ(Adler32(""), 1u);
}

TEST(PngWriter, WritesSignatureHeaderAndStoredBlocks) {
  // 200 by 200 pixels make 120,200 bytes of rows: two stored blocks.
  const std::string rgb(200 * 200 * 3, '\x7F');
  const std::string png = EncodePng(200, 200, rgb);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
  const size_t idat = png.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  EXPECT_EQ(png[idat + 6], '\x00');              // first block, not the last
  EXPECT_EQ(png[idat + 6 + 5 + 65535], '\x01');  // second block, the last
  const size_t expected = 8 + 25 + 12 + (2 + 5 + 65535 + 5 + (120200 - 65535) + 4) + 12;
  EXPECT_EQ(png.size(), expected);
}

}  // namespace
}  // namespace tessaline::testing
