#include "engine/Vocabulary.h"

#include <algorithm>
#include <cstring>

#include "system/ByteCoding.h"

namespace tessaline {
namespace {

uint8_t RewriteFirst(uint8_t code) {
  return static_cast<uint8_t>((code & 0xF0) | ((code & 7) << 1));
}
uint8_t RestoreFirst(uint8_t stored) {
  return static_cast<uint8_t>((stored & 0xF0) | ((stored & 14) >> 1));
}

// Room the containers get beyond what a file holds, for the user's words. The containers are
// sized from the file as read rather than given fixed reservations up front, so a small
// vocabulary (the options pages make their own) costs only what it holds.
constexpr size_t kSpareEntries = 256;
constexpr size_t kSparePool = 4096;

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
  pool_.clear();
  entries_.clear();
  pairs_.clear();
  pairIndex_.clear();
  RebuildSearchAids();
}

void Vocabulary::BeginBulkInsert() { ++bulkInserts_; }

void Vocabulary::EndBulkInsert() {
  if (bulkInserts_ > 0 && --bulkInserts_ == 0 && aidsStale_) RebuildSearchAids();
}

void Vocabulary::RebuildSearchAids() {
  aidsStale_ = false;
  const size_t n = entries_.size();
  back_.assign(n, 0);
  farBack_.clear();
  // Entries still waiting for an earlier entry that shares fewer codes, by their shared count.
  std::vector<std::pair<uint8_t, size_t>> open;
  for (size_t i = 0; i < n; ++i) {
    const auto first = static_cast<uint8_t>(pool_[entries_[i].offset]);
    const uint8_t shared = (first & 1) ? static_cast<uint8_t>(first >> 1) : 0;
    while (!open.empty() && open.back().first >= shared) open.pop_back();
    if (shared > 0) {
      // The loader guarantees that an entry stored with a marker is never the first one, so an
      // earlier entry sharing fewer codes exists; stay safe for a vocabulary that breaks this.
      const size_t up = open.empty() ? 0 : open.back().second;
      const size_t distance = i - up;
      if (distance < kFarStep) {
        back_[i] = static_cast<uint8_t>(distance);
      } else {
        back_[i] = kFarStep;
        farBack_.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(distance)});
      }
    }
    open.push_back({shared, i});
  }
  blockMax_.assign((n + kFrequencyBlock - 1) / kFrequencyBlock, 0);
  groupMax_.assign((n + kFrequencyGroup - 1) / kFrequencyGroup, 0);
  for (size_t b = 0; b < blockMax_.size(); ++b) UpdateFrequencyBlock(b);

  // The prefix tree reads the words in order, each decoded from the one before it into one of
  // two fixed buffers (a word has at most 31 codes), without building a string per entry.
  prefixes_.Clear();
  char buffers[2][kMaxWordLength + 1];
  char* word = buffers[0];
  char* previous = buffers[1];
  size_t previousLength = 0;
  for (size_t i = 0; i < n; ++i) {
    const char* form = pool_.data() + entries_[i].offset;
    const size_t length = entries_[i].length;
    const auto first = static_cast<uint8_t>(form[0]);
    // The loader keeps only markers within the word and within the word before it, and lengths
    // up to 31.
    size_t kept = 0;  // leading codes taken from the word before
    if (first & 1) {
      kept = std::min<size_t>(first >> 1, previousLength);
      std::memcpy(word, previous, kept);
      std::memcpy(word + kept, form + 1, length - (first >> 1));
    } else {
      std::memcpy(word, form, length);
      word[0] = static_cast<char>(RestoreFirst(first));
    }
    const size_t wordLength = kept + length - ((first & 1) ? (first >> 1) : 0);
    size_t shared = kept;
    while (shared < wordLength && shared < previousLength && word[shared] == previous[shared]) {
      ++shared;
    }
    prefixes_.Add(static_cast<uint32_t>(i), std::string_view(word, wordLength), shared);
    std::swap(word, previous);
    previousLength = wordLength;
  }
  prefixes_.Finish();
}

size_t Vocabulary::FarStepBack(size_t index) const {
  const auto found =
      std::lower_bound(farBack_.begin(), farBack_.end(),
                       std::pair<uint32_t, uint32_t>(static_cast<uint32_t>(index), 0));
  return found != farBack_.end() && found->first == index ? found->second : 1;
}

void Vocabulary::UpdateFrequencyBlock(size_t block) {
  const size_t begin = block * kFrequencyBlock;
  const size_t end = std::min(begin + kFrequencyBlock, entries_.size());
  uint16_t best = 0;
  for (size_t i = begin; i < end; ++i) best = std::max(best, entries_[i].frequency);
  blockMax_[block] = best;
  const size_t perGroup = kFrequencyGroup / kFrequencyBlock;
  const size_t group = block / perGroup;
  const size_t last = std::min((group + 1) * perGroup, blockMax_.size());
  uint16_t groupBest = 0;
  for (size_t b = group * perGroup; b < last; ++b) groupBest = std::max(groupBest, blockMax_[b]);
  groupMax_[group] = groupBest;
}

