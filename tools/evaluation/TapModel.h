// Replays a text as a person would type it on the keypad and counts the taps.
//
// The text is read as words (runs of letters that lie on the telephone keys 2-9, in either case)
// and other characters. The candidate window shows three entries at a time (the default, with
// "Show one word" off); its list is the word search's candidates followed by the spelling entry.
//
// Word mode:
//  - Case first: the case key cycles lower -> capitals -> capitalise next word -> lower, and
//    ".", "!" or "?" sets "capitalise next word" by itself. A lower-case word needs "lower", a
//    capitalised one "capitalise next word", an all-capitals one (two letters or more)
//    "capitals"; each step of the cycle to get there is one tap. A word with capitals inside is
//    counted as capitalised (the keypad cannot give inner capitals in word mode).
//  - One tap per letter on its telephone key. After every tap, once the word is among the three
//    visible entries, the person taps it: one tap, which commits the word with its space. When
//    the word is the selected (first) entry after its last letter and the next character lies on
//    the punctuation key, that key's own tap commits it (no extra tap).
//  - After the last letter, a word further down the list is reached with the next-candidate key
//    (each tap moves the selection three entries on, stopping at the last one), then tapped.
//  - A word the list lacks is spelled: the spelling entry is reached the same way and tapped,
//    the letters are entered by multi-tap (a letter's position on its key + 1 taps; waiting out
//    the multi-tap time between two letters of one key costs no tap), and the spelled word is
//    committed with one tap (or by the punctuation key, as above).
//  - With learning on, every committed word is learned (LearnWord), and a spelled word is added
//    to the user's words first (AddUserWord); with learning off the vocabulary never changes.
// Letter mode (multi-tap): a letter costs its position on its key + 1 taps; the case key
// toggles capitals (one tap into a run of capitals, one tap out).
// Both modes: a space is one tap on the space key, except right after a committed word (the
// commit gave it); a character of the punctuation key costs its position + 1 taps and, right
// after a committed word, replaces the word's space; a line break is one tap (Enter); any other
// character costs two taps (open the symbols, tap the symbol). A line break or a symbol right
// after a committed word costs one Backspace more for the word's space, except the symbols
// . , ! ? : ; ' ) _ which replace it by themselves.
#pragma once

#include <cstddef>
#include <vector>

#include "languages/KeyMap.h"
#include "system/WideText.h"

namespace tessaline::evaluation {

// The word mode engine as the tap model uses it.
class Predictor {
 public:
  virtual ~Predictor() = default;
  virtual void Reset() = 0;
  virtual void PressKey(int key) = 0;
  // The candidates of the word search, best first (without the spelling entry).
  virtual std::vector<WideString> Candidates() = 0;
  virtual void AddUserWord(const WideString& word) = 0;
  virtual void LearnWord(const WideString& word) = 0;
};

struct TapCount {
  size_t characters = 0;
  size_t taps = 0;
  size_t words = 0;
  size_t firstCandidate = 0;    // committed while it was the selected (first) entry
  size_t visibleCandidate = 0;  // committed from the visible entries without the next-candidate key
  size_t spelled = 0;           // not offered at all: spelled
  size_t caseApproximated = 0;  // words with capitals inside
  // The words alone, as the usual measure of keypad entry counts them: their letters and one
  // space each, against the taps for letters, candidates and spelling (no case taps).
  size_t wordCharacters = 0;
  size_t wordTaps = 0;
  double TapsPerCharacter() const { return characters ? double(taps) / double(characters) : 0.0; }
  double WordTapsPerCharacter() const {
    return wordCharacters ? double(wordTaps) / double(wordCharacters) : 0.0;
  }
};

constexpr int kVisibleCandidates = 3;

// One tap of the replay, for a typist that makes the taps for real: which button and, for the
// candidate window, which of its visible entries.
enum class TapKind {
  kLetterKey,       // word mode: a letter key (key) once
  kCaseKey,         // the case key
  kNextCandidate,   // the next-candidate key: the selection moves three entries on
  kCandidate,       // the candidate window's visible entry `index` (0 to 2): commits it
  kSpellingKey,     // spelling (multi-tap): one tap on key `key` towards the letter `ch`
  kMultiTapPause,   // no tap: wait out the multi-tap time before the next letter on the same key
  kCommitSpelled,   // the spelled word's entry: commits it
  kPunctuationKey,  // key 1 once (multi-tap towards `ch`)
  kSpaceKey,
  kEnterKey,
  kBackspaceKey,
  kSymbolsKey,  // opens the symbols pop-up
  kSymbol,      // the symbol `ch` in the pop-up
};

struct Tap {
  TapKind kind;
  int key = 0;
  int index = 0;
  char16_t ch = 0;
};

// Receives every tap of a replay in order (kMultiTapPause is not counted as a tap).
class TapSink {
 public:
  virtual ~TapSink() = default;
  virtual void OnTap(const Tap& tap) = 0;
};

TapCount ReplayWordMode(WideView text, const KeyMap& map, Predictor& predictor, bool learning,
                        TapSink* sink = nullptr);
TapCount ReplayLetterMode(WideView text, const KeyMap& map);

}  // namespace tessaline::evaluation
