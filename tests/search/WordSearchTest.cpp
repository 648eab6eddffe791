// Ranking, truncation, guessing past the vocabulary and Backspace through every state.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SearchFixture.h"
#include "engine/KeySearch.h"
#include "engine/WordSearch.h"

namespace tessaline {
namespace {

using testing::kPhoneKeypad;
using testing::PairSpec;
using testing::TestLanguage;

class WordSearchTest : public ::testing::Test {
 protected:
  static std::vector<std::string> Offered(const WordSearch& search) {
    std::vector<WideString> wide;
    search.GetCandidates(wide);
    std::vector<std::string> out;
    for (const WideString& w : wide) out.push_back(WideToUtf8(w));
    return out;
  }
  static void Press(WordSearch& search, std::initializer_list<int> keys) {
    for (int k : keys) search.PressKey(static_cast<int8_t>(k));
  }
};

TEST_F(WordSearchTest, OneKeyOffersOnlyOneLetterWords) {
  TestLanguage lang(kPhoneKeypad, {{"a", 5}, {"at", 100}, {"be", 90}, {"c", 50}, {"d", 80}});
  WordSearch search;
  search.SetLanguage(&lang.Get());
  Press(search, {2});
  EXPECT_EQ(search.State(), WordSearch::kMatching);
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"c", "a"}));
  EXPECT_EQ(search.KeyCount(), 1);

  TestLanguage none(kPhoneKeypad, {{"at", 100}, {"be", 90}});
  search.SetLanguage(&none.Get());
  Press(search, {2});
  EXPECT_EQ(search.State(), WordSearch::kMatching);
  EXPECT_TRUE(Offered(search).empty());
  EXPECT_TRUE(search.CurrentWord().empty());
}

TEST_F(WordSearchTest, ExactLengthBonusAgainstFrequency) {
  TestLanguage lang(kPhoneKeypad, {{"at", 10}, {"attic", 120}, {"be", 50}, {"beach", 100}});
  // An adapted frequency above what a file holds.
  Lexicon& words = lang.Get().Words();
  words.SetEntryFrequency(static_cast<size_t>(words.FindWord(lang.Codes("beach"))), 200);
  WordSearch search;
  search.SetLanguage(&lang.Get());
  Press(search, {2, 8});                                                  // a|b|c, t|u|v
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"at", "attic"}));  // 137 before 120
  search.Reset();
  Press(search, {2, 3});  // beach (200) before be (50 + 127 = 177)
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"beach", "be"}));
}

TEST_F(WordSearchTest, EqualScoresKeepSearchOrderAndSevenAtMost) {
  // Nine words of equal score: b... words come after a... words (position on key 2), and within
  // a letter in vocabulary order.
  TestLanguage lang(kPhoneKeypad, {{"bd", 7},
                                   {"ad", 7},
                                   {"cf", 7},
                                   {"ae", 7},
                                   {"be", 7},
                                   {"af", 7},
                                   {"bf", 7},
                                   {"cd", 7},
                                   {"ce", 7}});
  WordSearch search;
  search.SetLanguage(&lang.Get());
  Press(search, {2, 3});
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"ad", "ae", "af", "bd", "be", "bf", "cd"}));
  EXPECT_EQ(search.Selected(), 0);
}

TEST_F(WordSearchTest, TruncWordsCutsAndDeduplicates) {
  TestLanguage lang(kPhoneKeypad, {{"help", 90},
                                   {"hello", 80},
                                   {"helm", 70},
                                   {"gem", 60},
                                   {"gel", 50},
                                   {"idle", 40},
                                   {"hem", 30},
                                   {"ifd", 20},
                                   {"hdmi", 10},
                                   {"gfk", 5}});
  WordSearch search;
  search.SetLanguage(&lang.Get());
  search.SetTruncateWords(true);
  Press(search, {4, 3, 5});  // g|h|i, d|e|f, j|k|l
  // gel (177) and gfk (132) are exact; help leads the hel... words; idle the idl... ones.
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"gel", "gfk", "hel", "idl"}));
  EXPECT_EQ(search.CurrentWord(), lang.Codes("gel"));
  // The choice belongs to the search, not to one word: it outlasts a new language and a reset.
  search.SetLanguage(&lang.Get());
  search.Reset();
  Press(search, {4, 3, 5});
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"gel", "gfk", "hel", "idl"}));
  search.SetTruncateWords(false);
  Press(search, {-1, 5});
  const std::vector<std::string> whole = Offered(search);
  EXPECT_EQ(whole.front(), "gel");
  EXPECT_NE(std::find(whole.begin(), whole.end(), "hello"), whole.end());
}

