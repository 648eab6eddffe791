// Front coding, decoding along chains, the bisection and insertion of the vocabulary.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "EngineFiles.h"
#include "engine/Vocabulary.h"

namespace tessaline {
namespace {

using testing::Codes;
using testing::VocFile;

class VocabularyTest : public ::testing::Test {
 protected:
  void Load(const std::string& bytes) { report = voc.LoadVocabularyBytes(bytes); }
  void LoadWords(const std::vector<std::string>& ascii) {
    std::vector<testing::VocWord> words;
    for (const auto& w : ascii) words.push_back({Codes(w), 10});
    Load(VocFile(words));
    ASSERT_TRUE(report.Complete());
  }
  // Every entry decodes (both ways) to the expected words, in order.
  void ExpectWords(const std::vector<std::string>& ascii) {
    ASSERT_EQ(voc.EntryCount(), ascii.size());
    for (size_t i = 0; i < ascii.size(); ++i) {
      const std::string codes = Codes(ascii[i]);
      EXPECT_EQ(voc.DecodeEntry(i), codes) << "entry " << i;
      EXPECT_EQ(voc.EntryLength(i), codes.size()) << "entry " << i;
      for (size_t d = 0; d < codes.size(); ++d) {
        EXPECT_EQ(voc.LetterAt(i, d), static_cast<uint8_t>(codes[d])) << i << "/" << d;
      }
      EXPECT_EQ(voc.LetterAt(i, codes.size()), 0);
      EXPECT_EQ(voc.FindWord(codes), static_cast<int32_t>(i));
    }
  }

