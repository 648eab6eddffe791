// Finding the vocabulary entries that a key sequence can stand for.
//
// An entry matches keys k0..k(n-1) when its word has at least n letters and its letter at each
// position i < n is one of the letter codes of key ki. The vocabulary is sorted, so the entries
// sharing a prefix form a contiguous range; the search narrows ranges position by position and
// yields the matches as ranges of entry indices, ordered by the position of the first letter's
// code on key 0, then of the second letter's code on key 1, and so on, and by entry index within
// a range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tessaline {

class Vocabulary;
class KeyMap;

struct EntryRange {
  uint32_t first;  // inclusive
  uint32_t last;   // inclusive
};

// The matching ranges, in match order. With no keys, or a key that has no key entry or no
// letters, the result is empty.
void SearchKeyRanges(const Vocabulary& vocabulary, const KeyMap& keyMap, const int8_t* keys,
                     size_t count, std::vector<EntryRange>& ranges);

// The keys that type a word: for each letter the first key of the key map that carries it.
// False when a letter is on no key (keys is then incomplete).
bool KeysOfWord(const KeyMap& keyMap, std::string_view codes, std::vector<int8_t>& keys);

// The matching entry indices, in match order.
std::vector<uint32_t> SearchKeys(const Vocabulary& vocabulary, const KeyMap& keyMap,
                                 const int8_t* keys, size_t count);

}  // namespace tessaline