size_t Vocabulary::MemoryBytes() const {
  return pool_.size() + entries_.size() * sizeof(VocabularyEntry) +
         pairs_.size() * sizeof(LetterPairRecord) + AidBytes();
}

size_t Vocabulary::AidBytes() const {
  return pairIndex_.size() * sizeof(pairIndex_[0]) + back_.size() +
         farBack_.size() * sizeof(farBack_[0]) +
         (blockMax_.size() + groupMax_.size()) * sizeof(uint16_t) + prefixes_.MemoryBytes();
}

namespace {

// The file's bytes from a buffer in memory.
class ByteSource {
 public:
  explicit ByteSource(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() const { return bytes_.size(); }
  size_t Remaining() const { return bytes_.size() - at_; }
  size_t Read(void* out, size_t count) {
    count = std::min(count, Remaining());
    if (count > 0) std::memcpy(out, bytes_.data() + at_, count);
    at_ += count;
    return count;
  }
  bool HasMore() const { return Remaining() > 0; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

// The file's bytes from a stream whose length is known, read straight into the vocabulary's
// containers: no copy of the whole file is made first. The length only bounds what is asked
// for; what fread returns decides, so a file that turns out shorter is cut where it ends.
class StreamSource {
 public:
  StreamSource(FILE* stream, uint64_t length) : stream_(stream), length_(length) {}
  uint64_t Size() const { return length_; }
  size_t Remaining() const { return static_cast<size_t>(length_ - consumed_); }
  size_t Read(void* out, size_t count) {
    count = std::min(count, Remaining());
    const size_t got = count > 0 ? std::fread(out, 1, count, stream_) : 0;
    consumed_ += got;
    if (got < count) length_ = consumed_;  // nothing lies beyond a short read
    return got;
  }
  // Bytes beyond the known length count too (a file that grew since it was measured).
  bool HasMore() { return Remaining() > 0 || std::fgetc(stream_) != EOF; }

 private:
  FILE* stream_;
  uint64_t length_;
  uint64_t consumed_ = 0;
};

template <class Source>
bool ReadCount(Source& source, uint32_t& value) {
  uint8_t bytes[4];
  if (source.Remaining() < 4 || source.Read(bytes, 4) < 4) return false;
  value = ReadLe32(bytes);
  return true;
}

}  // namespace

VocabularyLoadReport Vocabulary::LoadVocabulary(FILE* stream) {
  if (!stream) return LoadVocabularyBytes({});
  // A stream that can tell its length is read part by part into the containers that keep the
  // parts: reading the whole file into a buffer first, then copying out of it, touched every
  // byte twice more and, on first use, paid a page fault for every page of that buffer, which
  // came to a fair share of what loading a language costs. A stream that cannot seek is read
  // whole first.
  const long start = std::ftell(stream);
  if (start >= 0 && std::fseek(stream, 0, SEEK_END) == 0) {
    const long end = std::ftell(stream);
    if (std::fseek(stream, start, SEEK_SET) != 0) return LoadVocabularyBytes({});
    StreamSource source(stream, end > start ? static_cast<uint64_t>(end - start) : 0);
    return Load(source);
  }
  std::string bytes;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) bytes.append(chunk, got);
  return LoadVocabularyBytes(bytes);
}

VocabularyLoadReport Vocabulary::LoadVocabularyBytes(std::string_view bytes) {
  ByteSource source(bytes);
  return Load(source);
}

template <class Source>
VocabularyLoadReport Vocabulary::Load(Source& source) {
  Clear();
  VocabularyLoadReport report;
  report.fileSize = source.Size();

  // Entries, unpacked as they are read; nothing is sized from a count the bytes cannot back.
  uint32_t count = 0;
  if (!ReadCount(source, count)) {
    report.truncated = true;
    return report;
  }
  report.declaredEntries = count;
  const size_t entryCount = std::min<size_t>(count, source.Remaining() / 4);
  entries_.reserve(entryCount + kSpareEntries);
  uint8_t packed[16384];
  while (entries_.size() < entryCount) {
    const size_t want = std::min(entryCount - entries_.size(), sizeof packed / 4);
    const size_t got = source.Read(packed, want * 4) / 4;
    for (size_t i = 0; i < got; ++i) {
      const uint32_t value = ReadLe32(packed + i * 4);
      VocabularyEntry& entry = entries_.emplace_back();
      entry.offset = value & 0xFFFFF;
      entry.frequency = static_cast<uint16_t>((value >> 20) & 0x7F);
      entry.length = static_cast<uint16_t>(value >> 27);
    }
    if (got < want) break;
  }
  bool cut = entries_.size() < report.declaredEntries;

  // Pool.
  if (!cut && ReadCount(source, count)) {
    report.declaredPool = count;
    const size_t poolSize = std::min<size_t>(count, source.Remaining());
    pool_.reserve(poolSize + kSparePool);
    pool_.resize(poolSize);
    pool_.resize(source.Read(pool_.data(), poolSize));
    cut = pool_.size() < report.declaredPool;
  } else {
    cut = true;
  }

  // Letter-pair records: only complete ones are kept. A record is the same 12 bytes in memory
  // as in the file; its key is read as the little-endian number it is.
  if (!cut && ReadCount(source, count)) {
    report.declaredPairs = count;
    const size_t pairCount = std::min<size_t>(count, source.Remaining() / sizeof(LetterPairRecord));
    pairs_.resize(pairCount);
    pairs_.resize(source.Read(pairs_.data(), pairCount * sizeof(LetterPairRecord)) /
                  sizeof(LetterPairRecord));
    for (LetterPairRecord& record : pairs_) {
      uint8_t key[2];
      std::memcpy(key, &record.key, 2);
      record.key = ReadLe16(key);
      if (record.count < 0 || record.count > kMaxPairLetters) {
        record.count = record.count < 0 ? 0 : kMaxPairLetters;
        ++report.clampedPairCounts;
      }
    }
    cut = pairs_.size() < report.declaredPairs;
    report.trailingBytes = !cut && source.HasMore();
  } else {
    cut = true;
  }
  report.truncated = cut;

  // Keep the entries up to the first one that cannot be decoded from the pool. Every check here
  // is what DecodeEntry, LetterAt and InsertWord rely on to stay inside the pool.
  size_t previousEnd = 0;
  size_t previousLength = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const VocabularyEntry& entry = entries_[i];
    bool sound = entry.length >= 1 && entry.offset >= previousEnd && entry.offset < pool_.size();
    size_t stored = 0;
    if (sound) {
      const auto first = static_cast<uint8_t>(pool_[entry.offset]);
      if (first == 0) {
        sound = false;
      } else if (first & 1) {
        const size_t p = first >> 1;
        sound = i > 0 && p >= 1 && p <= entry.length && p <= previousLength;
        stored = entry.length - p + 1;
      } else {
        stored = entry.length;
      }
      sound = sound && entry.offset + stored <= pool_.size() &&
              std::memchr(pool_.data() + entry.offset + 1, 0, stored - 1) == nullptr;
    }
    if (!sound) {
      report.firstBadEntry = static_cast<int64_t>(i);
      entries_.resize(i);
      break;
    }
    previousEnd = entry.offset + stored;
    previousLength = entry.length;
  }