  KeyMap keys;
  Vocabulary voc{keys};
  VocabularyLoadReport report;
};

TEST_F(VocabularyTest, SharedPrefixIsAMarkerAndAFirstCodeIsRewritten) {
  // Written by hand: 0x12 0x31 0x55 (frequency 10) and 0x12 0x31 0x56 0x21 (frequency 5).
  const std::string file(
      "\x02\x00\x00\x00"
      "\x00\x00\xA0\x18"  // offset 0, frequency 10, length 3
      "\x03\x00\x50\x20"  // offset 3, frequency 5, length 4
      "\x06\x00\x00\x00"
      "\x14\x31\x55"  // 0x12 stored as 0x14
      "\x05\x56\x21"  // marker 5: two codes shared
      "\x00\x00\x00\x00",
      26);
  Load(file);
  EXPECT_TRUE(report.Complete());
  ASSERT_EQ(voc.EntryCount(), 2u);
  EXPECT_EQ(voc.DecodeEntry(0), std::string("\x12\x31\x55"));
  EXPECT_EQ(voc.DecodeEntry(1), std::string("\x12\x31\x56\x21"));
  EXPECT_EQ(voc.EntryFrequency(0), 10);
  EXPECT_EQ(voc.EntryFrequency(1), 5);
  EXPECT_EQ(voc.EntryLength(1), 4);
  EXPECT_EQ(voc.LetterAt(1, 1), 0x31);

  // The same words inserted one by one give the same file.
  Vocabulary built(keys);
  ASSERT_TRUE(built.InsertWord(0, "\x12\x31\x55", 10));
  ASSERT_TRUE(built.InsertWord(1, "\x12\x31\x56\x21", 5));
  EXPECT_EQ(built.FileBytes(), file);

  // One shared code does not front-code: stored whole, low bits doubled, and back.
  EXPECT_EQ(StoredFormAfter("\x23\x11", "\x23\x45"), "\x26\x45");
  Vocabulary single(keys);
  single.InsertWord(0, "\x23\x11", 1);
  single.InsertWord(1, "\x23\x45", 1);
  EXPECT_EQ(single.StoredForm(1), "\x26\x45");
  EXPECT_EQ(single.DecodeEntry(1), "\x23\x45");
}

TEST_F(VocabularyTest, ChainsAreFollowedBackwards) {
  // Each word shares three codes with the one before; then words whose shared prefix lies in
  // earlier entries' own prefixes, and a marker of p = 1 as a reader must accept it.
  LoadWords({"abcd", "abce", "abcf", "abcfgh", "abcfgi", "abd", "abdz", "b", "bz"});
  ExpectWords({"abcd", "abce", "abcf", "abcfgh", "abcfgi", "abd", "abdz", "b", "bz"});
  EXPECT_EQ(voc.StoredForm(2), std::string("\x07") + Codes("f"));
  EXPECT_EQ(voc.StoredForm(5), std::string("\x05") + Codes("d"));  // walks back to the first entry

  std::string file;
  testing::PutU32(file, 2);
  testing::PutU32(file, 0u | 2u << 27);
  testing::PutU32(file, 2u | 2u << 27);
  testing::PutU32(file, 4);
  file += "\x14\x31\x03\x33";  // second word: marker 3 (one shared code) then 0x33
  testing::PutU32(file, 0);
  Load(file);
  EXPECT_TRUE(report.Complete());
  EXPECT_EQ(voc.DecodeEntry(1), "\x12\x33");
  EXPECT_EQ(voc.LetterAt(1, 0), 0x12);
}

TEST_F(VocabularyTest, FindWordOnEmptyOneAndManyWords) {
  EXPECT_EQ(voc.FindWord(Codes("a")), -1);
  uint8_t buffer[kDecodeBufferSize] = {0xFF};
  EXPECT_EQ(voc.DecodeEntry(0, buffer), 0u);
  EXPECT_EQ(buffer[0], 0);

  LoadWords({"mm"});
  EXPECT_EQ(voc.FindWord(Codes("mm")), 0);
  EXPECT_EQ(voc.FindWord(Codes("m")), -1);  // a prefix sorts before
  EXPECT_EQ(voc.FindWord(Codes("a")), -1);
  EXPECT_EQ(voc.FindWord(Codes("mmm")), -2);
  EXPECT_EQ(voc.FindWord(Codes("z")), -2);

  LoadWords({"b", "bat", "cab", "cat", "dog", "x"});
  EXPECT_EQ(voc.FindWord(Codes("a")), -1);
  EXPECT_EQ(voc.FindWord(Codes("b")), 0);
  EXPECT_EQ(voc.FindWord(Codes("x")), 5);
  EXPECT_EQ(voc.FindWord(Codes("y")), -7);
  EXPECT_EQ(voc.FindWord(Codes("ba")), -2);
  EXPECT_EQ(voc.FindWord(Codes("cat")), 3);
  EXPECT_EQ(voc.FindWord(Codes("cb")), -5);
  EXPECT_EQ(voc.FindWord(Codes("dogs")), -6);
  EXPECT_EQ(voc.FindWord(""), -1);
  // Codes above 0x7F compare as unsigned bytes.
  Vocabulary high(keys);
  high.InsertWord(0, "\x12\x13", 1);
  high.InsertWord(1, "\x12\x93", 1);
  EXPECT_EQ(high.FindWord("\x12\x80"), -2);
  EXPECT_EQ(high.FindWord("\x12\x93"), 1);
}

TEST_F(VocabularyTest, InsertAtBothEndsAndInTheMiddle) {
  LoadWords({"cab", "cat", "dog"});
  const uint32_t catOffset = voc.Entry(1).offset;
  const uint32_t dogOffset = voc.Entry(2).offset;

  // At the end: appended to the pool, every other offset unchanged.
  const size_t pool = voc.PoolSize();
  ASSERT_TRUE(voc.InsertWord(3, Codes("dogs"), 7));
  EXPECT_EQ(voc.Entry(3).offset, pool);
  EXPECT_EQ(voc.Entry(1).offset, catOffset);
  EXPECT_EQ(voc.Entry(2).offset, dogOffset);
  EXPECT_EQ(voc.StoredForm(3), std::string("\x07") + Codes("s"));
  EXPECT_EQ(voc.EntryFrequency(3), 7);

  // At the start: stored whole, and the former first word re-coded against it.
  ASSERT_TRUE(voc.InsertWord(0, Codes("ca"), 3));
  EXPECT_EQ(voc.Entry(0).offset, 0u);
  EXPECT_EQ(voc.StoredForm(0), "\x14\x10");
  EXPECT_EQ(voc.StoredForm(1), std::string("\x05") + Codes("b"));
  ExpectWords({"ca", "cab", "cat", "dog", "dogs"});

  // In the middle, where the next word shares more with the new one than with the old.
  ASSERT_TRUE(voc.InsertWord(3, Codes("do"), 2));
  ExpectWords({"ca", "cab", "cat", "do", "dog", "dogs"});
  EXPECT_EQ(voc.StoredForm(4), std::string("\x05") + Codes("g"));
  EXPECT_EQ(voc.EntryFrequency(4), 10);

  // The result is a file any reader decodes alike.
  Vocabulary again(keys);
  EXPECT_TRUE(again.LoadVocabularyBytes(voc.FileBytes()).Complete());
  EXPECT_EQ(again.FileBytes(), voc.FileBytes());
}

TEST_F(VocabularyTest, InsertRefusesWhatBreaksALimit) {
  LoadWords({"cat"});
  EXPECT_FALSE(voc.InsertWord(1, std::string(32, '\x11'), 1));
  EXPECT_FALSE(voc.InsertWord(1, Codes("dog"), 128));
  EXPECT_FALSE(voc.InsertWord(1, Codes("dog"), -1));
  EXPECT_FALSE(voc.InsertWord(1, "", 1));
  EXPECT_FALSE(voc.InsertWord(1, std::string("\x11\x00\x12", 3), 1));
  EXPECT_FALSE(voc.InsertWord(5, Codes("dog"), 1));
  EXPECT_FALSE(voc.InsertWord(1, "\x18\x11", 1));  // position 8 cannot be rewritten
  EXPECT_EQ(voc.EntryCount(), 1u);
  EXPECT_TRUE(voc.InsertWord(1, std::string(31, '\x11'), 127));

  // InsertIfAbsent: false only for a word that is there; a refused word still reports true.
  EXPECT_FALSE(voc.InsertIfAbsent(Codes("cat"), 1));
  EXPECT_TRUE(voc.InsertIfAbsent(std::string(40, '\x12'), 1));
  EXPECT_EQ(voc.EntryCount(), 2u);
  EXPECT_TRUE(voc.InsertIfAbsent(Codes("bat"), 1));
  EXPECT_EQ(voc.FindWord(Codes("bat")), 0);

  // The pool ends below 2^20 bytes.
  std::string file;
  testing::PutU32(file, 0);
  testing::PutU32(file, kPoolLimit - 6);
  file.append(kPoolLimit - 6, '\0');
  testing::PutU32(file, 0);
  Load(file);
  EXPECT_FALSE(voc.InsertWord(0, Codes("abcdef"), 1));
  EXPECT_TRUE(voc.InsertWord(0, Codes("abcde"), 1));
  EXPECT_EQ(voc.DecodeEntry(0), Codes("abcde"));
}

TEST_F(VocabularyTest, RandomInsertionsKeepEveryWordDecodable) {
  std::mt19937 random(7);
  std::set<std::string> expected;
  for (int i = 0; i < 600; ++i) {
    // Few letters and short words, so that prefixes are shared often and chains grow long.
    std::string word;
    const int length = 1 + static_cast<int>(random() % 6);
    for (int k = 0; k < length; ++k) word += static_cast<char>(0x10 + random() % 3);
    const bool isNew = expected.insert(word).second;
    EXPECT_EQ(voc.InsertIfAbsent(word, 1), isNew);
  }
  ASSERT_EQ(voc.EntryCount(), expected.size());
  size_t i = 0;
  for (const std::string& word : expected) {
    ASSERT_EQ(voc.DecodeEntry(i), word) << i;
    ASSERT_EQ(voc.LetterAt(i, word.size() - 1), static_cast<uint8_t>(word.back()));
    ++i;
  }
  Vocabulary reread(keys);
  EXPECT_TRUE(reread.LoadVocabularyBytes(voc.FileBytes()).Complete());
  EXPECT_EQ(reread.EntryCount(), expected.size());
}

}  // namespace
}  // namespace tessaline
