#include "engine/Vocabulary.h"

#include <algorithm>
#include <cstring>

#include "engine/SearchAidsFile.h"
#include "system/ByteCoding.h"

namespace tessaline {
namespace {

uint8_t RewriteFirst(uint8_t code) {
  return static_cast<uint8_t>((code & 0xF0) | ((code & 7) << 1));
}
uint8_t RestoreFirst(uint8_t stored) {
  return static_cast<uint8_t>((stored & 0xF0) | ((stored & 14) >> 1));
}

// The first item of a table of (entry, frequency), ascending entries, at or after the entry.
template <class Table>
auto FirstFrom(Table& table, uint32_t entry) {
  return std::lower_bound(
      table.begin(), table.end(), entry,
      [](const std::pair<uint32_t, uint16_t>& item, uint32_t at) { return item.first < at; });
}

}  // namespace

int CompareWords(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<uint8_t>(a[i]);
    const auto y = static_cast<uint8_t>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string StoredFormAfter(std::string_view previous, std::string_view word) {
  size_t p = 0;
  while (p < previous.size() && p < word.size() && previous[p] == word[p]) ++p;
  std::string stored;
  if (p >= 2) {
    stored += static_cast<char>(2 * p + 1);
    stored.append(word.substr(p));
  } else {
    stored.assign(word);
    if (!stored.empty())
      stored[0] = static_cast<char>(RewriteFirst(static_cast<uint8_t>(stored[0])));
  }
  return stored;
}

void Vocabulary::Clear() {
  mapping_.reset();
  aidsMapping_.reset();
  image_ = std::string();
  ownedEntries_ = std::string();
  ownedPool_ = std::string();
  ownedPairs_ = std::string();
  entryBytes_ = nullptr;
  entryCount_ = 0;
  pool_ = {};
  pairBytes_ = nullptr;
  pairCount_ = 0;
  changedFrequencies_.clear();
  changedBlocks_.clear();
  pairKeys_.Clear();
  pairFirst_.Clear();
  RebuildSearchAids();
}

void Vocabulary::OwnAids() {
  if (!aidsMapping_) return;
  pairKeys_.Own();
  pairFirst_.Own();
  markMin_.Own();
  blockMax_.Own();
  groupMax_.Own();
  prefixes_.OwnArrays();
  aidsMapping_.reset();
}

void Vocabulary::TakeCopies() {
  OwnAids();
  if (!mapping_ && image_.empty()) return;  // already its own
  ownedEntries_.assign(reinterpret_cast<const char*>(entryBytes_), entryCount_ * 4);
  ownedPool_.assign(pool_);
  ownedPairs_.assign(reinterpret_cast<const char*>(pairBytes_), pairCount_ * 12);
  mapping_.reset();
  image_ = std::string();
  entryBytes_ = reinterpret_cast<const uint8_t*>(ownedEntries_.data());
  pool_ = ownedPool_;
  pairBytes_ = reinterpret_cast<const uint8_t*>(ownedPairs_.data());
}

void Vocabulary::SetPacked(size_t index, uint32_t value) {
  char* at = ownedEntries_.data() + index * 4;
  StoreLe16(at, static_cast<uint16_t>(value & 0xFFFF));
  StoreLe16(at + 2, static_cast<uint16_t>(value >> 16));
}

void Vocabulary::BeginBulkInsert() { ++bulkInserts_; }

void Vocabulary::EndBulkInsert() {
  if (bulkInserts_ > 0 && --bulkInserts_ == 0 && aidsStale_) RebuildSearchAids();
}

void Vocabulary::RebuildSearchAids() {
  aidsStale_ = false;
  const size_t n = entryCount_;
  OwnAids();
  SizeMarkMinima();
  blockMax_.Fill((n + kFrequencyBlock - 1) / kFrequencyBlock, 0);
  groupMax_.Fill((n + kFrequencyGroup - 1) / kFrequencyGroup, 0);
  uint16_t* blockMax = blockMax_.Own();
  uint16_t* groupMax = groupMax_.Own();

  // One pass over the entries: the smallest marker of each block, the highest frequency of each
  // block, and the prefix tree, which reads each word's first letters in order: the ones before
  // its marker are the word before's, the others are in its stored form. Nothing else is
  // decoded, and only an entry whose marker lies within the tree's depth has letters to read.
  prefixes_.Clear();
  constexpr size_t kDepth = PrefixTree::kDepth;
  char prefix[kDepth];
  size_t prefixLength = 0;  // the previous word's letters in `prefix`
  const auto* pool = reinterpret_cast<const uint8_t*>(pool_.data());
  uint8_t* minima = markMin_.Own();
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* form = pool + OffsetOf(i);
    const size_t marker = (form[0] & 1) ? form[0] >> 1 : 0;
    uint8_t& least = minima[i / kMarkBlock];
    if (marker < least) least = static_cast<uint8_t>(marker);
    uint16_t& highest = blockMax[i / kFrequencyBlock];
    highest = std::max(highest, FrequencyOf(i));

    const size_t deepest = std::min<size_t>(LengthOf(i), kDepth);
    // The loader keeps only markers within the word and within the word before it.
    const size_t marked = std::min(marker, prefixLength);
    if (marked >= deepest) {
      prefixLength = deepest;  // the same first letters: no new node
      continue;
    }
    // The letters it really shares with the word before: a marker may be shorter than that.
    size_t shared = marked;
    for (size_t d = marked; d < deepest; ++d) {
      uint8_t letter;
      if (marker > 0) {
        letter = form[1 + d - marker];
      } else {
        letter = d == 0 ? RestoreFirst(form[0]) : form[d];
      }
      if (d == shared && d < prefixLength && static_cast<uint8_t>(prefix[d]) == letter) ++shared;
      prefix[d] = static_cast<char>(letter);
    }
    prefixLength = deepest;
    prefixes_.Add(static_cast<uint32_t>(i), std::string_view(prefix, deepest), shared);
  }
  prefixes_.Finish(static_cast<uint32_t>(n));
  FinishMarkMinima();
  const size_t perGroup = kFrequencyGroup / kFrequencyBlock;
  for (size_t b = 0; b < blockMax_.size(); ++b) {
    groupMax[b / perGroup] = std::max(groupMax[b / perGroup], blockMax[b]);
  }
}

size_t Vocabulary::MarkLayout(size_t entries, size_t* starts, size_t* sizes) {
  size_t levels = 0;
  size_t total = 0;
  for (size_t size = entries; size > 0 && levels < kMaxMarkLevels;) {
    const size_t per = levels == 0 ? kMarkBlock : kMarkFanout;
    size = (size + per - 1) / per;
    sizes[levels] = size;
    starts[levels++] = total;
    // Each level is padded to whole groups of kMarkFanout minima (the padding is never small
    // enough), so a group is read at once.
    total += (size + kMarkFanout - 1) / kMarkFanout * kMarkFanout;
    if (size <= kMarkFanout) break;
  }
  starts[levels] = total;
  return levels;
}

void Vocabulary::SizeMarkMinima() {
  size_t sizes[kMaxMarkLevels];
  markLevels_ = MarkLayout(entryCount_, markLevelStart_, sizes);
  markMin_.Fill(markLevelStart_[markLevels_], UINT8_MAX);
}

void Vocabulary::FinishMarkMinima() {
  // Level 0 holds the blocks' minima; each level above, the smallest of each group below.
  for (size_t l = 1; l < markLevels_; ++l) {
    uint8_t* minima = markMin_.Own();
    const uint8_t* below = minima + markLevelStart_[l - 1];
    uint8_t* above = minima + markLevelStart_[l];
    const size_t size = markLevelStart_[l] - markLevelStart_[l - 1];
    for (size_t b = 0; b < size; ++b) {
      uint8_t& least = above[b / kMarkFanout];
      if (below[b] < least) least = below[b];
    }
  }
}

namespace {

// The last of the first `count` (1 to 16) minima of a group of 16 that is at most `limit`
// (below 127), or -1 when none is. Eight minima are compared at once: with each byte's high bit
// set first, subtracting limit + 1 borrows from no other byte and clears the high bit of exactly
// the bytes at most `limit` (every minimum is below 128: markers take at most 31 codes, and
// the padding is 255).
int LastMinimumAtMost(const uint8_t* group, size_t count, size_t limit) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  const uint64_t subtract = kOnes * (limit + 1);
  if (count > 8) {
    uint64_t high = ~((ReadLe64(group + 8) | kHighs) - subtract) & kHighs;
    if (count < 16) high &= (uint64_t{1} << (8 * (count - 8))) - 1;
    if (high) return 8 + (63 - __builtin_clzll(high)) / 8;
    count = 8;
  }
  uint64_t low = ~((ReadLe64(group) | kHighs) - subtract) & kHighs;
  if (count < 8) low &= (uint64_t{1} << (8 * count)) - 1;
  return low ? (63 - __builtin_clzll(low)) / 8 : -1;
}

}  // namespace

