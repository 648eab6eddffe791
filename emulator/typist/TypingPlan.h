// The typist's plan: the taps a person makes to type a text in word mode with the shipped
// keypad: letter keys, the wanted word picked from the candidate window (or reached with the
// next-candidate key), words the vocabulary lacks spelled by multi-tap, the punctuation key, the
// case key and the symbols pop-up. The taps come from the same tap model as "tessaline eval", run
// against the language's own engine, so a typed text costs what the evaluation predicts.
#pragma once

#include <string>
#include <vector>

#include "engine/Language.h"
#include "evaluation/TapModel.h"

namespace tessaline::typist {

struct TypingPlan {
  std::vector<evaluation::Tap> taps;  // in order, with the multi-tap pauses between them
  evaluation::TapCount count;
};

// Plans the text with the language (learning: every committed word is learned, as the input
// method does with adaptive vocabulary on; the language's files are then written).
TypingPlan PlanTyping(WideView text, Language& language, bool learning);

// A tap as a person reads it: "key 4", "candidate 2", "pause", "symbol @"...
std::string DescribeTap(const evaluation::Tap& tap);

// The event code of the panel button that makes the tap (the candidate window's entries, the
// symbols in the pop-up and the pause have none: -1).
int ButtonEvent(const evaluation::Tap& tap);

// The paragraphs that the demonstration types.
extern const char16_t* const kEnglishDemoParagraph;
extern const char16_t* const kGermanDemoParagraph;

}  // namespace tessaline::typist