TEST_F(WordSearchTest, NoMatchWithTwoLettersBlocksUntilBackspace) {
  TestLanguage lang(kPhoneKeypad, {{"at", 10}, {"bu", 5}});
  WordSearch search;
  search.SetLanguage(&lang.Get());
  Press(search, {2, 8});
  const std::vector<std::string> before = Offered(search);
  ASSERT_EQ(before, (std::vector<std::string>{"at", "bu"}));
  Press(search, {7});
  EXPECT_EQ(search.State(), WordSearch::kBlocked);
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"at"}));
  EXPECT_EQ(search.KeyCount(), 2);
  Press(search, {5});  // ignored
  EXPECT_EQ(search.State(), WordSearch::kBlocked);
  EXPECT_EQ(search.KeyCount(), 2);
  Press(search, {-1});
  EXPECT_EQ(search.State(), WordSearch::kMatching);
  EXPECT_EQ(Offered(search), before);
  Press(search, {-1});
  EXPECT_EQ(search.State(), WordSearch::kMatching);
  Press(search, {-1});
  EXPECT_EQ(search.State(), WordSearch::kIdle);
  EXPECT_TRUE(Offered(search).empty());
}

TEST_F(WordSearchTest, PairRecordsGuessTheHeaviestLetterOnTheKey) {
  // "tent" then key 8 (t|u|v): the pair record of "nt" offers x/y/z-like alternatives.
  const auto setup = [](std::vector<std::pair<uint8_t, int8_t>> alternatives) {
    return std::vector<PairSpec>{{0, {}}, {0x2533 /* n, t */, alternatives}};
  };
  const uint8_t t = 0x33, u = 0x34, v = 0x35, w = 0x36;
  {
    TestLanguage lang(kPhoneKeypad, {{"tent", 10}}, setup({{t, 5}, {u, 9}}));
    WordSearch search;
    search.SetLanguage(&lang.Get());
    Press(search, {8, 3, 6, 8, 8});
    EXPECT_EQ(search.State(), WordSearch::kExtending);
    EXPECT_EQ(Offered(search), (std::vector<std::string>{"tentu"}));
    EXPECT_EQ(search.KeyCount(), 5);
  }
  {
    TestLanguage lang(kPhoneKeypad, {{"tent", 10}}, setup({{t, 5}, {w, 9}}));
    WordSearch search;
    search.SetLanguage(&lang.Get());
    Press(search, {8, 3, 6, 8, 8});
    EXPECT_EQ(Offered(search), (std::vector<std::string>{"tentt"}));
  }
  {
    TestLanguage lang(kPhoneKeypad, {{"tent", 10}}, setup({{v, 9}, {u, 9}, {t, -5}}));
    WordSearch search;
    search.SetLanguage(&lang.Get());
    Press(search, {8, 3, 6, 8, 8});
    EXPECT_EQ(Offered(search), (std::vector<std::string>{"tentv"}));
    // Backspace removes the guessed letter, then returns to the last match.
    Press(search, {-1});
    EXPECT_EQ(search.State(), WordSearch::kMatching);
    EXPECT_EQ(Offered(search), (std::vector<std::string>{"tent"}));
  }
  {
    // An unsorted table holding the pair twice: the first record in table order counts.
    TestLanguage lang(kPhoneKeypad, {{"tent", 10}},
                      {{0x2533, {{u, 9}}}, {0, {}}, {0x2533, {{v, 9}}}});
    WordSearch search;
    search.SetLanguage(&lang.Get());
    Press(search, {8, 3, 6, 8, 8});
    EXPECT_EQ(Offered(search), (std::vector<std::string>{"tentu"}));
  }
  {
    // Only a negative weight on the key: no guess.
    TestLanguage lang(kPhoneKeypad, {{"tent", 10}}, setup({{t, -1}, {w, 9}}));
    WordSearch search;
    search.SetLanguage(&lang.Get());
    Press(search, {8, 3, 6, 8, 8});
    EXPECT_EQ(search.State(), WordSearch::kBlocked);
    EXPECT_EQ(Offered(search), (std::vector<std::string>{"tent"}));
    EXPECT_EQ(search.KeyCount(), 4);
  }
}

TEST_F(WordSearchTest, PairKeyOfHighLetterCodesIsSignFilled) {
  // Charset 8 makes codes 0x90 and up: the pair key of (a, b) with b >= 0x80 is 0xFF00 | b.
  const std::string chr =
      "charset=0,0x61,0x62,0x63\ncharset=8,0x78,0x79,0x7A\n"
      "chararray=2,0,1,2\nchararray=9,800,801,802\n";
  TestLanguage lang(chr, {{"abx", 3}}, {{0xFF90, {{0x91, 4}}}});
  WordSearch search;
  search.SetLanguage(&lang.Get());
  Press(search, {2, 2, 9, 9});
  EXPECT_EQ(search.State(), WordSearch::kExtending);
  EXPECT_EQ(Offered(search), (std::vector<std::string>{"abxy"}));
}

