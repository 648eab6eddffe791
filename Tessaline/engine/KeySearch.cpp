#include "engine/KeySearch.h"

#include <algorithm>

#include "engine/Vocabulary.h"
#include "languages/KeyMap.h"

namespace tessaline {
namespace {

struct Searcher {
  const Vocabulary& vocabulary;
  const KeyEntry* const* keyEntries;
  size_t count;
  std::vector<EntryRange>& out;

  uint8_t Letter(uint32_t index, uint32_t depth) const {
    return vocabulary.LetterAt(index, depth);
  }

  // The first letters are read from the runs of entries that share them (far fewer than the
  // entries), so the widest ranges of the search are narrowed without decoding a word.
  bool SubRangeOfRuns(uint32_t lo, uint32_t hi, uint32_t depth, uint8_t code,
                      EntryRange& found) const {
    const size_t runs = vocabulary.RunCount(depth);
    auto runOf = [&](uint32_t entry) {  // the run holding the entry
      size_t low = 0, high = runs;      // RunStart(low) <= entry < RunStart(high)
      while (low + 1 < high) {
        const size_t mid = low + (high - low) / 2;
        (vocabulary.RunStart(depth, mid) <= entry ? low : high) = mid;
      }
      return low;
    };
    const size_t first = runOf(lo), last = runOf(hi) + 1;  // runs [first, last)
    size_t low = first, high = last;  // first run whose letter is not below the code
    while (low < high) {
      const size_t mid = low + (high - low) / 2;
      if (vocabulary.RunLetter(depth, mid) < code) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
    if (low == last || vocabulary.RunLetter(depth, low) != code) return false;
    size_t end = low + 1;  // first run past the code
    high = last;
    while (end < high) {
      const size_t mid = end + (high - end) / 2;
      if (vocabulary.RunLetter(depth, mid) == code) {
        end = mid + 1;
      } else {
        high = mid;
      }
    }
    found = {std::max(lo, vocabulary.RunStart(depth, low)),
             std::min(hi, vocabulary.RunStart(depth, end) - 1)};
    return true;
  }

  // The entries of [lo, hi] (all sharing their first `depth` letters) whose letter at `depth`
  // is `code`. Returns false when there are none.
  bool SubRange(uint32_t lo, uint32_t hi, uint32_t depth, uint8_t code, EntryRange& found) const {
    if (depth < Vocabulary::kRunDepths) return SubRangeOfRuns(lo, hi, depth, code, found);
    // The prefix itself, and nothing else shorter than depth + 1 letters, sorts first.
    uint32_t s = lo;
    while (s <= hi && vocabulary.EntryLength(s) <= depth) {
      if (s == hi) return false;
      ++s;
    }
    if (s == hi) {
      if (Letter(hi, depth) != code) return false;
      found = {hi, hi};
      return true;
    }
    uint32_t member;
    const uint8_t first = Letter(s, depth);
    if (first > code) return false;
    if (first == code) {
      member = s;
    } else {
      const uint8_t last = Letter(hi, depth);
      if (last < code) return false;
      if (last == code) {
        member = hi;
      } else {
        uint32_t low = s, high = hi;  // Letter(low) < code < Letter(high)
        for (;;) {
          if (low + 1 >= high) return false;
          const uint32_t mid = low + (high - low) / 2;
          const uint8_t letter = Letter(mid, depth);
          if (letter < code) {
            low = mid;
          } else if (letter > code) {
            high = mid;
          } else {
            member = mid;
            break;
          }
        }
      }
    }
    // First entry with the code in [s, member]: Letter(low) < code, Letter(high) == code.
    uint32_t begin = member;
    if (begin > s && Letter(s, depth) == code) {
      begin = s;
    } else if (begin > s) {
      uint32_t low = s, high = member;
      while (low + 1 < high) {
        const uint32_t mid = low + (high - low) / 2;
        (Letter(mid, depth) < code ? low : high) = mid;
      }
      begin = high;
    }
    // Last entry with the code in [member, hi].
    uint32_t end = member;
    if (end < hi && Letter(hi, depth) == code) {
      end = hi;
    } else if (end < hi) {
      uint32_t low = member, high = hi;  // Letter(low) == code < Letter(high)
      while (low + 1 < high) {
        const uint32_t mid = low + (high - low) / 2;
        (Letter(mid, depth) == code ? low : high) = mid;
      }
      end = low;
    }
    found = {begin, end};
    return true;
  }

  void Narrow(uint32_t lo, uint32_t hi, uint32_t depth) const {
    const KeyEntry& key = *keyEntries[depth];
    for (int i = 0; i < key.count; ++i) {
      EntryRange range;
      if (!SubRange(lo, hi, depth, key.codes[i], range)) continue;
      if (depth + 1 == count) {
        out.push_back(range);
      } else {
        Narrow(range.first, range.last, depth + 1);
      }
    }
  }
};

}  // namespace

void SearchKeyRanges(const Vocabulary& vocabulary, const KeyMap& keyMap, const int8_t* keys,
                     size_t count, std::vector<EntryRange>& ranges) {
  ranges.clear();
  // No vocabulary word is longer than kMaxWordLength letters, so a longer sequence matches none.
  if (count == 0 || count > static_cast<size_t>(kMaxWordLength) || vocabulary.EntryCount() == 0) {
    return;
  }
  const KeyEntry* entries[kMaxWordLength];
  for (size_t i = 0; i < count; ++i) {
    entries[i] = keyMap.FindKey(keys[i]);
    if (!entries[i] || entries[i]->count == 0) return;
  }
  Searcher searcher{vocabulary, entries, count, ranges};
  searcher.Narrow(0, static_cast<uint32_t>(vocabulary.EntryCount() - 1), 0);
}

bool KeysOfWord(const KeyMap& keyMap, std::string_view codes, std::vector<int8_t>& keys) {
  keys.clear();
  for (char c : codes) {
    int found = -1;
    for (const KeyEntry& entry : keyMap.Keys()) {
      for (int i = 0; i < entry.count && found < 0; ++i) {
        if (entry.codes[i] == static_cast<uint8_t>(c)) found = entry.key;
      }
      if (found >= 0) break;
    }
    if (found < 0) return false;
    keys.push_back(static_cast<int8_t>(found));
  }
  return true;
}

std::vector<uint32_t> SearchKeys(const Vocabulary& vocabulary, const KeyMap& keyMap,
                                 const int8_t* keys, size_t count) {
  std::vector<EntryRange> ranges;
  SearchKeyRanges(vocabulary, keyMap, keys, count, ranges);
  std::vector<uint32_t> indices;
  for (const EntryRange& r : ranges) {
    for (uint32_t i = r.first; i <= r.last; ++i) indices.push_back(i);
  }
  return indices;
}

}  // namespace tessaline
