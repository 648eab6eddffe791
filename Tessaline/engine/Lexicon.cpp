#include "engine/Lexicon.h"

namespace tessaline {

VocabularyLoadReport Lexicon::LoadMapped(std::shared_ptr<const MappedFile> mapping,
                                         std::shared_ptr<const MappedFile> aids) {
  user_.Clear();
  return base_.LoadMapped(std::move(mapping), std::move(aids));
}

VocabularyLoadReport Lexicon::LoadVocabulary(FILE* stream) {
  user_.Clear();
  return base_.LoadVocabulary(stream);
}

VocabularyLoadReport Lexicon::LoadVocabularyBytes(std::string_view bytes) {
  user_.Clear();
  return base_.LoadVocabularyBytes(bytes);
}

void Lexicon::Clear() {
  base_.Clear();
  user_.Clear();
}

size_t Lexicon::DecodeEntry(size_t index, uint8_t* buffer) const {
  const size_t n = base_.EntryCount();
  return index < n ? base_.DecodeEntry(index, buffer) : user_.DecodeEntry(index - n, buffer);
}

LetterCodes Lexicon::DecodeEntry(size_t index) const {
  const size_t n = base_.EntryCount();
  return index < n ? base_.DecodeEntry(index) : user_.DecodeEntry(index - n);
}

uint16_t Lexicon::EntryFrequency(size_t index) const {
  const size_t n = base_.EntryCount();
  return index < n ? base_.EntryFrequency(index) : user_.EntryFrequency(index - n);
}

void Lexicon::SetEntryFrequency(size_t index, uint16_t frequency) {
  const size_t n = base_.EntryCount();
  if (index < n) {
    base_.SetEntryFrequency(index, frequency);
  } else {
    user_.SetEntryFrequency(index - n, frequency);
  }
}

uint16_t Lexicon::EntryLength(size_t index) const {
  const size_t n = base_.EntryCount();
  return index < n ? base_.EntryLength(index) : user_.EntryLength(index - n);
}

int32_t Lexicon::FindWord(std::string_view word) const {
  const int32_t inBase = base_.FindWord(word);
  if (inBase >= 0) return inBase;
  const int32_t inUser = user_.FindWord(word);
  if (inUser >= 0) return static_cast<int32_t>(base_.EntryCount()) + inUser;
  return inBase;
}

bool Lexicon::InsertIfAbsent(std::string_view word, int frequency) {
  if (base_.FindWord(word) >= 0) return false;
  return user_.InsertIfAbsent(word, frequency);
}

}  // namespace tessaline
