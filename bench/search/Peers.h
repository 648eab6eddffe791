// Two peers of the word search, built on the same word list and ranked the same way (frequency,
// plus 127 for a word of exactly the typed length; with one key only one-letter words; equal
// scores in vocabulary order; at most seven):
//  - a table of (key sequence, word, frequency) in SQLite, queried by key-sequence prefix, as
//    some phone-keypad input methods store their dictionaries;
//  - a predictive search keyed by key sequence in a marisa-trie.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "TypingWorkload.h"

struct sqlite3;
struct sqlite3_stmt;

namespace marisa {
class Trie;
}

namespace tessaline::bench {

class SqlitePeer {
 public:
  explicit SqlitePeer(const std::vector<WordRecord>& records);
  ~SqlitePeer();
  void Lookup(const std::vector<int8_t>& keys, size_t n, std::vector<std::string>& words);
  size_t MemoryBytes() const;

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* query_ = nullptr;
  size_t memory_ = 0;
};

class MarisaPeer {
 public:
  explicit MarisaPeer(const std::vector<WordRecord>& records);
  ~MarisaPeer();
  void Lookup(const std::vector<int8_t>& keys, size_t n, std::vector<std::string>& words);
  size_t MemoryBytes() const;

 private:
  std::unique_ptr<marisa::Trie> trie_;
  std::vector<uint8_t> frequency_;  // by key id
  std::vector<uint8_t> length_;
  std::vector<uint32_t> index_;
};

}  // namespace tessaline::bench
