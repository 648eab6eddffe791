// Letter codes, keys and captions as language files define them, including malformed records.
#include <gtest/gtest.h>

#include "languages/KeyMap.h"
#include "support/TestFiles.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

KeyMap MapOf(const std::string& text) {
  testing::TempDir dir;
  KeyMap map;
  map.LoadKeyMap(dir.Write("x.chr", text));
  return map;
}

TEST(KeyMapTest, KeyLettersCodesAndMultiTap) {
  KeyMap map = MapOf("locale=\"en\"\ncharset=0,0x61,0x62,0x63\nchararray=2,0,1,2\n");
  EXPECT_EQ(map.Locale(), "en");
  const KeyEntry* key = map.FindKey(2);
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->count, 3);
  EXPECT_EQ(key->base, 3);
  EXPECT_EQ(key->codes[0], 0x10);
  EXPECT_EQ(key->codes[1], 0x11);
  EXPECT_EQ(key->codes[2], 0x12);
  EXPECT_EQ(map.KeyCaption(2), u"abc");
  EXPECT_EQ(map.NextLetterOnKey(2, u'a'), u'b');
  EXPECT_EQ(map.NextLetterOnKey(2, u'c'), u'a');
  EXPECT_EQ(map.NextLetterOnKey(2, u'x'), u'a');
  EXPECT_EQ(map.NextLetterOnKey(9, u'a'), 0);
  EXPECT_EQ(map.LetterIndexOnKey(2, u'c'), 2);
  EXPECT_EQ(map.LetterIndexOnKey(2, u'x'), -1);
  EXPECT_EQ(map.LetterIndexOnKey(9, u'a'), -1);
  EXPECT_EQ(map.KeyLetterCount(2), 3);
  EXPECT_EQ(map.KeyLetterCount(9), 0);
}

TEST(KeyMapTest, ValueOutsideItsCharsetDropsTheWholeRecord) {
  KeyMap map = MapOf(
      "charset=0,0x61,0x62,0x63\nchararray=3,0,9\nchararray=4,0,500\nchararray=5,-1\n"
      "chararray=6,1600\nchararray=7\n");
  EXPECT_EQ(map.FindKey(3), nullptr);
  EXPECT_EQ(map.FindKey(4), nullptr);  // no charset 5
  EXPECT_EQ(map.FindKey(5), nullptr);  // negative values name no letter
  EXPECT_EQ(map.FindKey(6), nullptr);  // id 16 cannot form a code
  ASSERT_NE(map.FindKey(7), nullptr);  // a key with no letters
  EXPECT_EQ(map.KeyLetterCount(7), 0);
  EXPECT_EQ(map.NextLetterOnKey(7, u'a'), 0);
}

TEST(KeyMapTest, BaseIsClampedAndNeedsExactlyTwoValues) {
  KeyMap map = MapOf(
      "charset=0,0x61,0x62,0x63\nchararray=2,0,1,2\nchararray=3,0,1,2\nchararray=4,0,1,2\n"
      "chararraybase=2,0\nchararraybase=3,99\nchararraybase=4,1,1\nchararraybase=5,1\n"
      "chararray=5,0\n");
  EXPECT_EQ(map.FindKey(2)->base, 1);
  EXPECT_EQ(map.KeyCaption(2),
            u"a\x0001"
            u"bc");
  EXPECT_EQ(map.FindKey(3)->base, 3);
  EXPECT_EQ(map.FindKey(4)->base, 3);
  EXPECT_EQ(map.FindKey(5)->base, 1);  // the base record stood before its key: ignored
}

TEST(KeyMapTest, OnlyCharsetsBeforeTheKeyCount) {
  KeyMap map = MapOf("chararray=2,100\ncharset=1,0x78\nchararray=3,100\n");
  EXPECT_EQ(map.FindKey(2), nullptr);
  ASSERT_NE(map.FindKey(3), nullptr);
  EXPECT_EQ(map.FindKey(3)->codes[0], 0x20);
}

TEST(KeyMapTest, CharsetKeepsEightLettersAndValuelessRecordsAreIgnored) {
  KeyMap map = MapOf(
      "charset\nlocale\nchararray\ncharset=0,1,2,3,4,5,6,7,8,9,10\n"
      "chararray=2,0,1,2,3,4,5,6,7,7,7,7\ncharset=2\n");
  ASSERT_EQ(map.Charsets().size(), 2u);
  EXPECT_EQ(map.Charsets()[0].count, 8);
  EXPECT_EQ(map.Charsets()[0].letters[7], 8);
  EXPECT_EQ(map.Charsets()[1].count, 0);
  EXPECT_EQ(map.KeyLetterCount(2), 8);  // surplus values are ignored
  EXPECT_EQ(map.Locale(), "");
}

TEST(KeyMapTest, EncodeAndDecode) {
  KeyMap map =
      MapOf("charset=0,0x61,0x62,0x63\ncharset=1,0x64,0x61\ncharset=20,0x7A\nchararray=2,0,1,2\n");
  LetterCodes codes;
  ASSERT_TRUE(map.Encode(u"cad", codes));
  EXPECT_EQ(codes, "\x12\x10\x20");  // 'a' is found in the first charset first
  EXPECT_EQ(map.Decode(codes), u"cad");
  EXPECT_FALSE(map.Encode(u"ax", codes));
  EXPECT_TRUE(codes.empty());
  EXPECT_FALSE(map.Encode(u"z", codes));  // only in a charset whose id forms no code
  EXPECT_EQ(map.Decode("\x50\x13\x01"), u"?!?");
  EXPECT_EQ(map.Decode("\x21"), u"a");
}

