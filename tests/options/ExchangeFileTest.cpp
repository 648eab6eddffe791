// The exchange file: its name, the bytes Export writes, and how Import reads lines back, including
// files that another program wrote in the ANSI code page.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "options/ExchangeFile.h"
#include "support/TestFiles.h"
#include "system/DataFiles.h"

namespace tessaline {
namespace {

std::vector<std::pair<std::string, size_t>> Pieces(const std::string& bytes) {
  testing::TempDir dir;
  const std::string path = dir.Write("words.txt", bytes);
  FILE* file = std::fopen(path.c_str(), "rb");
  std::vector<std::pair<std::string, size_t>> pieces;
  ExchangePieceReader reader(file);
  std::string piece;
  while (reader.Next(piece)) pieces.emplace_back(piece, reader.Line());
  std::fclose(file);
  return pieces;
}

TEST(ExchangeFileTest, NamedAfterTheFirstThreeCharactersOfTheLanguage) {
  EXPECT_EQ(ExchangeFilePath(u"\\My Documents", u"English"), u"\\My Documents\\Tessaline_Eng.txt");
  EXPECT_EQ(ExchangeFilePath(u"\\Docs", u"Es"), u"\\Docs\\Tessaline_Es.txt");
  EXPECT_EQ(ExchangeFilePath(u"\\Docs", u"Portuguese"), ExchangeFilePath(u"\\Docs", u"Portugal"));
  // A character of two units is not cut in half.
  EXPECT_EQ(ExchangeFilePath(u"", u"ab\xD834\xDD1Ez"), u"\\Tessaline_ab\xD834\xDD1E.txt");
}

TEST(ExchangeFileTest, EveryWordALanguageCanHoldComesBackAsItWent) {
  const std::vector<WideString> words = {u"hello",
                                         u"\x0441\x043B\x043E\x0432\x043E",   // слово
                                         u"\x017A\x0064\x017A\x0062\x0142o",  // źdźbło
                                         u"\x0159\x0065\x0159icha",           // řeřicha
                                         u"caf\x00E9",
                                         u"\xD834\xDD1E",  // a character beyond 16 bits
                                         u"\xD800x",
                                         u"x\xDC00"};  // lone surrogates
  testing::TempDir dir;
  testing::DeviceRootScope root(dir.Path());
  ASSERT_TRUE(WriteExchangeFile("\\words.txt", words));
  const std::string bytes = testing::ReadBytes(dir.File("words.txt"));
  EXPECT_EQ(bytes.substr(0, 7), "hello\r\n");
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  EXPECT_EQ(bytes, ExchangeFileBytes(words));

  std::vector<WideString> back;
  for (const auto& [piece, line] : Pieces(bytes)) back.push_back(ExchangeWordOfPiece(piece));
  EXPECT_EQ(back, words);
  EXPECT_FALSE(std::filesystem::exists(dir.File("words.txt.tmp")));
}

TEST(ExchangeFileTest, AnEmptyListIsAnEmptyFileThatReplacesTheOldOne) {
  testing::TempDir dir;
  testing::DeviceRootScope root(dir.Path());
  dir.Write("words.txt", "old\r\n");
  ASSERT_TRUE(WriteExchangeFile("\\words.txt", {}));
  EXPECT_EQ(testing::ReadBytes(dir.File("words.txt")), "");
  // A folder that does not exist: nothing written, and said so.
  EXPECT_FALSE(WriteExchangeFile("\\no such folder\\words.txt", {u"a"}));
}

TEST(ExchangeFileTest, LinesThatAreNotUtf8AreReadInTheAnsiCodePage) {
  // Windows-1252 bytes as an older export or a desktop editor writes them.
  EXPECT_EQ(DecodeExchangeText("caf\xE9"), AnsiToWide("caf\xE9"));
  EXPECT_EQ(DecodeExchangeText("\xC3\xA9t\xC3\xA9"), u"\x00E9t\x00E9");
  // Overlong forms and stray continuation bytes are not UTF-8.
  EXPECT_EQ(DecodeExchangeText("\xC0\xAF"), AnsiToWide("\xC0\xAF"));
  EXPECT_EQ(DecodeExchangeText("a\x80"), AnsiToWide("a\x80"));
  EXPECT_EQ(DecodeExchangeText("\xED\xA0\x80"), WideString(1, char16_t{0xD800}));
#ifndef _WIN32
  EXPECT_EQ(DecodeExchangeText("\x8A\xE9"), u"\x0160\x00E9");  // the native host's Windows-1252
#endif
}

TEST(ExchangeFileTest, APieceLosesEveryByteBelow33AndIsLowered) {
  EXPECT_EQ(ExchangeWordOfPiece(" Hel lo\t\r\n"), u"hello");
  EXPECT_EQ(ExchangeWordOfPiece(std::string("a\0b", 3)), u"ab");
  EXPECT_EQ(ExchangeWordOfPiece("\x01\x1F \r\n"), u"");
  EXPECT_EQ(ExchangeWordOfPiece("\xC5\x81\xC3\x93"
                                "D\xC5\xB9"),
            u"\x0142\x00F3"
            u"d\x017A");
  EXPECT_EQ(ExchangeWordOfPiece("\xD0\x9C\xD0\x98\xD0\xA0"), u"\x043C\x0438\x0440");  // МИР
}

TEST(ExchangeFileTest, LinesAreReadInPiecesOfAtMost255Bytes) {
  const std::string longLine(600, 'x');
  const auto pieces = Pieces("ab\r\n" + longLine + "\n" + std::string(255, 'y') + "\nlast");
  ASSERT_EQ(pieces.size(), 7u);
  EXPECT_EQ(pieces[0], std::make_pair(std::string("ab\r\n"), size_t{1}));
  EXPECT_EQ(pieces[1], std::make_pair(std::string(255, 'x'), size_t{2}));
  EXPECT_EQ(pieces[2].second, 2u);
  EXPECT_EQ(pieces[3], std::make_pair(std::string(90, 'x') + "\n", size_t{2}));
  EXPECT_EQ(pieces[4], std::make_pair(std::string(255, 'y'), size_t{3}));
  EXPECT_EQ(pieces[5], std::make_pair(std::string("\n"), size_t{3}));
  EXPECT_EQ(pieces[6], std::make_pair(std::string("last"), size_t{4}));
  EXPECT_TRUE(Pieces("").empty());
}

}  // namespace
}  // namespace tessaline
