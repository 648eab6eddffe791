// The words offered for the typed keys, the one selected, and the word the user spells in the
// list's last, empty entry. The candidate window shows and edits it; the keypad composer fills it
// and commits from it.
#pragma once

#include <vector>

#include "system/WideText.h"

namespace tessaline {

class CandidateList {
 public:
  // The words found and the number of keys typed; `entries` ends with the empty spelling entry
  // (or is empty). Selects entry 0 and clears the spelled text.
  void SetList(std::vector<WideString> entries, int typedKeys);
  // Selects an entry (clamped to the list). Selecting the spelling entry starts it with a copy
  // of the first word, which the caller takes back after a while unless the user edits it: true
  // when that copy was made.
  bool Select(int index);
  int Selected() const { return selected_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  // The entry a step of the next-candidate key goes to: from the last entry back to the first,
  // else forward by `step` entries, at most to the last.
  int NextIndex(int step) const;
  bool IsSpellingEntry(int index) const;
  // The list is not empty and its empty last entry is selected.
  bool SpellingMode() const { return IsSpellingEntry(selected_); }
  // The spelled text in spelling mode, else the selected word (empty past the end).
  WideString CurrentWord() const;
  void AppendSpelled(char16_t ch) { spelled_.push_back(ch); }
  // False when there was nothing to remove.
  bool RemoveLastSpelled();
  void ClearSpelled() { spelled_.clear(); }
  // The typed keys match no word: the list holds the letters guessed for them.
  void SetNoMatch(bool noMatch) { noMatch_ = noMatch; }

  const std::vector<WideString>& Entries() const { return entries_; }
  const WideString& Spelled() const { return spelled_; }
  int TypedKeys() const { return typedKeys_; }
  bool NoMatch() const { return noMatch_; }

 private:
  std::vector<WideString> entries_;
  int typedKeys_ = 0;
  int selected_ = 0;
  WideString spelled_;
  bool noMatch_ = false;
};

}  // namespace tessaline