TEST(KeyMapTest, PunctuationKeys) {
  KeyMap map = MapOf(
      "charset=0,0x61,0x62\ncharset=1,0x2E,0x2C,0x40,0x41,0x20\n"
      "chararray=1,100,101\nchararray=2,0,1\nchararray=3,103\nchararray=4,102\nchararray=0,104\n");
  EXPECT_TRUE(map.KeyHasPunctuation(1));
  EXPECT_FALSE(map.KeyHasPunctuation(2));
  EXPECT_FALSE(map.KeyHasPunctuation(3));  // 'A' is 0x41
  EXPECT_TRUE(map.KeyHasPunctuation(4));   // '@' is 0x40
  EXPECT_TRUE(map.KeyHasPunctuation(0));   // space
  EXPECT_FALSE(map.KeyHasPunctuation(99));
}

TEST(KeyMapTest, NumbersInAnyBaseAndKeysInAnyCase) {
  KeyMap map =
      MapOf("LOCALE=\"first\"\nCharSet=0,97,0x62,0143\nCHARARRAY=2,0,01,0x2\nlocale=\"Second\"\n");
  EXPECT_EQ(map.Locale(), "Second");  // a later locale replaces the earlier one
  EXPECT_EQ(map.KeyLetters(2), u"abc");
}

TEST(KeyMapTest, FirstEntryWinsForSharedIdsAndDuplicateKeys) {
  KeyMap map = MapOf(
      "charset=1,0x61\ncharset=0,0x61,0x62\ncharset=1,0x78,0x79\n"
      "chararray=2,100\nchararray=2,0,1\nchararraybase=2,0\nchararray=3,101\n"
      "charset=256,0x7A\n");
  LetterCodes codes;
  ASSERT_TRUE(map.Encode(u"a", codes));
  EXPECT_EQ(codes, "\x20");  // list order decides, not the lower id
  ASSERT_TRUE(map.Encode(u"b", codes));
  EXPECT_EQ(codes, "\x11");
  // A letter of a charset whose id an earlier charset already has encodes by its own position,
  // but decodes through the earlier charset: language files give each charset its own id.
  ASSERT_TRUE(map.Encode(u"y", codes));
  EXPECT_EQ(codes, "\x21");
  EXPECT_EQ(map.Decode("\x20\x21"), u"a!");  // the first charset 1 has one letter
  ASSERT_EQ(map.Keys().size(), 2u);
  EXPECT_EQ(map.KeyLetters(2), u"a");  // the first key 2 is the one found
  EXPECT_EQ(map.FindKey(2)->base, 1);
  EXPECT_EQ(map.FindKey(3), nullptr);      // position 1 of the first charset 1 does not exist
  EXPECT_EQ(map.Charsets().back().id, 0);  // ids are kept as a byte
}

TEST(KeyMapTest, MultiTapCyclesAllLettersWhateverTheBase) {
  KeyMap map = MapOf(
      "charset=0,0x61,0x62,0x63,0x64\nchararray=2,0,1,2,3\nchararraybase=2,2\n"
      "chararray=3,0,1\nchararraybase=3,2\nchararray=4\nchararraybase=4,1\n"
      "chararray=5\nchararraybase=5,0\n");
  EXPECT_EQ(map.KeyCaption(2), u"ab\u0001cd");
  EXPECT_EQ(map.NextLetterOnKey(2, u'b'), u'c');
  EXPECT_EQ(map.NextLetterOnKey(2, u'd'), u'a');
  EXPECT_EQ(map.LetterIndexOnKey(2, u'd'), 3);
  EXPECT_EQ(map.KeyCaption(3), u"ab");  // base equal to count: no marker
  // A key without letters: base clamps to its count of 0, or is raised to 1; no caption either way.
  EXPECT_EQ(map.FindKey(4)->base, 0);
  EXPECT_EQ(map.FindKey(5)->base, 1);
  EXPECT_EQ(map.KeyCaption(4), u"");
  EXPECT_EQ(map.KeyCaption(5), u"");
  EXPECT_EQ(map.LetterIndexOnKey(5, u'a'), -1);
  EXPECT_FALSE(map.KeyHasPunctuation(5));
}

TEST(KeyMapTest, LoadingAgainStartsAfresh) {
  testing::TempDir dir;
  KeyMap map;
  map.LoadKeyMap(dir.Write("a.chr", "locale=a\ncharset=0,0x61\nchararray=2,0\n"));
  map.LoadKeyMap(dir.Write("b.chr", "charset=1,0x62\n"));
  EXPECT_EQ(map.Locale(), "");
  EXPECT_EQ(map.Charsets().size(), 1u);
  EXPECT_TRUE(map.Keys().empty());
}

TEST(KeyMapTest, MissingFileGivesAnEmptyMap) {
  testing::TempDir dir;
  KeyMap map;
  map.LoadKeyMap(dir.File("absent.chr"));
  EXPECT_TRUE(map.Charsets().empty());
  EXPECT_TRUE(map.Keys().empty());
}

}  // namespace
}  // namespace tessaline