size_t Vocabulary::LastSharingAtMost(size_t index, size_t limit) const {
  if (aidsStale_) {
    for (size_t k = index + 1; k-- > 0;) {
      if (SharedOf(k) <= limit) return k;
    }
    return kNoEntry;
  }
  // The entries of index's own block, from index back.
  const size_t blockFirst = index / kMarkBlock * kMarkBlock;
  for (size_t k = index;; --k) {
    if (SharedOf(k) <= limit) return k;
    if (k == blockFirst) break;
  }
  limit = std::min<size_t>(limit, 126);  // no marker takes more than 31 codes
  // The blocks before it in the same group of the level above, then up a level while none has
  // a small enough minimum...
  static_assert(kMarkFanout == 16);
  size_t level = 0;
  size_t at = index / kMarkBlock;  // the block at this level that holds index
  for (;;) {
    const size_t groupFirst = at & ~(kMarkFanout - 1);
    if (at > groupFirst) {
      const int found = LastMinimumAtMost(markMin_.data() + markLevelStart_[level] + groupFirst,
                                          at - groupFirst, limit);
      if (found >= 0) {
        at = groupFirst + static_cast<size_t>(found);
        break;
      }
    }
    if (groupFirst == 0 || ++level == markLevels_) return kNoEntry;
    at = groupFirst / kMarkFanout;
  }
  // ...and down again through the last block of each level whose minimum is small enough.
  while (level > 0) {
    --level;
    const size_t first = at * kMarkFanout;
    at = first + static_cast<size_t>(
                     LastMinimumAtMost(markMin_.data() + markLevelStart_[level] + first,
                                       kMarkFanout, limit));
  }
  // (A block whose minimum says otherwise has none: the aids are read from a file, so this stays
  // within the block whatever it holds.)
  const size_t blockStart = at * kMarkBlock;
  if (blockStart >= entryCount_) return kNoEntry;
  size_t k = std::min(blockStart + kMarkBlock, entryCount_) - 1;
  while (SharedOf(k) > limit) {
    if (k == blockStart) return kNoEntry;
    --k;
  }
  return k;
}

