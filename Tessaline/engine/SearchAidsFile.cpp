#include "engine/SearchAidsFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/Vocabulary.h"
#include "system/ByteCoding.h"

namespace tessaline {
namespace {

uint64_t Rotate(uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ull;

uint64_t Lane(uint64_t lane, uint64_t word) { return Rotate(lane + word * kPrime2, 31) * kPrime1; }

void AppendLe64(std::string& out, uint64_t value) {
  AppendLe32(out, static_cast<uint32_t>(value));
  AppendLe32(out, static_cast<uint32_t>(value >> 32));
}

// Header fields, by byte offset.
enum : size_t {
  kMagicAt = 0,
  kVersionAt = 4,
  kVocabularySizeAt = 8,
  kVocabularyHashAt = 16,
  kBodyHashAt = 24,
  kEntriesAt = 32,
  kPairsAt = 36,
  kPairKeysAt = 40,
  kMarkLevelsAt = 44,
  kMarkBytesAt = 48,
  kBlocksAt = 52,
  kGroupsAt = 56,
  kDepthAt = 60,
  kRootShiftAt = 64,
  kRootBytesAt = 68,
  kLevelsAt = 72,  // per level: nodes, start width, first-child count, first-child width
};
static_assert(kLevelsAt + PrefixTree::kDepth * 16 == SearchAidsFile::kHeaderSize);

// The arrays of a file that passed every check, where they lie in it.
struct Arrays {
  const uint8_t* markMin = nullptr;
  size_t markBytes = 0;
  const uint16_t* blockMax = nullptr;
  size_t blocks = 0;
  const uint16_t* groupMax = nullptr;
  size_t groups = 0;
  const uint16_t* pairKeys = nullptr;
  const uint32_t* pairFirst = nullptr;
  size_t keys = 0;
  const uint8_t* rootIndex = nullptr;
  size_t rootBytes = 0;
  uint32_t rootShift = 0;
  size_t depth = 0;
  struct Level {
    const uint8_t* letter = nullptr;
    size_t nodes = 0;
    const uint8_t* start = nullptr;
    uint32_t startWidth = 0;
    const uint8_t* firstChild = nullptr;
    size_t children = 0;  // first-child values: nodes + 1, or none at the last level
    uint32_t childWidth = 0;
  } levels[PrefixTree::kDepth];
};

// A value of a 16- or 32-bit array of the file (aligned: checked before).
uint32_t ValueAt(const uint8_t* values, uint32_t width, size_t i) {
  if (width == 2) return reinterpret_cast<const uint16_t*>(values)[i];
  return reinterpret_cast<const uint32_t*>(values)[i];
}

size_t Padded(size_t bytes) { return (bytes + 3) & ~size_t{3}; }

uint32_t RootShiftFor(size_t entries) {
  uint32_t shift = 0;
  while ((entries >> shift) > 255) ++shift;
  return shift;
}

}  // namespace

std::string SearchAidsPath(const std::string& vocabularyPath) {
  const size_t dot = vocabularyPath.rfind('.');
  const size_t folder = vocabularyPath.find_last_of("/\\");
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) {
    return vocabularyPath + kSearchAidsExtension;
  }
  return vocabularyPath.substr(0, dot) + kSearchAidsExtension;
}

uint64_t HashBytes(std::string_view bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
  size_t at = 0;
  for (; at + 32 <= n; at += 32) {
    lanes[0] = Lane(lanes[0], ReadLe64(p + at));
    lanes[1] = Lane(lanes[1], ReadLe64(p + at + 8));
    lanes[2] = Lane(lanes[2], ReadLe64(p + at + 16));
    lanes[3] = Lane(lanes[3], ReadLe64(p + at + 24));
  }
  uint8_t tail[32] = {};
  std::memcpy(tail, p + at, n - at);
  for (int l = 0; l < 4; ++l) lanes[l] = Lane(lanes[l], ReadLe64(tail + 8 * l));
  uint64_t hash = Rotate(lanes[0], 1) + Rotate(lanes[1], 7) + Rotate(lanes[2], 12) +
                  Rotate(lanes[3], 18) + n * kPrime3;
  hash ^= hash >> 33;
  hash *= kPrime2;
  hash ^= hash >> 29;
  hash *= kPrime3;
  hash ^= hash >> 32;
  return hash;
}

std::string SearchAidsFile::Write(std::string_view vocabularyBytes) {
  static const KeyMap kNoKeys;
  Vocabulary voc(kNoKeys);
  voc.LoadVocabularyBytes(vocabularyBytes);
  const PrefixTree& tree = voc.prefixes_;
  const auto count = [](size_t value) { return static_cast<uint32_t>(value); };

  std::string out;
  AppendLe32(out, kMagic);
  AppendLe32(out, kVersion);
  AppendLe64(out, vocabularyBytes.size());
  AppendLe64(out, HashBytes(vocabularyBytes));
  AppendLe64(out, 0);  // the body's hash, once the body is there
  AppendLe32(out, count(voc.entryCount_));
  AppendLe32(out, count(voc.pairCount_));
  AppendLe32(out, count(voc.pairKeys_.size()));
  AppendLe32(out, count(voc.markLevels_));
  AppendLe32(out, count(voc.markMin_.size()));
  AppendLe32(out, count(voc.blockMax_.size()));
  AppendLe32(out, count(voc.groupMax_.size()));
  AppendLe32(out, count(tree.depth_));
  AppendLe32(out, tree.rootShift_);
  AppendLe32(out, count(tree.rootIndex_.size()));
  for (size_t d = 0; d < PrefixTree::kDepth; ++d) {
    const PrefixTree::Level& level = tree.levels_[d];
    const bool present = d < tree.depth_;
    const bool children = level.firstChild.Size() > 0;
    AppendLe32(out, present ? count(level.Size()) : 0);
    AppendLe32(out, present ? (level.start.Wide() ? 4 : 2) : 0);
    AppendLe32(out, count(level.firstChild.Size()));
    AppendLe32(out, children ? (level.firstChild.Wide() ? 4 : 2) : 0);
  }

  const auto pad = [&] { out.resize(Padded(out.size()), '\0'); };
  const auto bytes = [&](const uint8_t* values, size_t n) {
    out.append(reinterpret_cast<const char*>(values), n);
    pad();
  };
  const auto shorts = [&](const uint16_t* values, size_t n) {
    for (size_t i = 0; i < n; ++i) AppendLe16(out, values[i]);
    pad();
  };
  const auto index = [&](const IndexArray& values) {
    for (size_t i = 0; i < values.Size(); ++i) {
      if (values.Wide()) {
        AppendLe32(out, values[i]);
      } else {
        AppendLe16(out, static_cast<uint16_t>(values[i]));
      }
    }
    pad();
  };
  bytes(voc.markMin_.data(), voc.markMin_.size());
  shorts(voc.blockMax_.data(), voc.blockMax_.size());
  shorts(voc.groupMax_.data(), voc.groupMax_.size());
  shorts(voc.pairKeys_.data(), voc.pairKeys_.size());
  for (uint32_t first : voc.pairFirst_) AppendLe32(out, first);
  bytes(tree.rootIndex_.data(), tree.rootIndex_.size());
  for (size_t d = 0; d < tree.depth_; ++d) {
    const PrefixTree::Level& level = tree.levels_[d];
    bytes(level.letter.data(), level.letter.size());
    index(level.start);
    index(level.firstChild);
  }
  const uint64_t body = HashBytes(std::string_view(out).substr(kHeaderSize));
  for (int b = 0; b < 8; ++b) out[kBodyHashAt + b] = static_cast<char>(body >> (8 * b));
  return out;
}

namespace {

// Checks the file against the vocabulary that adopted `vocabularyBytes`; on success fills `arrays`
// and returns nullptr, else returns why not.
const char* Parse(std::string_view aids, std::string_view vocabularyBytes, size_t entries,
                  size_t pairs, const uint8_t* pairBytes, Arrays& arrays) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  return "the arrays are little-endian and this machine is not";
#endif
  const auto* file = reinterpret_cast<const uint8_t*>(aids.data());
  if (reinterpret_cast<uintptr_t>(file) % 4 != 0) return "not aligned in memory";
  if (aids.size() < SearchAidsFile::kHeaderSize) return "shorter than its header";
  const auto field = [&](size_t at) { return ReadLe32(file + at); };
  if (field(kMagicAt) != SearchAidsFile::kMagic) return "not a search-aids file";
  if (field(kVersionAt) != SearchAidsFile::kVersion) return "another version";
  if (ReadLe64(file + kVocabularySizeAt) != vocabularyBytes.size()) {
    return "made for a vocabulary file of another size";
  }
  if (field(kEntriesAt) != entries || field(kPairsAt) != pairs) {
    return "made for another number of entries or letter pairs";
  }

