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
// Only nodes that cover many entries keep their children: a node of fewer than kMinCover entries
// has none (its range is small enough to bisect), and neither has a node at the last level. The
// children of the root (level 0) are always kept. So the tree costs a fraction of a node per
// entry, mostly in the nodes that narrow the first keys.
//
// Every part is a flat array of fixed-width integers, without pointers, so that the same arrays
// could be written beside the vocabulary file and read in place:
//  - letter: 1 byte per node;
//  - start: the node's first entry less its parent's first entry (the root's is 0), 16 bits per
//    node where every offset of the level fits, else 32 bits;
//  - firstChild (below the last level): one per node and one more, the next level's node count,
//    16 bits where the next level has fewer than 65,536 nodes, else 32 bits;
//  - a root index: for every 1/256 of the entries (at most 256 bytes), the level-0 node where
//    they begin, from which LettersOf starts.
//
// The tree is derived from the entries in order, from each word's first letters and the letters
// it really shares with the word before, so it reads any valid coding of the list alike (markers
// shorter than the shared prefix, words stored whole that could have been marked).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/FlatArray.h"

namespace tessaline {

// A flat array of unsigned integers, 16 or 32 bits wide (the narrowest that holds every value).
class IndexArray {
 public:
  uint32_t operator[](size_t i) const { return wide_ ? values32_[i] : values16_[i]; }
  size_t Size() const { return wide_ ? values32_.size() : values16_.size(); }
  bool Wide() const { return wide_; }
  const uint16_t* Narrow16() const { return values16_.data(); }
  const uint32_t* Wide32() const { return values32_.data(); }
  void Assign(const std::vector<uint32_t>& values);
  // Views of values held elsewhere (see FlatArray).
  void View16(const uint16_t* values, size_t count);
  void View32(const uint32_t* values, size_t count);
  void Own();
  void Clear();
  // Bytes of the process's own memory, and of the values wherever they are.
  size_t MemoryBytes() const { return values16_.OwnedBytes() + values32_.OwnedBytes(); }
  size_t Bytes() const { return values16_.Bytes() + values32_.Bytes(); }

 private:
  FlatArray<uint16_t> values16_;
  FlatArray<uint32_t> values32_;
  bool wide_ = false;
};

class PrefixTree {
 public:
  friend class SearchAidsFile;  // writes the arrays, and reads them in place
  // Levels kept: the first letters that the typed keys narrow most. Deeper positions are found by
  // bisecting the (by then small) ranges.
  static constexpr size_t kDepth = 6;
  // The fewest entries of a node that keeps its children.
  static constexpr uint32_t kMinCover = 32;

  struct Level {
    FlatArray<uint8_t> letter;    // the node's letter; ascending among siblings
    IndexArray start;             // the node's first entry less its parent's
    IndexArray firstChild;        // below the last level: one per node, then the next level's
                                  // node count
    size_t Size() const { return letter.size(); }
    // The children of node k: [FirstChild(k), FirstChild(k + 1)); none at the last level.
    bool HasChildren(size_t k) const {
      return firstChild.Size() > 0 && firstChild[k] < firstChild[k + 1];
    }
  };

  void Clear();
  // Adds the next entry's word (its first kDepth letters suffice); `shared` is the number of
  // leading letters it has in common with the word added before it. Entries are numbered from 0
  // in the order they are added.
  void Add(uint32_t entry, std::string_view word, size_t shared);
  // Closes the levels after the last entry (`entries` of them).
  void Finish(uint32_t entries);

  // Levels holding nodes (fewer than kDepth when no word is that long or no node of a level
  // covers kMinCover entries).
  size_t Depth() const { return depth_; }
  const Level& At(size_t level) const { return levels_[level]; }
  // The first letters of an entry's word, as deep as the tree knows them and at most `wanted`
  // (the entry's word must have that many), into `letters`; returns how many. A bisection among
  // the children at each level.
  size_t LettersOf(uint32_t entry, size_t wanted, uint8_t* letters) const;
  size_t NodeCount() const;
  // Bytes of the process's own memory held by the tree, and of its arrays wherever they are.
  size_t MemoryBytes() const;
  size_t ArrayBytes() const;
  // Makes arrays viewed elsewhere the tree's own copies.
  void OwnArrays();

 private:
  Level levels_[kDepth];
  size_t depth_ = 0;
  // For every 2^rootShift_ entries, the last level-0 node starting at or before the first of
  // them (at most 256 of one byte: there are at most 255 letters): LettersOf starts its search
  // of level 0 there.
  FlatArray<uint8_t> rootIndex_;
  uint32_t rootShift_ = 0;
  // While finishing: per level the nodes' letters, absolute first entries and first children.
  struct Building {
    std::vector<uint8_t> letter;
    std::vector<uint32_t> start;
    std::vector<uint32_t> firstChild;
  };
  Building building_[kDepth];
  // The entries added that begin or end nodes, with their first letters, until Finish.
  struct Pending {
    uint32_t entry;
    uint8_t shared;   // letters shared with the word before, below kDepth
    uint8_t deepest;  // letters of the word, at most kDepth
    uint8_t letters[kDepth];
  };
  std::vector<Pending> pending_;
};

}  // namespace tessaline