  report.entries = entries_.size();
  report.pool = pool_.size();
  report.pairs = pairs_.size();
  pairIndex_.reserve(pairs_.size());
  for (size_t i = 0; i < pairs_.size(); ++i)
    pairIndex_.push_back({pairs_[i].key, static_cast<uint32_t>(i)});
  std::sort(pairIndex_.begin(), pairIndex_.end());
  pairIndex_.erase(std::unique(pairIndex_.begin(), pairIndex_.end(),
                               [](const auto& a, const auto& b) { return a.first == b.first; }),
                   pairIndex_.end());
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
  out.reserve(12 + entries_.size() * 4 + pool_.size() + pairs_.size() * 12);
  AppendLe32(out, static_cast<uint32_t>(entries_.size()));
  for (const VocabularyEntry& entry : entries_) {
    const uint32_t frequency = std::min<uint32_t>(entry.frequency, kMaxFileFrequency);
    AppendLe32(out, (entry.offset & 0xFFFFF) | frequency << 20 |
                        static_cast<uint32_t>(entry.length & 31) << 27);
  }
  AppendLe32(out, static_cast<uint32_t>(pool_.size()));
  out += pool_;
  AppendLe32(out, static_cast<uint32_t>(pairs_.size()));
  for (const LetterPairRecord& record : pairs_) {
    AppendLe16(out, record.key);
    out.append(reinterpret_cast<const char*>(record.letters), kMaxPairLetters);
    out.append(reinterpret_cast<const char*>(record.weights), kMaxPairLetters);
    out += static_cast<char>(record.count);
    out += static_cast<char>(record.unused);
  }
  return out;
}

size_t Vocabulary::StoredLength(size_t index) const {
  const VocabularyEntry& entry = entries_[index];
  if (entry.offset >= pool_.size()) return 0;
  const auto first = static_cast<uint8_t>(pool_[entry.offset]);
  size_t stored = entry.length;
  if (first & 1) {
    const size_t p = first >> 1;
    stored = p <= entry.length ? entry.length - p + 1 : 1;
  }
  return std::min(stored, pool_.size() - entry.offset);
}

std::string_view Vocabulary::StoredForm(size_t index) const {
  if (index >= entries_.size()) return {};
  return std::string_view(pool_).substr(entries_[index].offset, StoredLength(index));
}

size_t Vocabulary::DecodeEntry(size_t index, uint8_t* buffer) const {
  buffer[0] = 0;
  if (index >= entries_.size()) return 0;
  // The word is filled from its end: an entry stored with a marker of p codes gives the codes
  // from position p on, and the first p codes are those of the entries before it. Every entry
  // that back_ steps over shares at least as many codes with the word, so the codes still
  // missing are found with a few steps rather than a walk over every earlier entry.
  const size_t length = entries_[index].length;
  size_t missing = length;  // positions [0, missing) are still to be filled
  size_t j = index;
  while (missing > 0) {
    const VocabularyEntry& entry = entries_[j];
    const auto* form = reinterpret_cast<const uint8_t*>(pool_.data()) + entry.offset;
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
    const size_t step = StepBack(j);
    if (step == 0) {  // a marker with nothing before it: keep what could be decoded
      std::memmove(buffer, buffer + missing, length - missing);
      buffer[length - missing] = 0;
      return length - missing;
    }
    j -= step;
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
  if (index >= entries_.size() || position >= entries_[index].length) return 0;
  // A marker of p codes means the first p letters are those of the entry before; step back
  // until the position lies in an entry's own stored codes. The steps of back_ pass over entries
  // that share even more codes with their predecessors, which cannot hold the letter either.
  for (;;) {
    const size_t offset = entries_[index].offset;
    const auto first = static_cast<uint8_t>(pool_[offset]);
    if (!(first & 1)) {
      return position == 0 ? RestoreFirst(first) : static_cast<uint8_t>(pool_[offset + position]);
    }
    const size_t p = first >> 1;
    if (position >= p) return static_cast<uint8_t>(pool_[offset + 1 + position - p]);
    const size_t step = StepBack(index);
    if (step == 0) return 0;  // a marker with nothing before it: no such letter
    index -= step;
  }
}

int32_t Vocabulary::FindWord(std::string_view word) const {
  const size_t count = entries_.size();
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
  if (position > entries_.size()) return false;
  if (pool_.size() + word.size() >= kPoolLimit) return false;

  const LetterCodes previous = position > 0 ? DecodeEntry(position - 1) : LetterCodes();
  const std::string stored = StoredFormAfter(previous, word);
  const bool hasNext = position < entries_.size();
  std::string recoded;
  size_t oldStored = 0;
  size_t offset = pool_.size();
  if (hasNext) {
    recoded = StoredFormAfter(word, DecodeEntry(position));
    oldStored = StoredLength(position);
    offset = entries_[position].offset;
  }
  const auto growth =
      static_cast<int64_t>(stored.size() + recoded.size()) - static_cast<int64_t>(oldStored);

  pool_.replace(offset, oldStored, stored + recoded);
  if (hasNext) {
    entries_[position].offset += static_cast<uint32_t>(stored.size());
    for (size_t k = position + 1; k < entries_.size(); ++k) {
      entries_[k].offset = static_cast<uint32_t>(static_cast<int64_t>(entries_[k].offset) + growth);
    }
  }
  VocabularyEntry entry;
  entry.offset = static_cast<uint32_t>(offset);
  entry.frequency = static_cast<uint16_t>(frequency);
  entry.length = static_cast<uint16_t>(word.size());
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position), entry);
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
  return index < entries_.size() ? entries_[index].frequency : 0;
}

void Vocabulary::SetEntryFrequency(size_t index, uint16_t frequency) {
  if (index >= entries_.size()) return;
  entries_[index].frequency = frequency;
  if (!aidsStale_) UpdateFrequencyBlock(index / kFrequencyBlock);
}

uint16_t Vocabulary::EntryLength(size_t index) const {
  return index < entries_.size() ? entries_[index].length : 0;
}

int64_t Vocabulary::FindPair(uint16_t key) const {
  const auto found =
      std::lower_bound(pairIndex_.begin(), pairIndex_.end(), std::pair<uint16_t, uint32_t>(key, 0));
  return found != pairIndex_.end() && found->first == key ? found->second : -1;
}

LetterPairRecord Vocabulary::GetPair(size_t index) const {
  return index < pairs_.size() ? pairs_[index] : LetterPairRecord();
}

}  // namespace tessaline
