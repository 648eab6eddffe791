// The input window where careless code would lose data or touch freed memory: user buttons from
// a malformed setting, events after the window went, options opened from the symbols pop-up
// while the window is taken away, and a user dictionary that cannot be saved.
#include <gtest/gtest.h>

#include <filesystem>

#include "InputHarness.h"
#include "engine/Language.h"
#include "engine/UserDictionary.h"
#include "keypad/ButtonEvents.h"
#include "runtime/CandidateWnd.h"
#include "runtime/SymbolPopupWnd.h"

namespace tessaline {
namespace {

using testing::HarnessOptions;
using testing::InputHarness;
using Calls = std::vector<std::string>;

using namespace keypad;

void TapPopup(InputHarness& person, int id) {
  const CSymbolPopupWnd* popup = person.Window().SymbolPopup();
  const PixelRect r = popup->GetPanel().ButtonRect(*popup->GetPanel().FindButton(id));
  const LPARAM at = MAKELPARAM(r.left + r.width / 2, r.top + r.height / 2);
  const HWND window = popup->Handle();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
}

// Types the keys of "good", moves to the spelling entry, lets the copied word go, spells the
// letters (each group of taps is one letter) and commits the spelled word.
void SpellNewWord(InputHarness& person, std::initializer_list<std::initializer_list<int>> letters) {
  person.TypeKeys(u"good");
  person.Taps({kNextCandidate, kNextCandidate});
  person.TapCandidate(7);
  SendMessageW(person.Window().Candidates()->Handle(), WM_TIMER, CCandidateWnd::kSpelledCopyTimer,
               0);
  for (const auto& taps : letters) {
    for (int key : taps) person.Tap(key);
    person.MultiTapTimeout();
  }
  person.TapCandidate(7);
}

std::vector<WideString> StoredUserWords(InputHarness& person) {
  Language stored(person.HostFile("Languages/English.chr"), u"English", true, false, 20, 4);
  return stored.User().Words();
}

TEST(InputWindowFaults, UserButtonsTakeAtMostSixteenEntries) {
  WideString buttons;
  for (int i = 0; i < 20; ++i) {
    // Entry 3 has no separator: it is both the label and the key script.
    if (i == 3) {
      buttons.append(u"VK_HOME");
    } else {
      buttons.append(u"B").append(Utf8ToWide(std::to_string(i)));
      buttons.append(u"\u0002VK_").append(Utf8ToWide(std::to_string(i % 10)));
    }
    buttons.push_back(u'\u0001');
  }
  InputHarness person(
      HarnessOptions::WithSettings([&](Settings& s) { SetSettingsText(s.Buttons, buttons); }));
  const Panel& pad = person.Window().PanelAt(4);
  ASSERT_EQ(pad.Buttons().size(), 16u);
  for (const auto& button : pad.Buttons()) {
    ASSERT_TRUE(button->id >= 30 && button->id <= 45);
    const int i = button->id - 30;
    if (i == 3) {
      EXPECT_EQ(button->captions.at(0), u"VK_HOME");
      EXPECT_EQ(button->captions.at(1), u"VK_HOME");
    } else {
      EXPECT_EQ(button->captions.at(1), WideString(u"B").append(Utf8ToWide(std::to_string(i))));
    }
  }
  person.SwipeFinger(Swipe::kRight);
  person.Taps({33, 45});
  EXPECT_EQ(person.Calls(), (Calls{"down:0x24", "up:0x24", "down:0x35", "up:0x35"}));
}

TEST(InputWindowFaults, TheObjectOutlivesItsWindowSafely) {
  InputHarness person;
  person.TypeKeys(u"go");
  person.Tap(kSymbols);
  const HWND handle = person.Handle();
  const HWND candidates = person.Window().Candidates()->Handle();
  person.Window().Destroy();
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_FALSE(IsWindow(candidates));  // the pop-ups went with it
  EXPECT_EQ(person.Window().Candidates(), nullptr);
  EXPECT_EQ(person.Window().SymbolPopup(), nullptr);
  EXPECT_EQ(person.Window().CurrentLanguage(), nullptr);  // the languages may go next
  EXPECT_FALSE(person.Window().CandidatesShown());
  // What the input method object may still call, and stray messages, do nothing.
  person.Window().ResetInput();
  person.Window().PlaceCandidates();
  person.Window().SetCallback(&person.Callback());
  SendMessageW(handle, WM_TIMER, CInputWnd::kSlideTimer, 0);
  SendMessageW(handle, WM_COMMAND, MAKEWPARAM(4, 0), 0);
  SendMessageW(candidates, WM_TIMER, CCandidateWnd::kSpelledCopyTimer, 0);
  // Made again, the window works as new.
  const RECT place{0, 0, 240, 120};
  ASSERT_NE(person.Window().Create(person.Sip(), place), nullptr);
  person.ClearCalls();
  person.TypeWord(u"good");
  EXPECT_EQ(person.Typed(), u"good ");
}

TEST(InputWindowFaults, ResettingWhileTheSymbolsAreUpLeavesTheWindowUsable) {
  InputHarness person;
  person.Tap(kSymbols);
  person.Window().ResetInput();  // the soft input panel was hidden
  EXPECT_FALSE(person.Window().SymbolPopup()->Visible());
  EXPECT_TRUE(IsWindowEnabled(person.Handle()));
  person.Tap(4);
  EXPECT_EQ(person.Window().Composer().Search().KeyCount(), 1);
}

TEST(InputWindowFaults, TheWindowTakenAwayWhileTheOptionsAreOpenFromThePopUp) {
  InputHarness person;
  person.Tap(kSymbols);
  person.onSheet = [&] { person.DeleteWindow(); };
  TapPopup(person, 151);  // options: the sheet, then the close event, which has no one left
  EXPECT_EQ(person.SheetsShown(), 1);
  EXPECT_FALSE(person.HasWindow());
}

TEST(InputWindowFaults, AFailedSaveStillSendsTheWordAndIsTriedAgain) {
  InputHarness person(HarnessOptions::WithSettings([](Settings& s) { s.AdaptiveVoc = false; }));
  SpellNewWord(person, {{7, 7}, {5}});  // "qj"
  const std::string usr = person.HostFile("Languages/English.usr");
  const std::string before = testing::ReadBytes(usr);
  ASSERT_FALSE(before.empty());
  // The storage is full: the next saves stop half-way.
  testing::MessageRecorder messages;
  SetUserDictionaryWriteLimit(3);
  person.ClearCalls();
  SpellNewWord(person, {{7, 7}, {9, 9}});  // "qx"
  EXPECT_EQ(person.Calls(), (Calls{"text:qx "}));
  EXPECT_EQ(testing::ReadBytes(usr), before);
  // The person is told once, with the file, once the window is between events, and keeps typing.
  const auto pump = [] {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  };
  EXPECT_TRUE(messages.Texts().empty());
  pump();
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_NE(messages.Texts()[0].find("English.usr"), std::string::npos);
  SpellNewWord(person, {{7, 7}, {9}});  // "qw"
  pump();
  EXPECT_EQ(messages.Texts().size(), 1u);
  // Once the way is clear, the next commit of any word saves the list.
  SetUserDictionaryWriteLimit(SIZE_MAX);
  person.TypeWord(u"good");
  EXPECT_EQ(StoredUserWords(person), (std::vector<WideString>{u"qj", u"qx", u"qw"}));
}

}  // namespace
}  // namespace tessaline
