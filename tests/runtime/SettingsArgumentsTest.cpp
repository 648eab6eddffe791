// What the runtime takes from the settings record and hands to the engine and the panel.
#include <gtest/gtest.h>

#include "InputHarness.h"
#include "SettingsScope.h"
#include "engine/ActiveLanguages.h"
#include "languages/InterfaceTexts.h"
#include "panel/PanelFile.h"
#include "runtime/SettingsArguments.h"
#include "settings/Settings.h"
#include "support/TestFiles.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

TEST(SettingsArgumentsTest, TheLanguageChoiceCarriesEveryValueTheLanguagesAreMadeWith) {
  testing::SettingsScope scope;
  Settings& settings = GetSettings();
  ResetSettings(settings);
  SetSettingsText(settings.Path, u"\\Program files\\Tessaline");
  // The record's defaults are the choice's own.
  const ActiveLanguageChoice byDefault = ChosenLanguages();
  const ActiveLanguageChoice plain;
  EXPECT_EQ(byDefault.primary, u"English");
  EXPECT_EQ(byDefault.secondary, u"");
  EXPECT_EQ(byDefault.adaptiveVoc, plain.adaptiveVoc);
  EXPECT_EQ(byDefault.freqMax, plain.freqMax);
  EXPECT_EQ(byDefault.freqInc, plain.freqInc);

  SetSettingsText(settings.Language0, u"Fran\u00e7ais");
  SetSettingsText(settings.Language1, u"German");
  settings.AdaptiveVoc = false;
  settings.FreqMax = 9;
  settings.FreqInc = 2;
  const ActiveLanguageChoice choice = ChosenLanguages();
  EXPECT_EQ(choice.installFolder, "\\Program files\\Tessaline");
  EXPECT_EQ(choice.primary, u"Fran\u00e7ais");
  EXPECT_EQ(choice.secondary, u"German");
  EXPECT_FALSE(choice.adaptiveVoc);
  EXPECT_EQ(choice.freqMax, 9);
  EXPECT_EQ(choice.freqInc, 2);

  // Without an installation folder the one message is shown and paths start at the top.
  SetSettingsText(settings.Path, u"");
  testing::MessageRecorder messages;
  EXPECT_EQ(ChosenLanguages().installFolder, "");
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Can't find registry PATH key"});
}

TEST(SettingsArgumentsTest, LanguagesTextsAndPanelHeightFollowTheSettings) {
  testing::InputHarness person(testing::HarnessOptions::WithGerman());  // loads what is chosen
  ASSERT_EQ(ActiveLanguageCount(), 2u);
  EXPECT_EQ(ActiveLanguage(0).Name(), u"English");
  EXPECT_EQ(ActiveLanguage(1).Name(), u"German");
  EXPECT_EQ(InterfaceText(0), u"Active languages");  // the interface texts of Locale as well

  const TextSection panel = ReadTextFile("\\Program files\\Tessaline\\Layouts\\compact_white.pan");
  EXPECT_EQ(ChosenPanelHeight(240), PanelHeightOf(panel, "main", 240));
  SetActiveLayout("userpad");
  EXPECT_EQ(ChosenPanelHeight(240), PanelHeightOf(panel, "userpad", 240));
  EXPECT_NE(PanelHeightOf(panel, "userpad", 240), PanelHeightOf(panel, "main", 240));
}

}  // namespace
}  // namespace tessaline
