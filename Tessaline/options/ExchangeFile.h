// The exchange file of the Dictionary page: a plain text file of user words, one word a line,
// each line (the last one too) ended by CR LF, no header and no byte-order mark.
//
// Words are written in UTF-8, so that every word any language can hold survives the trip to the
// file and back, whatever the ANSI code page of the machine (a Windows-1252 machine cannot hold
// Cyrillic, Polish or Czech letters). A lone surrogate, which UTF-8 proper cannot carry, is
// written as its own three-byte form (as WTF-8 does), so that not even such a word is ever
// written as "?".
//
// Reading takes each line as UTF-8 when its bytes are well-formed UTF-8 (the three-byte forms of
// surrogates included) and in the ANSI code page otherwise, so that word lists written in the
// ANSI code page by another program still import.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

// Import reads a line in pieces of at most this many bytes; each piece counts as a line.
constexpr size_t kExchangePieceBytes = 255;

// "<folder>\Tessaline_<first three characters of the language name>.txt" (the whole name when
// it is shorter), so languages whose names begin alike share one file.
WideString ExchangeFilePath(WideView documentsFolder, WideView languageName);

// A word as the file holds it (without the line end).
std::string EncodeExchangeWord(WideView word);
// The whole file for the words, in the order given.
std::string ExchangeFileBytes(const std::vector<WideString>& words);

// Writes the file (a device path) for the words: the content goes to "<path>.tmp" beside it,
// which replaces an earlier file only once it is complete and flushed, so a failed export
// leaves an earlier file as it was. False when anything failed.
bool WriteExchangeFile(const std::string& path, const std::vector<WideString>& words);

// Bytes of a line as text: UTF-8 when well-formed, else the ANSI code page.
WideString DecodeExchangeText(std::string_view bytes);

// A piece of a line as an imported word: every byte below 33 (control characters, CR, LF and
// space) removed wherever it stands, the rest decoded and lowered. Empty when nothing remains.
WideString ExchangeWordOfPiece(std::string_view piece);

// Reads an open file in the pieces Import takes: at most kExchangePieceBytes bytes up to and
// including the next line feed. Zero bytes are data like any other. Reads ahead in blocks of
// its own, so a line of any length costs no more memory than a block.
class ExchangePieceReader {
 public:
  explicit ExchangePieceReader(FILE* file) : file_(file) {}
  // The next piece; false at the end of the file (or on a read error).
  bool Next(std::string& piece);
  // 1-based number of the line the last piece came from.
  size_t Line() const { return line_; }

 private:
  bool Fill();

  FILE* file_;
  std::string block_;
  size_t at_ = 0;
  size_t line_ = 0;
  bool lineEnded_ = true;
};

}  // namespace tessaline
