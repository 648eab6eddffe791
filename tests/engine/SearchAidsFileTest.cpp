// The search-aids file beside a vocabulary file: used in place when it is made for the very bytes
// of the vocabulary file, let go (and the aids derived) when it is missing, stale, cut, damaged or
// malformed; the search reads the same either way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>

#include "EngineFiles.h"
#include "engine/KeySearch.h"
#include "engine/Language.h"
#include "engine/SearchAidsFile.h"
#include "engine/Vocabulary.h"
#include "support/TestFiles.h"
#include "system/MappedFile.h"

namespace tessaline {
namespace {

using testing::Codes;

// A vocabulary of the shape of a language's: about 12,000 words from a few hundred stems with
// endings (long runs sharing prefixes, so the minima have three levels, the frequency maxima
// several groups and the prefix tree nodes that keep children), and letter-pair records in no
// order with repeated keys.
std::string GeneratedVocabulary() {
  std::mt19937 random(7);
  const std::string letters = "etaoinshrdlcumwfgypbvkjxqz";
  auto letter = [&] {
    const size_t r = random() % 1000;
    return letters[std::min<size_t>(letters.size() - 1, r * r / 40000)];
  };
  std::set<std::string> words;
  for (int stem = 0; stem < 700; ++stem) {
    std::string base;
    for (size_t n = 1 + random() % 6; n > 0; --n) base += letter();
    words.insert(Codes(base));
    for (size_t forms = random() % 30; forms > 0; --forms) {
      std::string word = base;
      for (size_t n = 1 + random() % 8; n > 0; --n) word += letter();
      words.insert(Codes(word.substr(0, 31)));
    }
  }
  std::vector<testing::VocWord> list;
  for (const std::string& word : words) list.push_back({word, static_cast<int>(random() % 128)});
  std::vector<testing::PairBytes> pairs;
  for (int i = 0; i < 300; ++i) {
    pairs.push_back({static_cast<uint16_t>(0x1010 + random() % 97),
                     {{0x12, 5}, {0x13, static_cast<int8_t>(-(i % 7))}},
                     2});
  }
  return testing::VocFile(list, pairs);
}

const std::string& Generated() {
  static const std::string bytes = GeneratedVocabulary();
  return bytes;
}

// The header's fields that the structural tests rewrite, by byte offset.
constexpr size_t kBodyHashAt = 24;
constexpr size_t kMarkBytesAt = 48;
constexpr size_t kBlocksAt = 52;
constexpr size_t kGroupsAt = 56;
constexpr size_t kPairKeysAt = 40;
constexpr size_t kRootBytesAt = 68;
constexpr size_t kLevelsAt = 72;

uint32_t FieldAt(const std::string& file, size_t at) {
  return static_cast<uint32_t>(ReadLe32(file, at));
}

// Sets the body's hash to what the bytes after the header hash to, as a file made up to pass it.
void Rehash(std::string& file) {
  const uint64_t hash = HashBytes(std::string_view(file).substr(SearchAidsFile::kHeaderSize));
  for (int b = 0; b < 8; ++b) file[kBodyHashAt + b] = static_cast<char>(hash >> (8 * b));
}

class SearchAidsFileTest : public ::testing::Test {
 protected:
  SearchAidsFileTest() { keys.LoadKeyMap(dir.Write("t.chr", testing::kTestLanguage)); }

  // Loads the vocabulary file with the aids file beside it (when given) as a language does, from
  // files of their own (under Win32 a mapped file can be neither replaced nor deleted).
  VocabularyLoadReport Load(Vocabulary& voc, const std::string& vocBytes,
                            const std::string* aids) {
    const std::string name = "v" + std::to_string(++loads);
    const std::string path = dir.Write(name + ".voc", vocBytes);
    if (aids) dir.Write(name + ".aid", *aids);
    return voc.LoadMapped(MapDataFile(path), MapDataFile(SearchAidsPath(path)));
  }

