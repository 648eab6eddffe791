#include "engine/PrefixTree.h"

#include <algorithm>
#include <cstring>

namespace tessaline {

void IndexArray::Assign(const std::vector<uint32_t>& values) {
  Clear();
  wide_ = !values.empty() && *std::max_element(values.begin(), values.end()) > UINT16_MAX;
  if (wide_) {
    values32_.Assign(values.begin(), values.end());
  } else {
    values16_.Assign(values.begin(), values.end());
  }
}

void IndexArray::View16(const uint16_t* values, size_t count) {
  Clear();
  values16_.View(values, count);
}

void IndexArray::View32(const uint32_t* values, size_t count) {
  Clear();
  values32_.View(values, count);
  wide_ = true;
}

void IndexArray::Own() {
  values16_.Own();
  values32_.Own();
}

void IndexArray::Clear() {
  values16_.Clear();
  values32_.Clear();
  wide_ = false;
}

void PrefixTree::Clear() {
  for (Level& level : levels_) {
    level.letter.Clear();
    level.start.Clear();
    level.firstChild.Clear();
  }
  for (Building& level : building_) {
    level.letter.clear();
    level.start.clear();
    level.firstChild.clear();
  }
  depth_ = 0;
  pending_.clear();
  rootIndex_.Clear();
}

void PrefixTree::Add(uint32_t entry, std::string_view word, size_t shared) {
  // An entry sharing the first kDepth letters with the word before neither begins nor ends a node.
  if (shared >= kDepth) return;
  Pending& p = pending_.emplace_back();
  p.entry = entry;
  p.shared = static_cast<uint8_t>(shared);
  p.deepest = static_cast<uint8_t>(std::min(word.size(), kDepth));
  std::memcpy(p.letters, word.data(), p.deepest);
}

void PrefixTree::Finish(uint32_t entries) {
  // Backwards first: a node ends where the next entry sharing fewer of its letters begins, so
  // each node's cover is known before the nodes are laid out.
  std::vector<uint8_t> keeps(pending_.size());  // bit d: the node of level d begun there keeps
                                                // its children
  uint32_t next[kDepth];
  std::fill(next, next + kDepth, entries);
  for (size_t k = pending_.size(); k-- > 0;) {
    const Pending& p = pending_[k];
    uint8_t mask = 0;
    for (size_t d = p.shared; d < p.deepest && d + 1 < kDepth; ++d) {
      if (next[d] - p.entry >= kMinCover) mask |= static_cast<uint8_t>(1u << d);
    }
    for (size_t d = p.shared; d < kDepth; ++d) next[d] = p.entry;
    keeps[k] = mask;
  }
  // Then forwards, laying out the nodes whose parents keep their children (level 0 always).
  for (Building& level : building_) {
    level.letter.clear();
    level.start.clear();
    level.firstChild.clear();
  }
  bool open[kDepth] = {};  // whether the open node of each level keeps its children
  for (size_t k = 0; k < pending_.size(); ++k) {
    const Pending& p = pending_[k];
    for (size_t d = p.shared; d < kDepth; ++d) {
      if (d >= p.deepest || (d > 0 && !open[d - 1])) {
        std::fill(open + d, open + kDepth, false);
        break;
      }
      Building& level = building_[d];
      level.letter.push_back(p.letters[d]);
      level.start.push_back(p.entry);
      // Children are added after their parent and before the parent's next sibling.
      if (d + 1 < kDepth) {
        level.firstChild.push_back(static_cast<uint32_t>(building_[d + 1].letter.size()));
      }
      open[d] = (keeps[k] >> d) & 1;
    }
  }
  std::vector<Pending>().swap(pending_);
  depth_ = 0;
  while (depth_ < kDepth && !building_[depth_].letter.empty()) ++depth_;
  std::vector<uint32_t> values;
  for (size_t d = 0; d < depth_; ++d) {
    Building& built = building_[d];
    Level& level = levels_[d];
    level.letter.Assign(built.letter.begin(), built.letter.end());
    // Starts relative to the parent's first entry.
    values = built.start;
    if (d > 0) {
      const Building& parents = building_[d - 1];
      for (size_t k = 0; k < parents.start.size(); ++k) {
        const uint32_t end = parents.firstChild[k + 1];
        for (uint32_t c = parents.firstChild[k]; c < end; ++c) values[c] -= parents.start[k];
      }
    }
    level.start.Assign(values);
    if (d + 1 < depth_) {
      built.firstChild.push_back(static_cast<uint32_t>(building_[d + 1].letter.size()));
    }
  }
  for (size_t d = 0; d + 1 < depth_; ++d) levels_[d].firstChild.Assign(building_[d].firstChild);
  rootShift_ = 0;
  while ((entries >> rootShift_) > 255) ++rootShift_;
  std::vector<uint8_t> rootIndex;
  if (depth_ > 0) {
    const std::vector<uint32_t>& starts = building_[0].start;
    uint32_t node = 0;
    for (uint32_t bucket = 0; bucket <= (entries >> rootShift_); ++bucket) {
      while (node + 1 < starts.size() && starts[node + 1] <= (bucket << rootShift_)) ++node;
      rootIndex.push_back(static_cast<uint8_t>(node));
    }
  }
  rootIndex_.Assign(rootIndex.begin(), rootIndex.end());
  for (Building& level : building_) {
    std::vector<uint8_t>().swap(level.letter);
    std::vector<uint32_t>().swap(level.start);
    std::vector<uint32_t>().swap(level.firstChild);
  }
}

namespace {

// The last of the nodes [low, high) whose start is at most `offset`, given that the first is.
template <class Start>
uint32_t LastStartingBy(const Start* start, uint32_t low, uint32_t high, uint32_t offset) {
  while (high - low > 1) {
    const uint32_t mid = low + (high - low) / 2;
    if (start[mid] <= offset) {
      low = mid;
    } else {
      high = mid;
    }
  }
  return low;
}

}  // namespace

size_t PrefixTree::LettersOf(uint32_t entry, size_t wanted, uint8_t* letters) const {
  uint32_t base = 0;  // the first entry of the node whose children are [begin, end)
  uint32_t begin = 0;
  uint32_t end = depth_ > 0 ? static_cast<uint32_t>(levels_[0].Size()) : 0;
  size_t d = 0;
  if (wanted > 0 && depth_ > 0) {
    // Level 0 from the root index: forward over the few nodes that start in the same bucket.
    const Level& level = levels_[0];
    uint32_t node = rootIndex_[entry >> rootShift_];
    while (node + 1 < end && level.start[node + 1] <= entry) ++node;
    letters[0] = level.letter[node];
    base = level.start[node];
    if (!level.HasChildren(node)) return 1;
    begin = level.firstChild[node];
    end = level.firstChild[node + 1];
    d = 1;
  }
  for (; d < wanted && d < depth_ && begin < end; ++d) {
    const Level& level = levels_[d];
    const uint32_t offset = entry - base;
    // The last child starting at or before the entry; none when the entry is the word that is
    // the node's prefix itself (it sorts before every child).
    uint32_t child;
    if (level.start.Wide()) {
      const uint32_t* start = level.start.Wide32();
      if (start[begin] > offset) break;
      child = LastStartingBy(start, begin, end, offset);
    } else {
      const uint16_t* start = level.start.Narrow16();
      if (start[begin] > offset) break;
      child = LastStartingBy(start, begin, end, offset);
    }
    letters[d] = level.letter[child];
    base += level.start[child];
    if (!level.HasChildren(child)) return d + 1;
    begin = level.firstChild[child];
    end = level.firstChild[child + 1];
  }
  return d;
}

size_t PrefixTree::NodeCount() const {
  size_t nodes = 0;
  for (size_t d = 0; d < depth_; ++d) nodes += levels_[d].Size();
  return nodes;
}

size_t PrefixTree::MemoryBytes() const {
  size_t bytes = 0;
  for (const Level& level : levels_) {
    bytes += level.letter.OwnedBytes() + level.start.MemoryBytes() + level.firstChild.MemoryBytes();
  }
  bytes += rootIndex_.OwnedBytes();
  return bytes;
}

void PrefixTree::OwnArrays() {
  for (Level& level : levels_) {
    level.letter.Own();
    level.start.Own();
    level.firstChild.Own();
  }
  rootIndex_.Own();
}

size_t PrefixTree::ArrayBytes() const {
  size_t bytes = 0;
  for (const Level& level : levels_) {
    bytes += level.letter.Bytes() + level.start.Bytes() + level.firstChild.Bytes();
  }
  bytes += rootIndex_.Bytes();
  return bytes;
}

}  // namespace tessaline
