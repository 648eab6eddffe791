// Languages made on the fly for the search tests: a language file, and a vocabulary file built
// from (word, frequency) pairs and letter-pair records the way a vocabulary compiler would.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/Language.h"
#include "support/TestFiles.h"

namespace tessaline::testing {

struct PairSpec {
  uint16_t key;
  std::vector<std::pair<uint8_t, int8_t>> alternatives;  // letter code, weight
};

class TestLanguage {
 public:
  // chr: the language file's text. words: UTF-8 words with their frequencies.
  TestLanguage(const std::string& chr, const std::vector<std::pair<std::string, int>>& words,
               const std::vector<PairSpec>& pairs = {});

  Language& Get() { return *language_; }
  LetterCodes Codes(const std::string& utf8) const;

 private:
  TempDir dir_;
  std::unique_ptr<Language> language_;
};

// A telephone keypad over the 26 ASCII lower-case letters: keys 2-9 as on a phone, and key 1
// holding "." and "'".
extern const char* const kPhoneKeypad;

}  // namespace tessaline::testing
