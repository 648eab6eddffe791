// A person moving around the real input window: swipes between the five layouts and the slide
// between them, the noise gate, the symbols pop-up, the language switch, editing keys and user
// buttons, and the options.
#include <gtest/gtest.h>

#include "DrawSupport.h"
#include "InputHarness.h"
#include "engine/Language.h"
#include "keypad/ButtonEvents.h"
#include "runtime/CandidateWnd.h"
#include "runtime/SymbolPopupWnd.h"

namespace tessaline {
namespace {

using testing::HarnessOptions;
using testing::InputHarness;
using Calls = std::vector<std::string>;

using namespace keypad;

// A tap on a button of the symbols pop-up's own panel.
void TapPopup(InputHarness& person, int id) {
  const CSymbolPopupWnd* popup = person.Window().SymbolPopup();
  const Button* button = popup->GetPanel().FindButton(id);
  ASSERT_NE(button, nullptr);
  const PixelRect r = popup->GetPanel().ButtonRect(*button);
  const LPARAM at = MAKELPARAM(r.left + r.width / 2, r.top + r.height / 2);
  const HWND window = popup->Handle();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
}

int WindowHeight(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r.bottom;
}

TEST(LayoutScenarios, SwipesMoveAroundThePlaneAndBackReturnsToTheLayoutBefore) {
  InputHarness person;
  person.SwipeFinger(Swipe::kLeft);
  EXPECT_STREQ(person.Window().CurrentLayoutName(), "qwerty");
  EXPECT_EQ(SettingsText(GetSettings().ActiveLayout), u"qwerty");
  EXPECT_EQ(person.LayoutChanges(), 1);
  person.SwipeFinger(Swipe::kDown);
  EXPECT_STREQ(person.Window().CurrentLayoutName(), "symbols");
  EXPECT_EQ(person.Window().ReturnLayout(), 2);
  person.SwipeFinger(Swipe::kUp);  // back: to QWERTY, where the move off the middle row began
  EXPECT_STREQ(person.Window().CurrentLayoutName(), "qwerty");
  person.SwipeFinger(Swipe::kLeft);  // nothing lies that way: no move, and no tap either
  EXPECT_STREQ(person.Window().CurrentLayoutName(), "qwerty");
  EXPECT_EQ(person.LayoutChanges(), 3);
  person.SwipeFinger(Swipe::kRight);
  person.SwipeFinger(Swipe::kUp);
  EXPECT_STREQ(person.Window().CurrentLayoutName(), "words");
  person.SwipeFinger(Swipe::kDown);
  EXPECT_STREQ(person.Window().CurrentLayoutName(), "main");
  // The user buttons are taller: the owner gives the window the new layout's height.
  EXPECT_EQ(WindowHeight(person.Handle()), 120);
  person.SwipeFinger(Swipe::kRight);
  EXPECT_STREQ(person.Window().CurrentLayoutName(), "userpad");
  EXPECT_EQ(WindowHeight(person.Handle()), 160);
  EXPECT_EQ(person.Window().PanelAt(4).X(), 0);
  EXPECT_EQ(person.Window().PanelAt(4).Height(), 160);
  EXPECT_TRUE(person.Calls().empty());
}

TEST(LayoutScenarios, TheViewSlidesThirtyPercentATickAndSnaps) {
  InputHarness person;
  const int width = 240;
  person.PenDown(POINT{width - 10, 60});
  person.AdvanceClock(100);
  person.PenUp(POINT{10, 60});
  EXPECT_EQ(person.Window().LayoutIndex(), 2);
  EXPECT_EQ(person.Window().ViewX(), 0.0f);
  int ticks = 0;
  while (person.Window().ViewX() != 1.0f && ticks < 100) {
    person.Timer(CInputWnd::kSlideTimer);
    ++ticks;
    if (ticks == 1) {
      EXPECT_FLOAT_EQ(person.Window().ViewX(), 0.3f);
      EXPECT_EQ(person.Window().PanelAt(0).X(), -72);  // (0 - 0.3) * 240
    }
  }
  // 0.7 to the tenth power is the first distance below 0.03; the eleventh tick snaps.
  EXPECT_EQ(ticks, 11);
  EXPECT_EQ(person.LayoutChanges(), 1);
  EXPECT_EQ(person.Window().PanelAt(2).X(), 0);
  EXPECT_EQ(person.Window().PanelAt(0).X(), -240);
  EXPECT_FALSE(KillTimer(person.Handle(), CInputWnd::kSlideTimer));
}

TEST(LayoutScenarios, TheNoiseGateDropsTouchesThatAreTooShort) {
  InputHarness person(HarnessOptions::WithSettings([](Settings& s) { s.NoiseGate = 100; }));
  const POINT key = person.CentreOf(4);
  person.PenDown(key);
  person.AdvanceClock(99);
  person.PenUp(key);
  EXPECT_EQ(person.Window().Composer().Search().State(), 0);
  person.PenDown(POINT{230, 60});  // a quick stroke across: no swipe either
  person.AdvanceClock(50);
  person.PenUp(POINT{10, 60});
  EXPECT_EQ(person.Window().LayoutIndex(), 0);
  person.PenDown(key);
  person.AdvanceClock(100);
  person.PenUp(key);
  EXPECT_EQ(person.Window().Composer().Search().KeyCount(), 1);
}

TEST(LayoutScenarios, TheSymbolsPopUpTypesOneSymbolAndCloses) {
  InputHarness person;
  const CSymbolPopupWnd* popup = person.Window().SymbolPopup();
  person.Tap(kSymbols);
  EXPECT_TRUE(popup->Visible());
  EXPECT_FALSE(IsWindowEnabled(person.Handle()));
  person.Tap(4);  // the input window is disabled: a pen message sent to it anyway does nothing
  EXPECT_EQ(person.Window().Composer().Search().State(), 0);
  TapPopup(person, 104);
  EXPECT_EQ(person.Calls(), (Calls{"text:@"}));
  EXPECT_FALSE(popup->Visible());
  EXPECT_TRUE(IsWindowEnabled(person.Handle()));

  // Opening it commits the word being composed; an apostrophe then takes the word's space.
  person.ClearCalls();
  person.TypeKeys(u"good");
  person.Tap(kSymbols);
  EXPECT_EQ(person.Calls(), (Calls{"text:good "}));
  TapPopup(person, 100);
  EXPECT_EQ(person.Calls(), (Calls{"text:good ", "down:0x08", "up:0x08", "text:'"}));
  // The commit and the typed character each wait 10 ms before what follows.
  EXPECT_EQ(person.Pauses(), (std::vector<unsigned>{10, 10, 10}));
  // The close bar only closes.
  person.ClearCalls();
  person.Tap(kSymbols);
  TapPopup(person, 152);
  EXPECT_FALSE(popup->Visible());
  EXPECT_TRUE(person.Calls().empty());
}

TEST(LayoutScenarios, TheLanguageButtonSwitchesBetweenTheActiveLanguages) {
  InputHarness person(HarnessOptions::WithGerman());
  const auto keyCaption = [&](int key) {
    return person.Window().PanelAt(0).FindButton(key)->captions.at(0);
  };
  EXPECT_EQ(keyCaption(2), u"abc");
  person.Tap(kSymbols);
  const Panel& popupPanel = person.Window().SymbolPopup()->GetPanel();
  EXPECT_EQ(popupPanel.FindButton(150)->captions.at(0), u"Eng");
  TapPopup(person, 150);
  EXPECT_EQ(person.Window().Composer().LanguageIndex(), 1);
  EXPECT_EQ(person.Window().CurrentLanguage()->Name(), u"German");
  EXPECT_EQ(keyCaption(2), u"abc\u0001\u00e4");
  EXPECT_FALSE(person.Window().SymbolPopup()->Visible());
  person.Tap(kSymbols);
  EXPECT_EQ(popupPanel.FindButton(150)->captions.at(0), u"Ger");
  TapPopup(person, 152);
  person.TypeWord(u"und");
  EXPECT_EQ(person.Typed(), u"und ");
  // The QWERTY layout's language key goes round to English again.
  person.SwipeFinger(Swipe::kLeft);
  person.Tap(kNextLanguage);
  EXPECT_EQ(person.Window().CurrentLanguage()->Name(), u"English");
  EXPECT_EQ(person.Window().PanelAt(2).FindButton(101)->captions.at(0), u"qw");
}

TEST(LayoutScenarios, WithOneLanguageTheLanguageKeyDoesNothing) {
  InputHarness person;
  person.TypeKeys(u"go");
  person.SwipeFinger(Swipe::kLeft);
  person.Tap(kNextLanguage);
  EXPECT_EQ(person.Window().Composer().LanguageIndex(), 0);
  EXPECT_EQ(person.Window().Composer().Search().KeyCount(), 2);  // and the word is still there
}

TEST(LayoutScenarios, EditingKeysAndUserButtonsSendTheirKeyScripts) {
  InputHarness person;
  person.TypeKeys(u"good");
  person.SwipeFinger(Swipe::kUp);  // the editing keys; the word waits
  ASSERT_STREQ(person.Window().CurrentLayoutName(), "words");
  person.Tap(56);  // left: commits the word first
  EXPECT_EQ(person.Calls(), (Calls{"text:good ", "down:0x25", "up:0x25"}));
  EXPECT_FALSE(person.Window().Composer().AutoSpacePending());
  person.ClearCalls();
  person.Tap(50);  // copy
  EXPECT_EQ(person.Calls(), (Calls{"down:0x11", "down:0x43", "up:0x43", "up:0x11"}));
  EXPECT_EQ(person.Pauses(), (std::vector<unsigned>{10, 5, 5, 5, 5, 5, 5}));

  person.SwipeFinger(Swipe::kDown);
  person.SwipeFinger(Swipe::kRight);
  ASSERT_STREQ(person.Window().CurrentLayoutName(), "userpad");
  const Panel& pad = person.Window().PanelAt(4);
  EXPECT_EQ(pad.FindButton(32)->captions.at(1), u"Ctrl+Home");
  EXPECT_EQ(pad.FindButton(32)->captions.at(0), u"VK_CONTROLd+VK_HOME+VK_CONTROLu");
  EXPECT_EQ(pad.FindButton(34)->captions.at(0), u"");
  person.ClearCalls();
  person.Tap(32);
  person.Tap(34);  // no script: nothing
  EXPECT_EQ(person.Calls(), (Calls{"down:0x11", "down:0x24", "up:0x24", "up:0x11"}));
}

TEST(LayoutScenarios, TheOptionsKeyOpensTheSheet) {
  InputHarness person;
  person.SwipeFinger(Swipe::kUp);
  person.Tap(kOptions);
  EXPECT_EQ(person.SheetsShown(), 1);
  person.Tap(kEnter);
  EXPECT_EQ(person.Calls(), (Calls{"down:0x0D", "up:0x0D"}));
}

TEST(LayoutScenarios, TheLayoutStripIsResource246OfTheLibrary) {
  const std::string path = testing::HostToWindowsPath(TESSALINE_DLL_PATH);
  const std::wstring wide(path.begin(), path.end());
  const win32::Library library(LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(library) << path;
  const win32::Bitmap strip(static_cast<HBITMAP>(
      LoadImageW(library.Get(), MAKEINTRESOURCEW(246), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  ASSERT_TRUE(strip);
  BITMAP info{};
  GetObjectW(strip.Get(), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 430);
  EXPECT_EQ(info.bmHeight, 62);
  EXPECT_EQ(info.bmBitsPixel, 8);
}

}  // namespace
}  // namespace tessaline
