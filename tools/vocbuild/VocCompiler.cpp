#include "vocbuild/VocCompiler.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace tessaline::vocbuild {
namespace {

struct Candidate {
  LetterCodes word;
  uint64_t count = 0;
  bool inMainList = false;
};

void AppendLe32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Letter codes that lie on a key without punctuation, i.e. that word mode can type.
std::vector<bool> TypableCodes(const KeyMap& map) {
  std::vector<bool> typable(256, false);
  for (const KeyEntry& key : map.Keys()) {
    if (map.FindKey(key.key) != &key || map.KeyHasPunctuation(key.key)) continue;
    for (int i = 0; i < key.count; ++i) typable[key.codes[i]] = true;
  }
  return typable;
}

bool EncodeWith(const KeyMap& map, const std::vector<bool>& typable, WideView word, LetterCodes& codes) {
  if (word.empty() || !map.Encode(word, codes) || codes.empty()) return false;
  for (unsigned char code : codes) {
    if (!typable[code]) return false;
  }
  return true;
}

size_t PoolSize(const std::vector<const Candidate*>& sorted) {
  size_t size = 0;
  std::string_view previous;
  for (const Candidate* c : sorted) {
    size += StoredForm(previous, c->word).size();
    previous = c->word;
  }
  return size;
}

std::vector<const Candidate*> SortedByCodes(const std::vector<const Candidate*>& chosen, size_t n) {
  std::vector<const Candidate*> sorted(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(n));
  std::sort(sorted.begin(), sorted.end(), [](const Candidate* a, const Candidate* b) {
    return std::lexicographical_compare(a->word.begin(), a->word.end(), b->word.begin(), b->word.end(),
                                        [](char x, char y) {
                                          return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                                        });
  });
  return sorted;
}

}  // namespace

uint16_t PairKey(uint8_t a, uint8_t b) {
  const int32_t high = static_cast<int8_t>(a);
  const int32_t low = static_cast<int8_t>(b);
  return static_cast<uint16_t>(static_cast<uint32_t>(high * 256 | low) & 0xFFFF);
}

std::string StoredForm(std::string_view previous, std::string_view word) {
  size_t p = 0;
  while (p < previous.size() && p < word.size() && previous[p] == word[p]) ++p;
  if (p >= 2) {
    std::string form(1, static_cast<char>(2 * p + 1));
    form.append(word.substr(p));
    return form;
  }
  std::string form(word);
  if (!form.empty()) {
    const auto first = static_cast<unsigned char>(form[0]);
    form[0] = static_cast<char>((first & 0xF0) | ((first & 7) * 2));
  }
  return form;
}

uint8_t ScaleFrequency(uint64_t count, uint64_t minCount, uint64_t maxCount) {
  if (maxCount <= minCount || count >= maxCount) return 127;
  if (count <= minCount) return 1;
  const double share = std::log(static_cast<double>(count) / static_cast<double>(minCount)) /
                       std::log(static_cast<double>(maxCount) / static_cast<double>(minCount));
  const long value = 1 + std::lround(126.0 * share);
  return static_cast<uint8_t>(std::clamp<long>(value, 1, 127));
}

bool EncodeTypable(const KeyMap& map, WideView word, LetterCodes& codes) {
  return EncodeWith(map, TypableCodes(map), word, codes);
}

