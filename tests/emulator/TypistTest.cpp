// The typist's plan for the shipped languages: it costs what the evaluation predicts, and
// replaying its taps on a fresh engine gives back exactly the text asked for.
#include <gtest/gtest.h>

#include <cctype>

#include "evaluation/EnginePredictor.h"
#include "panel/PanelFile.h"
#include "settings/Settings.h"
#include "support/TestFiles.h"
#include "system/WideText.h"
#include "textfile/TextFile.h"
#include "typist/TypingPlan.h"
#include "vocbuild/WordList.h"

namespace tessaline::typist {
namespace {

using evaluation::Tap;
using evaluation::TapKind;

// A private copy of a shipped language, so that learning writes its dictionary there.
class ShippedLanguage {
 public:
  explicit ShippedLanguage(const std::string& name) {
    const std::string source = std::string(TESSALINE_SOURCE_DIR) + "/data/Languages/" + name;
    chr_ = folder_.Write(name + ".chr", testing::ReadBytes(source + ".chr"));
    folder_.Write(name + ".voc", testing::ReadBytes(source + ".voc"));
    name_ = Utf8ToWide(name);
  }
  std::unique_ptr<Language> Load(bool learning) const {
    Settings& settings = GetSettings();
    ResetSettings(settings);
    return std::make_unique<Language>(chr_, name_, learning, learning, settings.FreqMax,
                                      settings.FreqInc);
  }

 private:
  testing::TempDir folder_;
  std::string chr_;
  WideString name_;
};

char16_t Upper(char16_t ch);

// Plays the taps as the keypad and its candidate window take them and writes the text they
// make, so that a wrong candidate, a missing Backspace or a wrong case tap shows as a wrong text.
class KeypadReplay {
 public:
  explicit KeypadReplay(Language& language) : language_(language), predictor_(language) {}

  void Play(const Tap& tap) {
    const KeyMap& keys = language_.Keys();
    switch (tap.kind) {
      case TapKind::kCaseKey:
        // Letter mode toggles capitals; word mode cycles through the three states.
        caseState_ = letterMode_ ? (caseState_ == 1 ? 0 : 1) : (caseState_ + 1) % 3;
        break;
      case TapKind::kModeKey:
        letterMode_ = !letterMode_;
        caseState_ = letterMode_ ? 0 : 2;
        break;
      case TapKind::kLetterKey:
        if (!composing_) {
          predictor_.Reset();
          composing_ = true;
        }
        predictor_.PressKey(tap.key);
        candidates_ = predictor_.Candidates();
        selected_ = 0;
        break;
      case TapKind::kNextCandidate:
        selected_ = std::min<int>(selected_ + evaluation::kVisibleCandidates,
                                  static_cast<int>(candidates_.size()));
        break;
      case TapKind::kCandidate: {
        const size_t entry = static_cast<size_t>(selected_ + tap.index);
        ASSERT_LE(entry, candidates_.size());
        if (entry == candidates_.size()) {
          spelling_ = true;
          spelled_.clear();
        } else {
          Commit(candidates_[entry]);
        }
        break;
      }
      case TapKind::kSpellingKey: {
        const WideString letters = keys.KeyLetters(tap.key);
        ASSERT_LT(static_cast<size_t>(tap.index), letters.size());
        WideString& target = letterMode_ ? text_ : spelled_;
        char16_t letter = letters[static_cast<size_t>(tap.index)];
        if (letterMode_ && caseState_ == 1) letter = Upper(letter);
        if (tap.index == 0) target.push_back(letter);
        if (tap.index > 0) target.back() = letter;
        if (letterMode_) autoSpace_ = false;
        break;
      }
      case TapKind::kMultiTapPause:
      case TapKind::kSpelledCopyWait:
      case TapKind::kSwipeToSymbols:
      case TapKind::kSwipeBack:
        break;
      case TapKind::kDigit:
        Type(tap.ch);
        break;
      case TapKind::kCommitSpelled:
        Commit(spelled_);
        break;
      case TapKind::kPunctuationKey: {
        if (spelling_) Commit(spelled_);
        if (composing_) Commit(candidates_.at(static_cast<size_t>(selected_)));
        const WideString marks = keys.KeyLetters(1);
        if (tap.index == 0) {
          if (autoSpace_) text_.pop_back();
          text_.push_back(marks[0]);
        } else {
          text_.back() = marks[static_cast<size_t>(tap.index)];
        }
        const char16_t mark = text_.back();
        if (caseState_ != 1) caseState_ = (mark == u'.' || mark == u'!' || mark == u'?') ? 2 : 0;
        autoSpace_ = false;
        break;
      }
      case TapKind::kSpaceKey:
        Type(u' ');
        break;
      case TapKind::kEnterKey:
        Type(u'\n');
        break;
      case TapKind::kBackspaceKey:
        ASSERT_FALSE(text_.empty());
        text_.pop_back();
        autoSpace_ = false;
        break;
      case TapKind::kSymbolsKey:
        break;
      case TapKind::kSymbol:
        // These symbols take the place of a committed word's space by themselves.
        if (autoSpace_ && WideView(u".,!?:;')_").find(tap.ch) != WideView::npos) text_.pop_back();
        Type(tap.ch);
        break;
    }
  }
  // The text without the space the last commit left.
  WideString Text() const {
    return autoSpace_ && !text_.empty() ? text_.substr(0, text_.size() - 1) : text_;
  }

