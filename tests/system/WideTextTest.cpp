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
  EXPECT_EQ(Utf8ToWide("a\xFF"
                       "b"),
            (WideString{u'a', 0xFFFD, u'b'}));
  EXPECT_EQ(Utf8ToWide("\xC3"), (WideString{0xFFFD}));              // cut short
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), (WideString{0xFFFD, 0xFFFD}));  // overlong
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80").size(), 3u);                 // encoded surrogate
  EXPECT_EQ(WideToUtf8(WideString{0xD800, u'x'}), "\xEF\xBF\xBDx");
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
  EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9"));
}

TEST(WideTextTest, StrictDecodingStopsAtTheFirstMalformedSequence) {
  WideString out = u"stale";
  EXPECT_TRUE(DecodeUtf8Strictly("a\xC3\xA9\xF0\x9F\x98\x80", out, false));
  EXPECT_EQ(out, u"a\u00e9\U0001F600");
  for (const char* bad : {"\xC3", "a\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80",
                          "\xF5\x80\x80\x80", "\xED\xA0\x80"}) {
    EXPECT_FALSE(DecodeUtf8Strictly(bad, out, false)) << bad;
  }
  // A lone surrogate's own form only when allowed; every other fault stays one.
  EXPECT_TRUE(DecodeUtf8Strictly("\xED\xA0\x80x", out, true));
  EXPECT_EQ(out, WideString(1, char16_t{0xD800}) + u"x");
  EXPECT_FALSE(DecodeUtf8Strictly("\xE0\x80\xAF", out, true));
  EXPECT_TRUE(DecodeUtf8Strictly("", out, true));
  EXPECT_EQ(out, u"");
}

TEST(WideTextTest, LoneSurrogatesAreReplacedOrKeptAndPairsAlwaysJoin) {
  const WideString text =
      u"a" + WideString(1, char16_t{0xDC01}) + u"\U0001F600" + WideString(1, char16_t{0xD83D});
  EXPECT_EQ(WideToUtf8(text), "a\xEF\xBF\xBD\xF0\x9F\x98\x80\xEF\xBF\xBD");
  const std::string kept = WideToUtf8KeepingSurrogates(text);
  EXPECT_EQ(kept, "a\xED\xB0\x81\xF0\x9F\x98\x80\xED\xA0\xBD");
  WideString back;
  ASSERT_TRUE(DecodeUtf8Strictly(kept, back, true));
  EXPECT_EQ(back, text);
}

#ifdef _WIN32
TEST(WideTextTest, Win32WideTextConvertsAsUtf16Does) {
  EXPECT_EQ(WideToUtf8(std::wstring(L"Gr\u00fc\u00dfe \U0001F600")),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToWin32Wide("Gr\xC3\xBC\xC3\x9F"
                            "e \xF0\x9F\x98\x80"),
            L"Gr\u00fc\u00dfe \U0001F600");
  EXPECT_EQ(Utf8ToWin32Wide("a\xFF"), L"a\uFFFD");
  EXPECT_EQ(WideToUtf8(std::wstring(1, wchar_t{0xD800})), "\xEF\xBF\xBD");
}
#endif

TEST(WideTextTest, Cp1252MapsTheHighBlock) {
  const WideString wide = Cp1252ToWide("\x80\x9F\xE9\x41");
  EXPECT_EQ(wide, (WideString{0x20AC, 0x0178, 0xE9, u'A'}));
  EXPECT_EQ(WideToCp1252(wide),
            "\x80\x9F\xE9"
            "A");
  EXPECT_EQ(WideToCp1252(WideString{0x0416}), "?");
}

TEST(WideTextTest, AsciiLowerLeavesOtherLettersAlone) {
  EXPECT_EQ(AsciiLower(std::string_view("AbC\xC9")), "abc\xC9");
  EXPECT_EQ(AsciiLower(WideView(u"ÀBc")), u"Àbc");
}

}  // namespace
}  // namespace tessaline
