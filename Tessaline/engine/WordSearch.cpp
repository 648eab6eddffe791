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
  const Lexicon& words = language_->Words();
  SearchKeyRanges(words.Base(), language_->Keys(), keys_.data(), keys_.size(), ranges_);
  userRanges_.clear();
  if (words.User().EntryCount() > 0) {
    SearchKeyRanges(words.User(), language_->Keys(), keys_.data(), keys_.size(), userRanges_);
  }
  if (ranges_.empty() && userRanges_.empty()) {
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

// Offers the entries [from, to] of a match range in one part of the words (entry indices of the
// language from `indexBase` on), whose first is at place `order` of the match order, to
// `target`, passing over the groups and blocks of entries whose highest frequency cannot enter
// it (nor `gate`, which every candidate must enter in the end).
void OfferEntries(const Vocabulary& words, uint32_t indexBase, uint32_t from, uint32_t to,
                  uint32_t order, BestMatches& target, const BestMatches& gate) {
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
      auto offerBlock = [&](auto frequencyOf) {
        for (; i <= blockEnd; ++i) {
          target.Offer({frequencyOf(i), order + (i - from), indexBase + i});
        }
      };
      if (words.BlockChanged(i / kBlock)) {
        offerBlock([&](uint32_t k) { return words.Entry(k).frequency; });
      } else {
        offerBlock([&](uint32_t k) { return words.FileFrequency(k); });
      }
    }
  }
}

// Where a letter stands on a key: its place among the key's letters.
int PlaceOnKey(const KeyEntry* key, uint8_t letter) {
  if (!key) return 0;
  for (int i = 0; i < key->count; ++i) {
    if (key->codes[i] == letter) return i;
  }
  return key->count;
}

}  // namespace

