// A person typing on the real input window with the shipped English language and panel: a
// sentence through the candidate window and the soft input panel's callback, holds on the hold
// timer, the pressed-key pop-up, and the candidate window opened at the pen down. (What each button does to the text is the keypad
// composer's, tested natively in tests/keypad.) Each test checks the exact calls the
// application received.
#include <gtest/gtest.h>

#include "InputHarness.h"
#include "engine/Language.h"
#include "keypad/ButtonEvents.h"
#include "runtime/CandidateWnd.h"
#include "runtime/PressedWnd.h"

namespace tessaline {
namespace {

using testing::HarnessOptions;
using testing::InputHarness;
using Calls = std::vector<std::string>;

using namespace keypad;

const std::string kBs1 = "down:0x08", kBs2 = "up:0x08";

TEST(TypingScenarios, ASentenceOfCommonWords) {
  InputHarness person;
  for (const char16_t* word :
       {u"the", u"quick", u"brown", u"fox", u"jumps", u"over", u"the", u"lazy"}) {
    person.TypeWord(word);
  }
  person.TypeKeys(u"dog");
  person.Tap(kPunctuation);
  EXPECT_EQ(person.Typed(), u"the quick brown fox jumps over the lazy dog.");
  // Each word is sent with its space; the space key then takes that space back and types its
  // own; "lazy" (the second candidate) is tapped in the candidate window, which commits it at
  // once; the full stop replaces the space after "dog".
  Calls expected;
  for (const char* word : {"the", "quick", "brown", "fox", "jumps", "over", "the"}) {
    for (const std::string& call :
         {std::string("text:") + word + " ", kBs1, kBs2, std::string("text: ")}) {
      expected.push_back(call);
    }
  }
  for (const char* call : {"text:lazy ", "text:dog ", "down:0x08", "up:0x08", "text:."}) {
    expected.push_back(call);
  }
  EXPECT_EQ(person.Calls(), expected);
  EXPECT_EQ(person.Callback().badLengths, 0);
}

// The first key of a word opens the candidate window at the pen down, empty, so that the pen up
// only fills it; a press that ends in no tap closes it again.
TEST(TypingScenarios, TheFirstKeyOfAWordOpensTheCandidateWindowAtThePenDown) {
  InputHarness person;
  CInputWnd& window = person.Window();
  const HWND candidates = window.Candidates()->Handle();
  const auto height = [&] {
    RECT r{};
    GetWindowRect(candidates, &r);
    return r.bottom - r.top;
  };
  ASSERT_FALSE(window.CandidatesShown());
  person.PenDown(person.CentreOf(4));
  EXPECT_TRUE(window.CandidatesShown());
  EXPECT_GT(height(), 0);
  EXPECT_TRUE(window.Candidates()->Entries().empty());
  person.PenUp(person.CentreOf(4));
  EXPECT_TRUE(window.CandidatesShown());
  EXPECT_FALSE(window.Candidates()->Entries().empty());

  // A swipe that began on a letter key, and a touch under the noise gate: no word, no window.
  person.Tap(kSpace);
  EXPECT_FALSE(window.CandidatesShown());
  person.SwipeFinger(Swipe::kLeft);
  EXPECT_FALSE(window.CandidatesShown());
  EXPECT_EQ(height(), 0);
  person.SwipeFinger(Swipe::kRight);
  GetSettings().NoiseGate = 100;
  person.PenDown(person.CentreOf(4));
  EXPECT_TRUE(window.CandidatesShown());
  person.PenUp(person.CentreOf(4));
  EXPECT_FALSE(window.CandidatesShown());
  EXPECT_EQ(height(), 0);
  GetSettings().NoiseGate = 0;

  // Keys that do not search leave it closed: the punctuation key, and letters in letter mode.
  person.PenDown(person.CentreOf(kPunctuation));
  EXPECT_FALSE(window.CandidatesShown());
  person.PenUp(person.CentreOf(kPunctuation));
  person.Tap(kMode);
  person.PenDown(person.CentreOf(4));
  EXPECT_FALSE(window.CandidatesShown());
  person.PenUp(person.CentreOf(4));
}

TEST(TypingScenarios, HoldingAKeyRepeatsItAtTheHoldTimes) {
  InputHarness person;
  person.SwipeFinger(Swipe::kLeft);  // the compact QWERTY keys have no hold event
  ASSERT_STREQ(person.Window().CurrentLayoutName(), "qwerty");
  // Word mode: the key joins the word at 500 ms, 999 ms and 1249 ms, and once more at release.
  person.Hold(106, 3);  // "as"
  EXPECT_EQ(person.Window().Composer().Search().KeyCount(), 4);
  EXPECT_EQ(person.Window().Candidates()->Entries().front(), u"sass");
  EXPECT_TRUE(person.Calls().empty());
  person.Tap(kEnter);
  person.ClearCalls();
  // Letter mode: the same hold cycles the letters three times, and the release once more.
  person.Tap(kMode);
  person.Hold(106, 3);
  EXPECT_EQ(person.Calls(),
            (Calls{"text:a", kBs1, kBs2, "text:s", kBs1, kBs2, "text:a", kBs1, kBs2, "text:s"}));
}

TEST(TypingScenarios, HoldingAPhoneKeyTypesItsDigit) {
  InputHarness person;
  person.Hold(5, 2);  // "5" at 500 ms and 999 ms; the release is no tap
  EXPECT_EQ(person.Calls(), (Calls{"text:5", "text:5"}));
  EXPECT_EQ(person.Beeps(), 2);
  EXPECT_EQ(person.Window().Composer().Search().State(), 0);
  // While a word is composed the digit is not typed: the hold adds the key instead.
  person.ClearCalls();
  person.Tap(4);
  person.Hold(6, 1);
  EXPECT_EQ(person.Window().Composer().Search().KeyCount(), 3);
  EXPECT_TRUE(person.Calls().empty());
  // The case key stops the hold timer when it fires, and it stays stopped; the release then
  // cycles the case once more.
  person.Tap(kEnter);
  const POINT key = person.CentreOf(kCase);
  person.PenDown(key);
  person.AdvanceClock(500);
  person.Timer(CInputWnd::kHoldTimer);
  EXPECT_EQ(person.Window().Composer().CaseState(), 1);
  EXPECT_FALSE(KillTimer(person.Handle(), CInputWnd::kHoldTimer));
  person.PenUp(key);
  EXPECT_EQ(person.Window().Composer().CaseState(), 2);
}

TEST(TypingScenarios, ThePressedKeyPopUpShowsTheNextLetterInLetterMode) {
  InputHarness person(HarnessOptions::WithSettings([](Settings& s) { s.ShowHint = false; }));
  const CPressedWnd* popup = person.Window().PressedPopup();
  person.Tap(2);  // word mode without hints: no pop-up
  EXPECT_FALSE(popup->Showing());
  person.Tap(kEnter);
  person.Tap(kMode);
  const POINT key = person.CentreOf(2);
  person.PenDown(key);
  EXPECT_TRUE(popup->Showing());
  EXPECT_EQ(popup->Highlight(), 0);
  person.PenUp(key);
  EXPECT_TRUE(popup->Showing());  // stays after the release in letter mode
  person.PenDown(key);
  EXPECT_EQ(popup->Highlight(), 1);  // "b" comes next
  person.PenUp(key);
  person.Tap(kBackspace);  // not a letter key: hidden at the release
  EXPECT_FALSE(popup->Showing());
  // With hints every key shows while it is down, without a highlight, in word mode too.
  GetSettings().ShowHint = true;
  person.Tap(kMode);
  const POINT backspace = person.CentreOf(kBackspace);
  person.PenDown(backspace);
  EXPECT_TRUE(popup->Showing());
  EXPECT_EQ(popup->Highlight(), -1);
  person.PenUp(backspace);
  EXPECT_FALSE(popup->Showing());
}

}  // namespace
}  // namespace tessaline