  // The aids file is let go; returns why.
  std::string ExpectLetGo(const std::string& vocBytes, const std::string& aids, const char* what) {
    SCOPED_TRACE(what);
    Vocabulary voc(keys);
    EXPECT_FALSE(Load(voc, vocBytes, &aids).aidsFromFile);
    EXPECT_FALSE(voc.AidsMapped());
    const std::string why = SearchAidsFile::Check(aids, vocBytes);
    EXPECT_NE(why, "");
    return why;
  }

  // Everything the search reads of the aids, compared: the key ranges of every sequence of up to
  // three keys and of longer random ones, every decoded entry and letter, the maxima, the pairs.
  void ExpectSameSearch(const Vocabulary& a, const Vocabulary& b) {
    ASSERT_EQ(a.EntryCount(), b.EntryCount());
    const size_t n = a.EntryCount();
    for (size_t i = 0; i < n; ++i) {
      ASSERT_EQ(a.DecodeEntry(i), b.DecodeEntry(i)) << i;
      ASSERT_EQ(a.LetterAt(i, i % 5), b.LetterAt(i, i % 5)) << i;
    }
    for (size_t block = 0; block * Vocabulary::kFrequencyBlock < n; ++block)
      ASSERT_EQ(a.BlockMaxFrequency(block), b.BlockMaxFrequency(block));
    for (size_t group = 0; group * Vocabulary::kFrequencyGroup < n; ++group)
      ASSERT_EQ(a.GroupMaxFrequency(group), b.GroupMaxFrequency(group));
    for (uint32_t key = 0x1000; key < 0x1100; ++key)
      ASSERT_EQ(a.FindPair(static_cast<uint16_t>(key)), b.FindPair(static_cast<uint16_t>(key)));
    std::vector<EntryRange> rangesA, rangesB;
    auto same = [&](const std::vector<int8_t>& sequence) {
      SearchKeyRanges(a, keys, sequence.data(), sequence.size(), rangesA);
      SearchKeyRanges(b, keys, sequence.data(), sequence.size(), rangesB);
      ASSERT_EQ(rangesA.size(), rangesB.size());
      for (size_t r = 0; r < rangesA.size(); ++r) {
        ASSERT_EQ(rangesA[r].first, rangesB[r].first);
        ASSERT_EQ(rangesA[r].last, rangesB[r].last);
      }
    };
    for (int8_t k1 = 2; k1 <= 9; ++k1) {
      same({k1});
      for (int8_t k2 = 2; k2 <= 9; ++k2) {
        same({k1, k2});
        for (int8_t k3 = 2; k3 <= 9; ++k3) same({k1, k2, k3});
      }
    }
    std::mt19937 random(3);
    for (int i = 0; i < 300; ++i) {
      std::vector<int8_t> sequence(4 + random() % 6);
      for (int8_t& key : sequence) key = static_cast<int8_t>(2 + random() % 8);
      same(sequence);
    }
  }