void Vocabulary::UpdateFrequencyBlock(size_t block) {
  const size_t begin = block * kFrequencyBlock;
  const size_t end = std::min(begin + kFrequencyBlock, entryCount_);
  uint16_t best = 0;
  for (size_t i = begin; i < end; ++i) best = std::max(best, FrequencyOf(i));
  uint16_t* blockMax = blockMax_.Own();
  blockMax[block] = best;
  const size_t perGroup = kFrequencyGroup / kFrequencyBlock;
  const size_t group = block / perGroup;
  const size_t last = std::min((group + 1) * perGroup, blockMax_.size());
  uint16_t groupBest = 0;
  for (size_t b = group * perGroup; b < last; ++b) groupBest = std::max(groupBest, blockMax_[b]);
  groupMax_.Own()[group] = groupBest;
}

size_t Vocabulary::MemoryBytes() const {
  const size_t held = mapping_          ? mapping_->Bytes().size()
                      : !image_.empty() ? image_.size()
                                        : ownedEntries_.size() + ownedPool_.size() + ownedPairs_.size();
  return held + (aidsMapping_ ? aidsMapping_->Bytes().size() : 0) +
         changedFrequencies_.size() * sizeof(changedFrequencies_[0]) +
         changedBlocks_.size() * sizeof(uint64_t) + PrivateAidBytes();
}

