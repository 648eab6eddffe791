// Why words of a text cost more than their letters: for every distinct word of the text, where
// the word search puts it after the word's last key (learning off, so the search's answer for a
// word's keys is the same wherever the word stands). A word the list lacks is spelled; a word
// below the visible entries needs the next-candidate key, and the words above it are what beat
// it. The causes are ranked by how many words of the text they cost.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "evaluation/TapModel.h"
#include "languages/KeyMap.h"
#include "system/WideText.h"

namespace tessaline::evaluation {

struct WordOutcome {
  WideString word;   // lower case
  size_t count = 0;  // occurrences in the text
  int rank = -1;     // place in the list after its last key; -1: not offered (spelled)
  WideString first;  // the first candidate when the word is not it
};

struct MissReport {
  size_t words = 0;                   // word occurrences of the text
  size_t missing = 0;                 // of them, not offered at all
  size_t late = 0;                    // of them, below the visible entries
  size_t notFirst = 0;                // of them, offered but not first
  std::vector<WordOutcome> outcomes;  // distinct words, most occurrences first
};

// Looks every distinct word of text up once (its keys on keys 2-9, as the tap model types it).
MissReport FindMisses(WideView text, const KeyMap& map, Predictor& predictor);

// The top causes as text: the most frequent missing words, and the most frequent words offered
// too late with the word that came first, `top` lines each.
std::string DescribeMisses(const MissReport& report, size_t top);

}  // namespace tessaline::evaluation
