// The keypad composer: what the buttons' events do to the text being typed, without a window.
//
// In word mode each tap on a letter key adds the key to the word search and the candidates found
// are offered; the word is committed with a trailing space, which stays "pending" so that a
// punctuation mark can take its place. In letter mode (and while the user spells a new word in
// the candidate list's last entry) repeated taps on a key within the multi-tap pause cycle
// through its letters. The case state (0 as typed, 1 capitals, 2 a capital for the next word)
// applies to letters and committed words.
//
// The composer reaches the application, the clock and the window only through its host: the
// input window, which delivers text and keys, runs the timers, shows the candidate list and the
// pop-ups and paints the case and mode keys.
#pragma once

#include <cstdint>

#include "engine/WordSearch.h"
#include "keypad/ButtonEvents.h"
#include "keypad/CandidateList.h"
#include "system/WideText.h"

namespace tessaline {

class Language;

constexpr uint8_t kVkBack = 0x08;
constexpr uint8_t kVkReturn = 0x0D;

// What the composer needs of the settings, read by the window when a button fires.
struct ComposerOptions {
  bool addSpace = true;     // a committed word keeps its trailing space
  bool adaptiveVoc = true;  // committed words are learned
  int candidateStep = 3;    // entries the next-candidate key moves forward
  bool truncateWords = false;  // longer words are offered cut to the keys pressed
};

// One use of a button: its tap and hold event codes and texts (caption cells 0 and 1), and
// whether the hold timer fired it.
struct ButtonPress {
  int tapEvent = -1;
  int holdEvent = -1;
  WideString tapText;
  WideString holdText;
  bool hold = false;
};

class ComposerHost {
 public:
  virtual ~ComposerHost() = default;

  // The application: text, a virtual key pressed and released, and a key script (false when it
  // compiles to nothing and nothing was sent).
  virtual void SendText(WideView text) = 0;
  virtual void SendKey(uint8_t vk) = 0;
  virtual bool SendKeyScript(WideView script) = 0;
  // The device's upper case.
  virtual WideString UpperCase(WideView text) const = 0;
  virtual void Pause(unsigned milliseconds) = 0;
  virtual void Beep() = 0;

  // The candidate list was filled anew: shown when `shown`, else hidden (and empty).
  virtual void CandidatesReplaced(bool shown) = 0;
  // Another entry was selected; `copiedFirstWord` when the spelling entry took a copy of the
  // first word, which goes again after the spelled-copy pause unless the user edits it.
  virtual void CandidateSelected(bool copiedFirstWord) = 0;
  // The spelled word was edited.
  virtual void SpelledChanged() = 0;

  virtual void CaseChanged(int caseState) = 0;
  virtual void ModeChanged(bool wordMode) = 0;
  // The current language changed or was read again: the keys' captions come from it.
  virtual void LanguageChanged(const Language& language) = 0;

  // Timers: the multi-tap pause (at its end MultiTapTimeout), and the hold timer, which the case
  // and mode keys stop for the rest of the press.
  virtual void StartMultiTapTimer() = 0;
  virtual void StopMultiTapTimer() = 0;
  virtual void StopHoldTimer() = 0;

  virtual void ShowSymbols() = 0;
  virtual void HideSymbols() = 0;
  // The input was dropped: the pop-ups go too.
  virtual void InputReset() = 0;
  // Opens the options sheet (modal). False when the composer went with its window meanwhile:
  // nothing of it may be touched then.
  virtual bool OpenOptions() = 0;
  // The user dictionary was written (or failed to be): failures are told later.
  virtual void UserWordsStored() = 0;
};

class KeypadComposer {
 public:
  explicit KeypadComposer(ComposerHost& host) : host_(host) {}
  KeypadComposer(const KeypadComposer&) = delete;
  KeypadComposer& operator=(const KeypadComposer&) = delete;

  void SetOptions(const ComposerOptions& options) { options_ = options; }