size_t Vocabulary::AidBytes() const {
  return pairKeys_.Bytes() + pairFirst_.Bytes() + markMin_.Bytes() + blockMax_.Bytes() +
         groupMax_.Bytes() + prefixes_.ArrayBytes();
}

size_t Vocabulary::PrivateAidBytes() const {
  return pairKeys_.OwnedBytes() + pairFirst_.OwnedBytes() + markMin_.OwnedBytes() +
         blockMax_.OwnedBytes() + groupMax_.OwnedBytes() + prefixes_.MemoryBytes();
}

VocabularyLoadReport Vocabulary::LoadVocabulary(FILE* stream) {
  std::string bytes;
  if (stream) {
    // A stream that can tell its length is read in one piece of that size; bytes beyond it (a
    // file that grew since it was measured) are read too.
    const long start = std::ftell(stream);
    if (start >= 0 && std::fseek(stream, 0, SEEK_END) == 0) {
      const long end = std::ftell(stream);
      if (std::fseek(stream, start, SEEK_SET) != 0) return LoadVocabularyBytes({});
      if (end > start) {
        bytes.resize(static_cast<size_t>(end - start));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), stream));
      }
    }
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) bytes.append(chunk, got);
  }
  Clear();
  image_ = std::move(bytes);
  return Adopt(image_);
}

VocabularyLoadReport Vocabulary::LoadVocabularyBytes(std::string_view bytes) {
  Clear();
  image_.assign(bytes);
  return Adopt(image_);
}

VocabularyLoadReport Vocabulary::LoadMapped(std::shared_ptr<const MappedFile> mapping,
                                           std::shared_ptr<const MappedFile> aids) {
  Clear();
  if (!mapping) return Adopt({});
  mapping_ = std::move(mapping);
  if (!aids) return Adopt(mapping_->Bytes());
  aidsMapping_ = std::move(aids);
  const VocabularyLoadReport report = Adopt(mapping_->Bytes(), aidsMapping_->Bytes());
  if (!report.aidsFromFile) aidsMapping_.reset();
  return report;
}

