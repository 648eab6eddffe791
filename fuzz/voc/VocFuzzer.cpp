// Arbitrary bytes as a vocabulary file: the reader keeps only what decodes safely, and what it
// keeps must stay decodable through insertion and survive being written and read again. The key
// search over it stays inside the entries, and on a sorted file it finds every word typed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/KeySearch.h"
#include "engine/Vocabulary.h"
#include "../KeyMapFromText.h"

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

// Keys 2 to 9 hold the eight letters of charsets 0 to 7, so most codes of a file lie on a key.
const tessaline::KeyMap& EightKeys() {
  static const tessaline::KeyMap map = [] {
    std::string text;
    for (int c = 0; c < 8; ++c) {
      text += "charset=" + std::to_string(c) + ",0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\n";
      text += "chararray=" + std::to_string(2 + c);
      for (int p = 0; p < 8; ++p) text += "," + std::to_string(c * 100 + p);
      text += "\n";
    }
    return tessaline::fuzzing::KeyMapFromText(text);
  }();
  return map;
}

void CheckSearch(const tessaline::Vocabulary& voc) {
  const tessaline::KeyMap& keys = EightKeys();
  bool sorted = true;
  for (size_t i = 1; i < voc.EntryCount() && sorted; ++i) {
    sorted = tessaline::CompareWords(voc.DecodeEntry(i - 1), voc.DecodeEntry(i)) <= 0;
  }
  std::vector<int8_t> typed;
  std::vector<tessaline::EntryRange> ranges;
  for (size_t i = 0; i < voc.EntryCount() && i < 16; ++i) {
    if (!tessaline::KeysOfWord(keys, voc.DecodeEntry(i), typed)) continue;
    for (size_t n = 1; n <= typed.size(); ++n) {
      tessaline::SearchKeyRanges(voc, keys, typed.data(), n, ranges);
      bool found = false;
      for (const tessaline::EntryRange& r : ranges) {
        Check(r.first <= r.last && r.last < voc.EntryCount());
        found = found || (r.first <= i && i <= r.last);
      }
      Check(found || !sorted);
    }
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
  CheckSearch(voc);
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
  CheckSearch(voc);

  tessaline::Vocabulary again(keys);
  const tessaline::VocabularyLoadReport reread = again.LoadVocabularyBytes(voc.FileBytes());
  Check(reread.firstBadEntry < 0 && !reread.truncated && again.EntryCount() == voc.EntryCount());
  return 0;
}
