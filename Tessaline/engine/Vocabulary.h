// The vocabulary of a language: a sorted, front-coded word list in one byte pool, and the
// letter-pair table from which the word search guesses letters past the list.
//
// Words are strings of letter codes (languages/KeyMap.h), 1 to 31 codes long, sorted byte by byte
// as unsigned values (a word sorts before every longer word it begins). Each entry's stored form
// lies in the pool, in entry order:
//  - when the word shares p >= 2 leading codes with the word before it, one marker byte 2p + 1
//    followed by the codes from position p on (stored length: length - p + 1);
//  - otherwise the word itself with its first code rewritten to an even byte: high four bits
//    unchanged, low four bits (low & 7) * 2 (stored length: the word's length).
// Nothing is kept decoded: every access walks the front-coding chain backwards as far as needed.
// To keep that walk short in long runs of words that share a prefix, the smallest marker of each
// block of entries (and of each block of blocks) is kept, so the walk passes over the blocks that
// hold none of the codes it needs; the search also narrows by a tree of the words' first letters
// (from which decoding takes them too), and ranks by block maxima of frequency. These search aids
// are flat arrays of fixed-width integers derived from the entries, 0.6 to 0.8 bytes per entry
// together for the shipped vocabularies (bench/README.md). The compiler writes them beside the
// vocabulary file, in the search-aids file (engine/SearchAidsFile.h); a load that is given that
// file and finds it made for these very bytes uses its arrays in place instead of deriving them.
//
// The vocabulary file (.voc, little-endian, no header):
//   N (4), N packed entries (4 each: bits 0-19 offset, 20-26 frequency, 27-31 length),
//   P (4), P pool bytes, B (4), B letter-pair records (12 each).
// The file is outside data. The reader never reads or allocates beyond what the file holds, and
// keeps only what can be decoded safely (see LoadVocabulary); a well-formed file loads whole.
//
// The entries, the pool and the letter-pair records are used in place, as the file has them:
// from a read-only mapping of the file (LoadMapped), or from a copy of its bytes. What changes at
// run time lives beside them: frequencies that differ from the file's in a small table by entry,
// and an inserted word makes the vocabulary take copies of its entries and pool first (the
// language keeps the user's words in a vocabulary of their own for that reason, engine/Lexicon.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/FlatArray.h"
#include "engine/PrefixTree.h"
#include "languages/KeyMap.h"
#include "system/ByteCoding.h"
#include "system/MappedFile.h"

namespace tessaline {

constexpr int kMaxWordLength = 31;         // letter codes of a vocabulary word
constexpr uint32_t kPoolLimit = 1u << 20;  // the reach of the 20-bit offset
constexpr int kMaxFileFrequency = 127;     // frequencies a file (and InsertWord) may hold
constexpr size_t kDecodeBufferSize = 256;  // DecodeEntry's buffer, terminator included
constexpr int kMaxPairLetters = 4;

struct VocabularyEntry {
  uint32_t offset = 0;     // start of the stored form in the pool, below 2^20
  uint16_t frequency = 0;  // 0 to 127 from the file, up to 254 after adaptation
  uint16_t length = 0;     // letter codes of the word, 1 to 31
};

// One record of the letter-pair table, the same 12 bytes in memory and in the file.
struct LetterPairRecord {
  uint16_t key = 0;                       // formed from the last two letters of a word
  uint8_t letters[kMaxPairLetters] = {};  // next letters (letter codes)
  int8_t weights[kMaxPairLetters] = {};   // one weight per next letter
  int8_t count = 0;                       // valid next letters, 0 to 4
  uint8_t unused = 0;
};
static_assert(sizeof(LetterPairRecord) == 12);

// What LoadVocabulary found: the counts the file declares against what it kept.
struct VocabularyLoadReport {
  uint64_t fileSize = 0;
  uint32_t declaredEntries = 0;
  uint32_t declaredPool = 0;
  uint32_t declaredPairs = 0;
  size_t entries = 0;  // entries kept
  size_t pool = 0;     // pool bytes kept
  size_t pairs = 0;    // letter-pair records kept
  // Index of the first entry that could not be decoded safely (it and every later entry were
  // dropped), or -1 when none was.
  int64_t firstBadEntry = -1;
  size_t clampedPairCounts = 0;  // pair records whose count lay outside 0 to 4
  bool truncated = false;        // the file ended before its counts said
  bool trailingBytes = false;    // bytes after the last letter-pair record
  // Whether the search aids were read from a search-aids file rather than derived.
  bool aidsFromFile = false;

