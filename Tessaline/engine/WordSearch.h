// The word-mode search state: the keys typed for the word being composed, the candidate words
// they stand for, and the letters guessed past the vocabulary once the keys match no word.
//
// States: 0 idle (no word), 2 matching, 3 extending (letters guessed from the letter-pair table),
// 4 blocked (no guess possible; further letter keys are ignored until Backspace or a reset).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/KeySearch.h"
#include "languages/KeyMap.h"
#include "system/WideText.h"

namespace tessaline {

class Language;

class WordSearch {
 public:
  enum State : int { kIdle = 0, kMatching = 2, kExtending = 3, kBlocked = 4 };
  static constexpr size_t kMaxCandidates = 7;
  static constexpr int kExactLengthBonus = 127;

  // Empties keys, extra keys and candidates; state 0; selected 0; current word empty.
  void Reset();
  // Reset, then search that language (not owned; nullptr for none) from now on.
  void SetLanguage(const Language* language);
  // With truncation on (the TruncWords setting; off by default) candidates are cut to as many
  // letters as keys were typed, each prefix offered once by its best word. Kept across Reset
  // and SetLanguage; it takes effect at the next key.
  void SetTruncateWords(bool truncate) { truncate_ = truncate; }
  bool TruncateWords() const { return truncate_; }
  // Adds a key, or removes the last one when negative. Does nothing without a language.
  void PressKey(int8_t key);
  // State 2: every candidate, best first; states 3 and 4: the current word alone; state 0:
  // nothing. The list is emptied first.
  void GetCandidates(std::vector<WideString>& candidates) const;
  int State() const { return state_; }
  // Keys plus extra keys.
  int KeyCount() const { return static_cast<int>(keys_.size() + extraKeys_.size()); }

  const std::vector<LetterCodes>& Candidates() const { return candidates_; }
  const LetterCodes& CurrentWord() const { return currentWord_; }
  int Selected() const { return selected_; }
  void SetSelected(int selected) { selected_ = selected; }
  const Language* CurrentLanguage() const { return language_; }

 private:
  void Match(int8_t key);
  void Extend(int8_t key);
  void Rank();
  void MergeUserRanges();

  // A run of entries of one part of the language's words: the file's or the user's.
  struct Segment {
    bool fromUser;
    uint32_t first;  // inclusive, in that part
    uint32_t last;   // inclusive
  };

  int state_ = kIdle;
  std::vector<int8_t> keys_;
  std::vector<int8_t> extraKeys_;
  const Language* language_ = nullptr;
  bool truncate_ = false;
  std::vector<LetterCodes> candidates_;
  int selected_ = 0;
  LetterCodes currentWord_;
  // Scratch, kept to avoid reallocating at every key: the match ranges of the file's words and
  // of the user's words, and both merged (segments, and where each range's segments end).
  std::vector<EntryRange> ranges_;
  std::vector<EntryRange> userRanges_;
  std::vector<Segment> segments_;
  std::vector<size_t> rangeEnds_;
};

}  // namespace tessaline