TEST_F(WordSearchTest, NoMatchRightAfterAKeyWithoutCandidatesResets) {
  TestLanguage lang(kPhoneKeypad, {{"at", 10}});
  WordSearch search;
  search.SetLanguage(&lang.Get());
  Press(search, {2, 2});  // "a" offers nothing (no one-letter word), then nothing matches
  EXPECT_EQ(search.State(), WordSearch::kIdle);
  EXPECT_EQ(search.KeyCount(), 0);
  EXPECT_TRUE(Offered(search).empty());
}

TEST_F(WordSearchTest, WithoutLanguageNothingHappens) {
  WordSearch search;
  search.PressKey(2);
  EXPECT_EQ(search.State(), WordSearch::kIdle);
  EXPECT_EQ(search.KeyCount(), 0);
}

// Every entry of the language (the file's words and the user's) whose letter i lies on key i,
// read literally and put in the match order of one sorted list: by the letters' places on their
// keys, then by the words.
std::vector<uint32_t> LiteralMatches(const Language& language, const std::vector<int8_t>& keys) {
  struct Match {
    std::vector<int> places;
    LetterCodes word;
    uint32_t index;
  };
  std::vector<Match> matches;
  for (uint32_t i = 0; i < language.EntryCount(); ++i) {
    Match m{{}, language.DecodeEntry(i), i};
    if (m.word.size() < keys.size()) continue;
    for (size_t d = 0; d < keys.size(); ++d) {
      const KeyEntry* key = language.FindKey(keys[d]);
      int at = -1;
      for (int c = 0; key && c < key->count && at < 0; ++c) {
        if (key->codes[c] == static_cast<uint8_t>(m.word[d])) at = c;
      }
      if (at < 0) break;
      m.places.push_back(at);
    }
    if (m.places.size() == keys.size()) matches.push_back(std::move(m));
  }
  std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
    return a.places != b.places ? a.places < b.places : CompareWords(a.word, b.word) < 0;
  });
  std::vector<uint32_t> out;
  for (const Match& m : matches) out.push_back(m.index);
  return out;
}