  // The sizes the entry count implies, and where each section lies.
  size_t markStarts[16];
  size_t markSizes[16];
  const size_t markLevels = Vocabulary::MarkLayout(entries, markStarts, markSizes);
  arrays.markBytes = field(kMarkBytesAt);
  arrays.blocks = field(kBlocksAt);
  arrays.groups = field(kGroupsAt);
  arrays.keys = field(kPairKeysAt);
  arrays.depth = field(kDepthAt);
  arrays.rootShift = field(kRootShiftAt);
  arrays.rootBytes = field(kRootBytesAt);
  if (field(kMarkLevelsAt) != markLevels || arrays.markBytes != markStarts[markLevels]) {
    return "marker minima of other sizes than the entries make";
  }
  if (arrays.blocks != (entries + Vocabulary::kFrequencyBlock - 1) / Vocabulary::kFrequencyBlock ||
      arrays.groups != (entries + Vocabulary::kFrequencyGroup - 1) / Vocabulary::kFrequencyGroup) {
    return "frequency maxima of other sizes than the entries make";
  }
  if (arrays.keys > pairs) return "more pair keys than letter pairs";
  if (arrays.depth > PrefixTree::kDepth || (entries == 0) != (arrays.depth == 0) ||
      arrays.rootShift != RootShiftFor(entries) ||
      arrays.rootBytes != (arrays.depth > 0 ? (entries >> arrays.rootShift) + 1 : 0)) {
    return "a prefix tree of another shape than the entries make";
  }
  uint64_t at = SearchAidsFile::kHeaderSize;
  const auto take = [&](uint64_t bytes) {
    const uint64_t begin = at;
    at = (at + bytes + 3) & ~uint64_t{3};
    return begin;
  };
  const uint64_t markAt = take(arrays.markBytes);
  const uint64_t blocksAt = take(arrays.blocks * 2);
  const uint64_t groupsAt = take(arrays.groups * 2);
  const uint64_t keysAt = take(arrays.keys * 2);
  const uint64_t firstsAt = take(arrays.keys * 4);
  const uint64_t rootAt = take(arrays.rootBytes);
  uint64_t levelAt[PrefixTree::kDepth][3] = {};
  for (size_t d = 0; d < PrefixTree::kDepth; ++d) {
    Arrays::Level& level = arrays.levels[d];
    const size_t header = kLevelsAt + d * 16;
    level.nodes = field(header);
    level.startWidth = field(header + 4);
    level.children = field(header + 8);
    level.childWidth = field(header + 12);
    if (d >= arrays.depth) {
      if (level.nodes || level.startWidth || level.children || level.childWidth) {
        return "a level below the tree's depth";
      }
      continue;
    }
    const bool last = d + 1 == arrays.depth;
    if (level.nodes == 0 || (level.startWidth != 2 && level.startWidth != 4) ||
        level.children != (last ? 0 : level.nodes + 1) ||
        (last ? level.childWidth != 0 : level.childWidth != 2 && level.childWidth != 4)) {
      return "a tree level of a bad shape";
    }
    levelAt[d][0] = take(level.nodes);
    levelAt[d][1] = take(uint64_t{level.nodes} * level.startWidth);
    levelAt[d][2] = take(uint64_t{level.children} * level.childWidth);
  }
  if (at != aids.size()) return "of another length than its header says";

