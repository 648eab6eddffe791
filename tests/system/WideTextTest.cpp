#include <gtest/gtest.h>

#include "system/WideText.h"

namespace tessaline {
namespace {

TEST(WideTextTest, Utf8RoundTripsThroughUtf16) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
  const WideString wide = Utf8ToWide(text);
  ASSERT_EQ(wide.size(), 6u);
  EXPECT_EQ(wide[1], 0xE9);
  EXPECT_EQ(wide[2], 0x20AC);
  EXPECT_EQ(wide[3], 0xD83D);
  EXPECT_EQ(wide[4], 0xDE00);
  EXPECT_EQ(WideToUtf8(wide), text);
}

TEST(WideTextTest, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToWide("a\xFF" "b"), (WideString{u'a', 0xFFFD, u'b'}));
  EXPECT_EQ(Utf8ToWide("\xC3"), (WideString{0xFFFD}));            // cut short
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), (WideString{0xFFFD, 0xFFFD}));  // overlong
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80").size(), 3u);                 // encoded surrogate
  EXPECT_EQ(WideToUtf8(WideString{0xD800, u'x'}), "\xEF\xBF\xBDx");
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
  EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9"));
}

TEST(WideTextTest, Cp1252MapsTheHighBlock) {
  const WideString wide = Cp1252ToWide("\x80\x9F\xE9\x41");
  EXPECT_EQ(wide, (WideString{0x20AC, 0x0178, 0xE9, u'A'}));
  EXPECT_EQ(WideToCp1252(wide), "\x80\x9F\xE9" "A");
  EXPECT_EQ(WideToCp1252(WideString{0x0416}), "?");
}

TEST(WideTextTest, AsciiLowerLeavesOtherLettersAlone) {
  EXPECT_EQ(AsciiLower(std::string_view("AbC\xC9")), "abc\xC9");
  EXPECT_EQ(AsciiLower(WideView(u"ÀBc")), u"Àbc");
}

}  // namespace
}  // namespace tessaline
