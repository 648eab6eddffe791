// Word lists as the vocabulary compiler reads them, and the treatment of a listed word before it
// is encoded: case folding and splitting at apostrophes and hyphens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "system/WideText.h"

namespace tessaline::vocbuild {

// A word of a list with its count. Lists in rank order get the count kRankScale / rank (Zipf's
// law), so that both kinds of list reach the frequency scale the same way.
struct SourceWord {
  WideString text;
  uint64_t count = 0;
};

constexpr uint64_t kRankScale = 1000000000;

struct WordList {
  std::vector<SourceWord> words;  // in list order
  bool counted = false;           // "word<TAB>count" lines (else one word per line, by rank)
  size_t malformedLines = 0;      // counted lists: lines without a usable count
};

// Reads a UTF-8 list (a byte-order mark and CR LF line ends are accepted). The first non-empty
// line decides the kind: with a tab it is a counted list, and every line must be
// "word<TAB>count" (decimal); without, every non-empty line is one word, most common first.
// Spaces around a word are dropped.
WordList ReadWordList(std::string_view bytes);

// A dictionary's words as families: one family a line (a lemma and its inflected forms, as
// tools/vocbuild/forms_from_hunspell.py writes them from a Hunspell dictionary), its forms
// separated by spaces or tabs, in the case the dictionary writes them. A plain list of one word a
// line reads as families of one word each. UTF-8; a byte-order mark and CR LF are accepted.
struct FamilyList {
  std::vector<std::vector<WideString>> families;  // in line order, empty lines left out
};
FamilyList ReadFamilyList(std::string_view bytes);

// Lower case of a letter for the scripts the shipped languages use (Latin-1, Latin Extended-A,
// Greek, Cyrillic); other characters are returned unchanged.
char16_t LowerLetter(char16_t ch);
WideString FoldCase(WideView text);

// True for a dictionary entry written as an abbreviation or a symbol rather than as a word: all
// capitals ("TD", "VD"), a capital after the first letter ("IEEE", "McD"), or two letters with
// the first a capital ("Gd", "Hf"). Lower-case words, capitalised names of three letters or more
// and the single capital "I" are words.
bool IsAbbreviation(WideView form);

// True for the characters that join parts of a word: apostrophes (' U+2019 U+02BC) and hyphens
// (- U+2010 U+2011). On the keypad they are typed with the punctuation key between two words.
bool IsJoiner(char16_t ch);

// The parts of a word between joiners, empty parts left out ("peut-être" gives "peut", "être";
// "c'est" gives "c", "est").
std::vector<WideString> SplitAtJoiners(WideView text);

}  // namespace tessaline::vocbuild
