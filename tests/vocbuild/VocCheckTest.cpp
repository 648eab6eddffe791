// The vocabulary check finds every kind of damage it claims to find, and never reads outside the
// file however it is cut.
#include <gtest/gtest.h>

#include "VocTestLanguage.h"
#include "vocbuild/VocCheck.h"
#include "vocbuild/VocCompiler.h"

namespace tessaline::vocbuild {
namespace {

using test::TestKeyMap;

std::string Codes(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s.push_back(static_cast<char>(c));
  return s;
}

std::string Le32(uint32_t v) { return Codes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)}); }

// A file from raw parts: entries as (offset, frequency, length), the pool, and pair records.
std::string RawFile(std::initializer_list<std::array<uint32_t, 3>> entries, const std::string& pool,
                    const std::string& pairs = "", uint32_t pairCount = 0) {
  std::string out = Le32(static_cast<uint32_t>(entries.size()));
  for (const auto& e : entries) out += Le32(e[0] | e[1] << 20 | e[2] << 27);
  return out + Le32(static_cast<uint32_t>(pool.size())) + pool + Le32(pairCount) + pairs;
}

bool HasProblem(const CheckResult& r, const std::string& part) {
  for (const std::string& p : r.problems) {
    if (p.find(part) != std::string::npos) return true;
  }
  return false;
}

CompiledVocabulary Sample() {
  BuildReport report;
  return CompileVocabulary(TestKeyMap(),
                           ReadWordList("then\t50\nthere\t40\nthese\t30\nä\t3\nabout\t20\nzoo\t2\nbeyond\t9\n"), {},
                           report);
}

TEST(VocCheckTest, CompiledVocabularyPassesAndReadsBackWordForWord) {
  const CompiledVocabulary v = Sample();
  const CheckResult r = CheckVocabularyBytes(VocabularyFileBytes(v), TestKeyMap());
  EXPECT_TRUE(r.Passed()) << (r.problems.empty() ? "" : r.problems[0]);
  ASSERT_EQ(r.entries.size(), v.entries.size());
  for (size_t i = 0; i < v.entries.size(); ++i) {
    EXPECT_EQ(r.entries[i].word, v.entries[i].word) << i;
    EXPECT_EQ(r.entries[i].frequency, v.entries[i].frequency) << i;
  }
  EXPECT_EQ(r.longestWord, 6u);
  EXPECT_EQ(r.pairCount, v.pairs.size());
}

TEST(VocCheckTest, EmptyVocabularyIsTwelveZeroBytes) {
  const CheckResult r = CheckVocabularyBytes(std::string(12, '\0'), TestKeyMap());
  EXPECT_TRUE(r.Passed());
  EXPECT_EQ(r.entryCount, 0u);
}

TEST(VocCheckTest, EveryCutOfTheFileIsReportedWithoutOverrun) {
  const std::string bytes = VocabularyFileBytes(Sample());
  const KeyMap map = TestKeyMap();
  for (size_t n = 0; n < bytes.size(); ++n) {
    const CheckResult r = CheckVocabularyBytes(std::string_view(bytes).substr(0, n), map);
    EXPECT_FALSE(r.Passed()) << "cut at " << n;
  }
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(bytes + "x", TestKeyMap()), "follow the letter-pair records"));
}

TEST(VocCheckTest, OrderAndStoredFormsMustBeExactlyTheFrontCoding) {
  // "ab" then "aa": out of order.
  EXPECT_TRUE(HasProblem(
      CheckVocabularyBytes(RawFile({{0, 1, 2}, {2, 1, 2}}, Codes({0x10, 0x11, 0x10, 0x10})), TestKeyMap()),
      "not after"));
  // The same word twice.
  EXPECT_TRUE(HasProblem(
      CheckVocabularyBytes(RawFile({{0, 1, 2}, {2, 1, 2}}, Codes({0x10, 0x11, 0x10, 0x11})), TestKeyMap()),
      "not after"));
  // "abc" then "abd" stored whole although they share two codes.
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 3}, {3, 1, 3}}, Codes({0x10, 0x11, 0x12, 0x10, 0x11, 0x13})),
                                              TestKeyMap()),
                         "not the front coding"));
  // A marker with p = 1, which reading accepts but the compiler never writes.
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 2}, {2, 1, 2}}, Codes({0x10, 0x11, 3, 0x12})), TestKeyMap()),
                         "marker"));
  // The first entry front-coded, and a first code left with odd low bits (0x11 must be 0x12).
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 2}}, Codes({5, 0x10})), TestKeyMap()), "first entry"));
  EXPECT_FALSE(CheckVocabularyBytes(RawFile({{0, 1, 2}}, Codes({0x11, 0x10})), TestKeyMap()).Passed());
  // Offsets that skip pool bytes, and pool bytes that no entry uses.
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{1, 1, 1}}, Codes({0x10, 0x10})), TestKeyMap()), "offset"));
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, Codes({0x10, 0x10})), TestKeyMap()), "belong to no entry"));
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 0}}, Codes({0x10})), TestKeyMap()), "length 0"));
}

TEST(VocCheckTest, LettersMustDecodeAndLieOnALetterKey) {
  // 0x4A: charset 3 has two letters. 0xD0: '#', a letter of no key. 0xF0: '.', only on key 1.
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, Codes({0x4A})), TestKeyMap()), "names no letter"));
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, Codes({0xD0})), TestKeyMap()), "no letter key"));
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, Codes({0xF0})), TestKeyMap()), "no letter key"));
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, Codes({0x60})), TestKeyMap()), "names no letter"));
}

TEST(VocCheckTest, LetterPairRecordsOnePerFormableKey) {
  const std::string pool = Codes({0x10});
  const std::string good = Codes({0x11, 0x10, 0x12, 0, 0, 0, 9, 0, 0, 0, 1, 0});
  EXPECT_TRUE(CheckVocabularyBytes(RawFile({{0, 1, 1}}, pool, good, 1), TestKeyMap()).Passed());
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, pool, good + good, 2), TestKeyMap()), "second record"));
  // 0x1080 cannot be formed: with a last letter of 0x80 the high byte is always 0xFF.
  const std::string unformable = Codes({0x80, 0x10, 0x12, 0, 0, 0, 9, 0, 0, 0, 1, 0});
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, pool, unformable, 1), TestKeyMap()), "no pair"));
  const std::string signFilled = Codes({0x80, 0xFF, 0x12, 0, 0, 0, 9, 0, 0, 0, 1, 0});
  EXPECT_TRUE(CheckVocabularyBytes(RawFile({{0, 1, 1}}, pool, signFilled, 1), TestKeyMap()).Passed());
  const std::string tooMany = Codes({0x11, 0x10, 0x12, 0, 0, 0, 9, 0, 0, 0, 5, 0});
  EXPECT_TRUE(HasProblem(CheckVocabularyBytes(RawFile({{0, 1, 1}}, pool, tooMany, 1), TestKeyMap()), "count 5"));
  const std::string badNext = Codes({0x11, 0x10, 0x4F, 0, 0, 0, -3, 0, 0, 0, 1, 0});
  const CheckResult r = CheckVocabularyBytes(RawFile({{0, 1, 1}}, pool, badNext, 1), TestKeyMap());
  EXPECT_TRUE(HasProblem(r, "names no letter"));
  EXPECT_TRUE(HasProblem(r, "negative weight"));
}

}  // namespace
}  // namespace tessaline::vocbuild