// The ranking of the word search against a literal one: every match, in match order, into a
// collection that yields the highest score first and equal scores in insertion order.
std::vector<LetterCodes> ReferenceRanking(const Language& language, const std::vector<int8_t>& keys,
                                          bool truncate) {
  const std::vector<uint32_t> matches = LiteralMatches(language, keys);
  std::vector<std::pair<int, uint32_t>> ranked;
  const size_t n = keys.size();
  for (uint32_t i : matches) {
    const auto lf = language.EntryLengthAndFrequency(i);
    if (lf.length == 0 || (n == 1 && lf.length != 1)) continue;
    ranked.push_back({lf.frequency + (static_cast<size_t>(lf.length) == n ? 127 : 0), i});
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<LetterCodes> out;
  for (const auto& [score, i] : ranked) {
    if (out.size() == 7) break;
    LetterCodes word = language.DecodeEntry(i);
    if (truncate) {
      word.resize(std::min(word.size(), n));
      if (std::find(out.begin(), out.end(), word) != out.end()) continue;
    }
    out.push_back(word);
  }
  return out;
}

TEST_F(WordSearchTest, RankingAgreesWithTheLiteralCollectionOnRandomVocabularies) {
  std::mt19937 random(99);
  int compared = 0;
  for (int round = 0; round < 16; ++round) {
    std::vector<std::pair<std::string, int>> words;
    for (int w = 0; w < 300; ++w) {
      std::string word;
      const size_t length = 1 + random() % 7;
      for (size_t i = 0; i < length; ++i) word += "abcdefghimnotuw"[random() % 15];
      words.push_back({word, static_cast<int>(random() % 12)});  // many equal scores
    }
    // Every other round, a third of the words are the user's, beside the file's.
    std::vector<std::pair<std::string, int>> userWords;
    if (round % 2 == 1) {
      for (size_t w = 0; w < words.size(); w += 3) userWords.push_back(words[w]);
      for (size_t w = words.size(); w-- > 0;) {
        if (w % 3 == 0) words.erase(words.begin() + static_cast<std::ptrdiff_t>(w));
      }
    }
    TestLanguage lang(kPhoneKeypad, words);
    for (const auto& [word, frequency] : userWords) {
      lang.Get().Words().InsertIfAbsent(lang.Codes(word), frequency);
    }
    for (bool truncate : {false, true}) {
      for (int query = 0; query < 40; ++query) {
        std::vector<int8_t> keys;
        const size_t n = 1 + random() % 4;
        for (size_t i = 0; i < n; ++i) keys.push_back(static_cast<int8_t>(2 + random() % 8));
        WordSearch search;
        search.SetLanguage(&lang.Get());
        search.SetTruncateWords(truncate);
        for (int8_t k : keys) search.PressKey(k);
        // Only sequences that matched all the way (a failed key may have reset the search).
        if (search.State() != WordSearch::kMatching || search.KeyCount() != static_cast<int>(n)) {
          continue;
        }
        ASSERT_EQ(search.Candidates(), ReferenceRanking(lang.Get(), keys, truncate))
            << "round " << round << " query " << query << " truncate " << truncate;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 300);
}

TEST_F(WordSearchTest, UserWordsTakeTheirPlaceInMatchOrderWhereKeysListLettersOutOfOrder) {
  // Key 2 lists c before a, key 3 d before b: a user word's range goes before, between or into
  // the file's ranges by the letters' places on the keys, not by their codes.
  TestLanguage lang("charset=0,0x61,0x62,0x63,0x64\nchararray=2,2,0\nchararray=3,3,1\n",
                    {{"ab", 5}, {"abba", 5}, {"cb", 5}, {"ca", 5}, {"a", 5}});
  for (const char* word : {"cd", "ad", "abb", "aba", "c", "cbd"}) {
    ASSERT_TRUE(lang.Get().Words().InsertIfAbsent(lang.Codes(word), 5));
  }
  const std::vector<std::vector<int8_t>> queries = {{2}, {2, 3}, {2, 3, 3}, {2, 3, 3, 2}, {2, 2}};
  for (bool truncate : {false, true}) {
    for (const std::vector<int8_t>& keys : queries) {
      WordSearch search;
      search.SetLanguage(&lang.Get());
      search.SetTruncateWords(truncate);
      for (int8_t k : keys) search.PressKey(k);
      if (search.State() != WordSearch::kMatching) continue;
      EXPECT_EQ(search.Candidates(), ReferenceRanking(lang.Get(), keys, truncate))
          << keys.size() << " keys, truncate " << truncate;
    }
  }
  WordSearch search;
  search.SetLanguage(&lang.Get());
  // Equal frequencies: the exact length first, then match order (c before a, d before b).
  Press(search, {2, 3});
  EXPECT_EQ(Offered(search),
            (std::vector<std::string>{"cd", "cb", "ad", "ab", "cbd", "aba", "abb"}));
}

TEST_F(WordSearchTest, RankingAgreesOnALargeVocabularyWithRareHighFrequencies) {
  // Thousands of entries span many blocks and groups of the frequency maxima; a few frequent
  // words among many rare ones let ranking pass over most of them, and long words reach past
  // the levels of the prefix tree. Every query follows a word of the vocabulary so that it
  // matches deep.
  std::mt19937 random(2024);
  std::vector<std::pair<std::string, int>> words;
  std::vector<std::string> stems;
  for (int s = 0; s < 400; ++s) {
    std::string stem;
    const size_t length = 2 + random() % 6;
    for (size_t i = 0; i < length; ++i) stem += "adgjmptw"[random() % (s % 4 ? 8 : 3)];
    stems.push_back(stem);
  }
  for (int w = 0; w < 12000; ++w) {
    std::string word = stems[random() % stems.size()];
    const size_t suffix = random() % 9;
    for (size_t i = 0; i < suffix; ++i) word += "abcdefghimnotuw"[random() % 15];
    const int frequency =
        random() % 50 == 0 ? 60 + static_cast<int>(random() % 60) : static_cast<int>(random() % 4);
    words.push_back({word, frequency});
  }
  TestLanguage lang(kPhoneKeypad, words);
  ASSERT_GT(lang.Get().EntryCount(), 2 * 4096u);
  int compared = 0;
  for (bool truncate : {false, true}) {
    for (int query = 0; query < 150; ++query) {
      const LetterCodes word = lang.Get().DecodeEntry(random() % lang.Get().EntryCount());
      std::vector<int8_t> keys;
      ASSERT_TRUE(KeysOfWord(lang.Get().Keys(), word, keys));
      keys.resize(1 + random() % keys.size());
      WordSearch search;
      search.SetLanguage(&lang.Get());
      search.SetTruncateWords(truncate);
      for (int8_t k : keys) search.PressKey(k);
      ASSERT_EQ(search.State(), WordSearch::kMatching);
      ASSERT_EQ(search.Candidates(), ReferenceRanking(lang.Get(), keys, truncate))
          << "query " << query << " truncate " << truncate;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 300);
}

}  // namespace
}  // namespace tessaline
