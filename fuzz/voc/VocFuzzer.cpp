// Arbitrary bytes as a vocabulary file: the reader keeps only what decodes safely, and what it
// keeps must stay decodable through insertion and survive being written and read again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/Vocabulary.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckEntries(const tessaline::Vocabulary& voc) {
  uint8_t buffer[tessaline::kDecodeBufferSize];
  for (size_t i = 0; i < voc.EntryCount(); ++i) {
    const size_t length = voc.DecodeEntry(i, buffer);
    Check(length == voc.EntryLength(i) && length >= 1 && length <= 31);
    for (size_t d = 0; d < length; ++d) Check(voc.LetterAt(i, d) == buffer[d] && buffer[d] != 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tessaline::KeyMap keys;
  tessaline::Vocabulary voc(keys);
  const tessaline::VocabularyLoadReport report = voc.LoadVocabularyBytes(bytes);
  Check(report.entries <= size / 4 && report.pool <= size && report.pairs <= size / 12);
  CheckEntries(voc);
  for (size_t i = 0; i < voc.PairCount(); ++i) {
    const int count = voc.GetPair(i).count;
    Check(count >= 0 && count <= 4);
  }

  // Words made of the file's own bytes, inserted where FindWord puts them.
  for (size_t at = 0; at + 1 < size && at < 64; at += 7) {
    std::string word(bytes.substr(at, 1 + data[at] % 8));
    for (char& c : word) {
      if (c == 0) c = 1;
    }
    voc.InsertIfAbsent(word, data[at + 1] & 0x7F);
  }
  CheckEntries(voc);

  tessaline::Vocabulary again(keys);
  const tessaline::VocabularyLoadReport reread = again.LoadVocabularyBytes(voc.FileBytes());
  Check(reread.firstBadEntry < 0 && !reread.truncated && again.EntryCount() == voc.EntryCount());
  return 0;
}
