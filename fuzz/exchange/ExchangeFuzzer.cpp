// Arbitrary bytes as an exchange file: reading it in pieces never loses or invents a byte, no
// piece exceeds 255 bytes, every word read writes back to bytes that read as the same word, and
// the import against a small language stays within the 512-word limit.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Language.h"
#include "options/ExchangeFile.h"
#include "options/WordImport.h"

namespace {

std::string folder;

FILE* Open(const uint8_t* data, size_t size) {
  // fmemopen refuses an empty buffer; an empty file is a file of its own.
  static const char empty = 0;
  return size ? fmemopen(const_cast<uint8_t*>(data), size, "rb")
              : fmemopen(const_cast<char*>(&empty), 1, "r");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/tessaline-exchange-XXXXXX";
  folder = mkdtemp(pattern);
  FILE* chr = std::fopen((folder + "/Mini.chr").c_str(), "wb");
  std::fputs(
      "charset=0,0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\ncharset=1,0x69,0x6A,0x6B,0x6C,0x6D,"
      "0x6E,0x6F,0x70\ncharset=2,0x71,0x72,0x73,0x74,0x75,0x76,0x77,0x78\ncharset=3,0x79,0x7A,"
      "0xE9,0x0451\nchararray=2,0,1,2,3,4,5,6,7\nchararray=3,100,101,102,103,104,105,106,107\n"
      "chararray=4,200,201,202,203,204,205,206,207\nchararray=5,300,301,302,303\n",
      chr);
  std::fclose(chr);
  std::fclose(std::fopen((folder + "/Mini.voc").c_str(), "wb"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = Open(data, size);
  tessaline::ExchangePieceReader reader(file);
  std::string piece;
  size_t total = 0;
  while (reader.Next(piece)) {
    if (piece.size() > tessaline::kExchangePieceBytes) std::abort();
    if (piece.find('\n') != std::string::npos && piece.find('\n') != piece.size() - 1) std::abort();
    total += piece.size();
    const tessaline::WideString word = tessaline::ExchangeWordOfPiece(piece);
    if (tessaline::DecodeExchangeText(tessaline::EncodeExchangeWord(word)) != word) std::abort();
  }
  std::fclose(file);
  if (total != (size ? size : 1)) std::abort();

  file = Open(data, size);
  tessaline::Language language(folder + "/Mini.chr", u"Mini", false, true, 20, 4);
  const tessaline::ImportResult result = tessaline::ImportUserWords(language, {}, file);
  if (result.words.size() > tessaline::kMaxImportedWords) std::abort();
  std::fclose(file);
  return 0;
}
