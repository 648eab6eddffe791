// Replays a text as a person would type it on the keypad and counts the taps. The same replay
// plans the emulator's typist, which carries the taps out on the real input window, so every
// rule below is what the window really does with them.
//
// The text is read as words (runs of letters that lie on the telephone keys 2-9, in either case)
// and other characters.
//
// Words, in word mode:
//  - Case first: the case key cycles lower -> capitals -> capitalise next word -> lower, and
//    ".", "!" or "?" from the punctuation key sets "capitalise next word" by itself (any other
//    punctuation sets lower case); a commit in "capitalise" falls back to lower. The word takes
//    the case state that gives it exactly (the fewest taps from the state the keypad is in).
//  - One tap per letter on its telephone key. After every tap, once the word is among the visible
//    entries of the candidate window, the person taps it: one tap, which commits the word with
//    its space. When the word is the selected (first) entry after its last letter and the next
//    character lies on the punctuation key, that key's own tap commits it (no extra tap).
//  - After the last letter, a word further down the list is reached with the next-candidate key
//    (each tap moves the selection a step on, stopping at the last entry, from which it wraps),
//    then tapped.
//  - A word the list lacks is spelled: the spelling entry is reached the same way and tapped
//    (when the next-candidate key lands on it, it is selected already and needs no tap), the
//    copied first word that stands in it for two seconds is waited out, the letters are entered
//    by multi-tap (a letter's position on its key + 1 taps; waiting out the multi-tap time
//    between two letters of one key costs no tap), and the spelled word is committed with one
//    tap on its entry (or by the punctuation key, as above). When a key leaves the word search
//    without any candidate, spelling starts at once with an empty entry, and the whole word is
//    spelled.
//  - A word whose capitals no case state gives (capitals inside, "McDonald") is typed in letter
//    mode: the mode key, then each letter by multi-tap with the case key toggling capitals; the
//    mode key returns to word mode before the next word that word mode can give, landing in
//    "capitalise next word".
//  - Learning as the input window does it: a spelled word is added to the user's words, and
//    every committed word is learned when adaptive vocabulary is on.
// Other characters:
//  - a space is one tap on the space key, except right after a committed word (the commit gave
//    it). The space key, like the punctuation key, takes back a commit's space that is still the
//    last thing sent: when the text has used that space already, one more tap on the space key
//    settles it first (two spaces in a row cost two taps, "word ." costs one tap more);
//  - a character of the punctuation key costs its position + 1 taps and, right after a committed
//    word, replaces the word's space;
//  - a line break is one tap (Enter); right after a committed word one Backspace first;
//  - the symbols of the symbols pop-up cost two taps (open it, tap the symbol); right after a
//    committed word one Backspace first, except for . , ! ? : ; ' ) _ which replace the space by
//    themselves;
//  - digits lie on the "symbols" layout: a swipe to it, one tap per digit, and a swipe back to
//    the keypad before the next letter, space or punctuation (or at the end of the text). While
//    there Enter, Backspace and the symbols pop-up are at hand too;
//  - a text that ends right after a committed word costs a Backspace for its space;
//  - any other character cannot be typed: it is counted as untypable and left out.
// Letter mode (the whole text multi-tap): a letter costs its position on its key + 1 taps; the
// case key toggles capitals (one tap into a run of capitals, one tap out); other characters as
// above.
#pragma once

#include <cstddef>
#include <functional>
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
  size_t letterModeWords = 0;   // words with capitals inside, typed in letter mode
  size_t untypable = 0;         // characters no key and no symbol gives (left out)
  size_t firstUntypable = static_cast<size_t>(-1);  // position of the first, in the text
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
  kLetterKey,        // word mode: a letter key (key) once
  kCaseKey,          // the case key
  kModeKey,          // the mode key: word mode <-> letter mode
  kNextCandidate,    // the next-candidate key: the selection moves a step on
  kCandidate,        // the candidate window's visible entry `index` of `shown`: commits a word,
                     // selects the spelling entry
  kSpelledCopyWait,  // no tap: wait until the spelling entry's copied word is gone
  kSpellingKey,      // spelling or letter mode (multi-tap): one tap on `key` towards `ch`
  kMultiTapPause,    // no tap: wait out the multi-tap time before the next tap on the same key
  kCommitSpelled,    // the selected spelling entry (visible entry 0 of `shown`): commits it
  kPunctuationKey,   // key 1 once (multi-tap towards `ch`)
  kSpaceKey,
  kEnterKey,
  kBackspaceKey,
  kSymbolsKey,      // opens the symbols pop-up
  kSymbol,          // the symbol `ch` in the pop-up
  kSwipeToSymbols,  // a swipe down: the "symbols" layout
  kSwipeBack,       // a swipe up from the "symbols" layout: back to the keypad
  kDigit,           // the digit `ch` on the "symbols" layout
};

struct Tap {
  TapKind kind;
  int key = 0;
  int index = 0;  // multi-tap: the position reached on the key; candidates: the visible entry
  char16_t ch = 0;
  int shown = 0;  // candidates: how many entries the window shows
};

// Receives every tap of a replay in order (the waits are not counted as taps), and after each
// word and each other character how far the text has come.
class TapSink {
 public:
  virtual ~TapSink() = default;
  virtual void OnTap(const Tap& tap) = 0;
  // The keypad has now given the text's first `end` characters, followed by the space of a
  // committed word when `trailingSpace` is set.
  virtual void OnProgress(size_t end, bool trailingSpace) {}
};

// What the replay assumes of the keypad before a text, and leaves there after it.
struct KeypadState {
  int caseState = 0;  // 0 lower, 1 capitals, 2 capitalise the next word
  bool wordMode = true;
  bool autoSpacePending = false;  // a commit's space was the last thing sent
  bool onSymbolsLayout = false;
  int lastKey = -1;  // the key whose multi-tap cycle is open (-1: none)
};

struct ReplayOptions {
  bool learnWords = false;                 // every committed word is learned (adaptive vocabulary)
  bool addSpelledWords = false;            // a spelled word becomes a user word
  int candidateStep = kVisibleCandidates;  // 3, or 1 with "Show one word"
  bool addSpace = true;                    // a commit sends the word's space
  bool letterModeOnly = false;             // multi-tap everything
  // Upper case as the device gives it; empty: a portable table for the shipped languages.
  std::function<char16_t(char16_t)> upper;
};

TapCount ReplayText(WideView text, const KeyMap& map, Predictor* predictor,
                    const ReplayOptions& options, KeypadState& state, TapSink* sink = nullptr);

// Word mode from a fresh keypad; learning adds spelled words and learns every commit.
TapCount ReplayWordMode(WideView text, const KeyMap& map, Predictor& predictor, bool learning,
                        TapSink* sink = nullptr);
TapCount ReplayLetterMode(WideView text, const KeyMap& map);

// The symbols of the symbols pop-up, in button order.
extern const char16_t kPopupSymbols[];

}  // namespace tessaline::evaluation
