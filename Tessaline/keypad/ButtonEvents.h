// The keypad's button events and the ids of the buttons the input method treats specially. A
// panel file gives each button an id and up to two event codes (tap and hold); the keypad acts
// on the event codes, the input window on a few ids. Everything that drives or draws the keypad
// (the input window, the symbols pop-up, the emulator's typist, the tests) names them from here.
#pragma once

#include "system/WideText.h"

namespace tessaline::keypad {

// Event codes.
constexpr int kTypeCaption = 0;  // types the first character of the button's text
constexpr int kPunctuation = 1;  // the phone keys are 1 to 10: 1 punctuation, 10 space
constexpr int kSpace = 10;
constexpr int kEnter = 11;
constexpr int kBackspace = 12;
constexpr int kSymbols = 13;
constexpr int kCase = 14;
constexpr int kMode = 15;
constexpr int kNextCandidate = 16;
constexpr int kKeyScript = 20;        // sends the button's text as a key script
constexpr int kFirstLetterKey = 101;  // the letter keys of the full keyboard
constexpr int kLastLetterKey = 150;
constexpr int kCloseSymbols = 300;
constexpr int kOptions = 301;
constexpr int kNextLanguage = 302;
constexpr int kFirstSymbol = 400;  // the symbols pop-up's characters
constexpr int kLastSymbol = 431;
// No event: what the last event is once the multi-tap pause has passed.
constexpr int kNoEvent = 65535;

// A key whose letters the language gives: a phone key or a letter key of the full keyboard.
constexpr bool IsLetterKey(int event) {
  return (event >= 1 && event <= 10) || (event >= kFirstLetterKey && event <= kLastLetterKey);
}

// Button ids. The candidate window's tap on a word stands for the commit button.
constexpr int kCommitButtonId = 11;
constexpr int kCaseButtonId = 14;
constexpr int kModeButtonId = 15;
constexpr int kFirstUserButtonId = 30;  // the user pad's 16 buttons
constexpr int kUserButtonCount = 16;
// The symbols pop-up's own buttons.
constexpr int kPopupFirstSymbolId = 100;
constexpr int kPopupLanguageId = 150;
constexpr int kPopupOptionsId = 151;

// The 22 characters of the symbols pop-up, in button order (events 400-421).
WideView PopupSymbols();
// Character `index` of that list; '?' for an index outside it.
char16_t PopupSymbol(int index);

}  // namespace tessaline::keypad
