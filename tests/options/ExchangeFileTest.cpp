// The exchange file below the Dictionary page: words written and read back whatever the machine's
// code page, lines from other programs, pieces of long lines, and imports of files no person
// would write, which must end within the 512-word limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EngineFiles.h"
#include "engine/Language.h"
#include "options/ExchangeFile.h"
#include "options/WordImport.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

class ExchangeFileTest : public ::testing::Test {
 protected:
  ExchangeFileTest() : root_(dir_.Path()) {
    dir_.Write("L/Test.chr", testing::kTestLanguage);
    dir_.Write("L/Test.voc", testing::VocFile({{testing::Codes("the"), 100}}));
  }
  FILE* Open(const std::string& bytes) {
    return std::fopen(dir_.Write("w.txt", bytes).c_str(), "rb");
  }
  std::vector<std::pair<std::string, size_t>> Pieces(const std::string& bytes) {
    FILE* file = Open(bytes);
    ExchangePieceReader reader(file);
    std::vector<std::pair<std::string, size_t>> pieces;
    for (std::string piece; reader.Next(piece);) pieces.emplace_back(piece, reader.Line());
    std::fclose(file);
    return pieces;
  }
  ImportResult Import(const std::vector<WideString>& listed, const std::string& bytes) {
    Language language("\\L\\Test.chr", u"Test", false, true, 20, 4);
    FILE* file = Open(bytes);
    seen_.clear();
    ImportResult result = ImportUserWords(language, listed, file,
                                          [this](const ImportedWord& w) { seen_.push_back(w); });
    std::fclose(file);
    return result;
  }

  testing::TempDir dir_;
  testing::DeviceRootScope root_;
  std::vector<ImportedWord> seen_;
};

TEST_F(ExchangeFileTest, EveryWordALanguageCanHoldComesBackAsItWent) {
  const std::vector<WideString> words = {u"\x017A\x0064\x017A\x0062\x0142o",  // źdźbło
                                         u"\x0159\x0065\x0159icha",           // řeřicha
                                         u"\xD834\xDD1E", u"\xD800x",
                                         u"x\xDC00"};  // beyond 16 bits, lone surrogates
  ASSERT_TRUE(WriteExchangeFile("\\w.txt", words));
  const std::string bytes = testing::ReadBytes(dir_.File("w.txt"));
  EXPECT_EQ(bytes.substr(0, 11),
            "\xC5\xBA"
            "d\xC5\xBA"
            "b\xC5\x82o\r\n");
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  std::vector<WideString> back;
  for (const auto& [piece, line] : Pieces(bytes)) back.push_back(ExchangeWordOfPiece(piece));
  EXPECT_EQ(back, words);
}

TEST_F(ExchangeFileTest, LinesThatAreNotUtf8AreReadInTheAnsiCodePage) {
  EXPECT_EQ(DecodeExchangeText("caf\xE9"), AnsiToWide("caf\xE9"));
  EXPECT_EQ(DecodeExchangeText("\xC0\xAF"), AnsiToWide("\xC0\xAF"));  // overlong
  EXPECT_EQ(DecodeExchangeText("a\x80"), AnsiToWide("a\x80"));        // stray continuation
#ifndef _WIN32
  EXPECT_EQ(DecodeExchangeText("\x8A\xE9"), u"\x0160\x00E9");  // the native host's Windows-1252
#endif
  EXPECT_EQ(ExchangeWordOfPiece(std::string(" Hel\0lo\t\r\n", 10)), u"hello");
  EXPECT_EQ(ExchangeWordOfPiece("\xC5\x81\xC3\x93"
                                "D\xC5\xB9"),
            u"\x0142\x00F3"
            u"d\x017A");
}

TEST_F(ExchangeFileTest, LinesAreReadInPiecesOfAtMost255Bytes) {
  const auto pieces =
      Pieces("ab\r\n" + std::string(600, 'x') + "\n" + std::string(255, 'y') + "\nlast");
  ASSERT_EQ(pieces.size(), 7u);
  EXPECT_EQ(pieces[0], std::make_pair(std::string("ab\r\n"), size_t{1}));
  EXPECT_EQ(pieces[1], std::make_pair(std::string(255, 'x'), size_t{2}));
  EXPECT_EQ(pieces[3], std::make_pair(std::string(90, 'x') + "\n", size_t{2}));
  EXPECT_EQ(pieces[5], std::make_pair(std::string("\n"), size_t{3}));
  EXPECT_EQ(pieces[6], std::make_pair(std::string("last"), size_t{4}));
}

TEST_F(ExchangeFileTest, EachWordOfferedIsReportedWithWhyItWasDropped) {
  // A UTF-8 byte-order mark before the first line is passed over.
  const ImportResult result = Import({u"zebra", u"the", WideString(300, u'a')},
                                     "\xEF\xBB\xBFHello\r\nZEBRA\r\nna\xC3\xAFve\r\n\r\nend");
  EXPECT_EQ(result.words, (std::vector<WideString>{u"zebra", u"hello", u"end"}));
  std::vector<std::pair<size_t, ImportOutcome>> outcomes;
  for (const ImportedWord& w : seen_) outcomes.emplace_back(w.line, w.outcome);
  using enum ImportOutcome;
  EXPECT_EQ(outcomes, (std::vector<std::pair<size_t, ImportOutcome>>{{0, kAccepted},
                                                                     {0, kKnownWord},
                                                                     {0, kTooLong},
                                                                     {1, kAccepted},
                                                                     {2, kAlreadyListed},
                                                                     {3, kNotInLanguage},
                                                                     {5, kAccepted}}));
}

TEST_F(ExchangeFileTest, LongLinesBinaryBytesAndBrokenSequencesEndWithinTheLimit) {
  // A 10 MB line of letters: every 255-byte piece is a new word, and reading stops at 512.
  std::string line;
  uint32_t state = 12345;
  while (line.size() < (10u << 20)) {
    state = state * 1103515245 + 12345;
    line += static_cast<char>('a' + (state >> 16) % 26);
  }
  ImportResult result = Import({}, line + "\n");
  EXPECT_EQ(result.words.size(), 512u);
  EXPECT_TRUE(result.stoppedAtLimit);

  // Random bytes and cut UTF-8 sequences: the file is read to its end, nothing empty is offered.
  std::string noise;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245 + 12345;
    noise += static_cast<char>(state >> 24);
  }
  result = Import({}, noise + "\xC3\n\xE2\x82\n\xF0\x9F\x98\nabc\n");
  ASSERT_FALSE(seen_.empty());
  for (const ImportedWord& w : seen_) EXPECT_FALSE(w.word.empty());
  EXPECT_EQ(seen_.back().word, u"abc");
}

}  // namespace
}  // namespace tessaline