VocabularyLoadReport Vocabulary::Adopt(std::string_view bytes, std::string_view aids) {
  VocabularyLoadReport report;
  report.fileSize = bytes.size();
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  size_t at = 0;
  auto readCount = [&](uint32_t& value) {
    if (bytes.size() - at < 4) return false;
    value = ReadLe32(data + at);
    at += 4;
    return true;
  };

  // Entries: only as many as the bytes hold, never more than the count says.
  uint32_t count = 0;
  if (!readCount(count)) {
    report.truncated = true;
    RebuildSearchAids();
    return report;
  }
  report.declaredEntries = count;
  entryBytes_ = data + at;
  entryCount_ = std::min<size_t>(count, (bytes.size() - at) / 4);
  at += entryCount_ * 4;
  bool cut = entryCount_ < report.declaredEntries;

  // Pool.
  if (!cut && readCount(count)) {
    report.declaredPool = count;
    const size_t poolSize = std::min<size_t>(count, bytes.size() - at);
    pool_ = bytes.substr(at, poolSize);
    at += poolSize;
    cut = pool_.size() < report.declaredPool;
  } else {
    cut = true;
  }

  // Letter-pair records: only complete ones are kept. A count outside 0 to 4 is brought into
  // that range where a record is read (GetPair).
  if (!cut && readCount(count)) {
    report.declaredPairs = count;
    pairBytes_ = data + at;
    pairCount_ = std::min<size_t>(count, (bytes.size() - at) / sizeof(LetterPairRecord));
    at += pairCount_ * sizeof(LetterPairRecord);
    for (size_t i = 0; i < pairCount_; ++i) {
      const auto recordCount = static_cast<int8_t>(pairBytes_[i * 12 + 10]);
      if (recordCount < 0 || recordCount > kMaxPairLetters) ++report.clampedPairCounts;
    }
    cut = pairCount_ < report.declaredPairs;
    report.trailingBytes = !cut && at < bytes.size();
  } else {
    cut = true;
  }
  report.truncated = cut;

  // Keep the entries up to the first one that cannot be decoded from the pool. Every check here
  // is what DecodeEntry, LetterAt and InsertWord rely on to stay inside the pool.
  size_t previousEnd = 0;
  size_t previousLength = 0;
  const auto* pool = reinterpret_cast<const uint8_t*>(pool_.data());
  // A pool without a zero byte anywhere (every sound file's: letter codes and markers are not
  // zero) spares looking for one in each stored form.
  const bool zeroInPool = !pool_.empty() && std::memchr(pool, 0, pool_.size()) != nullptr;
  for (size_t i = 0; i < entryCount_; ++i) {
    const size_t offset = OffsetOf(i);
    const size_t length = LengthOf(i);
    bool sound = length >= 1 && offset >= previousEnd && offset < pool_.size();
    size_t stored = 0;
    if (sound) {
      const uint8_t first = pool[offset];
      if (first == 0) {
        sound = false;
      } else if (first & 1) {
        const size_t p = first >> 1;
        sound = i > 0 && p >= 1 && p <= length && p <= previousLength;
        stored = length - p + 1;
      } else {
        stored = length;
      }
      sound = sound && offset + stored <= pool_.size() &&
              (!zeroInPool || std::memchr(pool + offset + 1, 0, stored - 1) == nullptr);
    }
    if (!sound) {
      report.firstBadEntry = static_cast<int64_t>(i);
      entryCount_ = i;
      break;
    }
    previousEnd = offset + stored;
    previousLength = length;
  }

  report.entries = entryCount_;
  report.pool = pool_.size();
  report.pairs = pairCount_;
  if (!aids.empty() && bulkInserts_ == 0 && SearchAidsFile::Read(*this, aids, bytes)) {
    report.aidsFromFile = true;
    return report;
  }
  std::vector<std::pair<uint16_t, uint32_t>> pairIndex;
  pairIndex.reserve(pairCount_);
  for (size_t i = 0; i < pairCount_; ++i)
    pairIndex.push_back({ReadLe16(pairBytes_ + i * sizeof(LetterPairRecord)),
                         static_cast<uint32_t>(i)});
  std::sort(pairIndex.begin(), pairIndex.end());
  std::vector<uint16_t> keys;
  std::vector<uint32_t> firsts;
  for (const auto& [key, first] : pairIndex) {
    if (!keys.empty() && keys.back() == key) continue;
    keys.push_back(key);
    firsts.push_back(first);
  }
  pairKeys_.Assign(keys.begin(), keys.end());
  pairFirst_.Assign(firsts.begin(), firsts.end());
  // Loaded within a bulk insertion (a language loading the user's words next), the aids are
  // derived once, when the insertion ends, rather than here and again then.
  if (bulkInserts_ > 0) {
    aidsStale_ = true;
  } else {
    RebuildSearchAids();
  }
  return report;
}

std::string Vocabulary::FileBytes() const {
  std::string out;
  out.reserve(12 + entryCount_ * 4 + pool_.size() + pairCount_ * 12);
  AppendLe32(out, static_cast<uint32_t>(entryCount_));
  for (size_t i = 0; i < entryCount_; ++i) {
    const uint32_t frequency = std::min<uint32_t>(FrequencyOf(i), kMaxFileFrequency);
    AppendLe32(out, (PackedAt(i) & ~(0x7Fu << 20)) | frequency << 20);
  }
  AppendLe32(out, static_cast<uint32_t>(pool_.size()));
  out += pool_;
  AppendLe32(out, static_cast<uint32_t>(pairCount_));
  for (size_t i = 0; i < pairCount_; ++i) {
    const LetterPairRecord record = GetPair(i);
    AppendLe16(out, record.key);
    out.append(reinterpret_cast<const char*>(record.letters), kMaxPairLetters);
    out.append(reinterpret_cast<const char*>(record.weights), kMaxPairLetters);
    out += static_cast<char>(record.count);
    out += static_cast<char>(record.unused);
  }
  return out;
}