  // A button fired: tapped (after a press whose hold typed the button's text, the tap does
  // nothing) or by the hold timer. While a word is composed, a tap on a text button is skipped,
  // Enter commits the word instead, and the symbols and key-script buttons commit it first.
  // False when the window (and this composer) went away during the event.
  bool Fire(const ButtonPress& press);
  // An event sent from elsewhere (the symbols pop-up), carried out as it is.
  bool CarryOut(int event) { return CarryOut(event, WideString(), false); }
  // The pen went down or up: a new press starts.
  void EndPress() { holdFired_ = false; }
  bool HoldFired() const { return holdFired_; }
  // The multi-tap pause passed: the next tap starts the key's letters anew.
  void MultiTapTimeout() { lastEvent_ = keypad::kNoEvent; }

  // Drops the word being composed and the pending space; the pop-ups go.
  void Reset();
  // Commits the word being composed (nothing in letter mode or without a word).
  void CommitWord();

  // Languages: the first active language, the next one (with two or more), and reading the
  // current one again when another writer changed its user dictionary (between words only).
  void UseFirstLanguage();
  void NextLanguage();
  void RefreshLanguage();
  // Forgets the language and the word (the languages are about to go).
  void DropLanguage();
  Language* CurrentLanguage() const { return language_; }
  int LanguageIndex() const { return languageIndex_; }

  // State.
  bool WordMode() const { return wordMode_; }
  int CaseState() const { return caseState_; }
  bool SpellingMode() const { return candidates_.SpellingMode(); }
  bool Composing() const { return search_.State() != 0 || SpellingMode(); }
  bool AutoSpacePending() const { return autoSpacePending_; }
  int LastEvent() const { return lastEvent_; }
  char16_t PendingChar() const { return pendingChar_; }
  const WordSearch& Search() const { return search_; }
  CandidateList& Candidates() { return candidates_; }
  const CandidateList& Candidates() const { return candidates_; }

  // The pressed-key pop-up: whether it shows the letters of a button with that tap event (letter
  // mode or spelling, on a letter key), and which of them the next tap gives.
  bool ShowsLetters(int tapEvent) const;
  // Whether a tap with that event goes to the word search (a letter key that is no punctuation
  // key, in word mode, not spelling, with a language): the candidate window shows after it.
  bool SearchesOnTap(int tapEvent) const;
  // The pen is on the first key of a word: the look at the language's files that its first key
  // makes (another writer's changes to the user dictionary, RefreshLanguage) is made now, and the
  // key press that follows before the pen leaves the key makes it no more.
  void CheckLanguageBeforeWord();
  void PenLeft() { languageChecked_ = false; }
  int NextLetterIndex(int key) const;

 private:
  bool CarryOut(int event, const WideString& text, bool fromHold);
  void KeyPress(int key);
  void OutputChar(char16_t ch, bool replace);
  void TypeChar(char16_t ch);
  void SpellingBackspace();
  void NextCandidate();
  void HideCandidates();
  void SetCaseState(int caseState);
  void CycleCase();
  void ToggleMode();
  void ApplyLanguage(Language* language);
  char16_t Upper(char16_t ch) const;

  // Delivery: while spelling, keys do not reach the application (Backspace edits the spelled
  // word, other keys are dropped). Whatever is sent is no longer a committed word's space.
  void SendKey(uint8_t vk);
  void SendBackspaces(int n);
  void SendText(WideView text);
  void SendKeyScript(WideView script);

  ComposerHost& host_;
  ComposerOptions options_;
  WordSearch search_;
  CandidateList candidates_;
  Language* language_ = nullptr;
  int languageIndex_ = 0;
  bool wordMode_ = true;
  int caseState_ = 0;
  int lastEvent_ = keypad::kNoEvent;
  char16_t pendingChar_ = 0;
  bool holdFired_ = false;
  bool languageChecked_ = false;  // by CheckLanguageBeforeWord, until the pen leaves
  bool autoSpacePending_ = false;
};

}  // namespace tessaline