  // True when the file was well-formed and loaded whole.
  bool Complete() const {
    return !truncated && firstBadEntry < 0 && clampedPairCounts == 0 && !trailingBytes;
  }
};

class Vocabulary {
 public:
  explicit Vocabulary(const KeyMap& keyMap) : keyMap_(&keyMap) {}
  Vocabulary(const Vocabulary&) = delete;
  Vocabulary& operator=(const Vocabulary&) = delete;

  // Empties the vocabulary and reads a .voc file from the stream (binary). What a file that is
  // cut short or lies about its counts yields:
  //  - the entries, pool bytes and letter-pair records it actually holds, never more than its
  //    counts say; a count beyond the file's end keeps the complete items that are there, and
  //    everything after that point is absent (a cut entry table leaves no pool and no pairs);
  //  - entries are checked in order as they are decoded; the first entry that cannot be decoded
  //    from the pool (length 0, stored form outside the pool or overlapping the entry before, a
  //    zero byte, a marker at the first entry or sharing more codes than the word before it has)
  //    is dropped with every entry after it, since later entries are coded against it;
  //  - a letter-pair count outside 0 to 4 is brought into that range.
  VocabularyLoadReport LoadVocabulary(FILE* stream);
  // The same from the file's bytes (copied).
  VocabularyLoadReport LoadVocabularyBytes(std::string_view bytes);
  // The same from a mapping of the file, used in place and held for as long as this vocabulary
  // reads it (a null mapping loads nothing). With a mapping of the search-aids file made for
  // exactly these bytes (engine/SearchAidsFile.h), its aids are used in place as well; any other
  // (none, stale, damaged) is let go and the aids are derived, with the same result.
  VocabularyLoadReport LoadMapped(std::shared_ptr<const MappedFile> mapping,
                                  std::shared_ptr<const MappedFile> aids = nullptr);
  // The vocabulary as a .voc file.
  std::string FileBytes() const;
  void Clear();

  size_t EntryCount() const { return entryCount_; }
  size_t PoolSize() const { return pool_.size(); }
  const KeyMap& Keys() const { return *keyMap_; }

  // The entry's word as terminated letter codes in a buffer of kDecodeBufferSize bytes; returns
  // its length. An index out of range gives the empty word.
  size_t DecodeEntry(size_t index, uint8_t* buffer) const;
  LetterCodes DecodeEntry(size_t index) const;
  // The letter code at one position of an entry's word, without decoding the rest; 0 when the
  // index or the position is out of range.
  uint8_t LetterAt(size_t index, size_t position) const;
  // The letter codes at one position of the entries [first, last] (both in range, first <= last;
  // the words of the range sorted by their letters there) as runs of equal letters: run r has the
  // letter letters[r] (0 for the words too short to have one) and begins at entry starts[r].
  // Returns the number of runs, at most last - first + 1. Reads the letter only from the entries
  // whose stored codes hold the position.
  size_t LetterRuns(size_t first, size_t last, size_t position, uint8_t* letters,
                    uint32_t* starts) const;

  // The entry index of the word, or -(insertion position) - 1 when absent.
  int32_t FindWord(std::string_view word) const;
  // Inserts a new entry at the position (see InsertWord in Vocabulary.cpp). Nothing happens for
  // an empty word, a word longer than 31 codes or holding a 0, a first code naming a letter
  // position above 7 (it cannot be stored whole), a frequency outside 0 to 127, a full pool, or
  // a position beyond the entry count; the result says whether it was inserted.
  bool InsertWord(size_t position, std::string_view word, int frequency);
  // Many insertions in a row (the user's words when a language loads): between Begin and End the
  // search aids are not rebuilt after each word, nor after a load, but once at the end; decoding
  // meanwhile walks entry by entry. The search must not run in between. Calls nest.
  void BeginBulkInsert();
  void EndBulkInsert();
  // FindWord, then InsertWord at the insertion position when absent. False only when the word
  // is present; true also when InsertWord refused the word for a limit.
  bool InsertIfAbsent(std::string_view word, int frequency);