size_t Vocabulary::StoredLength(size_t index) const {
  const size_t offset = OffsetOf(index);
  const size_t length = LengthOf(index);
  if (offset >= pool_.size()) return 0;
  const auto first = static_cast<uint8_t>(pool_[offset]);
  size_t stored = length;
  if (first & 1) {
    const size_t p = first >> 1;
    stored = p <= length ? length - p + 1 : 1;
  }
  return std::min(stored, pool_.size() - offset);
}

std::string_view Vocabulary::StoredForm(size_t index) const {
  if (index >= entryCount_) return {};
  return pool_.substr(OffsetOf(index), StoredLength(index));
}

size_t Vocabulary::DecodeEntry(size_t index, uint8_t* buffer) const {
  buffer[0] = 0;
  if (index >= entryCount_) return 0;
  // The word is filled from its end: an entry stored with a marker of p codes gives the codes
  // from position p on, and the first p codes are those of the entries before it. The entries
  // that take more codes from their predecessors than are still missing hold none of them, and
  // the marker minima pass over whole blocks of those. The first letters come from the prefix
  // tree: the entries that hold them may lie far back.
  const size_t length = LengthOf(index);
  size_t missing = length;  // positions [0, missing) are still to be filled
  size_t known = 0;         // positions [0, known) taken from the tree
  const auto* pool = reinterpret_cast<const uint8_t*>(pool_.data());
  size_t j = index;
  for (;;) {
    const uint8_t* form = pool + OffsetOf(j);
    const size_t shared = (form[0] & 1) ? form[0] >> 1 : 0;
    if (shared < missing) {
      if (form[0] & 1) {
        std::memcpy(buffer + shared, form + 1, missing - shared);  // positions shared.. on
      } else {
        std::memcpy(buffer, form, missing);
        buffer[0] = RestoreFirst(form[0]);
      }
      missing = shared;
      if (missing == 0) break;
    }
    if (missing <= PrefixTree::kDepth && known == 0 && !aidsStale_) {
      known = prefixes_.LettersOf(static_cast<uint32_t>(index), missing, buffer);
    }
    if (missing <= known) break;
    j = j > 0 ? LastSharingAtMost(j - 1, missing - 1) : kNoEntry;
    if (j == kNoEntry) {  // a marker with nothing before it: keep what could be decoded
      std::memmove(buffer, buffer + missing, length - missing);
      buffer[length - missing] = 0;
      return length - missing;
    }
  }
  buffer[length] = 0;
  return length;
}

LetterCodes Vocabulary::DecodeEntry(size_t index) const {
  uint8_t buffer[kDecodeBufferSize];
  const size_t length = DecodeEntry(index, buffer);
  return LetterCodes(reinterpret_cast<const char*>(buffer), length);
}

uint8_t Vocabulary::LetterAt(size_t index, size_t position) const {
  if (index >= entryCount_ || position >= LengthOf(index)) return 0;
  // A marker of p codes means the first p letters are those of the entry before: the letter lies
  // in the stored codes of the last entry up to index whose marker takes at most `position`.
  if (SharedOf(index) > position) {
    index = index > 0 ? LastSharingAtMost(index - 1, position) : kNoEntry;
    if (index == kNoEntry) return 0;  // a marker with nothing before it: no such letter
  }
  const auto* form = reinterpret_cast<const uint8_t*>(pool_.data()) + OffsetOf(index);
  if (!(form[0] & 1)) return position == 0 ? RestoreFirst(form[0]) : form[position];
  return form[1 + position - (form[0] >> 1)];
}

size_t Vocabulary::LetterRuns(size_t first, size_t last, size_t position, uint8_t* letters,
                              uint32_t* starts) const {
  // An entry whose marker takes the position from the word before has that word's letter there:
  // only the others can begin a run.
  size_t runs = 1;
  letters[0] = LetterAt(first, position);
  starts[0] = static_cast<uint32_t>(first);
  const auto* pool = reinterpret_cast<const uint8_t*>(pool_.data());
  for (size_t k = first + 1; k <= last; ++k) {
    const uint8_t* form = pool + OffsetOf(k);
    const size_t shared = (form[0] & 1) ? form[0] >> 1 : 0;
    if (shared > position) continue;  // the letter of the entry before (its word is as long)
    uint8_t letter;
    if (position >= LengthOf(k)) {
      letter = 0;
    } else if (shared == 0) {
      letter = position == 0 ? RestoreFirst(form[0]) : form[position];
    } else {
      letter = form[1 + position - shared];
    }
    if (letter != letters[runs - 1]) {
      letters[runs] = letter;
      starts[runs++] = static_cast<uint32_t>(k);
    }
  }
  return runs;
}

