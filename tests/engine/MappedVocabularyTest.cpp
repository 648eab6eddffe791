// Vocabulary files used in place from a mapping: what a missing, empty, cut or replaced file
// gives, and what run-time changes do to the file's bytes (nothing).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "EngineFiles.h"
#include "engine/Lexicon.h"
#include "engine/Vocabulary.h"
#include "support/TestFiles.h"
#include "system/DataFiles.h"
#include "system/MappedFile.h"

namespace tessaline {
namespace {

using testing::Codes;
using testing::VocFile;

std::string Words() {
  return VocFile({{Codes("ab"), 1}, {Codes("abc"), 2}, {Codes("abd"), 3}, {Codes("b"), 4}},
                 {{0x1011, {{0x12, 5}, {0x13, -2}}, 2}, {0x2122, {{0x30, 1}}, 7}});
}

class MappedVocabularyTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  KeyMap keys;
};

TEST_F(MappedVocabularyTest, MissingAndEmptyFiles) {
  MapOutcome outcome = MapOutcome::kMapped;
  EXPECT_EQ(MapDataFile(dir.File("none.voc"), &outcome), nullptr);
  EXPECT_EQ(outcome, MapOutcome::kMissing);
  EXPECT_EQ(MapDataFile(dir.Path(), &outcome), nullptr);  // a folder is no data file
  EXPECT_EQ(outcome, MapOutcome::kUnreadable);

  auto empty = MapDataFile(dir.Write("empty.voc", ""), &outcome);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(outcome, MapOutcome::kMapped);
  EXPECT_TRUE(empty->Bytes().empty());
  Vocabulary voc(keys);
  const VocabularyLoadReport report = voc.LoadMapped(empty);
  EXPECT_TRUE(report.truncated);
  EXPECT_EQ(voc.EntryCount(), 0u);
  EXPECT_EQ(voc.LoadMapped(nullptr).entries, 0u);
}

TEST_F(MappedVocabularyTest, EveryCutOfTheFileReadsAsItsCopyDoes) {
  // The mapping ends where the file ends: every length of the file keeps exactly what the same
  // bytes keep when copied, and a damaged count byte as well.
  const std::string whole = Words();
  for (size_t length = 0; length <= whole.size() + 1; ++length) {
    std::string bytes = whole.substr(0, length);
    if (length == whole.size() + 1) bytes = whole + "x";
    const std::string path = dir.Write("cut.voc", bytes);
    Vocabulary mapped(keys);
    Vocabulary copied(keys);
    const VocabularyLoadReport a = mapped.LoadMapped(MapDataFile(path));
    const VocabularyLoadReport b = copied.LoadVocabularyBytes(bytes);
    ASSERT_EQ(a.entries, b.entries) << length;
    ASSERT_EQ(a.pool, b.pool) << length;
    ASSERT_EQ(a.pairs, b.pairs) << length;
    ASSERT_EQ(a.truncated, b.truncated) << length;
    ASSERT_EQ(a.trailingBytes, b.trailingBytes) << length;
    ASSERT_EQ(a.clampedPairCounts, 1u * (a.pairs == 2)) << length;  // the count of 7
    ASSERT_EQ(mapped.FileBytes(), copied.FileBytes()) << length;
    for (size_t i = 0; i < a.entries; ++i) ASSERT_EQ(mapped.DecodeEntry(i), copied.DecodeEntry(i));
  }
}

TEST_F(MappedVocabularyTest, ChangesAtRunTimeLeaveTheFileAlone) {
  const std::string path = dir.Write("x.voc", Words());
  Vocabulary voc(keys);
  ASSERT_EQ(voc.LoadMapped(MapDataFile(path)).entries, 4u);
  ASSERT_TRUE(voc.Mapped());
  EXPECT_EQ(voc.MappedBytes(), Words().size());
  const std::string asLoaded = voc.FileBytes();

  // A frequency above the file's range, then back to the file's own: the table beside the
  // entries holds it only while it differs, and the block maxima follow.
  voc.SetEntryFrequency(1, 200);
  EXPECT_EQ(voc.EntryFrequency(1), 200);
  EXPECT_EQ(voc.Entry(1).frequency, 200);
  EXPECT_EQ(voc.BlockMaxFrequency(0), 200);
  EXPECT_EQ(voc.EntryFrequency(0), 1);
  const size_t withChange = voc.MemoryBytes();
  voc.SetEntryFrequency(1, 2);
  EXPECT_EQ(voc.EntryFrequency(1), 2);
  EXPECT_EQ(voc.BlockMaxFrequency(0), 4);
  EXPECT_LT(voc.MemoryBytes(), withChange);
  EXPECT_EQ(voc.FileBytes(), asLoaded);

  // An inserted word makes the vocabulary take its own copies; the file is as it was.
  voc.SetEntryFrequency(3, 90);
  ASSERT_TRUE(voc.InsertIfAbsent(Codes("abcd"), 5));
  EXPECT_FALSE(voc.Mapped());
  EXPECT_EQ(voc.EntryCount(), 5u);
  EXPECT_EQ(voc.DecodeEntry(2), Codes("abcd"));
  EXPECT_EQ(voc.DecodeEntry(3), Codes("abd"));
  EXPECT_EQ(voc.EntryFrequency(4), 90);  // "b" moved one place with its changed frequency
  EXPECT_EQ(voc.EntryFrequency(3), 3);
  EXPECT_EQ(testing::ReadBytes(path), Words());
}

TEST_F(MappedVocabularyTest, AFileReplacedWhileMappedChangesNothingOffered) {
  // Another file put in the vocabulary's place (as an installer does) leaves the words in use
  // as they were until the language loads again. Under Win32 the mapped file cannot be replaced
  // or written at all while it is mapped; natively the mapping keeps the old file.
  const std::string path = dir.Write("x.voc", Words());
  const std::string other = dir.Write("y.voc", VocFile({{Codes("zz"), 9}}));
  auto words = std::make_unique<Lexicon>(keys);
  ASSERT_EQ(words->LoadMapped(MapDataFile(path)).entries, 4u);
  const bool replaced = ReplaceDataFile(other, path);
#ifdef _WIN32
  EXPECT_FALSE(replaced);
  EXPECT_EQ(std::fopen(path.c_str(), "r+b"), nullptr);
#else
  EXPECT_TRUE(replaced);
#endif
  EXPECT_EQ(words->EntryCount(), 4u);
  EXPECT_EQ(words->DecodeEntry(3), Codes("b"));
  EXPECT_EQ(words->FindWord(Codes("abd")), 2);
  EXPECT_EQ(words->GetPair(1).count, 4);  // clamped where it is read
  words.reset();
  if (!replaced) ASSERT_TRUE(ReplaceDataFile(other, path));
  Lexicon reloaded(keys);
  reloaded.LoadMapped(MapDataFile(path));
  EXPECT_EQ(reloaded.EntryCount(), 1u);
}

TEST_F(MappedVocabularyTest, UserWordsStandBesideTheFilesWords) {
  const std::string path = dir.Write("x.voc", Words());
  Lexicon words(keys);
  ASSERT_EQ(words.LoadMapped(MapDataFile(path)).entries, 4u);
  words.BeginBulkInsert();
  EXPECT_TRUE(words.InsertIfAbsent(Codes("abb"), 1));
  EXPECT_TRUE(words.InsertIfAbsent(Codes("a"), 1));
  EXPECT_FALSE(words.InsertIfAbsent(Codes("abc"), 1));  // the file's word
  EXPECT_FALSE(words.InsertIfAbsent(Codes("a"), 1));
  words.EndBulkInsert();
  EXPECT_TRUE(words.Base().Mapped());
  ASSERT_EQ(words.EntryCount(), 6u);
  // The file's entries keep their indices; the user's follow in their own order.
  EXPECT_EQ(words.FindWord(Codes("abd")), 2);
  EXPECT_EQ(words.FindWord(Codes("a")), 4);
  EXPECT_EQ(words.FindWord(Codes("abb")), 5);
  EXPECT_EQ(words.DecodeEntry(5), Codes("abb"));
  EXPECT_EQ(words.FindWord(Codes("aa")), -1);  // before every word of the file
  words.SetEntryFrequency(5, 150);
  EXPECT_EQ(words.EntryFrequency(5), 150);
  EXPECT_EQ(words.EntryLength(5), 3);
  EXPECT_EQ(words.User().BlockMaxFrequency(0), 150);
  EXPECT_EQ(words.EntryFrequency(99), 0);
  EXPECT_EQ(words.EntryLength(99), 0);
}

}  // namespace
}  // namespace tessaline
