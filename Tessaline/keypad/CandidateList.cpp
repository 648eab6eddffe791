#include "keypad/CandidateList.h"

#include <algorithm>
#include <utility>

namespace tessaline {

void CandidateList::SetList(std::vector<WideString> entries, int typedKeys) {
  entries_ = std::move(entries);
  typedKeys_ = typedKeys;
  selected_ = 0;
  spelled_.clear();
}

bool CandidateList::Select(int index) {
  selected_ = std::max(0, std::min(index, Count() - 1));
  if (SpellingMode()) {
    // The user may want a word close to the best match: it stands in the spelling entry for a
    // while, and stays when the user starts editing it.
    spelled_ = entries_.front();
    return true;
  }
  spelled_.clear();
  return false;
}

int CandidateList::NextIndex(int step) const {
  const int last = Count() - 1;
  if (selected_ >= last) return 0;
  return std::min(selected_ + step, last);
}

bool CandidateList::IsSpellingEntry(int index) const {
  return !entries_.empty() && index == Count() - 1;
}

WideString CandidateList::CurrentWord() const {
  if (SpellingMode()) return spelled_;
  if (selected_ >= 0 && selected_ < Count()) return entries_[static_cast<size_t>(selected_)];
  return {};
}

bool CandidateList::RemoveLastSpelled() {
  if (spelled_.empty()) return false;
  spelled_.pop_back();
  return true;
}

}  // namespace tessaline