int32_t Vocabulary::FindWord(std::string_view word) const {
  const size_t count = entryCount_;
  if (count == 0) return -1;
  uint8_t buffer[kDecodeBufferSize];
  auto compareWith = [&](size_t index) {
    const size_t length = DecodeEntry(index, buffer);
    return CompareWords(word, std::string_view(reinterpret_cast<const char*>(buffer), length));
  };
  if (count == 1) {
    const int c = compareWith(0);
    return c == 0 ? 0 : (c < 0 ? -1 : -2);
  }
  int c = compareWith(0);
  if (c < 0) return -1;
  if (c == 0) return 0;
  const auto last = static_cast<int32_t>(count - 1);
  c = compareWith(static_cast<size_t>(last));
  if (c == 0) return last;
  if (c > 0) return -(last + 1) - 1;
  int32_t lo = 0;
  int32_t hi = last;
  while (lo + 1 < hi) {
    const int32_t mid = (lo + hi) / 2;
    c = compareWith(static_cast<size_t>(mid));
    if (c == 0) return mid;
    if (c < 0) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  return -hi - 1;
}

// Inserting W at a position between V (the entry before, or nothing) and X (the entry at the
// position, or nothing): W is stored against V, X is re-coded against W because its predecessor
// changes, and the pool is spliced where X's old stored form stood. X moves by the size of W's
// stored form; every later entry moves by the change in size of the pool.
bool Vocabulary::InsertWord(size_t position, std::string_view word, int frequency) {
  if (word.empty() || word.size() > static_cast<size_t>(kMaxWordLength)) return false;
  if (word.find('\0') != std::string_view::npos) return false;
  // A word's first code may have to be stored whole, rewritten into an even byte: that holds
  // letter positions 0 to 7 only (any code the key map makes).
  if (static_cast<uint8_t>(word[0]) & 0x08) return false;
  if (frequency < 0 || frequency > kMaxFileFrequency) return false;
  if (position > entryCount_) return false;
  if (pool_.size() + word.size() >= kPoolLimit) return false;

  const LetterCodes previous = position > 0 ? DecodeEntry(position - 1) : LetterCodes();
  const std::string stored = StoredFormAfter(previous, word);
  const bool hasNext = position < entryCount_;
  std::string recoded;
  size_t oldStored = 0;
  size_t offset = pool_.size();
  if (hasNext) {
    recoded = StoredFormAfter(word, DecodeEntry(position));
    oldStored = StoredLength(position);
    offset = OffsetOf(position);
  }
  const auto growth =
      static_cast<int64_t>(stored.size() + recoded.size()) - static_cast<int64_t>(oldStored);

  TakeCopies();
  ownedPool_.replace(offset, oldStored, stored + recoded);
  pool_ = ownedPool_;
  std::string packed;
  AppendLe32(packed, static_cast<uint32_t>(offset) | static_cast<uint32_t>(frequency) << 20 |
                         static_cast<uint32_t>(word.size()) << 27);
  ownedEntries_.insert(position * 4, packed);
  entryBytes_ = reinterpret_cast<const uint8_t*>(ownedEntries_.data());
  ++entryCount_;
  if (hasNext) {
    auto moved = [&](size_t k, int64_t by) {
      const uint32_t value = PackedAt(k);
      const auto at = static_cast<uint32_t>(static_cast<int64_t>(value & 0xFFFFF) + by);
      SetPacked(k, (value & ~0xFFFFFu) | (at & 0xFFFFF));
    };
    moved(position + 1, static_cast<int64_t>(stored.size()));
    for (size_t k = position + 2; k < entryCount_; ++k) moved(k, growth);
  }
  // Frequencies changed at run time move with their entries.
  for (auto& [index, value] : changedFrequencies_) {
    if (index >= position) ++index;
  }
  RebuildChangedBlocks();
  if (bulkInserts_ > 0) {
    aidsStale_ = true;
  } else {
    RebuildSearchAids();
  }
  return true;
}

bool Vocabulary::InsertIfAbsent(std::string_view word, int frequency) {
  const int32_t found = FindWord(word);
  if (found >= 0) return false;
  InsertWord(static_cast<size_t>(-(found + 1)), word, frequency);
  return true;
}

uint16_t Vocabulary::EntryFrequency(size_t index) const {
  return index < entryCount_ ? FrequencyOf(index) : 0;
}

uint16_t Vocabulary::ChangedFrequency(size_t index) const {
  const auto found = FirstFrom(changedFrequencies_, static_cast<uint32_t>(index));
  return found != changedFrequencies_.end() && found->first == index ? found->second
                                                                      : FileFrequency(index);
}

void Vocabulary::RebuildChangedBlocks() {
  changedBlocks_.clear();
  if (changedFrequencies_.empty()) return;
  const size_t blocks = (entryCount_ + kFrequencyBlock - 1) / kFrequencyBlock;
  changedBlocks_.assign((blocks + 63) / 64, 0);
  for (const auto& item : changedFrequencies_) {
    const size_t block = item.first / kFrequencyBlock;
    changedBlocks_[block / 64] |= uint64_t{1} << (block % 64);
  }
}

void Vocabulary::MarkChangedBlock(size_t block) {
  const size_t blocks = (entryCount_ + kFrequencyBlock - 1) / kFrequencyBlock;
  if (changedBlocks_.size() < (blocks + 63) / 64) changedBlocks_.resize((blocks + 63) / 64, 0);
  const auto first = static_cast<uint32_t>(block * kFrequencyBlock);
  const auto listed = FirstFrom(changedFrequencies_, first);
  const uint64_t bit = uint64_t{1} << (block % 64);
  if (listed != changedFrequencies_.end() && listed->first < first + kFrequencyBlock) {
    changedBlocks_[block / 64] |= bit;
  } else {
    changedBlocks_[block / 64] &= ~bit;
  }
}

void Vocabulary::SetEntryFrequency(size_t index, uint16_t frequency) {
  if (index >= entryCount_) return;
  const auto at = static_cast<uint32_t>(index);
  const auto found = FirstFrom(changedFrequencies_, at);
  const bool listed = found != changedFrequencies_.end() && found->first == at;
  if (frequency == FileFrequency(index)) {
    if (!listed) return;
    changedFrequencies_.erase(found);
  } else if (listed) {
    found->second = frequency;
  } else {
    changedFrequencies_.insert(found, {at, frequency});
  }
  MarkChangedBlock(index / kFrequencyBlock);
  if (!aidsStale_) UpdateFrequencyBlock(index / kFrequencyBlock);
}

uint16_t Vocabulary::EntryLength(size_t index) const {
  return index < entryCount_ ? LengthOf(index) : 0;
}

int64_t Vocabulary::FindPair(uint16_t key) const {
  const auto found = std::lower_bound(pairKeys_.begin(), pairKeys_.end(), key);
  if (found == pairKeys_.end() || *found != key) return -1;
  return pairFirst_[static_cast<size_t>(found - pairKeys_.begin())];
}

LetterPairRecord Vocabulary::GetPair(size_t index) const {
  LetterPairRecord record;
  if (index >= pairCount_) return record;
  const uint8_t* bytes = pairBytes_ + index * sizeof(LetterPairRecord);
  record.key = ReadLe16(bytes);
  std::memcpy(record.letters, bytes + 2, kMaxPairLetters);
  std::memcpy(record.weights, bytes + 6, kMaxPairLetters);
  record.count = std::clamp<int8_t>(static_cast<int8_t>(bytes[10]), 0, kMaxPairLetters);
  record.unused = bytes[11];
  return record;
}

}  // namespace tessaline
