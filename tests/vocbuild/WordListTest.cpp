// Reading word lists, and what happens to a listed word before it is encoded.
#include <gtest/gtest.h>

#include "vocbuild/WordList.h"

namespace tessaline::vocbuild {
namespace {

TEST(WordListTest, CountedListWithBomCrLfAndMalformedLines) {
  const WordList list = ReadWordList("\xEF\xBB\xBFthe\t120\r\n\r\n  of \t 7\r\nbad\tx12\nnone\n\t5\nend\t3");
  EXPECT_TRUE(list.counted);
  ASSERT_EQ(list.words.size(), 3u);
  EXPECT_EQ(list.words[0].text, u"the");
  EXPECT_EQ(list.words[0].count, 120u);
  EXPECT_EQ(list.words[1].text, u"of");
  EXPECT_EQ(list.words[1].count, 7u);
  EXPECT_EQ(list.words[2].text, u"end");  // last line without a line end
  EXPECT_EQ(list.malformedLines, 3u);     // "x12", no tab, no word
}

TEST(WordListTest, RankedListGetsZipfCounts) {
  const WordList list = ReadWordList("de\n\nla\nété\n");
  EXPECT_FALSE(list.counted);
  ASSERT_EQ(list.words.size(), 3u);
  EXPECT_EQ(list.words[0].count, kRankScale);
  EXPECT_EQ(list.words[1].count, kRankScale / 2);  // blank lines take no rank
  EXPECT_EQ(list.words[2].text, u"été");
  EXPECT_EQ(list.words[2].count, kRankScale / 3);
}

TEST(WordListTest, EmptyListAndHugeCounts) {
  EXPECT_TRUE(ReadWordList("").words.empty());
  EXPECT_TRUE(ReadWordList("\n\r\n  \n").words.empty());
  const WordList list = ReadWordList("a\t99999999999999999999\nb\t18446744073709551\n");
  ASSERT_EQ(list.words.size(), 1u);  // twenty digits cannot be a count
  EXPECT_EQ(list.words[0].text, u"b");
}

TEST(WordListTest, CaseFoldingCoversTheShippedScripts) {
  EXPECT_EQ(FoldCase(u"ÉTÉ Ça ÄÖÜ ÀÞ ×"), u"été ça äöü àþ ×");
  EXPECT_EQ(FoldCase(u"ŁÓDŹ ŻÓŁW ĄĘĆŃŚ"), u"łódź żółw ąęćńś");
  EXPECT_EQ(FoldCase(u"ČŘŠŽĎŤŇĚŮ Ÿ"), u"čřšžďťňěů ÿ");
  EXPECT_EQ(FoldCase(u"ПРИВЕТ ЁЖ ЇІЄҐ"), u"привет ёж їієґ");
  EXPECT_EQ(FoldCase(u"İ ı ß"), u"i ı ß");
  EXPECT_EQ(FoldCase(u"already lower"), u"already lower");
}

TEST(WordListTest, ApostrophesAndHyphensSplitWords) {
  EXPECT_EQ(SplitAtJoiners(u"c'est"), (std::vector<WideString>{u"c", u"est"}));
  EXPECT_EQ(SplitAtJoiners(u"peut-être"), (std::vector<WideString>{u"peut", u"être"}));
  EXPECT_EQ(SplitAtJoiners(u"aujourd\u2019hui"), (std::vector<WideString>{u"aujourd", u"hui"}));
  EXPECT_EQ(SplitAtJoiners(u"'n"), (std::vector<WideString>{u"n"}));
  EXPECT_EQ(SplitAtJoiners(u"--'"), (std::vector<WideString>{}));
  EXPECT_EQ(SplitAtJoiners(u"plain"), (std::vector<WideString>{u"plain"}));
}

TEST(WordListTest, FamilyListsAndPlainListsReadAsFamilies) {
  const FamilyList list = ReadFamilyList("\xEF\xBB\xBFwork works\tworked\r\n\n  \r\nsolo\n\xC3\xA9t\xC3\xA9  \xC3\xA9t\xC3\xA9s");
  ASSERT_EQ(list.families.size(), 3u);
  EXPECT_EQ(list.families[0], (std::vector<WideString>{u"work", u"works", u"worked"}));
  EXPECT_EQ(list.families[1], (std::vector<WideString>{u"solo"}));
  EXPECT_EQ(list.families[2], (std::vector<WideString>{u"été", u"étés"}));  // no line end at the end
}

TEST(WordListTest, AbbreviationsAndSymbolsAreNoWords) {
  for (const char16_t* word : {u"TD", u"VD", u"Gd", u"Hf", u"IEEE", u"McD", u"iPod", u"ÄB", u"ДНК"}) {
    EXPECT_TRUE(IsAbbreviation(word)) << WideToUtf8(word);
  }
  for (const char16_t* word : {u"the", u"he", u"I", u"a", u"John", u"Haus", u"Österreich", u"Москва", u"гд"}) {
    EXPECT_FALSE(IsAbbreviation(word)) << WideToUtf8(word);
  }
}

}  // namespace
}  // namespace tessaline::vocbuild
