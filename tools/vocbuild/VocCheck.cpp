#include "vocbuild/VocCheck.h"

#include <cstdio>
#include <set>

#include "engine/Vocabulary.h"
#include "system/ByteCoding.h"
#include "vocbuild/VocCompiler.h"

namespace tessaline::vocbuild {
namespace {

constexpr size_t kListedProblems = 20;

std::string Hex(std::string_view codes) {
  std::string out;
  char buffer[4];
  for (unsigned char c : codes) {
    std::snprintf(buffer, sizeof buffer, "%02x", c);
    if (!out.empty()) out += ' ';
    out += buffer;
  }
  return out;
}

class Checker {
 public:
  Checker(const KeyMap& map, CheckResult& result) : map_(map), result_(result) {
    for (const KeyEntry& key : map.Keys()) {
      if (map.FindKey(key.key) != &key || map.KeyHasPunctuation(key.key)) continue;
      for (int i = 0; i < key.count; ++i) typable_[key.codes[i]] = true;
    }
  }

  void Problem(const std::string& text) {
    if (result_.problems.size() < kListedProblems) result_.problems.push_back(text);
    ++result_.problemCount;
  }

  bool NamesLetter(uint8_t code) const {
    if (code == 0) return false;
    for (const Charset& set : map_.Charsets()) {
      if (set.id == code / 16 - 1) return (code % 16) < set.count;
    }
    return false;
  }

  void CheckLetters(size_t index, const LetterCodes& word) {
    for (unsigned char code : word) {
      if (!NamesLetter(code)) {
        Problem("entry " + std::to_string(index) + " (" + Hex(word) + "): code " +
                Hex(std::string(1, code)) + " names no letter of the key map");
        return;
      }
    }
    LetterCodes again;
    if (!map_.Encode(map_.Decode(word), again) || again != word) {
      Problem("entry " + std::to_string(index) + " (" + Hex(word) +
              "): does not encode back to the same codes");
      return;
    }
    for (unsigned char code : word) {
      if (!typable_[code]) {
        Problem("entry " + std::to_string(index) + " (" + WideToUtf8(map_.Decode(word)) +
                "): a letter lies on no letter key");
        return;
      }
    }
  }

