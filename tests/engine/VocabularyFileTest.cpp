// Vocabulary files as other programs write them, and files that are cut short or lie.
#include <gtest/gtest.h>

#include <cstdio>

#include "EngineFiles.h"
#include "engine/Vocabulary.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

using testing::Codes;
using testing::PutU32;
using testing::VocFile;

class VocabularyFileTest : public ::testing::Test {
 protected:
  std::string Words() {
    return VocFile({{Codes("ab"), 1}, {Codes("abc"), 2}, {Codes("abd"), 3}, {Codes("b"), 4}},
                   {{0x1011, {{0x12, 5}, {0x13, -2}}, 2}, {0x2122, {{0x30, 1}}, 1}});
  }
  KeyMap keys;
  Vocabulary voc{keys};
};

TEST_F(VocabularyFileTest, WellFormedFileFromAStream) {
  testing::TempDir dir;
  const std::string path = dir.Write("x.voc", Words());
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  const VocabularyLoadReport report = voc.LoadVocabulary(file);
  std::fclose(file);
  EXPECT_TRUE(report.Complete());
  ASSERT_EQ(voc.EntryCount(), 4u);
  EXPECT_EQ(voc.DecodeEntry(2), Codes("abd"));
  EXPECT_EQ(voc.EntryFrequency(3), 4);
  ASSERT_EQ(voc.PairCount(), 2u);
  const LetterPairRecord pair = voc.GetPair(0);
  EXPECT_EQ(pair.key, 0x1011);
  EXPECT_EQ(pair.count, 2);
  EXPECT_EQ(pair.letters[1], 0x13);
  EXPECT_EQ(pair.weights[1], -2);
  EXPECT_EQ(voc.GetPair(7).count, 0);
  EXPECT_EQ(voc.FileBytes(), Words());

  voc.LoadVocabularyBytes(std::string(12, '\0'));
  EXPECT_EQ(voc.EntryCount(), 0u);
  EXPECT_EQ(voc.PairCount(), 0u);
}

TEST_F(VocabularyFileTest, StreamIsReadFromWhereItStands) {
  // The reader sizes its buffer from the stream's length: a stream already advanced, or one
  // holding bytes after the vocabulary, still yields exactly what lies from its position on.
  testing::TempDir dir;
  const std::string path = dir.Write("x.voc", "head" + Words() + "z");
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fseek(file, 4, SEEK_SET), 0);
  const VocabularyLoadReport report = voc.LoadVocabulary(file);
  std::fclose(file);
  EXPECT_EQ(report.fileSize, Words().size() + 1);
  EXPECT_TRUE(report.trailingBytes);
  ASSERT_EQ(voc.EntryCount(), 4u);
  EXPECT_EQ(voc.DecodeEntry(1), Codes("abc"));
  EXPECT_EQ(voc.PairCount(), 2u);

  const std::string empty = dir.Write("e.voc", "");
  file = std::fopen(empty.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(voc.LoadVocabulary(file).truncated);
  std::fclose(file);
  EXPECT_EQ(voc.EntryCount(), 0u);
}

TEST_F(VocabularyFileTest, EveryCutKeepsWhatIsComplete) {
  const std::string whole = Words();
  for (size_t size = 0; size < whole.size(); ++size) {
    const VocabularyLoadReport report = voc.LoadVocabularyBytes(whole.substr(0, size));
    EXPECT_TRUE(report.truncated) << size;
    EXPECT_FALSE(report.Complete());
    EXPECT_LE(voc.PairCount(), 2u);
    // Whatever is kept decodes to a prefix of the true list.
    const char* expected[] = {"ab", "abc", "abd", "b"};
    ASSERT_LE(voc.EntryCount(), 4u);
    for (size_t i = 0; i < voc.EntryCount(); ++i) {
      EXPECT_EQ(voc.DecodeEntry(i), Codes(expected[i])) << size;
    }
  }
  // Cut inside the pairs: the four words and the first complete record stay.
  const VocabularyLoadReport report = voc.LoadVocabularyBytes(whole.substr(0, whole.size() - 5));
  EXPECT_EQ(voc.EntryCount(), 4u);
  EXPECT_EQ(voc.PairCount(), 1u);
  EXPECT_EQ(report.declaredPairs, 2u);
  // Cut inside the pool: entries whose stored form is gone are dropped.
  voc.LoadVocabularyBytes(whole.substr(0, 4 + 16 + 4 + 4));
  EXPECT_EQ(voc.EntryCount(), 2u);
  EXPECT_EQ(voc.DecodeEntry(1), Codes("abc"));
  EXPECT_EQ(voc.PairCount(), 0u);
}

