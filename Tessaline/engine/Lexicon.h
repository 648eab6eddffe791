// The words a language offers: its vocabulary file, mapped and used in place, and the user's own
// words in a small vocabulary beside it.
//
// An entry index below Base().EntryCount() is the file's entry; the user's words follow, in their
// own order (Base().EntryCount() + their index in User()). A file's entry keeps its index however
// many words the user adds. The word search looks in both and merges what it finds in the order
// of one sorted list (engine/WordSearch.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/Vocabulary.h"

namespace tessaline {

class Lexicon {
 public:
  explicit Lexicon(const KeyMap& keyMap) : base_(keyMap), user_(keyMap) {}
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;

  // The file's vocabulary from a mapping, a stream or bytes (Vocabulary's rules); the user's
  // words are emptied.
  VocabularyLoadReport LoadMapped(std::shared_ptr<const MappedFile> mapping,
                                  std::shared_ptr<const MappedFile> aids = nullptr);
  VocabularyLoadReport LoadVocabulary(FILE* stream);
  VocabularyLoadReport LoadVocabularyBytes(std::string_view bytes);
  void Clear();

  const Vocabulary& Base() const { return base_; }
  const Vocabulary& User() const { return user_; }
  const KeyMap& Keys() const { return base_.Keys(); }

  size_t EntryCount() const { return base_.EntryCount() + user_.EntryCount(); }
  size_t DecodeEntry(size_t index, uint8_t* buffer) const;
  LetterCodes DecodeEntry(size_t index) const;
  uint16_t EntryFrequency(size_t index) const;
  void SetEntryFrequency(size_t index, uint16_t frequency);
  uint16_t EntryLength(size_t index) const;

  // The entry index of the word; when neither part holds it, -(its insertion position among the
  // file's words) - 1, as Vocabulary::FindWord.
  int32_t FindWord(std::string_view word) const;
  // Adds a word the file does not hold to the user's words (Vocabulary::InsertIfAbsent's rules).
  // False only when the word is present.
  bool InsertIfAbsent(std::string_view word, int frequency);
  // Many user words in a row: their search aids are made once at the end.
  void BeginBulkInsert() { user_.BeginBulkInsert(); }
  void EndBulkInsert() { user_.EndBulkInsert(); }

  size_t PairCount() const { return base_.PairCount(); }
  LetterPairRecord GetPair(size_t index) const { return base_.GetPair(index); }
  int64_t FindPair(uint16_t key) const { return base_.FindPair(key); }

  size_t MemoryBytes() const { return base_.MemoryBytes() + user_.MemoryBytes(); }
  size_t AidBytes() const { return base_.AidBytes() + user_.AidBytes(); }
  size_t MappedBytes() const { return base_.MappedBytes(); }

 private:
  Vocabulary base_;
  Vocabulary user_;
};

}  // namespace tessaline
