// Vocabulary and user dictionary files written byte by byte, the way another program that
// follows the file formats would write them, and a small language to read them with.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "system/WideText.h"

namespace tessaline::testing {

// Letters a-h are charset 0 (codes 0x10-0x17), i-p charset 1 (0x20-0x27), q-x charset 2
// (0x30-0x37), y-z charset 3 (0x40-0x41); keys 2-9 carry them three or four at a time.
extern const char* const kTestLanguage;

// The letter codes of a word of lower-case a-z (no check).
std::string Codes(const std::string& ascii);

inline void PutU32(std::string& out, uint32_t v) {
  for (int s = 0; s < 32; s += 8) out += static_cast<char>((v >> s) & 0xFF);
}
inline void PutU16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

struct VocWord {
  std::string codes;
  int frequency;
};
struct PairBytes {
  uint16_t key;
  std::vector<std::pair<uint8_t, int8_t>> next;  // letter, weight
  int8_t count;                                  // as written
};

// A .voc of the words (which must be sorted) and letter-pair records.
std::string VocFile(const std::vector<VocWord>& words, const std::vector<PairBytes>& pairs = {});

// Parts of a .usr.
void PutUsrWord(std::string& out, const std::u16string& word);
void PutUsrRecord(std::string& out, const std::u16string& word, int32_t entry, int16_t count,
                  uint16_t base);

}  // namespace tessaline::testing