  void Run(std::string_view bytes) {
    if (bytes.size() < 4) return Problem("the file is shorter than its entry count");
    const uint64_t n = ReadLe32(bytes, 0);
    if (4 + 4 * n + 4 > bytes.size())
      return Problem("the file is shorter than its " + std::to_string(n) + " entries");
    const size_t poolAt = 8 + 4 * n;
    const uint64_t poolSize = ReadLe32(bytes, 4 + 4 * n);
    if (poolAt + poolSize + 4 > bytes.size()) return Problem("the file is shorter than its pool");
    const std::string_view pool = bytes.substr(poolAt, poolSize);
    const size_t pairsAt = poolAt + poolSize + 4;
    const uint64_t b = ReadLe32(bytes, poolAt + poolSize);
    if (pairsAt + 12 * b > bytes.size())
      return Problem("the file is shorter than its letter-pair records");
    if (pairsAt + 12 * b < bytes.size())
      Problem(std::to_string(bytes.size() - pairsAt - 12 * b) +
              " bytes follow the letter-pair records");
    result_.entryCount = n;
    result_.poolBytes = poolSize;
    result_.pairCount = b;
    if (poolSize >= kPoolReach) Problem("the pool reaches 2^20 bytes");

    LetterCodes previous;
    size_t offset = 0;
    for (size_t i = 0; i < n; ++i) {
      const uint32_t packed = ReadLe32(bytes, 4 + 4 * i);
      const size_t entryOffset = packed & 0xFFFFF;
      const uint8_t frequency = (packed >> 20) & 0x7F;
      const size_t length = packed >> 27;
      const std::string at = "entry " + std::to_string(i);
      if (length == 0) return Problem(at + ": length 0");
      if (entryOffset != offset)
        return Problem(at + ": offset " + std::to_string(entryOffset) + ", expected " +
                       std::to_string(offset));
      if (offset >= pool.size()) return Problem(at + ": stored form beyond the pool");
      const auto first = static_cast<unsigned char>(pool[offset]);
      LetterCodes word;
      size_t stored = 0;
      if (first & 1) {
        const size_t p = first >> 1;
        if (i == 0) return Problem(at + ": the first entry is front-coded");
        if (p < 2 || p > previous.size() || p >= length)
          return Problem(at + ": marker " + std::to_string(first) + " does not fit its neighbours");
        stored = length - p + 1;
        if (offset + stored > pool.size()) return Problem(at + ": stored form beyond the pool");
        word = previous.substr(0, p) + std::string(pool.substr(offset + 1, stored - 1));
      } else {
        stored = length;
        if (offset + stored > pool.size()) return Problem(at + ": stored form beyond the pool");
        word = std::string(pool.substr(offset, stored));
        word[0] = static_cast<char>((first & 0xF0) | ((first & 14) >> 1));
      }
      if (word.find('\0') != std::string::npos)
        return Problem(at + ": a letter code 0 inside the word");
      if (i > 0) {
        const bool ascending = std::lexicographical_compare(
            previous.begin(), previous.end(), word.begin(), word.end(), [](char x, char y) {
              return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
            });
        if (!ascending) Problem(at + " (" + Hex(word) + "): not after the entry before it");
      }
      if (StoredForm(previous, word) != pool.substr(offset, stored))
        Problem(at + " (" + Hex(word) + "): stored form is not the front coding of its word");
      CheckLetters(i, word);
      result_.longestWord = std::max(result_.longestWord, word.size());
      ++result_.frequencyHistogram[frequency / 16];
      result_.entries.push_back({word, frequency});
      offset += stored;
      previous = std::move(word);
    }
    if (offset != pool.size())
      Problem(std::to_string(pool.size() - offset) + " pool bytes belong to no entry");

    std::set<uint16_t> keys;
    for (size_t r = 0; r < b; ++r) {
      const std::string_view record = bytes.substr(pairsAt + 12 * r, 12);
      const uint16_t key = ReadLe16(record, 0);
      const int count = static_cast<int8_t>(record[10]);
      const std::string at = "letter-pair record " + std::to_string(r);
      if (!keys.insert(key).second)
        Problem(at + ": a second record for key " + std::to_string(key));
      const auto a = static_cast<uint8_t>(key >> 8), last = static_cast<uint8_t>(key & 0xFF);
      const bool formable =
          (last >= 0x80) ? (a == 0xFF && NamesLetter(last)) : (NamesLetter(a) && NamesLetter(last));
      if (!formable) Problem(at + ": key " + std::to_string(key) + " is no pair of letters");
      if (count < 0 || count > 4) {
        Problem(at + ": count " + std::to_string(count));
        continue;
      }
      for (int k = 0; k < count; ++k) {
        const auto next = static_cast<uint8_t>(record[2 + k]);
        const int weight = static_cast<int8_t>(record[6 + k]);
        if (!NamesLetter(next))
          Problem(at + ": next letter " + Hex(std::string(1, static_cast<char>(next))) +
                  " names no letter");
        if (weight < 0) Problem(at + ": negative weight");
      }
    }
  }

 private:
  const KeyMap& map_;
  CheckResult& result_;
  bool typable_[256] = {};
};

}  // namespace

CheckResult CheckVocabularyBytes(std::string_view bytes, const KeyMap& map) {
  CheckResult result;
  Checker checker(map, result);
  checker.Run(bytes);
  if (!result.Passed()) return result;
  // The engine reads the same file: it must load it whole and give back every word, frequency and
  // letter-pair record the check read, find each word at its own index, and write the same bytes.
  Vocabulary engine(map);
  const VocabularyLoadReport report = engine.LoadVocabularyBytes(bytes);
  if (!report.Complete()) checker.Problem("engine: the vocabulary does not load whole");
  if (engine.EntryCount() != result.entries.size()) {
    checker.Problem("engine: " + std::to_string(engine.EntryCount()) + " entries instead of " +
                    std::to_string(result.entries.size()));
    return result;
  }
  for (size_t i = 0; i < result.entries.size(); ++i) {
    const CheckedEntry& entry = result.entries[i];
    const std::string at = "engine: entry " + std::to_string(i) + " (" + Hex(entry.word) + ")";
    if (engine.DecodeEntry(i) != entry.word)
      checker.Problem(at + " decodes as " + Hex(engine.DecodeEntry(i)));
    if (engine.EntryFrequency(i) != entry.frequency) checker.Problem(at + ": another frequency");
    if (engine.FindWord(entry.word) != static_cast<int32_t>(i))
      checker.Problem(at + " is not found at its index");
  }
  if (engine.PairCount() != result.pairCount)
    checker.Problem("engine: another number of letter-pair records");
  if (engine.FileBytes() != bytes)
    checker.Problem("engine: writes the vocabulary back differently");
  return result;
}

}  // namespace tessaline::vocbuild
