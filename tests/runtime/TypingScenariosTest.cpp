// A person typing on the real input window with the shipped English language and panel: words
// and punctuation in word mode, multi-tap in letter mode, holds, Enter and Backspace, case, and
// spelling a new word. Each test checks the exact calls the application received.
#include <gtest/gtest.h>

#include "InputHarness.h"
#include "engine/Language.h"
#include "runtime/CandidateWnd.h"
#include "runtime/PressedWnd.h"

namespace tessaline {
namespace {

using testing::HarnessOptions;
using testing::InputHarness;
using Calls = std::vector<std::string>;

// Keys of the main layout.
constexpr int kPunctuation = 1, kSpace = 10, kEnter = 11, kBackspace = 12, kSymbols = 13,
              kCase = 14, kMode = 15, kNext = 16;

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

TEST(TypingScenarios, PunctuationReplacesTheSpaceAndCapitalisesTheNextWord) {
  InputHarness person;
  person.TypeKeys(u"hello");  // 4-3-5-5-6
  EXPECT_TRUE(person.Calls().empty());
  person.Tap(kPunctuation);
  EXPECT_EQ(person.Calls(), (Calls{"text:hello ", kBs1, kBs2, "text:."}));
  EXPECT_EQ(person.Window().CaseState(), 2);
  person.Tap(kSpace);
  person.TypeWord(u"world");
  EXPECT_EQ(person.Typed(), u"hello. World ");
  EXPECT_EQ(person.Window().CaseState(), 0);  // one word only

  // More taps on the punctuation key cycle through its marks; a comma takes the capital back,
  // a question mark gives it again.
  person.ClearCalls();
  person.TypeKeys(u"it");
  person.Taps({kPunctuation, kPunctuation});
  EXPECT_EQ(person.Calls(), (Calls{"text:it ", kBs1, kBs2, "text:.", kBs1, kBs2, "text:,"}));
  EXPECT_EQ(person.Window().CaseState(), 0);
  person.Taps({kPunctuation, kPunctuation, kPunctuation});  // ' - ?
  EXPECT_EQ(person.Typed(), u"it?");
  EXPECT_EQ(person.Window().CaseState(), 2);
  // A second's pause, and the key starts again at its first mark.
  person.MultiTapTimeout();
  person.Tap(kPunctuation);
  EXPECT_EQ(person.Typed(), u"it?.");
}

TEST(TypingScenarios, WithoutAddSpaceEveryWordIsFollowedByBackspace) {
  InputHarness person(HarnessOptions::WithSettings([](Settings& s) { s.AddSpace = false; }));
  person.TypeKeys(u"home");
  person.TapCandidate(1);  // "home" is the second candidate of 4-6-6-3
  person.TypeWord(u"good");
  EXPECT_EQ(person.Calls(), (Calls{"text:home ", kBs1, kBs2, "text:good ", kBs1, kBs2, "text: "}));
  EXPECT_EQ(person.Typed(), u"homegood ");
}

TEST(TypingScenarios, EnterCommitsAWordBeingComposedWithoutBeingSent) {
  InputHarness person;
  person.TypeKeys(u"good");
  person.Tap(kEnter);
  EXPECT_EQ(person.Calls(), (Calls{"text:good "}));
  EXPECT_FALSE(person.Window().CandidatesShown());
  person.Tap(kEnter);
  EXPECT_EQ(person.Calls(), (Calls{"text:good ", "down:0x0D", "up:0x0D"}));
  EXPECT_FALSE(person.Window().AutoSpacePending());
}

TEST(TypingScenarios, BackspaceTakesBackAKeyOrTheLastCharacter) {
  InputHarness person;
  person.Tap(4);
  EXPECT_TRUE(person.Window().CandidatesShown());
  person.Tap(kBackspace);  // the only key goes, and the candidates with it
  EXPECT_FALSE(person.Window().CandidatesShown());
  EXPECT_EQ(person.Window().Search().State(), 0);
  EXPECT_TRUE(person.Calls().empty());
  person.Tap(kBackspace);  // nothing composed: the application gets Backspace
  EXPECT_EQ(person.Calls(), (Calls{kBs1, kBs2}));
  person.ClearCalls();
  person.TypeKeys(u"good");
  person.Tap(kBackspace);
  EXPECT_EQ(person.Window().Search().KeyCount(), 3);
  EXPECT_EQ(person.Window().Candidates()->Entries().front().size(), 3u);  // "hmm", "goo", ...
  EXPECT_TRUE(person.Window().CandidatesShown());
  EXPECT_TRUE(person.Calls().empty());
}

TEST(TypingScenarios, TheNextCandidateKeyStepsByThreeAndWraps) {
  InputHarness person;
  person.TypeKeys(u"good");  // good home gone hood goof hoof hone, and the spelling entry
  const CCandidateWnd* candidates = person.Window().Candidates();
  ASSERT_EQ(candidates->Count(), 8);
  std::vector<int> selections;
  for (int i = 0; i < 4; ++i) {
    person.Tap(kNext);
    selections.push_back(candidates->Selected());
  }
  EXPECT_EQ(selections, (std::vector<int>{3, 6, 7, 0}));
  person.Taps({kNext, kSpace});
  EXPECT_EQ(person.Calls(), (Calls{"text:hood ", kBs1, kBs2, "text: "}));
}

TEST(TypingScenarios, ACaptionButtonDoesNothingWhileAWordIsComposed) {
  InputHarness person;
  person.Tap(4);
  person.SwipeFinger(Swipe::kDown);  // to the digits and symbols
  ASSERT_STREQ(person.Window().CurrentLayoutName(), "symbols");
  person.Tap(201);  // "1", a button that types its caption
  EXPECT_TRUE(person.Calls().empty());
  EXPECT_EQ(person.Window().Search().KeyCount(), 1);
  EXPECT_EQ(person.Beeps(), 0);
  // With no word composed it types its character, beeps, and needs no commit pause first.
  person.Tap(kEnter);
  person.ClearCalls();
  person.Tap(201);
  EXPECT_EQ(person.Calls(), (Calls{"text:1"}));
  EXPECT_EQ(person.Beeps(), 1);
}

TEST(TypingScenarios, LetterModeCyclesAKeysLettersWithinASecond) {
  InputHarness person;
  person.Tap(kMode);
  ASSERT_FALSE(person.Window().WordMode());
  EXPECT_EQ(person.Window().CaseState(), 0);
  person.Taps({2, 2, 2});
  EXPECT_EQ(person.Calls(), (Calls{"text:a", kBs1, kBs2, "text:b", kBs1, kBs2, "text:c"}));
  person.MultiTapTimeout();
  person.ClearCalls();
  person.Tap(2);
  EXPECT_EQ(person.Calls(), (Calls{"text:a"}));
  // Another key starts with its own first letter; a key of one character never replaces.
  person.ClearCalls();
  person.Taps({3, kSpace, kSpace, kSpace});
  EXPECT_EQ(person.Calls(), (Calls{"text:d", "text: ", "text: ", "text: "}));
  // Capitals in letter mode: two case states only.
  person.ClearCalls();
  person.Taps({kCase, 5, kCase});
  EXPECT_EQ(person.Calls(), (Calls{"text:J"}));
  EXPECT_EQ(person.Window().CaseState(), 0);
}

TEST(TypingScenarios, HoldingAKeyRepeatsItAtTheHoldTimes) {
  InputHarness person;
  person.SwipeFinger(Swipe::kLeft);  // the compact QWERTY keys have no hold event
  ASSERT_STREQ(person.Window().CurrentLayoutName(), "qwerty");
  // Word mode: the key joins the word at 500 ms, 999 ms and 1249 ms, and once more at release.
  person.Hold(106, 3);  // "as"
  EXPECT_EQ(person.Window().Search().KeyCount(), 4);
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
  EXPECT_EQ(person.Window().Search().State(), 0);
  // While a word is composed the digit is not typed: the hold adds the key instead.
  person.ClearCalls();
  person.Tap(4);
  person.Hold(6, 1);
  EXPECT_EQ(person.Window().Search().KeyCount(), 3);
  EXPECT_TRUE(person.Calls().empty());
  // The case key stops the hold timer when it fires, and it stays stopped; the release then
  // cycles the case once more.
  person.Tap(kEnter);
  const POINT key = person.CentreOf(kCase);
  person.PenDown(key);
  person.AdvanceClock(500);
  person.Timer(CInputWnd::kHoldTimer);
  EXPECT_EQ(person.Window().CaseState(), 1);
  EXPECT_FALSE(KillTimer(person.Handle(), CInputWnd::kHoldTimer));
  person.PenUp(key);
  EXPECT_EQ(person.Window().CaseState(), 2);
}

TEST(TypingScenarios, CaseKeyAndModeKey) {
  InputHarness person;
  person.Tap(kCase);  // capitals
  person.TypeWord(u"good");
  person.Tap(kCase);  // capital for the next word only
  person.TypeWord(u"home");
  person.TypeWord(u"home");
  EXPECT_EQ(person.Typed(), u"GOOD Home home ");
  // Back to word mode from letter mode capitalises the next word.
  person.Taps({kMode, kMode});
  EXPECT_TRUE(person.Window().WordMode());
  EXPECT_EQ(person.Window().CaseState(), 2);
  // Toggling the mode commits the word being composed.
  person.ClearCalls();
  person.TypeKeys(u"it");
  person.Tap(kMode);
  EXPECT_EQ(person.Calls(), (Calls{"text:It "}));
  EXPECT_FALSE(person.Window().WordMode());
}

TEST(TypingScenarios, SpellingANewWordInTheCandidateWindow) {
  InputHarness person;
  person.TypeKeys(u"good");
  person.Taps({kNext, kNext});  // the page with the spelling entry
  const CCandidateWnd* candidates = person.Window().Candidates();
  person.TapCandidate(7);  // one tap selects it, with the first word to start from
  EXPECT_TRUE(person.Window().SpellingMode());
  EXPECT_EQ(candidates->Spelled(), u"good");
  SendMessageW(candidates->Handle(), WM_TIMER, CCandidateWnd::kSpelledCopyTimer, 0);
  EXPECT_EQ(candidates->Spelled(), u"");
  // Letters go into the spelled word by multi-tap; punctuation-free keys only.
  person.Taps({7, 7});
  person.MultiTapTimeout();
  person.Taps({5, 2, 2, 2});
  EXPECT_EQ(candidates->Spelled(), u"qjc");
  person.Tap(kBackspace);  // Backspace edits the spelled word, not the application's text
  EXPECT_EQ(candidates->Spelled(), u"qj");
  EXPECT_TRUE(person.Calls().empty());
  person.TapCandidate(7);  // the second tap commits it and learns it
  EXPECT_EQ(person.Calls(), (Calls{"text:qj "}));
  EXPECT_EQ(person.Beeps(), 1);
  EXPECT_FALSE(person.Window().CandidatesShown());
  Language stored(person.HostFile("Languages/English.chr"), u"English", true, false, 20, 4);
  EXPECT_EQ(stored.User().Words(), (std::vector<WideString>{u"qj"}));

  // Backspace on an empty spelled word gives the word up without sending anything.
  person.ClearCalls();
  person.TypeKeys(u"good");
  person.Taps({kNext, kNext});
  person.TapCandidate(7);
  person.Taps({kBackspace, kBackspace, kBackspace, kBackspace});  // "good" letter by letter
  EXPECT_TRUE(person.Window().SpellingMode());
  person.Tap(kBackspace);
  EXPECT_FALSE(person.Window().Composing());
  EXPECT_FALSE(person.Window().CandidatesShown());
  EXPECT_TRUE(person.Calls().empty());
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
