// Import of an exchange file against a language loaded without its user dictionary: what is
// accepted, what is dropped and why, the 512-word limit, and files no person would write.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "EngineFiles.h"
#include "engine/Language.h"
#include "options/WordImport.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

using testing::Codes;

class WordImportTest : public ::testing::Test {
 protected:
  WordImportTest() : root_(dir_.Path()) {
    dir_.Write("L/Test.chr", testing::kTestLanguage);
    dir_.Write("L/Test.voc", testing::VocFile({{Codes("cat"), 40}, {Codes("the"), 100}}));
  }

  ImportResult Import(const std::vector<WideString>& listed, const std::string& file) {
    Language language("\\L\\Test.chr", u"Test", false, true, 20, 4);
    const std::string path = dir_.Write("words.txt", file);
    FILE* in = std::fopen(path.c_str(), "rb");
    seen_.clear();
    ImportResult result = ImportUserWords(language, listed, in,
                                          [this](const ImportedWord& w) { seen_.push_back(w); });
    std::fclose(in);
    return result;
  }

  testing::TempDir dir_;
  testing::DeviceRootScope root_;
  std::vector<ImportedWord> seen_;
};

TEST_F(WordImportTest, ListedWordsFirstThenTheLinesCleanedAndLowered) {
  const ImportResult result =
      Import({u"zebra", u"cat", u"zebra"},
             "Hello\r\nwor ld\r\nZEBRA\r\nthe\r\nhello\r\nna\xC3\xAFve\r\n\r\n   \r\nend");
  EXPECT_TRUE(result.imported);
  EXPECT_FALSE(result.stoppedAtLimit);
  EXPECT_EQ(result.words, (std::vector<WideString>{u"zebra", u"hello", u"world", u"end"}));

  std::vector<std::pair<size_t, ImportOutcome>> outcomes;
  for (const ImportedWord& w : seen_) outcomes.emplace_back(w.line, w.outcome);
  using enum ImportOutcome;
  EXPECT_EQ(outcomes, (std::vector<std::pair<size_t, ImportOutcome>>{
                          {0, kAccepted},       // zebra
                          {0, kKnownWord},      // cat
                          {0, kAlreadyListed},  // zebra again
                          {1, kAccepted},       // hello
                          {2, kAccepted},       // world, its space removed
                          {3, kAlreadyListed},  // zebra, lowered
                          {4, kKnownWord},      // the
                          {5, kAlreadyListed},  // hello
                          {6, kNotInLanguage},  // naïve: no ï among the letters
                          {9, kAccepted}}));    // end; the blank lines offer nothing
}

TEST_F(WordImportTest, TheLimitCountsListedWordsAndStopsReading) {
  std::vector<WideString> listed;
  for (int i = 0; i < 510; ++i) {
    listed.push_back(u"w" + WideString(1, u'a' + i % 26) + WideString(1, u'a' + i / 26));
  }
  ImportResult result = Import(listed, "one\r\ncat\r\ntwo\r\nthree\r\nfour\r\n");
  ASSERT_EQ(result.words.size(), 512u);
  EXPECT_EQ(result.words[510], u"one");
  EXPECT_EQ(result.words[511], u"two");
  EXPECT_TRUE(result.stoppedAtLimit);
  EXPECT_EQ(seen_.back().word, u"two");  // "three" was never read

  // Exactly at the limit with nothing left to read is not a stop.
  result = Import(listed, "one\r\ntwo\r\n");
  EXPECT_EQ(result.words.size(), 512u);
  EXPECT_FALSE(result.stoppedAtLimit);
}

TEST_F(WordImportTest, ALanguageWithoutKeysLeavesTheListAsItWas) {
  dir_.Write("L/Test.chr", "charset=0,0x61,0x62\n");
  const ImportResult result = Import({u"ba", u"ba"}, "ab\r\n");
  EXPECT_FALSE(result.imported);
  EXPECT_EQ(result.words, (std::vector<WideString>{u"ba", u"ba"}));
  EXPECT_TRUE(seen_.empty());
}

TEST_F(WordImportTest, LongLinesBinaryBytesAndBrokenSequencesEndWithinTheLimit) {
  // A 10 MB line of letters: every 255-byte piece is a different word, and reading stops at 512.
  std::string line;
  line.reserve(10 << 20);
  uint32_t state = 12345;
  while (line.size() < (10u << 20)) {
    state = state * 1103515245 + 12345;
    line += static_cast<char>('a' + (state >> 16) % 26);
  }
  ImportResult result = Import({}, line + "\n");
  EXPECT_EQ(result.words.size(), 512u);
  EXPECT_TRUE(result.stoppedAtLimit);
  EXPECT_EQ(result.words[0].size(), 255u);

  // Random bytes, zero bytes and cut UTF-8 sequences: whatever remains of a piece is offered,
  // nothing is read twice, and the file is read to its end.
  std::string noise;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245 + 12345;
    noise += static_cast<char>(state >> 24);
  }
  noise += "\xC3\n\xE2\x82\n\xF0\x9F\x98\nabc\n";
  result = Import({}, noise);
  EXPECT_LE(result.words.size(), 512u);
  ASSERT_FALSE(seen_.empty());
  for (const ImportedWord& w : seen_) {
    EXPECT_LE(w.word.size(), 255u);
    EXPECT_FALSE(w.word.empty());
  }
  EXPECT_EQ(seen_.back().word, u"abc");
}

TEST_F(WordImportTest, AListedWordTooLongForTheFileIsDropped) {
  const ImportResult result = Import({WideString(300, u'a'), WideString(255, u'b')}, "");
  EXPECT_EQ(result.words, std::vector<WideString>{WideString(255, u'b')});
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_EQ(seen_[0].outcome, ImportOutcome::kTooLong);
}

}  // namespace
}  // namespace tessaline