  if (ReadLe64(file + kBodyHashAt) != HashBytes(aids.substr(SearchAidsFile::kHeaderSize))) {
    return "damaged (its arrays do not match their hash)";
  }
  if (ReadLe64(file + kVocabularyHashAt) != HashBytes(vocabularyBytes)) {
    return "made for other bytes of the vocabulary file";
  }

  // The hashes say the file is the one made for these bytes. What follows makes every read of the
  // search stay inside the arrays even for a file made up to pass them.
  arrays.markMin = file + markAt;
  arrays.blockMax = reinterpret_cast<const uint16_t*>(file + blocksAt);
  arrays.groupMax = reinterpret_cast<const uint16_t*>(file + groupsAt);
  arrays.pairKeys = reinterpret_cast<const uint16_t*>(file + keysAt);
  arrays.pairFirst = reinterpret_cast<const uint32_t*>(file + firstsAt);
  arrays.rootIndex = file + rootAt;
  for (size_t d = 0; d < arrays.depth; ++d) {
    arrays.levels[d].letter = file + levelAt[d][0];
    arrays.levels[d].start = file + levelAt[d][1];
    arrays.levels[d].firstChild = file + levelAt[d][2];
  }

  // Minima: a marker takes at most kMaxWordLength codes; the padding of each level is 255.
  for (size_t l = 0; l < markLevels; ++l) {
    for (size_t b = markStarts[l]; b < markStarts[l + 1]; ++b) {
      const uint8_t value = arrays.markMin[b];
      if (b - markStarts[l] < markSizes[l] ? value > kMaxWordLength : value != UINT8_MAX) {
        return "a marker minimum out of range";
      }
    }
  }
  // Maxima: file frequencies, each group's the highest of its blocks'.
  const size_t perGroup = Vocabulary::kFrequencyGroup / Vocabulary::kFrequencyBlock;
  for (size_t g = 0; g < arrays.groups; ++g) {
    uint16_t highest = 0;
    for (size_t b = g * perGroup; b < std::min((g + 1) * perGroup, arrays.blocks); ++b) {
      if (arrays.blockMax[b] > kMaxFileFrequency) return "a block maximum out of range";
      highest = std::max(highest, arrays.blockMax[b]);
    }
    if (arrays.groupMax[g] != highest) return "a group maximum that is not its blocks' highest";
  }
  // The pair index: distinct keys ascending, each with the first record that has it.
  for (size_t k = 0; k < arrays.keys; ++k) {
    if (k > 0 && arrays.pairKeys[k] <= arrays.pairKeys[k - 1]) return "pair keys out of order";
    if (arrays.pairFirst[k] >= pairs ||
        ReadLe16(pairBytes + size_t{arrays.pairFirst[k]} * sizeof(LetterPairRecord)) !=
            arrays.pairKeys[k]) {
      return "a pair key whose first record has another key";
    }
  }
  for (size_t i = 0; i < pairs; ++i) {
    const uint16_t key = ReadLe16(pairBytes + i * sizeof(LetterPairRecord));
    const uint16_t* keys = arrays.pairKeys;
    const uint16_t* found = std::lower_bound(keys, keys + arrays.keys, key);
    if (found == keys + arrays.keys || *found != key || arrays.pairFirst[found - keys] > i) {
      return "a letter pair the index does not find first";
    }
  }
  // The tree: per level, each node's entries [begin, end) inside its parent's, the children of a
  // node contiguous and after those of the node before, siblings' letters and starts ascending.
  size_t widest = 1;
  for (size_t d = 0; d < arrays.depth; ++d) widest = std::max(widest, arrays.levels[d].nodes);
  std::vector<uint32_t> ranges(4 * widest);
  uint32_t* begins = ranges.data();  // the level above's nodes (the root alone above level 0)
  uint32_t* ends = begins + widest;
  uint32_t* childBegins = ends + widest;
  uint32_t* childEnds = childBegins + widest;
  begins[0] = 0;
  ends[0] = static_cast<uint32_t>(entries);
  size_t parents = 1;
  const uint8_t* firsts = nullptr;  // the level above's first children, or none for the root
  uint32_t firstsWidth = 0;
  for (size_t d = 0; d < arrays.depth; ++d) {
    const Arrays::Level& level = arrays.levels[d];
    for (size_t parent = 0; parent < parents; ++parent) {
      const uint32_t first = firsts ? ValueAt(firsts, firstsWidth, parent) : 0;
      const uint32_t last =
          firsts ? ValueAt(firsts, firstsWidth, parent + 1) : static_cast<uint32_t>(level.nodes);
      if (first > last || last > level.nodes) return "children out of order";
      const uint32_t base = begins[parent];
      const uint32_t span = ends[parent] - base;
      uint32_t previous = 0;
      for (uint32_t c = first; c < last; ++c) {
        const uint32_t offset = ValueAt(level.start, level.startWidth, c);
        if (offset >= span) return "a node starting outside its parent";
        if (c > first && (offset <= previous || level.letter[c] <= level.letter[c - 1])) {
          return "siblings out of order";
        }
        childBegins[c] = base + offset;
        if (c > first) childEnds[c - 1] = base + offset;
        previous = offset;
      }
      if (last > first) childEnds[last - 1] = ends[parent];
    }
    if (firsts && ValueAt(firsts, firstsWidth, 0) != 0) return "children out of order";
    if (firsts && ValueAt(firsts, firstsWidth, parents) != level.nodes) {
      return "children beyond their level";
    }
    if (d == 0 && ValueAt(level.start, level.startWidth, 0) != 0) {
      return "a first node not at the first entry";
    }
    std::swap(begins, childBegins);
    std::swap(ends, childEnds);
    parents = level.nodes;
    firsts = level.firstChild;
    firstsWidth = level.childWidth;
  }
  // The root index: for each bucket of entries, the last first-level node starting by its first.
  if (arrays.depth > 0) {
    const Arrays::Level& level = arrays.levels[0];
    uint32_t node = 0;
    for (size_t bucket = 0; bucket < arrays.rootBytes; ++bucket) {
      while (node + 1 < level.nodes &&
             ValueAt(level.start, level.startWidth, node + 1) <= (bucket << arrays.rootShift)) {
        ++node;
      }
      if (arrays.rootIndex[bucket] != node) return "a root index that points elsewhere";
    }
  }
  return nullptr;
}

}  // namespace

