#include "engine/WordSearch.h"

#include <algorithm>

#include "engine/Language.h"
#include "settings/Settings.h"

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
  // The score below which (or at which, coming later) nothing can enter any more; -1 while
  // there is room.
  int Threshold() const { return size_ == capacity_ ? items_[size_ - 1].score : -1; }

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

void WordSearch::Rank() {
  const Vocabulary& words = language_->Words();
  const size_t n = keys_.size();
  const bool truncate = GetSettings().TruncWords;

  // Each match range holds the words of one n-letter prefix. The only word of exactly n letters
  // in a range is the prefix itself, which sorts first; with a single key only such one-letter
  // words are offered. Matches are ranked in one pass in match order, keeping the seven best;
  // blocks of entries whose highest frequency cannot beat the seventh are passed over.
  constexpr size_t kBlock = Vocabulary::kFrequencyBlock;
  BestMatches best(kMaxCandidates);
  uint32_t order = 0;  // match order of the range's first entry
  for (const EntryRange& range : ranges_) {
    // With TruncWords every word of a range is cut to the same n letters, so a range offers
    // one candidate at most: its best word.
    BestMatches rangeBest(1);
    BestMatches& target = truncate ? rangeBest : best;
    const VocabularyEntry& head = words.Entry(range.first);
    if (head.length == n) {
      target.Offer({head.frequency + kExactLengthBonus, order, range.first});
    } else if (n > 1 && head.length > 0) {
      target.Offer({head.frequency, order, range.first});
    }
    if (n > 1) {
      for (uint32_t i = range.first + 1; i <= range.last;) {
        // A block's highest frequency bounds every entry of it, so the part of the block that
        // lies in the range is passed over too, not only blocks the range holds whole.
        if (words.BlockMaxFrequency(i / kBlock) <= target.Threshold()) {
          i = std::min<uint32_t>((i / kBlock + 1) * kBlock, range.last + 1);
          continue;
        }
        target.Offer({words.Entry(i).frequency, order + (i - range.first), i});
        ++i;
      }
    }
    if (truncate && rangeBest.Size() > 0) best.Offer(rangeBest[0]);
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
  const size_t pairs = language_->PairCount();
  bool found = false;
  LetterPairRecord record;
  for (size_t i = 0; i < pairs; ++i) {
    record = language_->GetPair(i);
    if (record.key == pairKey) {
      found = true;
      break;
    }
  }
  uint8_t guess = 0;
  if (found) {
    const KeyEntry* entry = language_->FindKey(key);
    int bestWeight = -1;
    const int alternatives = std::clamp<int>(record.count, 0, kMaxPairLetters);
    for (int i = 0; entry && i < alternatives; ++i) {
      const uint8_t letter = record.letters[i];
      const bool onKey =
          std::find(entry->codes, entry->codes + entry->count, letter) != entry->codes + entry->count;
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