  testing::TempDir dir;
  KeyMap keys;
  int loads = 0;
};

TEST_F(SearchAidsFileTest, UsedInPlaceTheSearchReadsAsWithDerivedAids) {
  const std::string aids = SearchAidsFile::Write(Generated());
  EXPECT_EQ(SearchAidsFile::Check(aids, Generated()), "");
  Vocabulary fromFile(keys);
  Vocabulary derived(keys);
  const VocabularyLoadReport report = Load(fromFile, Generated(), &aids);
  EXPECT_TRUE(report.aidsFromFile);
  EXPECT_TRUE(report.Complete());
  EXPECT_TRUE(fromFile.AidsMapped());
  EXPECT_FALSE(Load(derived, Generated(), nullptr).aidsFromFile);  // no file: derived
  EXPECT_GT(derived.EntryCount(), 10000u);
  EXPECT_EQ(fromFile.FindPair(0xFFFF), -1);  // no record has the key
  EXPECT_EQ(derived.FindPair(0xFFFF), -1);
  EXPECT_EQ(fromFile.PrivateAidBytes(), 0u);
  EXPECT_EQ(fromFile.AidBytes(), derived.AidBytes());
  EXPECT_EQ(fromFile.MappedBytes(), Generated().size() + aids.size());
  ExpectSameSearch(fromFile, derived);
}

TEST_F(SearchAidsFileTest, RunTimeChangesWorkOnTopOfTheFile) {
  // Changed frequencies copy the maxima alone; an inserted word makes every aid the
  // vocabulary's own again. Either way the file is not written.
  const std::string aids = SearchAidsFile::Write(Generated());
  Vocabulary fromFile(keys);
  Vocabulary derived(keys);
  ASSERT_TRUE(Load(fromFile, Generated(), &aids).aidsFromFile);
  derived.LoadVocabularyBytes(Generated());
  for (size_t i : {5u, 4000u, 9000u}) {
    fromFile.SetEntryFrequency(i, 200);
    derived.SetEntryFrequency(i, 200);
  }
  fromFile.SetEntryFrequency(4000, 0);
  derived.SetEntryFrequency(4000, 0);
  EXPECT_EQ(fromFile.BlockMaxFrequency(5 / Vocabulary::kFrequencyBlock), 200);
  EXPECT_GT(fromFile.PrivateAidBytes(), 0u);
  EXPECT_LT(fromFile.PrivateAidBytes(), fromFile.AidBytes() / 10);
  ExpectSameSearch(fromFile, derived);

  ASSERT_TRUE(fromFile.InsertIfAbsent(Codes("aaaab"), 9));
  ASSERT_TRUE(derived.InsertIfAbsent(Codes("aaaab"), 9));
  EXPECT_FALSE(fromFile.AidsMapped());
  ExpectSameSearch(fromFile, derived);
  EXPECT_EQ(testing::ReadBytes(dir.File("v1.aid")), aids);
}

TEST_F(SearchAidsFileTest, StaleFilesAreLetGo) {
  const std::string aids = SearchAidsFile::Write(Generated());
  // Another size: a word more.
  std::string grown = Generated();
  grown += "x";
  ExpectLetGo(grown, aids, "a byte more");
  // The same size, one byte changed: a frequency, a letter of the pool, a letter pair.
  for (size_t at : {size_t{4 + 3 * 4 + 2}, Generated().size() / 2, Generated().size() - 3}) {
    std::string changed = Generated();
    changed[at] = static_cast<char>(changed[at] ^ 0x01);
    ExpectLetGo(changed, aids, "one byte changed");
  }
  // The aids file of another vocabulary.
  ExpectLetGo(Generated(), SearchAidsFile::Write(testing::VocFile({{Codes("ab"), 1}})),
              "another vocabulary's");
}

TEST_F(SearchAidsFileTest, CutOrDamagedFilesAreLetGo) {
  // A small vocabulary with every section: every length short of the whole file, and a flipped
  // bit in every byte of it, header and arrays alike.
  const std::string small = testing::VocFile(
      {{Codes("ab"), 1}, {Codes("abc"), 2}, {Codes("abd"), 3}, {Codes("b"), 4}, {Codes("ca"), 9}},
      {{0x1012, {{0x12, 5}}, 1}, {0x1011, {{0x13, 2}}, 1}, {0x1012, {{0x14, 1}}, 1}});
  const std::string aids = SearchAidsFile::Write(small);
  ASSERT_EQ(SearchAidsFile::Check(aids, small), "");
  for (size_t length = 0; length < aids.size(); ++length) {
    ExpectLetGo(small, aids.substr(0, length), "cut short");
  }
  ExpectLetGo(small, aids + std::string(4, '\0'), "longer");
  for (size_t at = 0; at < aids.size(); ++at) {
    std::string damaged = aids;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
    ExpectLetGo(small, damaged, "a flipped bit");
  }
  // A sample of the generated one's bytes, every section among them.
  const std::string large = SearchAidsFile::Write(Generated());
  for (size_t at = 0; at < large.size(); at += 97) {
    std::string damaged = large;
    damaged[at] = static_cast<char>(damaged[at] + 1);
    ExpectLetGo(Generated(), damaged, "a changed byte");
  }
}

TEST_F(SearchAidsFileTest, BadStructureBehindCorrectHashesIsLetGo) {
  // Files made up to carry the right hashes, each with one part out of shape: the checks of the
  // structure let them go before the search could read outside an array.
  const std::string aids = SearchAidsFile::Write(Generated());
  const size_t markAt = SearchAidsFile::kHeaderSize;
  const size_t blocksAt = markAt + (FieldAt(aids, kMarkBytesAt) + 3) / 4 * 4;
  const size_t groupsAt = blocksAt + (FieldAt(aids, kBlocksAt) * 2 + 3) / 4 * 4;
  const size_t keysAt = groupsAt + (FieldAt(aids, kGroupsAt) * 2 + 3) / 4 * 4;
  const size_t keys = FieldAt(aids, kPairKeysAt);
  const size_t firstsAt = keysAt + (keys * 2 + 3) / 4 * 4;
  const size_t rootAt = firstsAt + keys * 4;
  const size_t levelAt = rootAt + (FieldAt(aids, kRootBytesAt) + 3) / 4 * 4;
  const size_t nodes = FieldAt(aids, kLevelsAt);
  ASSERT_EQ(FieldAt(aids, kLevelsAt + 4), 2u);  // level 0's starts are 16-bit
  const size_t startsAt = levelAt + (nodes + 3) / 4 * 4;
  const size_t childrenAt = startsAt + (nodes * 2 + 3) / 4 * 4;
  struct Change {
    const char* what;
    size_t at;
    uint8_t value;
  };
  const Change changes[] = {
      {"a minimum beyond any marker", markAt, 40},
      {"a minimum in the padding", markAt + FieldAt(aids, kMarkBytesAt) - 1, 3},
      {"a block maximum above the file's frequencies", blocksAt + 1, 0x01},
      {"a group maximum not its blocks' highest", groupsAt, 0},
      {"a pair key no record has", keysAt + 1, 0x00},
      {"pair keys out of order", keysAt + 3, 0xFF},
      {"a pair's first record out of the table", firstsAt + 2, 0x01},
      {"a root index beyond the first level", rootAt + 3, 0xFF},
      {"a first node not at the first entry", startsAt, 1},
      {"a node starting beyond the entries", startsAt + 2 * (nodes - 1) + 1, 0xFF},
      {"letters of siblings out of order", levelAt + 1, 0x10},
      {"children beyond the next level", childrenAt + 2 * nodes, 0xFF},
      {"children out of order", childrenAt + 2, 0xFF},
      {"another depth", 60, 7},
      {"another entry count", 32, 0},
  };
  for (const Change& change : changes) {
    std::string bad = aids;
    ASSERT_LT(change.at, bad.size()) << change.what;
    ASSERT_NE(static_cast<uint8_t>(bad[change.at]), change.value) << change.what;
    bad[change.at] = static_cast<char>(change.value);
    Rehash(bad);
    const std::string why = ExpectLetGo(Generated(), bad, change.what);
    EXPECT_EQ(why.find("hash"), std::string::npos) << change.what << ": " << why;
    EXPECT_EQ(why.find("derive"), std::string::npos) << change.what << ": " << why;
  }
}

TEST_F(SearchAidsFileTest, ALanguageUsesTheFileBesideItsVocabulary) {
  const testing::DeviceRootScope root(dir.Path());
  dir.Write("Tess/Languages/English.chr", testing::kTestLanguage);
  dir.Write("Tess/Languages/English.voc", Generated());
  const char* chr = "\\Tess\\Languages\\English.chr";
  {
    Language language(chr, u"English", false, false, 254, 1);
    EXPECT_FALSE(language.VocabularyReport().aidsFromFile);
  }
  dir.Write("Tess/Languages/English.aid", SearchAidsFile::Write(Generated()));
  Language withAids(chr, u"English", true, true, 254, 1);
  EXPECT_TRUE(withAids.VocabularyReport().aidsFromFile);
  Vocabulary derived(keys);
  derived.LoadVocabularyBytes(Generated());
  ExpectSameSearch(withAids.Words().Base(), derived);
}

}  // namespace
}  // namespace tessaline