TEST_F(VocabularyFileTest, AStreamYieldsWhatItsBytesYield) {
  // A file read from a stream goes into the containers part by part; every cut of it, and one
  // with a byte too many, must load as the same bytes in memory do.
  testing::TempDir dir;
  const std::string whole = Words() + "z";
  for (size_t size = 0; size <= whole.size(); ++size) {
    const std::string bytes = whole.substr(0, size);
    Vocabulary fromBytes(keys);
    const VocabularyLoadReport wanted = fromBytes.LoadVocabularyBytes(bytes);
    FILE* file = std::fopen(dir.Write("cut.voc", bytes).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    const VocabularyLoadReport report = voc.LoadVocabulary(file);
    std::fclose(file);
    EXPECT_EQ(report.fileSize, wanted.fileSize) << size;
    EXPECT_EQ(report.declaredEntries, wanted.declaredEntries) << size;
    EXPECT_EQ(report.declaredPool, wanted.declaredPool) << size;
    EXPECT_EQ(report.declaredPairs, wanted.declaredPairs) << size;
    EXPECT_EQ(report.truncated, wanted.truncated) << size;
    EXPECT_EQ(report.trailingBytes, wanted.trailingBytes) << size;
    EXPECT_EQ(report.firstBadEntry, wanted.firstBadEntry) << size;
    EXPECT_EQ(voc.FileBytes(), fromBytes.FileBytes()) << size;
  }
}

TEST_F(VocabularyFileTest, LyingCountsAreNeverBelieved) {
  // Counts near 2^32 over a few bytes: nothing is sized from them.
  std::string file;
  PutU32(file, 0xFFFFFFFFu);
  PutU32(file, 0u | 1u << 27);
  VocabularyLoadReport report = voc.LoadVocabularyBytes(file);
  EXPECT_TRUE(report.truncated);
  EXPECT_EQ(report.declaredEntries, 0xFFFFFFFFu);
  EXPECT_EQ(voc.EntryCount(), 0u);  // its word lies in a pool that is not there

  file.clear();
  PutU32(file, 1);
  PutU32(file, 0u | 2u << 27);
  PutU32(file, 0x7FFFFFFFu);
  file += "\x14\x31";
  report = voc.LoadVocabularyBytes(file);
  EXPECT_TRUE(report.truncated);
  EXPECT_EQ(voc.PoolSize(), 2u);
  EXPECT_EQ(voc.DecodeEntry(0), "\x12\x31");

  file = VocFile({{Codes("ab"), 1}});
  file.replace(file.size() - 4, 4, std::string("\xFF\xFF\xFF\xFF", 4));
  file += std::string("\x11\x10\x12\x00\x00\x00\x05\x00\x00\x00\x01\x00\x99", 13);
  report = voc.LoadVocabularyBytes(file);
  EXPECT_EQ(voc.PairCount(), 1u);
  EXPECT_EQ(voc.GetPair(0).key, 0x1011);
  EXPECT_TRUE(report.truncated);

  // Bytes after the last record are reported, the rest is kept.
  report = voc.LoadVocabularyBytes(Words() + "x");
  EXPECT_TRUE(report.trailingBytes);
  EXPECT_EQ(voc.EntryCount(), 4u);
}

TEST_F(VocabularyFileTest, UndecodableEntriesAreDroppedWithEverythingAfterThem) {
  struct Case {
    const char* what;
    std::vector<uint32_t> entries;  // packed
    std::string pool;
    size_t kept;
  };
  const uint32_t len2 = 2u << 27, len3 = 3u << 27;
  const std::vector<Case> cases = {
      {"length 0", {0u | len2, 2u}, "\x14\x31\x12", 1},
      {"offset past the pool", {0u | len2, 9u | len2}, "\x14\x31", 1},
      {"stored form runs past the pool", {0u | len2, 2u | len3}, "\x14\x31\x16\x31", 1},
      {"overlaps the entry before", {0u | len3, 1u | len2}, "\x14\x31\x31", 1},
      {"marker at the first entry", {0u | len2, 2u | len2}, "\x05\x31\x14\x31", 0},
      {"marker shares more than the word before has",
       {0u | len2, 2u | len3},
       std::string("\x14\x31\x07\x33", 4),
       1},
      {"marker longer than its own word", {0u | len2, 2u | len2}, "\x14\x31\x07", 1},
      {"zero byte inside", {0u | len3, 3u | len2}, std::string("\x14\x00\x31\x14\x31", 5), 0},
      {"zero first byte", {0u | len2, 2u | len2}, std::string("\x14\x31\x00\x31", 4), 1},
  };
  for (const Case& c : cases) {
    std::string file;
    PutU32(file, static_cast<uint32_t>(c.entries.size()));
    for (uint32_t e : c.entries) PutU32(file, e);
    PutU32(file, static_cast<uint32_t>(c.pool.size()));
    file += c.pool;
    PutU32(file, 0);
    const VocabularyLoadReport report = voc.LoadVocabularyBytes(file);
    EXPECT_EQ(voc.EntryCount(), c.kept) << c.what;
    EXPECT_EQ(report.firstBadEntry, static_cast<int64_t>(c.kept)) << c.what;
    EXPECT_FALSE(report.truncated) << c.what;
    // What is left can be searched and extended safely.
    EXPECT_TRUE(voc.InsertIfAbsent(Codes("zz"), 1)) << c.what;
    EXPECT_EQ(voc.DecodeEntry(voc.EntryCount() - 1), Codes("zz")) << c.what;
  }
}

TEST_F(VocabularyFileTest, PairCountsOutsideTheirRangeAreBroughtIntoIt) {
  voc.LoadVocabularyBytes(
      VocFile({{Codes("ab"), 1}}, {{1, {{0x10, 1}}, 9}, {2, {{0x10, 1}}, -3}, {3, {}, 4}}));
  EXPECT_EQ(voc.GetPair(0).count, 4);
  EXPECT_EQ(voc.GetPair(1).count, 0);
  EXPECT_EQ(voc.GetPair(2).count, 4);
}

}  // namespace
}  // namespace tessaline