// The match ranges of the file's words and of the user's words, merged into the ranges of one
// sorted list: ranges of the same prefix become one, their entries in word order. Ranges follow
// the match order (the place of each letter on its key), so a user range finds its place among
// the file's ranges by bisection.
void WordSearch::MergeUserRanges() {
  const Lexicon& words = language_->Words();
  const Vocabulary& base = words.Base();
  const Vocabulary& user = words.User();
  const size_t n = keys_.size();
  const KeyMap& keyMap = language_->Keys();
  const KeyEntry* keyEntries[kMaxWordLength + 1] = {};
  for (size_t i = 0; i < n && i <= static_cast<size_t>(kMaxWordLength); ++i) {
    keyEntries[i] = keyMap.FindKey(keys_[i]);
  }
  // Negative when the base range's prefix comes first in match order, 0 for the same prefix.
  auto comparePrefixes = [&](const EntryRange& baseRange, const EntryRange& userRange) {
    for (size_t i = 0; i < n; ++i) {
      const uint8_t a = base.LetterAt(baseRange.first, i);
      const uint8_t b = user.LetterAt(userRange.first, i);
      if (a == b) continue;
      const KeyEntry* key = i <= static_cast<size_t>(kMaxWordLength) ? keyEntries[i] : nullptr;
      return PlaceOnKey(key, a) < PlaceOnKey(key, b) ? -1 : 1;
    }
    return 0;
  };
  segments_.clear();
  rangeEnds_.clear();
  auto addSegment = [&](bool fromUser, uint32_t first, uint32_t last) {
    segments_.push_back({fromUser, first, last});
  };
  size_t next = 0;  // the first base range not yet placed
  uint8_t userWord[kDecodeBufferSize];
  uint8_t baseWord[kDecodeBufferSize];
  for (const EntryRange& userRange : userRanges_) {
    // The first base range from `next` on whose prefix does not come before the user range's.
    size_t lo = next;
    size_t hi = ranges_.size();
    while (lo < hi) {
      const size_t mid = (lo + hi) / 2;
      if (comparePrefixes(ranges_[mid], userRange) < 0) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    for (; next < lo; ++next) {
      addSegment(false, ranges_[next].first, ranges_[next].last);
      rangeEnds_.push_back(segments_.size());
    }
    if (next < ranges_.size() && comparePrefixes(ranges_[next], userRange) == 0) {
      // The same prefix: the user's words go between the file's in word order.
      uint32_t from = ranges_[next].first;
      const uint32_t to = ranges_[next].last;
      for (uint32_t u = userRange.first; u <= userRange.last; ++u) {
        const size_t length = user.DecodeEntry(u, userWord);
        const std::string_view word(reinterpret_cast<const char*>(userWord), length);
        uint32_t a = from;
        uint32_t b = to + 1;
        while (a < b) {
          const uint32_t mid = a + (b - a) / 2;
          const size_t baseLength = base.DecodeEntry(mid, baseWord);
          const std::string_view other(reinterpret_cast<const char*>(baseWord), baseLength);
          if (CompareWords(other, word) < 0) {
            a = mid + 1;
          } else {
            b = mid;
          }
        }
        if (a > from) addSegment(false, from, a - 1);
        from = a;
        if (!segments_.empty() && segments_.back().fromUser && segments_.back().last + 1 == u &&
            segments_.size() > (rangeEnds_.empty() ? 0 : rangeEnds_.back())) {
          segments_.back().last = u;
        } else {
          addSegment(true, u, u);
        }
      }
      if (from <= to) addSegment(false, from, to);
      ++next;
    } else {
      addSegment(true, userRange.first, userRange.last);
    }
    rangeEnds_.push_back(segments_.size());
  }
  for (; next < ranges_.size(); ++next) {
    addSegment(false, ranges_[next].first, ranges_[next].last);
    rangeEnds_.push_back(segments_.size());
  }
}

void WordSearch::Rank() {
  const Lexicon& lexicon = language_->Words();
  const Vocabulary& base = lexicon.Base();
  const Vocabulary& user = lexicon.User();
  const auto userBase = static_cast<uint32_t>(base.EntryCount());
  const size_t n = keys_.size();
  const bool truncate = truncate_;
  const bool merged = !userRanges_.empty();
  if (merged) MergeUserRanges();

  // Each match range holds the words of one n-letter prefix. The only word of exactly n letters
  // in a range is the prefix itself, which sorts first; with a single key only such one-letter
  // words are offered. The seven best are kept by score and then by match order, so the matches
  // may be offered in any order: the heads of the ranges come first, since the bonus of the
  // exact length makes them the likeliest candidates, and then the rest of each range, passing
  // over the groups and blocks of entries that can no longer enter.
  //
  // A range is one or more segments, each a run of entries of one part (the file's or the
  // user's words); without user words each range is one segment of the file's words.
  BestMatches best(kMaxCandidates);
  const BestMatches open(kMaxCandidates);  // admits everything
  auto tableOf = [&](const Segment& segment) -> const Vocabulary& {
    return segment.fromUser ? user : base;
  };
  auto indexBaseOf = [&](const Segment& segment) { return segment.fromUser ? userBase : 0u; };
  auto offerHead = [&](const Segment& segment, uint32_t order, BestMatches& target) {
    const VocabularyEntry head = tableOf(segment).Entry(segment.first);
    const uint32_t entry = indexBaseOf(segment) + segment.first;
    if (head.length == n) {
      target.Offer({head.frequency + kExactLengthBonus, order, entry});
    } else if (n > 1 && head.length > 0) {
      target.Offer({head.frequency, order, entry});
    }
  };
  // The entries of a range after its head.
  auto offerRest = [&](const Segment* segments, size_t count, uint32_t order,
                       BestMatches& target, const BestMatches& gate) {
    uint32_t at = order + 1;
    for (size_t k = 0; k < count; ++k) {
      const Segment& segment = segments[k];
      const uint32_t from = segment.first + (k == 0 ? 1 : 0);
      if (from > segment.last) continue;
      OfferEntries(tableOf(segment), indexBaseOf(segment), from, segment.last, at, target, gate);
      at += segment.last - from + 1;
    }
  };
  auto rangeSize = [](const Segment* segments, size_t count) {
    uint32_t size = 0;
    for (size_t k = 0; k < count; ++k) size += segments[k].last - segments[k].first + 1;
    return size;
  };
  // Calls visit(segments, count) for every range in match order.
  auto forEachRange = [&](auto visit) {
    if (!merged) {
      for (const EntryRange& range : ranges_) {
        const Segment segment{false, range.first, range.last};
        visit(&segment, size_t{1});
      }
      return;
    }
    size_t begin = 0;
    for (const size_t end : rangeEnds_) {
      visit(segments_.data() + begin, end - begin);
      begin = end;
    }
  };

  uint32_t order = 0;  // match order of the range's first entry
  if (!truncate) {
    forEachRange([&](const Segment* segments, size_t count) {
      offerHead(segments[0], order, best);
      order += rangeSize(segments, count);
    });
  }
  order = 0;
  forEachRange([&](const Segment* segments, size_t count) {
    const uint32_t size = rangeSize(segments, count);
    if (truncate) {
      // Every word of a range is cut to the same n letters, so a range offers one candidate at
      // most: its best word.
      BestMatches rangeBest(1);
      offerHead(segments[0], order, rangeBest);
      if (n > 1 && size > 1) offerRest(segments, count, order, rangeBest, best);
      if (rangeBest.Size() > 0) best.Offer(rangeBest[0]);
    } else if (n > 1 && size > 1) {
      offerRest(segments, count, order, best, open);
    }
    order += size;
  });

  candidates_.clear();
  for (size_t i = 0; i < best.Size(); ++i) {
    LetterCodes word = lexicon.DecodeEntry(best[i].entry);
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
