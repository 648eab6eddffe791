// Lower case of the languages' alphabets and the alphabetical order of word lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "system/LetterCase.h"

namespace tessaline {
namespace {

TEST(LetterCaseTest, LowersTheLettersOfEveryShippedAlphabet) {
  EXPECT_EQ(LowerCase(u"ABC xyz 09!"), u"abc xyz 09!");
  EXPECT_EQ(LowerCase(u"\x00C0\x00DE\x00D7\x00DF"), u"\x00E0\x00FE\x00D7\x00DF");  // × and ß stay
  EXPECT_EQ(LowerCase(u"\x0141\x00D3\x0179\x017B\x0106"), u"\x0142\x00F3\x017A\x017C\x0107");
  EXPECT_EQ(LowerCase(u"\x0158\x016E\x010C\x0147"), u"\x0159\x016F\x010D\x0148");  // ŘŮČŇ
  EXPECT_EQ(LowerCase(u"\x0130\x0178\x0218"), u"i\x00FF\x0219");
  EXPECT_EQ(LowerCase(u"\x0401\x0410\x042F\x0490\x0406\x0407"),
            u"\x0451\x0430\x044F\x0491\x0456\x0457");  // ЁАЯҐІЇ
  EXPECT_EQ(LowerCase(u"\x0386\x03A3\x03A9"), u"\x03AC\x03C3\x03C9");
  EXPECT_EQ(LowerCase(u"\x0142\x0451\xD800"), u"\x0142\x0451\xD800");
}

TEST(LetterCaseTest, AlphabeticalOrderIgnoresCaseAndAccents) {
  std::vector<WideString> words = {u"Zebra", u"apple-pie", u"Apple", u"\x00C4pfel",
                                   u"apple", u"\x0107ma",  u"cma",   u"czy"};
  std::sort(words.begin(), words.end(), [](const WideString& a, const WideString& b) {
    return CompareAlphabetically(a, b) < 0;
  });
  EXPECT_EQ(words, (std::vector<WideString>{u"\x00C4pfel", u"apple", u"Apple", u"apple-pie", u"cma",
                                            u"\x0107ma", u"czy", u"Zebra"}));
  EXPECT_EQ(CompareAlphabetically(u"same", u"same"), 0);
}

}  // namespace
}  // namespace tessaline
