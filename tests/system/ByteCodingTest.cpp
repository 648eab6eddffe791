// Little-endian numbers: the byte order of every file and value the system writes.
#include <gtest/gtest.h>

#include <string>

#include "system/ByteCoding.h"

namespace tessaline {
namespace {

TEST(ByteCodingTest, NumbersAreWrittenLowByteFirstAndReadBackWhole) {
  std::string out = "x";
  AppendLe16(out, 0xBEEF);
  AppendLe32(out, 0x80FF0102u);
  EXPECT_EQ(out, std::string("x\xEF\xBE\x02\x01\xFF\x80", 7));
  // High bytes in a string of plain (possibly signed) chars spread into no other byte.
  EXPECT_EQ(ReadLe16(out, 1), 0xBEEF);
  EXPECT_EQ(ReadLe32(out, 3), 0x80FF0102u);
  const auto* raw = reinterpret_cast<const uint8_t*>(out.data());
  EXPECT_EQ(ReadLe16(raw + 5), 0x80FFu);
  EXPECT_EQ(ReadLe32(raw + 1), 0x0102BEEFu);

  for (uint32_t value : {0u, 1u, 0x7Fu, 0x80u, 0xFFu, 0x100u, 0x8000u, 0xFFFFu, 0x12345678u,
                         0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    std::string bytes;
    AppendLe32(bytes, value);
    AppendLe16(bytes, static_cast<uint16_t>(value));
    ASSERT_EQ(bytes.size(), 6u);
    EXPECT_EQ(ReadLe32(bytes, 0), value);
    EXPECT_EQ(ReadLe16(bytes, 4), static_cast<uint16_t>(value));
  }
}

TEST(ByteCodingTest, StoringOverwritesTwoBytesInPlace) {
  std::string bytes(4, '\x55');
  StoreLe16(&bytes[1], 0xA0C3);
  EXPECT_EQ(bytes, std::string("\x55\xC3\xA0\x55", 4));
  EXPECT_EQ(ReadLe16(bytes, 1), 0xA0C3);
}

}  // namespace
}  // namespace tessaline
