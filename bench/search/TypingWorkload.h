// The workload of the search benchmark: the words of a text as a person types them on the
// keypad (first key of each letter), and the vocabulary as a flat word list for the peers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Language.h"

namespace tessaline::bench {

struct TypedWord {
  std::vector<int8_t> keys;
};

// One vocabulary entry as the peers store it.
struct WordRecord {
  std::string keys;  // key identifiers, one byte per letter
  std::string utf8;  // the word as text
  uint32_t index;    // entry index (the tie-break of equal scores)
  uint8_t frequency;
  uint8_t length;
};

struct Workload {
  std::unique_ptr<Language> language;
  std::vector<TypedWord> words;     // the text, word by word
  std::vector<WordRecord> records;  // every vocabulary entry
  size_t keyPresses = 0;
};

// Loads the language (no user dictionary) and the text; words with a letter the key map cannot
// type are left out. maxWords limits the text (0: all of it).
Workload LoadWorkload(const std::string& chrPath, const std::string& textPath, size_t maxWords);

std::string DefaultChrPath();
std::string DefaultTextPath();

}  // namespace tessaline::bench
