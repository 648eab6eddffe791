// Arbitrary bytes as the search-aids file beside a fixed vocabulary file (Words.voc, 4,000
// English words; the seed corpus is its aids file as `tessaline voc aids` writes it). Each input
// is tried twice: as it is, and with its size and hash fields set to what the vocabulary and its
// own bytes give, so that the checks of its structure alone decide. Every read of an accepted
// file stays inside the arrays, and the key ranges inside the entries; an input accepted as it is
// reads exactly as the derived aids.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/KeySearch.h"
#include "engine/SearchAidsFile.h"
#include "engine/Vocabulary.h"
#include "../KeyMapFromText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Bytes held in memory as a mapping holds a file's, at an address aligned like a page.
class MemoryFile : public tessaline::MappedFile {
 public:
  explicit MemoryFile(std::string_view bytes) : words_((bytes.size() + 3) / 4), size_(bytes.size()) {
    if (size_ > 0) std::memcpy(words_.data(), bytes.data(), size_);
  }
  std::string_view Bytes() const override {
    return {reinterpret_cast<const char*>(words_.data()), size_};
  }

 private:
  std::vector<uint32_t> words_;
  size_t size_;
};

std::string ReadFile(const char* path) {
  std::string bytes;
  if (FILE* file = std::fopen(path, "rb")) {
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
  }
  return bytes;
}

const std::string& VocabularyBytes() {
  static const std::string bytes = ReadFile(TESSALINE_AIDS_VOCABULARY);
  return bytes;
}

// Keys 2 to 9 over the English letter codes: charsets 0 to 3 (a-h, i-p, q-x, y-z).
const tessaline::KeyMap& Keys() {
  static const tessaline::KeyMap map = [] {
    const std::string text =
        "charset=0,0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\n"
        "charset=1,0x69,0x6A,0x6B,0x6C,0x6D,0x6E,0x6F,0x70\n"
        "charset=2,0x71,0x72,0x73,0x74,0x75,0x76,0x77,0x78\n"
        "charset=3,0x79,0x7A\n"
        "chararray=2,0,1,2\nchararray=3,3,4,5\nchararray=4,6,7,100\nchararray=5,101,102,103\n"
        "chararray=6,104,105,106\nchararray=7,107,200,201,202\nchararray=8,203,204,205\n"
        "chararray=9,206,207,300,301\n";
    return tessaline::fuzzing::KeyMapFromText(text);
  }();
  return map;
}

const tessaline::Vocabulary& Derived() {
  static const auto* voc = [] {
    auto* loaded = new tessaline::Vocabulary(Keys());
    loaded->LoadVocabularyBytes(VocabularyBytes());
    Check(loaded->EntryCount() > 1000);
    return loaded;
  }();
  return *voc;
}

// The key sequences searched: every one of one and two keys, and some longer ones.
const std::vector<std::vector<int8_t>>& Sequences() {
  static const std::vector<std::vector<int8_t>> sequences = [] {
    std::vector<std::vector<int8_t>> all;
    for (int8_t a = 2; a <= 9; ++a) {
      all.push_back({a});
      for (int8_t b = 2; b <= 9; ++b) all.push_back({a, b});
      all.push_back({a, 3, 7, 3, 4});
    }
    return all;
  }();
  return sequences;
}

// What a search reads, flattened: the key ranges of every sequence, every decoded entry, the
// block maxima and the pairs found for a sample of keys.
std::vector<uint32_t> Reads(const tessaline::Vocabulary& voc) {
  std::vector<uint32_t> reads;
  std::vector<tessaline::EntryRange> ranges;
  for (const std::vector<int8_t>& keys : Sequences()) {
    tessaline::SearchKeyRanges(voc, Keys(), keys.data(), keys.size(), ranges);
    reads.push_back(static_cast<uint32_t>(ranges.size()));
    for (const tessaline::EntryRange& r : ranges) {
      Check(r.first <= r.last && r.last < voc.EntryCount());
      reads.push_back(r.first);
      reads.push_back(r.last);
    }
  }
  uint8_t buffer[tessaline::kDecodeBufferSize];
  for (size_t i = 0; i < voc.EntryCount(); ++i) {
    const size_t length = voc.DecodeEntry(i, buffer);
    Check(length <= voc.EntryLength(i));
    reads.push_back(static_cast<uint32_t>(length));
    for (size_t k = 0; k < length; ++k) reads.push_back(buffer[k]);
  }
  for (size_t b = 0; b * tessaline::Vocabulary::kFrequencyBlock < voc.EntryCount(); ++b) {
    reads.push_back(voc.BlockMaxFrequency(b));
  }
  for (uint32_t key = 0; key < 0x10000; key += 37) {
    const int64_t pair = voc.FindPair(static_cast<uint16_t>(key));
    Check(pair >= -1 && pair < static_cast<int64_t>(voc.PairCount()));
    reads.push_back(static_cast<uint32_t>(pair));
  }
  return reads;
}

const std::vector<uint32_t>& DerivedReads() {
  static const std::vector<uint32_t> reads = Reads(Derived());
  return reads;
}

void Try(const std::string& aids, bool same) {
  tessaline::Vocabulary voc(Keys());
  const tessaline::VocabularyLoadReport report =
      voc.LoadMapped(std::make_shared<MemoryFile>(VocabularyBytes()),
                     std::make_shared<MemoryFile>(aids));
  Check(report.entries == Derived().EntryCount());
  Check(report.aidsFromFile == voc.AidsMapped());
  // A file let go leaves the aids derived from the entries, as the vocabulary's own target reads
  // them; only an accepted one has reads of its own to check (most inputs are let go, and the
  // reads are most of an input's time).
  if (!report.aidsFromFile) return;
  const std::vector<uint32_t> reads = Reads(voc);
  if (same) Check(reads == DerivedReads());
  // A run-time change on top of the file's maxima.
  if (voc.EntryCount() > 0) voc.SetEntryFrequency(voc.EntryCount() / 2, 200);
  Check(voc.BlockMaxFrequency(voc.EntryCount() / 2 / tessaline::Vocabulary::kFrequencyBlock) == 200);
}

void PutLe64(std::string& bytes, size_t at, uint64_t value) {
  for (int b = 0; b < 8; ++b) bytes[at + b] = static_cast<char>(value >> (8 * b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string aids(reinterpret_cast<const char*>(data), size);
  Try(aids, true);
  if (size >= tessaline::SearchAidsFile::kHeaderSize) {
    PutLe64(aids, 8, VocabularyBytes().size());
    static const uint64_t vocabularyHash = tessaline::HashBytes(VocabularyBytes());
    PutLe64(aids, 16, vocabularyHash);
    PutLe64(aids, 24,
            tessaline::HashBytes(std::string_view(aids).substr(tessaline::SearchAidsFile::kHeaderSize)));
    Try(aids, false);
  }
  return 0;
}
