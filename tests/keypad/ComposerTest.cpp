// The keypad composer driven as the input window drives it, with the shipped English language
// (and German for the language key): words and punctuation in word mode, the pending space,
// multi-tap in letter mode, case and mode, Enter and Backspace, the next-candidate key, spelling
// a new word, and the buttons' texts. Each test checks what reached the application and what the
// window was asked to do.
#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/ActiveLanguages.h"
#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"
#include "keypad/ButtonEvents.h"
#include "keypad/Composer.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

using namespace keypad;
using Calls = std::vector<std::string>;

const std::string kBs1 = "down:0x08", kBs2 = "up:0x08";

std::string Hex(unsigned value) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[(value >> 4) & 15] + kDigits[value & 15];
}

// The window's part, recorded: the application's calls as the soft input panel's callback sees
// them, and the window's state as far as the composer sets it.
class RecordingHost : public ComposerHost {
 public:
  void SendText(WideView text) override {
    calls.push_back("text:" + WideToUtf8(text));
    typed.append(text);
  }
  void SendKey(uint8_t vk) override {
    calls.push_back("down:" + Hex(vk));
    calls.push_back("up:" + Hex(vk));
    if (vk == kVkBack && !typed.empty()) typed.pop_back();
  }
  bool SendKeyScript(WideView script) override {
    if (script.empty() || script == u"+") return false;  // compiles to nothing
    calls.push_back("script:" + WideToUtf8(script));
    return true;
  }
  WideString UpperCase(WideView text) const override {
    WideString upper(text);
    for (char16_t& ch : upper) ch = static_cast<char16_t>(std::towupper(ch));
    return upper;
  }
  void Pause(unsigned milliseconds) override { pauses.push_back(milliseconds); }
  void Beep() override { ++beeps; }
  void CandidatesReplaced(bool shown) override { candidatesShown = shown; }
  void CandidateSelected(bool copiedFirstWord) override { copyTimer = copiedFirstWord; }
  void SpelledChanged() override { copyTimer = false; }
  void CaseChanged(int caseState) override { shownCase = caseState; }
  void ModeChanged(bool wordMode) override { shownWordMode = wordMode; }
  void LanguageChanged(const Language& language) override { captionsOf = language.Name(); }
  void StartMultiTapTimer() override { multiTapTimer = true; }
  void StopMultiTapTimer() override { multiTapTimer = false; }
  void StopHoldTimer() override { ++holdTimerStops; }
  void ShowSymbols() override { symbolsShown = true; }
  void HideSymbols() override { symbolsShown = false; }
  void InputReset() override {
    symbolsShown = false;
    ++resets;
  }
  bool OpenOptions() override {
    ++optionsOpened;
    return !optionsTakeTheWindow;
  }
  void UserWordsStored() override { ++stores; }

  Calls calls;
  WideString typed;
  std::vector<unsigned> pauses;
  int beeps = 0;
  bool candidatesShown = false;
  bool copyTimer = false;
  int shownCase = -1;
  bool shownWordMode = true;
  WideString captionsOf;
  bool multiTapTimer = false;
  int holdTimerStops = 0;
  bool symbolsShown = false;
  int resets = 0;
  int optionsOpened = 0;
  bool optionsTakeTheWindow = false;
  int stores = 0;
};

class ComposerTest : public ::testing::Test {
 protected:
  ComposerTest() : root_(folder_.Path()) {
    namespace fs = std::filesystem;
    for (const char* name : {"English", "German"}) {
      for (const char* extension : {".chr", ".voc"}) {
        const std::string target = folder_.File(std::string("Tess/Languages/") + name + extension);
        fs::create_directories(fs::path(target).parent_path());
        fs::copy_file(std::string(TESSALINE_SOURCE_DIR) + "/data/Languages/" + name + extension,
                      target);
      }
    }
    ForgetUserDictionaryFiles();
  }
  ~ComposerTest() override {
    FreeActiveLanguages();
    ForgetUserDictionaryFiles();
  }

