// Vocabulary files are written by other tools too: a shorter marker than the shared prefix
// allows, a word stored whole although it shares more, long runs of words sharing a prefix.
// Decoding and the search must read every such file exactly as its words are.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "SearchFixture.h"
#include "engine/KeySearch.h"
#include "engine/Vocabulary.h"

namespace tessaline {
namespace {

void Append32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A .voc file of the sorted words, each stored with a randomly chosen valid form.
std::string OddlyCodedFile(const std::vector<LetterCodes>& sorted, std::mt19937& random) {
  std::string entries, pool;
  for (size_t i = 0; i < sorted.size(); ++i) {
    const LetterCodes& w = sorted[i];
    size_t shared = 0;
    if (i > 0) {
      const LetterCodes& v = sorted[i - 1];
      while (shared < w.size() && shared < v.size() && w[shared] == v[shared]) ++shared;
    }
    const uint32_t offset = static_cast<uint32_t>(pool.size());
    const int choice = static_cast<int>(random() % 3);
    if (shared >= 1 && choice != 0) {
      const size_t p = choice == 1 ? shared : 1 + random() % shared;  // any marker p <= shared
      pool += static_cast<char>(2 * p + 1);
      pool += w.substr(p);
    } else {
      std::string whole = w;
      whole[0] = static_cast<char>((w[0] & 0xF0) | ((w[0] & 7) * 2));
      pool += whole;
    }
    Append32(entries, offset | (static_cast<uint32_t>(random() % 128) << 20) |
                          (static_cast<uint32_t>(w.size()) << 27));
  }
  std::string file;
  Append32(file, static_cast<uint32_t>(sorted.size()));
  file += entries;
  Append32(file, static_cast<uint32_t>(pool.size()));
  file += pool;
  Append32(file, 0);
  return file;
}

// The entries whose first letters lie on the typed keys, in the search's order (in the phone
// keypad every key lists its codes ascending, so that is entry order).
std::vector<uint32_t> Matching(const KeyMap& keys, const std::vector<LetterCodes>& words,
                               const std::vector<int8_t>& typed) {
  std::vector<uint32_t> found;
  for (uint32_t i = 0; i < words.size(); ++i) {
    bool match = words[i].size() >= typed.size();
    for (size_t d = 0; d < typed.size() && match; ++d) {
      match = keys.LetterIndexOnKey(typed[d], keys.DecodeLetter(static_cast<uint8_t>(words[i][d]))) >= 0;
    }
    if (match) found.push_back(i);
  }
  return found;
}

TEST(VocabularyShapesTest, EveryValidCodingDecodesAndSearchesAlike) {
  testing::TempDir dir;
  KeyMap keys;
  keys.LoadKeyMap(dir.Write("t.chr", testing::kPhoneKeypad));
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    std::vector<LetterCodes> words;
    // Long runs of shared prefixes (past 255 entries) and short words among them.
    for (int w = 0; w < 900; ++w) {
      std::string text = round % 2 ? "aab" : "";
      const size_t length = 1 + random() % 6;
      for (size_t i = 0; i < length; ++i) text += "abcdmnotw"[random() % (w % 3 ? 3 : 9)];
      LetterCodes codes;
      ASSERT_TRUE(keys.Encode(Utf8ToWide(text), codes));
      words.push_back(codes);
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    Vocabulary vocabulary(keys);
    ASSERT_TRUE(vocabulary.LoadVocabularyBytes(OddlyCodedFile(words, random)).Complete());
    ASSERT_EQ(vocabulary.EntryCount(), words.size());
    for (size_t i = 0; i < words.size(); ++i) {
      ASSERT_EQ(vocabulary.DecodeEntry(i), words[i]) << i;
      const size_t d = random() % words[i].size();
      ASSERT_EQ(vocabulary.LetterAt(i, d), static_cast<uint8_t>(words[i][d])) << i;
    }
    for (int query = 0; query < 200; ++query) {
      std::vector<int8_t> typed;
      const size_t n = 1 + random() % 7;
      for (size_t i = 0; i < n; ++i) typed.push_back(static_cast<int8_t>(2 + random() % 8));
      std::vector<uint32_t> expected;  // in this key map every key lists its codes ascending
      for (uint32_t i = 0; i < words.size(); ++i) {
        if (words[i].size() < n) continue;
        bool match = true;
        for (size_t d = 0; d < n && match; ++d) {
          match = keys.LetterIndexOnKey(typed[d],
                                        keys.DecodeLetter(static_cast<uint8_t>(words[i][d]))) >= 0;
        }
        if (match) expected.push_back(i);
      }
      ASSERT_EQ(SearchKeys(vocabulary, keys, typed.data(), n), expected) << "query " << query;
    }
  }
}

TEST(VocabularyShapesTest, BulkInsertionsDecodeMeanwhileAndSearchAfterwards) {
  testing::TempDir dir;
  KeyMap keys;
  keys.LoadKeyMap(dir.Write("t.chr", testing::kPhoneKeypad));
  std::mt19937 random(11);
  // A loaded file first, as a language loads its vocabulary inside the insertion of the user's
  // words: its aids too wait for the end.
  std::vector<LetterCodes> words;
  for (const char* text : {"caab", "cab", "cacao", "cam", "camo", "dab"}) {
    LetterCodes codes;
    ASSERT_TRUE(keys.Encode(Utf8ToWide(text), codes));
    words.push_back(codes);
  }
  ASSERT_TRUE(std::is_sorted(words.begin(), words.end()));
  const std::string file = OddlyCodedFile(words, random);
  {
    // Nothing inserted: the end of the insertion still derives the aids of the load.
    Vocabulary loadedOnly(keys);
    loadedOnly.BeginBulkInsert();
    loadedOnly.LoadVocabularyBytes(file);
    loadedOnly.EndBulkInsert();
    const int8_t cam[] = {2, 2, 6};
    EXPECT_EQ(SearchKeys(loadedOnly, keys, cam, 3), (std::vector<uint32_t>{3, 4}));
  }
  Vocabulary vocabulary(keys);
  vocabulary.BeginBulkInsert();
  ASSERT_TRUE(vocabulary.LoadVocabularyBytes(file).Complete());
  for (int w = 0; w < 700; ++w) {
    std::string text = "ca";
    const size_t length = random() % 5;
    for (size_t i = 0; i < length; ++i) text += "abcmno"[random() % 6];
    LetterCodes codes;
    ASSERT_TRUE(keys.Encode(Utf8ToWide(text), codes));
    if (vocabulary.InsertIfAbsent(codes, static_cast<int>(random() % 128))) words.push_back(codes);
    // Decoding walks entry by entry while the aids wait for the end of the insertions.
    const int32_t found = vocabulary.FindWord(codes);
    ASSERT_GE(found, 0);
    ASSERT_EQ(vocabulary.DecodeEntry(static_cast<size_t>(found)), codes);
  }
  vocabulary.EndBulkInsert();
  std::sort(words.begin(), words.end());
  ASSERT_EQ(vocabulary.EntryCount(), words.size());
  const int8_t typed[] = {2, 2, 6};
  std::vector<uint32_t> expected;
  for (uint32_t i = 0; i < words.size(); ++i) {
    if (words[i].size() >= 3 &&
        keys.LetterIndexOnKey(6, keys.DecodeLetter(static_cast<uint8_t>(words[i][2]))) >= 0) {
      expected.push_back(i);
    }
  }
  EXPECT_EQ(SearchKeys(vocabulary, keys, typed, 3), expected);
  for (size_t i = 0; i < words.size(); ++i) ASSERT_EQ(vocabulary.DecodeEntry(i), words[i]);
}

TEST(VocabularyShapesTest, SearchAidsFollowInsertionsAndFrequencyChanges) {
  testing::TestLanguage lang(testing::kPhoneKeypad, {{"cab", 10}, {"cat", 20}});
  Vocabulary words(lang.Get().Keys());
  words.LoadVocabularyBytes(lang.Get().Words().Base().FileBytes());
  ASSERT_TRUE(words.InsertIfAbsent(lang.Codes("ca"), 1));
  ASSERT_TRUE(words.InsertIfAbsent(lang.Codes("abc"), 1));
  const int8_t ca[] = {2, 2};
  std::vector<uint32_t> found = SearchKeys(words, lang.Get().Keys(), ca, 2);
  std::vector<LetterCodes> decoded;
  for (uint32_t i : found) decoded.push_back(words.DecodeEntry(i));
  EXPECT_EQ(decoded, (std::vector<LetterCodes>{lang.Codes("abc"), lang.Codes("ca"),
                                               lang.Codes("cab"), lang.Codes("cat")}));
  words.SetEntryFrequency(0, 200);
  EXPECT_EQ(words.BlockMaxFrequency(0), 200);
}

TEST(VocabularyShapesTest, LongRunsDecodeAcrossEveryLevelOfMarkerMinima) {
  // Thousands of words under one two-letter prefix: only the first of them is stored whole, so
  // decoding their first letters (and reading a letter far back) must pass over many blocks, and
  // blocks of blocks. Words up to twelve letters go past the prefix tree.
  testing::TempDir dir;
  KeyMap keys;
  keys.LoadKeyMap(dir.Write("t.chr", testing::kPhoneKeypad));
  std::mt19937 random(3);
  std::set<LetterCodes> unique;
  for (int w = 0; w < 9000; ++w) {
    std::string text = w % 10 ? "mo" : (w % 20 ? "a" : "t");
    const size_t length = random() % 11;
    for (size_t i = 0; i < length; ++i) text += "abcmnotw"[random() % (w % 3 ? 3 : 8)];
    LetterCodes codes;
    ASSERT_TRUE(keys.Encode(Utf8ToWide(text), codes));
    unique.insert(codes);
  }
  const std::vector<LetterCodes> words(unique.begin(), unique.end());
  Vocabulary vocabulary(keys);
  ASSERT_TRUE(vocabulary.LoadVocabularyBytes(OddlyCodedFile(words, random)).Complete());
  for (size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(vocabulary.DecodeEntry(i), words[i]) << i;
    if (i % 7 == 0) {
      for (size_t d = 0; d <= words[i].size(); ++d) {
        const uint8_t expected = d < words[i].size() ? static_cast<uint8_t>(words[i][d]) : 0;
        ASSERT_EQ(vocabulary.LetterAt(i, d), expected) << i << "/" << d;
      }
    }
  }
  // The letters at one position of the entries sharing the letters before it, as runs.
  for (int query = 0; query < 300; ++query) {
    const size_t i = random() % words.size();
    const size_t d = random() % (words[i].size() + 1);
    size_t first = i, last = i;
    const auto shares = [&](size_t k) { return words[k].compare(0, d, words[i], 0, d) == 0; };
    while (first > 0 && shares(first - 1)) --first;
    while (last + 1 < words.size() && shares(last + 1)) ++last;
    std::vector<uint8_t> expectedLetters;
    std::vector<uint32_t> expectedStarts;
    for (size_t k = first; k <= last; ++k) {
      const uint8_t letter = d < words[k].size() ? static_cast<uint8_t>(words[k][d]) : 0;
      if (expectedLetters.empty() || expectedLetters.back() != letter) {
        expectedLetters.push_back(letter);
        expectedStarts.push_back(static_cast<uint32_t>(k));
      }
    }
    std::vector<uint8_t> letters(last - first + 1);
    std::vector<uint32_t> starts(last - first + 1);
    const size_t runs = vocabulary.LetterRuns(first, last, d, letters.data(), starts.data());
    letters.resize(runs);
    starts.resize(runs);
    ASSERT_EQ(letters, expectedLetters) << first << ".." << last << " at " << d;
    ASSERT_EQ(starts, expectedStarts) << first << ".." << last << " at " << d;
  }
  for (int query = 0; query < 300; ++query) {
    std::vector<int8_t> typed;
    const size_t n = 1 + random() % 9;
    for (size_t k = 0; k < n; ++k) typed.push_back(static_cast<int8_t>(2 + random() % 8));
    if (query % 2 && n >= 2) {  // "mo", the long run
      typed[0] = 6;
      typed[1] = 6;
    }
    ASSERT_EQ(SearchKeys(vocabulary, keys, typed.data(), n), Matching(keys, words, typed))
        << "query " << query;
  }
}

TEST(VocabularyShapesTest, WordsInsertedOneByOneKeepTheAidsRight) {
  // From an empty vocabulary: a single entry first, then a prefix that grows past the number of
  // entries at which a tree node keeps its children, each insertion searched at once.
  testing::TempDir dir;
  KeyMap keys;
  keys.LoadKeyMap(dir.Write("t.chr", testing::kPhoneKeypad));
  std::mt19937 random(17);
  Vocabulary vocabulary(keys);
  std::set<LetterCodes> words;
  const auto encode = [&](const std::string& text) {
    LetterCodes codes;
    keys.Encode(Utf8ToWide(text), codes);
    return codes;
  };
  const std::vector<std::vector<int8_t>> queries = {
      {2}, {2, 2}, {2, 2, 2}, {2, 2, 6, 2}, {2, 2, 2, 2, 2, 2, 2}, {6, 6}, {8}};
  ASSERT_TRUE(vocabulary.InsertIfAbsent(encode("cabbage"), 5));
  words.insert(encode("cabbage"));
  for (int w = 0; w < 3 * static_cast<int>(PrefixTree::kMinCover); ++w) {
    std::string text = w % 5 ? "ca" : "mo";
    const size_t length = random() % 8;
    for (size_t i = 0; i < length; ++i) text += "abcmno"[random() % 6];
    const LetterCodes codes = encode(text);
    ASSERT_EQ(vocabulary.InsertIfAbsent(codes, static_cast<int>(random() % 128)),
              words.insert(codes).second);
    const std::vector<LetterCodes> sorted(words.begin(), words.end());
    ASSERT_EQ(vocabulary.EntryCount(), sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) ASSERT_EQ(vocabulary.DecodeEntry(i), sorted[i]);
    for (const std::vector<int8_t>& typed : queries) {
      ASSERT_EQ(SearchKeys(vocabulary, keys, typed.data(), typed.size()),
                Matching(keys, sorted, typed))
          << "after " << text;
    }
  }
  // The "c" node covers enough entries to keep its children, and "ca" too by now.
  const PrefixTree& tree = vocabulary.Prefixes();
  ASSERT_GE(tree.Depth(), 3u);
  const PrefixTree::Level& level0 = tree.At(0);
  ASSERT_EQ(level0.Size(), 2u);  // c, m
  EXPECT_TRUE(level0.HasChildren(0));
  EXPECT_TRUE(tree.At(1).HasChildren(level0.firstChild[0]));
}

}  // namespace
}  // namespace tessaline
