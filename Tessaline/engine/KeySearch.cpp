#include "engine/KeySearch.h"

#include <algorithm>

#include "engine/Vocabulary.h"
#include "languages/KeyMap.h"

namespace tessaline {
namespace {

// Ranges of fewer entries than this are read whole at each position rather than bisected.
constexpr uint32_t kScanRange = 128;

struct Searcher {
  const Vocabulary& vocabulary;
  const PrefixTree& tree;
  const KeyEntry* const* keyEntries;
  size_t count;
  std::vector<EntryRange>& out;

  uint8_t Letter(uint32_t index, uint32_t depth) const { return vocabulary.LetterAt(index, depth); }

  // The entries of [lo, hi] (all sharing their first `depth` letters) whose letter at `depth`
  // is `code`. Returns false when there are none.
  bool SubRange(uint32_t lo, uint32_t hi, uint32_t depth, uint8_t code, EntryRange& found) const {
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

  // The entries [lo, hi] share the prefix of a tree node whose children at level `depth` are
  // the nodes [childBegin, childEnd): each code of the key picks at most one child, found among
  // the children's letters, and the child's entries run from its start to the next child's (the
  // last child's to `hi`). A child without children of its own covers few entries (or lies at
  // the tree's last level): the deeper keys bisect its range.
  void NarrowTree(uint32_t lo, uint32_t hi, uint32_t depth, uint32_t childBegin,
                  uint32_t childEnd) const {
    const PrefixTree::Level& level = tree.At(depth);
    const uint8_t* letters = level.letter.data();
    const KeyEntry& key = *keyEntries[depth];
    for (int i = 0; i < key.count; ++i) {
      const uint8_t code = key.codes[i];
      const uint8_t* at = std::lower_bound(letters + childBegin, letters + childEnd, code);
      if (at == letters + childEnd || *at != code) continue;
      const auto child = static_cast<uint32_t>(at - letters);
      const EntryRange range{lo + level.start[child],
                             child + 1 < childEnd ? lo + level.start[child + 1] - 1 : hi};
      if (depth + 1 == count) {
        out.push_back(range);
      } else if (depth + 1 < tree.Depth() && level.HasChildren(child)) {
        NarrowTree(range.first, range.last, depth + 1, level.firstChild[child],
                   level.firstChild[child + 1]);
      } else {
        Narrow(range.first, range.last, depth + 1);
      }
    }
  }

  void Narrow(uint32_t lo, uint32_t hi, uint32_t depth) const {
    const KeyEntry& key = *keyEntries[depth];
    if (hi - lo < kScanRange) {
      // A small range is read once at `depth`, as runs of equal letters (ascending: the words
      // too short to have one give 0 and sort first), rather than bisected for every code.
      uint8_t letters[kScanRange];
      uint32_t starts[kScanRange];
      const size_t runs = vocabulary.LetterRuns(lo, hi, depth, letters, starts);
      for (int i = 0; i < key.count; ++i) {
        const uint8_t code = key.codes[i];
        size_t r = 0;
        while (r < runs && letters[r] < code) ++r;
        if (r == runs || letters[r] != code) continue;
        const EntryRange range{starts[r], r + 1 < runs ? starts[r + 1] - 1 : hi};
        if (depth + 1 == count) {
          out.push_back(range);
        } else {
          Narrow(range.first, range.last, depth + 1);
        }
      }
      return;
    }
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
  Searcher searcher{vocabulary, vocabulary.Prefixes(), entries, count, ranges};
  const auto last = static_cast<uint32_t>(vocabulary.EntryCount() - 1);
  const PrefixTree& tree = vocabulary.Prefixes();
  if (tree.Depth() == 0) return;
  searcher.NarrowTree(0, last, 0, 0, static_cast<uint32_t>(tree.At(0).Size()));
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
