// The first letters of a sorted word list as a tree, level by level, so that the search can narrow
// the entries that a key sequence selects without decoding a word.
//
// A node at level d is one distinct prefix of d + 1 letters. The nodes of a level lie in entry
// order; each holds the entry where its words begin, the letter at position d and, below the last
// level, where its children begin in the next level (the children of a node are contiguous, and
// a node's children end where the next node's begin). A node's entries run up to the start of the
// next node among its siblings, or to the end of its parent's entries for the last sibling: the
// word that is the parent's prefix itself sorts first and belongs to no child.
//
// The tree is derived from the entries in order, so it reads any valid coding of the list alike
// (markers shorter than the shared prefix, words stored whole that could have been marked).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tessaline {

class PrefixTree {
 public:
  // Levels kept: the first letters that the typed keys narrow most. Deeper positions are found by
  // bisecting the (by then small) ranges.
  static constexpr size_t kDepth = 6;

  struct Level {
    std::vector<uint32_t> start;       // first entry of each node
    std::vector<uint8_t> letter;       // the node's letter; ascending among siblings
    std::vector<uint32_t> firstChild;  // below the last level: one per node, then the next
                                       // level's node count
  };

  void Clear();
  // Adds the next entry's word; `shared` is the number of leading letters it has in common with
  // the word added before it.
  void Add(uint32_t entry, std::string_view word, size_t shared);
  // Closes the levels after the last entry.
  void Finish();

  // Levels holding nodes (fewer than kDepth when no word is that long).
  size_t Depth() const { return depth_; }
  const Level& At(size_t level) const { return levels_[level]; }
  size_t MemoryBytes() const;

 private:
  Level levels_[kDepth];
  size_t depth_ = 0;
};

}  // namespace tessaline
