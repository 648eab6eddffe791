#include "engine/WordSearch.h"

#include <algorithm>

#include "engine/Language.h"

namespace tessaline {
namespace {

// A ranked match: higher score first; of equal scores, the one found first by the search.
struct Ranked {
  int score;
  uint32_t order;  // position in match order
  uint32_t entry;

  bool Before(const Ranked& other) const {
    return score != other.score ? score > other.score : order < other.order;
  }
};

// Keeps the best `capacity` matches seen so far, best first.
class BestMatches {
 public:
  explicit BestMatches(size_t capacity) : capacity_(capacity) {}

  void Offer(const Ranked& r) {
    if (size_ == capacity_ && !r.Before(items_[size_ - 1])) return;
    size_t i = size_ < capacity_ ? size_++ : size_ - 1;
    while (i > 0 && r.Before(items_[i - 1])) {
      items_[i] = items_[i - 1];
      --i;
    }
    items_[i] = r;
  }
  size_t Size() const { return size_; }
  const Ranked& operator[](size_t i) const { return items_[i]; }
  // Whether a match of this score, found at this place of the match order, would enter.
  bool Admits(int score, uint32_t order) const {
    return size_ < capacity_ || Ranked{score, order, 0}.Before(items_[size_ - 1]);
  }

 private:
  Ranked items_[WordSearch::kMaxCandidates];
  size_t capacity_;
  size_t size_ = 0;
};

}  // namespace

void WordSearch::Reset() {
  keys_.clear();
  extraKeys_.clear();
  candidates_.clear();
  state_ = kIdle;
  selected_ = 0;
  currentWord_.clear();
}

void WordSearch::SetLanguage(const Language* language) {
  Reset();
  language_ = language;
}

void WordSearch::PressKey(int8_t key) {
  if (!language_) return;
  switch (state_) {
    case kIdle:
      if (key < 0) return;
      state_ = kMatching;
      Match(key);
      return;
    case kMatching:
      Match(key);
      return;
    case kExtending:
      Extend(key);
      return;
    case kBlocked:
      if (key >= 0) return;  // a key that could not be guessed is ignored
      state_ = kExtending;
      Extend(key);
      return;
    default:
      return;
  }
}

void WordSearch::Match(int8_t key) {
  if (key < 0) {
    if (!keys_.empty()) keys_.pop_back();
    if (keys_.empty()) {
      Reset();
      return;
    }
  } else {
    keys_.push_back(key);
  }
  SearchKeyRanges(language_->Words(), language_->Keys(), keys_.data(), keys_.size(), ranges_);
  if (ranges_.empty()) {
    // The vocabulary has no word for these keys: keep the current word of the last match and
    // guess letters past it.
    keys_.pop_back();
    state_ = kExtending;
    Extend(key);
    return;
  }
  Rank();
}

namespace {

// Offers the entries [from, to] of a match range, whose first is at place `order` of the match
// order, to `target`, passing over the groups and blocks of entries whose highest frequency
// cannot enter it (nor `gate`, which every candidate must enter in the end).
void OfferEntries(const Vocabulary& words, uint32_t from, uint32_t to, uint32_t order,
                  BestMatches& target, const BestMatches& gate) {
  constexpr uint32_t kBlock = Vocabulary::kFrequencyBlock;
  constexpr uint32_t kGroup = Vocabulary::kFrequencyGroup;
  auto admits = [&](int bound, uint32_t i) {
    const uint32_t at = order + (i - from);
    return target.Admits(bound, at) && gate.Admits(bound, at);
  };
  for (uint32_t i = from; i <= to;) {
    // A bound covers the part of its group or block that lies in the range as well.
    const uint32_t groupEnd = std::min(i / kGroup * kGroup + kGroup - 1, to);
    if (!admits(words.GroupMaxFrequency(i / kGroup), i)) {
      i = groupEnd + 1;
      continue;
    }
    while (i <= groupEnd) {
      const uint32_t blockEnd = std::min(i / kBlock * kBlock + kBlock - 1, groupEnd);
      if (!admits(words.BlockMaxFrequency(i / kBlock), i)) {
        i = blockEnd + 1;
        continue;
      }
      for (; i <= blockEnd; ++i) target.Offer({words.Entry(i).frequency, order + (i - from), i});
    }
  }
}

}  // namespace

void WordSearch::Rank() {
  const Vocabulary& words = language_->Words();
  const size_t n = keys_.size();
  const bool truncate = truncate_;

  // Each match range holds the words of one n-letter prefix. The only word of exactly n letters
  // in a range is the prefix itself, which sorts first; with a single key only such one-letter
  // words are offered. The seven best are kept by score and then by match order, so the matches
  // may be offered in any order: the heads of the ranges come first, since the bonus of the
  // exact length makes them the likeliest candidates, and then the rest of each range, passing
  // over the groups and blocks of entries that can no longer enter.
  BestMatches best(kMaxCandidates);
  const BestMatches open(kMaxCandidates);  // admits everything
  auto offerHead = [&](const EntryRange& range, uint32_t order, BestMatches& target) {
    const VocabularyEntry& head = words.Entry(range.first);
    if (head.length == n) {
      target.Offer({head.frequency + kExactLengthBonus, order, range.first});
    } else if (n > 1 && head.length > 0) {
      target.Offer({head.frequency, order, range.first});
    }
  };
  uint32_t order = 0;  // match order of the range's first entry
  if (!truncate) {
    for (const EntryRange& range : ranges_) {
      offerHead(range, order, best);
      order += range.last - range.first + 1;
    }
  }
  order = 0;
  for (const EntryRange& range : ranges_) {
    if (truncate) {
      // Every word of a range is cut to the same n letters, so a range offers one candidate at
      // most: its best word.
      BestMatches rangeBest(1);
      offerHead(range, order, rangeBest);
      if (n > 1 && range.first < range.last) {
        OfferEntries(words, range.first + 1, range.last, order + 1, rangeBest, best);
      }
      if (rangeBest.Size() > 0) best.Offer(rangeBest[0]);
    } else if (n > 1 && range.first < range.last) {
      OfferEntries(words, range.first + 1, range.last, order + 1, best, open);
    }
    order += range.last - range.first + 1;
  }

  candidates_.clear();
  for (size_t i = 0; i < best.Size(); ++i) {
    LetterCodes word = words.DecodeEntry(best[i].entry);
    if (truncate && word.size() > n) word.resize(n);
    candidates_.push_back(std::move(word));
  }
  selected_ = 0;
  currentWord_ = candidates_.empty() ? LetterCodes() : candidates_[0].substr(0, n);
}

void WordSearch::Extend(int8_t key) {
  if (key < 0) {
    if (!extraKeys_.empty()) {
      extraKeys_.pop_back();
      if (!currentWord_.empty()) currentWord_.pop_back();
    }
    if (extraKeys_.empty()) {
      if (!keys_.empty() && !currentWord_.empty()) {
        state_ = kMatching;
      } else {
        // Nothing is left to compose: go idle for good rather than keep stale keys that the
        // next key would be appended to.
        Reset();
      }
    }
    return;
  }
  extraKeys_.push_back(key);
  if (currentWord_.size() < 3) {
    extraKeys_.pop_back();
    if (currentWord_.empty()) {
      Reset();
    } else {
      state_ = kBlocked;
    }
    return;
  }
  // The pair key of the last two letters, each taken as a signed byte: a last letter of 0x80 or
  // above fills the high byte with its sign. Vocabulary files are keyed this way.
  const auto a = static_cast<int8_t>(currentWord_[currentWord_.size() - 2]);
  const auto b = static_cast<int8_t>(currentWord_[currentWord_.size() - 1]);
  const auto pairKey =
      static_cast<uint16_t>((static_cast<int32_t>(a) * 256) | static_cast<int32_t>(b));
  const int64_t pair = language_->FindPair(pairKey);
  const bool found = pair >= 0;
  const LetterPairRecord record =
      found ? language_->GetPair(static_cast<size_t>(pair)) : LetterPairRecord();
  uint8_t guess = 0;
  if (found) {
    const KeyEntry* entry = language_->FindKey(key);
    int bestWeight = -1;
    const int alternatives = std::clamp<int>(record.count, 0, kMaxPairLetters);
    for (int i = 0; entry && i < alternatives; ++i) {
      const uint8_t letter = record.letters[i];
      const bool onKey = std::find(entry->codes, entry->codes + entry->count, letter) !=
                         entry->codes + entry->count;
      if (onKey && record.weights[i] > bestWeight) {
        bestWeight = record.weights[i];
        guess = letter;
      }
    }
  }
  if (guess == 0) {
    extraKeys_.pop_back();
    state_ = kBlocked;
    return;
  }
  currentWord_ += static_cast<char>(guess);
}

void WordSearch::GetCandidates(std::vector<WideString>& candidates) const {
  candidates.clear();
  if (!language_) return;
  if (state_ == kMatching) {
    for (const LetterCodes& word : candidates_) candidates.push_back(language_->DecodeToText(word));
  } else if (state_ == kExtending || state_ == kBlocked) {
    candidates.push_back(language_->DecodeToText(currentWord_));
  }
}

}  // namespace tessaline
