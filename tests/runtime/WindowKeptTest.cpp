// What keeps Showing short: the input window kept across a change of settings (the options
// closed with OK), its pop-ups with it, showing what a window made anew would show (skin and
// layouts, languages, user buttons, layout); and the first language read after the panel's
// first paint.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "InputHarness.h"
#include "engine/ActiveLanguages.h"
#include "engine/Language.h"
#include "keypad/ButtonEvents.h"
#include "runtime/CandidateWnd.h"
#include "runtime/PressedWnd.h"
#include "runtime/SymbolPopupWnd.h"

namespace tessaline {
namespace {

using testing::HarnessOptions;
using testing::InputHarness;

using namespace keypad;

struct PopupHandles {
  HWND candidates, pressed, symbols;
  bool operator==(const PopupHandles&) const = default;
};

PopupHandles PopupsOf(const CInputWnd& window) {
  return {window.Candidates()->Handle(), window.PressedPopup()->Handle(),
          window.SymbolPopup()->Handle()};
}

WideString KeyCaption(InputHarness& person, int layout, int key) {
  const Button* button = person.Window().PanelAt(layout).FindButton(key);
  return button ? button->captions.at(0) : u"(no button)";
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(WindowKept, NothingItIsMadeOfChangedKeepsSkinLanguagesAndPopUpsAndDropsTheWord) {
  InputHarness person(HarnessOptions::WithGerman());
  CInputWnd& window = person.Window();
  const HWND input = person.Handle();
  const PopupHandles popups = PopupsOf(window);
  const Skin* skin = window.GetSkin();
  const Language* english = window.CurrentLanguage();
  // Only the first language was read to show the panel.
  EXPECT_FALSE(ActiveLanguageRead(1));

  person.Tap(kMode);  // letter mode, kept as Hiding keeps it
  EXPECT_FALSE(window.ApplySettings());
  EXPECT_FALSE(window.Composer().WordMode());
  person.Tap(kMode);
  person.TypeKeys(u"go");
  ASSERT_TRUE(window.CandidatesShown());
  EXPECT_FALSE(window.ApplySettings());
  EXPECT_EQ(person.Handle(), input);
  EXPECT_EQ(PopupsOf(window), popups);
  EXPECT_EQ(window.GetSkin(), skin);
  EXPECT_EQ(window.CurrentLanguage(), english);
  EXPECT_EQ(window.Composer().Search().KeyCount(), 0);
  EXPECT_FALSE(window.CandidatesShown());
  EXPECT_EQ(KeyCaption(person, 0, 2), u"abc");
  EXPECT_FALSE(ActiveLanguageRead(1));

  // The second language is read when the language key first asks for it.
  person.Tap(kSymbols);
  EXPECT_EQ(window.SymbolPopup()->Handle(), popups.symbols);
  ASSERT_TRUE(window.SymbolPopup()->Visible());
  SendMessageW(input, WM_COMMAND, MAKEWPARAM(kNextLanguage, kFireEventCommand), 0);
  ASSERT_TRUE(ActiveLanguageRead(1));
  EXPECT_EQ(window.CurrentLanguage()->Name(), u"German");
  EXPECT_EQ(KeyCaption(person, 0, 2), u"abc\u0001\u00e4");
  SendMessageW(input, WM_COMMAND, MAKEWPARAM(kCloseSymbols, kFireEventCommand), 0);
  person.TypeWord(u"und");
  EXPECT_EQ(person.Typed(), u"Und ");  // the mode key's cycle left a capital for the next word
}

TEST(WindowKept, AnotherPanelFileATintAndAFileChangedOnDiskAreReadAgain) {
  InputHarness person;
  CInputWnd& window = person.Window();
  const PopupHandles popups = PopupsOf(window);
  ASSERT_EQ(window.GetSkin()->BackColor(), 0xE0DCD8u);  // compact_white.pan

  SetSettingsText(GetSettings().PanelFileName, u"compact.pan");
  EXPECT_TRUE(window.ApplySettings());
  EXPECT_EQ(PopupsOf(window), popups);
  EXPECT_EQ(window.GetSkin()->BackColor(), 0x181410u);
  EXPECT_FALSE(window.GetSkin()->Tinted());
  // Every layout and the symbols pop-up's panel come from the new file, drawn with its skin,
  // and the language's captions are on the keys again.
  for (int i = 0; i < kLayoutCount; ++i) {
    EXPECT_FALSE(window.PanelAt(i).Buttons().empty()) << LayoutName(i);
    EXPECT_EQ(window.PanelAt(i).GetSkin(), window.GetSkin()) << LayoutName(i);
  }
  EXPECT_EQ(window.SymbolPopup()->GetPanel().GetSkin(), window.GetSkin());
  EXPECT_NE(window.SymbolPopup()->GetPanel().FindButton(kPopupLanguageId), nullptr);
  EXPECT_EQ(KeyCaption(person, 0, 2), u"abc");
  EXPECT_FALSE(window.ApplySettings());

  GetSettings().ThemeFilter = true;
  EXPECT_TRUE(window.ApplySettings());
  EXPECT_TRUE(window.GetSkin()->Tinted());
  EXPECT_FALSE(window.ApplySettings());

  // The panel file replaced on disk (a new installation): read again at the next change.
  const std::string path = person.HostFile("Layouts/compact.pan");
  std::string text = ReadHostFile(path);
  const size_t colour = text.find("backcolor = 0x181410");
  ASSERT_NE(colour, std::string::npos);
  text.replace(colour, 20, "backcolor = 0x102030");
  person.Folder().Write("Program files/Tessaline/Layouts/compact.pan",
                        text + "// replaced\n");
  EXPECT_TRUE(window.ApplySettings());
  EXPECT_EQ(window.GetSkin()->BackColor(), 0x102030u);

  // The pressed-key pop-up still shows a key (of the new panel) when asked to.
  GetSettings().ShowHint = true;
  person.PenDown(person.CentreOf(5));
  EXPECT_TRUE(window.PressedPopup()->Showing());
  person.PenUp(person.CentreOf(5));
  EXPECT_EQ(person.Typed(), u"");
  EXPECT_EQ(window.Composer().Search().KeyCount(), 1);
}

TEST(WindowKept, LanguagesUserButtonsAndTheLayoutFollowTheSettings) {
  InputHarness person(HarnessOptions::WithGerman());
  CInputWnd& window = person.Window();
  Settings& settings = GetSettings();
  SetSettingsText(settings.Language0, u"German");
  SetSettingsText(settings.Language1, u"English");
  SetSettingsText(settings.Buttons, u"Top\u0002VK_CONTROLd+VK_HOME+VK_CONTROLu\u0001");
  SetSettingsText(settings.ActiveLayout, u"userpad");
  EXPECT_FALSE(window.ApplySettings());

  EXPECT_EQ(window.CurrentLanguage()->Name(), u"German");
  EXPECT_EQ(window.Composer().LanguageIndex(), 0);
  EXPECT_EQ(KeyCaption(person, 0, 2), u"abc\u0001\u00e4");
  EXPECT_STREQ(window.CurrentLayoutName(), "userpad");
  EXPECT_EQ(window.ViewX(), static_cast<float>(LayoutPlaceOf(4).gridX));
  EXPECT_EQ(window.ViewY(), static_cast<float>(LayoutPlaceOf(4).gridY));
  const Panel& pad = window.PanelAt(4);
  EXPECT_EQ(pad.FindButton(kFirstUserButtonId)->captions.at(1), u"Top");
  EXPECT_EQ(pad.FindButton(kFirstUserButtonId + 1)->captions.at(1), u"");
  person.Tap(kFirstUserButtonId);
  EXPECT_EQ(person.Calls(),
            (std::vector<std::string>{"down:0x11", "down:0x24", "up:0x24", "up:0x11"}));

  // Back on the keypad, the new first language types.
  SetSettingsText(settings.ActiveLayout, u"main");
  window.ApplySettings();
  person.TypeWord(u"und");
  EXPECT_EQ(person.Typed(), u"und ");

  // No language left: the keys show the panel file's own captions, as a new window does.
  SetSettingsText(settings.Language0, u"Klingon");
  SetSettingsText(settings.Language1, u"");
  testing::MessageRecorder messages;
  EXPECT_TRUE(window.ApplySettings());
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Active languages not found ('Klingon', '')"});
  EXPECT_EQ(window.CurrentLanguage(), nullptr);
  EXPECT_NE(KeyCaption(person, 0, 2), u"abc\u0001\u00e4");
}

void PumpPostedMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HarnessOptions LanguageAfterPaint() {
  HarnessOptions options;
  options.languageAfterPaint = true;
  return options;
}

TEST(LanguageAfterPaint, TheKeysShowTheLanguageFileBeforeItIsReadAtTheNextLookAtMessages) {
  InputHarness person(LanguageAfterPaint());
  CInputWnd& window = person.Window();
  EXPECT_TRUE(window.LanguagePending());
  EXPECT_FALSE(ActiveLanguageRead(0));
  EXPECT_EQ(window.CurrentLanguage(), nullptr);
  EXPECT_EQ(KeyCaption(person, 0, 2), u"abc");
  EXPECT_EQ(KeyCaption(person, 2, 101), u"qw");
  UpdateWindow(person.Handle());
  EXPECT_FALSE(ActiveLanguageRead(0));

  PumpPostedMessages();
  EXPECT_FALSE(window.LanguagePending());
  ASSERT_NE(window.CurrentLanguage(), nullptr);
  EXPECT_EQ(window.CurrentLanguage()->Name(), u"English");
  person.TypeWord(u"good");
  EXPECT_EQ(person.Typed(), u"good ");
}

TEST(LanguageAfterPaint, APenEventBeforeThatReadsItFirst) {
  HarnessOptions options = LanguageAfterPaint();
  options.german = true;
  InputHarness person(options);
  person.Tap(4);  // sent straight to the window, ahead of the posted message
  EXPECT_FALSE(person.Window().LanguagePending());
  ASSERT_NE(person.Window().CurrentLanguage(), nullptr);
  EXPECT_EQ(person.Window().Composer().Search().KeyCount(), 1);
  const Language* english = person.Window().CurrentLanguage();
  PumpPostedMessages();  // the late message reads nothing more
  EXPECT_EQ(person.Window().CurrentLanguage(), english);

  person.TypeKeys(u"ood");
  person.Tap(kSpace);
  EXPECT_EQ(person.Typed(), u"good ");

  // A change of settings: a first language to read (here another one) is read after the paint
  // again, its captions on the keys at once.
  SetSettingsText(GetSettings().Language0, u"German");
  person.Window().ApplySettings();
  EXPECT_TRUE(person.Window().LanguagePending());
  EXPECT_EQ(KeyCaption(person, 0, 2), u"abc\u0001\u00e4");
  PumpPostedMessages();
  ASSERT_NE(person.Window().CurrentLanguage(), nullptr);
  EXPECT_EQ(person.Window().CurrentLanguage()->Name(), u"German");
}

}  // namespace
}  // namespace tessaline
