#include "system/LetterCase.h"

namespace tessaline {
namespace {

// An upper-case letter at an even unit with its lower case right after it.
bool EvenPair(char16_t ch, char16_t first, char16_t last) {
  return ch >= first && ch <= last && (ch & 1) == 0;
}
// The same with the upper case at odd units.
bool OddPair(char16_t ch, char16_t first, char16_t last) {
  return ch >= first && ch <= last && (ch & 1) == 1;
}

// The letter without its accent, for lower-case letters of Latin-1 and Latin Extended-A; '.'
// keeps the letter as it is (æ, ð, þ, ĳ, ŋ, œ: letters of their own).
constexpr char kLatin1Bases[] = "aaaaaa.ceeeeiiii.nooooo.ouuuuy.y";  // U+00E0 to U+00FF
constexpr char kExtendedABases[] =                                   // U+0100 to U+017F
    "aaaaaaccccccccdd"
    "ddeeeeeeeeeegggg"
    "gggghhhhiiiiiiii"
    "ii..jjkk.lllllll"
    "lllnnnnnnn..oooo"
    "oo..rrrrrrssssss"
    "ssttttttuuuuuuuu"
    "uuuuwwyyyzzzzzzs";

char16_t BaseLetter(char16_t lower) {
  if (lower >= 0xE0 && lower <= 0xFF && kLatin1Bases[lower - 0xE0] != '.') {
    return static_cast<char16_t>(kLatin1Bases[lower - 0xE0]);
  }
  if (lower >= 0x100 && lower <= 0x17F && kExtendedABases[lower - 0x100] != '.') {
    return static_cast<char16_t>(kExtendedABases[lower - 0x100]);
  }
  switch (lower) {
    case 0x0451:
      return 0x0435;  // ё
    case 0x0390:
    case 0x03AF:
    case 0x03CA:
      return 0x03B9;  // ΐ ί ϊ
    case 0x03B0:
    case 0x03CB:
    case 0x03CD:
      return 0x03C5;  // ΰ ϋ ύ
    case 0x03AC:
      return 0x03B1;
    case 0x03AD:
      return 0x03B5;
    case 0x03AE:
      return 0x03B7;
    case 0x03CC:
      return 0x03BF;
    case 0x03CE:
      return 0x03C9;
    case 0x03C2:
      return 0x03C3;  // final sigma
    default:
      return lower;
  }
}

// Apostrophes and hyphens weigh nothing at the first level, as in the device's sorting.
bool PassedOver(char16_t ch) {
  return ch == u'\'' || ch == u'-' || ch == 0x2019 || ch == 0x2010 || ch == 0x2011;
}

int CompareUnits(WideView a, WideView b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

char16_t LowerLetter(char16_t ch) {
  if (ch < 0x80) return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch + 32) : ch;
  if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return static_cast<char16_t>(ch + 32);
  if (ch == 0x130) return u'i';  // İ
  if (ch == 0x178) return 0xFF;  // Ÿ
  if (EvenPair(ch, 0x100, 0x137) || OddPair(ch, 0x139, 0x148) || EvenPair(ch, 0x14A, 0x177) ||
      OddPair(ch, 0x179, 0x17E)) {
    return static_cast<char16_t>(ch + 1);
  }
  // Latin Extended-B: the pairs of Romanian, Livonian and the Pinyin tone letters.
  if (EvenPair(ch, 0x200, 0x21F) || EvenPair(ch, 0x222, 0x233) || OddPair(ch, 0x1CD, 0x1DC) ||
      EvenPair(ch, 0x1DE, 0x1EF) || EvenPair(ch, 0x1F8, 0x1FF)) {
    return static_cast<char16_t>(ch + 1);
  }
  // Greek.
  if (ch == 0x386) return 0x3AC;
  if (ch >= 0x388 && ch <= 0x38A) return static_cast<char16_t>(ch + 37);
  if (ch == 0x38C) return 0x3CC;
  if (ch == 0x38E || ch == 0x38F) return static_cast<char16_t>(ch + 63);
  if (ch >= 0x391 && ch <= 0x3AB && ch != 0x3A2) return static_cast<char16_t>(ch + 32);
  // Cyrillic.
  if (ch >= 0x400 && ch <= 0x40F) return static_cast<char16_t>(ch + 80);
  if (ch >= 0x410 && ch <= 0x42F) return static_cast<char16_t>(ch + 32);
  if (EvenPair(ch, 0x460, 0x481) || EvenPair(ch, 0x48A, 0x4BF) || EvenPair(ch, 0x4D0, 0x52F)) {
    return static_cast<char16_t>(ch + 1);
  }
  if (ch == 0x4C0) return 0x4CF;
  if (OddPair(ch, 0x4C1, 0x4CE)) return static_cast<char16_t>(ch + 1);
  // Armenian.
  if (ch >= 0x531 && ch <= 0x556) return static_cast<char16_t>(ch + 48);
  // Latin Extended Additional (Welsh, Vietnamese and others).
  if (EvenPair(ch, 0x1E00, 0x1E95) || EvenPair(ch, 0x1EA0, 0x1EFF)) {
    return static_cast<char16_t>(ch + 1);
  }
  // Full-width Latin capitals.
  if (ch >= 0xFF21 && ch <= 0xFF3A) return static_cast<char16_t>(ch + 32);
  return ch;
}

WideString LowerCase(WideView text) {
  WideString out(text);
  for (char16_t& ch : out) ch = LowerLetter(ch);
  return out;
}

int CompareAlphabetically(WideView a, WideView b) {
  const WideString lowerA = LowerCase(a);
  const WideString lowerB = LowerCase(b);
  WideString baseA, baseB;
  for (char16_t ch : lowerA) {
    if (!PassedOver(ch)) baseA += BaseLetter(ch);
  }
  for (char16_t ch : lowerB) {
    if (!PassedOver(ch)) baseB += BaseLetter(ch);
  }
  if (int c = CompareUnits(baseA, baseB)) return c;
  if (int c = CompareUnits(lowerA, lowerB)) return c;
  // Lower case before upper case, as the device lists "word" before "Word".
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const bool upperA = LowerLetter(a[i]) != a[i];
    const bool upperB = LowerLetter(b[i]) != b[i];
    if (upperA != upperB) return upperA ? 1 : -1;
  }
  return CompareUnits(a, b);
}

}  // namespace tessaline