  // Loads the active languages (English, and German second when asked) and starts composing.
  KeypadComposer& Start(bool german = false) {
    LoadActiveLanguages(ActiveLanguageChoice{"\\Tess", u"", german ? u"German" : u""});
    composer_.UseFirstLanguage();
    composer_.Reset();
    host_.calls.clear();
    return composer_;
  }

  // A tap on a button with that event (the main layout's buttons have their event as their id).
  void Tap(int event, WideString text = {}) {
    composer_.Fire(ButtonPress{event, -1, text, {}, false});
  }
  void Taps(std::initializer_list<int> events) {
    for (int event : events) Tap(event);
  }
  int KeyOf(char16_t letter) const {
    const Language* language = composer_.CurrentLanguage();
    for (const KeyEntry& key : language->Keys().Keys()) {
      if (key.key >= 1 && key.key <= 10 && language->LetterIndexOnKey(key.key, letter) >= 0)
        return key.key;
    }
    return -1;
  }
  void TypeKeys(std::u16string_view word) {
    for (char16_t letter : word) {
      const int key = KeyOf(letter);
      ASSERT_GE(key, 0);
      Tap(key);
    }
  }
  // A tap on an entry of the candidate window: it selects the entry, and a word commits at once
  // (the window fires the commit button).
  void SelectCandidate(int index) { host_.CandidateSelected(composer_.Candidates().Select(index)); }
  void PickCandidate(int index) {
    SelectCandidate(index);
    Tap(kEnter);
  }
  // Types the keys of the word and picks it: with the space key when it is selected, else from
  // the candidate list.
  void TypeWord(std::u16string_view word) {
    TypeKeys(word);
    const auto& entries = composer_.Candidates().Entries();
    const auto found = std::find(entries.begin(), entries.end(), WideString(word));
    ASSERT_NE(found, entries.end()) << WideToUtf8(word) << " is not offered";
    if (found == entries.begin()) {
      Tap(kSpace);
    } else {
      PickCandidate(static_cast<int>(found - entries.begin()));
    }
  }
  void MultiTapTimeout() {
    ASSERT_TRUE(host_.multiTapTimer);
    host_.multiTapTimer = false;
    composer_.MultiTapTimeout();
  }

  testing::TempDir folder_;
  testing::DeviceRootScope root_;
  RecordingHost host_;
  KeypadComposer composer_{host_};
};

TEST_F(ComposerTest, WordsAreSentWithTheirSpaceWhichTheSpaceKeyAndPunctuationTakeBack) {
  Start();
  for (const char16_t* word : {u"the", u"quick", u"brown", u"fox"}) TypeWord(word);
  TypeKeys(u"dog");
  EXPECT_EQ(host_.calls.size(), 16u);
  EXPECT_TRUE(host_.candidatesShown);
  Tap(kPunctuation);
  EXPECT_EQ(host_.typed, u"the quick brown fox dog.");
  EXPECT_FALSE(host_.candidatesShown);
  // Each word goes with its space; the space key takes it back and types its own; the full stop
  // replaces the space after "dog", and asks for a capital next.
  const Calls word = {"text:the ", kBs1, kBs2, "text: "};
  EXPECT_EQ(Calls(host_.calls.begin(), host_.calls.begin() + 4), word);
  EXPECT_EQ(Calls(host_.calls.end() - 4, host_.calls.end()),
            (Calls{"text:dog ", kBs1, kBs2, "text:."}));
  EXPECT_EQ(composer_.CaseState(), 2);
  EXPECT_EQ(host_.shownCase, 2);
  Tap(kSpace);
  TypeWord(u"world");
  EXPECT_EQ(host_.typed, u"the quick brown fox dog. World ");
  EXPECT_EQ(composer_.CaseState(), 0);  // one word only

  // More taps on the punctuation key cycle through its marks; a comma takes the capital back,
  // a question mark gives it again; after the pause the key starts again at its first mark.
  host_.calls.clear();
  TypeKeys(u"it");
  Taps({kPunctuation, kPunctuation});
  EXPECT_EQ(host_.calls, (Calls{"text:it ", kBs1, kBs2, "text:.", kBs1, kBs2, "text:,"}));
  EXPECT_EQ(composer_.CaseState(), 0);
  Taps({kPunctuation, kPunctuation, kPunctuation});  // ' - ?
  EXPECT_TRUE(host_.typed.ends_with(u"it?"));
  EXPECT_EQ(composer_.CaseState(), 2);
  MultiTapTimeout();
  Tap(kPunctuation);
  EXPECT_TRUE(host_.typed.ends_with(u"it?."));
}

