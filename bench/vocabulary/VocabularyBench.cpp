// Loading a large vocabulary and searching it. The vocabulary is generated: 75,000 distinct
// words of English-like shape (syllables of common onsets and vowels, so that prefixes are
// shared the way a real word list shares them), front-coded as a .voc file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/SearchAidsFile.h"
#include "engine/Vocabulary.h"
#include "system/MappedFile.h"

namespace {

using tessaline::CompareWords;
using tessaline::KeyMap;
using tessaline::Vocabulary;

// a-z as letter codes: a-h 0x10-0x17, i-p 0x20-0x27, q-x 0x30-0x37, y-z 0x40-0x41.
std::string Codes(const std::string& ascii) {
  std::string codes;
  for (char c : ascii) {
    const int i = c - 'a';
    codes += static_cast<char>((i / 8 + 1) * 16 + i % 8);
  }
  return codes;
}

struct Corpus {
  std::vector<std::string> words;  // letter codes, sorted
  std::string file;
};

const Corpus& LargeVocabulary() {
  static const Corpus corpus = [] {
    static const char* kOnsets[] = {"",   "b",  "c",  "d",  "f",  "g",  "h",   "l",  "m",  "n",
                                    "p",  "r",  "s",  "t",  "w",  "st", "tr",  "pr", "ch", "sh",
                                    "th", "cl", "br", "gr", "pl", "sp", "str", "k",  "v",  "qu"};
    static const char* kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou", "ai", "y", "ee", "io"};
    static const char* kCodas[] = {"",   "",  "n",  "r",   "s",  "t",  "l",    "nd", "ng", "st",
                                   "ck", "m", "ed", "ing", "er", "ly", "tion", "x",  "z"};
    std::mt19937 random(2024);
    std::set<std::string, bool (*)(const std::string&, const std::string&)> unique(
        [](const std::string& a, const std::string& b) { return CompareWords(a, b) < 0; });
    while (unique.size() < 75000) {
      std::string word;
      const int syllables = 1 + static_cast<int>(random() % 4);
      for (int s = 0; s < syllables; ++s) {
        word += kOnsets[random() % std::size(kOnsets)];
        word += kVowels[random() % std::size(kVowels)];
        if (random() % 3 == 0 || s == syllables - 1) word += kCodas[random() % std::size(kCodas)];
      }
      if (word.size() > 31) continue;
      unique.insert(Codes(word));
    }
    Corpus c;
    c.words.assign(unique.begin(), unique.end());
    static KeyMap keys;
    Vocabulary voc(keys);
    voc.BeginBulkInsert();
    for (size_t i = 0; i < c.words.size(); ++i) {
      // Zipf-like frequencies: a few common words, a long tail.
      const int frequency = static_cast<int>(127 / (1 + random() % 64));
      voc.InsertWord(i, c.words[i], frequency);
    }
    voc.EndBulkInsert();
    c.file = voc.FileBytes();
    return c;
  }();
  return corpus;
}

void BM_LoadVocabulary(benchmark::State& state) {
  const Corpus& corpus = LargeVocabulary();
  KeyMap keys;
  for (auto _ : state) {
    FILE* stream = fmemopen(const_cast<char*>(corpus.file.data()), corpus.file.size(), "rb");
    Vocabulary voc(keys);
    const auto report = voc.LoadVocabulary(stream);
    std::fclose(stream);
    benchmark::DoNotOptimize(report.entries);
  }
  state.counters["entries"] = static_cast<double>(corpus.words.size());
  state.counters["fileBytes"] = static_cast<double>(corpus.file.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpus.file.size()));
}
BENCHMARK(BM_LoadVocabulary)->Unit(benchmark::kMillisecond);

class Loaded {
 public:
  Loaded() : voc_(keys_) { voc_.LoadVocabularyBytes(LargeVocabulary().file); }
  Vocabulary& Get() { return voc_; }

 private:
  KeyMap keys_;
  Vocabulary voc_;
};

void BM_FindWordPresent(benchmark::State& state) {
  Loaded loaded;
  const auto& words = LargeVocabulary().words;
  std::mt19937 random(1);
  std::vector<size_t> picks(4096);
  for (size_t& p : picks) p = random() % words.size();
  size_t i = 0;
  for (auto _ : state) {
    const int32_t found = loaded.Get().FindWord(words[picks[i++ % picks.size()]]);
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindWordPresent);

void BM_FindWordAbsent(benchmark::State& state) {
  Loaded loaded;
  const auto& words = LargeVocabulary().words;
  std::mt19937 random(2);
  std::vector<std::string> absent;
  while (absent.size() < 4096) {
    std::string w = words[random() % words.size()] + Codes("q");
    if (!std::binary_search(
            words.begin(), words.end(), w,
            [](const std::string& a, const std::string& b) { return CompareWords(a, b) < 0; })) {
      absent.push_back(w);
    }
  }
  size_t i = 0;
  for (auto _ : state) {
    const int32_t found = loaded.Get().FindWord(absent[i++ % absent.size()]);
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindWordAbsent);

void BM_DecodeEntry(benchmark::State& state) {
  Loaded loaded;
  std::mt19937 random(3);
  uint8_t buffer[tessaline::kDecodeBufferSize];
  const size_t count = loaded.Get().EntryCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(loaded.Get().DecodeEntry(random() % count, buffer));
  }
}
BENCHMARK(BM_DecodeEntry);

// The peer of BM_DecodeEntry: the same backward walk stepping over every earlier entry one by one
// instead of taking the step pointers.
size_t DecodePlainWalk(const Vocabulary& voc, size_t index, uint8_t* out) {
  std::string work(voc.StoredForm(index));
  size_t j = index;
  while (!work.empty() && (work[0] & 1) && j > 0) {
    const size_t p = static_cast<uint8_t>(work[0]) >> 1;
    const std::string_view form = voc.StoredForm(--j);
    const auto m = static_cast<uint8_t>(form[0]);
    if ((m & 1) && p <= static_cast<size_t>(m >> 1)) continue;
    const size_t n = (m & 1) ? p - (m >> 1) + 1 : p;
    work.replace(0, 1, form.substr(0, n));
  }
  if (!work.empty() && !(work[0] & 1)) {
    work[0] = static_cast<char>((work[0] & 0xF0) | ((work[0] & 14) >> 1));
  }
  std::copy(work.begin(), work.end(), out);
  return work.size();
}

void BM_DecodeEntryPlainWalk(benchmark::State& state) {
  Loaded loaded;
  std::mt19937 random(3);
  uint8_t buffer[tessaline::kDecodeBufferSize];
  const size_t count = loaded.Get().EntryCount();
  for (size_t i = 0; i < count; i += 97) {  // the peer must agree with the engine
    const size_t n = DecodePlainWalk(loaded.Get(), i, buffer);
    if (std::string(reinterpret_cast<char*>(buffer), n) != loaded.Get().DecodeEntry(i)) {
      state.SkipWithError("the plain walk disagrees");
      return;
    }
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(DecodePlainWalk(loaded.Get(), random() % count, buffer));
  }
}
BENCHMARK(BM_DecodeEntryPlainWalk);

void BM_LetterAt(benchmark::State& state) {
  Loaded loaded;
  std::mt19937 random(4);
  const size_t count = loaded.Get().EntryCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(loaded.Get().LetterAt(random() % count, random() % 3));
  }
}
BENCHMARK(BM_LetterAt);