bool SearchAidsFile::Read(Vocabulary& vocabulary, std::string_view aids,
                          std::string_view vocabularyBytes) {
  Arrays arrays;
  if (Parse(aids, vocabularyBytes, vocabulary.entryCount_, vocabulary.pairCount_,
            vocabulary.pairBytes_, arrays)) {
    return false;
  }
  size_t sizes[16];
  vocabulary.markLevels_ = Vocabulary::MarkLayout(vocabulary.entryCount_,
                                                  vocabulary.markLevelStart_, sizes);
  vocabulary.markMin_.View(arrays.markMin, arrays.markBytes);
  vocabulary.blockMax_.View(arrays.blockMax, arrays.blocks);
  vocabulary.groupMax_.View(arrays.groupMax, arrays.groups);
  vocabulary.pairKeys_.View(arrays.pairKeys, arrays.keys);
  vocabulary.pairFirst_.View(arrays.pairFirst, arrays.keys);
  PrefixTree& tree = vocabulary.prefixes_;
  tree.Clear();
  tree.depth_ = arrays.depth;
  tree.rootShift_ = arrays.rootShift;
  tree.rootIndex_.View(arrays.rootIndex, arrays.rootBytes);
  const auto view = [](IndexArray& values, const uint8_t* at, uint32_t width, size_t count) {
    if (width == 4) {
      values.View32(reinterpret_cast<const uint32_t*>(at), count);
    } else {
      values.View16(reinterpret_cast<const uint16_t*>(at), count);
    }
  };
  for (size_t d = 0; d < arrays.depth; ++d) {
    const Arrays::Level& level = arrays.levels[d];
    PrefixTree::Level& into = tree.levels_[d];
    into.letter.View(level.letter, level.nodes);
    view(into.start, level.start, level.startWidth, level.nodes);
    if (level.children > 0) view(into.firstChild, level.firstChild, level.childWidth, level.children);
  }
  return true;
}

std::string SearchAidsFile::Check(std::string_view aids, std::string_view vocabularyBytes) {
  static const KeyMap kNoKeys;
  Vocabulary derived(kNoKeys);
  derived.LoadVocabularyBytes(vocabularyBytes);
  // The file's bytes at an aligned address, as a mapping has them.
  std::vector<uint32_t> aligned((aids.size() + 3) / 4);
  if (!aids.empty()) std::memcpy(aligned.data(), aids.data(), aids.size());
  const std::string_view copy(reinterpret_cast<const char*>(aligned.data()), aids.size());
  Arrays arrays;
  if (const char* why = Parse(copy, vocabularyBytes, derived.entryCount_, derived.pairCount_,
                              derived.pairBytes_, arrays)) {
    return why;
  }
  // Byte for byte what the compiler writes for these bytes.
  if (copy != Write(vocabularyBytes)) return "not what the vocabulary file's aids derive to";
  return "";
}

}  // namespace tessaline
