#include "engine/PrefixTree.h"

#include <algorithm>

namespace tessaline {

void PrefixTree::Clear() {
  for (Level& level : levels_) {
    level.start.clear();
    level.letter.clear();
    level.firstChild.clear();
  }
  depth_ = 0;
}

void PrefixTree::Add(uint32_t entry, std::string_view word, size_t shared) {
  const size_t deepest = std::min(word.size(), kDepth);
  for (size_t d = std::min(shared, deepest); d < deepest; ++d) {
    Level& level = levels_[d];
    level.start.push_back(entry);
    level.letter.push_back(static_cast<uint8_t>(word[d]));
    // Children are added after their parent and before the parent's next sibling.
    if (d + 1 < kDepth)
      level.firstChild.push_back(static_cast<uint32_t>(levels_[d + 1].start.size()));
  }
  depth_ = std::max(depth_, deepest);
}

void PrefixTree::Finish() {
  for (size_t d = 0; d + 1 < kDepth; ++d) {
    levels_[d].firstChild.push_back(static_cast<uint32_t>(levels_[d + 1].start.size()));
  }
  for (Level& level : levels_) {
    level.start.shrink_to_fit();
    level.letter.shrink_to_fit();
    level.firstChild.shrink_to_fit();
  }
}

size_t PrefixTree::MemoryBytes() const {
  size_t bytes = 0;
  for (const Level& level : levels_) {
    bytes += level.start.size() * sizeof(uint32_t) + level.letter.size() +
             level.firstChild.size() * sizeof(uint32_t);
  }
  return bytes;
}

}  // namespace tessaline