  uint16_t EntryFrequency(size_t index) const;
  void SetEntryFrequency(size_t index, uint16_t frequency);
  uint16_t EntryLength(size_t index) const;
  // The entry as the search reads it (its frequency as changed at run time); the index must be
  // in range.
  VocabularyEntry Entry(size_t index) const {
    return {OffsetOf(index), FrequencyOf(index), LengthOf(index)};
  }
  // The stored form of an entry (for inspection tools).
  std::string_view StoredForm(size_t index) const;

  size_t PairCount() const { return pairCount_; }
  // A copy of the record; an empty record for an index out of range.
  LetterPairRecord GetPair(size_t index) const;
  // The index of the first record in table order whose pair key is `key`, or -1 when none is.
  int64_t FindPair(uint16_t key) const;

  // The highest frequency among entries [block * kFrequencyBlock, (block + 1) * kFrequencyBlock),
  // and among the entries of a group of kFrequencyBlock blocks, so that ranking can pass over
  // blocks and whole groups that cannot hold a better candidate.
  static constexpr size_t kFrequencyBlock = 64;
  static constexpr size_t kFrequencyGroup = kFrequencyBlock * 64;
  uint16_t BlockMaxFrequency(size_t block) const { return blockMax_[block]; }
  // Whether any entry of the block has a frequency changed at run time; where none has, the
  // file's frequencies are the entries' (`FileFrequency`), read without the table of changes.
  bool BlockChanged(size_t block) const {
    return !changedBlocks_.empty() && (changedBlocks_[block / 64] >> (block % 64) & 1);
  }
  uint16_t FileFrequency(size_t index) const {
    return static_cast<uint16_t>((PackedAt(index) >> 20) & 0x7F);
  }
  uint16_t GroupMaxFrequency(size_t group) const { return groupMax_[group]; }

  // The first letters of the words as a tree (engine/PrefixTree.h), for narrowing the entries
  // that typed keys select without decoding words.
  const PrefixTree& Prefixes() const { return prefixes_; }

  // The levels of marker minima for a number of entries: their count, where each begins (and the
  // total after the last: `starts` holds one more than the levels) and how many minima each has
  // before its padding.
  static size_t MarkLayout(size_t entries, size_t* starts, size_t* sizes);

  // Bytes held by the vocabulary (the file's bytes, mapped or copied, the frequencies changed at
  // run time and the search aids), by the aids alone (what loading derives from the file, or
  // reads from the search-aids file), and the part of the first that is a mapping of a file (the
  // vocabulary file's, the search-aids file's) rather than the process's own memory.
  size_t MemoryBytes() const;
  size_t AidBytes() const;
  size_t MappedBytes() const {
    return (mapping_ ? mapping_->Bytes().size() : 0) + (aidsMapping_ ? aidsMapping_->Bytes().size() : 0);
  }
  // Of the aids, the bytes that are the process's own memory (all of them when derived).
  size_t PrivateAidBytes() const;
  // Whether the entries are read from a mapping of the file, and the aids from one of theirs.
  bool Mapped() const { return mapping_ != nullptr; }
  bool AidsMapped() const { return aidsMapping_ != nullptr; }

