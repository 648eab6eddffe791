// Checks a vocabulary file against its key map: layout and sizes, entry order, the stored form of
// every entry (exactly the front coding the compiler writes), the letters (each decodes through
// the key map, encodes back to itself and lies on a letter key) and the letter-pair records (one
// per key, a key the word search can form, at most four letters, weights 0 to 127). A file that
// passes is then read with the engine's own reader, which must load it whole, decode every entry
// to the same word and frequency, find each word at its index and write the same bytes back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "languages/KeyMap.h"

namespace tessaline::vocbuild {

struct CheckedEntry {
  LetterCodes word;
  uint8_t frequency = 0;
};

struct CheckResult {
  std::vector<std::string> problems;  // empty when the file passed
  size_t problemCount = 0;            // all problems, also those beyond the first listed
  size_t entryCount = 0;
  size_t poolBytes = 0;
  size_t pairCount = 0;
  size_t longestWord = 0;
  uint32_t frequencyHistogram[8] = {};  // frequencies 0-15, 16-31, ..., 112-127
  std::vector<CheckedEntry> entries;    // the words, read in file order
  bool Passed() const { return problemCount == 0; }
};

CheckResult CheckVocabularyBytes(std::string_view bytes, const KeyMap& map);

}  // namespace tessaline::vocbuild
