// Lower case and the alphabetical order of the word lists, the same on every build: the options
// pages lower imported words and the tools sort user words as the device's sorted list does.
#pragma once

#include "system/WideText.h"

namespace tessaline {

// The lower-case form of one UTF-16 unit for the alphabets the languages use: Latin (ASCII,
// Latin-1, Latin Extended-A, the Latin letters of Extended-B and Extended Additional), Greek,
// Cyrillic, Armenian and the full-width Latin letters. Every other unit is returned unchanged.
char16_t LowerLetter(char16_t ch);
WideString LowerCase(WideView text);

// Alphabetical order ignoring letter case and accents, as a sorted list box of the device shows
// words: first by the letters without case and accents (apostrophes and hyphens passed over),
// then by the accents, then by letter case, and last by the code units, so that the order is
// total. Negative, zero or positive like strcmp.
int CompareAlphabetically(WideView a, WideView b);

}  // namespace tessaline