 private:
  friend class SearchAidsFile;  // writes the aids, and reads them in place
  // The loader behind both: reads the file's parts from a source of bytes (a buffer, or a
  // stream read straight into the containers), then keeps what decodes safely.
  // Takes the file's bytes (held by mapping_ or image_) as the vocabulary, keeping what decodes
  // safely.
  VocabularyLoadReport Adopt(std::string_view bytes, std::string_view aids = {});
  // Makes aids viewed in the search-aids file the vocabulary's own copies, and lets it go.
  void OwnAids();
  // Before a change of the entries or the pool: from here on they are the vocabulary's own
  // copies (ownedEntries_, ownedPool_, ownedPairs_), no longer the file's bytes.
  void TakeCopies();
  void SetPacked(size_t index, uint32_t value);
  uint32_t PackedAt(size_t index) const { return ReadLe32(entryBytes_ + index * 4); }
  uint32_t OffsetOf(size_t index) const { return PackedAt(index) & 0xFFFFF; }
  uint16_t LengthOf(size_t index) const { return static_cast<uint16_t>(PackedAt(index) >> 27); }
  uint16_t FrequencyOf(size_t index) const {
    return BlockChanged(index / kFrequencyBlock) ? ChangedFrequency(index)
                                                  : FileFrequency(index);
  }
  uint16_t ChangedFrequency(size_t index) const;
  void RebuildChangedBlocks();
  // Sets or clears the block's bit by whether the table lists any of its entries.
  void MarkChangedBlock(size_t block);
  size_t StoredLength(size_t index) const;
  // The codes that entry i takes from the word before it: p for a marker of p codes, 0 for a
  // word stored whole.
  uint8_t SharedOf(size_t i) const {
    const auto first = static_cast<uint8_t>(pool_.data()[OffsetOf(i)]);
    return (first & 1) ? static_cast<uint8_t>(first >> 1) : 0;
  }
  // The search aids are derived from the entries and kept in step with every change: rebuilt
  // whole when entries are loaded or inserted, one block at a time when a frequency changes.
  void RebuildSearchAids();
  void SizeMarkMinima();
  void FinishMarkMinima();
  void UpdateFrequencyBlock(size_t block);
  // The last entry at or before `index` that takes at most `limit` codes from the word before
  // it, or kNoEntry when none does. Every entry passed over takes more, so it holds none of the
  // codes at positions up to `limit`: decoding finds the codes it still misses there. While the
  // aids are stale it walks back one entry at a time.
  static constexpr size_t kNoEntry = SIZE_MAX;
  size_t LastSharingAtMost(size_t index, size_t limit) const;

  const KeyMap* keyMap_;
  // Where the entries, the pool and the letter-pair records are read: the mapping of the file,
  // a copy of the file's bytes, or (once words were inserted) copies of the parts alone.
  std::shared_ptr<const MappedFile> mapping_;
  std::shared_ptr<const MappedFile> aidsMapping_;  // while aids are viewed in it
  std::string image_;
  std::string ownedEntries_;
  std::string ownedPool_;
  std::string ownedPairs_;
  const uint8_t* entryBytes_ = nullptr;  // packed entries, 4 bytes each as in the file
  size_t entryCount_ = 0;
  std::string_view pool_;
  const uint8_t* pairBytes_ = nullptr;  // letter-pair records, 12 bytes each as in the file
  size_t pairCount_ = 0;
  // Frequencies that differ from the entries' own, by entry (ascending), and one bit for each
  // frequency block holding any, so that reading a frequency looks at the table only there.
  std::vector<std::pair<uint32_t, uint16_t>> changedFrequencies_;
  std::vector<uint64_t> changedBlocks_;
  // The distinct pair keys ascending, and the index of the first record with each: the word
  // search looks up a pair at every guessed letter, and the table is not sorted in every file.
  FlatArray<uint16_t> pairKeys_;
  FlatArray<uint32_t> pairFirst_;
  // The smallest number of codes that an entry of each block of kMarkBlock entries takes from
  // the word before it (level 0), then the smallest of each kMarkBlock blocks of the level below
  // (levels 1 and up), until a level has at most kMarkBlock blocks; the levels lie one after the
  // other, level l from markLevelStart_[l], its size markLevelStart_[l + 1] - markLevelStart_[l].
  static constexpr size_t kMarkBlock = 16;
  static constexpr size_t kMarkFanout = 16;
  static constexpr size_t kMaxMarkLevels = 8;
  FlatArray<uint8_t> markMin_;
  size_t markLevelStart_[kMaxMarkLevels + 1] = {};
  size_t markLevels_ = 0;
  // Viewed in a search-aids file, the maxima are copied before a run-time change.
  FlatArray<uint16_t> blockMax_;
  FlatArray<uint16_t> groupMax_;
  int bulkInserts_ = 0;
  bool aidsStale_ = false;
  PrefixTree prefixes_;
};

// Compares two words byte by byte as unsigned values; a word sorts before every longer word it
// begins. Negative, 0 or positive.
int CompareWords(std::string_view a, std::string_view b);

// The stored form of a word after the word before it (empty for the first entry).
std::string StoredFormAfter(std::string_view previous, std::string_view word);

}  // namespace tessaline