CompiledVocabulary CompileVocabulary(const KeyMap& map, const WordList& list, const BuildOptions& options,
                                     BuildReport& report) {
  report = BuildReport{};
  const std::vector<bool> typable = TypableCodes(map);
  std::vector<Candidate> candidates;
  std::unordered_map<std::string, size_t> index;

  auto take = [&](const SourceWord& source, bool mainList) {
    const WideString folded = FoldCase(source.text);
    const std::vector<WideString> parts = SplitAtJoiners(folded);
    const std::vector<WideString> written = SplitAtJoiners(source.text);
    for (size_t i = 0; i < parts.size(); ++i) {
      ++report.parts;
      LetterCodes codes;
      if (!EncodeWith(map, typable, parts[i], codes) &&
          !(i < written.size() && EncodeWith(map, typable, written[i], codes))) {
        ++report.unencodable;
        if (report.unencodableSamples.size() < 10) report.unencodableSamples.push_back(WideToUtf8(parts[i]));
        continue;
      }
      if (codes.size() > kMaxWordLength) {
        ++report.tooLong;
        continue;
      }
      auto found = index.find(codes);
      if (found != index.end()) {
        Candidate& c = candidates[found->second];
        if (!mainList) continue;
        ++report.merged;
        c.count = (c.count > UINT64_MAX - source.count) ? UINT64_MAX : c.count + source.count;
        c.inMainList = true;
        continue;
      }
      index.emplace(codes, candidates.size());
      candidates.push_back({codes, mainList ? source.count : 0, mainList});
    }
  };
  report.listedWords = list.words.size();
  for (const SourceWord& word : list.words) take(word, true);
  for (const WordList* extra : options.extraLists) {
    if (!extra) continue;
    for (const SourceWord& word : extra->words) take(word, false);
  }

  // Most wanted first: main-list words by count, then extra words, shorter ones first (a
  // dictionary gives no counts, and short words are the common ones); ties by letter codes.
  std::vector<const Candidate*> chosen;
  chosen.reserve(candidates.size());
  for (const Candidate& c : candidates) chosen.push_back(&c);
  std::sort(chosen.begin(), chosen.end(), [](const Candidate* a, const Candidate* b) {
    if (a->inMainList != b->inMainList) return a->inMainList;
    if (a->count != b->count) return a->count > b->count;
    if (!a->inMainList && a->word.size() != b->word.size()) return a->word.size() < b->word.size();
    return std::lexicographical_compare(a->word.begin(), a->word.end(), b->word.begin(), b->word.end(),
                                        [](char x, char y) {
                                          return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                                        });
  });
  size_t keep = chosen.size();
  if (options.maxWords != 0 && keep > options.maxWords) {
    report.cutByLimit = keep - options.maxWords;
    keep = options.maxWords;
  }
  std::vector<const Candidate*> sorted = SortedByCodes(chosen, keep);
  if (PoolSize(sorted) > kPoolLimit) {
    // The largest number of most wanted words whose pool stays within the limit.
    size_t lo = 0, hi = keep;  // lo fits, hi does not
    while (lo + 1 < hi) {
      const size_t mid = lo + (hi - lo) / 2;
      if (PoolSize(SortedByCodes(chosen, mid)) <= kPoolLimit) lo = mid; else hi = mid;
    }
    report.cutByPool = keep - lo;
    keep = lo;
    sorted = SortedByCodes(chosen, keep);
  }

  uint64_t minCount = UINT64_MAX, maxCount = 0;
  for (const Candidate* c : sorted) {
    if (!c->inMainList) continue;
    minCount = std::min(minCount, c->count);
    maxCount = std::max(maxCount, c->count);
  }
  CompiledVocabulary vocabulary;
  vocabulary.entries.reserve(sorted.size());
  for (const Candidate* c : sorted) {
    const uint8_t frequency = c->inMainList ? ScaleFrequency(c->count, minCount, maxCount) : 0;
    if (!c->inMainList) ++report.extraWords;
    vocabulary.entries.push_back({c->word, frequency});
  }
  report.poolBytes = PoolSize(sorted);
  vocabulary.pairs = BuildPairTable(vocabulary.entries);
  return vocabulary;
}

std::vector<PairRecord> BuildPairTable(const std::vector<VocEntry>& entries) {
  std::map<uint16_t, std::map<uint8_t, uint64_t>> followers;
  for (const VocEntry& entry : entries) {
    const std::string& w = entry.word;
    const uint64_t weight = static_cast<uint64_t>(entry.frequency) + 1;
    for (size_t i = 1; i + 2 < w.size(); ++i) {
      const uint16_t key = PairKey(static_cast<uint8_t>(w[i]), static_cast<uint8_t>(w[i + 1]));
      followers[key][static_cast<uint8_t>(w[i + 2])] += weight;
    }
  }
  std::vector<PairRecord> records;
  records.reserve(followers.size());
  for (const auto& [key, next] : followers) {
    std::vector<std::pair<uint8_t, uint64_t>> ranked(next.begin(), next.end());
    uint64_t total = 0;
    for (const auto& [code, weight] : ranked) total += weight;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    PairRecord record;
    record.key = key;
    for (size_t i = 0; i < ranked.size() && i < 4; ++i) {
      record.next[i] = ranked[i].first;
      record.weight[i] = static_cast<int8_t>(127 * ranked[i].second / total);
      ++record.count;
    }
    records.push_back(record);
  }
  return records;
}

std::string VocabularyFileBytes(const CompiledVocabulary& vocabulary) {
  std::string pool;
  std::string out;
  AppendLe32(out, static_cast<uint32_t>(vocabulary.entries.size()));
  std::string_view previous;
  for (const VocEntry& entry : vocabulary.entries) {
    const uint32_t packed = static_cast<uint32_t>(pool.size() & 0xFFFFF) |
                            (static_cast<uint32_t>(entry.frequency & 0x7F) << 20) |
                            (static_cast<uint32_t>(entry.word.size() & 0x1F) << 27);
    AppendLe32(out, packed);
    pool += StoredForm(previous, entry.word);
    previous = entry.word;
  }
  AppendLe32(out, static_cast<uint32_t>(pool.size()));
  out += pool;
  AppendLe32(out, static_cast<uint32_t>(vocabulary.pairs.size()));
  for (const PairRecord& record : vocabulary.pairs) {
    out.push_back(static_cast<char>(record.key & 0xFF));
    out.push_back(static_cast<char>(record.key >> 8));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(record.next[i]));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(record.weight[i]));
    out.push_back(static_cast<char>(record.count));
    out.push_back(0);
  }
  return out;
}

}  // namespace tessaline::vocbuild