 private:
  void Type(char16_t ch) {
    text_.push_back(ch);
    autoSpace_ = false;
  }
  void Commit(WideString word) {
    if (caseState_ == 1) {
      for (char16_t& ch : word) ch = Upper(ch);
    } else if (caseState_ == 2 && !word.empty()) {
      word[0] = Upper(word[0]);
      caseState_ = 0;
    }
    text_ += word + u" ";
    autoSpace_ = true;
    composing_ = spelling_ = false;
  }

  Language& language_;
  evaluation::EnginePredictor predictor_;
  std::vector<WideString> candidates_;
  int selected_ = 0;
  bool composing_ = false, spelling_ = false, autoSpace_ = false, letterMode_ = false;
  int caseState_ = 0;
  WideString spelled_;
  WideString text_;
};

// The capital of a letter: the letter whose lower case it is.
char16_t Upper(char16_t ch) {
  for (char16_t c = 0x41; c < 0x530; ++c) {
    if (c != ch && vocbuild::LowerLetter(c) == ch) return c;
  }
  return ch;
}

size_t CountedTaps(const TypingPlan& plan) {
  size_t taps = 0;
  for (const Tap& tap : plan.taps) taps += tap.kind != TapKind::kMultiTapPause;
  return taps;
}

TEST(TypingPlan, EnglishDemoCostsWhatTheEvaluationPredicts) {
  ShippedLanguage english("English");
  for (const bool learning : {false, true}) {
    const WideString text = kEnglishDemoParagraph;
    TypingPlan plan;
    evaluation::TapCount predicted;
    {
      auto language = english.Load(learning);
      plan = PlanTyping(text, *language, learning);
    }
    {
      ShippedLanguage fresh("English");
      auto language = fresh.Load(learning);
      evaluation::EnginePredictor predictor(*language);
      predicted = evaluation::ReplayWordMode(text, language->Keys(), predictor, learning);
    }
    EXPECT_EQ(CountedTaps(plan), plan.count.taps);
    EXPECT_NEAR(plan.count.TapsPerCharacter(), predicted.TapsPerCharacter(),
                0.02 * predicted.TapsPerCharacter());
    EXPECT_LT(plan.count.TapsPerCharacter(), 1.2);  // predictive entry: about a tap a letter
    std::printf("English demo, learning %s: %zu taps for %zu characters, %.3f taps a character\n",
                learning ? "on" : "off", plan.count.taps, plan.count.characters,
                plan.count.TapsPerCharacter());
  }
}

// Capitals after a full stop and inside a sentence, all capitals, punctuation by multi-tap, a
// symbol after a word, a line break, a word no vocabulary has, and a digit.
TEST(TypingPlan, ReplayingThePlanGivesTheTextBack) {
  const struct {
    const char* language;
    const char16_t* text;
  } cases[] = {
      {"English", kEnglishDemoParagraph},
      {"English", u"Ask NASA, then Bob: is it zqxjv? Yes!\nNew line (and 42 more) @home; done"},
      {"German", kGermanDemoParagraph},
  };
  for (const auto& c : cases) {
    ShippedLanguage shipped(c.language);
    auto planning = shipped.Load(false);
    const TypingPlan plan = PlanTyping(c.text, *planning, false);
    auto replaying = shipped.Load(false);
    KeypadReplay replay(*replaying);
    for (const Tap& tap : plan.taps) replay.Play(tap);
    EXPECT_EQ(WideToUtf8(replay.Text()), WideToUtf8(c.text)) << c.language;
  }
}

TEST(TypingPlan, EveryKeypadTapNamesItsButton) {
  ShippedLanguage english("English");
  auto language = english.Load(false);
  const TypingPlan plan = PlanTyping(u"Hi, Bob!\nzqx @", *language, false);
  bool sawSymbol = false, sawCandidate = false;
  for (const Tap& tap : plan.taps) {
    const int event = ButtonEvent(tap);
    sawSymbol |= tap.kind == TapKind::kSymbol;
    sawCandidate |= tap.kind == TapKind::kCandidate;
    // The candidate window, the pop-up, the symbols layout and the waits are not keypad buttons.
    const bool elsewhere = tap.kind == TapKind::kSymbol || tap.kind == TapKind::kCandidate ||
                           tap.kind == TapKind::kCommitSpelled || tap.kind == TapKind::kDigit ||
                           tap.kind == TapKind::kSwipeToSymbols ||
                           tap.kind == TapKind::kSwipeBack || tap.kind == TapKind::kMultiTapPause ||
                           tap.kind == TapKind::kSpelledCopyWait;
    if (elsewhere) {
      EXPECT_EQ(event, -1) << DescribeTap(tap);
    } else {
      EXPECT_GE(event, 1) << DescribeTap(tap);
    }
  }
  EXPECT_TRUE(sawSymbol && sawCandidate);
}

// The typist finds every button it taps by its event in the installed panel file: a keypad tap
// of the plan, a digit of the "symbols" layout by its caption, a symbol of the pop-up by its
// event. Each shipped panel file must have them all.
TEST(TypingPlan, ShippedPanelsHaveEveryButtonThePlanTaps) {
  const Tap keypadTaps[] = {
      {TapKind::kLetterKey, 2}, {TapKind::kLetterKey, 9},  {TapKind::kCaseKey},
      {TapKind::kModeKey},      {TapKind::kNextCandidate}, {TapKind::kPunctuationKey, 1},
      {TapKind::kSpaceKey},     {TapKind::kEnterKey},      {TapKind::kBackspaceKey},
      {TapKind::kSymbolsKey},   {TapKind::kSpellingKey, 7}};
  for (const char* file : {"compact.pan", "compact_white.pan"}) {
    const std::string path = std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/" + file;
    const TextSection root = ReadTextFile(path);
    Skin skin;
    skin.Read(root, path);
    Panel main, symbols, popup;
    for (auto [panel, name] :
         {std::pair{&main, "main"}, {&symbols, "symbols"}, {&popup, "popup"}}) {
      panel->SetSkin(&skin);
      panel->LoadLayout(root, name);
    }
    auto hasEvent = [](const Panel& panel, int event) {
      for (const auto& button : panel.Buttons()) {
        if (button->event0 == event) return true;
      }
      return false;
    };
    for (const Tap& tap : keypadTaps) {
      EXPECT_TRUE(hasEvent(main, ButtonEvent(tap))) << file << ": " << DescribeTap(tap);
    }
    // On the symbols layout the keys that the plan uses there.
    for (const TapKind kind : {TapKind::kEnterKey, TapKind::kBackspaceKey, TapKind::kSymbolsKey}) {
      EXPECT_TRUE(hasEvent(symbols, ButtonEvent(Tap{kind})))
          << file << ": " << DescribeTap(Tap{kind});
    }
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
      bool found = false;
      for (const auto& button : symbols.Buttons()) {
        const auto caption = button->captions.find(0);
        found |= button->event0 == 0 && caption != button->captions.end() &&
                 !caption->second.empty() && caption->second[0] == digit;
      }
      EXPECT_TRUE(found) << file << ": digit " << static_cast<char>(digit);
    }
    const WideView symbolsOfPopup(evaluation::kPopupSymbols);
    for (size_t i = 0; i < symbolsOfPopup.size(); ++i) {
      EXPECT_TRUE(hasEvent(popup, 400 + static_cast<int>(i))) << file << ": symbol " << i;
    }
  }
}

}  // namespace
}  // namespace tessaline::typist