TEST_F(ComposerTest, TheAddSpaceAndAdaptiveOptions) {
  Start();
  composer_.SetOptions(ComposerOptions{false, true, 3});
  TypeKeys(u"home");
  PickCandidate(1);  // "home" is the second candidate of 4-6-6-3
  TypeWord(u"good");
  EXPECT_EQ(host_.calls, (Calls{"text:home ", kBs1, kBs2, "text:good ", kBs1, kBs2, "text: "}));
  EXPECT_EQ(host_.typed, u"homegood ");
  // Learning or not, every commit writes the user dictionary and has failures told.
  EXPECT_EQ(host_.stores, 2);
  composer_.SetOptions(ComposerOptions{true, false, 3});
  TypeWord(u"good");
  EXPECT_EQ(host_.stores, 3);
}

TEST_F(ComposerTest, EnterAndBackspace) {
  Start();
  // Enter commits a word being composed without being sent; then it is sent.
  TypeKeys(u"good");
  Tap(kEnter);
  EXPECT_EQ(host_.calls, (Calls{"text:good "}));
  EXPECT_FALSE(host_.candidatesShown);
  EXPECT_TRUE(composer_.AutoSpacePending());
  Tap(kEnter);
  EXPECT_EQ(host_.calls, (Calls{"text:good ", "down:0x0D", "up:0x0D"}));
  EXPECT_FALSE(composer_.AutoSpacePending());

  // Backspace takes back a key; with none composed the application gets it.
  host_.calls.clear();
  Tap(4);
  EXPECT_TRUE(host_.candidatesShown);
  Tap(kBackspace);
  EXPECT_FALSE(host_.candidatesShown);
  EXPECT_EQ(composer_.Search().State(), 0);
  EXPECT_TRUE(host_.calls.empty());
  Tap(kBackspace);
  EXPECT_EQ(host_.calls, (Calls{kBs1, kBs2}));
  host_.calls.clear();
  TypeKeys(u"good");
  Tap(kBackspace);
  EXPECT_EQ(composer_.Search().KeyCount(), 3);
  EXPECT_EQ(composer_.Candidates().Entries().front().size(), 3u);  // "hmm", "goo", ...
  EXPECT_EQ(composer_.Candidates().TypedKeys(), 3);
  EXPECT_TRUE(host_.candidatesShown);
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(ComposerTest, TheNextCandidateKeyStepsAndWraps) {
  Start();
  TypeKeys(u"good");  // good home gone hood goof hoof hone, and the spelling entry
  const CandidateList& candidates = composer_.Candidates();
  ASSERT_EQ(candidates.Count(), 8);
  std::vector<int> selections;
  for (int i = 0; i < 4; ++i) {
    Tap(kNextCandidate);
    selections.push_back(candidates.Selected());
  }
  EXPECT_EQ(selections, (std::vector<int>{3, 6, 7, 0}));
  Taps({kNextCandidate, kSpace});
  EXPECT_EQ(host_.calls, (Calls{"text:hood ", kBs1, kBs2, "text: "}));
  // The step comes from the options; in letter mode the key does nothing.
  composer_.SetOptions(ComposerOptions{true, true, 1});
  TypeKeys(u"good");
  Tap(kNextCandidate);
  EXPECT_EQ(candidates.Selected(), 1);
  Tap(kMode);
  Tap(kNextCandidate);
  EXPECT_EQ(candidates.Count(), 0);
}

TEST_F(ComposerTest, AButtonsTextWaitsForNoWordAndEndsThePress) {
  Start();
  Tap(4);
  Tap(kTypeCaption, u"1");  // skipped while a word is composed
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(composer_.Search().KeyCount(), 1);
  EXPECT_EQ(host_.beeps, 0);
  Tap(kEnter);
  host_.calls.clear();
  host_.pauses.clear();
  Tap(kTypeCaption, u"1");
  EXPECT_EQ(host_.calls, (Calls{"text:1"}));
  EXPECT_EQ(host_.beeps, 1);
  EXPECT_EQ(host_.pauses, (std::vector<unsigned>{10}));
  // The press that typed it gives no tap at its release; the next press does.
  EXPECT_TRUE(composer_.HoldFired());
  Tap(kTypeCaption, u"1");
  EXPECT_EQ(host_.calls.size(), 1u);
  composer_.EndPress();
  Tap(kTypeCaption, u"2");
  EXPECT_EQ(host_.typed, u"i 12");
}

TEST_F(ComposerTest, HoldsFireTheHoldEventUnlessItWouldBeSkipped) {
  Start();
  const ButtonPress five{5, kTypeCaption, u"jkl", u"5", true};
  composer_.Fire(five);
  composer_.Fire(five);
  EXPECT_EQ(host_.calls, (Calls{"text:5", "text:5"}));
  EXPECT_EQ(composer_.Search().State(), 0);
  // While a word is composed the digit is not typed: the hold adds the key instead.
  host_.calls.clear();
  composer_.EndPress();
  Tap(4);
  composer_.Fire(ButtonPress{6, kTypeCaption, u"mno", u"6", true});
  EXPECT_EQ(composer_.Search().KeyCount(), 2);
  EXPECT_TRUE(host_.calls.empty());
  // A held symbols key commits the word but opens no pop-up; a tap opens it.
  composer_.Fire(ButtonPress{kSymbols, -1, {}, {}, true});
  EXPECT_EQ(host_.calls, (Calls{"text:in "}));
  EXPECT_FALSE(host_.symbolsShown);
  Tap(kSymbols);
  EXPECT_TRUE(host_.symbolsShown);
  Tap(kCloseSymbols);
  EXPECT_FALSE(host_.symbolsShown);
  // The case and mode keys stop the hold timer when they fire.
  Taps({kCase, kMode});
  EXPECT_EQ(host_.holdTimerStops, 2);
}

TEST_F(ComposerTest, LetterModeCyclesAKeysLettersWithinTheMultiTapPause) {
  Start();
  Tap(kMode);
  ASSERT_FALSE(composer_.WordMode());
  EXPECT_FALSE(host_.shownWordMode);
  EXPECT_EQ(composer_.CaseState(), 0);
  Taps({2, 2, 2});
  EXPECT_EQ(host_.calls, (Calls{"text:a", kBs1, kBs2, "text:b", kBs1, kBs2, "text:c"}));
  MultiTapTimeout();
  host_.calls.clear();
  Tap(2);
  EXPECT_EQ(host_.calls, (Calls{"text:a"}));
  // Another key starts with its own first letter; a key of one character never replaces.
  host_.calls.clear();
  Taps({3, kSpace, kSpace, kSpace});
  EXPECT_EQ(host_.calls, (Calls{"text:d", "text: ", "text: ", "text: "}));
  // Capitals in letter mode: two case states only.
  host_.calls.clear();
  Taps({kCase, 5, kCase});
  EXPECT_EQ(host_.calls, (Calls{"text:J"}));
  EXPECT_EQ(composer_.CaseState(), 0);
  // The pressed-key pop-up shows a letter key's letters, with the one the next tap gives.
  MultiTapTimeout();
  EXPECT_TRUE(composer_.ShowsLetters(2));
  EXPECT_FALSE(composer_.ShowsLetters(kBackspace));
  EXPECT_EQ(composer_.NextLetterIndex(2), 0);
  Tap(2);
  EXPECT_EQ(composer_.NextLetterIndex(2), 1);
  EXPECT_EQ(composer_.NextLetterIndex(3), 0);
  Tap(kMode);
  EXPECT_FALSE(composer_.ShowsLetters(2));
}

TEST_F(ComposerTest, PunctuationAfterLetterModeKeepsTheLettersTypedAfterACommit) {
  // A committed word's space is pending; letters typed in letter mode follow it. Back in word
  // mode, the full stop must not take the last letter back as if it were that space.
  Start();
  TypeKeys(u"good");
  PickCandidate(0);
  Tap(kMode);
  Tap(2);
  MultiTapTimeout();
  Tap(kMode);
  Tap(kPunctuation);
  EXPECT_EQ(host_.typed, u"good a.");
}

TEST_F(ComposerTest, CaseKeyAndModeKey) {
  Start();
  Tap(kCase);  // capitals
  TypeWord(u"good");
  Tap(kCase);  // capital for the next word only
  TypeWord(u"home");
  TypeWord(u"home");
  EXPECT_EQ(host_.typed, u"GOOD Home home ");
  // Back to word mode from letter mode capitalises the next word.
  Taps({kMode, kMode});
  EXPECT_TRUE(composer_.WordMode());
  EXPECT_EQ(composer_.CaseState(), 2);
  EXPECT_EQ(host_.shownCase, 2);
  // Toggling the mode commits the word being composed.
  host_.calls.clear();
  TypeKeys(u"it");
  Tap(kMode);
  EXPECT_EQ(host_.calls, (Calls{"text:It "}));
  EXPECT_FALSE(composer_.WordMode());
}

TEST_F(ComposerTest, SpellingANewWord) {
  Start();
  TypeKeys(u"good");
  Taps({kNextCandidate, kNextCandidate});  // the page with the spelling entry
  SelectCandidate(7);  // a tap on it selects it, with the first word to start from
  EXPECT_TRUE(composer_.SpellingMode());
  EXPECT_TRUE(composer_.Composing());
  EXPECT_EQ(composer_.Candidates().Spelled(), u"good");
  EXPECT_TRUE(host_.copyTimer);
  composer_.Candidates().ClearSpelled();  // the window's copy pause ended
  // Letters go into the spelled word by multi-tap.
  Taps({7, 7});
  EXPECT_FALSE(host_.copyTimer);
  MultiTapTimeout();
  Taps({5, 2, 2, 2});
  EXPECT_EQ(composer_.Candidates().Spelled(), u"qjc");
  // Backspace edits the spelled word, other keys are dropped: nothing reaches the application.
  Tap(kBackspace);
  EXPECT_EQ(composer_.Candidates().Spelled(), u"qj");
  EXPECT_TRUE(host_.calls.empty());
  Tap(kEnter);  // commits it and learns it
  EXPECT_EQ(host_.calls, (Calls{"text:qj "}));
  EXPECT_EQ(host_.beeps, 1);
  EXPECT_FALSE(host_.candidatesShown);
  Language stored(folder_.File("Tess/Languages/English.chr"), u"English", true, false, 20, 4);
  EXPECT_EQ(stored.User().Words(), (std::vector<WideString>{u"qj"}));

  // Backspace on an empty spelled word gives the word up without sending anything.
  host_.calls.clear();
  TypeKeys(u"good");
  Taps({kNextCandidate, kNextCandidate});
  SelectCandidate(7);
  Taps({kBackspace, kBackspace, kBackspace, kBackspace});  // "good" letter by letter
  EXPECT_TRUE(composer_.SpellingMode());
  Tap(kBackspace);
  EXPECT_FALSE(composer_.Composing());
  EXPECT_FALSE(host_.candidatesShown);
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(ComposerTest, KeyScriptsAndSymbolsCommitFirstAndTheSpaceEaters) {
  Start();
  TypeKeys(u"good");
  Tap(kKeyScript, u"VK_HOME");
  EXPECT_EQ(host_.calls, (Calls{"text:good ", "script:VK_HOME"}));
  EXPECT_EQ(host_.pauses, (std::vector<unsigned>{10}));
  EXPECT_FALSE(composer_.AutoSpacePending());
  // A script that sends nothing leaves the pending space; a symbol of the eaters replaces it,
  // another symbol follows it.
  TypeKeys(u"good");
  Tap(kEnter);
  Tap(kKeyScript, u"+");
  EXPECT_TRUE(composer_.AutoSpacePending());
  composer_.CarryOut(kFirstSymbol + static_cast<int>(PopupSymbols().find(u')')));
  EXPECT_TRUE(host_.typed.ends_with(u"good)"));
  TypeKeys(u"good");
  Tap(kEnter);
  composer_.CarryOut(kFirstSymbol + static_cast<int>(PopupSymbols().find(u'@')));
  EXPECT_TRUE(host_.typed.ends_with(u"good @"));
  composer_.CarryOut(kLastSymbol);  // past the pop-up's 22
  EXPECT_TRUE(host_.typed.ends_with(u"@?"));
}

TEST_F(ComposerTest, KeyCodesAboveTheSearchsRangeAddNothing) {
  Start();
  Taps({4, 4, 130});
  EXPECT_EQ(composer_.Search().KeyCount(), 2);
  EXPECT_TRUE(host_.candidatesShown);
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(ComposerTest, LanguagesAndTheOptions) {
  Start(true);
  EXPECT_EQ(host_.captionsOf, u"English");
  TypeKeys(u"go");
  Tap(kSymbols);
  ASSERT_TRUE(host_.symbolsShown);
  const int resets = host_.resets;
  composer_.CarryOut(kNextLanguage);  // drops the word and the pop-ups, the next language
  EXPECT_EQ(host_.resets, resets + 1);
  EXPECT_FALSE(host_.symbolsShown);
  EXPECT_EQ(composer_.LanguageIndex(), 1);
  EXPECT_EQ(host_.captionsOf, u"German");
  EXPECT_EQ(composer_.Search().State(), 0);
  composer_.CarryOut(kNextLanguage);
  EXPECT_EQ(composer_.LanguageIndex(), 0);
  // The options: when the window goes while the sheet is open, the composer stops at once.
  EXPECT_TRUE(composer_.CarryOut(kOptions));
  EXPECT_EQ(composer_.LastEvent(), kOptions);
  host_.optionsTakeTheWindow = true;
  EXPECT_FALSE(composer_.CarryOut(kOptions));
  EXPECT_EQ(host_.optionsOpened, 2);
  // The window goes: the languages are forgotten with the word.
  TypeKeys(u"go");
  composer_.DropLanguage();
  EXPECT_EQ(composer_.CurrentLanguage(), nullptr);
  EXPECT_FALSE(composer_.Composing());
}

TEST(PopupSymbols, TwentyTwoInButtonOrder) {
  EXPECT_EQ(PopupSymbols(), u"'\"()@/:_;+&%*=<>[]|$#^");
  EXPECT_EQ(PopupSymbol(0), u'\'');
  EXPECT_EQ(PopupSymbol(21), u'^');
  EXPECT_EQ(PopupSymbol(22), u'?');
  EXPECT_EQ(PopupSymbol(-1), u'?');
}

}  // namespace
}  // namespace tessaline
