// The key-sequence search against a brute-force reading of the rule: every entry with at least n
// letters whose letter i lies on key i, ordered by the letters' positions on their keys, then by
// entry index.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SearchFixture.h"
#include "engine/KeySearch.h"

namespace tessaline {
namespace {

using testing::kPhoneKeypad;
using testing::TestLanguage;

std::vector<uint32_t> BruteForce(const Language& language, const std::vector<int8_t>& keys) {
  struct Match {
    std::vector<int> positions;
    uint32_t index;
  };
  std::vector<Match> matches;
  for (uint32_t i = 0; i < language.EntryCount(); ++i) {
    const LetterCodes word = language.DecodeEntry(i);
    if (word.size() < keys.size()) continue;
    Match m{{}, i};
    for (size_t d = 0; d < keys.size(); ++d) {
      const KeyEntry* key = language.FindKey(keys[d]);
      int at = -1;
      for (int c = 0; key && c < key->count && at < 0; ++c) {
        if (key->codes[c] == static_cast<uint8_t>(word[d])) at = c;
      }
      if (at < 0) break;
      m.positions.push_back(at);
    }
    if (m.positions.size() == keys.size()) matches.push_back(m);
  }
  std::stable_sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
    return a.positions != b.positions ? a.positions < b.positions : a.index < b.index;
  });
  std::vector<uint32_t> out;
  for (const Match& m : matches) out.push_back(m.index);
  return out;
}

TEST(KeySearchTest, OrderFollowsLetterPositionsOnTheKeysThenTheVocabulary) {
  // Key 2 lists c before a: words beginning with c come first.
  TestLanguage lang(
      "charset=0,0x61,0x62,0x63,0x64\nchararray=2,2,0\nchararray=3,1,3\n",
      {{"ab", 1}, {"ad", 1}, {"cb", 1}, {"cd", 1}, {"abba", 1}, {"a", 1}, {"c", 1}, {"dd", 1}});
  const Vocabulary& words = lang.Get().Words().Base();
  const int8_t keys[] = {2, 3};
  std::vector<WideString> found;
  for (uint32_t i : SearchKeys(words, lang.Get().Keys(), keys, 2)) {
    found.push_back(lang.Get().DecodeToText(lang.Get().DecodeEntry(i)));
  }
  EXPECT_EQ(found, (std::vector<WideString>{u"cb", u"cd", u"ab", u"abba", u"ad"}));
}

TEST(KeySearchTest, UnknownKeysAndEmptySequencesFindNothing) {
  TestLanguage lang(kPhoneKeypad, {{"a", 1}, {"ab", 1}});
  const int8_t unknown[] = {2, 42};
  EXPECT_TRUE(SearchKeys(lang.Get().Words().Base(), lang.Get().Keys(), unknown, 2).empty());
  EXPECT_TRUE(SearchKeys(lang.Get().Words().Base(), lang.Get().Keys(), unknown, 0).empty());
  TestLanguage noLetters("charset=0,0x61\nchararray=2,0\nchararray=3\n", {{"aa", 1}});
  const int8_t empty[] = {2, 3};
  EXPECT_TRUE(SearchKeys(noLetters.Get().Words().Base(), noLetters.Get().Keys(), empty, 2).empty());
}

TEST(KeySearchTest, AgreesWithBruteForceOnRandomVocabularies) {
  std::mt19937 random(1234);
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
  for (int round = 0; round < 20; ++round) {
    std::vector<std::pair<std::string, int>> words;
    const int count = 50 + static_cast<int>(random() % 400);
    for (int w = 0; w < count; ++w) {
      // Few distinct letters make long shared prefixes and long front-coding chains.
      std::string word;
      const size_t length = 1 + random() % 8;
      for (size_t i = 0; i < length; ++i) word += alphabet[random() % (round % 2 ? 4 : 26)];
      words.push_back({word, static_cast<int>(random() % 128)});
    }
    TestLanguage lang(kPhoneKeypad, words);
    for (int query = 0; query < 60; ++query) {
      std::vector<int8_t> keys;
      const size_t n = 1 + random() % 5;
      for (size_t i = 0; i < n; ++i) keys.push_back(static_cast<int8_t>(2 + random() % 8));
      ASSERT_EQ(SearchKeys(lang.Get().Words().Base(), lang.Get().Keys(), keys.data(), keys.size()),
                BruteForce(lang.Get(), keys))
          << "round " << round << " query " << query;
    }
  }
}

TEST(KeySearchTest, AgreesWithBruteForcePastThePrefixTree) {
  // Words that are prefixes of many others, duplicates of length, and words and queries longer
  // than the levels the vocabulary keeps as a tree, where the search goes on by bisection.
  std::mt19937 random(77);
  std::vector<std::pair<std::string, int>> words = {{"a", 1}, {"abcdef", 1}, {"abcdefg", 1}};
  for (int w = 0; w < 3000; ++w) {
    std::string word = w % 2 ? "abcdef" : "";
    const size_t length = 1 + random() % 10;
    for (size_t i = 0; i < length; ++i) word += "abcdmnot"[random() % (w % 3 ? 3 : 8)];
    words.push_back({word, 1});
  }
  TestLanguage lang(kPhoneKeypad, words);
  for (int query = 0; query < 200; ++query) {
    const LetterCodes word = lang.Get().DecodeEntry(random() % lang.Get().EntryCount());
    std::vector<int8_t> keys;
    ASSERT_TRUE(KeysOfWord(lang.Get().Keys(), word, keys));
    keys.resize(1 + random() % keys.size());
    if (query % 4 == 0) keys.back() = static_cast<int8_t>(2 + random() % 8);  // may match none
    ASSERT_EQ(SearchKeys(lang.Get().Words().Base(), lang.Get().Keys(), keys.data(), keys.size()),
              BruteForce(lang.Get(), keys))
        << "query " << query;
  }
  TestLanguage single(kPhoneKeypad, {{"abcdefgh", 1}});
  const int8_t typed[] = {2, 2, 2, 3, 3, 3, 4};
  for (size_t n = 1; n <= 7; ++n) {
    EXPECT_EQ(SearchKeys(single.Get().Words().Base(), single.Get().Keys(), typed, n),
              std::vector<uint32_t>{0})
        << n;
  }
}

}  // namespace
}  // namespace tessaline