// A user dictionary's words go into the vocabulary at every load: 200 insertions in the middle
// of the large list.
void BM_InsertUserWords(benchmark::State& state) {
  const auto& words = LargeVocabulary().words;
  std::mt19937 random(5);
  std::vector<std::string> user;
  for (int i = 0; i < 200; ++i) user.push_back(words[random() % words.size()] + Codes("zz"));
  KeyMap keys;
  for (auto _ : state) {
    state.PauseTiming();
    Vocabulary voc(keys);
    voc.LoadVocabularyBytes(LargeVocabulary().file);
    state.ResumeTiming();
    for (const std::string& w : user) voc.InsertIfAbsent(w, 1);
    benchmark::DoNotOptimize(voc.EntryCount());
  }
}
BENCHMARK(BM_InsertUserWords)->Unit(benchmark::kMillisecond);

// A shipped vocabulary made ready the way a language loads it: the file mapped and used in
// place, its entries checked, and the search aids read in place from the search-aids file beside
// it (`aids`) or derived from the entries. The counters give the entries and the bytes per entry
// of the whole vocabulary, of the process's own memory and of the mappings, and of the aids
// (wherever they are, and the process's own).
void BM_LoadShippedVocabulary(benchmark::State& state, const std::string& language, bool aids) {
  const std::string path = TESSALINE_SOURCE_DIR "/data/Languages/" + language + ".voc";
  KeyMap keys;
  size_t entries = 0, memory = 0, aidBytes = 0, privateAids = 0, mapped = 0;
  bool fromFile = false;
  for (auto _ : state) {
    std::shared_ptr<const tessaline::MappedFile> mapping = tessaline::MapDataFile(path);
    if (!mapping) {
      state.SkipWithError(("cannot map " + path).c_str());
      return;
    }
    Vocabulary voc(keys);
    const auto report = voc.LoadMapped(
        std::move(mapping),
        aids ? tessaline::MapDataFile(tessaline::SearchAidsPath(path)) : nullptr);
    entries = report.entries;
    fromFile = report.aidsFromFile;
    memory = voc.MemoryBytes();
    aidBytes = voc.AidBytes();
    privateAids = voc.PrivateAidBytes();
    mapped = voc.MappedBytes();
  }
  if (aids && !fromFile) state.SkipWithError(("the search aids beside " + path + " were let go").c_str());
  const auto perEntry = [&](size_t bytes) {
    return static_cast<double>(bytes) / static_cast<double>(std::max<size_t>(entries, 1));
  };
  state.counters["entries"] = static_cast<double>(entries);
  state.counters["bytesPerEntry"] = perEntry(memory);
  state.counters["privateBytesPerEntry"] = perEntry(memory - mapped);
  state.counters["mappedBytesPerEntry"] = perEntry(mapped);
  state.counters["aidBytesPerEntry"] = perEntry(aidBytes);
  state.counters["privateAidBytesPerEntry"] = perEntry(privateAids);
}

const bool kShippedRegistered = [] {
  for (const char* language : {"English", "German", "French", "Spanish", "Italian", "Portuguese",
                               "Dutch", "Polish", "Swedish", "Czech", "Russian", "Ukrainian"}) {
    benchmark::RegisterBenchmark((std::string("BM_LoadShippedVocabulary/") + language).c_str(),
                                 BM_LoadShippedVocabulary, std::string(language), true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        (std::string("BM_LoadShippedVocabularyDerivingAids/") + language).c_str(),
        BM_LoadShippedVocabulary, std::string(language), false)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

// The hash that ties a search-aids file to its vocabulary file, over the largest shipped one.
void BM_HashVocabularyFile(benchmark::State& state) {
  std::string bytes;
  std::FILE* file = std::fopen(TESSALINE_SOURCE_DIR "/data/Languages/Russian.voc", "rb");
  if (file) {
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
  }
  for (auto _ : state) benchmark::DoNotOptimize(tessaline::HashBytes(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_HashVocabularyFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
