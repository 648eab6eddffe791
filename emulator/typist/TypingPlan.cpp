#include "typist/TypingPlan.h"

#include "evaluation/EnginePredictor.h"
#include "keypad/ButtonEvents.h"
#include "system/WideText.h"

namespace tessaline::typist {
namespace {

using evaluation::Tap;
using evaluation::TapKind;

class PlanSink final : public evaluation::TapSink {
 public:
  explicit PlanSink(std::vector<Tap>& taps) : taps_(taps) {}
  void OnTap(const Tap& tap) override { taps_.push_back(tap); }

 private:
  std::vector<Tap>& taps_;
};

}  // namespace

const char16_t* const kEnglishDemoParagraph =
    u"The weather was fine, so we walked down to the harbour. Boats came in with the morning "
    u"catch, and the market was busy before nine. Have you ever tried fresh bread with honey "
    u"by the sea? It tastes of summer.";

const char16_t* const kGermanDemoParagraph =
    u"Am Morgen fahren wir mit dem Zug in die Stadt. Dort gibt es einen großen Markt, auf dem "
    u"die Leute frisches Obst und Gemüse kaufen. Danach trinken wir Kaffee und gehen nach Hause.";

TypingPlan PlanTyping(WideView text, Language& language, bool learning) {
  TypingPlan plan;
  PlanSink sink(plan.taps);
  evaluation::EnginePredictor predictor(language);
  plan.count = evaluation::ReplayWordMode(text, language.Keys(), predictor, learning, &sink);
  return plan;
}

std::string DescribeTap(const Tap& tap) {
  const std::string ch = tap.ch ? WideToUtf8(WideString(1, tap.ch)) : std::string();
  switch (tap.kind) {
    case TapKind::kLetterKey:
      return "key " + std::to_string(tap.key);
    case TapKind::kCaseKey:
      return "case";
    case TapKind::kModeKey:
      return "mode";
    case TapKind::kSpelledCopyWait:
      return "wait for the spelling entry";
    case TapKind::kSwipeToSymbols:
      return "swipe to symbols";
    case TapKind::kSwipeBack:
      return "swipe back";
    case TapKind::kDigit:
      return "digit " + ch;
    case TapKind::kNextCandidate:
      return "next";
    case TapKind::kCandidate:
      return "candidate " + std::to_string(tap.index + 1);
    case TapKind::kSpellingKey:
      return "spell key " + std::to_string(tap.key) + " (" + ch + ")";
    case TapKind::kMultiTapPause:
      return "pause";
    case TapKind::kCommitSpelled:
      return "commit spelled";
    case TapKind::kPunctuationKey:
      return "punctuation (" + ch + ")";
    case TapKind::kSpaceKey:
      return "space";
    case TapKind::kEnterKey:
      return "enter";
    case TapKind::kBackspaceKey:
      return "backspace";
    case TapKind::kSymbolsKey:
      return "symbols";
    case TapKind::kSymbol:
      return "symbol " + ch;
  }
  return "?";
}

int ButtonEvent(const Tap& tap) {
  switch (tap.kind) {
    case TapKind::kLetterKey:
    case TapKind::kSpellingKey:
      return tap.key;
    case TapKind::kCaseKey:
      return keypad::kCase;
    case TapKind::kModeKey:
      return keypad::kMode;
    case TapKind::kNextCandidate:
      return keypad::kNextCandidate;
    case TapKind::kPunctuationKey:
      return keypad::kPunctuation;
    case TapKind::kSpaceKey:
      return keypad::kSpace;
    case TapKind::kEnterKey:
      return keypad::kEnter;
    case TapKind::kBackspaceKey:
      return keypad::kBackspace;
    case TapKind::kSymbolsKey:
      return keypad::kSymbols;
    case TapKind::kCandidate:
    case TapKind::kCommitSpelled:
    case TapKind::kMultiTapPause:
    case TapKind::kSymbol:
    case TapKind::kSpelledCopyWait:
    case TapKind::kSwipeToSymbols:
    case TapKind::kSwipeBack:
    case TapKind::kDigit:
      return -1;
  }
  return -1;
}

}  // namespace tessaline::typist
